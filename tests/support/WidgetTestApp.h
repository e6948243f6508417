#pragma once

#include <QApplication>

// Tests of widgets get the one QApplication of their process through this:
// the one a test main made, or else a new one. The offscreen platform is set
// by CTest.
inline QApplication &widgetTestApp()
{
    static int argc = 1;
    static char name[] = "brivet-widget-tests";
    static char *argv[] = {name, nullptr};
    static QApplication *app = qobject_cast<QApplication *>(QCoreApplication::instance())
        ? qobject_cast<QApplication *>(QCoreApplication::instance())
        : new QApplication(argc, argv);
    return *app;
}
