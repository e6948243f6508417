#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// A date in the user's locale with an abbreviated month and no weekday or time, e.g.
// "Jan 5, 2024" or "5. Jan. 2024", on the user's calendar day (the moment is shown in local time).
QString abbreviatedDate(const QDateTime &moment, const QLocale &locale = QLocale());
