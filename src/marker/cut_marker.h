#pragma once

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

class QLabel;

namespace tilemond {

// What sets the two marker orientations apart; lengths in twips relative to the control.
struct CutMarkerDesign
{
    Qt::Orientation orientation; // of the line
    QSizeF size;                 // of the control
    QPointF lineStart;
    QPointF lineEnd;
    QPointF readoutAt; // top-left corner of the read-out label
};

// A cut marker: a 2-pixel line with a quarter-disc handle at the control's top-left corner and
// a hidden position read-out. It knows nothing of pictures or cuts: it draws, and passes every
// mouse press, move and release to its container, which drags it. The rest of the control is
// see-through, so that the picture below stays visible.
//
// Left, Top, Width and Height are the placement its container gives it, in single-precision
// twips of the container's client area; the widget sits at the nearest whole pixels.
class CutMarker : public QWidget
{
    Q_OBJECT

public:
    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);

    // Colour of the handle's fill, the handle's border and the line.
    void SetColor(const QColor& AColor);
    // Moves the line's end point to Leng twips along the line; the control keeps its size.
    void SetLine(int Leng);
    // Shows Where (twips) in pixels in the read-out label.
    void ShowPos(int Where);
    void HidePos();

    QColor color() const { return m_color; }
    QPointF lineStart() const { return m_design.lineStart; }
    QPointF lineEnd() const { return m_lineEnd; }
    QLabel* Label1() const { return m_label1; }

signals:
    // Button: 1 left, 2 right, 4 middle; Shift: 1 shift, 2 control, 4 alt; X, Y in twips
    // relative to the control. After a press, moves and the release keep coming here until the
    // button is released, wherever the pointer goes.
    void MouseUp(int Button, int Shift, float X, float Y);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);

protected:
    CutMarker(const CutMarkerDesign& design, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    // Raises `signal` with the event's pointer position converted to twips.
    void raiseMouse(void (CutMarker::*signal)(int, int, float, float), int button,
                    QMouseEvent* event);

    const CutMarkerDesign m_design;
    QLabel* m_label1;
    QColor m_color = Qt::black;
    QPointF m_lineEnd;
    float m_left = 0;
    float m_top = 0;
    float m_width;
    float m_height;
};

} // namespace tilemond
