#pragma once

#include "LibrarySchema.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class AppState;
class DataManager;
class MainWindow;
class ModelContainer;
class ModelContext;
class Pasteboard;
class QApplication;
class StandardUpdaterController;
class UnsavedChangesGuard;
class Workspace;

// The application: the objects that live as long as the process, made in this
// order (store, window state, updater, data manager), and its main windows, which all
// share them.
class BrivetApp : public QObject {
    Q_OBJECT
public:
    // Names, icon, string table and icon theme of the application; call once,
    // right after the QApplication exists and before anything reads a folder.
    static void configureApplication();

    // Opens the store of the configuration (by default the user's library).
    // Throws the store's BrivetError when it cannot be opened; then nothing else is made.
    explicit BrivetApp(const ModelConfiguration &configuration = LibrarySchema::configuration());
    // Closes the windows first, then saves what the store still holds.
    ~BrivetApp() override;

    ModelContainer &modelContainer() { return *m_container; }
    ModelContext &modelContext();
    AppState &appState() { return *m_appState; }
    StandardUpdaterController &updaterController() { return *m_updaterController; }
    DataManager &dataManager() { return *m_dataManager; }
    Workspace &workspace();
    Pasteboard &pasteboard() { return *m_pasteboard; }

    // A new main window, shown.
    MainWindow *newWindow();
    // The window a later launch of Brivet asked for: a new window, brought to the front.
    // activationToken: the token the desktop gave that launch, possibly empty.
    MainWindow *openWindowForLaunch(const QByteArray &activationToken);
    // The open windows, oldest first.
    QList<MainWindow *> windows() const;

    // The window for what concerns the whole application: the active main
    // window, else the newest one open; null when none is.
    MainWindow *frontWindow() const;

    // Closes every window and leaves the event loop, once the library is saved or
    // the user agreed to lose what cannot be saved.
    void quit();
    // Quits at once, without asking: the session or the system is ending the process
    // and will not wait for an answer. What cannot be saved is given up, with a line
    // on standard error and a non-zero exit status (see finish()).
    void quitWithoutAsking();
    UnsavedChangesGuard &unsavedChangesGuard() { return *m_unsavedChangesGuard; }

    // Ends the application once its event loop is over: writes what the library
    // still holds and closes it. Returns the exit status: the loop's, but never 0
    // when changes could not be written (they are lost, and standard error says so).
    static int finish(std::unique_ptr<BrivetApp> app, int loopStatus);

    // The text a failed start prints before exiting.
    static QString fatalMessage(const std::exception &error);
    // Prints it to standard error and, on a real display, shows it in a message box.
    static void reportFatal(const QString &message);

private:
    friend class UnsavedChangesGuard;
    // Quits without asking: for the guard, once it has saved or the user agreed.
    void closeWindowsAndQuit();

    std::unique_ptr<ModelContainer> m_container;
    std::unique_ptr<AppState> m_appState;
    std::unique_ptr<StandardUpdaterController> m_updaterController;
    std::unique_ptr<DataManager> m_dataManager;
    std::unique_ptr<Pasteboard> m_pasteboard;
    QList<QPointer<MainWindow>> m_windows;
    std::unique_ptr<UnsavedChangesGuard> m_unsavedChangesGuard;
};
