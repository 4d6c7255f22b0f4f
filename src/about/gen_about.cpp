#include "about/gen_about.h"

#include "about/launch_document.h"
#include "platform/screen_metrics.h"
#include "resources/artwork.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace tilemond {
namespace {

const QColor Background(176, 186, 193);

// The box was designed in "MS Sans Serif"; where it is missing a sans face stands in.
QFont designFont(double pointSize)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QPushButton* addButton(QWidget* box, const char* name, const QString& text, QRect geometry)
{
    auto* button = new QPushButton(text, box);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

void openMakerWebSite()
{
    LaunchDocument(QString::fromLatin1(MakerWebSite));
}

} // namespace

GenAbout::GenAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_banner(artwork(QStringLiteral("about_banner"), QSize(282, 82)))
{
    setObjectName(QStringLiteral("GenAbout"));
    setWindowTitle(QStringLiteral("About Tessora From Korvi Media."));
    setFont(designFont(8.25));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Background);
    setPalette(palette);
    const QSize client = Screen::pixels(QRectF(0, 0, 4200, 3270)).size();
    setFixedSize(client);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(Screen::pixels(QRectF(15, 1230, 4200, 0)).adjusted(0, 0, 0, 1));
    line->setAutoFillBackground(true);
    QPalette ink = line->palette();
    ink.setColor(QPalette::Window, Qt::black);
    ink.setColor(QPalette::WindowText, Qt::black);
    line->setPalette(ink);

    auto* product = new QLabel(QStringLiteral("Tilemond"), this);
    product->setObjectName(QStringLiteral("Label1"));
    product->setGeometry(Screen::pixels(QRectF(0, 1320, 4215, 375)));
    product->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    product->setFont(designFont(13.5));

    // The logo lies under the credit line, so it is made first.
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image2"));
    logo->setGeometry(Screen::pixels(QRectF(-120, 2280, 1200, 975)));
    logo->setPixmap(artwork(QStringLiteral("about_logo"), QSize(80, 65)));

    m_credit =
        new QLabel(QStringLiteral("Tilemond 1.0 by Korvi Media.\nVisit us on the web."), this);
    m_credit->setObjectName(QStringLiteral("Label18"));
    m_credit->setGeometry(Screen::pixels(QRectF(600, 2040, 3015, 735)));
    m_credit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_credit->setWordWrap(true);
    m_credit->setPalette(ink);
    m_credit->setCursor(Qt::PointingHandCursor);
    m_credit->installEventFilter(this);

    QPushButton* onTheWeb = addButton(this, "Command2", QStringLiteral("On The Web"),
                                      Screen::pixels(QRectF(1200, 2880, 1455, 375)));
    QPushButton* closeButton = addButton(this, "Command1", QStringLiteral("Close"),
                                         Screen::pixels(QRectF(2760, 2880, 1455, 375)));
    connect(onTheWeb, &QPushButton::clicked, this, &openMakerWebSite);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(closeButton, onTheWeb);
    closeButton->setFocus();
}

void GenAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter(this).drawPixmap(0, 0, m_banner);
}

bool GenAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_credit && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_credit->rect().contains(mouse->position().toPoint()))
            openMakerWebSite();
    }
    return QDialog::eventFilter(watched, event);
}

void showGenAbout(QWidget* parent)
{
    GenAbout box(parent);
    box.exec();
}

} // namespace tilemond
