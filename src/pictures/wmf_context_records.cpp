#include "pictures/wmf_record_parts.h"

namespace tilemond {
namespace {

// Window and viewport extents are scaled by numerator / denominator on each axis.
template <typename Get> void scaleExtent(const WmfRecord& record, Get get, QSizeF& extent)
{
    U_POINT16 denominator;
    U_POINT16 numerator;
    if (!get(record.data(), &denominator, &numerator) || denominator.x == 0 || denominator.y == 0)
        return;
    extent = QSizeF(extent.width() * numerator.x / denominator.x,
                    extent.height() * numerator.y / denominator.y);
}

} // namespace

bool playWmfContextRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    DeviceContext& dc = painter.dc();
    const char* data = record.data();
    switch (type) {
    case U_WMR_SETMAPMODE:
        if (const auto value = mode(record, U_WMRSETMAPMODE_get))
            dc.mapMode = *value;
        return true;
    case U_WMR_SETWINDOWORG:
        if (const auto value = point(record, U_WMRSETWINDOWORG_get))
            dc.windowOrg = *value;
        return true;
    case U_WMR_SETWINDOWEXT:
        if (const auto value = point(record, U_WMRSETWINDOWEXT_get))
            dc.windowExt = QSizeF(value->x(), value->y());
        return true;
    case U_WMR_SETVIEWPORTORG:
        if (const auto value = point(record, U_WMRSETVIEWPORTORG_get))
            dc.viewportOrg = *value;
        return true;
    case U_WMR_SETVIEWPORTEXT:
        if (const auto value = point(record, U_WMRSETVIEWPORTEXT_get))
            dc.viewportExt = QSizeF(value->x(), value->y());
        return true;
    case U_WMR_OFFSETWINDOWORG:
        if (const auto value = point(record, U_WMROFFSETWINDOWORG_get))
            dc.windowOrg += *value;
        return true;
    case U_WMR_OFFSETVIEWPORTORG:
        if (const auto value = point(record, U_WMROFFSETVIEWPORTORG_get))
            dc.viewportOrg += *value;
        return true;
    case U_WMR_SCALEWINDOWEXT:
        scaleExtent(record, U_WMRSCALEWINDOWEXT_get, dc.windowExt);
        return true;
    case U_WMR_SCALEVIEWPORTEXT:
        scaleExtent(record, U_WMRSCALEVIEWPORTEXT_get, dc.viewportExt);
        return true;
    case U_WMR_SAVEDC:
        painter.saveDc();
        return true;
    case U_WMR_RESTOREDC: {
        int16_t relative = 0;
        if (U_WMRRESTOREDC_get(data, &relative))
            painter.restoreDc(relative);
        return true;
    }
    case U_WMR_SETTEXTCOLOR:
        if (const auto value = color(record, U_WMRSETTEXTCOLOR_get))
            dc.textColor = *value;
        return true;
    case U_WMR_SETBKCOLOR:
        if (const auto value = color(record, U_WMRSETBKCOLOR_get))
            dc.backColor = *value;
        return true;
    case U_WMR_SETBKMODE:
        if (const auto value = mode(record, U_WMRSETBKMODE_get))
            dc.opaqueBackground = *value == U_OPAQUE;
        return true;
    case U_WMR_SETTEXTALIGN:
        if (const auto value = mode(record, U_WMRSETTEXTALIGN_get))
            dc.textAlign = *value;
        return true;
    case U_WMR_SETPOLYFILLMODE:
        if (const auto value = mode(record, U_WMRSETPOLYFILLMODE_get))
            dc.fillRule = *value == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        return true;
    case U_WMR_SETROP2:
        if (const auto value = mode(record, U_WMRSETROP2_get))
            dc.rop2 = *value;
        return true;
    default:
        return false;
    }
}

bool playWmfClipRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    switch (type) {
    case U_WMR_INTERSECTCLIPRECT:
        if (const auto value = rect(record, U_WMRINTERSECTCLIPRECT_get))
            painter.intersectClip(*value);
        return true;
    case U_WMR_EXCLUDECLIPRECT:
        if (const auto value = rect(record, U_WMREXCLUDECLIPRECT_get))
            painter.excludeClip(*value);
        return true;
    case U_WMR_OFFSETCLIPRGN:
        if (const auto value = point(record, U_WMROFFSETCLIPRGN_get))
            painter.offsetClip(*value);
        return true;
    case U_WMR_SELECTCLIPREGION:
        // An empty slot stands for no region, which resets the clip.
        if (const auto index = mode(record, U_WMRSELECTCLIPREGION_get)) {
            const MetafileObject* object = painter.object(*index);
            if (!object || std::holds_alternative<std::monostate>(*object))
                painter.selectClip(nullptr, U_RGN_COPY);
            else if (const auto* region = std::get_if<MetafileRegion>(object))
                painter.selectClip(region, U_RGN_COPY);
        }
        return true;
    default:
        return false;
    }
}

} // namespace tilemond
