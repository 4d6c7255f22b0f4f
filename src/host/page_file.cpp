#include "host/page_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tilemond::host {

namespace {

QString failure(const QString& what, const QString& path, const QString& reason)
{
    return QStringLiteral("%1 \"%2\": %3").arg(what, QDir::toNativeSeparators(path), reason);
}

} // namespace

FileError readPageFile(const QString& path, std::string& bytes)
{
    const QString what = QStringLiteral("Cannot open the page");
    const QFileInfo info(path);
    if (!info.exists())
        return failure(what, path, QStringLiteral("there is no such file."));
    if (info.isDir())
        return failure(what, path, QStringLiteral("it is a folder, not a file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(what, path, file.errorString());
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(what, path, file.errorString());
    bytes.assign(content.constData(), content.size());
    return std::nullopt;
}

FileError writeFileAtomically(const QString& path, std::string_view bytes)
{
    const QString what = QStringLiteral("Cannot save");
    if (QFileInfo(path).isDir())
        return failure(what, path, QStringLiteral("it is a folder, not a file."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(what, path, file.errorString());
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(what, path, reason);
    }
    if (!file.commit())
        return failure(what, path, file.errorString());
    return std::nullopt;
}

} // namespace tilemond::host
