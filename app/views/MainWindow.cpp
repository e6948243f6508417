#include "MainWindow.h"

#include "AppUpdaterView.h"
#include "AppView.h"
#include "BrivetApp.h"
#include "ErrorAlertPresenter.h"
#include "Localized.h"
#include "SearchField.h"
#include "StandardUpdaterController.h"
#include "UnsavedChangesGuard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>

#include <algorithm>

MainWindow::MainWindow(BrivetApp &app, QWidget *parent)
    : QMainWindow(parent), m_app(app),
      m_env{app.modelContext(), app.appState(), app.dataManager(), m_errorHandler, app.workspace(), app.pasteboard()},
      m_appView(new AppView(m_env, this)), m_alertPresenter(new ErrorAlertPresenter(m_errorHandler, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(localized("Brivet"));
    setMinimumSize(minimumWindowSize);
    resize(minimumWindowSize);
    setCentralWidget(m_appView);

    auto *toolBar = addToolBar(localized("Toolbar"));
    toolBar->setObjectName(QStringLiteral("mainToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->toggleViewAction()->setEnabled(false);
    auto *spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);
    toolBar->addWidget(m_appView->searchField());
    buildMenus();
}

MainWindow::~MainWindow()
{
    // The views hold the environment, whose error handler is a member of this
    // window: they go before the members do, not with the base class's children.
    delete m_alertPresenter;
    delete takeCentralWidget();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the last window quits, which must not drop changes that cannot be saved unasked.
    const QList<MainWindow *> open = m_app.windows();
    const bool last = std::none_of(open.cbegin(), open.cend(),
                                   [this](MainWindow *other) { return other != this && other->isVisible(); });
    if (last && !m_app.unsavedChangesGuard().allowsLastWindowToClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

namespace {

// The desktop's keys for a standard command; the common key where the platform's
// key scheme has none (Quit has none in some).
QList<QKeySequence> standardShortcuts(QKeySequence::StandardKey key, const char *common)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    const QKeySequence fallback(QString::fromLatin1(common));
    if (!keys.contains(fallback))
        keys.append(fallback);
    return keys;
}

} // namespace

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(localized("&File"));
    QAction *newWindow = file->addAction(localized("New Window"), &m_app, [this] { m_app.newWindow(); });
    newWindow->setShortcuts(standardShortcuts(QKeySequence::New, "Ctrl+N"));
    QAction *close = file->addAction(localized("Close Window"), this, &QWidget::close);
    close->setShortcuts(standardShortcuts(QKeySequence::Close, "Ctrl+W"));
    file->addSeparator();
    QAction *quit = file->addAction(localized("Quit"), &m_app, &BrivetApp::quit);
    quit->setShortcuts(standardShortcuts(QKeySequence::Quit, "Ctrl+Q"));
    quit->setMenuRole(QAction::QuitRole);

    QMenu *help = menuBar()->addMenu(localized("&Help"));
    QAction *about = help->addAction(localized("About Brivet"), this, &MainWindow::showAbout);
    about->setMenuRole(QAction::AboutRole);
    addUpdateCommand(help);
}

void MainWindow::addUpdateCommand(QMenu *menu)
{
    // The command follows the one updater of the application; the menu owns its view.
    auto *command = new AppUpdaterView(*m_app.updaterController().updater(), menu);
    menu->addAction(command->action());
}

void MainWindow::showAbout()
{
    auto *box = new QMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(localized("About Brivet"));
    box->setIconPixmap(QApplication::windowIcon().pixmap(64));
    box->setTextFormat(Qt::PlainText);
    box->setText(localized("Brivet %1").arg(QApplication::applicationVersion()));
    box->setInformativeText(
        localized("Finds scientific papers on arXiv and NASA ADS and keeps them in your own lists, with their PDFs and notes."));
    box->setStandardButtons(QMessageBox::Ok);
    box->button(QMessageBox::Ok)->setText(localized("ConfirmLabel"));
    box->setWindowModality(Qt::WindowModal);
    box->open();
}
