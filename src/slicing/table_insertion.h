#pragma once

#include "host_api/page_document.h"
#include "slicing/container_markup.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tilemond {

// The page side of a split: a container at the page's selection, one piece after the other
// pasted into it by the host's own Edit > Paste, and at the end either a borderless table of
// the pieces (table mode) or the pieces in lines, written back into the container.
//
// Every step goes through HostApp and skips itself when the host cannot carry it out; the
// table option is read afresh at each decision point, so a change during a split takes effect
// from the next one on.
class TableInsertion
{
public:
    // tableOption gives the value of the table check box: 0 unchecked, 1 checked, 2 grayed.
    // picture: the page's picture that the pieces replace; null for a picture from a file.
    // pictureWidth: the width it was cut at.
    TableInsertion(std::function<int()> tableOption, host::ElementPtr picture, int pictureWidth);

    // Pastes the empty container over the page's selection and keeps it. Everything up to
    // CloseContainer is one step for the host's undo.
    void OpenContainer();
    void BeginRow();
    // Pastes the clipboard's piece, this wide, into the container through a placeholder; in
    // table mode its markup becomes the next cell.
    void PlaceCell(int width);
    // A cell without pixels, of a column this wide: its place in the table, but nothing in the
    // page (a paste would leave the placeholder or a one-pixel picture).
    void PlaceEmptyCell(int width);
    // Table mode closes the row; line mode breaks the line after a row that placed a piece.
    void EndRow();
    // Table mode: the table becomes the container's content; line mode: the container's
    // content is written back without its "<p>" tags.
    void CloseContainer();

    // The table markup gathered so far (TableHtml).
    const std::string& tableHtml() const { return m_tableHtml; }

private:
    bool tableMode() const { return m_tableOption() == 1; }
    // Pastes markup over the element's content through a fresh range made the page's
    // selection; nothing when no range can cover the element, so that nothing else is lost.
    void pasteOver(const host::Element* element, std::string_view markup);

    std::function<int()> m_tableOption;
    host::ElementPtr m_picture;
    int m_pictureWidth;
    std::vector<int> m_pieceWidths;          // of the pieces in lines, in order
    std::optional<ContainerMarkup> m_markup; // made when the container opens
    host::DocumentPtr m_undoUnit;            // the page whose undo unit is open
    host::ElementPtr m_container;
    bool m_rowPlaced = false; // a piece was pasted since BeginRow
    bool m_placed = false;    // a piece was pasted
    std::string m_tableHtml;
};

} // namespace tilemond
