#pragma once

#include "pictures/metafile_painter.h"

namespace tilemond {

// Plays one record of an enhanced metafile onto the painter. The record must have passed
// libuemf's U_emf_record_safe; records that draw nothing here are skipped.
void playEmfRecord(MetafilePainter& painter, const char* record);

} // namespace tilemond
