#pragma once

#include "pictures/metafile_painter.h"

namespace tilemond {

// What the players of each family of enhanced metafile records share: reading a record's fields.
template <typename T> const T& as(const char* record)
{
    return *reinterpret_cast<const T*>(record);
}

inline QPointF pointOf(const U_POINTL& p)
{
    return QPointF(p.x, p.y);
}

inline QRectF rectOf(const U_RECTL& r)
{
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

// The players of each family: each plays a record of type `type` of its own family and says
// whether it was one.
// The device context's mapping, world transform, saved states, colours and modes.
bool playEmfContextRecord(MetafilePainter& painter, const char* record, uint32_t type);
bool playEmfClipRecord(MetafilePainter& painter, const char* record, uint32_t type);
// Pens, brushes and fonts: made, selected and deleted.
bool playEmfObjectRecord(MetafilePainter& painter, const char* record, uint32_t type);
// Lines and shapes; paths and regions; text.
bool playEmfShapeRecord(MetafilePainter& painter, const char* record, uint32_t type);
bool playEmfPathRecord(MetafilePainter& painter, const char* record, uint32_t type);
bool playEmfTextRecord(MetafilePainter& painter, const char* record, uint32_t type);
bool playEmfBitmapRecord(MetafilePainter& painter, const char* record, uint32_t type);

} // namespace tilemond
