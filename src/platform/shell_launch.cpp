#include "platform/shell_launch.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace tilemond {
namespace {

QtShellLauncher g_qtLauncher;
ShellLauncher* g_installed = nullptr;

bool isAddress(const QString& text)
{
    static const QStringList schemes{"http", "https", "mailto", "file"};
    return schemes.contains(QUrl(text).scheme(), Qt::CaseInsensitive);
}

} // namespace

ShellLauncher& shellLauncher()
{
    return g_installed ? *g_installed : g_qtLauncher;
}

void installShellLauncher(ShellLauncher* launcher)
{
    g_installed = launcher;
}

int QtShellLauncher::open(const QString& pathOrAddress)
{
    // A missing file fails quietly here, as the shell does, rather than
    // having the desktop's opener complain in a window of its own.
    if (!isAddress(pathOrAddress) && !QFileInfo::exists(pathOrAddress))
        return ShellResult::FileNotFound;
    return QDesktopServices::openUrl(urlFor(pathOrAddress)) ? ShellResult::Opened
                                                            : ShellResult::NoAssociation;
}

QUrl QtShellLauncher::urlFor(const QString& pathOrAddress)
{
    if (isAddress(pathOrAddress))
        return QUrl(pathOrAddress);
    return QUrl::fromLocalFile(QFileInfo(pathOrAddress).absoluteFilePath());
}

int RecordingShellLauncher::open(const QString& pathOrAddress)
{
    m_opened.append(pathOrAddress);
    return m_result;
}

} // namespace tilemond
