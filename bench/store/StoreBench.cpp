// Figures for the library store on a generated library of 100,000 papers in
// 100 lists: opening until the lists and their counts are ready, the memory
// that costs, closing it again, counting papers by id against a bare SQLite
// statement, and adding a paper to a list through the data manager.
#include "../ResidentMemory.h"
#include "DataManager.h"
#include "GeneratedLibrary.h"
#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "ModelQuery.h"
#include "Paper.h"
#include "PaperList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThreadPool>
#include <QTemporaryDir>
#include <QTimeZone>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString &libraryFolder()
{
    static QString folder;
    return folder;
}

struct OpenLibrary {
    OpenLibrary()
        : container(LibrarySchema::schema(), LibrarySchema::configuration(libraryFolder())),
          query(container.mainContext(), PaperList::entityDescription())
    {
    }
    // What the sidebar needs: every list's name and count.
    qsizetype touchLists(bool readPapers)
    {
        qsizetype total = 0;
        for (const auto &list : query.resultsAs<PaperList>()) {
            benchmark::DoNotOptimize(list->name());
            total += readPapers ? list->papers().value_or(QList<Paper *>{}).size() : list->paperCount();
        }
        return total;
    }
    ModelContainer container;
    ModelQuery query;
};

void BM_OpenUntilListsAndCountsReady(benchmark::State &state)
{
    const bool readPapers = state.range(0) != 0;
    for (auto _ : state) {
        auto library = std::make_unique<OpenLibrary>();
        if (library->touchLists(readPapers) != paperCount)
            state.SkipWithError("wrong paper total");
        state.PauseTiming();
        library.reset();
        QThreadPool::globalInstance()->waitForDone();
        state.ResumeTiming();
    }
    state.SetLabel(readPapers ? "counts from papers()" : "counts from paperCount()");
}
BENCHMARK(BM_OpenUntilListsAndCountsReady)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

// Closing the library, as at quit: the lists only, every paper made (as a list
// that shows its papers makes them), or every paper made with its values read.
// The time is what the closing thread spends; freed_ms also counts the objects
// freed on a worker thread.
void BM_Close(benchmark::State &state)
{
    const int made = int(state.range(0));
    double freedMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto library = std::make_unique<OpenLibrary>();
        library->touchLists(made > 0);
        if (made > 1) {
            for (const auto &list : library->query.resultsAs<PaperList>()) {
                for (Paper *paper : list->papers().value_or(QList<Paper *>{}))
                    benchmark::DoNotOptimize(paper->title());
            }
        }
        QElapsedTimer clock;
        clock.start();
        state.ResumeTiming();
        library.reset();
        state.PauseTiming();
        QThreadPool::globalInstance()->waitForDone();
        freedMs += clock.nsecsElapsed() / 1e6;
        state.ResumeTiming();
    }
    state.counters["freed_ms"] = freedMs / double(state.iterations());
    state.SetLabel(made == 0 ? "lists only" : made == 1 ? "100k papers made" : "100k papers made and read");
}
BENCHMARK(BM_Close)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(10);

const char *selfPath = nullptr;

// Measured in a freshly started copy of this program, so that the figure is
// growth above a process that has loaded its libraries and nothing else.
void BM_ResidentGrowthAfterOpen(benchmark::State &state)
{
    const bool readPapers = state.range(0) != 0;
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0)
            return state.SkipWithError("pipe");
        const pid_t child = fork();
        if (child == 0) {
            dup2(fds[1], STDOUT_FILENO);
            const QByteArray folder = libraryFolder().toUtf8();
            execl(selfPath, selfPath, "--resident-growth", folder.constData(), readPapers ? "1" : "0", nullptr);
            _exit(1);
        }
        close(fds[1]);
        char buffer[64] = {};
        const ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
        close(fds[0]);
        waitpid(child, nullptr, 0);
        if (n <= 0)
            return state.SkipWithError("child failed");
        state.counters["RSS_growth_MiB"] = std::atof(buffer) / 1024.0;
    }
    state.SetLabel(readPapers ? "with papers() read" : "counts only");
}
BENCHMARK(BM_ResidentGrowthAfterOpen)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

int measureResidentGrowth(const char *folder, bool readPapers)
{
    libraryFolder() = QString::fromUtf8(folder);
    const long before = residentKiB();
    OpenLibrary library;
    library.touchLists(readPapers);
    std::printf("%ld\n", residentKiB() - before);
    return 0;
}

OpenLibrary &sharedLibrary()
{
    static OpenLibrary library;
    return library;
}

void BM_FetchCountById(benchmark::State &state)
{
    ModelContext &context = sharedLibrary().container.mainContext();
    std::mt19937 random(7);
    for (auto _ : state) {
        const qint64 count = context.fetchCount(Paper::withId(paperId(int(random() % paperCount))));
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_FetchCountById)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_BarePreparedSqliteCount(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QDir(libraryFolder()).filePath(QStringLiteral("LocalStore.sqlite")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM Paper WHERE id = ?1", -1, &stmt, nullptr);
    std::mt19937 random(7);
    for (auto _ : state) {
        const QByteArray id = paperId(int(random() % paperCount)).toUtf8();
        sqlite3_bind_text(stmt, 1, id.constData(), int(id.size()), SQLITE_TRANSIENT);
        sqlite3_step(stmt);
        benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 0));
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_BarePreparedSqliteCount)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// Adding a new paper to a list through the data manager, with the save that
// the context makes of it on the next turn of the event loop.
void BM_AddPaperToList(benchmark::State &state)
{
    OpenLibrary &library = sharedLibrary();
    ModelContext &context = library.container.mainContext();
    DataManager manager(context);
    const auto lists = library.query.resultsAs<PaperList>();
    int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto paper = std::make_shared<Paper>();
        paper->setId(QStringLiteral("new.%1").arg(next));
        PaperList *list = lists[next % 10].get();
        ++next;
        state.ResumeTiming();
        manager.add(paper, list);
        context.save();
    }
}
BENCHMARK(BM_AddPaperToList)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    selfPath = argv[0];
    if (argc == 4 && std::string_view(argv[1]) == "--resident-growth")
        return measureResidentGrowth(argv[2], argv[3][0] == '1');
    QTemporaryDir dir;
    libraryFolder() = dir.path();
    if (!generateLibraryInChild(libraryFolder()))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
