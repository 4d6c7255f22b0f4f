#pragma once

#include "host/page_host.h"

#include <QMainWindow>
#include <QMessageBox>

#include <functional>

class QMenu;

namespace tilemond::host {

class PageView;

// The page host's desktop window: a menu bar built from the "Menu Bar" command bar (File, Edit
// and the add-ins' popups after them, each with an Alt+letter, the host's own commands with the
// desktop's usual keys), the page view, and a status bar that says which picture is selected. The
// host's window activation events follow the application's activation, and unsaved changes are
// asked about before the page goes.
class HostWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Save, Discard or Cancel.
    using SaveQuestion = std::function<QMessageBox::StandardButton(const QString& page)>;

    // The window shows the page in `view`, and owns it.
    HostWindow(PageHost& host, PageView* view, QWidget* parent = nullptr);
    ~HostWindow() override;

    // Builds the menus afresh from the command bars, as add-ins change them.
    void rebuildMenus();
    // Shows the open page again.
    void refreshPage();
    PageView& pageView() { return *m_view; }
    // Says how the page shows a picture an add-in changed (given the page as it was with the
    // picture selected), for the status bar; asked once the add-in has refreshed the page.
    using EditCheck = std::function<QString(const PageState& before)>;
    void setEditCheck(EditCheck check) { m_checkEdit = std::move(check); }
    // Replaces the question asked about unsaved changes (tests answer it themselves).
    void setSaveQuestion(SaveQuestion question) { m_askToSave = std::move(question); }
    // True when the page may go: nothing unsaved, saved now, or discarded.
    bool settleUnsavedChanges();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectFileCommands();
    void fillMenu(QMenu& menu, const CommandBarControlsPtr& controls);
    void execute(const CommandBarControlPtr& control);
    void saveAs();
    void tellFailure(const Outcome<void>& done);
    void updateTitle();
    void updateStatus();
    void addInRefreshed();

    PageHost& m_host;
    PageView* m_view;
    SaveQuestion m_askToSave;
    EditCheck m_checkEdit;
    PageState m_shown; // the page as the status bar last spoke of it
    std::vector<Connection> m_subscriptions;
};

} // namespace tilemond::host
