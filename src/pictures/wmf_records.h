#pragma once

#include "pictures/metafile_painter.h"

#include <array>
#include <cstddef>

namespace tilemond {

// One record of a Windows metafile as libuemf's readers may see it: they read a record's fixed
// fields before they check its size, so a short record is read from a copy with zeros after it.
// `size` is the record's size as U_WMRRECSAFE_get measured it within the file.
class WmfRecord
{
public:
    WmfRecord(const char* at, std::size_t size);
    WmfRecord(const WmfRecord&) = delete;
    WmfRecord& operator=(const WmfRecord&) = delete;

    const char* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    const char* end() const { return m_data + m_size; }
    // The record's function (its type is the low byte).
    uint16_t function() const;

private:
    std::array<char, 64> m_copy{};
    const char* m_data;
    std::size_t m_size;
};

// Plays the record onto the painter. Records that draw nothing here, and records whose parts
// do not fit in them, are skipped.
void playWmfRecord(MetafilePainter& painter, const WmfRecord& record);

} // namespace tilemond
