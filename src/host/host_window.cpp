#include "host/host_window.h"

#include "host/command_bars.h"
#include "host/page_view.h"
#include "host/save_page_dialog.h"
#include "pictures/picture_format_setting.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

#include <map>

namespace tilemond::host {
namespace {

const QString HostTitle = QStringLiteral("Tilemond Page Host");

QMessageBox::StandardButton askWithDialog(QWidget* parent, const QString& page)
{
    return QMessageBox::question(
        parent, HostTitle, QStringLiteral("Save the changes to %1?").arg(page),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

// The desktop's usual keys for the host's own commands; where the desktop names none (Save As,
// on some), the common one.
QList<QKeySequence> standardKeys(const std::string& caption)
{
    static const std::map<std::string, std::pair<QKeySequence::StandardKey, const char*>> keys{
        {"Open", {QKeySequence::Open, "Ctrl+O"}},
        {"Save", {QKeySequence::Save, "Ctrl+S"}},
        {"Save As", {QKeySequence::SaveAs, "Ctrl+Shift+S"}},
        {"Quit", {QKeySequence::Quit, "Ctrl+Q"}},
        {"Undo", {QKeySequence::Undo, "Ctrl+Z"}},
        {"Redo", {QKeySequence::Redo, "Ctrl+Shift+Z"}},
        {"Copy", {QKeySequence::Copy, "Ctrl+C"}},
        {"Paste", {QKeySequence::Paste, "Ctrl+V"}}};
    const auto found = keys.find(caption);
    if (found == keys.end())
        return {};
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(found->second.first);
    return bindings.isEmpty() ? QList<QKeySequence>{QKeySequence(found->second.second)} : bindings;
}

// The caption with an Alt+letter of its own among `taken`: its first letter still free.
QString withMnemonic(const std::string& caption, QString& taken)
{
    QString text = QString::fromStdString(caption).replace('&', QLatin1String("&&"));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar letter = text[i].toLower();
        if (letter.isLetter() && !taken.contains(letter)) {
            taken += letter;
            return text.insert(i, '&');
        }
    }
    return text;
}

CommandBarControlPtr fileCommand(PageHost& host, std::string_view caption)
{
    const auto menuBar = host.commandBars()->item("Menu Bar");
    const auto file = menuBar ? menuBar->controls()->item("File") : nullptr;
    return file ? file->controls()->item(caption) : nullptr;
}

} // namespace

HostWindow::HostWindow(PageHost& host, PageView* view, QWidget* parent)
    : QMainWindow(parent), m_host(host), m_view(view),
      m_askToSave([this](const QString& page) { return askWithDialog(this, page); })
{
    setCentralWidget(m_view);
    resize(900, 700);
    m_host.setPictureFormat(rememberedPictureFormat(m_host.configFolder()));
    m_host.setRefreshHandler([this] { addInRefreshed(); });
    connect(m_view, &PageView::selectionChanged, this, &HostWindow::updateStatus);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this, wasActive = false](Qt::ApplicationState state) mutable {
                const bool active = state == Qt::ApplicationActive;
                if (active == wasActive)
                    return;
                wasActive = active;
                active ? m_host.raiseWindowActivate() : m_host.raiseWindowDeactivate();
            });
    connectFileCommands();
    rebuildMenus();
    refreshPage();
    // F10 opens the menus, as Alt and a menu's letter do.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().first());
    });
}

HostWindow::~HostWindow()
{
    m_host.setRefreshHandler(nullptr);
}

void HostWindow::connectFileCommands()
{
    auto subscribe = [this](std::string_view caption, auto handler) {
        if (const auto control = fileCommand(m_host, caption))
            m_subscriptions.push_back(control->onClick(handler));
    };
    subscribe("Open", [this](CommandBarControl&, bool& cancelDefault) {
        cancelDefault = !settleUnsavedChanges();
    });
    subscribe("Save As", [this](CommandBarControl&, bool&) { saveAs(); });
    subscribe("Quit", [this](CommandBarControl&, bool& cancelDefault) {
        cancelDefault = true; // closing the window asks first, then quits
        close();
    });
}

