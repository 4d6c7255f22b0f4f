#pragma once

#include <QObject>

class QWidget;

namespace tilemond {

class FiltersForm;

// Drags the frameless editor window by its title strip, keeping the pressed point under the
// pointer; the strip's controls share one drag state, kept in the editor's DragActive,
// DragStartX and DragStartY. Pointer X and Y are twips relative to the pressed control;
// Button: 1 left, 2 right, 4 middle (on a move, the buttons held down).
class TitleStripDrag final : public QObject
{
public:
    explicit TitleStripDrag(FiltersForm& editor);

    // Lets `control` drag the window; its mouse events go to press, move and release.
    void watch(QWidget* control);

    void press(int Button, float X, float Y);
    void move(int Button, float X, float Y);
    void release(int Button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FiltersForm& m_editor;
};

} // namespace tilemond
