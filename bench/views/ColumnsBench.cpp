// Figures for the sidebar and content columns on a generated library of
// 100,000 papers in 100 lists plus one list of 10,000 of them, all in one run:
// choosing the long list until its first rows are painted (and how many papers
// that read), choosing an engine whose 100 results are held, dropping 100
// papers onto the long list (and whether that read its other papers),
// scrolling the long list from top to bottom frame by frame, and the memory
// showing the long list costs above the window before.
//
// Times are of the GUI thread: its CPU time and the wall time, each step
// followed by the paint it causes.
#include "../ResidentMemory.h"
#include "../store/GeneratedLibrary.h"
#include "AppState.h"
#include "ContentView.h"
#include "CrossFade.h"
#include "DataManager.h"
#include "ErrorHandler.h"
#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "ModelQuery.h"
#include "Paper.h"
#include "PaperList.h"
#include "PaperListView.h"
#include "PaperMimeData.h"
#include "Pasteboard.h"
#include "SearchEngines.h"
#include "SidebarModel.h"
#include "SidebarView.h"
#include "ViewEnvironment.h"
#include "Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int longListSize = 10000;
const QString longListName = QStringLiteral("Long list");

PaperPtr makePaper(const QString &id, int i)
{
    static const QString summary = QStringLiteral(
        "We study the formation of galaxies in a cosmological volume, with a treatment of gas cooling, "
        "star formation and feedback from supernovae and active nuclei. ").repeated(5);
    const QDateTime start(QDate(2015, 1, 1), QTime(12, 0), QTimeZone::utc());
    return std::make_shared<Paper>(id, QStringLiteral("Paper number %1 on structure formation").arg(i), summary,
                                   QStringList{QStringLiteral("A. Author"), QStringLiteral("B. Author")},
                                   start.addSecs(qint64(i) * 3600), std::nullopt,
                                   QUrl(QStringLiteral("http://arxiv.org/abs/") + id),
                                   QUrl(QStringLiteral("http://arxiv.org/pdf/") + id), std::nullopt, QString());
}

// The shared generated library, plus one list of every tenth of its papers,
// linked the way a drop links stored papers.
bool generateLibraryWithLongList(const QString &folder)
{
    if (!generateLibraryInChild(folder))
        return false;
    const pid_t child = fork();
    if (child == 0) {
        ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration(folder));
        ModelContext &context = container.mainContext();
        DataManager dataManager(context);
        auto longList = std::make_shared<PaperList>(longListName, QList<Paper *>{});
        context.insert(longList);
        context.transaction([&] {
            for (int i = 0; i < paperCount; i += paperCount / longListSize)
                dataManager.add(makePaper(paperId(i), i), longList.get());
        });
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class NoWorkspace final : public Workspace {
public:
    bool open(const QUrl &) override { return true; }
};

struct Clock {
    QElapsedTimer wall;
    timespec cpu{};
    Clock()
    {
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        wall.start();
    }
    double cpuMs() const
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec - cpu.tv_sec) * 1e3 + double(now.tv_nsec - cpu.tv_nsec) / 1e6;
    }
    double wallMs() const { return double(wall.nsecsElapsed()) / 1e6; }
};

