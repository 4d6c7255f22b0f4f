#include "pictures/metafile_painter.h"

#include <utility>

namespace tilemond {
namespace {

// The device context's own pen and brush, which libuemf does not name.
constexpr uint32_t kDcBrush = 0x80000012;
constexpr uint32_t kDcPen = 0x80000013;

} // namespace

MetafilePen MetafilePen::simple(QColor color, uint32_t style, double width)
{
    int kind = int(style & U_PS_STYLE_MASK);
    if (width > 1 && kind >= U_PS_DASH && kind <= U_PS_DASHDOTDOT)
        kind = U_PS_SOLID;
    return MetafilePen{color, kind, width};
}

QBrush logBrush(uint32_t style, QColor color, uint32_t hatch)
{
    switch (style) {
    case U_BS_NULL:
        return Qt::NoBrush;
    case U_BS_HATCHED: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                 Qt::FDiagPattern, Qt::BDiagPattern,
                                                 Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(color, hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
    }
    default:
        return QBrush(color);
    }
}

void MetafilePainter::createObject(uint32_t index, MetafileObject object)
{
    if (index >= m_objectLimit)
        return;
    if (index >= m_objects.size())
        m_objects.resize(index + 1);
    m_objects[index] = std::move(object);
}

void MetafilePainter::addObject(MetafileObject object)
{
    uint32_t index = m_objectsUsed;
    if (!m_freeObjects.empty()) {
        index = m_freeObjects.top();
        m_freeObjects.pop();
    } else if (m_objectsUsed < m_objectLimit) {
        ++m_objectsUsed;
    } else {
        return; // the table is full
    }
    createObject(index, std::move(object));
}

void MetafilePainter::deleteObject(uint32_t index)
{
    if (index >= m_objects.size() || std::holds_alternative<std::monostate>(m_objects[index]))
        return;
    m_objects[index] = {};
    if (index < m_objectsUsed)
        m_freeObjects.push(index);
}

const MetafileObject* MetafilePainter::object(uint32_t index) const
{
    return index < m_objects.size() ? &m_objects[index] : nullptr;
}

void MetafilePainter::selectObject(uint32_t index)
{
    if (index & U_STOCK_OBJECT) {
        switch (index) {
        case U_WHITE_BRUSH:
            m_dc.brush = QBrush(Qt::white);
            break;
        case U_LTGRAY_BRUSH:
            m_dc.brush = QBrush(QColor(192, 192, 192));
            break;
        case U_GRAY_BRUSH:
            m_dc.brush = QBrush(QColor(128, 128, 128));
            break;
        case U_DKGRAY_BRUSH:
            m_dc.brush = QBrush(QColor(64, 64, 64));
            break;
        case U_BLACK_BRUSH:
            m_dc.brush = QBrush(Qt::black);
            break;
        case U_NULL_BRUSH:
            m_dc.brush = Qt::NoBrush;
            break;
        case U_WHITE_PEN:
            m_dc.pen = MetafilePen{Qt::white};
            break;
        case U_BLACK_PEN:
            m_dc.pen = MetafilePen{};
            break;
        case U_NULL_PEN:
            m_dc.pen = MetafilePen{Qt::black, U_PS_NULL};
            break;
        case kDcBrush:
            m_dc.brush = QBrush(Qt::white);
            break;
        case kDcPen:
            m_dc.pen = MetafilePen{};
            break;
        case U_DEFAULT_PALETTE:
            break;
        default:
            if (index >= U_OEM_FIXED_FONT && index <= U_DEFAULT_GUI_FONT)
                m_dc.font = MetafileFont{};
            break;
        }
        return;
    }
    const MetafileObject* object = this->object(index);
    if (!object)
        return;
    if (const auto* pen = std::get_if<MetafilePen>(object))
        m_dc.pen = *pen;
    else if (const auto* brush = std::get_if<QBrush>(object))
        m_dc.brush = *brush;
    else if (const auto* font = std::get_if<MetafileFont>(object))
        m_dc.font = *font;
}

} // namespace tilemond
