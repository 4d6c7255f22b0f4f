#include "host/picture_location.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace tilemond::host {

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

std::vector<const ParsedElement::Attribute*> pictureSrcs(const ParsedPage& page)
{
    std::vector<const ParsedElement::Attribute*> srcs;
    if (const auto images = page.byTag.find("IMG"); images != page.byTag.end())
        for (const std::size_t index : images->second)
            if (const auto* src = page.elements[index].attribute("src"))
                srcs.push_back(src);
    return srcs;
}

PastedPictures::PageFiles filesNamedByPage(const ParsedPage& page, const PastedPictures& pictures,
                                           const QString& pagePath)
{
    const QString pageFolder = QFileInfo(pagePath).absolutePath();
    PastedPictures::PageFiles files;
    for (const auto* src : pictureSrcs(page))
        if (!pictures.contains(src->value))
            if (auto file = localPictureFile(src->value, pageFolder))
                files.insert(*file);
    return files;
}

} // namespace tilemond::host
