#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRegion>
#include <QTransform>
#include <functional>
#include <optional>
#include <queue>
#include <variant>
#include <vector>

extern "C" {
#include <uemf.h>
}

namespace tilemond {

struct MetafilePen
{
    // A pen of CreatePen: wider than one unit it is always solid.
    static MetafilePen simple(QColor color, uint32_t style, double width);

    QColor color = Qt::black;
    int style = U_PS_SOLID;
    double width = 0; // logical units; 0: one pixel whatever the mapping
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
};

struct MetafileFont
{
    QString face = QStringLiteral("DejaVu Sans");
    int height = -12; // logical units: negative the character height, positive the cell
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int escapement = 0; // tenths of a degree
};

// A region as its rectangles, in logical units.
using MetafileRegion = std::vector<QRectF>;

// A palette holds its place in the object table; its colours are not used.
struct MetafilePalette
{
};

using MetafileObject = std::variant<std::monostate, MetafilePen, QBrush, MetafileFont,
                                    MetafileRegion, MetafilePalette>;

inline QColor colorOf(const U_COLORREF& c)
{
    return QColor(c.Red, c.Green, c.Blue);
}

// A solid, hollow or hatched brush of a LOGBRUSH.
QBrush logBrush(uint32_t style, QColor color, uint32_t hatch);

// What the records change and SaveDC keeps.
struct DeviceContext
{
    int mapMode = U_MM_TEXT;
    QPointF windowOrg;
    QPointF viewportOrg;
    QSizeF windowExt{1, 1};
    QSizeF viewportExt{1, 1};
    QTransform world;
    MetafilePen pen;
    QBrush brush{Qt::white};
    MetafileFont font;
    QColor textColor = Qt::black;
    QColor backColor = Qt::white;
    bool opaqueBackground = true;
    uint32_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int rop2 = U_R2_COPYPEN;
    QPointF position;
    std::optional<QRegion> clip; // in picture pixels, by the clip methods; none: all of it
    quint64 clipSerial = 0;      // names the clip, so that it is handed to QPainter once
};

// Saved device contexts beyond any real drawing's needs, and the painted pixels a metafile may
// ask for, per pixel of the largest picture allowed (some seconds of painting).
inline constexpr qsizetype kMaxSavedContexts = 1024;
inline constexpr qint64 kMetafileWorkPerPixel = 64;
// GDI gives a process at most this many objects.
inline constexpr uint32_t kMaxMetafileObjects = 65536;

// Draws what the records of a Windows metafile or an enhanced metafile say onto a picture with
// QPainter, keeping the device context that the records change: mapping, world transform,
// selected objects, colours, modes, current position, clip and the saved contexts. The record
// players (emf_records, wmf_records) read the records and call it; coordinates are logical
// units unless said otherwise. Its parts live by family: metafile_painter.cpp the device
// context and the painting, metafile_objects.cpp the object table, metafile_drawing.cpp lines,
// shapes, paths and text, metafile_bitmaps.cpp the blits, metafile_clipping.cpp the clip.
class MetafilePainter
{
public:
    // `deviceToImage` maps device units onto `target`; `objectCount` is the size of the object
    // table that the header gives (at most 65,536 are kept, as many as GDI gives a process).
    MetafilePainter(QImage& target, const QTransform& deviceToImage, QSizeF devicePixelsPerMm,
                    uint32_t objectCount);

    DeviceContext& dc() { return m_dc; }
    // Why drawing stopped: a few bytes of records can ask for hours of painting or gigabytes
    // of saved contexts. Empty while the records keep within kMaxSavedContexts and a painted
    // area of kMetafileWorkPerPixel times the most pixels a picture may have.
    const QString& overLimit() const { return m_overLimit; }
    void saveDc();
    void restoreDc(int32_t relative);

    // Objects: at the index that the record gives, or (WMF) at the lowest free one.
    void createObject(uint32_t index, MetafileObject object);
    void addObject(MetafileObject object);
    void selectObject(uint32_t index);
    void deleteObject(uint32_t index);
    const MetafileObject* object(uint32_t index) const;

