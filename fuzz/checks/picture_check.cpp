#include "fuzz_checks.h"
#include "pictures/emf_renderer.h"
#include "pictures/picture_limits.h"
#include "pictures/png_reader.h"
#include "pictures/raster_headers.h"
#include "pictures/raster_reader.h"
#include "pictures/wmf_renderer.h"
#include "platform/held_picture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QGuiApplication>
#include <QImageReader>

#include <cstdio>
#include <cstdlib>

namespace tilemond::fuzz {
namespace {

// Qt's image plugins and the metafile painter's fonts need an application.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

// Pictures up to the limits may take a gigabyte and many seconds each, also when a damaged
// run-length bmp or a metafile header of a few bytes announces them (the picture is then mostly
// blank).
// The fuzzer decodes pictures up to this size; the limit tests cover the larger ones.
constexpr qint64 kMaxFuzzedPixels = qint64(1) << 22;

bool tooLargeToFuzz(std::string_view format, const QByteArray& bytes)
{
    if (format == "wmf" || format == "emf") {
        const auto size = format == "wmf" ? wmfPictureSize(bytes) : emfPictureSize(bytes);
        return size && qint64(size->width()) * size->height() > kMaxFuzzedPixels;
    }
    // A png's own header, as Qt's reader reserves whatever a damaged chunk before it announces.
    if (const auto announced = format == "png" ? announcedSize(bytes, "png") : std::nullopt)
        return double(announced->width) * double(announced->height) > kMaxFuzzedPixels;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    return qint64(size.width()) * size.height() > kMaxFuzzedPixels;
}

LoadedPicture decode(std::string_view format, const QByteArray& bytes)
{
    const QString file =
        QStringLiteral("fuzz.") + QString::fromLatin1(format.data(), format.size());
    if (format == "wmf")
        return renderWmf(bytes, file);
    if (format == "emf")
        return renderEmf(bytes, file);
    return readRasterPicture(
        bytes, format == "jpg" ? "jpeg" : QByteArray(format.data(), format.size()), file);
}

// Our PNG reader gives what Qt's gives, or leaves the file as it was for Qt's.
void checkPlainPng(const QByteArray& bytes)
{
    QByteArray ours = bytes;
    const std::optional<QImage> plain = readPlainPng(ours);
    if (!plain) {
        require(ours == bytes, "a PNG our reader leaves is put back as it was");
        return;
    }
    const QImage held = heldPicture(*plain);
    const QImage qts = heldPicture(QImage::fromData(bytes, "png"));
    require(held.convertToFormat(qts.format()) == qts &&
                held.hasAlphaChannel() == qts.hasAlphaChannel() &&
                held.colorSpace() == qts.colorSpace(),
            "a PNG our reader decodes comes out as Qt's reader decodes it");
}

} // namespace

void require(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

void checkPicture(std::string_view format, const std::uint8_t* data, std::size_t size)
{
    ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (tooLargeToFuzz(format, bytes))
        return;
    if (format == "png")
        checkPlainPng(bytes);
    const LoadedPicture picture = decode(format, bytes);
    require(picture ? !picture->isNull() : !picture.error().isEmpty(),
            "a picture read is not empty, and a failure says why");
    if (picture)
        require(pictureSizeAllowed(picture->width(), picture->height()),
                "the picture is within the size limits");
}

} // namespace tilemond::fuzz
