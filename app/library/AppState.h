#pragma once

#include "Paper.h"
#include "PaperList.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>

// What the main window has selected and which of its sheets are open, plus
// two markers through which one view tells others to redraw (search results
// and PDF files are not observable themselves). One instance, on the GUI
// thread, for the life of the process; nothing of it is saved.
//
// Every setter notifies only on a real change: storing an equal value emits
// nothing. Papers compare by identity.
class AppState : public QObject {
    Q_OBJECT
public:
    explicit AppState(QObject *parent = nullptr);

    // The sidebar selection: a built-in engine's id or a user list's id.
    std::optional<QUuid> selectedListId() const { return m_selectedListId; }
    void setSelectedListId(const std::optional<QUuid> &id);

    // The paper shown in the detail column; null when none.
    PaperPtr selectedPaper() const { return m_selectedPaper; }
    void setSelectedPaper(const PaperPtr &paper);

    // Whether a note editor is open, in any window.
    bool showEditor() const { return m_showEditor; }
    void setShowEditor(bool show);

    bool showImporter() const { return m_showImporter; }
    void setShowImporter(bool show);

    // Changes whenever a search stores new results; its value means nothing.
    std::optional<qint64> newResults() const { return m_newResults; }
    void setNewResults(const std::optional<qint64> &marker);

    // Flipped when a paper's PDF is downloaded or deleted.
    bool refreshView() const { return m_refreshView; }
    void setRefreshView(bool refresh);

    // The name of the current selection: an engine's name (engines are
    // looked at first), else the name of the first given list with that id,
    // else the empty text.
    QString selectedTitle(const QList<PaperListPtr> &lists) const;

signals:
    void selectedListIdChanged();
    void selectedPaperChanged();
    void showEditorChanged();
    void showImporterChanged();
    void newResultsChanged();
    void refreshViewChanged();

private:
    std::optional<QUuid> m_selectedListId;
    PaperPtr m_selectedPaper;
    bool m_showEditor = false;
    bool m_showImporter = false;
    std::optional<qint64> m_newResults;
    bool m_refreshView = false;
};
