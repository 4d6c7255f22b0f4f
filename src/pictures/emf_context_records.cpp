#include "pictures/emf_record_parts.h"

namespace tilemond {

bool playEmfContextRecord(MetafilePainter& painter, const char* record, uint32_t type)
{
    DeviceContext& dc = painter.dc();
    switch (type) {
    case U_EMR_SETMAPMODE:
        dc.mapMode = int(as<U_EMRSETMAPMODE>(record).iMode);
        return true;
    case U_EMR_SETWINDOWEXTEX: {
        const U_SIZEL& e = as<U_EMRSETWINDOWEXTEX>(record).szlExtent;
        dc.windowExt = QSizeF(e.cx, e.cy);
        return true;
    }
    case U_EMR_SETVIEWPORTEXTEX: {
        const U_SIZEL& e = as<U_EMRSETVIEWPORTEXTEX>(record).szlExtent;
        dc.viewportExt = QSizeF(e.cx, e.cy);
        return true;
    }
    case U_EMR_SETWINDOWORGEX:
        dc.windowOrg = pointOf(as<U_EMRSETWINDOWORGEX>(record).ptlOrigin);
        return true;
    case U_EMR_SETVIEWPORTORGEX:
        dc.viewportOrg = pointOf(as<U_EMRSETVIEWPORTORGEX>(record).ptlOrigin);
        return true;
    case U_EMR_SETWORLDTRANSFORM: {
        const U_XFORM& x = as<U_EMRSETWORLDTRANSFORM>(record).xform;
        dc.world = QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
        return true;
    }
    case U_EMR_MODIFYWORLDTRANSFORM: {
        const auto& modify = as<U_EMRMODIFYWORLDTRANSFORM>(record);
        const U_XFORM& x = modify.xform;
        const QTransform xform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
        if (modify.iMode == U_MWT_IDENTITY)
            dc.world = QTransform();
        else if (modify.iMode == U_MWT_LEFTMULTIPLY)
            dc.world = xform * dc.world;
        else if (modify.iMode == U_MWT_RIGHTMULTIPLY)
            dc.world = dc.world * xform;
        else if (modify.iMode == 4) // MWT_SET
            dc.world = xform;
        return true;
    }
    case U_EMR_SAVEDC:
        painter.saveDc();
        return true;
    case U_EMR_RESTOREDC:
        painter.restoreDc(as<U_EMRRESTOREDC>(record).iRelative);
        return true;
    case U_EMR_SETBKMODE:
        dc.opaqueBackground = as<U_EMRSETBKMODE>(record).iMode == U_OPAQUE;
        return true;
    case U_EMR_SETBKCOLOR:
        dc.backColor = colorOf(as<U_EMRSETBKCOLOR>(record).crColor);
        return true;
    case U_EMR_SETTEXTCOLOR:
        dc.textColor = colorOf(as<U_EMRSETTEXTCOLOR>(record).crColor);
        return true;
    case U_EMR_SETTEXTALIGN:
        dc.textAlign = as<U_EMRSETTEXTALIGN>(record).iMode;
        return true;
    case U_EMR_SETPOLYFILLMODE:
        dc.fillRule =
            as<U_EMRSETPOLYFILLMODE>(record).iMode == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        return true;
    case U_EMR_SETROP2:
        dc.rop2 = int(as<U_EMRSETROP2>(record).iMode);
        return true;
    default:
        return false;
    }
}

bool playEmfClipRecord(MetafilePainter& painter, const char* record, uint32_t type)
{
    switch (type) {
    case U_EMR_INTERSECTCLIPRECT:
        painter.intersectClip(rectOf(as<U_EMRINTERSECTCLIPRECT>(record).rclClip));
        return true;
    case U_EMR_EXCLUDECLIPRECT:
        painter.excludeClip(rectOf(as<U_EMREXCLUDECLIPRECT>(record).rclClip));
        return true;
    case U_EMR_EXTSELECTCLIPRGN:
        // Only the reset: the regions it selects are in the reference device's pixels.
        if (as<U_EMREXTSELECTCLIPRGN>(record).cbRgnData == 0)
            painter.selectClip(nullptr, as<U_EMREXTSELECTCLIPRGN>(record).iMode);
        return true;
    default:
        return false;
    }
}

} // namespace tilemond
