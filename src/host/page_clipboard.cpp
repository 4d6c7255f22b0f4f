#include "host/page_clipboard.h"

#include "page/picture_location.h"
#include "page/shown_size.h"
#include "platform/clipboard_picture.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextDocumentFragment>

namespace tilemond::host {

namespace {

// The picture element the selection covers exactly, if it covers one.
const ParsedElement* selectedPicture(PageModel& page)
{
    const TrackedSpan& selection = page.selection();
    const ParsedElement* element = page.parsed().startingAt(selection.begin);
    if (element && element->tagName == "IMG" &&
        page.parsed().place(*element).tagEnd == selection.end)
        return element;
    return nullptr;
}

void replaceSelection(PageModel& page, std::string_view markup)
{
    const std::size_t begin = page.selection().begin;
    if (page.source().splice(begin, page.selection().end, markup))
        page.select(begin + markup.size(), begin + markup.size());
}

// An attribute of a page element as written, for writing again between double quotes.
std::string writtenValue(PageModel& page, const ParsedElement& element, std::string_view name)
{
    const ParsedElement::Attribute* attribute = element.attribute(name);
    if (!attribute)
        return {};
    const auto [begin, end] = page.parsed().valueSpan(element, *attribute);
    std::string value;
    for (const char c : page.source().slice(begin, end))
        value += c == '"' ? std::string_view("&quot;") : std::string_view(&c, 1);
    return value;
}

// The markup of a pasted picture; `replaced` is the picture it takes the place of, if any.
std::string pastedPictureMarkup(PageModel& page, const std::string& src, const QSize& size,
                                const ParsedElement* replaced)
{
    // A picture taking another's place says what that one said. Pieces side by side in a line,
    // or alone in a table cell, meet the next row without the gap that the baseline leaves below
    // them. The page's own rules for pictures (a max-width, a border, margins, padding, a display
    // as a block) would squeeze, pad or stack the pieces: what of them can be undone on the piece
    // is.
    std::string markup = "<img src=\"" + src + "\" width=\"" + std::to_string(size.width()) +
                         "\" height=\"" + std::to_string(size.height()) + "\" alt=\"" +
                         (replaced ? writtenValue(page, *replaced, "alt") : std::string()) + "\"";
    if (const std::string title = replaced ? writtenValue(page, *replaced, "title") : "";
        !title.empty())
        markup += " title=\"" + title + "\"";
    markup += " style=\"display:inline;vertical-align:top;max-width:none;border:0;margin:0;"
              "padding:0\"";
    return markup + (page.isXml() ? "/>" : ">");
}

} // namespace

Outcome<QImage> pictureNamed(std::string_view src, const PastedPictures& pictures,
                             const std::optional<QString>& folder, const ShownSize& shown)
{
    if (QImage kept = pictures.find(src); !kept.isNull())
        return kept;
    const Outcome<PictureSource> source = pictureSource(src, folder);
    if (!source)
        return Unexpected(source.error());
    if (source->file && !QFileInfo::exists(*source->file))
        return Unexpected(QStringLiteral("cannot be read: no such file (%1)")
                              .arg(QDir::toNativeSeparators(*source->file)));
    LoadedPicture loaded =
        source->data ? loadPictureData(*source->data, QStringLiteral("its data: address"), shown)
                     : loadPictureFile(*source->file, shown);
    if (!loaded || loaded->isNull())
        return Unexpected(QStringLiteral("is not a picture we can read: %1")
                              .arg(loaded ? QString() : loaded.error()));
    return loaded;
}

Outcome<void> copySelection(PageModel& page, const PastedPictures& pictures,
                            const QString& pagePath, const std::optional<QSize>& laidOut)
{
    if (const ParsedElement* image = selectedPicture(page)) {
        const auto* src = image->attribute("src");
        const ShownSize shown =
            laidOut ? ShownSize([size = *laidOut](QSize) { return size; }) : shownSize(*image);
        const Outcome<QImage> picture =
            pictureNamed(src ? std::string_view(src->value) : std::string_view(), pictures,
                         pictureFolder(page.parsed(), pagePath), shown);
        if (!picture) {
            SystemClipboard::clear();
            return Unexpected(picture.error());
        }
        SystemClipboard::setPicture(*picture);
        return {};
    }
    const TrackedSpan& selection = page.selection();
    if (selection.begin == selection.end)
        return {};
    const std::string_view markup = page.source().slice(selection.begin, selection.end);
    QGuiApplication::clipboard()->setText(
        QTextDocumentFragment::fromHtml(QString::fromUtf8(markup.data(), markup.size()))
            .toPlainText());
    return {};
}

void pasteClipboard(PageModel& page, PastedPictures& pictures, const QString& pagePath)
{
    if (const QImage picture = SystemClipboard::picture(); !picture.isNull()) {
        const std::string src =
            pictures.add(picture, pagePath, srcFolder(page.parsed(), pagePath),
                         [&] { return filesNamedByPage(page.parsed(), pictures, pagePath); });
        replaceSelection(page,
                         pastedPictureMarkup(page, src, picture.size(), selectedPicture(page)));
        return;
    }
    if (const QString text = SystemClipboard::text(); !text.isEmpty())
        replaceSelection(page, text.toHtmlEscaped().toStdString());
}

} // namespace tilemond::host
