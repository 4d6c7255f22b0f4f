#include "pictures/wmf_records.h"

#include "pictures/wmf_record_parts.h"

#include <cstring>

namespace tilemond {

WmfRecord::WmfRecord(const char* at, std::size_t size) : m_data(at), m_size(size)
{
    if (size < m_copy.size()) {
        std::memcpy(m_copy.data(), at, size);
        m_data = m_copy.data();
    }
}

uint16_t WmfRecord::function() const
{
    uint16_t function;
    std::memcpy(&function, m_data + offsetof(U_METARECORD, iType), sizeof function);
    return function;
}

void playWmfRecord(MetafilePainter& painter, const WmfRecord& record)
{
    using Player = bool (*)(MetafilePainter&, const WmfRecord&, uint8_t);
    static constexpr Player kFamilies[] = {
        playWmfContextRecord, playWmfClipRecord, playWmfObjectRecord, playWmfShapeRecord,
        playWmfRegionRecord,  playWmfTextRecord, playWmfBitmapRecord};
    // Escapes and the records that change nothing drawn here are skipped.
    const auto type = uint8_t(record.function() & U_WMR_MASK);
    for (const Player play : kFamilies)
        if (play(painter, record, type))
            return;
}

} // namespace tilemond
