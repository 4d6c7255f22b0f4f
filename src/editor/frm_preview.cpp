#include "editor/frm_preview.h"

#include "editor/captions.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/marker_keys.h"
#include "editor/window_layout.h"
#include "marker/ch_v_splitter.h"
#include "marker/ct_h_splitter.h"
#include "platform/picture_box.h"
#include "platform/screen_metrics.h"
#include "platform/window_geometry.h"
#include "resources/artwork.h"

#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

#include <algorithm>

namespace tilemond {
namespace {

const QColor Background(224, 224, 224);
constexpr QSizeF ClientTwips(3210, 2085);
constexpr QSize SplashPixels(214, 141);
// A marker dragged within this many pixels of the view's edge, or past it, scrolls the view, by
// as much as the pointer is in or beyond that band per step, up to a step's most.
constexpr int ScrollBand = 16;
constexpr int MostScrollStep = 60;
constexpr int ScrollStepMs = 30;
// Stepped by keys, a marker keeps this far from the view's edge.
constexpr int KeyMargin = 40;
constexpr int LeftButton = 1;

void placeDesignElement(CutMarker& element, QRectF twips)
{
    element.setLeft(float(twips.left()));
    element.setTop(float(twips.top()));
    element.setWidth(float(twips.width()));
    element.setHeight(float(twips.height()));
}

} // namespace

PreviewForm::PreviewForm()
    : QWidget(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_surface(Background), m_view(new QScrollArea(this)), m_canvas(new QWidget),
      Hori1(
          m_canvas, [](QWidget* parent) { return new chVSplitter(parent); },
          [this](CutMarker& marker, int index) {
              connectMarker(MarkerKind::Vertical, marker, index);
          }),
      Vert1(
          m_canvas, [](QWidget* parent) { return new ctHSplitter(parent); },
          [this](CutMarker& marker, int index) {
              connectMarker(MarkerKind::Horizontal, marker, index);
          })
{
    setWindowTitle(TilemondCaption);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    setPalette(colours);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setFocusPolicy(Qt::NoFocus); // the keys stay with the window's shortcuts
    m_view->setWidget(m_canvas);
    m_canvas->installEventFilter(this);
    m_autoScroll.setInterval(ScrollStepMs);
    connect(&m_autoScroll, &QTimer::timeout, this, &PreviewForm::scrollTowardsPointer);
    setFixedSize(Screen::pixels(ClientTwips));
    m_canvas->setFixedSize(size());
    m_pictureSize = size();
    // Shown beside the editor, it leaves the keys with the editor.
    setAttribute(Qt::WA_ShowWithoutActivating);
    winId(); // the native window now, so that the outer size includes the frame from the start
    m_surface.setPicture(artwork("splash", SplashPixels).toImage());
    placeDesignElement(Hori1[0], {1065, 0, 480, 4695});
    placeDesignElement(Vert1[0], {0, 2190, 5415, 270});
    Picture1 = new PictureBox(palette().color(QPalette::Button), this);
    Picture1->setGeometry(0, 0, 0, 0);
    Tmr1 = new QTimer(this);
    addMarkerKeys(*this);
    // The window's own events come before any of its markers': a press on a marker counts.
    windowHandle()->installEventFilter(this);
}

MarkerArray& PreviewForm::markers(MarkerKind kind)
{
    return kind == MarkerKind::Vertical ? Hori1 : Vert1;
}

QImage& PreviewForm::image()
{
    return surface().image();
}

void PreviewForm::Refresh()
{
    m_canvas->repaint();
}

void PreviewForm::resizeEvent(QResizeEvent*)
{
    m_view->setGeometry(rect());
}

void PreviewForm::setContentSize(QSize pixels)
{
    m_canvas->setFixedSize(pixels);
    setClientSize(this, pixels);
}

QSize PreviewForm::clientWithin(QSize most) const
{
    const QSize content = m_canvas->size();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_view);
    bool across = content.width() > most.width(); // a scroll bar along the bottom
    const bool down = content.height() > most.height() - (across ? bar : 0);
    across = across || (down && content.width() > most.width() - bar);
    return QSize(std::min(content.width() + (down ? bar : 0), most.width()),
                 std::min(content.height() + (across ? bar : 0), most.height()))
        .expandedTo(QSize(1, 1));
}

QSizeF PreviewForm::extentTwips() const
{
    const QSize outer = m_canvas->size() + (outerGeometry(this).size() - size());
    return {outer.width() * Screen::twipsPerPixelX(), outer.height() * Screen::twipsPerPixelY()};
}

QRectF PreviewForm::shownTwips() const
{
    const QSizeF outer = outerTwips(this).size();
    return {m_view->horizontalScrollBar()->value() * Screen::twipsPerPixelX(),
            m_view->verticalScrollBar()->value() * Screen::twipsPerPixelY(), outer.width(),
            outer.height()};
}

QScrollBar* PreviewForm::scrollBar(MarkerKind kind) const
{
    return kind == MarkerKind::Vertical ? m_view->horizontalScrollBar()
                                        : m_view->verticalScrollBar();
}

// A double-click on the picture or the background hands the focus to the editor window.
void PreviewForm::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isFrmFiltersLoaded())
        return;
    FiltersForm& editor = frmFilters();
    editor.activateWindow();
    editor.setFocus();
}

