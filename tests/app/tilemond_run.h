#pragma once

#include "support/test_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tilemond::app {

// A temporary folder holding a copy of the example page, and the built tilemond run there with
// a registry of its own.
class TilemondRun : public ::testing::Test
{
protected:
    struct Result
    {
        int exitCode = -1;
        QString out;
        QString err;
    };

    TilemondRun()
    {
        const QDir examples(TILEMOND_EXAMPLES);
        QDir().mkpath(path("site"));
        for (const char* name : {"index.html", "banner.png", "photo.png"})
            QFile::copy(examples.filePath(name), path(QStringLiteral("site/") + name));
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void start(QProcess& process, const QStringList& arguments,
               const QString& program = TILEMOND_BINARY) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TILEMOND_CONFIG_HOME", path("config"));
        environment.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_dir.path());
        process.start(program, arguments);
    }

    Result run(const QStringList& arguments, const QString& program = TILEMOND_BINARY) const
    {
        QProcess process;
        start(process, arguments, program);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        writeTestFile(path(name), bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Every file and folder below the temporary folder with its bytes, to see that nothing
    // changed (the registry aside).
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        const QDir root(m_dir.path());
        QDirIterator entry(root.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                           QDirIterator::Subdirectories);
        while (entry.hasNext()) {
            const QString name = root.relativeFilePath(entry.next());
            if (!name.startsWith("config"))
                files.insert(name, entry.fileInfo().isDir() ? "<folder>" : read(name));
        }
        return files;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace tilemond::app
