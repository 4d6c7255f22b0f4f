#pragma once

#include <QObject>

namespace tilemond::app {

// While it lives no window of the application is painted: without a desktop nobody sees them,
// and a 1:1 preview would otherwise hold a picture-sized backing store and drawing surface.
// Windows whose paint is looked at (the browser engine's page) carry the property
// layout::kPaintedWithoutDesktop.
class UnpaintedWindows final : public QObject
{
public:
    UnpaintedWindows();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tilemond::app
