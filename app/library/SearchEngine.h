#pragma once

#include "Paper.h"

#include <QList>
#include <QString>
#include <QUuid>
#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

// One literature source the user can search from the main window. It keeps
// the results of its last successful search; storing them is the caller's
// business (and does not notify anybody: the caller also changes
// AppState::newResults). Used on the GUI thread only.
class SearchEngine {
public:
    using Query = std::function<QCoro::Task<QList<PaperPtr>>(QString text)>;

    SearchEngine(QUuid id, QString name, QString icon, Query query);
    SearchEngine(const SearchEngine &) = delete;
    SearchEngine &operator=(const SearchEngine &) = delete;

    QUuid id() const { return m_id; }
    QString name() const { return m_name; }
    QString icon() const { return m_icon; }

    // Runs one search with the text exactly as given (no trimming, an empty
    // text included). Call it on the GUI thread; the papers are made there and
    // the client's errors come through unchanged. Stores nothing.
    QCoro::Task<QList<PaperPtr>> runQuery(QString text) const;

    // The results of the last successful search; absent until the first.
    const std::optional<QList<PaperPtr>> &papers() const { return m_papers; }
    void setPapers(std::optional<QList<PaperPtr>> papers) { m_papers = std::move(papers); }

private:
    QUuid m_id;
    QString m_name;
    QString m_icon;
    Query m_query;
    std::optional<QList<PaperPtr>> m_papers;
};
