#include "app/add_in_setup.h"
#include "app/commands.h"
#include "app/split_check.h"
#include "host/add_in_loader.h"
#include "host/host_window.h"
#include "layout/page_layout.h"
#include "platform/registry.h"
#include "view/engine_page_view.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <cstdio>

namespace tilemond::app {

int runDesktop(int& argc, char** argv, const std::optional<QString>& page)
{
    const bool chosePlatform = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!chosePlatform && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("tilemond: there is no display for the desktop host (DISPLAY is not set); "
                   "'tilemond split' works without one.\n",
                   stderr);
        return Exit::Failure;
    }
    nameApplication();
    QApplication application(argc, argv);
    auto host = std::make_shared<host::PageHost>(Registry::configFolder());
    if (page)
        if (const Outcome<void> opened = host->open(*page); !opened) {
            std::fprintf(stderr, "tilemond: %s\n", qPrintable(opened.error()));
            return Exit::Failure;
        }

    auto* view = new view::EnginePageView(*host);
    host::HostWindow window(*host, view);
    // Pictures are cut as the view shows them.
    host->setPictureLayout([view = QPointer(view)](const std::string& source, const QString& path,
                                                   const std::vector<std::string>& srcs) {
        return layout::laidOutPictures(
            source, path, srcs, view ? view->layoutWidth() : layout::kDefaultViewportWidth);
    });
    // After a split, whether the page shows the picture as before.
    window.setEditCheck([&pages = *host, view](const host::PageState& before) {
        return checkShownSplit(pages, before, view->layoutWidth()).said;
    });
    host::AddInLoader loader(host);
    const QStringList errors = connectAddIns(loader);
    window.rebuildMenus();
    window.show();
    if (!errors.isEmpty()) {
        std::fprintf(stderr, "tilemond: %s\n", qPrintable(errors.join('\n')));
        QMessageBox::warning(&window, QStringLiteral("Tilemond Page Host"), errors.join('\n'));
    }
    const int code = application.exec();
    loader.disconnectAll();
    return code;
}

} // namespace tilemond::app
