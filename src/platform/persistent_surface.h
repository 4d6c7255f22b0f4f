#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

class QPainter;

namespace tilemond {

// The drawing layer of a window or picture box that keeps what is drawn on it: its background
// colour, its picture at the top-left corner, and whatever was drawn over them. The image is made
// on first use, so a large surface that nobody draws on costs nothing.
class PersistentSurface
{
public:
    explicit PersistentSurface(QColor background, QSize size = {});

    QSize size() const { return m_size; }
    // What was drawn stays where the old and new sizes overlap; new area shows background and
    // picture.
    void resize(QSize size);

    QColor background() const { return m_background; }
    // A new background colour erases what was drawn.
    void setBackground(QColor background);

    const QImage& picture() const { return m_picture; }
    // Replaces the picture; what was drawn is erased.
    void setPicture(const QImage& picture);

    // Erases what was drawn: background colour, then the picture.
    void clear();

    // Copies `source` whole onto the top-left corner, as a copy onto image() would. Until
    // something else is drawn the source is kept shared instead: a 1:1 preview of a large
    // picture then costs no second copy of it.
    void copyToTopLeft(const QImage& source);

    // The surface's current image, to draw on or read pixels from.
    QImage& image();
    const QImage& image() const;

    // Paints the surface at (0, 0), without making its image; where its pixels are see-through
    // the background colour shows.
    void paint(QPainter& painter) const;

private:
    QImage blank() const;
    void makeImage() const;

    QColor m_background;
    QImage m_picture;
    QSize m_size;
    mutable QImage m_image;
    // Copied whole onto the top-left corner after the image was last made; not in it yet.
    mutable QImage m_topLeft;
};

} // namespace tilemond
