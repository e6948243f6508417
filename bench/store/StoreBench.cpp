// Figures for the library store on a generated library of 100,000 papers in
// 100 lists: opening until the lists and their counts are ready, the memory
// that costs, counting papers by id against a bare SQLite statement, and adding
// a paper to a list the way the data manager does.
#include "../ResidentMemory.h"
#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "ModelQuery.h"
#include "Paper.h"
#include "PaperList.h"

#include <QDir>
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

constexpr int paperCount = 100000;
constexpr int listCount = 100;

QString paperId(int i)
{
    return QStringLiteral("%1.%2").arg(2000 + i / 10000).arg(i % 10000, 5, 10, QLatin1Char('0'));
}

QString &libraryFolder()
{
    static QString folder;
    return folder;
}

void generateLibrary(const QString &folder)
{
    ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration(folder));
    ModelContext &context = container.mainContext();
    const QString summary = QStringLiteral(
        "We study the formation of galaxies in a cosmological volume, with a treatment of gas cooling, "
        "star formation and feedback from supernovae and active nuclei. ").repeated(5);
    context.transaction([&] {
        QList<PaperListPtr> lists;
        for (int l = 0; l < listCount; ++l) {
            lists.append(std::make_shared<PaperList>(QStringLiteral("List %1").arg(l), QList<Paper *>{}));
            context.insert(lists.last());
        }
        const QDateTime start(QDate(2015, 1, 1), QTime(0, 0), QTimeZone::utc());
        for (int i = 0; i < paperCount; ++i) {
            auto paper = std::make_shared<Paper>(
                paperId(i), QStringLiteral("Paper number %1 on structure formation").arg(i), summary,
                QStringList{QStringLiteral("A. Author"), QStringLiteral("B. Author"), QStringLiteral("C. Author")},
                start.addSecs(qint64(i) * 3600), std::nullopt,
                QUrl(QStringLiteral("http://arxiv.org/abs/") + paperId(i)),
                QUrl(QStringLiteral("http://arxiv.org/pdf/") + paperId(i)), std::nullopt, QString());
            paper->addToList(lists[i % listCount].get());
            context.insert(paper);
        }
    });
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
        state.ResumeTiming();
    }
    state.SetLabel(readPapers ? "counts from papers()" : "counts from paperCount()");
}
BENCHMARK(BM_OpenUntilListsAndCountsReady)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

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

// As the data manager adds a paper to a list: count stored papers with the id,
// link the paper both ways, save.
void BM_AddPaperToList(benchmark::State &state)
{
    OpenLibrary &library = sharedLibrary();
    ModelContext &context = library.container.mainContext();
    const auto lists = library.query.resultsAs<PaperList>();
    int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto paper = std::make_shared<Paper>();
        paper->setId(QStringLiteral("new.%1").arg(next));
        PaperList *list = lists[next % 10].get();
        ++next;
        state.ResumeTiming();
        if (context.fetchCount(Paper::withId(paper->id())) > 0) {
            context.fetch<Paper>(Paper::withId(paper->id())).first()->addToList(list);
        } else {
            paper->addToList(list);
            context.insert(paper);
        }
        list->addPaper(paper.get());
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
    // Generated in a child so that the measuring process starts small.
    const pid_t child = fork();
    if (child == 0) {
        generateLibrary(libraryFolder());
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
