#include "InternetDate.h"

#include <QDate>
#include <QTime>
#include <QTimeZone>

namespace {

// Reads `count` ASCII digits at `at`; -1 when any is not a digit.
int digits(QStringView text, qsizetype at, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[at + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

std::optional<QDateTime> InternetDate::parse(QStringView text)
{
    // yyyy-MM-ddTHH:mm:ss then Z (20 characters) or ±hh:mm (25 characters).
    if (text.size() != 20 && text.size() != 25)
        return std::nullopt;
    if (text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' || text[16] != u':')
        return std::nullopt;
    const int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
    if (year < 1 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    if (!QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return std::nullopt;

    int offsetSeconds = 0;
    if (text.size() == 20) {
        if (text[19] != u'Z')
            return std::nullopt;
    } else {
        const QChar sign = text[19];
        if ((sign != u'+' && sign != u'-') || text[22] != u':')
            return std::nullopt;
        const int offsetHours = digits(text, 20, 2), offsetMinutes = digits(text, 23, 2);
        if (offsetHours < 0 || offsetMinutes < 0 || offsetHours > 23 || offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = (offsetHours * 3600 + offsetMinutes * 60) * (sign == u'-' ? -1 : 1);
    }
    const QDateTime local(QDate(year, month, day), QTime(hour, minute, second), Qt::OffsetFromUTC, offsetSeconds);
    return local.toUTC();
}
