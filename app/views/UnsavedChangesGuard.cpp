#include "UnsavedChangesGuard.h"

#include "BrivetApp.h"
#include "DestructiveStyle.h"
#include "ErrorHandler.h"
#include "Localized.h"
#include "Log.h"
#include "MainWindow.h"
#include "ModelContext.h"

#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>


UnsavedChangesGuard::UnsavedChangesGuard(BrivetApp &app) : m_app(app)
{
    connect(&app.modelContext(), &ModelContext::saveFailed, this, &UnsavedChangesGuard::tellSaveFailed);
}

QString UnsavedChangesGuard::reason(const StoreWriteError &error)
{
    switch (error.reason()) {
    case StoreWriteError::Reason::diskFull:
        return localized("Brivet could not save your library: the disk is full.");
    case StoreWriteError::Reason::notWritable:
        return localized("Brivet could not save your library: it cannot write to the library folder.");
    case StoreWriteError::Reason::other:
        break;
    }
    return localized("Brivet could not save your library: %1").arg(error.detail());
}

void UnsavedChangesGuard::tellSaveFailed()
{
    const auto &failure = m_app.modelContext().saveFailure();
    // While quitting, the question says it all.
    if (!failure || m_question || m_quitting || m_attemptingBeforeQuit)
        return;
    // With no window the library's own line on standard error is all there is.
    MainWindow *window = m_app.frontWindow();
    if (!window)
        return;
    window->errorHandler().showError(reason(*failure) + QLatin1Char(' ')
                                     + localized("Your changes are kept and saved as soon as it can."));
    m_alertWindow = window;
    m_alertId = window->errorHandler().currentAlert()->id;
}

bool UnsavedChangesGuard::saveNow()
{
    const QScopedValueRollback attempting(m_attemptingBeforeQuit, true);
    try {
        m_app.modelContext().save();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void UnsavedChangesGuard::requestQuit()
{
    if (m_question) {
        m_question->activateWindow();
        return;
    }
    if (m_quitting || saveNow())
        quitNow();
    else
        ask();
}

bool UnsavedChangesGuard::allowsLastWindowToClose()
{
    if (m_quitting)
        return true;
    if (m_question)
        return false;
    if (saveNow())
        return true;
    ask();
    return false;
}

bool UnsavedChangesGuard::sessionEnding(bool mayInteract)
{
    if (m_quitting || saveNow())
        return true;
    if (mayInteract && m_app.frontWindow()) {
        ask();
        return false;
    }
    // The session ends without waiting for an answer: closing the windows must not
    // ask, and the exit status tells that changes were lost.
    m_quitting = true;
    const auto &failure = m_app.modelContext().saveFailure();
    brivetLog(u"Brivet: The session is ending and the library cannot be saved; the changes since the last save "
              u"are lost. %@",
              {failure ? failure->detail() : QString()});
    return true;
}

void UnsavedChangesGuard::ask()
{
    MainWindow *window = m_app.frontWindow();
    const auto &failure = m_app.modelContext().saveFailure();
    if (!window || !failure) {
        // Nobody to ask (or nothing left to ask about): quitting loses what cannot be written, and says so at exit.
        quitNow();
        return;
    }
    // The question repeats what the save alert said.
    if (m_alertWindow && m_alertWindow->errorHandler().currentAlert()
        && m_alertWindow->errorHandler().currentAlert()->id == m_alertId)
        m_alertWindow->errorHandler().setCurrentAlert(std::nullopt);

    auto *box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(localized("Quit Brivet"));
    box->setTextFormat(Qt::PlainText);
    box->setText(reason(*failure));
    box->setInformativeText(
        localized("You can try again once the cause is fixed. If you quit now, the changes since the last save are lost."));
    QPushButton *tryAgain = box->addButton(localized("Try Again"), QMessageBox::AcceptRole);
    tryAgain->setAccessibleName(localized("Try Again"));
    QPushButton *lose = box->addButton(localized("Quit and Lose Changes"), QMessageBox::DestructiveRole);
    lose->setAccessibleName(localized("Quit and Lose Changes"));
    DestructiveStyle::applyTo(lose);
    box->setDefaultButton(tryAgain);
    box->setWindowModality(Qt::WindowModal);
    connect(tryAgain, &QPushButton::clicked, this, [this] {
        m_question = nullptr;
        requestQuit();
    });
    connect(lose, &QPushButton::clicked, this, [this] {
        m_question = nullptr;
        quitNow();
    });
    m_question = box;
    box->open();
}

void UnsavedChangesGuard::quitNow()
{
    m_quitting = true;
    m_app.closeWindowsAndQuit();
}
