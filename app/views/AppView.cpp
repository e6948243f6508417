#include "AppView.h"

#include "AppState.h"
#include "ContentView.h"
#include "CrossFade.h"
#include "ErrorHandler.h"
#include "Localized.h"
#include "ModelQuery.h"
#include "NoteEditorView.h"
#include "PaperDetailView.h"
#include "PaperList.h"
#include "PlaceholderView.h"
#include "SearchEngines.h"
#include "SearchField.h"
#include "SidebarView.h"

#include <QApplication>
#include <QDialog>
#include <QSplitter>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <qcoro/qcorotask.h>

#include <algorithm>

namespace {

constexpr int sidebarWidth = 220;
constexpr int detailWidth = 420;
constexpr QSize emptySheetSize(480, 320);

// The results marker: the hash of the stored array, which combines its papers'
// hashes (papers hash by identity).
qint64 resultsMarker(const QList<PaperPtr> &papers)
{
    QList<const Paper *> identities;
    identities.reserve(papers.size());
    for (const PaperPtr &paper : papers)
        identities.append(paper.get());
    return qint64(qHashRange(identities.cbegin(), identities.cend(), 0));
}

// One search, from submission to stored results or an alert. The window may
// close meanwhile: the results still go to the engine that was selected when
// the search began (it outlives every window), but an error has nobody left to
// tell. Nothing else is touched after the wait unless it still exists.
QCoro::Task<> runSearch(SearchEngine *engine, QString text, QPointer<AppState> state, QPointer<ErrorHandler> errors,
                        QPointer<AppView> view, std::function<void()> ended)
{
    // However the search ends, its window stops showing it as running.
    struct SearchEnd {
        QPointer<AppView> view;
        std::function<void()> ended;
        ~SearchEnd()
        {
            if (view)
                ended();
        }
    } end{std::move(view), std::move(ended)};

    try {
        const QList<PaperPtr> papers = co_await engine->runQuery(std::move(text));
        engine->setPapers(papers);
        if (state)
            state->setNewResults(resultsMarker(papers));
    } catch (const std::exception &error) {
        if (errors)
            errors->showError(error);
    }
}

// The note-editor sheets on screen, in any window.
QList<QDialog *> sheetsOpen()
{
    QList<QDialog *> open;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        auto *sheet = qobject_cast<QDialog *>(top);
        if (sheet && sheet->objectName() == QLatin1String("noteEditorSheet") && sheet->isVisible())
            open.append(sheet);
    }
    return open;
}

// Whether a sheet other than `own` is on screen.
bool otherSheetOpen(const QDialog *own)
{
    const QList<QDialog *> open = sheetsOpen();
    return std::any_of(open.cbegin(), open.cend(), [own](const QDialog *sheet) { return sheet != own; });
}

// The sheet whose editor holds this paper, in any window.
QDialog *sheetEditing(const PaperPtr &paper)
{
    if (!paper)
        return nullptr;
    for (QDialog *sheet : sheetsOpen()) {
        const auto *editor = sheet->findChild<NoteEditorView *>();
        if (editor && editor->paper() == paper)
            return sheet;
    }
    return nullptr;
}

// The sheet's window comes to the front, and the sheet on top of it takes the keyboard.
void bringForward(QDialog *sheet)
{
    if (QWidget *window = sheet->parentWidget() ? sheet->parentWidget()->window() : nullptr) {
        if (window->isMinimized())
            window->showNormal();
        window->raise();
    }
    sheet->raise();
    sheet->activateWindow();
}

} // namespace

AppView::AppView(ViewEnvironment &env, QWidget *parent)
    : QWidget(parent), m_env(env), m_lists(new ModelQuery(env.modelContext, PaperList::entityDescription(), this)),
      m_searchField(new SearchField(this)), m_splitter(new QSplitter(Qt::Horizontal, this)),
      m_sidebar(new SidebarView(env, m_splitter)), m_content(new ContentView(env, m_splitter)),
      m_detailColumn(new QWidget(m_splitter)), m_detailStack(new QStackedLayout(m_detailColumn)),
      m_nothingToInspect(new PlaceholderView(
          QStringLiteral("questionmark.app.dashed"), QStringLiteral("Nothing to inspect"),
          QStringLiteral("Select a paper from a list or a search result to see its details here"), m_detailColumn))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    m_splitter->setChildrenCollapsible(false);
    m_content->setMinimumWidth(contentMinimumWidth);
    m_detailStack->addWidget(m_nothingToInspect);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setStretchFactor(2, 1);
    m_splitter->setSizes({sidebarWidth, contentMinimumWidth, detailWidth});

    connect(m_searchField, &QLineEdit::returnPressed, this, &AppView::submitSearch);
    connect(m_lists, &ModelQuery::changed, this, &AppView::updatePrompt);
    connect(&env.appState, &AppState::selectedListIdChanged, this, &AppView::updatePrompt);
    connect(&env.appState, &AppState::selectedPaperChanged, this, &AppView::showDetail);
    connect(&env.appState, &AppState::showEditorChanged, this, &AppView::followEditorFlag);
    updatePrompt();
    showDetail();
    followEditorFlag();
}

