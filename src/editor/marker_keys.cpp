#include "editor/marker_keys.h"

#include "editor/editor_state.h"
#include "editor/frm_preview.h"
#include "editor/split_guard.h"

#include <QShortcut>

namespace tilemond {

void addMarkerKeys(QWidget& window)
{
    const struct
    {
        Qt::Key key;
        MarkerKind kind;
        int direction;
    } arrows[] = {{Qt::Key_Left, MarkerKind::Vertical, -1},
                  {Qt::Key_Right, MarkerKind::Vertical, 1},
                  {Qt::Key_Up, MarkerKind::Horizontal, -1},
                  {Qt::Key_Down, MarkerKind::Horizontal, 1}};
    for (const auto& arrow : arrows)
        for (const int pixels : {1, 10}) {
            const QKeySequence keys(pixels == 1 ? QKeyCombination(arrow.key)
                                                : QKeyCombination(Qt::ShiftModifier, arrow.key));
            auto* shortcut = new QShortcut(keys, &window);
            QObject::connect(shortcut, &QShortcut::activated, &window,
                             [kind = arrow.kind, by = arrow.direction * pixels] {
                                 if (isFrmPreviewLoaded() && !splitRunning())
                                     frmPreview().stepMarker(kind, by);
                             });
        }
}

} // namespace tilemond
