// A search answer of 100 papers from a local server until its rows are on screen:
// the time the GUI thread spends on it (sending, taking the answer in, making the
// papers, updating and painting the columns), from pressing Return to the end of
// the first paint after the results are stored. The server runs on a thread of its
// own, and the feed is parsed on the client's worker thread; neither counts.
#include "AppView.h"
#include "AppState.h"
#include "BrivetApp.h"
#include "LocalHttpServer.h"
#include "MainWindow.h"
#include "SearchEngines.h"
#include "SearchField.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

// Quits a loop at the end of the first paint of the window after it is armed.
class NextPaint : public QObject {
public:
    NextPaint(QWidget *window, QEventLoop &loop) : m_window(window), m_loop(loop) { qApp->installEventFilter(this); }
    bool armed = false;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (armed && event->type() == QEvent::Paint && object->isWidgetType()
            && static_cast<QWidget *>(object)->window() == m_window) {
            armed = false;
            QTimer::singleShot(0, &m_loop, &QEventLoop::quit);
        }
        return false;
    }

private:
    QWidget *m_window;
    QEventLoop &m_loop;
};

void BM_SearchAnswerToRowsOnScreen(benchmark::State &state)
{
    QFile feed(QStringLiteral(BRIVET_TEST_DATA_DIR "/arxiv/arxivpy_2026-04_newapi_search_testing_start0_max100.xml"));
    if (!feed.open(QIODevice::ReadOnly))
        return state.SkipWithError("no recorded feed");
    const QByteArray body = feed.readAll();

    QThread serverThread;
    serverThread.start();
    QObject serverContext;
    serverContext.moveToThread(&serverThread);
    LocalHttpServer *server = nullptr;
    QMetaObject::invokeMethod(&serverContext, [&] {
        server = new LocalHttpServer;
        server->setResponse({.body = body});
    }, Qt::BlockingQueuedConnection);
    qputenv("BRIVET_ARXIV_API_URL", server->url(QStringLiteral("/api/query")).toEncoded());

    QTemporaryDir store;
    {
        BrivetApp brivet(LibrarySchema::configuration(store.path()));
        MainWindow *window = brivet.newWindow();
        if (!QTest::qWaitForWindowExposed(window))
            qFatal("The window never came on screen");
        brivet.appState().setSelectedListId(arxivEngineId());
        window->appView()->searchField()->setText(QStringLiteral("testing"));

        QEventLoop loop;
        NextPaint paint(window, loop);
        QObject::connect(&brivet.appState(), &AppState::newResultsChanged, &loop, [&] { paint.armed = true; });
        double wallTotal = 0;
        for (auto _ : state) {
            QElapsedTimer wall;
            wall.start();
            const double cpuStart = threadCpuSeconds();
            QTest::keyClick(window->appView()->searchField(), Qt::Key_Return);
            loop.exec();
            state.SetIterationTime(threadCpuSeconds() - cpuStart);
            wallTotal += wall.nsecsElapsed() / 1e6;
            if (searchEngines().at(0)->papers().value_or(QList<PaperPtr>{}).size() != 100)
                return state.SkipWithError("the answer did not arrive");
        }
        state.counters["wall_ms"] = wallTotal / double(state.iterations());
    }

    QMetaObject::invokeMethod(&serverContext, [&] { delete server; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
}
BENCHMARK(BM_SearchAnswerToRowsOnScreen)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    BrivetApp::configureApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
