#include "marker/ct_h_splitter.h"

namespace tilemond {

ctHSplitter::ctHSplitter(QWidget* parent)
    : CutMarker({Qt::Horizontal, {7665, 300}, {120, 0}, {7560, 0}, {300, 30}}, parent)
{
}

} // namespace tilemond
