// Start-up until the first window is shown and painted, measured from the moment
// the process is started: Brivet on a library of 100,000 papers in 100 lists, and
// beside it, in the same run, a bare Qt window of the same size. Each start is a
// fresh process; it reports its peak resident memory too.
//
// Without a display the windows go to the offscreen platform; run under Xvfb or a
// desktop session for figures with a real window system.
#include "../store/GeneratedLibrary.h"
#include "BrivetApp.h"
#include "MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char *selfPath = nullptr;
QString libraryFolder;

// Ends the process with its peak memory once the whole of a window has been painted.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType()
            && static_cast<QWidget *>(object)->window() == m_window && !m_seen) {
            m_seen = true;
            // Queued, so the rest of this paint pass (and its flush to the screen) ends first.
            QTimer::singleShot(0, [] {
                std::printf("%ld\n", peakResidentKiB());
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }

private:
    static long peakResidentKiB()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
        return 0;
    }

    QWidget *m_window;
    bool m_seen = false;
};

int runBare(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(MainWindow::minimumWindowSize);
    FirstPaint paint(&window);
    window.show();
    return application.exec();
}

int runBrivet(int argc, char **argv, const QString &folder)
{
    QApplication application(argc, argv);
    BrivetApp::configureApplication();
    BrivetApp brivet(LibrarySchema::configuration(folder));
    MainWindow *window = brivet.newWindow();
    FirstPaint paint(window);
    return application.exec();
}

struct Start {
    double seconds;
    long peakKiB;
};

// Starts this program in the given mode and waits for its report.
std::optional<Start> startChild(const char *mode)
{
    int fds[2];
    if (pipe(fds) != 0)
        return std::nullopt;
    QElapsedTimer clock;
    clock.start();
    const pid_t child = fork();
    if (child == 0) {
        dup2(fds[1], STDOUT_FILENO);
        const QByteArray folder = libraryFolder.toUtf8();
        execl(selfPath, selfPath, mode, folder.constData(), nullptr);
        _exit(127);
    }
    close(fds[1]);
    char buffer[64] = {};
    const ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    return Start{seconds, std::atol(buffer)};
}

std::map<std::string, std::vector<double>> &startTimes()
{
    static std::map<std::string, std::vector<double>> times;
    return times;
}

void BM_StartUpToFirstPaint(benchmark::State &state, const char *mode)
{
    long peak = 0;
    for (auto _ : state) {
        const auto start = startChild(mode);
        if (!start)
            return state.SkipWithError("the child did not report");
        state.SetIterationTime(start->seconds);
        startTimes()[mode].push_back(start->seconds);
        peak = std::max(peak, start->peakKiB);
    }
    state.counters["peak_MiB"] = peak / 1024.0;
}
BENCHMARK_CAPTURE(BM_StartUpToFirstPaint, bare_window, "--bare")
    ->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUpToFirstPaint, brivet_100k_papers, "--brivet")
    ->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    selfPath = argv[0];
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::string_view(argv[1]) == "--bare")
        return runBare(1, argv);
    if (argc == 3 && std::string_view(argv[1]) == "--brivet")
        return runBrivet(1, argv, QString::fromUtf8(argv[2]));

    QTemporaryDir dir;
    libraryFolder = dir.path();
    if (!generateLibraryInChild(libraryFolder))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double bare = median(startTimes()["--bare"]), brivet = median(startTimes()["--brivet"]);
    if (bare > 0)
        std::printf("median start-up: bare window %.1f ms, Brivet %.1f ms, ratio %.2f\n", bare * 1e3, brivet * 1e3,
                    brivet / bare);
    return 0;
}
