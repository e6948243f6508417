#include "SearchEngine.h"

#include <QCoreApplication>
#include <QThread>

SearchEngine::SearchEngine(QUuid id, QString name, QString icon, Query query)
    : m_id(id), m_name(std::move(name)), m_icon(std::move(icon)), m_query(std::move(query))
{
}

QCoro::Task<QList<PaperPtr>> SearchEngine::runQuery(QString text) const
{
    // Papers are GUI-thread objects; they are made where the search was started.
    Q_ASSERT(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread());
    return m_query(std::move(text));
}