void HostWindow::rebuildMenus()
{
    auto* menus = new QMenuBar(this);
    setMenuBar(menus); // the old bar goes with its menus
    const auto bar = m_host.commandBars()->item("Menu Bar");
    const auto controls = bar ? std::dynamic_pointer_cast<HostControls>(bar->controls()) : nullptr;
    if (!controls)
        return;
    QString letters;
    for (const auto& control : controls->list()) {
        if (!control->visible() || control->type() != ControlType::Popup)
            continue;
        QMenu* menu = menus->addMenu(withMnemonic(control->caption(), letters));
        fillMenu(*menu, control->controls());
    }
}

void HostWindow::fillMenu(QMenu& menu, const CommandBarControlsPtr& controls)
{
    const auto hostControls = std::dynamic_pointer_cast<HostControls>(controls);
    if (!hostControls)
        return;
    QString letters;
    for (const auto& control : hostControls->list()) {
        if (!control->visible())
            continue;
        if (control->beginGroup() && !menu.isEmpty())
            menu.addSeparator();
        const QString caption = withMnemonic(control->caption(), letters);
        if (control->type() == ControlType::Popup) {
            fillMenu(*menu.addMenu(caption), control->controls());
            continue;
        }
        // The menu may be rebuilt by the command it runs: act once the click is over.
        QAction* action = menu.addAction(caption, this, [this, control] {
            QMetaObject::invokeMethod(
                this, [this, control] { execute(control); }, Qt::QueuedConnection);
        });
        if (control->origin() == ControlOrigin::BuiltIn)
            action->setShortcuts(standardKeys(control->caption()));
    }
}

void HostWindow::execute(const CommandBarControlPtr& control)
{
    control->Execute();
    rebuildMenus();
    refreshPage();
}

void HostWindow::refreshPage()
{
    m_view->refresh();
    updateTitle();
    updateStatus();
}

void HostWindow::addInRefreshed()
{
    PageState before = std::move(m_shown);
    refreshPage();
    if (!m_checkEdit || before.picture < 0 || before.source == m_host.source())
        return;
    statusBar()->showMessage(QStringLiteral("Checking how the page shows the picture..."));
    // Once the add-in's own work is over.
    QTimer::singleShot(0, this, [this, before = std::move(before)] {
        statusBar()->showMessage(m_checkEdit(before));
    });
}

void HostWindow::updateStatus()
{
    m_shown = m_host.state();
    const int picture = m_shown.picture;
    statusBar()->showMessage(picture < 0 ? QStringLiteral("No picture selected")
                                         : QStringLiteral("Picture %1 selected").arg(picture));
}

void HostWindow::saveAs()
{
    SavePageDialog dialog(this, m_host.pagePath(), m_host.pictureFormat());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().value(0).isEmpty())
        return;
    m_host.setPictureFormat(dialog.pictureFormat());
    rememberPictureFormat(m_host.configFolder(), dialog.pictureFormat());
    const Outcome<void> saved = m_host.saveAs(dialog.selectedFiles().value(0));
    tellFailure(saved);
    if (saved && !m_host.leftBehind().isEmpty())
        QMessageBox::information(this, HostTitle, m_host.leftBehind().join(QLatin1Char('\n')));
}

bool HostWindow::settleUnsavedChanges()
{
    if (!m_host.hasUnsavedChanges())
        return true;
    switch (m_askToSave(QFileInfo(m_host.pagePath()).fileName())) {
    case QMessageBox::Save: {
        const Outcome<void> saved = m_host.save();
        tellFailure(saved);
        return saved.has_value();
    }
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void HostWindow::closeEvent(QCloseEvent* event)
{
    if (!settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    // The add-in's tool windows do not keep the application running.
    QCoreApplication::quit();
}

void HostWindow::tellFailure(const Outcome<void>& done)
{
    if (!done)
        QMessageBox::warning(this, HostTitle, done.error());
    updateTitle();
}

void HostWindow::updateTitle()
{
    const QString page = m_host.pagePath().isEmpty() ? QStringLiteral("(no page)")
                                                     : QFileInfo(m_host.pagePath()).fileName();
    setWindowTitle(
        QStringLiteral("%1%2 - %3")
            .arg(page, m_host.hasUnsavedChanges() ? QStringLiteral("*") : QString(), HostTitle));
}

} // namespace tilemond::host
