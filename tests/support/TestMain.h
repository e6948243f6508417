#pragma once
// Tests that need an event loop create a QCoreApplication through this fixture helper.
#include <QCoreApplication>

inline QCoreApplication &testApp()
{
    static int argc = 1;
    static char name[] = "brivet-tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = QCoreApplication::instance()
        ? QCoreApplication::instance()
        : new QCoreApplication(argc, argv);
    return *app;
}
