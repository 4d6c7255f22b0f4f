#pragma once

#include "pictures/wmf_records.h"

#include <QByteArrayView>
#include <optional>

extern "C" {
#include <uwmf.h>
}

namespace tilemond {

// What the players of each family of Windows metafile records share: reading a record's fields,
// none of which may reach past the record.
inline QPointF pointOf(const U_POINT16& p)
{
    return QPointF(p.x, p.y);
}

inline QSizeF sizeOf(const U_POINT16& p)
{
    return QSizeF(p.x, p.y);
}

inline QRectF rectOf(const U_RECT16& r)
{
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

// The bytes from `from` to the record's end; empty when `from` lies beyond it.
QByteArrayView restOf(const WmfRecord& record, const char* from);

// `count` points stored as x, y pairs of 16 bits; none when they reach past the record.
QPolygonF pointsOf(const WmfRecord& record, const char* first, std::size_t count);

// A point, rectangle, mode or colour that libuemf's `get` reads from the record.
template <typename Get> std::optional<QPointF> point(const WmfRecord& record, Get get)
{
    U_POINT16 value;
    if (!get(record.data(), &value))
        return std::nullopt;
    return pointOf(value);
}

template <typename Get> std::optional<QRectF> rect(const WmfRecord& record, Get get)
{
    U_RECT16 value;
    if (!get(record.data(), &value))
        return std::nullopt;
    return rectOf(value);
}

template <typename Get> std::optional<uint16_t> mode(const WmfRecord& record, Get get)
{
    uint16_t value;
    if (!get(record.data(), &value))
        return std::nullopt;
    return value;
}

template <typename Get> std::optional<QColor> color(const WmfRecord& record, Get get)
{
    U_COLORREF value;
    if (!get(record.data(), &value))
        return std::nullopt;
    return colorOf(value);
}

// The players of each family: each plays a record of type `type` of its own family and says
// whether it was one.
// The device context's mapping, saved states, colours and modes.
bool playWmfContextRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type);
bool playWmfClipRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type);
// Pens, brushes, fonts, palettes and regions: each takes the lowest free slot of the table.
bool playWmfObjectRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type);
// Lines and shapes; regions filled; text.
bool playWmfShapeRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type);
bool playWmfRegionRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type);
bool playWmfTextRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type);
bool playWmfBitmapRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type);

} // namespace tilemond
