#pragma once
// Shared helpers of the formula tests.
#include <QString>

#include <ostream>

// gtest prints QString as readable text instead of raw bytes.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE
