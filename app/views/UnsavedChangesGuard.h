#pragma once

#include "StoreWriteError.h"

#include <QObject>
#include <QPointer>
#include <QUuid>

class BrivetApp;
class MainWindow;
class QMessageBox;

// Stands between the user and changes lost without a word. A save that starts
// failing is told once, in the error alert of the front window (the library's
// log line on standard error is all there is without one); the library retries by itself. Quitting (Quit,
// closing the last window, the session ending) makes one more attempt and,
// when that fails too, asks in the front window: "Try Again", or quit and lose
// the changes.
class UnsavedChangesGuard : public QObject {
    Q_OBJECT
public:
    explicit UnsavedChangesGuard(BrivetApp &app);

    // The sentence that says why the library could not be saved.
    static QString reason(const StoreWriteError &error);

    // Quits once the library is saved; otherwise asks.
    void requestQuit();
    // Whether the last window may close (which quits) now; if not, the question is asked.
    bool allowsLastWindowToClose();
    // The session is ending. True when it may end; false when the user is asked
    // first, for which the caller cancels the session's end. Without interaction
    // the changes that cannot be saved are given up, with a line on standard error.
    bool sessionEnding(bool mayInteract);

    // The quit question on screen, or null.
    QMessageBox *question() const { return m_question; }

private:
    bool saveNow();
    void ask();
    void tellSaveFailed();
    void quitNow();

    BrivetApp &m_app;
    QPointer<QMessageBox> m_question;
    bool m_quitting = false;
    bool m_attemptingBeforeQuit = false;
    QPointer<MainWindow> m_alertWindow;
    QUuid m_alertId;
};
