// tilemond: the desktop page host with the Tessora Tilemond add-in, and its batch mode.
#include "app/command_line.h"
#include "app/commands.h"
#include "pictures/picture_limits.h"

#include <QCoreApplication>

#include <unistd.h>

using namespace tilemond::app;

int main(int argc, char** argv)
{
    // The browser engine that lays pages out shares its graphics context with the windows; it
    // refuses to run as root inside its sandbox.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const tilemond::Outcome<CommandLine> parsed = parseCommandLine(arguments);
    if (!parsed)
        return usageError(parsed.error());

    const CommandLine& line = *parsed;
    if (line.maxPixels)
        tilemond::setMaxPicturePixels(*line.maxPixels);
    switch (line.command) {
    case Command::Help:
        return printOut(usageText());
    case Command::Version:
        return printOut(versionText());
    case Command::Register:
    case Command::Unregister:
        return runRegistration(argc, argv, line.command);
    case Command::Split:
        return runSplit(argc, argv, line.split);
    case Command::Desktop:
        return runDesktop(argc, argv, line.page);
    }
    return Exit::Usage;
}
