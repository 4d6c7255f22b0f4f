#include "app/batch_split.h"

#include "app/add_in_setup.h"
#include "app/batch_questions.h"
#include "app/editor_driver.h"
#include "app/output_target.h"
#include "app/page_lock.h"
#include "app/split_check.h"
#include "app/split_picture.h"
#include "host/add_in_loader.h"
#include "host/page_host.h"
#include "layout/page_layout.h"
#include "pictures/picture_file.h"
#include "platform/registry.h"

#include <QDir>

#include <algorithm>

namespace tilemond::app {
namespace {

BatchOutcome failure(const QString& message)
{
    return {Exit::Failure, message, {}};
}

// Whether all cuts lie inside the picture; a cut outside fails as the usage error that names it.
Outcome<void> checkCutsInside(const char* option, const std::vector<int>& cuts, int extent,
                              QSize size)
{
    for (const int cut : cuts)
        if (cut <= 0 || cut >= extent)
            return Unexpected(
                QStringLiteral("%1 %2 is not inside the picture (%3 x %4 pixels): a cut lies "
                               "strictly between 0 and %5")
                    .arg(QLatin1String(option))
                    .arg(cut)
                    .arg(size.width())
                    .arg(size.height())
                    .arg(extent));
    return {};
}

// The columns (rows) the cuts make: two cuts on one pixel make an empty one, which is no column.
int linesOf(std::vector<int> cuts)
{
    std::sort(cuts.begin(), cuts.end());
    return int(std::unique(cuts.begin(), cuts.end()) - cuts.begin()) + 1;
}

// The pieces the split puts into the page.
int piecesOf(const SplitOptions& options)
{
    return linesOf(options.vertical) * linesOf(options.horizontal);
}

QString summary(const ChosenPicture& picture, const SplitOptions& options, const QString& saved)
{
    const int pieces = piecesOf(options);
    // One pass over the pattern: names may hold a % of their own.
    return QStringLiteral("split %1 into %2 %3 (%4 x %5, %6) -> %7")
        .arg(picture.name, QString::number(pieces),
             pieces == 1 ? QStringLiteral("piece") : QStringLiteral("pieces"),
             QString::number(linesOf(options.vertical)),
             QString::number(linesOf(options.horizontal)),
             options.table ? QStringLiteral("table") : QStringLiteral("lines"),
             QDir::toNativeSeparators(saved));
}

// Counts the pieces as the split pastes them into the page.
class PieceCounter
{
public:
    PieceCounter(host::Application& host, int pieces, const PieceProgress& progress)
    {
        const auto bars = host.commandBars();
        const auto edit = bars ? bars->item("Edit") : nullptr;
        const auto paste = edit ? edit->controls()->item("Paste") : nullptr;
        if (paste)
            m_subscription = paste->onClick([this, pieces, progress](auto&, bool&) {
                ++m_placed;
                if (progress)
                    progress(m_placed, pieces);
            });
    }
    int placed() const { return m_placed; }

private:
    host::Connection m_subscription;
    int m_placed = 0;
};

// The editor's part of the road: open it on the selected picture, lay the markers, split.
BatchOutcome runEditor(host::PageHost& host, const SplitOptions& options,
                       const ChosenPicture& picture, const PieceProgress& progress)
{
    const QString page = QDir::toNativeSeparators(options.page);
    BatchQuestions questions(options.picture);
    if (const Outcome<void> opened = openEditorFromMenu(host); !opened)
        return failure(QStringLiteral("%1: %2.").arg(page, opened.error()));
    if (const QString asked = questions.unexpected(); !asked.isEmpty()) {
        closeEditor();
        // The host's Copy knows why the picture gave no pixels; the editor only that none came.
        if (const Outcome<void>& copied = host.lastCopy(); !copied)
            return failure(QStringLiteral("%1: the picture %2 %3.")
                               .arg(page, picture.address, copied.error()));
        return failure(QStringLiteral("%1: the picture %2 could not be taken: %3.")
                           .arg(page, picture.name, asked));
    }
    const QSize size = editorIsOpen() ? editorPictureSize() : QSize();
    if (size.isEmpty()) {
        closeEditor();
        return failure(
            QStringLiteral("%1: the picture %2 could not be read.").arg(page, picture.name));
    }
    for (const Outcome<void>& inside :
         {checkCutsInside("--vertical", options.vertical, size.width(), size),
          checkCutsInside("--horizontal", options.horizontal, size.height(), size)})
        if (!inside) {
            closeEditor();
            return {Exit::Usage, inside.error(), {}};
        }

    const int pieces = piecesOf(options);
    PieceCounter counter(host, pieces, progress);
    placeMarkers(options.vertical, options.horizontal);
    if (editorIsOpen())
        splitIntoPage(options.table);
    const QString asked = questions.unexpected();
    const bool finished = !editorIsOpen();
    closeEditor();
    if (!asked.isEmpty())
        return failure(QStringLiteral("%1: the split stopped: %2.").arg(page, asked));
    if (!finished || counter.placed() != pieces)
        return failure(QStringLiteral("%1: the split placed %2 of %3 pieces; the page was not "
                                      "saved.")
                           .arg(page, QString::number(counter.placed()), QString::number(pieces)));
    return {};
}

} // namespace

BatchOutcome batchSplit(const SplitOptions& options, const PieceProgress& progress,
                        const std::function<void(const QString&)>& tell)
{
    if (options.picture)
        if (const LoadedPicture file = loadPictureFile(*options.picture); !file)
            return failure(file.error());

    const PageLock lock(options.page, [&] {
        if (tell)
            tell(QStringLiteral("%1 is being split by another run; waiting for it to finish.")
                     .arg(QDir::toNativeSeparators(options.page)));
    });

    // Made before the host, so that the host has removed the pieces waiting in a folder made for
    // the output before a failed run removes that folder again.
    OutputTarget target(options);
    auto host = std::make_shared<host::PageHost>(Registry::configFolder());
    host->setPictureFormat(options.pictures);
    if (options.viewport > 0)
        host->setPictureLayout(layout::pictureLayoutAt(options.viewport));
    if (const Outcome<void> opened = host->open(options.page); !opened)
        return failure(opened.error());
    const auto document = host->activeDocument();
    const Outcome<ChosenPicture> chosen = selectSplitPicture(*document, options);
    if (!chosen)
        return failure(
            QStringLiteral("%1: %2.").arg(QDir::toNativeSeparators(options.page), chosen.error()));
    const ChosenPicture& picture = *chosen;

    const bool checking = options.check || options.verify;
    const host::PageState before = checking ? host->state() : host::PageState{};

    if (const Outcome<void> prepared = target.prepare(*host); !prepared)
        return failure(prepared.error());

    host::AddInLoader loader(host);
    if (const QStringList errors = connectAddIns(loader); !errors.isEmpty())
        return failure(errors.join('\n'));
    if (BatchOutcome edited = runEditor(*host, options, picture, progress);
        edited.exitCode != Exit::Done)
        return edited;
    if (const Outcome<void> saved = target.save(*host); !saved)
        return failure(saved.error());
    BatchOutcome done{Exit::Done, summary(picture, options, target.shownPath()),
                      host->leftBehind()};
    if (checking) {
        const SplitCheck check =
            checkSplit(before, target.shownPath(),
                       options.viewport > 0 ? options.viewport : layout::kDefaultViewportWidth);
        done.message += QStringLiteral("\ncheck: ") + check.said;
        if (options.verify && !check.seamless)
            done.exitCode = Exit::Failure;
    }
    return done;
}

} // namespace tilemond::app
