#pragma once

#include <QApplication>

// Tests of widgets make the one QApplication of their process through this,
// before anything else needs it. The offscreen platform is set by CTest.
inline QApplication &widgetTestApp()
{
    static int argc = 1;
    static char name[] = "brivet-widget-tests";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}
