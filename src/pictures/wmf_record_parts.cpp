#include "pictures/wmf_record_parts.h"

#include <cstring>

namespace tilemond {

QByteArrayView restOf(const WmfRecord& record, const char* from)
{
    if (!from || from < record.data() || from > record.end())
        return {};
    return QByteArrayView(from, record.end() - from);
}

QPolygonF pointsOf(const WmfRecord& record, const char* first, std::size_t count)
{
    const QByteArrayView bytes = restOf(record, first);
    if (count > std::size_t(bytes.size()) / sizeof(U_POINT16))
        return {};
    QPolygonF points;
    points.reserve(qsizetype(count));
    for (std::size_t i = 0; i < count; ++i) {
        U_POINT16 point;
        std::memcpy(&point, first + i * sizeof point, sizeof point);
        points << pointOf(point);
    }
    return points;
}

} // namespace tilemond
