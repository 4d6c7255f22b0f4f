#pragma once

#include <QByteArrayView>
#include <QImage>
#include <cstdint>

extern "C" {
#include <uwmf.h>
}

namespace tilemond {

// A device-independent bitmap that a metafile record carries, decoded. `bottomUp` when its rows
// are stored from the bottom (a positive height): the source rectangles of StretchDIBits and
// SetDIBitsToDevice count from there.
struct Dib
{
    QImage image; // null when there is no bitmap, it cannot be decoded or is beyond the limits
    bool bottomUp = false;
};

// From its BITMAPINFO (the header and the colours) and its pixels.
Dib decodeDib(QByteArrayView info, QByteArrayView bits);

// From an enhanced metafile record: the BITMAPINFO at offBmi (cbBmi bytes) and the pixels at
// offBits (cbBits bytes), both from the record's start; neither may reach past the record's
// size, whatever the other fields claim.
Dib decodeRecordDib(const char* record, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits,
                    uint32_t cbBits);

// From a Windows metafile record, where the header, the colours and the pixels follow each
// other in `dib`.
Dib decodePackedDib(QByteArrayView dib);

// A Windows metafile's device-dependent bitmap; only monochrome ones have known colours (0 is
// black, 1 white), the others are null.
QImage decodeBitmap16(const U_BITMAP16& header, QByteArrayView bits);

} // namespace tilemond
