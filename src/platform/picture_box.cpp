#include "platform/picture_box.h"

#include "platform/screen_metrics.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace tilemond {
namespace {

double twipsPer(ScaleUnit unit, float twipsPerPixel)
{
    return unit == ScaleUnit::Pixel ? twipsPerPixel : 1.0;
}

} // namespace

PictureBox::PictureBox(QColor background, QWidget* parent) : QWidget(parent), m_surface(background)
{
}

double PictureBox::ScaleWidth() const
{
    return ScaleX(width(), ScaleUnit::Pixel, m_scaleMode);
}

double PictureBox::ScaleHeight() const
{
    return ScaleY(height(), ScaleUnit::Pixel, m_scaleMode);
}

double PictureBox::ScaleX(double value, ScaleUnit from, ScaleUnit to) const
{
    const float perPixel = Screen::twipsPerPixelX();
    return value * twipsPer(from, perPixel) / twipsPer(to, perPixel);
}

double PictureBox::ScaleY(double value, ScaleUnit from, ScaleUnit to) const
{
    const float perPixel = Screen::twipsPerPixelY();
    return value * twipsPer(from, perPixel) / twipsPer(to, perPixel);
}

void PictureBox::setWidth(int pixels)
{
    resize(std::max(pixels, 0), height());
}

void PictureBox::setHeight(int pixels)
{
    resize(width(), std::max(pixels, 0));
}

void PictureBox::setPicture(const QImage& picture)
{
    if (m_autoSize && !picture.isNull())
        resize(picture.size());
    m_surface.setPicture(picture);
}

void PictureBox::setBackColor(QColor colour)
{
    m_surface.setBackground(colour);
    update();
}

QImage& PictureBox::image()
{
    return surface().image();
}

const QImage& PictureBox::image() const
{
    return surface().image();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    surface().paint(painter);
    if (hasFocus()) { // a box in the tab order shows that the keys go to it
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.backgroundColor = BackColor();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

PersistentSurface& PictureBox::surface() const
{
    m_surface.resize(size());
    return m_surface;
}

} // namespace tilemond
