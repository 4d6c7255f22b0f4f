#pragma once

#include "app/command_line.h"

#include <functional>

namespace tilemond::app {

// How a batch split ended: the exit code, and the summary line (done) or the error (naming the
// file and the reason).
struct BatchOutcome
{
    int exitCode = Exit::Done;
    QString message;
    QStringList notes; // besides: the page's picture files that a save left behind, and why
};

// Called as each piece is placed into the page: piece is 1-based.
using PieceProgress = std::function<void(int piece, int pieces)>;

// The split road of `tilemond split`, through the page host, the add-in's menu entry and the
// editor's own buttons. Needs a QApplication. Nothing on disk changes unless it succeeds. `tell`
// hears what the user should know meanwhile (that the run waits for another on the same page).
BatchOutcome batchSplit(const SplitOptions& options, const PieceProgress& progress = {},
                        const std::function<void(const QString&)>& tell = {});

} // namespace tilemond::app
