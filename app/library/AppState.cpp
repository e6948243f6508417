#include "AppState.h"

#include "SearchEngines.h"

namespace {

// Stores the value and reports whether it differed.
template<typename T>
bool assign(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

AppState::AppState(QObject *parent) : QObject(parent) {}

void AppState::setSelectedListId(const std::optional<QUuid> &id)
{
    if (assign(m_selectedListId, id))
        emit selectedListIdChanged();
}

void AppState::setSelectedPaper(const PaperPtr &paper)
{
    if (assign(m_selectedPaper, paper))
        emit selectedPaperChanged();
}

void AppState::setShowEditor(bool show)
{
    if (assign(m_showEditor, show))
        emit showEditorChanged();
}

void AppState::setShowImporter(bool show)
{
    if (assign(m_showImporter, show))
        emit showImporterChanged();
}

void AppState::setNewResults(const std::optional<qint64> &marker)
{
    if (assign(m_newResults, marker))
        emit newResultsChanged();
}

void AppState::setRefreshView(bool refresh)
{
    if (assign(m_refreshView, refresh))
        emit refreshViewChanged();
}

QString AppState::selectedTitle(const QList<PaperListPtr> &lists) const
{
    if (!m_selectedListId)
        return QString();
    for (const SearchEngine *engine : searchEngines()) {
        if (engine->id() == *m_selectedListId)
            return engine->name();
    }
    for (const PaperListPtr &list : lists) {
        if (list && list->id() == *m_selectedListId)
            return list->name();
    }
    return QString();
}
