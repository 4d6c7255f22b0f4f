// Runner of the desktop tests: an X server and openbox of their own, and a QApplication on it.
#include "virtual_desktop.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

int main(int argc, char** argv)
{
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    std::unique_ptr<tilemond::VirtualDesktop> desktop;
    if (!listing) {
        desktop = std::make_unique<tilemond::VirtualDesktop>();
        if (desktop->display().empty()) {
            std::fprintf(stderr, "desktop tests: %s\n", desktop->error().c_str());
            return 1;
        }
    }
    qputenv("QT_QPA_PLATFORM", listing ? "offscreen" : "xcb");
    int result = 0;
    {
        // The browser engine, as the program starts it.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        if (::geteuid() == 0)
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
