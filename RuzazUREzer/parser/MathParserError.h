#pragma once

#include "Math.h"

#include <QString>

#include <exception>

// Why a formula does not parse: a code to test against and a message that says what went
// wrong and where (character offset and the text around it).
class Math::ParserError : public std::exception {
public:
    enum class Code {
        unknownCommand,
        unknownEnvironment,
        missingCloseBrace,
        unexpectedCloseBrace,
        missingArgument,
        invalidDelimiter,
        missingRight,
        unexpectedRight,
        mismatchedEnvironment,
        doubleSuperscript,
        doubleSubscript,
        ambiguousFraction,
        invalidDimension,
        misplacedAlignment,
        misplacedLimits,
        tooDeeplyNested,
        tooLong,
    };

    ParserError(Code code, const QString &what, const QString &text, qsizetype offset);

    Code code() const { return m_code; }
    // 0-based offset in the formula text.
    qsizetype offset() const { return m_offset; }
    QString message() const { return m_message; }
    // What went wrong, without the place.
    QString description() const { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    Code m_code;
    qsizetype m_offset;
    QString m_description;
    QString m_message;
    QByteArray m_utf8;
};