// The two columns of a window, at the window's default size, over the library.
struct Columns {
    explicit Columns(const QString &folder)
        : container(LibrarySchema::schema(), LibrarySchema::configuration(folder)),
          dataManager(container.mainContext()),
          environment{container.mainContext(), appState, dataManager, errorHandler, workspace, pasteboard}
    {
        auto *layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        sidebar = new SidebarView(environment, &window);
        content = new ContentView(environment, &window);
        layout->addWidget(sidebar, 1);
        layout->addWidget(content, 3);
        window.resize(1200, 600);
        window.show();
        settle();
    }
    // What the event loop does next: lay out and paint what changed.
    void settle() { QCoreApplication::processEvents(); }
    // A user's next step comes with the event loop running, so the column's fade from a choice
    // (CrossFade) has ended by then; the steps here let no time pass, and would keep it on screen
    // throughout, or have the next choice go on with it instead of fading from its own start.
    void letFadesEnd()
    {
        QEventLoop loop;
        QTimer::singleShot(2 * CrossFade::durationMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    void choose(const QUuid &id)
    {
        sidebar->treeView()->selectionModel()->setCurrentIndex(sidebar->model()->indexOf(id),
                                                              QItemSelectionModel::ClearAndSelect);
        settle();
    }
    PaperListPtr longList() const
    {
        for (const PaperListPtr &list : sidebar->model()->lists()) {
            if (list->name() == longListName)
                return list;
        }
        return nullptr;
    }

    ModelContainer container;
    AppState appState;
    DataManager dataManager;
    ErrorHandler errorHandler;
    NoWorkspace workspace;
    Pasteboard pasteboard;
    ViewEnvironment environment;
    QWidget window;
    SidebarView *sidebar = nullptr;
    ContentView *content = nullptr;
};

qsizetype papersRead(const PaperList &list)
{
    const QList<Paper *> papers = list.papers().value_or(QList<Paper *>{});
    return std::count_if(papers.begin(), papers.end(), [](Paper *paper) { return !paper->isFault(); });
}

void report(const char *what, const Clock &clock, const char *limit)
{
    std::printf("%-58s %8.2f ms GUI-thread CPU  %8.2f ms wall   (limit %s)\n", what, clock.cpuMs(), clock.wallMs(), limit);
}

int runFigures(const QString &folder)
{
    Clock opening;
    Columns columns(folder);
    report("open the library and show the two columns", opening, "none");
    const PaperListPtr longList = columns.longList();
    if (!longList)
        return 1;

    {
        Clock clock;
        columns.choose(longList->id());
        report("choose the 10,000-paper list until painted", clock, "30 ms");
        const qsizetype rowsShown = columns.content->paperListView()->viewport()->height()
            / std::max(1, columns.content->paperListView()->sizeHintForRow(0)) + 1;
        std::printf("%-58s %8lld of %d (about %lld rows on screen)\n", "  papers read from the store",
                    qlonglong(papersRead(*longList)), longListSize, qlonglong(rowsShown));
    }

    {
        SearchEngine *engine = searchEngines().constFirst();
        QList<PaperPtr> results;
        for (int i = 0; i < 100; ++i)
            results.append(makePaper(QStringLiteral("result.%1").arg(i), i));
        engine->setPapers(results);
        columns.appState.setNewResults(1);
        columns.letFadesEnd();
        Clock clock;
        columns.choose(engine->id());
        report("choose an engine holding 100 results until painted", clock, "10 ms");
    }

    columns.choose(longList->id());
    columns.letFadesEnd();
    {
        QList<Paper *> dropped;
        QList<PaperPtr> keep;
        for (int i = 0; i < 100; ++i) {
            keep.append(makePaper(QStringLiteral("dropped.%1").arg(i), paperCount + i));
            dropped.append(keep.last().get());
        }
        std::unique_ptr<QMimeData> data(PaperMimeData::make(dropped));
        const QModelIndex row = columns.sidebar->model()->indexOf(longList->id());
        const qsizetype readBefore = papersRead(*longList);
        Clock clock;
        const bool taken = columns.sidebar->model()->dropMimeData(data.get(), Qt::CopyAction, -1, 0, row);
        columns.settle();
        report("drop 100 papers onto the 10,000-paper list (shown)", clock, "50 ms");
        std::printf("%-58s %8lld (taken: %s, list now %lld papers)\n", "  the list's other papers read by the drop",
                    qlonglong(papersRead(*longList) - readBefore - 100), taken ? "yes" : "no",
                    qlonglong(longList->paperCount()));
    }

    {
        PaperListView *view = columns.content->paperListView();
        QScrollBar *bar = view->verticalScrollBar();
        bar->setValue(0);
        columns.settle();
        // A wheel notch: three rows.
        const int step = 3 * std::max(1, view->sizeHintForRow(0));
        QList<double> frames;
        double cpuTotal = 0;
        double cpuSlowest = 0;
        for (int value = step; value <= bar->maximum() + step - 1; value += step) {
            Clock frame;
            bar->setValue(std::min(value, bar->maximum()));
            view->viewport()->repaint();
            frames.append(frame.wallMs());
            cpuTotal += frame.cpuMs();
            cpuSlowest = std::max(cpuSlowest, frame.cpuMs());
        }
        std::sort(frames.begin(), frames.end());
        const qsizetype over = std::count_if(frames.begin(), frames.end(), [](double ms) { return ms > 16.0; });
        std::printf("%-58s %8lld frames of 3 rows; wall: median %.2f ms, 99th %.2f ms, slowest %.2f ms, %lld over 16 ms; "
                    "GUI-thread CPU: slowest %.2f ms, %.0f ms in all\n",
                    "scroll the 10,000-paper list top to bottom", qlonglong(frames.size()), frames.at(frames.size() / 2),
                    frames.at(frames.size() * 99 / 100), frames.last(), qlonglong(over), cpuSlowest, cpuTotal);
    }

    {
        // Last, as it takes the list away: every row leaves the shown list.
        Clock clock;
        columns.sidebar->deleteList(longList);
        columns.settle();
        report("delete the 10,100-paper list while it is shown", clock, "none");
    }
    return 0;
}

// In a fresh copy of this program, so that the figure is growth above a window
// that shows its columns and nothing else.
int measureMemory(const QString &folder)
{
    Columns columns(folder);
    const PaperListPtr longList = columns.longList();
    const long before = residentKiB();
    columns.choose(longList->id());
    // Not the picture the column fades from, which goes with the fade.
    columns.letFadesEnd();
    const long after = residentKiB();
    std::printf("%-58s %8.2f MiB above the window before (limit 40 MB)\n", "memory after showing the 10,000-paper list",
                double(after - before) / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::string_view(argv[1]) == "--memory") {
        QApplication app(argc, argv);
        return measureMemory(QString::fromLocal8Bit(argv[2]));
    }
    QTemporaryDir dir;
    if (!generateLibraryWithLongList(dir.path()))
        return 1;

    std::fflush(stdout);
    int status = 0;
    const pid_t child = fork();
    if (child == 0) {
        const QByteArray folder = dir.path().toLocal8Bit();
        execl(argv[0], argv[0], "--memory", folder.constData(), nullptr);
        _exit(1);
    }
    waitpid(child, &status, 0);

    QApplication app(argc, argv);
    return runFigures(dir.path());
}
