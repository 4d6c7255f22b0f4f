#pragma once

#include "marker/cut_marker.h"

namespace tilemond {

// The horizontal cut marker: a line along the control's top edge, moved up and down by its
// container.
class ctHSplitter : public CutMarker
{
    Q_OBJECT

public:
    explicit ctHSplitter(QWidget* parent = nullptr);
};

} // namespace tilemond
