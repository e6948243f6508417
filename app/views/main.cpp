#include "BrivetApp.h"

#include <QApplication>

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
    // Saves what the store still holds; changes it cannot write make the status non-zero.
    return BrivetApp::finish(std::move(brivet), status);
}
