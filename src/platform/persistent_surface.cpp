#include "platform/persistent_surface.h"

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
    if (m_image.isNull())
        return;
    QImage resized = blank();
    QPainter painter(&resized);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_image);
    painter.end();
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
}

QImage& PersistentSurface::image()
{
    if (m_image.isNull())
        m_image = blank();
    return m_image;
}

const QImage& PersistentSurface::image() const
{
    if (m_image.isNull())
        m_image = blank();
    return m_image;
}

QImage PersistentSurface::blank() const
{
    // An opaque picture that fills the surface is the surface until something is drawn on it:
    // shared, not copied, as a large picture would cost its size once more.
    if (m_picture.size() == m_size && m_picture.format() == QImage::Format_RGB32)
        return m_picture;
    QImage image(m_size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(m_background);
    if (!m_picture.isNull()) {
        QPainter painter(&image);
        painter.drawImage(0, 0, m_picture);
    }
    return image;
}

} // namespace tilemond