    void moveTo(const QPointF& point);
    void lineTo(const QPointF& point);
    // Lines or Béziers from the current position, which moves to their last point.
    void polyTo(const QPolygonF& points, bool bezier);
    // Outlined with the pen, and filled with the brush when `fill`.
    void drawShape(const QPainterPath& path, bool fill);
    void drawLines(const QPainterPath& path) { drawShape(path, false); }
    enum class ArcKind { Open, Pie, Chord };
    // The part of the ellipse in `box` counterclockwise from the ray towards `start` to the ray
    // towards `end` (the whole ellipse when they meet).
    void drawArc(const QRectF& box, const QPointF& start, const QPointF& end, ArcKind kind);
    void arcTo(const QRectF& box, const QPointF& start, const QPointF& end);
    void setPixel(const QPointF& point, const QColor& color);
    void fillRegion(const MetafileRegion& region, const QBrush& brush);

    // Draws `source` of the bitmap onto `target`; a negative width or height of the target
    // mirrors the bitmap. `rop` is the ternary raster operation.
    void drawBitmap(const QImage& bitmap, const QRectF& target, const QRectF& source, uint32_t rop);
    // The same with the source rectangle measured from the bottom row for bitmaps stored bottom
    // up (StretchDIBits, SetDIBitsToDevice).
    void drawDibits(const QImage& bitmap, bool bottomUp, const QRectF& target, QRectF source,
                    uint32_t rop);
    // A blit without a source bitmap: the brush, black, white or the inverted target.
    void patternBlit(const QRectF& target, uint32_t rop);

    // The text at `reference` as the text alignment places it, after filling `opaque` with the
    // background colour.
    void drawText(const QString& text, const QPointF& reference,
                  const std::optional<QRectF>& opaque);

    // Paths: while one is open, shapes go into it instead of onto the picture.
    void beginPath();
    void endPath() { m_recordingPath = false; }
    void closeFigure();
    void abortPath();
    void drawPath(bool fill, bool stroke);

    void intersectClip(const QRectF& rect);
    void excludeClip(const QRectF& rect);
    // Combines the clip with the region (RGN_COPY, RGN_AND, ...); no region resets the clip.
    void selectClip(const MetafileRegion* region, uint32_t mode);
    void offsetClip(const QPointF& offset);

private:
    // Picture pixels beyond kFarAway never reach a picture within the size limits; coordinates
    // are clamped to it before they become integers.
    static constexpr double kFarAway = 1 << 24;
    static int pixel(double value);
    QTransform pageTransform() const;
    QTransform logicalToImage() const { return m_dc.world * pageTransform() * m_deviceToImage; }
    QPen pen() const;
    QRegion imageRegion(const MetafileRegion& region) const;
    void setClip(std::optional<QRegion> clip);
    // Readies the painter for drawing in logical units under the clip with the operation; false
    // when there is none (nothing is drawn).
    bool prepare(std::optional<QPainter::CompositionMode> operation);
    void paint(const QPainterPath& path, const QPen& pen, const QBrush& brush);
    // Counts the pixels of `box` (picture pixels) that drawing is about to paint, a band of
    // `strokeWidth` along its edges for an outline; false once past the bound (nothing is drawn).
    bool spend(const QRectF& box, std::optional<double> strokeWidth = std::nullopt);

    qint64 m_work = 0;
    QString m_overLimit;

    QImage& m_target;
    QPainter m_painter;
    QTransform m_deviceToImage;
    QSizeF m_devicePixelsPerMm;
    DeviceContext m_dc;
    std::vector<DeviceContext> m_saved;
    std::vector<MetafileObject> m_objects; // grows up to m_objectLimit as slots are used
    uint32_t m_objectLimit;
    // Free slots below m_objectsUsed; every slot from there on is free.
    std::priority_queue<uint32_t, std::vector<uint32_t>, std::greater<>> m_freeObjects;
    uint32_t m_objectsUsed = 0;
    std::optional<QPainterPath> m_path;
    bool m_recordingPath = false;
    quint64 m_clipSerials = 0;
    quint64 m_appliedClip = 0;
};

} // namespace tilemond
