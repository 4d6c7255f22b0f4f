#include "page/unsaved_files.h"

#include "page/page_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace tilemond::host {

namespace {

const QString kPrefix = QStringLiteral(".tilemond-pasted-");
const QDateTime kStarted = QDateTime::currentDateTimeUtc();

} // namespace

QString writeUnsavedFile(const QString& folder, const QByteArray& bytes)
{
    static std::atomic<unsigned> next = 1;
    // A name taken already is one a killed run of the same process number left.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QString file = QDir(folder).filePath(kPrefix + QString::number(::getpid()) + '-' +
                                                   QString::number(next++));
        if (writeNewFile(file, std::string_view(bytes.constData(), bytes.size())))
            return file;
        if (!QFileInfo(file).isSymLink() && !QFileInfo::exists(file))
            break;
    }
    return QString();
}

void removeStaleUnsavedFiles(const QString& folder)
{
    const QDir dir(folder);
    for (const QFileInfo& file :
         dir.entryInfoList({kPrefix + '*'}, QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        bool number = false;
        const int process = file.fileName().mid(kPrefix.size()).section('-', 0, 0).toInt(&number);
        if (number && process > 0 && ::kill(process, 0) != 0 && errno == ESRCH &&
            file.lastModified() < kStarted)
            QFile::remove(file.filePath());
    }
}

} // namespace tilemond::host
