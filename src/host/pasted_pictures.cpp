#include "host/pasted_pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace tilemond::host {

namespace {

QString folderName(const QString& pagePath)
{
    return QFileInfo(pagePath).completeBaseName() + QStringLiteral("_files");
}

std::string srcPrefix(const QString& pagePath)
{
    return QUrl::toPercentEncoding(folderName(pagePath)).toStdString() + "/";
}

bool contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

QString PastedPictures::folderOf(const QString& pagePath)
{
    return QFileInfo(pagePath).absoluteDir().filePath(folderName(pagePath));
}

std::string PastedPictures::freeName(const QString& pagePath, std::vector<std::string>& taken) const
{
    const QDir folder(folderOf(pagePath));
    for (int number = 1;; ++number) {
        const QString name = QStringLiteral("image%1.png").arg(number, 3, 10, QLatin1Char('0'));
        std::string src = srcPrefix(pagePath) + name.toStdString();
        if (m_pictures.contains(src) || contains(taken, src) ||
            QFileInfo::exists(folder.filePath(name)))
            continue;
        taken.push_back(src);
        return src;
    }
}

std::string PastedPictures::add(const QImage& picture, const QString& pagePath)
{
    std::vector<std::string> taken;
    std::string src = freeName(pagePath, taken);
    m_pictures.emplace(src, picture);
    return src;
}

QImage PastedPictures::find(std::string_view src) const
{
    const auto found = m_pictures.find(src);
    return found != m_pictures.end() ? found->second : QImage();
}

std::vector<PastedPictures::Placement> PastedPictures::place(const std::vector<std::string>& srcs,
                                                             const QString& pagePath) const
{
    const std::string prefix = srcPrefix(pagePath);
    const QDir folder(folderOf(pagePath));
    std::vector<Placement> placements;
    std::vector<std::string> taken;
    for (const std::string& src : srcs) {
        const auto found = m_pictures.find(src);
        if (found == m_pictures.end() ||
            std::any_of(placements.begin(), placements.end(),
                        [&](const Placement& p) { return p.src == src; }))
            continue;
        std::string newSrc = src;
        const bool keepsName =
            src.starts_with(prefix) && !contains(taken, src) &&
            !QFileInfo::exists(folder.filePath(QString::fromStdString(src.substr(prefix.size()))));
        if (keepsName)
            taken.push_back(src);
        else
            newSrc = freeName(pagePath, taken);
        const QString file = folder.filePath(QString::fromStdString(newSrc.substr(prefix.size())));
        placements.push_back({src, newSrc, file, found->second});
    }
    return placements;
}

} // namespace tilemond::host
