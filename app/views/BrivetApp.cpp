#include "BrivetApp.h"

#include "AppState.h"
#include "BrivetError.h"
#include "DataManager.h"
#include "LibrarySchema.h"
#include "Localized.h"
#include "MainWindow.h"
#include "ModelContainer.h"
#include "Pasteboard.h"
#include "StandardUpdaterController.h"
#include "Symbols.h"
#include "Workspace.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

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
      m_pasteboard(std::make_unique<Pasteboard>())
{
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

void BrivetApp::quit()
{
    for (MainWindow *window : windows())
        window->close();
    QCoreApplication::quit();
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
