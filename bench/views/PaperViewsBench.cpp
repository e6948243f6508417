// Figures for the paper's own views, each from the user's action until the window is painted:
// selecting a paper whose note is 100 KB or empty (the detail column of a window), also by its row
// (with the column's fade), opening the note editor on a 1 MB note and typing one key in it, and
// opening the importer form.
#include "AppState.h"
#include "AppView.h"
#include "CrossFade.h"
#include "DataManager.h"
#include "ErrorHandler.h"
#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "NoteEditorView.h"
#include "PaperImporterView.h"
#include "Pasteboard.h"
#include "StructuredText.h"
#include "TemporaryDataFolder.h"
#include "UserFolders.h"
#include "ViewEnvironment.h"
#include "Workspace.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

#include <array>
#include <functional>

namespace {

// Real Markdown of about `bytes`, ending at a paragraph break: the CommonMark examples file.
QString markdownOf(qsizetype bytes)
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/markdown/commonmark-spec-0.31.2_spec.txt"));
    file.open(QIODevice::ReadOnly);
    const QString spec = QString::fromUtf8(file.readAll());
    QString text = spec.repeated(int(bytes / spec.size()) + 1);
    return text.left(std::max<qsizetype>(1, text.lastIndexOf(QStringLiteral("\n\n"), bytes)));
}

class NullWorkspace final : public Workspace {
public:
    bool open(const QUrl &) override { return true; }
};

// One window's worth of shared objects over a fresh library.
struct Library {
    Library() { Workspace::setShared(std::make_shared<NullWorkspace>()); }
    UserFolders folders;
    TemporaryDataFolder store;
    ModelContainer container{LibrarySchema::schema(), LibrarySchema::configuration(store.path())};
    AppState appState;
    DataManager dataManager{container.mainContext()};
    ErrorHandler errorHandler;
    Pasteboard pasteboard;
    ViewEnvironment env{container.mainContext(), appState, dataManager, errorHandler, Workspace::shared(), pasteboard};
    PaperListPtr list = [this] {
        auto made = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
        container.mainContext().insert(made);
        return made;
    }();

    PaperPtr paperWithNote(const QString &notes)
    {
        auto paper = std::make_shared<Paper>();
        paper->setNotes(notes);
        dataManager.add(paper, list.get());
        return paper;
    }
};

// Shows a window at the main window's default size and waits until it is on screen.
void present(QWidget *window)
{
    window->resize(1200, 600);
    window->show();
    (void)QTest::qWaitForWindowExposed(window);
}

// Lets queued layout work run, then paints the whole window at once, as the next frame would.
void paint(QWidget *window)
{
    QCoreApplication::sendPostedEvents();
    window->repaint();
}

// Two papers whose notes are `note` with a different first line, in the library's list, which
// the sidebar has selected so that the detail shows their notes.
std::array<PaperPtr, 2> twoPapersShownWith(Library &library, const QString &note)
{
    library.appState.setSelectedListId(library.list->id());
    return {library.paperWithNote(note.isEmpty() ? note : QStringLiteral("# A\n\n") + note),
            library.paperWithNote(note.isEmpty() ? note : QStringLiteral("# B\n\n") + note)};
}

// Selecting, in turn, two papers whose notes are `note` with a different first line, in a window
// whose sidebar has the list selected, so that the detail shows the note.
void selectPaper(benchmark::State &state, const QString &note)
{
    Library library;
    const std::array<PaperPtr, 2> papers = twoPapersShownWith(library, note);
    AppView window(library.env);
    present(&window);
    int turn = 0;
    for (auto _ : state) {
        library.appState.setSelectedPaper(papers[turn++ % 2]);
        paint(&window);
    }
    state.counters["note_bytes"] = double(note.toUtf8().size());
}

void BM_SelectPaperWith100KNote(benchmark::State &state)
{
    selectPaper(state, markdownOf(100 * 1024));
}

void BM_SelectPaperWithEmptyNote(benchmark::State &state)
{
    selectPaper(state, QString());
}

// The same, each paper chosen as a click on its row chooses it: the detail column fades over to
// it (animations are on, as desktops have them). Each choice comes after the last fade has ended.
void chooseRows(benchmark::State &state, const QString &note)
{
    Library library;
    const std::array<PaperPtr, 2> papers = twoPapersShownWith(library, note);
    AppView window(library.env);
    present(&window);
    int turn = 0;
    for (auto _ : state) {
        {
            const CrossFade::AnimatedChanges animated;
            library.appState.setSelectedPaper(papers[turn++ % 2]);
        }
        paint(&window);
        state.PauseTiming();
        QEventLoop fade;
        QTimer::singleShot(2 * CrossFade::durationMs, &fade, &QEventLoop::quit);
        fade.exec();
        state.ResumeTiming();
    }
}

