#include "acquire/fit_preview.h"
#include "bench_page.h"
#include "editor/editor_commands.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/marker_placement.h"
#include "host/page_host.h"
#include "platform/picture_box.h"
#include "platform/prompts.h"
#include "platform/screen_metrics.h"
#include "slicing/split_command.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace tilemond::bench {
namespace {

constexpr int PictureSide = 2000;
constexpr int PiecesPerSide = 10;

// The editor as the picture taking leaves it, with evenly spaced markers of both kinds.
void prepareEditor(const QImage& picture, int piecesPerSide = PiecesPerSide, bool table = true)
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    editor.Picture1->setPicture(picture);
    FitPreviewToPicture();
    const float step = float(PictureSide) * 15 / float(piecesPerSide);
    for (int i = 1; i < piecesPerSide; ++i) {
        addVerticalMarker();
        preview.Hori1[editor.VMarkerLast].setLeft(step * float(i));
        addHorizontalMarker();
        preview.Vert1[editor.HMarkerLast].setTop(step * float(i));
    }
    editor.chkTable->setChecked(table);
}

void selectSplitPicture(host::PageHost& host)
{
    const auto images = host.activeDocument()->images();
    const auto range = host.activeDocument()->selection()->createRange();
    range->moveToElementText(*images->item(0));
    range->select();
}

void reportCells(benchmark::State& state, int piecesPerSide = PiecesPerSide)
{
    state.counters["per_cell"] =
        benchmark::Counter(double(state.iterations()) * piecesPerSide * piecesPerSide,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The memory the process holds now, in MiB.
double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.size() > 1 ? pages[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1 << 20) : 0;
}

// Splits the picture once per iteration, after putting the editor (and the page, when there is
// a host) back as they were; only the split is timed.
void splitRepeatedly(benchmark::State& state, host::PageHost* host, const QString& page)
{
    Screen::overrideTwipsPerPixel(15, 15);
    const QImage picture = benchPicture(PictureSide, PictureSide);
    for (auto _ : state) {
        state.PauseTiming();
        if (host) {
            if (!host->open(page)) {
                state.SkipWithError("cannot open the page");
                break;
            }
            selectSplitPicture(*host);
        }
        prepareEditor(picture);
        state.ResumeTiming();

        Command4_Click();

        state.PauseTiming();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    reportCells(state);
    Screen::clearOverride();
}

// A whole split of a 2000 x 2000 picture into 10 x 10 pieces, table mode, through the page
// host, on a page of range(0) bytes.
void BM_Split(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString page = folder.filePath("index.html");
    if (!writeFile(page, pageOfSize(size_t(state.range(0))))) {
        state.SkipWithError("cannot write the page");
        return;
    }
    auto host = std::make_shared<host::PageHost>(folder.filePath("config"));
    HostApp = host;
    splitRepeatedly(state, host.get(), page);
    HostApp.reset();
}
BENCHMARK(BM_Split)->Arg(1 << 10)->Arg(1 << 16)->Arg(1 << 18)->Arg(1 << 20)->Unit(
    benchmark::kMillisecond);

// A split into range(0) x range(0) pieces and the save that writes them, on a small page, into a
// table (range(1) = 1) or into lines (0): the time per piece should not grow with the number of
// pieces. The largest split allowed should take about a minute.
void BM_SplitAndSavePieces(benchmark::State& state)
{
    const int piecesPerSide = int(state.range(0));
    const bool table = state.range(1) == 1;
    QTemporaryDir folder;
    const QString page = folder.filePath("index.html");
    if (!writeFile(page, pageOfSize(1 << 10))) {
        state.SkipWithError("cannot write the page");
        return;
    }
    auto host = std::make_shared<host::PageHost>(folder.filePath("config"));
    HostApp = host;
    Screen::overrideTwipsPerPixel(15, 15);
    const QImage picture = benchPicture(PictureSide, PictureSide);
    const std::string original = pageOfSize(1 << 10);
    for (auto _ : state) {
        state.PauseTiming();
        QDir(folder.filePath("index_files")).removeRecursively();
        writeFile(page, original);
        if (!host->open(page)) {
            state.SkipWithError("cannot open the page");
            break;
        }
        selectSplitPicture(*host);
        prepareEditor(picture, piecesPerSide, table);
        state.ResumeTiming();

        Command4_Click();
        if (!host->save()) {
            state.SkipWithError("the save failed");
            break;
        }

        state.PauseTiming();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    reportCells(state, piecesPerSide);
    Screen::clearOverride();
    HostApp.reset();
}
// Up to the largest split allowed, 316 x 316 pieces, into a table and into lines.
BENCHMARK(BM_SplitAndSavePieces)
    ->ArgNames({"side", "table"})
    ->ArgsProduct({{21, 44, 100, 316}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

// Vertical markers added one by one with the editor's button until it refuses, then Okay, which
// refuses at once for the number of pieces. Reports how many were placed, the memory they took
// and the time the editor then takes to close with Cancel.
void BM_MarkersOfOneKind(benchmark::State& state)
{
    Screen::overrideTwipsPerPixel(15, 15);
    ScriptedPrompts answers;
    installPrompts(&answers);
    const QImage picture = benchPicture(PictureSide, 100);
    int placed = 0;
    double markersMiB = 0;
    double closeMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        showFrmFilters();
        frmFilters().NoGraphic = false;
        frmFilters().Picture1->setPicture(picture);
        FitPreviewToPicture();
        frmPreview().show();
        QCoreApplication::sendPostedEvents();
        const double before = residentMiB();
        state.ResumeTiming();

        int last = 0;
        do {
            last = frmFilters().VMarkerLast;
            addVerticalMarker();
        } while (frmFilters().VMarkerLast != last);
        QCoreApplication::sendPostedEvents(); // as between the user's clicks
        answers.answerMessage(MsgBox::Ok);
        Command4_Click();

        state.PauseTiming();
        placed = frmFilters().VMarkerLast + 1; // element 0 is one of them
        markersMiB = residentMiB() - before;
        QCoreApplication::sendPostedEvents(); // the user reads the message
        QElapsedTimer closing;
        closing.start();
        cancelEditing();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        closeMs = double(closing.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
    }
    state.counters["markers"] = placed;
    state.counters["markers_MiB"] = markersMiB;
    state.counters["close_ms"] = closeMs;
    installPrompts(nullptr);
    Screen::clearOverride();
}
BENCHMARK(BM_MarkersOfOneKind)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same split without a host: the picture work, the clipboard and the yields alone.
void BM_SplitPictureWork(benchmark::State& state)
{
    splitRepeatedly(state, nullptr, {});
}
BENCHMARK(BM_SplitPictureWork)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tilemond::bench
