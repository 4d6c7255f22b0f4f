#include "acquire/fit_preview.h"
#include "bench_page.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/host_app.h"
#include "editor/marker_placement.h"
#include "host/page_host.h"
#include "platform/picture_box.h"
#include "platform/screen_metrics.h"
#include "slicing/split_command.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace tilemond::bench {
namespace {

constexpr int PictureSide = 2000;
constexpr int PiecesPerSide = 10;

// The editor as the picture taking leaves it, with evenly spaced markers of both kinds.
void prepareEditor(const QImage& picture)
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    editor.Picture1->setPicture(picture);
    FitPreviewToPicture();
    const float step = float(PictureSide / PiecesPerSide * 15);
    for (int i = 1; i < PiecesPerSide; ++i) {
        addVerticalMarker();
        preview.Hori1[editor.VMarkerLast].setLeft(step * float(i));
        addHorizontalMarker();
        preview.Vert1[editor.HMarkerLast].setTop(step * float(i));
    }
    editor.chkTable->setChecked(true);
}

void selectSplitPicture(host::PageHost& host)
{
    const auto images = host.activeDocument()->images();
    const auto range = host.activeDocument()->selection()->createRange();
    range->moveToElementText(*images->item(0));
    range->select();
}

void reportCells(benchmark::State& state)
{
    state.counters["per_cell"] =
        benchmark::Counter(double(state.iterations()) * PiecesPerSide * PiecesPerSide,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
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
            host->open(page);
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

// The same split without a host: the picture work, the clipboard and the yields alone.
void BM_SplitPictureWork(benchmark::State& state)
{
    splitRepeatedly(state, nullptr, {});
}
BENCHMARK(BM_SplitPictureWork)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tilemond::bench
