#pragma once

#include "Log.h"

#include <QMutex>
#include <QStringList>
#include <QThread>

// Collects the log lines written while it exists instead of sending them to
// standard error. Lines may come from worker threads.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    Q_DISABLE_COPY(LogCapture)

    QStringList lines() const;
    // The thread that wrote the first line starting with prefix, or null.
    QThread *threadOf(const QString &prefix) const;

private:
    mutable QMutex m_mutex;
    QStringList m_lines;
    QList<QThread *> m_threads;
    LogSink m_previous;
};