void PreviewForm::closeEvent(QCloseEvent* event)
{
    // Without its preview the editor would cut at markers nobody can see.
    if (!isFrmFiltersLoaded())
        return;
    event->ignore();
    frmFilters().Command6->click();
}

void PreviewForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        isFrmFiltersLoaded())
        frmFilters().Command6->click();
    else
        QWidget::keyPressEvent(event);
}

bool PreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_canvas && event->type() == QEvent::Paint) {
        QPainter painter(m_canvas);
        surface().paint(painter);
        return true;
    }
    if (watched == windowHandle() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn) &&
        isFrmFiltersLoaded() && frmFilters().isVisible())
        frmFilters().raise();
    return QWidget::eventFilter(watched, event);
}

void PreviewForm::stepMarker(MarkerKind kind, int pixels)
{
    const int index = m_lastTouched[int(kind)];
    const CutMarker* marker = markers(kind).at(index);
    if (!marker || !marker->isVisibleTo(this))
        return;
    m_drag.step(kind, index, pixels);
    bringIntoView(kind, kind == MarkerKind::Vertical ? marker->x() : marker->y());
}

void PreviewForm::bringIntoView(MarkerKind kind, int pixel)
{
    QScrollBar& bar = *scrollBar(kind);
    const int margin = std::min(KeyMargin, bar.pageStep() / 2);
    if (pixel < bar.value() + margin)
        bar.setValue(pixel - margin);
    else if (pixel > bar.value() + bar.pageStep() - margin)
        bar.setValue(pixel - bar.pageStep() + margin);
}

void PreviewForm::scrollTowardsPointer()
{
    const CutMarker* marker = markers(m_draggedKind).at(m_draggedIndex);
    if (!marker || !m_drag.MarkerDragging()) {
        m_autoScroll.stop();
        return;
    }
    const bool vertical = m_draggedKind == MarkerKind::Vertical;
    const QWidget& shown = *m_view->viewport();
    const QPoint inView = shown.mapFromGlobal(QCursor::pos());
    const int at = vertical ? inView.x() : inView.y();
    const int end = vertical ? shown.width() : shown.height();
    const int by = at < ScrollBand          ? at - ScrollBand
                   : at >= end - ScrollBand ? at - (end - ScrollBand) + 1
                                            : 0;
    QScrollBar& bar = *scrollBar(m_draggedKind);
    const int before = bar.value();
    bar.setValue(before + std::clamp(by, -MostScrollStep, MostScrollStep));
    if (bar.value() == before)
        return;
    // The marker went with the view: back under the pointer.
    const QPoint onMarker = marker->mapFromGlobal(QCursor::pos());
    m_drag.move(m_draggedKind, m_draggedIndex, LeftButton, 0,
                float(onMarker.x() * Screen::twipsPerPixelX()),
                float(onMarker.y() * Screen::twipsPerPixelY()));
}

void PreviewForm::hideEvent(QHideEvent* event)
{
    // The window is no longer visible here, and its children not yet hidden: the update request
    // makes Qt forget every pending repaint of the window in one go.
    QEvent forget(QEvent::UpdateRequest);
    QWidget::event(&forget);
    QWidget::hideEvent(event);
}

void PreviewForm::moveEvent(QMoveEvent*)
{
    const QSize frame = outerGeometry(this).size() - size();
    if (frame == m_frameLaidOut) {
        keepEditorOffPreview();
        return;
    }
    m_frameLaidOut = frame;
    layOutEditorWindows();
}

void PreviewForm::connectMarker(MarkerKind kind, CutMarker& marker, int index)
{
    connect(&marker, &CutMarker::MouseDown, this,
            [this, kind, index](int button, int shift, float x, float y) {
                touchMarker(kind, index);
                m_drag.press(kind, index, button, shift, x, y);
                if (button == LeftButton) {
                    m_draggedKind = kind;
                    m_draggedIndex = index;
                    m_autoScroll.start();
                }
            });
    connect(&marker, &CutMarker::MouseMove, this,
            [this, kind, index](int button, int shift, float x, float y) {
                m_drag.move(kind, index, button, shift, x, y);
            });
    connect(&marker, &CutMarker::MouseUp, this,
            [this, kind, index](int button, int shift, float x, float y) {
                m_drag.release(kind, index, button, shift, x, y);
            });
}

PersistentSurface& PreviewForm::surface() const
{
    m_surface.resize(m_canvas->size());
    return m_surface;
}

float PreviewForm::markerPosition(MarkerKind kind, int index) const
{
    const CutMarker* marker = (kind == MarkerKind::Vertical ? Hori1 : Vert1).at(index);
    if (!marker)
        return 0;
    return kind == MarkerKind::Vertical ? marker->Left() : marker->Top();
}

void PreviewForm::setMarkerPosition(MarkerKind kind, int index, float position)
{
    CutMarker* marker = markers(kind).at(index);
    if (!marker)
        return;
    if (kind == MarkerKind::Vertical)
        marker->setLeft(position);
    else
        marker->setTop(position);
}

float PreviewForm::pictureExtent(MarkerKind kind) const
{
    return kind == MarkerKind::Vertical ? float(m_pictureSize.width()) * Screen::twipsPerPixelX()
                                        : float(m_pictureSize.height()) * Screen::twipsPerPixelY();
}

void PreviewForm::setCaption(const QString& caption)
{
    setWindowTitle(caption);
}

} // namespace tilemond
