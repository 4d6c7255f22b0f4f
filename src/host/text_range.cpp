#include "host/text_range.h"

#include "host/page_element.h"

#include <QByteArray>

namespace tilemond::host {

PageTextRange::PageTextRange(std::weak_ptr<PageModel> model, std::size_t begin, std::size_t end)
    : m_model(std::move(model))
{
    if (const auto page = m_model.lock())
        m_span = page->source().track(TrackedSpan::Kind::Range, begin, end);
}

std::optional<std::string> PageTextRange::htmlText() const
{
    const auto model = m_model.lock();
    if (!model || !m_span)
        return std::nullopt;
    return std::string(model->source().slice(m_span->begin, m_span->end));
}

bool PageTextRange::pasteHTML(std::string_view markup)
{
    const auto model = m_model.lock();
    if (!model || !m_span || !model->source().splice(m_span->begin, m_span->end, markup))
        return false;
    // The splice moved every touched range just after the markup; this one too.
    m_span->begin = m_span->end;
    return true;
}

bool PageTextRange::moveToElementText(const Element& element)
{
    const auto model = m_model.lock();
    const auto* pageElement = dynamic_cast<const PageElement*>(&element);
    if (!m_span || !pageElement || !pageElement->belongsTo(model))
        return false;
    const auto span = pageElement->textSpan();
    if (!span)
        return false;
    m_span->begin = span->first;
    m_span->end = span->second;
    return true;
}

bool PageTextRange::select()
{
    const auto model = m_model.lock();
    if (!model || !m_span)
        return false;
    model->select(m_span->begin, m_span->end);
    return true;
}

bool PageTextRange::setEndPoint(std::string_view how, const TextRange& other)
{
    const auto model = m_model.lock();
    const auto* otherRange = dynamic_cast<const PageTextRange*>(&other);
    if (!model || !m_span || !otherRange || !otherRange->m_span ||
        otherRange->m_model.lock() != model)
        return false;
    const QByteArray form = QByteArray(how.data(), how.size()).toLower();
    const TrackedSpan& from = *otherRange->m_span;
    // A start moved past the end drags the end along, and the other way round.
    if (form == "starttostart" || form == "starttoend") {
        m_span->begin = form == "starttostart" ? from.begin : from.end;
        m_span->end = std::max(m_span->end, m_span->begin);
    } else if (form == "endtostart" || form == "endtoend") {
        m_span->end = form == "endtostart" ? from.begin : from.end;
        m_span->begin = std::min(m_span->begin, m_span->end);
    } else {
        return false;
    }
    return true;
}

} // namespace tilemond::host
