#include "Log.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <cstdio>
#include <memory>

namespace {

struct LogState {
    QMutex mutex;
    std::shared_ptr<const LogSink> sink; // shared so a line need not copy the function
    QStringList secrets;
};

LogState &state()
{
    static LogState s;
    return s;
}

QString escapeLineBreaks(const QString &text)
{
    if (!text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString escaped = text;
    escaped.replace(QStringLiteral("\r"), QStringLiteral("\\r"));
    escaped.replace(QStringLiteral("\n"), QStringLiteral("\\n"));
    return escaped;
}

QString redact(QString line, const QStringList &secrets)
{
    for (const QString &secret : secrets)
        line.replace(secret, QStringLiteral("<redacted>"));
    return line;
}

void writeToStandardError(const QString &line)
{
    // One write per line so that lines of concurrent writers stay whole.
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

QString formatLogLine(QStringView format, std::initializer_list<LogArgument> arguments)
{
    QString line;
    line.reserve(format.size() + 32);
    auto next = arguments.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != u'%' || i + 1 == format.size()) {
            line.append(c);
            continue;
        }
        const QChar conversion = format[i + 1];
        if (conversion == u'%') {
            line.append(u'%');
            ++i;
        } else if ((conversion == u'@' || conversion == u'd') && next != arguments.end()) {
            line.append(escapeLineBreaks(next->text()));
            ++next;
            ++i;
        } else {
            // A specifier without an argument stays visible rather than vanishing.
            line.append(c);
        }
    }
    return line;
}

void brivetLog(QStringView format, std::initializer_list<LogArgument> arguments)
{
    QString line = formatLogLine(format, arguments);
    std::shared_ptr<const LogSink> sink;
    {
        QMutexLocker lock(&state().mutex);
        if (!state().secrets.isEmpty())
            line = redact(std::move(line), state().secrets);
        sink = state().sink;
        if (!sink) {
            writeToStandardError(line);
            return;
        }
    }
    (*sink)(line);
}

void registerLogSecret(const QString &secret)
{
    // A very short text would blank ordinary words; such a text is no real
    // token, and the log never carries one by construction anyway.
    if (secret.size() < 8)
        return;
    QMutexLocker lock(&state().mutex);
    if (!state().secrets.contains(secret))
        state().secrets.append(secret);
}

LogSink setLogSink(LogSink sink)
{
    QMutexLocker lock(&state().mutex);
    LogSink previous = state().sink ? *state().sink : LogSink();
    state().sink = sink ? std::make_shared<const LogSink>(std::move(sink)) : nullptr;
    return previous;
}
