#include "editor/frm_filters.h"

#include "editor/captions.h"
#include "editor/editor_actions.h"
#include "editor/editor_state.h"
#include "editor/frm_preview.h"
#include "editor/marker_keys.h"
#include "editor/marker_placement.h"
#include "editor/title_strip_drag.h"
#include "editor/topmost.h"
#include "editor/window_layout.h"
#include "platform/clipboard_picture.h"
#include "platform/picture_box.h"
#include "platform/prompts.h"
#include "platform/screen_metrics.h"
#include "resources/artwork.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace tilemond {
namespace {

const QColor Background(176, 186, 193);
const QColor BandColour(61, 63, 109);
const QColor TitleTextColour(224, 224, 224);
const QColor InitialMarkerColour(0, 128, 128);
constexpr QSize IconSize(16, 16);
constexpr QSize WideButtonPicture(99, 20);

void setColour(QWidget* widget, QPalette::ColorRole role, QColor colour)
{
    QPalette colours = widget->palette();
    colours.setColor(role, colour);
    widget->setPalette(colours);
}

QLabel* band(QWidget* parent, QRect place)
{
    auto* label = new QLabel(parent);
    label->setGeometry(place);
    label->setAutoFillBackground(true);
    setColour(label, QPalette::Window, BandColour);
    return label;
}

// A picture of its own size in pixels, whatever the screen makes of the place in twips.
QLabel* picture(QWidget* parent, QRect place, const QString& art, QSize pixels)
{
    auto* label = new QLabel(parent);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setPixmap(artwork(art, pixels));
    return label;
}

QPushButton* pictureButton(QWidget* parent, QRect place, const QString& art, QSize artSize,
                           const QString& tooltip)
{
    auto* button = new QPushButton(parent);
    button->setGeometry(place);
    button->setIcon(artwork(art, artSize));
    button->setIconSize(artSize);
    button->setToolTip(tooltip);
    return button;
}

PictureBox* workSurface(QWidget* parent, QRect place, QColor background)
{
    auto* box = new PictureBox(background, parent);
    box->setGeometry(place);
    return box;
}

} // namespace

FiltersForm::FiltersForm() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(TilemondCaption);
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, Background);
    QFont small = font(); // the design's controls were laid out for 8.25-point text
    small.setPointSizeF(8.25);
    setFont(small);
    setFixedSize(Screen::pixels(QRectF(0, 0, 4170, 2295)).size());
    winId(); // the native window now, so that the outer size includes the frame from the start
    // The editor's questions and dialogs stand above the editor, not behind it.
    setPromptsParent(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // The dark bands lie below everything else.
    Label3 = band(this, Screen::pixels(QRectF(0, 240, 5175, 255)));
    Label10 = band(this, Screen::pixels(QRectF(0, 1680, 5175, 615)));
    buildTitleStrip();
    buildMarkerRow();
    buildOptionsRow();
    buildButtonRow();
    buildWorkSurfaces();
    orderTabs();
    addMarkerKeys(*this);
}

FiltersForm::~FiltersForm() = default;

void FiltersForm::Form_Load()
{
    m_formLoaded = true;
    // The picture comes through the clipboard and so do the pieces: what the user had put
    // there is kept for the end.
    m_clipboardBefore = SystemClipboard::contents();
    NoGraphic = false;
    DragActive = false;
    HMarkerLast = -1;
    VMarkerLast = -1;
    show();
    frmPreview().show();
    m_takingPicture = true;
    runAction(editorActions().loadSelectedImage);
    m_takingPicture = false;
    m_clipboardWatch.mark();
    if (!isFrmFiltersLoaded() || &frmFilters() != this)
        return; // closed while the picture was being taken
    layOutEditorWindows();
    SetTopmost(frmPreview(), true);
    SetTopmost(*this, true);
    focusFirstAddButton();
    EditorOpen = true;
}

void FiltersForm::focusFirstAddButton()
{
    // Off Okay, a Space or Enter pressed by habit cannot split the picture at once; and the frame
    // shows where the keys go from the start, as after a Tab.
    setAttribute(Qt::WA_KeyboardFocusChange);
    Command2->setFocus(Qt::TabFocusReason);
}

void FiltersForm::Form_Unload()
{
    EditorOpen = false;
    if (m_clipboardBefore && clipboardAsEditorLeftIt())
        SystemClipboard::restore(std::move(m_clipboardBefore));
}

// The editor writes to the clipboard while it takes the picture and while it splits, which ends
// by emptying it.
bool FiltersForm::clipboardAsEditorLeftIt() const
{
    return m_takingPicture || !m_clipboardWatch.changedSinceMark() || SystemClipboard::isEmpty();
}

bool FiltersForm::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // Under a window manager the window takes the keys only after it is shown, and the focus
    // given while it was hidden is gone by then: give it again when the keys first arrive.
    if (event->type() == QEvent::WindowActivate && !focusWidget())
        focusFirstAddButton();
    return handled;
}

void FiltersForm::closeEvent(QCloseEvent* event)
{
    // Hidden by the window system, the editor would stay open with nothing to show for it.
    event->ignore();
    Command6->click();
}

// Space or Enter on the colour swatch chooses the colour, as a click on its button does.
bool FiltersForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != LColor || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    Command3->click();
    return true;
}

void FiltersForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        Command6->click();
    else
        QWidget::keyPressEvent(event);
}

