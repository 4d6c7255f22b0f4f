#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tilemond::host {

// The undo and redo steps of a page. A step is one span of the page that its edits changed,
// with the bytes that stood there before: undoing it swaps them back, and the swap is the
// redo. Edits made while a step is open join it, so a whole split is one step.
class EditHistory
{
public:
    // Edits until the matching close form one step (calls nest).
    void openStep() { ++m_open; }
    void closeStep();
    // The page's bytes [begin, end); a view good until the next call.
    using PageBytes = std::function<std::string_view(std::size_t begin, std::size_t end)>;
    // Before the bytes [begin, end) of `page` become `length` new ones: the edit joins the open
    // step, or makes one of its own.
    void recordEdit(const PageBytes& page, std::size_t begin, std::size_t end, std::size_t length);
    // An edit that is no step of its own (the save pointing a picture elsewhere): the steps
    // follow it, and those it cuts across are forgotten.
    void followEdit(std::size_t begin, std::size_t end, std::size_t length);

    bool canUndo() const { return !m_undo.empty() && m_open == 0; }
    bool canRedo() const { return !m_redo.empty() && m_open == 0; }
    // The swap that undo (redo) makes: the page's bytes [begin, begin + length) become `text`.
    struct Swap
    {
        std::size_t begin;
        std::size_t length;
        std::string text;
    };
    std::optional<Swap> nextUndo() const;
    std::optional<Swap> nextRedo() const;
    // The swap was made; `taken` are the bytes it replaced.
    void undone(std::string taken);
    void redone(std::string taken);

    // Tells the page's states apart: the same number for the same bytes reached by undo or redo.
    int state() const { return m_state; }

private:
    struct Step
    {
        Swap swap;
        int before; // state ids on either side
        int after;
    };

    void push(std::deque<Step>& stack, Step step);
    void moveStep(std::deque<Step>& from, std::deque<Step>& to, std::string taken);

    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
    int m_open = 0;
    bool m_stepStarted = false; // the open step has its first edit
    int m_state = 0;
    int m_lastState = 0;
};

} // namespace tilemond::host
