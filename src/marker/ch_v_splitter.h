#pragma once

#include "marker/cut_marker.h"

namespace tilemond {

// The vertical cut marker: a line down the control's left edge, moved sideways by its container.
class chVSplitter : public CutMarker
{
    Q_OBJECT

public:
    explicit chVSplitter(QWidget* parent = nullptr);
};

} // namespace tilemond
