#include "page/text_range.h"

#include "page/page_element.h"

#include <QByteArray>

namespace tilemond::host {

namespace {

// "StartToEnd": this range's start and the other's end.
struct EndPoints
{
    bool ownStart;
    bool otherStart;
};

std::optional<EndPoints> endPointsNamed(std::string_view how)
{
    const QByteArray form = QByteArray(how.data(), qsizetype(how.size())).toLower();
    if (form == "starttostart" || form == "starttoend" || form == "endtostart" ||
        form == "endtoend")
        return EndPoints{form.startsWith("start"), form.endsWith("tostart")};
    return std::nullopt;
}

} // namespace

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

const TrackedSpan* PageTextRange::sameSpan(const TextRange& other) const
{
    const auto model = m_model.lock();
    const auto* otherRange = dynamic_cast<const PageTextRange*>(&other);
    if (!model || !m_span || !otherRange || !otherRange->m_span ||
        otherRange->m_model.lock() != model)
        return nullptr;
    return otherRange->m_span.get();
}

bool PageTextRange::setEndPoint(std::string_view how, const TextRange& other)
{
    const TrackedSpan* from = sameSpan(other);
    const auto points = endPointsNamed(how);
    if (!from || !points)
        return false;
    const std::size_t to = points->otherStart ? from->begin : from->end;
    // A start moved past the end drags the end along, and the other way round.
    if (points->ownStart) {
        m_span->begin = to;
        m_span->end = std::max(m_span->end, to);
    } else {
        m_span->end = to;
        m_span->begin = std::min(m_span->begin, to);
    }
    return true;
}

std::optional<int> PageTextRange::compareEndPoints(std::string_view how,
                                                   const TextRange& other) const
{
    const TrackedSpan* theirs = sameSpan(other);
    const auto points = endPointsNamed(how);
    if (!theirs || !points)
        return std::nullopt;
    const std::size_t own = points->ownStart ? m_span->begin : m_span->end;
    const std::size_t their = points->otherStart ? theirs->begin : theirs->end;
    return own < their ? -1 : own > their ? 1 : 0;
}

} // namespace tilemond::host
