#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "ModelQuery.h"
#include "Paper.h"
#include "PaperList.h"
#include "TemporaryDataFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int papersPerBatch = 40;

QString paperId(int batch, int index)
{
    return QStringLiteral("%1.%2").arg(batch).arg(index, 5, 10, QLatin1Char('0'));
}

// The child: saves batch after batch, reporting each save that returned,
// until a timer thread kills the process wherever it happens to be.
[[noreturn]] void workUntilKilled(const QString &folder, int reportFd, int killAfterMs)
{
    ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration(folder));
    ModelContext &context = container.mainContext();
    auto list = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
    context.insert(list);
    context.save();
    std::thread([killAfterMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(killAfterMs));
        ::kill(::getpid(), SIGKILL);
    }).detach();
    for (int batch = 1;; ++batch) {
        for (int i = 0; i < papersPerBatch; ++i) {
            auto paper = std::make_shared<Paper>();
            paper->setId(paperId(batch, i));
            paper->setSummary(QStringLiteral("We present a long abstract with formulas $x^2$. ").repeated(30));
            paper->addToList(list.get());
            context.insert(paper);
        }
        list->setName(QStringLiteral("after batch %1").arg(batch));
        context.save();
        [[maybe_unused]] auto written = ::write(reportFd, &batch, sizeof batch);
    }
}

} // namespace

TEST(CrashSafety, AKilledProcessLeavesEverySavedChange)
{
    std::mt19937 random(12345);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        TemporaryDataFolder folder;
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const int killAfterMs = 150 + int(random() % 200);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            workUntilKilled(folder.path(), fds[1], killAfterMs);
        }
        ::close(fds[1]);
        int reported = 0;
        for (int batch; ::read(fds[0], &batch, sizeof batch) == sizeof batch;)
            reported = batch;
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        ASSERT_GT(reported, 0) << "the child did not get to save anything";

        ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration(folder.path()));
        ModelContext &context = container.mainContext();
        const auto lists = ModelQuery(context, PaperList::entityDescription()).resultsAs<PaperList>();
        ASSERT_EQ(lists.size(), 1);
        // The save in flight at the kill may or may not have landed, but never in part.
        const qsizetype papers = lists[0]->paperCount();
        EXPECT_EQ(papers % papersPerBatch, 0);
        const int batches = int(papers / papersPerBatch);
        EXPECT_GE(batches, reported);
        EXPECT_LE(batches, reported + 1);
        EXPECT_EQ(lists[0]->name(), QStringLiteral("after batch %1").arg(batches));
        for (int batch = 1; batch <= batches; ++batch) {
            EXPECT_EQ(context.fetchCount(Paper::withId(paperId(batch, 0))), 1);
            EXPECT_EQ(context.fetchCount(Paper::withId(paperId(batch, papersPerBatch - 1))), 1);
        }
        EXPECT_EQ(context.fetchCount(Paper::withId(paperId(batches + 1, 0))), 0);
        const auto last = context.fetch<Paper>(Paper::withId(paperId(batches, papersPerBatch - 1)));
        ASSERT_EQ(last.size(), 1);
        EXPECT_EQ(last[0]->inLists()->value(0), lists[0].get());
    }
}
