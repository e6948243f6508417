#include "ErrorAlertPresenter.h"

#include "ErrorHandler.h"
#include "Localized.h"

#include <QMessageBox>
#include <QPushButton>

ErrorAlertPresenter::ErrorAlertPresenter(ErrorHandler &handler, QWidget *window)
    : QObject(window), m_handler(handler), m_window(window)
{
    connect(&handler, &ErrorHandler::currentAlertChanged, this, &ErrorAlertPresenter::follow);
    follow();
}

void ErrorAlertPresenter::follow()
{
    const auto &alert = m_handler.currentAlert();
    if (alert && m_box && alert->id == m_shownId)
        return;
    if (m_box) {
        // Replaced or cleared elsewhere: close without treating it as a confirmation.
        m_box->disconnect(this);
        m_box->close();
        m_box->deleteLater();
        m_box = nullptr;
    }
    if (!alert)
        return;

    m_shownId = alert->id;
    auto *box = new QMessageBox(m_window);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(localized("ErrorAlertTitle"));
    box->setTextFormat(Qt::PlainText);
    box->setText(alert->message);
    QPushButton *confirm = box->addButton(localized("ConfirmLabel"), QMessageBox::AcceptRole);
    confirm->setAccessibleName(localized("ConfirmLabel"));
    box->setDefaultButton(confirm);
    box->setEscapeButton(confirm);
    box->setWindowModality(Qt::WindowModal);
    const QUuid id = alert->id;
    connect(box, &QMessageBox::finished, this, [this, id] { confirmed(id); });
    m_box = box;
    box->open();
}

void ErrorAlertPresenter::confirmed(const QUuid &id)
{
    if (m_box) {
        m_box->deleteLater();
        m_box = nullptr;
    }
    const auto alert = m_handler.currentAlert();
    if (!alert || alert->id != id)
        return;
    if (alert->dismissAction)
        alert->dismissAction();
    m_handler.setCurrentAlert(std::nullopt);
}
