#include "app/commands.h"

#include "app/add_in_setup.h"
#include "app/batch_split.h"
#include "app/unpainted_windows.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <unistd.h>

namespace tilemond::app {
namespace {

void write(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Lines of text as they may be shown: a control character that a name brought along (a NUL that
// would end the text, an escape that would steer the terminal) is written as \xNN.
void print(std::FILE* stream, const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\n')) || c.unicode() == 0x7f)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    write(stream, shown);
}

// Headless unless the user chose a platform.
void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Batch output is the summary, the progress and our own errors; Qt's notes about the headless
// platform would only hide them.
void keepQtQuiet(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs(qPrintable(qFormatLogMessage(type, context, message) + '\n'), stderr);
}

} // namespace

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("tilemond"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TILEMOND_VERSION));
}

int runSplit(int& argc, char** argv, const SplitOptions& options)
{
    preferOffscreen();
    qInstallMessageHandler(keepQtQuiet);
    nameApplication();
    QApplication application(argc, argv);
    const UnpaintedWindows unpainted;
    const bool terminal = isatty(fileno(stderr));
    PieceProgress progress;
    if (terminal)
        progress = [](int piece, int pieces) {
            write(stderr, QStringLiteral("\rplacing piece %1 of %2").arg(piece).arg(pieces));
            if (piece == pieces)
                write(stderr, QStringLiteral("\n"));
        };
    const BatchOutcome outcome = batchSplit(options, progress, [](const QString& news) {
        print(stderr, QStringLiteral("tilemond: %1\n").arg(news));
    });
    if (outcome.exitCode == Exit::Usage)
        return usageError(outcome.message);
    for (const QString& note : outcome.notes)
        print(stderr, QStringLiteral("tilemond: %1\n").arg(note));
    print(outcome.exitCode == Exit::Done ? stdout : stderr,
          (outcome.exitCode == Exit::Done ? QString() : QStringLiteral("tilemond: ")) +
              outcome.message + '\n');
    return outcome.exitCode;
}

int runRegistration(int& argc, char** argv, Command command)
{
    nameApplication();
    QCoreApplication application(argc, argv);
    const bool registering = command == Command::Register;
    const QString library = addInLibrary();
    const Outcome<void> done = registering ? registerAddIn(library) : unregisterAddIn(library);
    if (!done) {
        print(stderr, QStringLiteral("tilemond: %1\n").arg(done.error()));
        return Exit::Failure;
    }
    print(stdout,
          QStringLiteral("%1 the Tessora Tilemond add-in %2\n")
              .arg(registering ? "registered" : "unregistered", QDir::toNativeSeparators(library)));
    return Exit::Done;
}

int usageError(const QString& message)
{
    print(stderr, QStringLiteral("tilemond: %1\nTry 'tilemond --help'.\n").arg(message));
    return Exit::Usage;
}

int printOut(const QString& text)
{
    print(stdout, text);
    return Exit::Done;
}

} // namespace tilemond::app
