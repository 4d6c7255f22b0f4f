#include "page/picture_location.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace tilemond::host {

namespace {

// The bytes of a data: address ("data:[type][;base64],data"), percent-decoded and, for base64,
// decoded as a browser does, white space skipped. False when they cannot be had.
bool decodeDataAddress(const QByteArray& address, QByteArray& bytes)
{
    const qsizetype comma = address.indexOf(',');
    if (comma < 0)
        return false;
    const QByteArray header = address.mid(5, comma - 5).trimmed().toLower();
    bytes = QByteArray::fromPercentEncoding(address.mid(comma + 1));
    if (!header.endsWith(";base64"))
        return true;
    QByteArray base64;
    base64.reserve(bytes.size());
    for (const char c : std::as_const(bytes))
        if (c != ' ' && c != '\t' && c != '\n' && c != '\f' && c != '\r')
            base64.append(c);
    auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    bytes = std::move(*decoded);
    return true;
}

} // namespace

std::optional<QString> localPictureFile(std::string_view src, const QString& pageFolder)
{
    QString address = QString::fromUtf8(src.data(), static_cast<qsizetype>(src.size())).trimmed();
    address.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (address.isEmpty() || address.startsWith(QLatin1String("//")))
        return std::nullopt;

    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    if (const auto match = scheme.match(address); match.hasMatch()) {
        if (match.captured(1).compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        const QString file = QUrl(address).toLocalFile();
        return file.isEmpty() ? std::nullopt : std::optional(file);
    }

    const qsizetype suffix = address.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (suffix >= 0)
        address.truncate(suffix);
    const QString path = QUrl::fromPercentEncoding(address.toUtf8());
    if (path.isEmpty())
        return std::nullopt;
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir(pageFolder).filePath(path));
}

std::optional<QString> pictureFolder(const PageElements& page, const QString& pagePath)
{
    const QUrl pageUrl = QUrl::fromLocalFile(QFileInfo(pagePath).absoluteFilePath());
    QUrl base = pageUrl;
    const std::optional<std::string> bases = "BASE";
    for (std::size_t i = 0, count = page.count(bases); i < count; ++i)
        if (const auto* href = page.at(bases, i).attribute("href")) {
            base = pageUrl.resolved(QUrl(QString::fromStdString(href->value).trimmed()));
            break;
        }
    if (!base.isLocalFile() || !base.host().isEmpty())
        return std::nullopt;
    // Up to the last slash: "pics/" is a folder, "pics" a file in the page's folder.
    const QString path = base.toLocalFile();
    return QDir::cleanPath(path.left(path.lastIndexOf(QLatin1Char('/')) + 1));
}

QString srcFolder(const PageElements& page, const QString& pagePath)
{
    return pictureFolder(page, pagePath).value_or(QFileInfo(pagePath).absolutePath());
}

Outcome<PictureSource> pictureSource(std::string_view src, const std::optional<QString>& folder)
{
    const QByteArray address = QByteArray(src.data(), static_cast<qsizetype>(src.size())).trimmed();
    if (address.isEmpty())
        return Unexpected(QStringLiteral("names no file"));
    if (address.left(5).toLower() == "data:") {
        QByteArray data;
        if (!decodeDataAddress(address, data))
            return Unexpected(QStringLiteral("is not a picture we can read: its data: address is "
                                             "broken (no comma, or base64 that is not)"));
        return PictureSource{{}, std::move(data)};
    }
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const bool ownAddress =
        address.startsWith("//") || scheme.match(QString::fromUtf8(address)).hasMatch();
    std::optional<QString> file;
    if (folder || ownAddress)
        file = localPictureFile(src, folder.value_or(QString()));
    if (!file)
        return Unexpected(QStringLiteral("is a remote address, which is never fetched"));
    return PictureSource{std::move(file), {}};
}

std::vector<PictureSrc> pictureSrcs(const PageElements& page)
{
    std::vector<PictureSrc> srcs;
    const std::optional<std::string> images = "IMG";
    for (std::size_t i = 0, count = page.count(images); i < count; ++i) {
        const ParsedElement& image = page.at(images, i);
        if (const auto* src = image.attribute("src"))
            srcs.push_back({&image, src});
    }
    return srcs;
}

PastedPictures::PageFiles filesNamedByPage(const PageElements& page, const PastedPictures& pictures,
                                           const QString& pagePath)
{
    const QString folder = srcFolder(page, pagePath);
    PastedPictures::PageFiles files;
    for (const auto [image, src] : pictureSrcs(page))
        if (!pictures.contains(src->value))
            if (auto file = localPictureFile(src->value, folder))
                files.insert(*file);
    return files;
}

} // namespace tilemond::host
