#pragma once

#include "app/command_line.h"

#include <optional>

// The program's commands, each with its own application object. They print what the user
// reads and return the exit code.
namespace tilemond::app {

int runSplit(int& argc, char** argv, const SplitOptions& options);
int runRegistration(int& argc, char** argv, Command command);
int runDesktop(int& argc, char** argv, const std::optional<QString>& page);

// Names the application before its object is made.
void nameApplication();
// The usage error on stderr, with a pointer to --help.
int usageError(const QString& message);
int printOut(const QString& text);

} // namespace tilemond::app
