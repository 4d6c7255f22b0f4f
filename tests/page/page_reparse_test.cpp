#include "page/page_document.h"
#include "page/page_element.h"
#include "page/page_source.h"

#include <gtest/gtest.h>

#include <random>

namespace tilemond::host {
namespace {

const std::string Placeholder = "<IMG ID='QZInsertPic' NAME='QZInsertPic'>";

// Containers in the places a page puts them: plain, in a list item, a link, a form, a
// button, a paragraph's span, a table cell, next to raw text.
const std::string MidPage =
    "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n"
    "<p class=a>Para <b>bold</b> <a href='x.html'>link</a></p>\n"
    "<DIV ID='Tilemond1' NAME='Tilemond1'></DIV>\n"
    "<ul><li>item<div id=inli>in li</div></li></ul>\n"
    "<a href=y><div id=ina>in a</div></a>\n"
    "<form><div id=inform>f</div></form><button><div id=inbutton>b</div></button>\n"
    "<p>text <span id=span>s</span> more<p>open para\n"
    "<table><tr><td id=cell>c</td><th>h</th></tr></table>\n"
    "<b><div id=inb>bold div</div></b><textarea>t<div></textarea>\n"
    "<script>var s = '<div>';</script><div id=last>end</div>\n</body></html>\n";

const std::vector<std::string> Markup = {Placeholder,
                                         "<BR>",
                                         "",
                                         "x &amp; y",
                                         "<p>para</p>",
                                         "<p>open",
                                         "<b>b</b><i>i</i>",
                                         "<table><tr><td>t</td></tr></table>",
                                         "</div>",
                                         "<div>",
                                         "<li>li",
                                         "<a href=z>a</a>",
                                         "<span id=s2>",
                                         "<!-- note -->",
                                         "<!-- open",
                                         "<script>1</script>",
                                         "<td>",
                                         "<form>",
                                         "<h1>h</h1>",
                                         "<img src=p.png>",
                                         "<div id=inner><span>s</span></div>",
                                         "</p>",
                                         "<button>",
                                         "<select><option>o</select>",
                                         "<img src=\"",
                                         "<svg><rect/></svg>"};

// The kept elements, read as the host reads them, against a parse of the page from scratch.
void expectSameElements(const PageElements& kept, const ParsedPage& fresh)
{
    ASSERT_EQ(kept.count(), fresh.elements.size());
    for (std::size_t i = 0; i < fresh.elements.size(); ++i) {
        const ParsedElement& k = kept.at(std::nullopt, i);
        const ParsedElement& e = fresh.elements[i];
        const Placement at = kept.place(k);
        ASSERT_EQ(std::tie(k.tagName, at.start, at.tagEnd, at.contentEnd, at.end, k.hasContent),
                  std::tie(e.tagName, e.start, e.tagEnd, e.contentEnd, e.end, e.hasContent))
            << "element " << i;
        ASSERT_EQ(kept.startingAt(e.start), &k);
        ASSERT_EQ(k.attributes.size(), e.attributes.size());
        for (std::size_t j = 0; j < e.attributes.size(); ++j) {
            const auto& a = k.attributes[j];
            const auto& b = e.attributes[j];
            ASSERT_EQ(std::tie(a.name, a.value), std::tie(b.name, b.value));
            ASSERT_EQ(kept.valueSpan(k, a), std::pair(b.valueBegin, b.valueEnd));
        }
    }
    for (const auto& [tag, indexes] : fresh.byTag) {
        ASSERT_EQ(kept.count(tag), indexes.size()) << tag;
        for (std::size_t i = 0; i < indexes.size(); ++i)
            ASSERT_EQ(&kept.at(tag, i), &kept.at(std::nullopt, indexes[i])) << tag << i;
    }
    for (const auto& [name, indexes] : fresh.byIdOrName) {
        const auto named = kept.named(name);
        ASSERT_EQ(named.size(), indexes.size()) << name;
        for (std::size_t i = 0; i < indexes.size(); ++i)
            ASSERT_EQ(named[i], &kept.at(std::nullopt, indexes[i])) << name << i;
    }
    EXPECT_EQ(kept.body(), fresh.body ? &kept.at(std::nullopt, *fresh.body) : nullptr);
}

// A body or html tag after the first lends its attributes to the page's own element, wherever it
// stands: edits that bring one in or take one out keep the lookups right (an edit before it: the
// fuzz regression's later-body-attribute-offsets input and LookupsAfterEditsMatchAFreshParse).
TEST(PageReparseTest, AttributesOfALaterBodyTagFollowTheEdits)
{
    const std::string page = "<HTML><BODY><TABLE><TR><TD><IMG></TD><TD>c</TD></TR></TABLE>"
                             "<BODY class=late><HTML lang=en><p>end</p>";
    const auto expectFreshAfter = [&](std::size_t begin, std::size_t end, const std::string& text,
                                      const std::string& start) {
        PageModel model(start);
        model.parsed();
        ASSERT_TRUE(model.source().splice(begin, end, text));
        SCOPED_TRACE(model.source().bytes());
        expectSameElements(model.parsed(), parsePage(model.source().bytes()));
    };
    const std::size_t inCell = page.find("<IMG>");
    expectFreshAfter(inCell, inCell, "<body id=b><html dir=rtl>", page);
    const std::string withTag = "<body><table><tr><td><BODY id=x>a</td></tr></table>";
    const std::size_t tag = withTag.find("<BODY");
    expectFreshAfter(tag, tag + 11, "", withTag);
}

// Random mixes of the host's operations the split uses: after each, the lookups see exactly
// what a fresh parse of the page sees, and an id given twice finds the newest element.
TEST(PageReparseTest, LookupsAfterEditsMatchAFreshParse)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t count) { return random() % count; };
        const auto model = std::make_shared<PageModel>(MidPage);
        PageDocument document(model);
        const std::vector<std::string> ids = {"Tilemond1", "inli", "ina", "inform", "inbutton",
                                              "span",      "cell", "inb", "last",   "inner"};
        for (int step = 0; step < 30; ++step) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            const auto element = document.all()->item(ids[pick(ids.size())]);
            if (!element)
                continue;
            const std::string& markup = Markup[pick(Markup.size())];
            switch (pick(4)) {
            case 0: {
                const std::size_t at = dynamic_cast<PageElement&>(*element).textSpan()->second;
                if (!element->insertAdjacentHTML("BeforeEnd", Placeholder))
                    break; // the id went to an element without content
                const auto found = document.all()->tags("IMG")->item("QZInsertPic");
                const ParsedElement* inserted = model->parsed().startingAt(at);
                if (inserted && inserted->tagName == "IMG") {
                    ASSERT_TRUE(found);
                    EXPECT_EQ(dynamic_cast<PageElement&>(*found).textSpan()->first, at);
                }
                break;
            }
            case 1:
                element->setInnerHTML(markup);
                break;
            case 2:
                element->insertAdjacentHTML(pick(2) ? "AfterBegin" : "BeforeEnd", markup);
                break;
            default: {
                const auto images = document.all()->tags("IMG");
                const auto image =
                    images->length() ? images->item(int(pick(images->length()))) : element;
                const auto range = document.selection()->createRange();
                ASSERT_TRUE(range->moveToElementText(*image));
                range->pasteHTML(markup);
            }
            }
            expectSameElements(model->parsed(), parsePage(model->source().bytes()));
        }
    }
}

// Edits here and there, read back across them, at them and after them, and undone.
TEST(PageSourceTest, ReadsWhatTheEditsLeft)
{
    std::mt19937 random(7);
    std::string expected = MidPage;
    PageSource source(expected);
    for (int step = 0; step < 200; ++step) {
        const std::size_t begin = random() % (expected.size() + 1);
        const std::size_t end = begin + random() % (expected.size() - begin + 1) % 16;
        const std::string& text = Markup[random() % Markup.size()];
        ASSERT_TRUE(source.splice(begin, end, text));
        expected.replace(begin, end - begin, text);
        const std::size_t from = random() % (expected.size() + 1);
        for (const std::size_t at : {from, begin, begin + text.size()})
            ASSERT_EQ(source.slice(at, expected.size()), expected.substr(at)) << step;
        ASSERT_EQ(source.slice(0, from), expected.substr(0, from)) << step;
    }
    EXPECT_EQ(source.bytes(), expected);
    while (source.undo()) {
    }
    EXPECT_EQ(source.bytes(), MidPage);
}

} // namespace
} // namespace tilemond::host
