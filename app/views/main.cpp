#include "BrivetApp.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    BrivetApp::configureApplication();

    std::unique_ptr<BrivetApp> brivet;
    try {
        brivet = std::make_unique<BrivetApp>();
    } catch (const std::exception &error) {
        BrivetApp::reportFatal(BrivetApp::fatalMessage(error));
        return 1;
    }
    brivet->newWindow();
    const int status = application.exec();
    // What cannot be written now is lost, and the exit status must not hide it.
    const bool saved = brivet->saveBeforeExit();
    brivet.reset();
    if (!saved) {
        std::fputs("Brivet: Quit with changes that could not be saved; they are lost.\n", stderr);
        return status != 0 ? status : 1;
    }
    return status;
}
