#include "LogCapture.h"

LogCapture::LogCapture()
{
    m_previous = setLogSink([this](const QString &line) {
        QMutexLocker lock(&m_mutex);
        m_lines.append(line);
        m_threads.append(QThread::currentThread());
    });
}

LogCapture::~LogCapture()
{
    setLogSink(std::move(m_previous));
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&m_mutex);
    return m_lines;
}

QThread *LogCapture::threadOf(const QString &prefix) const
{
    QMutexLocker lock(&m_mutex);
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].startsWith(prefix))
            return m_threads[i];
    }
    return nullptr;
}
