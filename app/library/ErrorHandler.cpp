#include "ErrorHandler.h"

#include "BrivetError.h"

ErrorHandler::ErrorHandler(QObject *parent) : QObject(parent) {}

void ErrorHandler::setCurrentAlert(std::optional<ErrorAlert> alert)
{
    m_currentAlert = std::move(alert);
    emit currentAlertChanged();
}

void ErrorHandler::showError(const std::exception &error)
{
    if (const auto *ours = dynamic_cast<const BrivetError *>(&error))
        showError(ours->description());
    else
        showError(QString::fromUtf8(error.what()));
}

void ErrorHandler::showError(const QString &message)
{
    setCurrentAlert(ErrorAlert{QUuid::createUuid(), message, {}});
}
