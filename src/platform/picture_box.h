#pragma once

#include "platform/persistent_surface.h"

#include <QWidget>

namespace tilemond {

// The units a picture box can measure in.
enum class ScaleUnit { Twip = 1, Pixel = 3 };

// A picture box with a persistent drawing surface: what is drawn on its image stays until it is
// cleared, and painting shows that image. Its size is set in pixels; it measures its inner area in
// its own unit (ScaleMode).
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QColor background, QWidget* parent = nullptr);

    ScaleUnit ScaleMode() const { return m_scaleMode; }
    void setScaleMode(ScaleUnit unit) { m_scaleMode = unit; }
    // The inner width and height in ScaleMode units.
    double ScaleWidth() const;
    double ScaleHeight() const;
    // Converts a horizontal (ScaleX) or vertical (ScaleY) length between units.
    double ScaleX(double value, ScaleUnit from, ScaleUnit to) const;
    double ScaleY(double value, ScaleUnit from, ScaleUnit to) const;

    // Outer size in pixels.
    void setWidth(int pixels);
    void setHeight(int pixels);

    // With auto size on, the box takes the size of every new picture.
    void setAutoSize(bool on) { m_autoSize = on; }
    const QImage& picture() const { return m_surface.picture(); }
    // Replaces the picture; what was drawn is erased.
    void setPicture(const QImage& picture);

    QColor BackColor() const { return m_surface.background(); }
    // A new background colour erases what was drawn.
    void setBackColor(QColor colour);

    // Erases what was drawn, leaving the background colour and the picture.
    void Cls() { m_surface.clear(); }
    // Repaints the box from its image now.
    void Refresh() { repaint(); }

    // The persistent image, as large as the box: draw on it, or read its pixels.
    QImage& image();
    const QImage& image() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PersistentSurface& surface() const;

    ScaleUnit m_scaleMode = ScaleUnit::Twip;
    bool m_autoSize = false;
    // Follows the widget's size whenever it is used, even while the box was never shown.
    mutable PersistentSurface m_surface;
};

} // namespace tilemond
