#include "pictures/svg_renderer.h"

#include "pictures/picture_limits.h"
#include "platform/held_picture.h"
#include "platform/rounding.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

// GLib names a member "signals", which Qt makes a keyword.
#pragma push_macro("signals")
#undef signals
#include <librsvg/rsvg.h>
#pragma pop_macro("signals")

#include <memory>
#include <optional>

namespace tilemond {
namespace {

// The size a browser gives a picture that has none of its own.
constexpr QSizeF DefaultObjectSize(300, 150);

// What the root element says about the drawing's size.
struct SvgRoot
{
    std::optional<double> width;
    std::optional<double> height;
    std::optional<QRectF> viewBox;
    bool keepShape = true;
};

// An absolute length in pixels at 96 an inch; nullopt for a percentage, a font-relative length
// or anything else that has no size of its own.
std::optional<double> absoluteLength(QStringView text)
{
    static const QRegularExpression length(
        QStringLiteral("^\\s*([+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)\\s*(px|in|cm|mm|pt|"
                       "pc)?\\s*$"));
    const QRegularExpressionMatch match = length.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    const double value = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    const double perUnit = unit == QLatin1String("in")   ? 96.0
                           : unit == QLatin1String("cm") ? 96.0 / 2.54
                           : unit == QLatin1String("mm") ? 96.0 / 25.4
                           : unit == QLatin1String("pt") ? 96.0 / 72
                           : unit == QLatin1String("pc") ? 16.0
                                                         : 1.0;
    return value > 0 ? std::optional(value * perUnit) : std::nullopt;
}

std::optional<QRectF> viewBoxOf(QStringView text)
{
    const QStringList numbers =
        text.toString().split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (numbers.size() != 4)
        return std::nullopt;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = numbers[i].toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QRectF box(values[0], values[1], values[2], values[3]);
    return box.width() > 0 && box.height() > 0 ? std::optional(box) : std::nullopt;
}

SvgRoot rootOf(const QXmlStreamAttributes& attributes)
{
    return {absoluteLength(attributes.value(QLatin1String("width"))),
            absoluteLength(attributes.value(QLatin1String("height"))),
            viewBoxOf(attributes.value(QLatin1String("viewBox"))),
            !attributes.value(QLatin1String("preserveAspectRatio"))
                 .trimmed()
                 .startsWith(QLatin1String("none"))};
}

// The root element's size; the rest of the XML is librsvg's to read.
Outcome<SvgRoot> readRoot(const QByteArray& data)
{
    QXmlStreamReader reader(data);
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (!reader.isStartElement())
            continue;
        if (reader.name() != QLatin1String("svg"))
            return Unexpected(QStringLiteral("it is XML but not an SVG drawing"));
        return rootOf(reader.attributes());
    }
    return Unexpected(
        QStringLiteral("its XML is broken: %1 (line %2)")
            .arg(reader.hasError() ? reader.errorString() : QStringLiteral("it has no element"))
            .arg(reader.lineNumber()));
}

// The drawing's own size in pixels, unrounded, as a browser's default sizing makes it.
QSizeF ownSize(const SvgRoot& root)
{
    const std::optional<double> ratio =
        root.width && root.height ? std::optional(*root.width / *root.height)
        : root.viewBox            ? std::optional(root.viewBox->width() / root.viewBox->height())
                                  : std::nullopt;
    if (root.width && root.height)
        return {*root.width, *root.height};
    if (root.width)
        return {*root.width, ratio ? *root.width / *ratio : DefaultObjectSize.height()};
    if (root.height)
        return {ratio ? *root.height * *ratio : DefaultObjectSize.width(), *root.height};
    if (!ratio)
        return DefaultObjectSize;
    // Fitted into the default size, as the drawing's shape allows.
    return *ratio >= DefaultObjectSize.width() / DefaultObjectSize.height()
               ? QSizeF(DefaultObjectSize.width(), DefaultObjectSize.width() / *ratio)
               : QSizeF(DefaultObjectSize.height() * *ratio, DefaultObjectSize.height());
}

template <typename T, void (*Free)(T*)> struct Freer
{
    void operator()(T* object) const { Free(object); }
};
using Handle = std::unique_ptr<RsvgHandle, Freer<void, g_object_unref>>;
using Surface = std::unique_ptr<cairo_surface_t, Freer<cairo_surface_t, cairo_surface_destroy>>;
using Cairo = std::unique_ptr<cairo_t, Freer<cairo_t, cairo_destroy>>;
using Error = std::unique_ptr<GError, Freer<GError, g_error_free>>;

QString messageOf(const Error& error)
{
    return error ? QString::fromUtf8(error->message) : QStringLiteral("librsvg cannot draw it");
}

} // namespace

bool looksLikeSvg(const QByteArray& data)
{
    // Some 4 KB hold the XML declaration, a doctype and the comments that come before the root.
    const QByteArray start = data.left(4096).trimmed();
    return (start.startsWith('<') || start.startsWith("\xef\xbb\xbf<")) && start.contains("<svg");
}

LoadedPicture renderSvg(const QByteArray& data, const QString& file, const ShownSize& shown)
{
    const Outcome<SvgRoot> root = readRoot(data);
    if (!root)
        return Unexpected(damagedError(file, root.error()));

    const QSizeF own = ownSize(*root);
    QSize size(std::max(1, roundToEven(own.width())), std::max(1, roundToEven(own.height())));
    if (shown)
        size = shown(size);
    if (!pictureSizeAllowed(size.width(), size.height()))
        return Unexpected(tooLargeError(file, size.width(), size.height()));

    // Without a base file librsvg loads nothing but data: addresses: no image, style sheet,
    // XInclude or entity from another file or from the network.
    GError* rawError = nullptr;
    const Handle handle(rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(data.constData()),
                                                  gsize(data.size()), &rawError));
    Error error(rawError);
    if (!handle)
        return Unexpected(
            damagedError(file, QStringLiteral("its XML is broken: ") + messageOf(error)));
    rsvg_handle_set_dpi(handle.get(), 96);

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return Unexpected(tooLargeError(file, size.width(), size.height()));
    image.fill(Qt::transparent);
    const Surface surface(cairo_image_surface_create_for_data(
        image.bits(), CAIRO_FORMAT_ARGB32, size.width(), size.height(), int(image.bytesPerLine())));
    const Cairo cairo(cairo_create(surface.get()));
    RsvgRectangle viewport{0, 0, double(size.width()), double(size.height())};
    // Without a viewBox the drawing's units are pixels of its own size, scaled to the shown size.
    if (!root->viewBox) {
        double xScale = size.width() / own.width();
        double yScale = size.height() / own.height();
        if (root->keepShape)
            xScale = yScale = std::min(xScale, yScale);
        cairo_translate(cairo.get(), (size.width() - own.width() * xScale) / 2,
                        (size.height() - own.height() * yScale) / 2);
        cairo_scale(cairo.get(), xScale, yScale);
        viewport = {0, 0, own.width(), own.height()};
    }
    const bool drawn = rsvg_handle_render_document(handle.get(), cairo.get(), &viewport, &rawError);
    error.reset(rawError);
    if (!drawn)
        return Unexpected(damagedError(file, messageOf(error)));
    cairo_surface_flush(surface.get());
    return heldPicture(std::move(image));
}

} // namespace tilemond
