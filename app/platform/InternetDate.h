#pragma once

#include <QDateTime>
#include <QByteArrayView>
#include <QStringView>
#include <optional>

// The strict internet date-time form of RFC 3339 that the search services
// send: "2023-01-05T17:42:11Z" or "1995-01-23T00:00:00-05:00". Exactly
// four-digit year, month, day, the letter T, hours, minutes and seconds, and a
// zone (Z or +hh:mm / -hh:mm). Fractional seconds, a missing zone, a missing
// time, lowercase letters, out-of-range fields and surrounding spaces are all
// refused, the same on every machine whatever its locale or time zone.
class InternetDate {
public:
    // The instant in UTC, or nothing when the text is not of that form.
    static std::optional<QDateTime> parse(QStringView text);
    // The same over bytes, without decoding them first (the form is ASCII).
    static std::optional<QDateTime> parse(QByteArrayView text);
};
