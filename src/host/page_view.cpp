#include "host/page_view.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace tilemond::host {
namespace {

const QString PictureScheme = QStringLiteral("page-picture");
constexpr int FrameWidth = 3;

QUrl pictureName(std::size_t index)
{
    return QUrl(QStringLiteral("%1:%2").arg(PictureScheme).arg(index));
}

// Where an unreadable picture stands: grey with a cross.
QImage missingPicture()
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(220, 220, 220));
    QPainter painter(&image);
    painter.setPen(QColor(150, 150, 150));
    painter.drawRect(0, 0, 31, 31);
    painter.drawLine(0, 0, 31, 31);
    painter.drawLine(0, 31, 31, 0);
    return image;
}

// A block of no line height (line-height:0) gets lines as high as the pictures in them, as a
// browser shows it: a row of pieces thinner than a line of text stands without a gap below it.
// The rich text would otherwise lay all its lines on top of each other, or keep each line at
// least as high as the text's font.
void collapseLineHeights(QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (!format.hasProperty(QTextFormat::LineHeight) || format.lineHeight() != 0)
            continue;
        format.setLineHeight(0, QTextBlockFormat::MinimumHeight);
        QTextCursor cursor(block);
        cursor.setBlockFormat(format);
        QTextCharFormat noRoomForText;
        noRoomForText.setFontPointSize(0.1);
        cursor.mergeBlockCharFormat(noRoomForText);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(noRoomForText);
    }
}

} // namespace

PageView::PageView(PageHost& host, QWidget* parent) : QTextBrowser(parent), m_host(host)
{
    setOpenLinks(false);
    setReadOnly(true);
    // The page's selection is a picture, not text: the view leaves Ctrl+C and the other keys to
    // the host's menus.
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void PageView::refresh()
{
    const int scrolled = verticalScrollBar()->value();
    auto* document = new QTextDocument(this);
    document->setHtml(QString::fromUtf8(m_host.source().data(), qsizetype(m_host.source().size())));
    collapseLineHeights(*document);
    namePictures(*document);
    setDocument(document); // deletes the document it replaces, its own child
    verticalScrollBar()->setValue(scrolled);
}

void PageView::namePictures(QTextDocument& document)
{
    std::vector<std::pair<int, QTextImageFormat>> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto part = block.begin(); !part.atEnd(); ++part) {
            const QTextFragment fragment = part.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            // Neighbouring pictures of one format share a fragment, one character each.
            for (int i = 0; i < fragment.length(); ++i)
                pictures.emplace_back(fragment.position() + i,
                                      fragment.charFormat().toImageFormat());
        }
    m_sources.clear();
    m_positions.clear();
    for (auto& [position, format] : pictures) {
        m_sources.push_back(format.name());
        m_positions.push_back(position);
        format.setName(pictureName(m_sources.size() - 1).toString());
        QTextCursor cursor(&document);
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

QVariant PageView::loadResource(int type, const QUrl& name)
{
    if (type != QTextDocument::ImageResource || name.scheme() != PictureScheme)
        return QTextBrowser::loadResource(type, name);
    const std::size_t index = name.path().toULongLong();
    if (index >= m_sources.size())
        return missingPicture();
    QImage picture = m_host.picture(m_sources[index].toStdString());
    if (picture.isNull())
        picture = missingPicture();
    return int(index) == selectedPicture() ? framed(picture) : picture;
}

QImage PageView::framed(QImage picture) const
{
    picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    const int width = std::min({FrameWidth, picture.width() / 2, picture.height() / 2});
    QPen pen(palette().color(QPalette::Highlight), width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(
        QRectF(picture.rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    return picture;
}

void PageView::mousePressEvent(QMouseEvent* event)
{
    const QPointF at =
        event->position() + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QUrl name(document()->documentLayout()->imageAt(at));
    selectPicture(name.scheme() == PictureScheme ? name.path().toInt() : -1);
    QTextBrowser::mousePressEvent(event);
}

bool PageView::focusNextPrevChild(bool next)
{
    const int count = int(m_positions.size());
    if (count == 0)
        return QTextBrowser::focusNextPrevChild(next);
    const int current = selectedPicture();
    const int chosen =
        current < 0 ? (next ? 0 : count - 1) : (current + (next ? 1 : count - 1)) % count;
    selectPicture(chosen);
    if (chosen < int(m_positions.size())) {
        QTextCursor at(document());
        at.setPosition(m_positions[std::size_t(chosen)]);
        setTextCursor(at);
        ensureCursorVisible();
    }
    return true;
}

void PageView::selectPicture(int index)
{
    const auto document = m_host.activeDocument();
    if (!document)
        return;
    const auto images = document->images();
    const auto picture = images && index >= 0 ? images->item(index) : nullptr;
    const auto selection = document->selection();
    TextRangePtr range;
    if (picture) {
        range = selection ? selection->createRange() : nullptr;
        if (range && !range->moveToElementText(*picture))
            range.reset();
    } else if (const auto body = document->body()) {
        // Nothing selected: the caret goes to the end of the page.
        range = body->createTextRange();
        if (range && !range->setEndPoint("StartToEnd", *range))
            range.reset();
    }
    if (!range || !range->select())
        return;
    refresh();
    emit selectionChanged();
}

} // namespace tilemond::host
