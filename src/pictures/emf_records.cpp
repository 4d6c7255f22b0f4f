#include "pictures/emf_records.h"

#include "pictures/emf_record_parts.h"

namespace tilemond {

void playEmfRecord(MetafilePainter& painter, const char* record)
{
    using Player = bool (*)(MetafilePainter&, const char*, uint32_t);
    static constexpr Player kFamilies[] = {
        playEmfContextRecord, playEmfClipRecord, playEmfObjectRecord, playEmfShapeRecord,
        playEmfPathRecord,    playEmfTextRecord, playEmfBitmapRecord};
    const uint32_t type = as<U_EMR>(record).iType;
    for (const Player play : kFamilies)
        if (play(painter, record, type))
            return;
}

} // namespace tilemond