void FiltersForm::buildTitleStrip()
{
    TitleBar = picture(this, Screen::pixels(QRectF(0, 0, 4200, 300)), "titlebar", QSize(280, 20));
    Label4 = new QLabel("Tilemond 1.0", this);
    Label4->setGeometry(Screen::pixels(QRectF(1005, 45, 1545, 195)));
    QFont font("Arial");
    font.setPointSizeF(8.25);
    font.setItalic(true);
    Label4->setFont(font);
    setColour(Label4, QPalette::WindowText, TitleTextColour);
    Image1 = picture(this, Screen::pixels(QRectF(3765, 255, 360, 240)), "app_icon", QSize(24, 16));
    auto* drag = new TitleStripDrag(*this);
    drag->watch(TitleBar);
    drag->watch(Label4);
}

void FiltersForm::buildMarkerRow()
{
    Command2 = pictureButton(this, Screen::pixels(QRectF(120, 600, 495, 375)), "add_horizontal",
                             IconSize, "Add Horizontal Cut Marker");
    Command1 = pictureButton(this, Screen::pixels(QRectF(600, 600, 495, 375)), "add_vertical",
                             IconSize, "Add Vertical Cut Marker");
    Command5 = pictureButton(this, Screen::pixels(QRectF(1200, 600, 495, 375)), "remove_horizontal",
                             IconSize, "Remove Horizontal Marker");
    Command7 = pictureButton(this, Screen::pixels(QRectF(1680, 600, 495, 375)), "remove_vertical",
                             IconSize, "Remove Vertical Marker");
    Command8 = pictureButton(this, Screen::pixels(QRectF(3120, 600, 495, 375)), "file_open",
                             IconSize, "Use New Image From File");
    Command9 = pictureButton(this, Screen::pixels(QRectF(3600, 600, 495, 375)), "about", IconSize,
                             "About Tilemond");
    connect(Command1, &QPushButton::clicked, this, &addVerticalMarker);
    connect(Command2, &QPushButton::clicked, this, &addHorizontalMarker);
    connect(Command7, &QPushButton::clicked, this, &removeVerticalMarker);
    connect(Command5, &QPushButton::clicked, this, &removeHorizontalMarker);
    connect(Command8, &QPushButton::clicked, this,
            [] { runAction(editorActions().useNewImageFromFile); });
    connect(Command9, &QPushButton::clicked, this, [] { runAction(editorActions().about); });
}

void FiltersForm::buildOptionsRow()
{
    // A line from (120, 1200) to (3960, 1200).
    Line1 = new QFrame(this);
    Line1->setGeometry(Screen::pixels(QRectF(120, 1200, 3840, 0)).adjusted(0, 0, 0, 1));
    Line1->setAutoFillBackground(true);
    setColour(Line1, QPalette::Window, Qt::black);

    chkTable = new QCheckBox("Cut Image Into Table Cells.", this);
    chkTable->setGeometry(Screen::pixels(QRectF(120, 1320, 2415, 255)));
    Label1 = new QLabel("Grid Color :", this);
    Label1->setGeometry(Screen::pixels(QRectF(2640, 1320, 1095, 255)));
    // Fonts here run a little wider than the ones the window was laid out for: let the
    // caption use the gap before "Grid Color :" rather than lose its last letters.
    chkTable->resize(std::min(chkTable->sizeHint().width(), Label1->x() - chkTable->x()),
                     chkTable->height());
    LColor = workSurface(this, Screen::pixels(QRectF(3600, 1320, 255, 255)), InitialMarkerColour);
    LColor->setFocusPolicy(Qt::TabFocus);
    LColor->installEventFilter(this);
    Command3 = new QPushButton(this);
    Command3->setGeometry(Screen::pixels(QRectF(3840, 1320, 255, 255)));
    connect(Command3, &QPushButton::clicked, this, [] { runAction(editorActions().chooseColour); });
}

void FiltersForm::buildButtonRow()
{
    btHelp = pictureButton(this, Screen::pixels(QRectF(120, 1800, 495, 375)), "help", QSize(27, 20),
                           "Tessora Help");
    Command4 = pictureButton(this, Screen::pixels(QRectF(960, 1800, 1575, 375)), "okay",
                             WideButtonPicture, {});
    Command6 = pictureButton(this, Screen::pixels(QRectF(2520, 1800, 1575, 375)), "cancel",
                             WideButtonPicture, {});
    connect(btHelp, &QPushButton::clicked, this, [] { runAction(editorActions().help); });
    connect(Command4, &QPushButton::clicked, this, [] { runAction(editorActions().split); });
    connect(Command6, &QPushButton::clicked, this, [] { runAction(editorActions().cancel); });
}

void FiltersForm::buildWorkSurfaces()
{
    const QColor surface = palette().color(QPalette::Button);
    Picture1 = workSurface(this, Screen::pixels(QRectF(0, 2640, 4200, 1215)), surface);
    Picture1->setScaleMode(ScaleUnit::Pixel);
    Picture1->setAutoSize(true);
    Picture2 = workSurface(this, Screen::pixels(QRectF(0, 150000, 5055, 4230)), surface);
    Picture3 = workSurface(this, Screen::pixels(QRectF(2475, 27090, 80280, 25830)), surface);
    Picture3->setScaleMode(ScaleUnit::Pixel);
}

void FiltersForm::orderTabs()
{
    QWidget* const order[] = {Command4, Command6, chkTable, Command3, LColor,   Command2,
                              Command1, Command5, Command7, Command8, Command9, btHelp};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace tilemond