AppView::~AppView()
{
    // A sheet closed by the window's end is dismissed like any other.
    if (m_editorSheet && !otherSheetOpen(m_editorSheet))
        m_env.appState.setShowEditor(false);
}

QWidget *AppView::detail() const
{
    return m_detailStack->currentWidget();
}

void AppView::updatePrompt()
{
    m_searchField->setPrompt(localized("Search %1").arg(m_env.appState.selectedTitle(m_lists->resultsAs<PaperList>())));
}

void AppView::showDetail()
{
    const PaperPtr paper = m_env.appState.selectedPaper();
    if (m_paperDetail && m_paperDetail->paper() == paper)
        return;
    // A row chosen or the paper removed: the column fades over to what follows. A selection
    // cleared or made elsewhere shows at once.
    const CrossFade fade(CrossFade::AnimatedChanges::active() ? m_detailColumn : nullptr);
    // From one paper to another the detail stays in its place and shows the new paper (its
    // short "Copied!" feedback belongs to the place); it goes only when nothing is selected.
    if (m_paperDetail && paper) {
        m_paperDetail->setPaper(paper);
        return;
    }
    if (m_paperDetail) {
        m_detailStack->removeWidget(m_paperDetail);
        m_paperDetail->deleteLater();
        m_paperDetail = nullptr;
    }
    if (paper) {
        m_paperDetail = new PaperDetailView(m_env, paper, m_detailColumn);
        m_detailStack->addWidget(m_paperDetail);
        m_detailStack->setCurrentWidget(m_paperDetail);
    } else {
        m_detailStack->setCurrentWidget(m_nothingToInspect);
    }
}

void AppView::submitSearch()
{
    const auto selection = m_env.appState.selectedListId();
    if (!selection)
        return;
    SearchEngine *engine = nullptr;
    for (SearchEngine *candidate : searchEngines()) {
        if (candidate->id() == *selection) {
            engine = candidate;
            break;
        }
    }
    if (!engine)
        return;
    ++m_runningSearches;
    m_searchField->setBusy(true);
    runSearch(engine, m_searchField->text(), &m_env.appState, &m_env.errorHandler, this, [this] { searchEnded(); });
}

void AppView::searchEnded()
{
    --m_runningSearches;
    m_searchField->setBusy(m_runningSearches > 0);
    emit searchFinished();
}

void AppView::takeNotes(const PaperPtr &paper)
{
    if (QDialog *sheet = sheetEditing(paper)) {
        bringForward(sheet);
        return;
    }
    // A window shows one sheet at a time, and its editor keeps its paper (the sheet is modal,
    // so only a caller other than the window's own controls gets here).
    if (m_editorSheet) {
        bringForward(m_editorSheet);
        return;
    }
    openEditorSheet(paper);
    m_env.appState.setShowEditor(true);
}

// The flag set elsewhere opens a sheet for the selected paper when no window shows one: in the
// active window, or with none active, in the first to see the change. Clearing it closes every
// sheet; dismissing the last sheet clears it.
void AppView::followEditorFlag()
{
    const bool show = m_env.appState.showEditor();
    if (!show) {
        if (m_editorSheet)
            m_editorSheet->close();
        return;
    }
    if (m_editorSheet || !sheetsOpen().isEmpty())
        return;
    QWidget *active = QApplication::activeWindow();
    if (active && active != window())
        return;
    openEditorSheet(m_env.appState.selectedPaper());
}

void AppView::openEditorSheet(const PaperPtr &paper)
{
    auto *sheet = new QDialog(window());
    sheet->setObjectName(QStringLiteral("noteEditorSheet"));
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setAccessibleName(localized("Notes"));
    auto *layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    if (paper)
        layout->addWidget(new NoteEditorView(m_env, paper, sheet));
    else
        sheet->resize(emptySheetSize);
    connect(sheet, &QDialog::finished, this, [this, sheet] {
        if (m_editorSheet == sheet)
            m_editorSheet = nullptr;
        if (!otherSheetOpen(sheet))
            m_env.appState.setShowEditor(false);
    });
    m_editorSheet = sheet;
    sheet->open();
}
