#include "AbbreviatedDate.h"

#include <QRegularExpression>

QString abbreviatedDate(const QDateTime &moment, const QLocale &locale)
{
    // Qt's locales know a short (all digits) and a long (weekday, full month) date format; the
    // abbreviated one is the long one without the weekday and with the month's short name.
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("^dddd[,.\\s]*|[,\\s]*dddd"));
    format.remove(weekday);
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return locale.toString(moment.toLocalTime().date(), format.trimmed());
}
