#pragma once

#include "page/edit_history.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilemond::host {

// A span of the page that follows the page through edits. A range collapses to
// just after the new text when an edit replaces part of it; a start tag dies
// when an edit touches it.
struct TrackedSpan
{
    enum class Kind { Range, StartTag };
    Kind kind = Kind::Range;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool dead = false;
};
using TrackedSpanPtr = std::shared_ptr<TrackedSpan>;

// One edit: the bytes [begin, end) became `length` new bytes.
struct Splice
{
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t length = 0;

    bool isInsertion() const { return begin == end; }
    std::size_t after() const { return begin + length; }
    // Where a byte at or after `end` moved to.
    std::size_t shifted(std::size_t offset) const { return offset - (end - begin) + length; }
};

// The page's bytes. Edits splice them; nothing outside an edited span changes.
class PageSource
{
public:
    explicit PageSource(std::string bytes);

    // The whole page in one piece.
    const std::string& bytes() const;
    std::size_t size() const { return m_text.size() - m_gapLength; }
    // The bytes of [begin, end), clamped to the page; good until the next edit, slice or bytes().
    std::string_view slice(std::size_t begin, std::size_t end) const;
    // Counts the edits so far; 0 for the page as it was opened.
    int edits() const { return m_edits; }
    // The latest edit; meaningless before the first.
    const Splice& lastEdit() const { return m_lastEdit; }
    // The bytes the latest edit replaced.
    const std::string& lastRemoved() const { return m_lastRemoved; }

    // Replaces [begin, end) by text; false (and no change) for a span outside the page. The edit
    // can be undone.
    bool splice(std::size_t begin, std::size_t end, std::string_view text);
    // The same, as no step of the history (the save pointing a src elsewhere).
    bool rewrite(std::size_t begin, std::size_t end, std::string_view text);

    EditHistory& history() { return m_history; }
    const EditHistory& history() const { return m_history; }
    // Undoes (redoes) the latest step; the span of the bytes it put back, nullopt when there is
    // nothing to undo (redo).
    std::optional<std::pair<std::size_t, std::size_t>> undo();
    std::optional<std::pair<std::size_t, std::size_t>> redo();
    TrackedSpanPtr track(TrackedSpan::Kind kind, std::size_t begin, std::size_t end);
    // The number of the latest edit whose inserted text still holds offset; 0 when none.
    int editThatInserted(std::size_t offset) const;

private:
    void apply(std::size_t begin, std::size_t end, std::string_view text);
    void moveGap(std::size_t to) const;
    std::size_t widerGap(std::size_t text) const;
    std::optional<std::pair<std::size_t, std::size_t>> swap(const EditHistory::Swap& swap,
                                                            bool undoing);

    struct InsertedSpan
    {
        std::size_t begin;
        std::size_t end;
        int edit;
    };

    // The page's bytes with a gap where the latest edit was: an edit near the one before moves
    // the bytes between the two, not the page's tail. Reading a span across the gap, or the
    // whole page, moves the gap out of the way.
    mutable std::string m_text;
    mutable std::size_t m_gap;           // where the gap starts, an offset of the page too
    mutable std::size_t m_gapLength = 0; // the gap's bytes, in m_text
    int m_edits = 0;
    Splice m_lastEdit;
    std::string m_lastRemoved;
    // Where the page holds text that edits inserted, and the latest edit that did: disjoint
    // runs in page order.
    std::vector<InsertedSpan> m_inserted;
    std::vector<std::weak_ptr<TrackedSpan>> m_tracked;
    std::size_t m_trackedAfterPrune = 0;
    EditHistory m_history;
};

} // namespace tilemond::host
