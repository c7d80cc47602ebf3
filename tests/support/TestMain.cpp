// Test entry: a QApplication for every test (offscreen unless a display is
// given), and settings and user files kept away from the real user's.
#include "common/Application.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            listing = true;
    if (listing)
        return RUN_ALL_TESTS();

    // Each test program keeps its settings and files in a folder of its own.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "No temporary folder for the test's settings: %s\n",
                     qPrintable(home.errorString()));
        return EXIT_FAILURE;
    }
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    // The system's folders too: a school's settings in the machine's own
    // /etc/xdg must not reach the tests.
    qputenv("XDG_CONFIG_DIRS", (home.path() + "/system-config").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own test mode is not used: it sends every test program to the one
    // ~/.qttest folder, where programs running side by side would share (and
    // clear) each other's settings.
    brv::TBrevalisApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
