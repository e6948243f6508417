#include "BrivetApp.h"

#include "AppState.h"
#include "BrivetError.h"
#include "DataManager.h"
#include "LibrarySchema.h"
#include "Localized.h"
#include "Log.h"
#include "MainWindow.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "Pasteboard.h"
#include "StandardUpdaterController.h"
#include "Symbols.h"
#include "UnsavedChangesGuard.h"
#include "Workspace.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QSessionManager>

#include <cstdio>

void BrivetApp::configureApplication()
{
    // No organisation: the library lands in $XDG_DATA_HOME/Brivet, the settings in $XDG_CONFIG_HOME/Brivet.
    QCoreApplication::setApplicationName(QStringLiteral("Brivet"));
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationVersion(QStringLiteral(BRIVET_VERSION));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Brivet"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quendo.Brivet"));
    installSymbolTheme();
    // Our own drawing, built in: looking it up in the icon themes first would cost start-up time.
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/brivet/com.quendo.Brivet.svg")));
    installTranslations();
}

BrivetApp::BrivetApp(const ModelConfiguration &configuration)
    : m_container(std::make_unique<ModelContainer>(LibrarySchema::schema(), configuration)),
      m_appState(std::make_unique<AppState>()),
      m_updaterController(std::make_unique<StandardUpdaterController>(true, Workspace::shared())),
      m_dataManager(std::make_unique<DataManager>(m_container->mainContext())),
      m_pasteboard(std::make_unique<Pasteboard>()),
      m_unsavedChangesGuard(std::make_unique<UnsavedChangesGuard>(*this))
{
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &session) {
            // Asking whether interaction is allowed is what claims it.
            const bool mayInteract = session.allowsInteraction();
            if (!m_unsavedChangesGuard->sessionEnding(mayInteract))
                session.cancel();
            if (mayInteract)
                session.release();
        });
    }
}

BrivetApp::~BrivetApp()
{
    // The windows' views hold references to what follows; they go first.
    for (const QPointer<MainWindow> &window : std::as_const(m_windows))
        delete window.data();
}

ModelContext &BrivetApp::modelContext()
{
    return m_container->mainContext();
}

Workspace &BrivetApp::workspace()
{
    return Workspace::shared();
}

MainWindow *BrivetApp::newWindow()
{
    auto *window = new MainWindow(*this);
    m_windows.append(window);
    window->show();
    return window;
}

MainWindow *BrivetApp::openWindowForLaunch(const QByteArray &activationToken)
{
    // A Wayland compositor lets a window take the focus only with the token it gave to
    // the launch the user just made; the platform reads it from the environment when the
    // window is shown and activated. (On X11 the platform takes a start-up id only when
    // the process starts; raising and activating is what is left there.)
    if (!activationToken.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    MainWindow *window = newWindow();
    window->raise();
    window->activateWindow();
    return window;
}

QList<MainWindow *> BrivetApp::windows() const
{
    QList<MainWindow *> open;
    for (const QPointer<MainWindow> &window : m_windows) {
        if (window)
            open.append(window);
    }
    return open;
}

MainWindow *BrivetApp::frontWindow() const
{
    const QList<MainWindow *> open = windows();
    // The active window may be a dialog of a main window.
    for (QWidget *widget = QApplication::activeWindow(); widget; widget = widget->parentWidget()) {
        if (auto *window = qobject_cast<MainWindow *>(widget); window && open.contains(window) && window->isVisible())
            return window;
    }
    for (auto newest = open.crbegin(); newest != open.crend(); ++newest) {
        if ((*newest)->isVisible())
            return *newest;
    }
    return nullptr;
}

void BrivetApp::quit()
{
    m_unsavedChangesGuard->requestQuit();
}

void BrivetApp::quitWithoutAsking()
{
    m_unsavedChangesGuard->sessionEnding(false);
    closeWindowsAndQuit();
}

void BrivetApp::closeWindowsAndQuit()
{
    for (MainWindow *window : windows())
        window->close();
    QCoreApplication::quit();
}

int BrivetApp::finish(std::unique_ptr<BrivetApp> app, int loopStatus)
{
    bool saved = true;
    try {
        app->modelContext().save();
    } catch (const std::exception &) {
        saved = false;
    }
    app.reset();
    if (saved)
        return loopStatus;
    brivetLog(u"Brivet: Quit with changes that could not be saved; they are lost.");
    return loopStatus != 0 ? loopStatus : 1;
}

QString BrivetApp::fatalMessage(const std::exception &error)
{
    const auto *ours = dynamic_cast<const BrivetError *>(&error);
    return QStringLiteral("Could not create ModelContainer: ") +
           (ours ? ours->description() : QString::fromUtf8(error.what()));
}

void BrivetApp::reportFatal(const QString &message)
{
    std::fputs(message.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    // Started from the desktop menu, nobody would ever read standard error.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland")))
        QMessageBox::critical(nullptr, QStringLiteral("Brivet"), message);
}
