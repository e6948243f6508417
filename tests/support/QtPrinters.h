#pragma once

// Readable gtest output for the Qt types that tests compare.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <optional>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray &b, std::ostream *os) { *os << '"' << b.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '[' << l.join("\", \"").toStdString() << ']'; }
inline void PrintTo(const QUrl &u, std::ostream *os) { *os << '<' << u.toString().toStdString() << '>'; }
inline void PrintTo(const QDateTime &d, std::ostream *os) { *os << d.toString(Qt::ISODate).toStdString(); }
inline void PrintTo(const QUuid &u, std::ostream *os) { *os << u.toString().toStdString(); }
