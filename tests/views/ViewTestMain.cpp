// Runs the tests inside a QApplication on the offscreen platform, set up as Brivet sets
// itself up, so windows can be shown, driven and grabbed without a display; widget animations
// are off, as a desktop can have them.
#include "AnimationSwitchStyle.h"
#include "BrivetApp.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BrivetApp::configureApplication();
    // Tests look at where a change ends, not at how it gets there.
    AnimationSwitchStyle::install();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
