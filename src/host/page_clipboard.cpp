#include "host/page_clipboard.h"

#include "host/picture_location.h"
#include "platform/clipboard_picture.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextDocumentFragment>

namespace tilemond::host {

namespace {

// The picture element the selection covers exactly, if it covers one.
const ParsedElement* selectedPicture(PageModel& page)
{
    const TrackedSpan& selection = page.selection();
    const ParsedElement* element = page.parsed().elementStartingAt(selection.begin);
    if (element && element->tagName == "IMG" && element->tagEnd == selection.end)
        return element;
    return nullptr;
}

QImage pictureOf(const ParsedElement& image, const PastedPictures& pictures,
                 const QString& pagePath, const PictureLoader& loadPicture)
{
    const auto* src = image.attribute("src");
    return src ? pictureNamed(src->value, pictures, pagePath, loadPicture) : QImage();
}

void replaceSelection(PageModel& page, std::string_view markup)
{
    const std::size_t begin = page.selection().begin;
    if (page.source().splice(begin, page.selection().end, markup))
        page.select(begin + markup.size(), begin + markup.size());
}

} // namespace

QImage pictureNamed(std::string_view src, const PastedPictures& pictures, const QString& pagePath,
                    const PictureLoader& loadPicture)
{
    if (QImage kept = pictures.find(src); !kept.isNull())
        return kept;
    const auto file = localPictureFile(src, QFileInfo(pagePath).absolutePath());
    return file && loadPicture ? loadPicture(*file) : QImage();
}

std::string pastedPictureMarkup(const std::string& src, const QSize& size)
{
    // Top-aligned, not on the text baseline: pieces side by side in a line, or alone in a table
    // cell, then meet the next row without the gap that the baseline leaves below them.
    return "<img src=\"" + src + "\" width=\"" + std::to_string(size.width()) + "\" height=\"" +
           std::to_string(size.height()) + "\" style=\"vertical-align:top\">";
}

void copySelection(PageModel& page, const PastedPictures& pictures, const QString& pagePath,
                   const PictureLoader& loadPicture)
{
    if (const ParsedElement* image = selectedPicture(page)) {
        const QImage picture = pictureOf(*image, pictures, pagePath, loadPicture);
        if (picture.isNull())
            SystemClipboard::clear();
        else
            SystemClipboard::setPicture(picture);
        return;
    }
    const TrackedSpan& selection = page.selection();
    if (selection.begin == selection.end)
        return;
    const std::string_view markup = page.source().slice(selection.begin, selection.end);
    QGuiApplication::clipboard()->setText(
        QTextDocumentFragment::fromHtml(QString::fromUtf8(markup.data(), markup.size()))
            .toPlainText());
}

void pasteClipboard(PageModel& page, PastedPictures& pictures, const QString& pagePath)
{
    if (const QImage picture = SystemClipboard::picture(); !picture.isNull()) {
        const std::string src = pictures.add(
            picture, pagePath, [&] { return filesNamedByPage(page.parsed(), pictures, pagePath); });
        replaceSelection(page, pastedPictureMarkup(src, picture.size()));
        return;
    }
    if (const QString text = SystemClipboard::text(); !text.isEmpty())
        replaceSelection(page, text.toHtmlEscaped().toStdString());
}

} // namespace tilemond::host
