#include "page/pasted_pictures.h"

#include "page/unsaved_files.h"
#include "pictures/bounded_read.h"
#include "pictures/picture_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace tilemond::host {

namespace {

QString folderName(const QString& pagePath)
{
    return QFileInfo(pagePath).completeBaseName() + QStringLiteral("_files");
}

// How a src names the picture folder, from the folder srcs start from (the page's, or its base's).
std::string srcPrefix(const QString& pagePath, const QString& srcFolder)
{
    std::string prefix;
    const QString path = QDir(srcFolder).relativeFilePath(PastedPictures::folderOf(pagePath));
    for (const QString& part : path.split(QLatin1Char('/')))
        prefix += QUrl::toPercentEncoding(part).toStdString() + "/";
    return prefix;
}

// Encodes the picture and puts the bytes into an unsaved file in folder, where one can be written.
KeptEncoding encodeBeside(const QImage& picture, const PictureFormat& format, const QString& folder)
{
    KeptEncoding kept{encodePicture(picture, format), {}};
    if (kept.encoded) {
        kept.file = writeUnsavedFile(folder, *kept.encoded);
        if (!kept.file.isEmpty())
            kept.encoded->clear();
    }
    return kept;
}

} // namespace

QString PastedPictures::folderOf(const QString& pagePath)
{
    return QFileInfo(pagePath).absoluteDir().filePath(folderName(pagePath));
}

std::string PastedPictures::freeName(const QString& pagePath, const QString& srcFolder,
                                     FolderNames& names, PictureType type) const
{
    const QDir folder(folderOf(pagePath));
    for (;; ++names.next) {
        const QString name = QStringLiteral("image%1.%2")
                                 .arg(names.next, 3, 10, QLatin1Char('0'))
                                 .arg(extensionOf(type));
        const QString file = folder.filePath(name);
        std::string src = srcPrefix(pagePath, srcFolder) + name.toStdString();
        if (m_pictures.contains(src) || names.taken.contains(file) || QFileInfo::exists(file))
            continue;
        names.taken.insert(file);
        return src;
    }
}

std::string PastedPictures::add(const QImage& picture, const QString& pagePath,
                                const QString& srcFolder,
                                const std::function<PageFiles()>& pageFiles)
{
    const auto [folder, isNew] = m_folders.try_emplace(folderOf(pagePath));
    if (isNew)
        folder->second.taken = pageFiles();
    const PictureFormat decided = decidedFor(picture, m_format);
    std::string src = freeName(pagePath, srcFolder, folder->second, decided.type);
    const QString unsavedFolder =
        m_unsavedFolder.isEmpty() ? QFileInfo(pagePath).absolutePath() : m_unsavedFolder;
    m_pictures.emplace(src, Kept{picture, m_format, decided.type,
                                 QtConcurrent::run(encodeBeside, picture, decided, unsavedFolder)});
    m_encoding.push_back(src);
    keepEncodingsOnly();
    return src;
}

void PastedPictures::keepEncodingsOnly()
{
    const std::size_t most =
        2 * std::size_t(std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
    while (!m_encoding.empty()) {
        const auto found = m_pictures.find(m_encoding.front());
        if (found != m_pictures.end()) {
            Kept& kept = found->second;
            if (!kept.encoded.isFinished() && m_encoding.size() <= most)
                return;
            kept.encoded.waitForFinished();
            kept.picture = QImage();
        }
        m_encoding.pop_front();
    }
}

void PastedPictures::letGo(Kept& kept)
{
    if (const QString file = kept.encoded.result().file; !file.isEmpty())
        QFile::remove(file);
}

void PastedPictures::forget(const std::string& src)
{
    if (const auto found = m_pictures.find(src); found != m_pictures.end()) {
        letGo(found->second);
        m_pictures.erase(found);
    }
}

void PastedPictures::clear()
{
    for (auto& [src, kept] : m_pictures)
        letGo(kept);
    m_pictures.clear();
    m_folders.clear();
    m_encoding.clear();
    m_unsavedFolder.clear();
}

std::vector<std::string> PastedPictures::srcs() const
{
    std::vector<std::string> kept;
    for (const auto& [src, picture] : m_pictures)
        kept.push_back(src);
    return kept;
}

QImage PastedPictures::find(std::string_view src) const
{
    const auto found = m_pictures.find(src);
    if (found == m_pictures.end())
        return QImage();
    const Kept& kept = found->second;
    if (!kept.picture.isNull())
        return kept.picture;
    const KeptEncoding& encoding = kept.encoded.result();
    if (encoding.file.isEmpty())
        return QImage::fromData(encoding.encoded.value_or(QByteArray()));
    const Outcome<QByteArray> bytes = readRegularFile(encoding.file, kMaxPictureBytes);
    return bytes ? QImage::fromData(*bytes) : QImage();
}

std::vector<PastedPictures::Placement> PastedPictures::place(const std::vector<std::string>& srcs,
                                                             const QString& pagePath,
                                                             const QString& srcFolder,
                                                             PageFiles pageFiles) const
{
    const std::string prefix = srcPrefix(pagePath, srcFolder);
    const QDir folder(folderOf(pagePath));
    FolderNames names{1, std::move(pageFiles)};
    const auto fileOf = [&](const std::string& src) {
        return folder.filePath(QString::fromStdString(src.substr(prefix.size())));
    };
    std::vector<Placement> placements;
    std::set<std::string_view> placed;
    for (const std::string& src : srcs) {
        const auto found = m_pictures.find(src);
        if (found == m_pictures.end() || !placed.insert(src).second)
            continue;
        const Kept& kept = found->second;
        PictureType type = kept.type;
        QFuture<KeptEncoding> encoded = kept.encoded;
        if (kept.format != m_format) {
            const QImage picture = find(src);
            const PictureFormat decided = decidedFor(picture, m_format);
            type = decided.type;
            encoded = QtConcurrent::run([picture, decided] {
                return KeptEncoding{encodePicture(picture, decided), {}};
            });
        }
        std::string newSrc = src;
        const bool keepsName =
            src.starts_with(prefix) && src.ends_with("." + extensionOf(type).toStdString()) &&
            !names.taken.contains(fileOf(src)) && !QFileInfo::exists(fileOf(src));
        if (keepsName)
            names.taken.insert(fileOf(src));
        else
            newSrc = freeName(pagePath, srcFolder, names, type);
        placements.push_back({src, newSrc, fileOf(newSrc), encoded});
    }
    return placements;
}

} // namespace tilemond::host
