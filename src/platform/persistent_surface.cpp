#include "platform/persistent_surface.h"

#include "platform/rectangle_copy.h"

#include <QPainter>

namespace tilemond {

PersistentSurface::PersistentSurface(QColor background, QSize size)
    : m_background(background), m_size(size.expandedTo(QSize(0, 0)))
{
}

void PersistentSurface::resize(QSize size)
{
    size = size.expandedTo(QSize(0, 0));
    if (size == m_size)
        return;
    m_size = size;
    if (m_image.isNull()) {
        // What falls outside is lost, as it would be from the image.
        const QRect kept = m_topLeft.rect().intersected(QRect(QPoint(0, 0), size));
        if (kept != m_topLeft.rect())
            m_topLeft = m_topLeft.copy(kept);
        return;
    }
    QImage resized = blank();
    copyRectangle(resized, 0, 0, m_image.width(), m_image.height(), m_image, 0, 0);
    m_image = resized;
}

void PersistentSurface::setBackground(QColor background)
{
    m_background = background;
    clear();
}

void PersistentSurface::setPicture(const QImage& picture)
{
    m_picture = picture;
    clear();
}

void PersistentSurface::clear()
{
    m_image = QImage();
    m_topLeft = QImage();
}

void PersistentSurface::copyToTopLeft(const QImage& source)
{
    const bool coversEarlierCopy =
        m_topLeft.width() <= source.width() && m_topLeft.height() <= source.height();
    if (m_image.isNull() && coversEarlierCopy) {
        m_topLeft = source;
        return;
    }
    copyRectangle(image(), 0, 0, source.width(), source.height(), source, 0, 0);
}

QImage& PersistentSurface::image()
{
    makeImage();
    return m_image;
}

const QImage& PersistentSurface::image() const
{
    makeImage();
    return m_image;
}

void PersistentSurface::paint(QPainter& painter) const
{
    // What makeImage would make, painted straight away; see-through pixels show the background.
    const QRect area(QPoint(0, 0), m_size);
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, m_background);
    if (!m_image.isNull()) {
        painter.drawImage(0, 0, m_image);
    } else {
        if (!m_picture.isNull())
            painter.drawImage(0, 0, m_picture);
        if (!m_topLeft.isNull()) {
            // The copy replaced what was under it.
            painter.fillRect(m_topLeft.rect(), m_background);
            painter.drawImage(0, 0, m_topLeft);
        }
    }
    painter.restore();
}

void PersistentSurface::makeImage() const
{
    if (!m_image.isNull())
        return;
    m_image = blank();
    if (!m_topLeft.isNull())
        copyRectangle(m_image, 0, 0, m_topLeft.width(), m_topLeft.height(), m_topLeft, 0, 0);
    m_topLeft = QImage();
}

QImage PersistentSurface::blank() const
{
    // A picture that fills the surface is the surface until something is drawn on it: shared,
    // not copied, as a large picture would cost its size once more.
    if (m_picture.size() == m_size)
        return m_picture;
    QImage image(m_size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(m_background);
    copyRectangle(image, 0, 0, m_picture.width(), m_picture.height(), m_picture, 0, 0);
    return image;
}

} // namespace tilemond
