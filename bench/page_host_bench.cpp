#include "bench_page.h"
#include "host/page_host.h"
#include "platform/clipboard_picture.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace tilemond::bench {
namespace {

constexpr size_t PageBytes = 1 << 20;

// A 1 MB page open in the host, its picture replaced by the split's empty container.
class OpenPage
{
public:
    OpenPage() : m_path(m_folder.filePath("index.html")), m_host(m_folder.filePath("config"))
    {
        writeFile(m_path, pageOfSize(PageBytes));
        if (const Outcome<void> opened = m_host.open(m_path); !opened)
            qFatal("%s", qPrintable(opened.error()));
        const auto range = document()->selection()->createRange();
        range->moveToElementText(*document()->images()->item(0));
        range->select();
        range->pasteHTML("<DIV ID='Tilemond1' NAME='Tilemond1'></DIV>");
        m_container = find("DIV", "Tilemond1");
    }

    host::PageHost& host() { return m_host; }
    host::DocumentPtr document() { return m_host.activeDocument(); }
    host::Element& container() { return *m_container; }
    QString path() const { return m_path; }
    host::ElementPtr find(std::string_view tag, std::string_view id)
    {
        return document()->all()->tags(tag)->item(id);
    }

private:
    QTemporaryDir m_folder;
    QString m_path;
    host::PageHost m_host;
    host::ElementPtr m_container;
};

void BM_HostOpen(benchmark::State& state)
{
    OpenPage page;
    for (auto _ : state) {
        if (!page.host().open(page.path())) {
            state.SkipWithError("cannot open the page");
            break;
        }
        benchmark::DoNotOptimize(page.document()->images()->length());
    }
    state.SetBytesProcessed(qint64(state.iterations()) * qint64(page.host().source().size()));
}
BENCHMARK(BM_HostOpen)->Unit(benchmark::kMillisecond);

// An edit, then a lookup by id, which has to see the edit.
void BM_HostInsertAndFind(benchmark::State& state)
{
    OpenPage page;
    for (auto _ : state) {
        page.container().insertAdjacentHTML("BeforeEnd",
                                            "<IMG ID='QZInsertPic' NAME='QZInsertPic'>");
        benchmark::DoNotOptimize(page.find("IMG", "QZInsertPic"));
        page.container().setInnerHTML("");
    }
}
BENCHMARK(BM_HostInsertAndFind)->Unit(benchmark::kMicrosecond);

// The host's side of one table cell: placeholder, lookup, selection, Edit > Paste of a
// 200 x 200 piece, harvest and emptying of the container.
void BM_HostPlaceCell(benchmark::State& state)
{
    OpenPage page;
    SystemClipboard::setPicture(benchPicture(200, 200));
    const auto paste = page.host().commandBars()->item("Edit")->controls()->item("Paste");
    for (auto _ : state) {
        page.container().insertAdjacentHTML("BeforeEnd",
                                            "<IMG ID='QZInsertPic' NAME='QZInsertPic'>");
        const auto placeholder = page.find("IMG", "QZInsertPic");
        const auto range = page.document()->selection()->createRange();
        range->moveToElementText(*placeholder);
        range->select();
        paste->Execute();
        benchmark::DoNotOptimize(page.container().innerHTML());
        page.container().setInnerHTML("");
    }
    SystemClipboard::clear();
}
BENCHMARK(BM_HostPlaceCell)->Unit(benchmark::kMicrosecond);

void BM_HostSave(benchmark::State& state)
{
    OpenPage page;
    for (auto _ : state)
        if (!page.host().save()) {
            state.SkipWithError("the save failed");
            break;
        }
    state.SetBytesProcessed(qint64(state.iterations()) * qint64(page.host().source().size()));
}
BENCHMARK(BM_HostSave)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tilemond::bench
