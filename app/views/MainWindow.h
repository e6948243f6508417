#pragma once

#include "ErrorHandler.h"
#include "ViewEnvironment.h"

#include <QMainWindow>

class AppView;
class BrivetApp;
class ErrorAlertPresenter;
class QMenu;

// One main window: its own search text and error handler, everything else
// shared with the other windows through the application.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize minimumWindowSize{1200, 600};

    explicit MainWindow(BrivetApp &app, QWidget *parent = nullptr);
    ~MainWindow() override;

    ViewEnvironment &environment() { return m_env; }
    ErrorHandler &errorHandler() { return m_errorHandler; }
    AppView *appView() const { return m_appView; }
    ErrorAlertPresenter *alertPresenter() const { return m_alertPresenter; }

    void showAbout();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    // The application-information group of the Help menu continues here with the
    // update command, right after "About Brivet".
    void addUpdateCommand(QMenu *menu);

    BrivetApp &m_app;
    ErrorHandler m_errorHandler;
    ViewEnvironment m_env;
    AppView *m_appView;
    ErrorAlertPresenter *m_alertPresenter;
};
