#pragma once

#include "ErrorAlert.h"

#include <QObject>

#include <exception>
#include <optional>

// The one place through which a window's failures reach the user: the newest error
// becomes the window's current alert, replacing any earlier one. One per window,
// on the GUI thread.
class ErrorHandler : public QObject {
    Q_OBJECT
public:
    explicit ErrorHandler(QObject *parent = nullptr);

    const std::optional<ErrorAlert> &currentAlert() const { return m_currentAlert; }
    // Notifies on every write; the alert clears it when the user confirms.
    virtual void setCurrentAlert(std::optional<ErrorAlert> alert);

    // A new alert with the error's readable description (our errors' own text,
    // otherwise what() as UTF-8) and no dismiss action. Never throws.
    virtual void showError(const std::exception &error);
    // The same for a message that is already readable.
    virtual void showError(const QString &message);

signals:
    void currentAlertChanged();

private:
    std::optional<ErrorAlert> m_currentAlert;
};
