#pragma once

#include "editor/split_target.h"
#include "platform/clipboard_picture.h"

#include <QWidget>
#include <QtGlobal>

#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace tilemond {

class PictureBox;

// The editor window frmFilters: a frameless tool window of picture buttons, with its own title
// strip, that holds the editor state. It measures its controls in pixels.
class FiltersForm : public QWidget
{
    Q_OBJECT

public:
    FiltersForm();
    ~FiltersForm() override;

    // The window's load: resets the editor state, shows both windows, takes the picture selected
    // in the page and puts both windows on top. Runs once per window (showFrmFilters).
    void Form_Load();
    bool formLoaded() const { return m_formLoaded; }
    // The window's unload: the editor is no longer open, and the clipboard gets back what it held
    // before the editor took the picture through it, unless someone wrote to it since the editor
    // last did: what the user copied meanwhile stays.
    void Form_Unload();

    // Editor state, in its declared order. Counters: highest index in use in frmPreview's
    // Vert1 (HMarkerLast) and Hori1 (VMarkerLast), -1 for none.
    bool DragActive = false;
    qint16 HMarkerLast = -1;
    qint16 VMarkerLast = -1;
    bool NoGraphic = false;
    qint32 DragStartX = 0;
    qint32 DragStartY = 0;
    // Set when the picture is taken at load; the split puts its pieces there.
    SplitTarget splitTarget;

    // The controls keep the window's own names. Title strip: TitleBar, its caption Label4 and
    // icon Image1; bands Label3 (under the title) and Label10 (behind the bottom row). Command2
    // adds a horizontal marker, Command1 a vertical one, Command5 and Command7 remove them,
    // Command8 takes a picture from a file, Command9 opens About; chkTable chooses table or lines,
    // Label1 names the colour swatch LColor that Command3 changes; btHelp opens help, Command4 is
    // Okay (the split), Command6 Cancel. Picture1 holds the picture, Picture3 each piece on its way
    // to the clipboard; Picture2 is a spare work surface of the window.
    QLabel* TitleBar;
    QLabel* Label4;
    QLabel* Image1;
    QLabel* Label3;
    QPushButton* Command2;
    QPushButton* Command1;
    QPushButton* Command5;
    QPushButton* Command7;
    QPushButton* Command8;
    QPushButton* Command9;
    QFrame* Line1;
    QCheckBox* chkTable;
    QLabel* Label1;
    PictureBox* LColor; // the marker colour is its background colour
    QPushButton* Command3;
    QLabel* Label10;
    QPushButton* btHelp;
    QPushButton* Command4;
    QPushButton* Command6;
    // Work surfaces, out of sight below and beyond the client area.
    PictureBox* Picture1;
    PictureBox* Picture2;
    PictureBox* Picture3;

protected:
    // Closing the window through the window system (Alt+F4) and Escape do what Cancel does.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_formLoaded = false;
    bool m_takingPicture = false;
    std::unique_ptr<QMimeData> m_clipboardBefore;
    SystemClipboard::ChangeWatch m_clipboardWatch;

    bool clipboardAsEditorLeftIt() const;

    void buildTitleStrip();
    void buildMarkerRow();
    void buildOptionsRow();
    void buildButtonRow();
    void buildWorkSurfaces();
    void orderTabs();
    void focusFirstAddButton();
};

} // namespace tilemond