void BM_ChooseRowWith100KNote(benchmark::State &state)
{
    chooseRows(state, markdownOf(100 * 1024));
}

void BM_ChooseRowWithEmptyNote(benchmark::State &state)
{
    chooseRows(state, QString());
}

// The selection made for the first time, when the detail column held its placeholder.
void BM_FirstSelectionWith100KNote(benchmark::State &state)
{
    Library library;
    library.appState.setSelectedListId(library.list->id());
    const PaperPtr paper = library.paperWithNote(markdownOf(100 * 1024));
    AppView window(library.env);
    present(&window);
    for (auto _ : state) {
        library.appState.setSelectedPaper(paper);
        paint(&window);
        state.PauseTiming();
        library.appState.setSelectedPaper(nullptr);
        paint(&window);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

// A window-modal sheet over `parent` holding `content`, open and painted.
QDialog *openSheet(QWidget *parent, QWidget *content)
{
    auto *sheet = new QDialog(parent);
    sheet->setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(sheet);
    layout->addWidget(content);
    sheet->open();
    paint(sheet);
    return sheet;
}

// A main window's stand-in, shown, for sheets to open over.
struct Window : QWidget {
    Window() { present(this); }
};

// Opens a sheet with what `make` returns, once per iteration, until `ready` says the content is
// there to use, and paints it.
template <class Content>
void openSheets(benchmark::State &state, const std::function<Content *()> &make,
                const std::function<bool(Content *)> &ready = nullptr)
{
    Window window;
    for (auto _ : state) {
        Content *content = make();
        QDialog *sheet = openSheet(&window, content);
        if (ready) {
            (void)QTest::qWaitFor([&] { return ready(content); }, 60000);
            paint(sheet);
        }
        state.PauseTiming();
        delete sheet;
        // Work the sheet left behind is not the next opening's.
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
    }
}

void BM_OpenEditorOn1MNote(benchmark::State &state)
{
    Library library;
    const PaperPtr paper = library.paperWithNote(markdownOf(1024 * 1024));
    openSheets<NoteEditorView>(state, [&] { return new NoteEditorView(library.env, paper); });
}

// The same until the whole text is in the editor and can be typed into, painted.
void BM_OpenEditorOn1MNoteUntilEditable(benchmark::State &state)
{
    Library library;
    const PaperPtr paper = library.paperWithNote(markdownOf(1024 * 1024));
    openSheets<NoteEditorView>(
        state, [&] { return new NoteEditorView(library.env, paper); },
        [](NoteEditorView *editor) { return !editor->isLoading(); });
}

void BM_KeystrokeIn1MNote(benchmark::State &state)
{
    Library library;
    const PaperPtr paper = library.paperWithNote(markdownOf(1024 * 1024));
    Window window;
    auto *editor = new NoteEditorView(library.env, paper);
    QDialog *sheet = openSheet(&window, editor);
    (void)QTest::qWaitFor([editor] { return !editor->isLoading(); }, 60000);
    (void)QTest::qWaitForWindowExposed(sheet);
    auto *text = editor->findChild<QPlainTextEdit *>();
    // In the middle of the note, where every later line would have to move if layout were global.
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(text->document()->characterCount() / 2);
    text->setTextCursor(cursor);
    paint(sheet);
    int n = 0;
    for (auto _ : state) {
        QTest::keyClick(text, (n++ % 2) ? Qt::Key_Backspace : Qt::Key_A);
        paint(sheet);
    }
    delete sheet;
}

void BM_OpenImporterForm(benchmark::State &state)
{
    Library library;
    openSheets<PaperImporterView>(state, [&] { return new PaperImporterView(library.env, library.list.get()); });
}

} // namespace

BENCHMARK(BM_SelectPaperWith100KNote)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectPaperWithEmptyNote)->Unit(benchmark::kMillisecond);
// Each choice waits for the last fade to end, untimed.
BENCHMARK(BM_ChooseRowWith100KNote)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ChooseRowWithEmptyNote)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FirstSelectionWith100KNote)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenEditorOn1MNote)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenEditorOn1MNoteUntilEditable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeIn1MNote)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenImporterForm)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
