#include "marker/ch_v_splitter.h"

namespace tilemond {

chVSplitter::chVSplitter(QWidget* parent)
    : CutMarker({Qt::Vertical, {435, 5325}, {0, 0}, {0, 5280}, {30, 270}}, parent)
{
}

} // namespace tilemond
