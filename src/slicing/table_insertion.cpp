#include "slicing/table_insertion.h"

#include "editor/editor_state.h"
#include "platform/yield.h"
#include "slicing/replace_text.h"

namespace tilemond {
namespace {

host::DocumentPtr activeDocument()
{
    return HostApp ? HostApp->activeDocument() : nullptr;
}

// A fresh range over the page's current selection.
host::TextRangePtr selectionRange()
{
    const host::DocumentPtr document = activeDocument();
    const auto selection = document ? document->selection() : nullptr;
    return selection ? selection->createRange() : nullptr;
}

// The page's element of this tag and id; the newest one when the page holds several (a page
// split before still holds the earlier container).
host::ElementPtr findElement(std::string_view tag, std::string_view id)
{
    const host::DocumentPtr document = activeDocument();
    const host::ElementCollectionPtr all = document ? document->all() : nullptr;
    const host::ElementCollectionPtr tagged = all ? all->tags(tag) : nullptr;
    return tagged ? tagged->item(id) : nullptr;
}

// The host's Edit > Paste over its current selection.
void executePaste()
{
    const host::CommandBarsPtr bars = HostApp ? HostApp->commandBars() : nullptr;
    const host::CommandBarPtr edit = bars ? bars->item("Edit") : nullptr;
    const host::CommandBarControlsPtr controls = edit ? edit->controls() : nullptr;
    if (const host::CommandBarControlPtr paste = controls ? controls->item("Paste") : nullptr)
        paste->Execute();
}

} // namespace

TableInsertion::TableInsertion(std::function<int()> tableOption, host::ElementPtr picture,
                               int pictureWidth)
    : m_tableOption(std::move(tableOption)), m_picture(std::move(picture)),
      m_pictureWidth(pictureWidth)
{
}

void TableInsertion::OpenContainer()
{
    m_undoUnit = activeDocument();
    if (m_undoUnit)
        m_undoUnit->openUndoUnit();
    // Read from the picture before the container takes its place.
    m_markup.emplace(m_picture.get(), m_undoUnit.get(), m_pictureWidth);
    m_picture.reset();
    if (const host::TextRangePtr range = selectionRange())
        range->pasteHTML(m_markup->container());
    m_container = findElement(m_markup->containerTag(), "Tilemond1");
    yieldEvents(2);
    if (tableMode())
        m_tableHtml += m_markup->tableStart();
}

void TableInsertion::BeginRow()
{
    m_rowPlaced = false;
    if (tableMode())
        m_tableHtml += m_markup->rowStart();
}

void TableInsertion::PlaceCell(int width)
{
    if (m_container)
        m_container->insertAdjacentHTML("BeforeEnd", m_markup->placeholder(!m_placed));
    yieldEvents(5);
    if (tableMode())
        m_tableHtml += m_markup->cellStart(width);
    yieldEvents(6);
    host::ElementPtr placeholder = findElement("IMG", "QZInsertPic");
    yieldEvents(4);
    const host::TextRangePtr range = selectionRange();
    yieldEvents(4);
    if (range && placeholder)
        range->moveToElementText(*placeholder);
    yieldEvents(4);
    if (range)
        range->select();
    yieldEvents(3);
    executePaste();
    yieldEvents(4);
    m_rowPlaced = m_placed = true;
    if (tableMode()) {
        std::string cell;
        yieldEvents(3);
        if (m_container)
            cell = m_container->innerHTML().value_or(std::string());
        yieldEvents(2);
        if (m_container)
            m_container->setInnerHTML("");
        m_tableHtml += m_markup->pieces(cell, {width}, true) + m_markup->cellEnd();
    } else {
        m_pieceWidths.push_back(width);
    }
    placeholder.reset();
    yieldEvents(1);
}

void TableInsertion::PlaceEmptyCell(int width)
{
    if (tableMode())
        m_tableHtml += m_markup->cellStart(width) + m_markup->cellEnd();
}

void TableInsertion::EndRow()
{
    if (tableMode())
        m_tableHtml += m_markup->rowEnd();
    // A row without a piece (zero height) leaves no blank line.
    if (m_tableOption() == 0 && m_container && m_rowPlaced)
        m_container->insertAdjacentHTML("BeforeEnd", m_markup->lineBreak());
}

void TableInsertion::CloseContainer()
{
    if (tableMode())
        m_tableHtml += m_markup->tableEnd();
    if (tableMode()) {
        pasteOver(m_container.get(), m_tableHtml);
    } else {
        const std::string markup =
            m_container ? m_container->innerHTML().value_or(std::string()) : std::string();
        pasteOver(m_container.get(),
                  m_markup->pieces(ReplaceText(markup, "<p>", ""), m_pieceWidths, false));
    }
    m_container.reset();
    if (m_undoUnit)
        m_undoUnit->closeUndoUnit();
    m_undoUnit.reset();
}

void TableInsertion::pasteOver(const host::Element* element, std::string_view markup)
{
    const host::TextRangePtr range = selectionRange();
    if (!range || !element || !range->moveToElementText(*element))
        return;
    range->select();
    range->pasteHTML(markup);
}

} // namespace tilemond
