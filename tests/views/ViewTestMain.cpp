// Runs the tests inside a QApplication on the offscreen platform, set up as Brivet sets
// itself up, so windows can be shown, driven and grabbed without a display.
#include "BrivetApp.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BrivetApp::configureApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
