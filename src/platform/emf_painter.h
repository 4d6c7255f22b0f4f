#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <optional>
#include <variant>
#include <vector>

extern "C" {
#include <uemf.h>
}

namespace tilemond {

// Plays the drawing records of an enhanced metafile onto a picture with QPainter, keeping
// the device context that the records change: mapping, world transform, selected objects,
// colours, modes, current position and the saved contexts. Every record handed to play()
// must have passed libuemf's U_emf_record_safe; records it does not draw are skipped.
class EmfPainter
{
public:
    // `deviceToImage` maps the reference device's pixels onto `target`.
    EmfPainter(QImage& target, const QTransform& deviceToImage, QSizeF devicePixelsPerMm,
               int handleCount);

    void play(const char* record);

private:
    struct PenSpec
    {
        QColor color = Qt::black;
        int style = U_PS_SOLID;
        double width = 0; // logical units; 0: one pixel whatever the mapping
        Qt::PenCapStyle cap = Qt::RoundCap;
        Qt::PenJoinStyle join = Qt::RoundJoin;
    };
    struct FontSpec
    {
        QString face = QStringLiteral("DejaVu Sans");
        int height = -12; // logical units: negative the character height, positive the cell
        int weight = 400;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        int escapement = 0; // tenths of a degree
    };
    using Object = std::variant<std::monostate, PenSpec, QBrush, FontSpec>;

    struct DeviceContext
    {
        int mapMode = U_MM_TEXT;
        QPointF windowOrg;
        QPointF viewportOrg;
        QSizeF windowExt{1, 1};
        QSizeF viewportExt{1, 1};
        QTransform world;
        PenSpec pen;
        QBrush brush{Qt::white};
        FontSpec font;
        QColor textColor = Qt::black;
        QColor backColor = Qt::white;
        bool opaqueBackground = true;
        uint32_t textAlign = 0;
        Qt::FillRule fillRule = Qt::OddEvenFill;
        QPointF position;
    };

    QTransform pageTransform() const;
    QTransform logicalToImage() const { return m_dc.world * pageTransform() * m_deviceToImage; }
    QPen pen() const;

    void selectObject(uint32_t index);
    void createObject(uint32_t index, Object object);
    void restoreDc(int32_t relative);

    // Shapes go to the open path while one is being recorded, else they are painted.
    void drawShape(const QPainterPath& path, bool fill);
    void drawLines(const QPainterPath& path) { drawShape(path, false); }
    void lineTo(const QPointF& point);
    void polyTo(const QPolygonF& points, bool bezier);
    void drawPathRecord(bool fill, bool stroke);
    void fillRegion(const char* record, const U_RGNDATA& region, uint32_t regionBytes,
                    const QBrush& brush);
    void drawBitmap(const QImage& bitmap, const QRectF& target, QRectF source);
    void patternBlit(const QRectF& target, uint32_t rop);
    template <class Blt>
    void blit(const char* record, const Blt& blt, std::optional<QSizeF> sourceSize);
    void drawText(const U_EMREXTTEXTOUTW& record);

    QImage& m_target;
    QPainter m_painter;
    QTransform m_deviceToImage;
    QSizeF m_devicePixelsPerMm;
    DeviceContext m_dc;
    std::vector<DeviceContext> m_saved;
    std::vector<Object> m_objects;
    std::optional<QPainterPath> m_path;
    bool m_recordingPath = false;
};

} // namespace tilemond
