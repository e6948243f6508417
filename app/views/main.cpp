#include "BrivetApp.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"

#include <QApplication>

#include <memory>

int main(int argc, char **argv)
{
    // Before the platform integration takes it from the environment.
    const QByteArray activationToken = SingleInstance::launchActivationToken();
    QApplication application(argc, argv);
    BrivetApp::configureApplication();
    // Ended from outside (the session, the service manager, Ctrl+C): save first, and let
    // the exit status say when that was not possible. Taken from here on, so that a signal
    // that comes while the library is being opened waits for the event loop.
    TerminationSignals termination;

    // One Brivet per library: a second launch opens its window in the running one.
    SingleInstance instance(LibrarySchema::configuration().filePath());
    switch (instance.start(activationToken)) {
    case SingleInstance::Outcome::Running:
        break;
    case SingleInstance::Outcome::HandedOver:
        return 0;
    case SingleInstance::Outcome::NotAnswering:
        BrivetApp::reportFatal(SingleInstance::notAnsweringMessage());
        return 1;
    }

    std::unique_ptr<BrivetApp> brivet;
    try {
        brivet = std::make_unique<BrivetApp>();
    } catch (const std::exception &error) {
        BrivetApp::reportFatal(BrivetApp::fatalMessage(error));
        return 1;
    }
    QObject::connect(&instance, &SingleInstance::windowRequested, brivet.get(), &BrivetApp::openWindowForLaunch);
    QObject::connect(&termination, &TerminationSignals::received, brivet.get(), &BrivetApp::quitWithoutAsking);
    brivet->newWindow();
    const int status = application.exec();
    // Saves what the store still holds (changes it cannot write make the status non-zero);
    // the library's lock goes only after that, with the instance.
    return BrivetApp::finish(std::move(brivet), status);
}
