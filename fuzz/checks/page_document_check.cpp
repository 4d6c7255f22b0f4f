#include "fuzz_checks.h"
#include "page/page_document.h"
#include "page/page_element.h"
#include "page/page_model.h"

#include "byte_reader.h"

#include <string>

namespace tilemond::fuzz {
namespace {

using namespace tilemond::host;

constexpr int kMaxOperations = 12;
const char* const kPositions[] = {"BeforeBegin", "afterbegin", "BEFOREEND", "AfterEnd", "inside"};
const char* const kEndPoints[] = {"StartToStart", "StartToEnd", "EndToStart", "EndToEnd", "x"};

bool sameElement(const PageElements& kept, const ParsedElement& a, const ParsedElement& b)
{
    const Placement at = kept.place(a);
    if (a.tagName != b.tagName || at.start != b.start || at.tagEnd != b.tagEnd ||
        at.contentEnd != b.contentEnd || at.end != b.end || a.hasContent != b.hasContent ||
        a.attributes.size() != b.attributes.size() || kept.startingAt(b.start) != &a)
        return false;
    for (std::size_t i = 0; i < a.attributes.size(); ++i) {
        const auto& x = a.attributes[i];
        const auto& y = b.attributes[i];
        if (x.name != y.name || x.value != y.value ||
            kept.valueSpan(a, x) != std::pair(y.valueBegin, y.valueEnd))
            return false;
    }
    return true;
}

// The page's kept elements (brought up to date edit by edit) against a parse from scratch, and
// the collections against both.
void checkLookups(PageModel& model, Document& document)
{
    const ParsedPage fresh = parsePage(model.source().bytes());
    const PageElements& kept = model.parsed();
    require(kept.count() == fresh.elements.size(), "as many elements as a fresh parse");
    for (std::size_t i = 0; i < fresh.elements.size(); ++i)
        require(sameElement(kept, kept.at(std::nullopt, i), fresh.elements[i]),
                "elements as a fresh parse");
    for (const auto& [tag, indexes] : fresh.byTag) {
        require(kept.count(tag) == indexes.size(), "tag indexes as a fresh parse");
        for (std::size_t i = 0; i < indexes.size(); ++i)
            require(&kept.at(tag, i) == &kept.at(std::nullopt, indexes[i]),
                    "tag indexes as a fresh parse");
    }
    require(kept.body() == (fresh.body ? &kept.at(std::nullopt, *fresh.body) : nullptr),
            "the body as a fresh parse");

    const auto images = document.images();
    const auto imageIndexes = fresh.byTag.find("IMG");
    const std::size_t imageCount =
        imageIndexes == fresh.byTag.end() ? 0 : imageIndexes->second.size();
    require(images->length() == static_cast<int>(imageCount), "images as a fresh parse");
    for (std::size_t i = 0; i < imageCount; ++i) {
        const ParsedElement& parsed = fresh.elements[imageIndexes->second[i]];
        const auto* src = parsed.attribute("src");
        const auto element = images->item(static_cast<int>(i));
        require(element && element->tagName() == "IMG", "each image found by its index");
        const auto written = element->getAttribute("src");
        require(written.has_value() == (src != nullptr), "an image's src as a fresh parse");
        if (src)
            require(*written == model.source().slice(src->valueBegin, src->valueEnd),
                    "an image's src as written in the page");
    }
    require(document.all()->length() == static_cast<int>(fresh.elements.size()),
            "all elements as a fresh parse");
}

ElementPtr pickElement(ByteReader& input, Document& document)
{
    const auto all = document.all();
    const int index = static_cast<int>(input.choose(-1, all->length()));
    return index < 0 ? document.body() : all->item(index);
}

// One of the host's operations, as the add-in calls them.
void operate(ByteReader& input, Document& document, const std::string& markup)
{
    const ElementPtr element = pickElement(input, document);
    switch (input.choose(0, 5)) {
    case 0:
        if (element)
            element->insertAdjacentHTML(input.pick(kPositions), markup);
        break;
    case 1:
        if (element)
            element->setInnerHTML(markup);
        break;
    case 2: {
        const auto range = document.selection()->createRange();
        if (element)
            range->moveToElementText(*element);
        range->pasteHTML(markup);
        break;
    }
    case 3: {
        const auto range = document.selection()->createRange();
        const auto other = document.selection()->createRange();
        const ElementPtr second = pickElement(input, document);
        if (element)
            range->moveToElementText(*element);
        if (second)
            other->moveToElementText(*second);
        range->setEndPoint(input.pick(kEndPoints), *other);
        range->select();
        document.selection()->createRange()->pasteHTML(markup);
        break;
    }
    case 4:
        if (const auto body = document.body(); body)
            if (const auto range = body->createTextRange())
                range->pasteHTML(markup);
        break;
    default:
        if (const auto named = document.all()->item(markup))
            require(named->getAttribute("id") == markup || named->getAttribute("name") == markup ||
                        named->isAlive(),
                    "an element found by id or name is alive");
        break;
    }
}

} // namespace

void checkPageDocument(const std::uint8_t* data, std::size_t size)
{
    ByteReader input(data, size);
    auto model = std::make_shared<PageModel>(input.text(size));
    PageDocument document(model);
    checkLookups(*model, document);
    for (int step = 0; step < kMaxOperations && input.remaining() > 0; ++step) {
        const std::string markup = input.text(48);
        const std::string before = model->source().bytes();
        const int editsBefore = model->source().edits();
        operate(input, document, markup);
        const std::string& after = model->source().bytes();
        if (model->source().edits() == editsBefore) {
            require(after == before, "a page without an edit keeps its bytes");
        } else {
            const Splice& edit = model->source().lastEdit();
            require(model->source().edits() == editsBefore + 1, "one operation, one edit");
            require(edit.begin <= edit.end && edit.end <= before.size(),
                    "the edit lies in the page");
            require(after.compare(0, edit.begin, before, 0, edit.begin) == 0,
                    "the bytes before the edit are kept");
            require(after.compare(edit.after(), std::string::npos, before, edit.end) == 0,
                    "the bytes after the edit are kept");
            require(after.compare(edit.begin, edit.length, markup) == 0,
                    "the edit puts in the markup as given");
        }
        checkLookups(*model, document);
    }
}

} // namespace tilemond::fuzz
