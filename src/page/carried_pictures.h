#pragma once

#include "page/page_elements.h"
#include "page/pasted_pictures.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace tilemond::host {

// What a picture file that the page names by a relative path needs when the page is written
// into another folder, so that the copy still shows it.
struct CarriedPicture
{
    const ParsedElement::Attribute* src;
    // Copy the file from here to there (beside the new page, at the same relative place)...
    std::optional<std::pair<QString, QString>> copy;
    // ...or let the src point at the original file from the new page's folder: for a file
    // above the page's own folder ("../"), which a copy would put outside the new page's
    // folder, for a place beside the new page that another file holds, and for a file that is
    // not copied because it may not be (leftBehind).
    std::optional<std::string> newSrc;
    // Why a file inside the page's folder was not copied: only regular picture files that lie
    // in the page's folder tree are, never one that a link leads to from outside it.
    QString leftBehind;
};

// For each src of the page's pictures (pasted ones apart) that names an existing file by a
// relative path, what saving the page from fromPage to toPage needs. Nothing when relative
// addresses start from one folder for both (the page's own, or its local <base href>'s), or
// from a remote base. A file named twice is copied once.
std::vector<CarriedPicture> carriedPictures(const PageElements& page, const PastedPictures& pasted,
                                            const QString& fromPage, const QString& toPage);

// An address of the page that must name its file anew from the page's new folder.
struct RepointedAddress
{
    const ParsedElement* element;
    const ParsedElement::Attribute* attribute;
    std::string newValue;
};

// The page's other relative addresses (style sheets, scripts, links to other pages, frames,
// media, backgrounds) that name an existing file or folder: saved from fromPage to toPage, each
// points back at what it names where it is, so that the copy looks and links as the page did.
std::vector<RepointedAddress> repointedAddresses(const PageElements& page, const QString& fromPage,
                                                 const QString& toPage);

} // namespace tilemond::host
