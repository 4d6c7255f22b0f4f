#include "page/edit_history.h"

#include <algorithm>

namespace tilemond::host {
namespace {

// Enough for a working session; each step holds only the bytes it changed.
constexpr std::size_t MaxSteps = 200;

} // namespace

void EditHistory::closeStep()
{
    if (m_open > 0 && --m_open == 0)
        m_stepStarted = false;
}

void EditHistory::recordEdit(const PageBytes& page, std::size_t begin, std::size_t end,
                             std::size_t length)
{
    if (m_open == 0 || !m_stepStarted) {
        m_redo.clear();
        const int before = m_state;
        m_state = ++m_lastState;
        push(m_undo, {{begin, length, std::string(page(begin, end))}, before, m_state});
        m_stepStarted = m_open > 0;
        return;
    }
    // The open step's span grows to take this edit in, with the bytes it had not covered yet.
    Swap& step = m_undo.back().swap;
    const std::size_t stepEnd = step.begin + step.length;
    if (begin < step.begin)
        step.text.insert(0, page(begin, step.begin));
    if (end > stepEnd)
        step.text.append(page(stepEnd, end));
    const std::size_t spanBegin = std::min(step.begin, begin);
    const std::size_t spanEnd = std::max(stepEnd, end);
    step.length = spanEnd - spanBegin - (end - begin) + length;
    step.begin = spanBegin;
}

void EditHistory::followEdit(std::size_t begin, std::size_t end, std::size_t length)
{
    for (std::deque<Step>* stack : {&m_undo, &m_redo}) {
        // From the newest step down, the edit expressed in the bytes each step leaves.
        std::size_t editBegin = begin;
        std::size_t editEnd = end;
        for (std::size_t i = stack->size(); i-- > 0;) {
            Swap& step = (*stack)[i].swap;
            const std::size_t stepEnd = step.begin + step.length;
            if (editEnd <= step.begin) {
                step.begin = step.begin - (editEnd - editBegin) + length;
            } else if (editBegin >= stepEnd) {
                editBegin = editBegin - step.length + step.text.size();
                editEnd = editEnd - step.length + step.text.size();
            } else if (step.begin <= editBegin && editEnd <= stepEnd) {
                step.length = step.length - (editEnd - editBegin) + length;
                break; // undoing the step takes the edit away too
            } else {
                stack->erase(stack->begin(), stack->begin() + std::ptrdiff_t(i) + 1);
                break;
            }
        }
    }
}

std::optional<EditHistory::Swap> EditHistory::nextUndo() const
{
    return canUndo() ? std::optional(m_undo.back().swap) : std::nullopt;
}

std::optional<EditHistory::Swap> EditHistory::nextRedo() const
{
    return canRedo() ? std::optional(m_redo.back().swap) : std::nullopt;
}

void EditHistory::undone(std::string taken)
{
    m_state = m_undo.back().before;
    moveStep(m_undo, m_redo, std::move(taken));
}

void EditHistory::redone(std::string taken)
{
    m_state = m_redo.back().after;
    moveStep(m_redo, m_undo, std::move(taken));
}

// The newest step of `from` goes onto `to` as the swap that takes back what it just did.
void EditHistory::moveStep(std::deque<Step>& from, std::deque<Step>& to, std::string taken)
{
    Step step = std::move(from.back());
    from.pop_back();
    step.swap = {step.swap.begin, step.swap.text.size(), std::move(taken)};
    push(to, std::move(step));
}

void EditHistory::push(std::deque<Step>& stack, Step step)
{
    stack.push_back(std::move(step));
    if (stack.size() > MaxSteps)
        stack.pop_front();
}

} // namespace tilemond::host
