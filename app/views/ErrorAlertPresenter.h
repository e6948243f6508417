#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QUuid>

class ErrorHandler;
class QWidget;

// Shows a window's current alert as a window-modal message box: the title
// "ErrorAlertTitle", the message as written, one default "ConfirmLabel" button.
// Confirming runs the alert's dismiss action and clears the handler's alert; a
// newer alert replaces the box on screen.
class ErrorAlertPresenter : public QObject {
    Q_OBJECT
public:
    ErrorAlertPresenter(ErrorHandler &handler, QWidget *window);

    // The box on screen, or null.
    QMessageBox *alertBox() const { return m_box; }

private:
    void follow();
    void confirmed(const QUuid &id);

    ErrorHandler &m_handler;
    QWidget *m_window;
    QPointer<QMessageBox> m_box;
    QUuid m_shownId;
};
