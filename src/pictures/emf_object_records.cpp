#include "pictures/emf_record_parts.h"

#include "pictures/metafile_dib.h"

#include <algorithm>

namespace tilemond {
namespace {

MetafilePen extendedPen(const U_EXTLOGPEN& lp)
{
    MetafilePen pen{colorOf(lp.elpColor), int(lp.elpPenStyle & U_PS_STYLE_MASK)};
    if ((lp.elpPenStyle & U_PS_TYPE_MASK) == U_PS_GEOMETRIC)
        pen.width = lp.elpWidth;
    if (lp.elpBrushStyle == U_BS_NULL)
        pen.style = U_PS_NULL;
    const uint32_t cap = lp.elpPenStyle & U_PS_ENDCAP_MASK;
    pen.cap = cap == U_PS_ENDCAP_FLAT     ? Qt::FlatCap
              : cap == U_PS_ENDCAP_SQUARE ? Qt::SquareCap
                                          : Qt::RoundCap;
    const uint32_t join = lp.elpPenStyle & U_PS_JOIN_MASK;
    pen.join = join == U_PS_JOIN_BEVEL   ? Qt::BevelJoin
               : join == U_PS_JOIN_MITER ? Qt::MiterJoin
                                         : Qt::RoundJoin;
    return pen;
}

MetafileFont fontOf(const U_LOGFONT& lf)
{
    MetafileFont font;
    const auto* name = reinterpret_cast<const char16_t*>(lf.lfFaceName);
    const qsizetype length = std::find(name, name + U_LF_FACESIZE, u'\0') - name;
    if (length > 0)
        font.face = QString::fromUtf16(name, length);
    font.height = lf.lfHeight;
    font.weight = lf.lfWeight;
    font.italic = lf.lfItalic;
    font.underline = lf.lfUnderline;
    font.strikeOut = lf.lfStrikeOut;
    font.escapement = lf.lfEscapement;
    return font;
}

} // namespace

bool playEmfObjectRecord(MetafilePainter& painter, const char* record, uint32_t type)
{
    switch (type) {
    case U_EMR_CREATEPEN: {
        const auto& create = as<U_EMRCREATEPEN>(record);
        const U_LOGPEN& lp = create.lopn;
        painter.createObject(
            create.ihPen, MetafilePen::simple(colorOf(lp.lopnColor), lp.lopnStyle, lp.lopnWidth.x));
        return true;
    }
    case U_EMR_EXTCREATEPEN: {
        const auto& create = as<U_EMREXTCREATEPEN>(record);
        painter.createObject(create.ihPen, extendedPen(create.elp));
        return true;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto& create = as<U_EMRCREATEBRUSHINDIRECT>(record);
        const U_LOGBRUSH& lb = create.lb;
        painter.createObject(create.ihBrush, logBrush(lb.lbStyle, colorOf(lb.lbColor), lb.lbHatch));
        return true;
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        const auto& create = as<U_EMRCREATEDIBPATTERNBRUSHPT>(record);
        const Dib pattern =
            decodeRecordDib(record, create.offBmi, create.cbBmi, create.offBits, create.cbBits);
        if (!pattern.image.isNull())
            painter.createObject(create.ihBrush, QBrush(pattern.image));
        return true;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        const auto& create = as<U_EMREXTCREATEFONTINDIRECTW>(record);
        painter.createObject(create.ihFont, fontOf(create.elfw.elfLogFont));
        return true;
    }
    case U_EMR_SELECTOBJECT:
        painter.selectObject(as<U_EMRSELECTOBJECT>(record).ihObject);
        return true;
    case U_EMR_DELETEOBJECT:
        painter.deleteObject(as<U_EMRDELETEOBJECT>(record).ihObject);
        return true;
    default:
        return false;
    }
}

} // namespace tilemond
