#pragma once

#include "Paper.h"
#include "PaperList.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <memory>

class ModelQuery;
class PaperListModel;
class PaperListView;
class PlaceholderView;
class QStackedWidget;
class QToolBar;
class SearchEngine;
struct ViewEnvironment;

// The middle column. From the sidebar's selection it shows an engine's results,
// a list's papers, or a placeholder (welcome, ready, no results, empty list);
// it fills its tool bar with the paper actions that fit, names itself (the
// window's title follows), and while a list is shown opens the importer sheet
// whenever AppState::showImporter is set.
//
// It follows what it reads one change at a time: a paper added to or removed
// from the shown list moves one row, a rename changes the title, and only a
// different source or new search results bring a new list of rows.
class ContentView : public QWidget {
    Q_OBJECT
public:
    ContentView(ViewEnvironment &environment, QWidget *parent = nullptr);
    ~ContentView() override;

    enum class Shown { welcome, ready, noResults, emptyList, papers, nothing };
    Shown shown() const { return m_shown; }
    // Empty when the column has none (then the window is called "Brivet").
    QString navigationTitle() const { return m_title; }
    QToolBar *toolBar() const { return m_toolBar; }
    PaperListView *paperListView() const { return m_listView; }
    PlaceholderView *placeholderView() const { return m_placeholder; }
    QDialog *importerSheet() const { return m_importer; }

signals:
    void navigationTitleChanged(const QString &title);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fadeToSelection();
    // Works out from the sidebar's selection what the column shows, and shows it.
    void showSelection();
    void showEngine(SearchEngine &engine);
    void showList(const PaperListPtr &list);
    void showPlaceholder(Shown shown, const QString &symbol, const QString &title, const QString &sentence);
    void setTitle(const QString &title);
    void applyWindowTitle();
    void setModel(std::unique_ptr<PaperListModel> model);
    void updateToolBar();
    void updateImporter();
    void openImporterSheet(const PaperListPtr &list);

    ViewEnvironment &m_environment;
    ModelQuery *m_lists;
    QToolBar *m_toolBar;
    QStackedWidget *m_stack;
    PlaceholderView *m_placeholder;
    PaperListView *m_listView;
    QWidget *m_blank;
    // Parent of the tool bar's current actions and menus.
    QWidget *m_toolBarActions = nullptr;
    struct ToolBarKey {
        Shown shown;
        const PaperList *list;
        const SearchEngine *engine;
        const Paper *paper;
        bool operator==(const ToolBarKey &) const = default;
    };
    ToolBarKey m_toolBarKey{};
    QPointer<QDialog> m_importer;

    Shown m_shown = Shown::nothing;
    QString m_title;
    std::unique_ptr<PaperListModel> m_model;
    // What m_model shows: a list, or one engine's results as they were stored.
    PaperListPtr m_shownList;
    const SearchEngine *m_shownEngine = nullptr;
    QList<PaperPtr> m_shownResults;
};
