#include "ErrorAlertPresenter.h"

#include "ErrorHandler.h"
#include "Localized.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {
constexpr int messageLineLength = 50;
}

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
    // Desktops that attach a modal dialog to its window draw no title bar, so the
    // title is also the box's first line; the message below it stays as written.
    box->setTextFormat(Qt::PlainText);
    box->setText(localized("ErrorAlertTitle"));
    if (auto *title = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
    }
    box->setInformativeText(alert->message);
    if (auto *message = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"))) {
        message->setTextFormat(Qt::PlainText);
        // A short message on one line; a long one wraps at a comfortable width.
        const QFontMetrics metrics(message->font());
        message->setMinimumWidth(
            qMin(metrics.horizontalAdvance(alert->message) + 2, metrics.averageCharWidth() * messageLineLength));
    }
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
