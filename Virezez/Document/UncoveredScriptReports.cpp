#include "UncoveredScriptReports.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

std::atomic<QtMessageHandler> next{nullptr};

bool isUncoveredScriptReport(QtMsgType type, const QString &message)
{
    return type == QtWarningMsg
        && QStringView(message).trimmed().startsWith(QLatin1String("OpenType support missing for \""));
}

void filter(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isUncoveredScriptReport(type, message))
        return;
    if (const QtMessageHandler handler = next.load())
        handler(type, context, message);
    else // only while the filter is being put in place, on another thread
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

void dropUncoveredScriptReports()
{
    static std::once_flag once;
    std::call_once(once, [] { next.store(qInstallMessageHandler(filter)); });
}
