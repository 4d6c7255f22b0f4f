#pragma once

#include <QImage>
#include <cstdint>

namespace tilemond {

// Decodes a device-independent bitmap that a metafile record carries: its BITMAPINFO at
// offBmi (cbBmi bytes) and its pixels at offBits (cbBits bytes), both from the record's
// start. The record must have passed libuemf's checks. Null when there is no bitmap, when it
// cannot be decoded, or when it is beyond the picture limits.
QImage decodeRecordDib(const char* record, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits,
                       uint32_t cbBits);

} // namespace tilemond
