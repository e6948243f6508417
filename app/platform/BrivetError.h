#pragma once

#include <QString>
#include <exception>

// The base of every error that reaches the user: it carries the one readable
// description that an alert or an error line shows, and nothing else.
class BrivetError : public std::exception {
public:
    explicit BrivetError(QString description);

    // The text the user reads.
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};
