#include "page/page_source.h"

#include <algorithm>
#include <cstring>

namespace tilemond::host {

namespace {

void shiftRange(TrackedSpan& span, const Splice& edit)
{
    const bool collapsed = span.begin == span.end;
    if (!edit.isInsertion() && span.begin < edit.end && span.end > edit.begin) {
        span.begin = span.end = edit.after();
        return;
    }
    // Text inserted at a range's edge lands outside it; a caret moves past it.
    if (span.begin >= edit.end)
        span.begin = edit.shifted(span.begin);
    if (span.end > edit.end || (span.end == edit.end && (collapsed || !edit.isInsertion())))
        span.end = edit.shifted(span.end);
}

void shiftStartTag(TrackedSpan& span, const Splice& edit)
{
    const bool touched = edit.isInsertion() ? span.begin < edit.begin && edit.begin < span.end
                                            : span.begin < edit.end && span.end > edit.begin;
    if (touched) {
        span.dead = true;
        return;
    }
    if (span.begin >= edit.end) {
        span.begin = edit.shifted(span.begin);
        span.end = edit.shifted(span.end);
    }
}

} // namespace

PageSource::PageSource(std::string bytes) : m_text(std::move(bytes)), m_gap(m_text.size())
{
    // The first edit finds its gap.
    m_text.resize(m_gap + widerGap(0));
    m_gapLength = m_text.size() - m_gap;
}

const std::string& PageSource::bytes() const
{
    moveGap(size());
    m_text.resize(m_gap);
    m_gapLength = 0;
    return m_text;
}

std::string_view PageSource::slice(std::size_t begin, std::size_t end) const
{
    begin = std::min(begin, size());
    end = std::clamp(end, begin, size());
    if (begin < m_gap && m_gap < end)
        moveGap(m_gap - begin < end - m_gap ? begin : end);
    const std::size_t at = begin < m_gap ? begin : begin + m_gapLength;
    return std::string_view(m_text).substr(at, end - begin);
}

// A gap for this much text and a share of the page, so that a page that grows edit by edit moves
// its tail seldom.
std::size_t PageSource::widerGap(std::size_t text) const
{
    return text + size() / 16 + 4096;
}

void PageSource::moveGap(std::size_t to) const
{
    char* text = m_text.data();
    if (m_gapLength > 0 && to < m_gap)
        std::memmove(text + to + m_gapLength, text + to, m_gap - to);
    else if (m_gapLength > 0 && to > m_gap)
        std::memmove(text + m_gap, text + m_gap + m_gapLength, to - m_gap);
    m_gap = to;
}

bool PageSource::splice(std::size_t begin, std::size_t end, std::string_view text)
{
    if (begin > end || end > size())
        return false;
    m_history.recordEdit([this](std::size_t from, std::size_t to) { return slice(from, to); },
                         begin, end, text.size());
    apply(begin, end, text);
    return true;
}

bool PageSource::rewrite(std::size_t begin, std::size_t end, std::string_view text)
{
    if (begin > end || end > size())
        return false;
    m_history.followEdit(begin, end, text.size());
    apply(begin, end, text);
    return true;
}

std::optional<std::pair<std::size_t, std::size_t>> PageSource::undo()
{
    const auto step = m_history.nextUndo();
    return step ? swap(*step, true) : std::nullopt;
}

std::optional<std::pair<std::size_t, std::size_t>> PageSource::redo()
{
    const auto step = m_history.nextRedo();
    return step ? swap(*step, false) : std::nullopt;
}

std::optional<std::pair<std::size_t, std::size_t>> PageSource::swap(const EditHistory::Swap& step,
                                                                    bool undoing)
{
    if (step.begin + step.length > size())
        return std::nullopt;
    std::string taken(slice(step.begin, step.begin + step.length));
    apply(step.begin, step.begin + step.length, step.text);
    undoing ? m_history.undone(std::move(taken)) : m_history.redone(std::move(taken));
    return std::pair{step.begin, step.begin + step.text.size()};
}

void PageSource::apply(std::size_t begin, std::size_t end, std::string_view text)
{
    // The replaced bytes join the gap and the text fills it from its start.
    moveGap(begin);
    m_lastRemoved.assign(m_text, m_gap + m_gapLength, end - begin);
    m_gapLength += end - begin;
    if (m_gapLength < text.size()) {
        const std::size_t wider = widerGap(text.size());
        m_text.insert(m_gap, wider - m_gapLength, '\0');
        m_gapLength = wider;
    }
    std::copy(text.begin(), text.end(), m_text.begin() + std::ptrdiff_t(m_gap));
    m_gap += text.size();
    m_gapLength -= text.size();
    const Splice edit{begin, end, text.size()};
    ++m_edits;
    m_lastEdit = edit;

    std::erase_if(m_tracked, [](const auto& weak) { return weak.expired(); });
    m_trackedAfterPrune = m_tracked.size();
    for (const auto& weak : m_tracked) {
        const auto span = weak.lock();
        if (span->dead)
            continue;
        if (span->kind == TrackedSpan::Kind::Range)
            shiftRange(*span, edit);
        else
            shiftStartTag(*span, edit);
    }

    // The runs the edit cuts keep what lies outside it; those after it move; the new text is a
    // run of its own.
    const auto first =
        std::partition_point(m_inserted.begin(), m_inserted.end(),
                             [&](const InsertedSpan& run) { return run.end <= begin; });
    const auto last = std::partition_point(
        first, m_inserted.end(), [&](const InsertedSpan& run) { return run.begin < end; });
    std::vector<InsertedSpan> runs;
    if (first != last && first->begin < begin)
        runs.push_back({first->begin, begin, first->edit});
    if (!text.empty())
        runs.push_back({begin, edit.after(), m_edits});
    if (first != last && std::prev(last)->end > end)
        runs.push_back({edit.after(), edit.shifted(std::prev(last)->end), std::prev(last)->edit});
    for (auto later = last; later != m_inserted.end(); ++later) {
        later->begin = edit.shifted(later->begin);
        later->end = edit.shifted(later->end);
    }
    m_inserted.insert(m_inserted.erase(first, last), runs.begin(), runs.end());
}

TrackedSpanPtr PageSource::track(TrackedSpan::Kind kind, std::size_t begin, std::size_t end)
{
    begin = std::min(begin, size());
    // Handles die unnoticed; forget them now and then, not only at edits.
    if (m_tracked.size() >= 2 * m_trackedAfterPrune + 64) {
        std::erase_if(m_tracked, [](const auto& weak) { return weak.expired(); });
        m_trackedAfterPrune = m_tracked.size();
    }
    auto span = std::make_shared<TrackedSpan>(
        TrackedSpan{kind, begin, std::clamp(end, begin, size()), false});
    m_tracked.push_back(span);
    return span;
}

int PageSource::editThatInserted(std::size_t offset) const
{
    const auto run =
        std::partition_point(m_inserted.begin(), m_inserted.end(),
                             [&](const InsertedSpan& run) { return run.end <= offset; });
    return run != m_inserted.end() && run->begin <= offset ? run->edit : 0;
}

} // namespace tilemond::host
