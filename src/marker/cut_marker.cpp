#include "marker/cut_marker.h"

#include "platform/rounding.h"
#include "platform/screen_metrics.h"

#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

namespace tilemond {
namespace {

// The read-out label: 360 x 255 twips, pale yellow, centred text.
constexpr QSizeF ReadoutSize(360, 255);
const QColor ReadoutBackground(255, 255, 192);
// The handle: a disc of 255 twips centred on the control's top-left corner.
constexpr QRectF HandleTwips(-120, -120, 255, 255);
constexpr int LineWidthPixels = 2;

QPointF toPixels(QPointF twips)
{
    return {twips.x() / Screen::twipsPerPixelX(), twips.y() / Screen::twipsPerPixelY()};
}

QRect toPixels(QRectF twips)
{
    const QPointF topLeft = toPixels(twips.topLeft());
    const QPointF size = toPixels(QPointF(twips.width(), twips.height()));
    return {roundToEven(topLeft.x()), roundToEven(topLeft.y()), roundToEven(size.x()),
            roundToEven(size.y())};
}

int buttonValue(Qt::MouseButtons buttons)
{
    return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) |
           (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

int shiftValue(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

bool isMouseEvent(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return true;
    default:
        return false;
    }
}

} // namespace

CutMarker::CutMarker(const CutMarkerDesign& design, QWidget* parent)
    : QWidget(parent), m_design(design), m_label1(new QLabel(this)), m_lineEnd(design.lineEnd),
      m_width(float(design.size.width())), m_height(float(design.size.height()))
{
    setMouseTracking(true);
    m_label1->setGeometry(toPixels(QRectF(design.readoutAt, ReadoutSize)));
    m_label1->setAlignment(Qt::AlignCenter);
    m_label1->setAutoFillBackground(true);
    QPalette palette = m_label1->palette();
    palette.setColor(QPalette::Window, ReadoutBackground);
    m_label1->setPalette(palette);
    m_label1->hide();
    // Presses on the read-out are swallowed instead of reaching the control.
    m_label1->installEventFilter(this);
    place();
}

void CutMarker::setLeft(float twips)
{
    m_left = twips;
    place();
}

void CutMarker::setTop(float twips)
{
    m_top = twips;
    place();
}

void CutMarker::setWidth(float twips)
{
    m_width = twips;
    place();
}

void CutMarker::setHeight(float twips)
{
    m_height = twips;
    place();
}

void CutMarker::SetColor(const QColor& AColor)
{
    m_color = AColor;
    update();
}

void CutMarker::SetLine(int Leng)
{
    if (m_design.orientation == Qt::Vertical)
        m_lineEnd.setY(Leng);
    else
        m_lineEnd.setX(Leng);
    update();
}

void CutMarker::ShowPos(int Where)
{
    const float perPixel =
        m_design.orientation == Qt::Vertical ? Screen::twipsPerPixelY() : Screen::twipsPerPixelX();
    QLocale locale; // the system's, unless the program chose another
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    m_label1->show();
    m_label1->setText(locale.toString(double(Where) / perPixel, 'g', 15));
}

void CutMarker::HidePos()
{
    m_label1->hide();
}

void CutMarker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(m_color);
    painter.setBrush(m_color);
    painter.drawEllipse(toPixels(HandleTwips));

    // The line lies just inside the control's edge, its full width visible.
    const QPointF inward = m_design.orientation == Qt::Vertical ? QPointF(LineWidthPixels / 2.0, 0)
                                                                : QPointF(0, LineWidthPixels / 2.0);
    painter.setPen(QPen(m_color, LineWidthPixels, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(toPixels(m_design.lineStart) + inward, toPixels(m_lineEnd) + inward);
}

void CutMarker::mousePressEvent(QMouseEvent* event)
{
    raiseMouse(&CutMarker::MouseDown, buttonValue(event->button()), event);
}

void CutMarker::mouseMoveEvent(QMouseEvent* event)
{
    raiseMouse(&CutMarker::MouseMove, buttonValue(event->buttons()), event);
}

void CutMarker::mouseReleaseEvent(QMouseEvent* event)
{
    raiseMouse(&CutMarker::MouseUp, buttonValue(event->button()), event);
}

bool CutMarker::eventFilter(QObject* watched, QEvent* event)
{
    return watched == m_label1 && isMouseEvent(event);
}

void CutMarker::place()
{
    setGeometry(toPixels(QRectF(m_left, m_top, m_width, m_height)));
}

void CutMarker::raiseMouse(void (CutMarker::*signal)(int, int, float, float), int button,
                           QMouseEvent* event)
{
    event->accept();
    const QPointF at = event->position();
    emit(this->*signal)(button, shiftValue(event->modifiers()),
                        float(at.x() * Screen::twipsPerPixelX()),
                        float(at.y() * Screen::twipsPerPixelY()));
}

} // namespace tilemond
