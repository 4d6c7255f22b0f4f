#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace tilemond {

// Result codes of a launch, in the shell's manner: above 32 is success.
namespace ShellResult {
inline constexpr int Opened = 42;
inline constexpr int FileNotFound = 2;   // an empty path or a file that is not there
inline constexpr int NoAssociation = 31; // the desktop found nothing to open it with
} // namespace ShellResult

// Opens a document or a web address with the program the desktop has for it.
// Everything the add-in launches goes through here, so that tests can read it.
class ShellLauncher
{
public:
    virtual ~ShellLauncher() = default;
    // Returns a ShellResult code; a failure shows nothing to the user.
    virtual int open(const QString& pathOrAddress) = 0;
};

// The installed launcher; the desktop's own unless something else was installed.
ShellLauncher& shellLauncher();
// Installs another launcher (not owned); nullptr brings back the desktop's.
void installShellLauncher(ShellLauncher* launcher);

// QDesktopServices. Strings are Unicode throughout, so no code page conversion.
class QtShellLauncher final : public ShellLauncher
{
public:
    int open(const QString& pathOrAddress) override;
    // An http:, https:, mailto: or file: address as it is; anything else is a
    // local path, made absolute against the current folder.
    static QUrl urlFor(const QString& pathOrAddress);
};

// Records every launch and answers with a fixed result.
class RecordingShellLauncher final : public ShellLauncher
{
public:
    explicit RecordingShellLauncher(int result = ShellResult::Opened) : m_result(result) {}

    int open(const QString& pathOrAddress) override;
    const QStringList& opened() const { return m_opened; }

private:
    int m_result;
    QStringList m_opened;
};

} // namespace tilemond
