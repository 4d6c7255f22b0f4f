#include "page/carried_pictures.h"

#include "page/picture_location.h"
#include "pictures/bounded_read.h"
#include "pictures/picture_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <set>

namespace tilemond::host {
namespace {

// The path part of a relative src ("img/a%20b.png?v=2" -> "img/a b.png"), and what follows it;
// nullopt for an address with a scheme, an absolute path, or nothing.
std::optional<std::pair<QString, QString>> relativePath(std::string_view src)
{
    QString address = QString::fromUtf8(src.data(), qsizetype(src.size())).trimmed();
    address.replace(QLatin1Char('\\'), QLatin1Char('/'));
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (address.isEmpty() || address.startsWith('/') || scheme.match(address).hasMatch())
        return std::nullopt;
    const qsizetype suffix = address.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    const QString path = QUrl::fromPercentEncoding(address.left(suffix).toUtf8());
    if (path.isEmpty())
        return std::nullopt;
    return std::pair{QDir::cleanPath(path), suffix < 0 ? QString() : address.mid(suffix)};
}

bool sameBytes(const QString& one, const QString& other)
{
    QFile a(one);
    QFile b(other);
    if (QFileInfo(one).size() != QFileInfo(other).size() || !a.open(QIODevice::ReadOnly) ||
        !b.open(QIODevice::ReadOnly))
        return false;
    while (!a.atEnd())
        if (a.read(1 << 16) != b.read(1 << 16))
            return false;
    return true;
}

// Whether the file may be copied out of the page's folder tree `root`, and why not.
Outcome<void> checkCopyable(const QString& original, const QDir& root)
{
    const QString real = QFileInfo(original).canonicalFilePath();
    const QString tree = root.canonicalPath();
    if (real.isEmpty() || !real.startsWith(tree + QLatin1Char('/')))
        return Unexpected(QStringLiteral("it is a link that leads out of the page's folder"));
    const Outcome<QByteArray> bytes = readRegularFile(real, kMaxPictureBytes);
    if (!bytes)
        return Unexpected(bytes.error());
    if (!isPictureData(*bytes))
        return Unexpected(QStringLiteral("it is not a picture"));
    return {};
}

// The src from the new page's folder to the original file where it is.
std::string pointedAt(const QDir& to, const QString& original, const QString& suffix)
{
    return QUrl::toPercentEncoding(to.relativeFilePath(original), "/").toStdString() +
           suffix.toStdString();
}

// The folders that relative addresses start from before and after the page moves (the page's
// own, or its local <base href>); nullopt when they do not move or are not local.
std::optional<std::pair<QDir, QDir>> movedFolders(const PageElements& page, const QString& fromPage,
                                                  const QString& toPage)
{
    const auto fromFolder = fromPage.isEmpty() ? std::nullopt : pictureFolder(page, fromPage);
    const auto toFolder = pictureFolder(page, toPage);
    if (!fromFolder || !toFolder || QDir(*fromFolder) == QDir(*toFolder))
        return std::nullopt;
    return std::pair{QDir(*fromFolder), QDir(*toFolder)};
}

} // namespace

std::vector<CarriedPicture> carriedPictures(const PageElements& page, const PastedPictures& pasted,
                                            const QString& fromPage, const QString& toPage)
{
    std::vector<CarriedPicture> carried;
    const auto folders = movedFolders(page, fromPage, toPage);
    if (!folders)
        return carried;
    const auto& [from, to] = *folders;
    std::set<QString> copied;
    for (const auto [image, src] : pictureSrcs(page)) {
        if (pasted.contains(src->value))
            continue;
        const auto relative = relativePath(src->value);
        const QString original = relative ? from.absoluteFilePath(relative->first) : QString();
        if (!relative || !QFileInfo(original).isFile())
            continue; // an address, or a file that is missing already
        const QString target = to.absoluteFilePath(relative->first);
        const bool staysInside = !relative->first.startsWith(QLatin1String(".."));
        if (staysInside && copied.contains(target))
            continue;
        const Outcome<void> copyable =
            staysInside ? checkCopyable(original, from) : Outcome<void>();
        if (!copyable) {
            carried.push_back(
                {src, std::nullopt, pointedAt(to, original, relative->second), copyable.error()});
        } else if (staysInside && !QFileInfo::exists(target)) {
            copied.insert(target);
            carried.push_back({src, std::pair{original, target}, std::nullopt, {}});
        } else if (!staysInside || !sameBytes(original, target)) {
            carried.push_back({src, std::nullopt, pointedAt(to, original, relative->second), {}});
        }
    }
    return carried;
}

std::vector<RepointedAddress> repointedAddresses(const PageElements& page, const QString& fromPage,
                                                 const QString& toPage)
{
    std::vector<RepointedAddress> repointed;
    const auto folders = movedFolders(page, fromPage, toPage);
    if (!folders)
        return repointed;
    const auto& [from, to] = *folders;
    // The attributes that hold one address; a picture's src is carriedPictures' to mend.
    static const std::set<std::string, std::less<>> addressAttributes = {"href", "src", "data",
                                                                         "poster", "background"};
    for (std::size_t i = 0, count = page.count(); i < count; ++i) {
        const ParsedElement& element = page.at(std::nullopt, i);
        for (const auto& attribute : element.attributes) {
            if (!addressAttributes.contains(attribute.name) ||
                (element.tagName == "IMG" && attribute.name == "src") || element.tagName == "BASE")
                continue;
            const auto relative = relativePath(attribute.value);
            const QFileInfo original(relative ? from.absoluteFilePath(relative->first) : QString());
            if (!relative || !original.exists())
                continue; // an address elsewhere, a fragment, or a file that is missing already
            // A link to the page itself leads to the copy.
            const QString named = original == QFileInfo(fromPage) ? toPage : original.filePath();
            repointed.push_back({&element, &attribute, pointedAt(to, named, relative->second)});
        }
    }
    return repointed;
}

} // namespace tilemond::host
