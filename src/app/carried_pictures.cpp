#include "app/carried_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace tilemond::app {

CarriedPictures::~CarriedPictures()
{
    for (const QString& file : m_copies)
        QFile::remove(file);
}

void CarriedPictures::keep()
{
    m_copies.clear();
    m_folders.keep();
}

QStringList CarriedPictures::relativeSources(host::Document& document)
{
    QStringList srcs;
    const auto images = document.images();
    for (int i = 0; images && i < images->length(); ++i) {
        const auto image = images->item(i);
        const auto src = image ? image->getAttribute("src") : std::nullopt;
        if (!src)
            continue;
        const QUrl url(QString::fromStdString(*src));
        const QString path = QDir::cleanPath(url.path());
        if (url.isRelative() && !path.isEmpty() && !QDir::isAbsolutePath(path) &&
            !path.startsWith(QLatin1String("..")) && !srcs.contains(path))
            srcs << path;
    }
    return srcs;
}

QString CarriedPictures::copy(const QStringList& srcs, const QString& fromPage,
                              const QString& toPage)
{
    const QDir from = QFileInfo(fromPage).absoluteDir();
    const QDir to = QFileInfo(toPage).absoluteDir();
    if (from == to)
        return QString();
    for (const QString& src : srcs) {
        const QString source = from.filePath(src);
        const QString target = to.filePath(src);
        if (!QFileInfo(source).isFile() || QFileInfo::exists(target))
            continue;
        const QString folder = QFileInfo(target).absolutePath();
        if (!m_folders.make(folder))
            return QStringLiteral("Cannot make the folder \"%1\" for the picture %2.")
                .arg(QDir::toNativeSeparators(folder), src);
        QFile file(source);
        if (!file.copy(target))
            return QStringLiteral("Cannot copy the picture \"%1\" to \"%2\": %3")
                .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target),
                     file.errorString());
        m_copies << target;
    }
    return QString();
}

} // namespace tilemond::app
