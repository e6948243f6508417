#pragma once

#include "Paper.h"
#include "ViewEnvironment.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

class ContentView;
class ModelQuery;
class PaperDetailView;
class PlaceholderView;
class QSplitter;
class QStackedLayout;
class SearchField;
class SidebarView;

// The content of a main window: sidebar, content and detail columns side by side,
// the window's search field (which the window puts into its tool bar) and the
// note-editor sheet.
//
// Note editors: each window shows at most one, each paper is edited in at most one, and an
// open editor keeps the paper it was opened on. AppState's editor flag is set while any
// window shows one.
class AppView : public QWidget {
    Q_OBJECT
public:
    static constexpr int contentMinimumWidth = 490;

    AppView(ViewEnvironment &env, QWidget *parent = nullptr);
    ~AppView() override;

    SearchField *searchField() const { return m_searchField; }
    QSplitter *splitter() const { return m_splitter; }
    // The detail column's content: the selected paper's detail or the placeholder.
    QWidget *detail() const;
    // The note-editor sheet while it is open.
    QDialog *editorSheet() const { return m_editorSheet; }
    // "Take Notes" chosen in this window: an editor for the paper (none for an empty sheet)
    // opens here, unless one is already open on that paper, here or in another window, which
    // is brought to the front instead.
    void takeNotes(const PaperPtr &paper);

    // What Return in the search field does: searches the selected engine for the
    // field's text, unchanged. Does nothing while a list or nothing is selected.
    void submitSearch();
    // How many searches started from this window are still running.
    int runningSearches() const { return m_runningSearches; }

signals:
    // After a search of this window has stored its results or reported its error.
    void searchFinished();

private:
    void updatePrompt();
    void showDetail();
    void followEditorFlag();
    void openEditorSheet(const PaperPtr &paper);
    void searchEnded();

    ViewEnvironment &m_env;
    ModelQuery *m_lists;
    SearchField *m_searchField;
    QSplitter *m_splitter;
    SidebarView *m_sidebar;
    ContentView *m_content;
    QWidget *m_detailColumn;
    QStackedLayout *m_detailStack;
    PlaceholderView *m_nothingToInspect;
    PaperDetailView *m_paperDetail = nullptr;
    QPointer<QDialog> m_editorSheet;
    int m_runningSearches = 0;
};
