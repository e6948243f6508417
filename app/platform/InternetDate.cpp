#include "InternetDate.h"

#include <QDate>
#include <QTime>
#include <QTimeZone>

namespace {

char16_t unit(QStringView text, qsizetype at) { return text[at].unicode(); }
char16_t unit(QByteArrayView text, qsizetype at) { return static_cast<unsigned char>(text[at]); }

// Reads `count` ASCII digits at `at`; -1 when any is not a digit.
template<typename View>
int digits(View text, qsizetype at, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = unit(text, at + i);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

template<typename View>
std::optional<QDateTime> parseForm(View text)
{
    const auto at = [&text](qsizetype i) { return unit(text, i); };
    // yyyy-MM-ddTHH:mm:ss then Z (20 characters) or ±hh:mm (25 characters).
    if (text.size() != 20 && text.size() != 25)
        return std::nullopt;
    if (at(4) != u'-' || at(7) != u'-' || at(10) != u'T' || at(13) != u':' || at(16) != u':')
        return std::nullopt;
    const int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
    if (year < 1 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    if (!QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return std::nullopt;

    int offsetSeconds = 0;
    if (text.size() == 20) {
        if (at(19) != u'Z')
            return std::nullopt;
    } else {
        const char16_t sign = at(19);
        if ((sign != u'+' && sign != u'-') || at(22) != u':')
            return std::nullopt;
        const int offsetHours = digits(text, 20, 2), offsetMinutes = digits(text, 23, 2);
        if (offsetHours < 0 || offsetMinutes < 0 || offsetHours > 23 || offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = (offsetHours * 3600 + offsetMinutes * 60) * (sign == u'-' ? -1 : 1);
    }
    const QDateTime local(QDate(year, month, day), QTime(hour, minute, second), Qt::OffsetFromUTC, offsetSeconds);
    return local.toUTC();
}

} // namespace

std::optional<QDateTime> InternetDate::parse(QStringView text)
{
    return parseForm(text);
}

std::optional<QDateTime> InternetDate::parse(QByteArrayView text)
{
    return parseForm(text);
}
