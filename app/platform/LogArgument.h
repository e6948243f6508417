#pragma once

#include <QString>
#include <concepts>

// One argument of a log format. Formats use "%@" for a text and "%d" for an
// integer; the argument remembers which it is so that either renders sensibly
// even when a format and its arguments disagree.
class LogArgument {
public:
    LogArgument(const QString &text) : m_text(text), m_isText(true) {}
    LogArgument(const char *text) : m_text(QString::fromUtf8(text)), m_isText(true) {}
    template<std::integral Integer>
        requires(!std::same_as<Integer, bool>)
    LogArgument(Integer number) : m_text(QString::number(number)), m_isText(false) {}

    const QString &text() const { return m_text; }
    bool isText() const { return m_isText; }

private:
    QString m_text;
    bool m_isText;
};
