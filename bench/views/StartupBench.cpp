// Start-up until the first window is shown and painted, measured from the moment
// the process is started: Brivet on a library of 100,000 papers in 100 lists, with
// and without taking the library's lock (as the program does, so that a second launch
// hands over to it), and beside it, in the same run, a bare Qt window of the same size.
// Each start is a fresh process; it reports its peak resident memory too.
//
// Then a second launch on the library of a running Brivet: from starting the process
// until the window it asked for has been painted by the running Brivet.
//
// Without a display the windows go to the offscreen platform; run under Xvfb or a
// desktop session for figures with a real window system.
#include "../store/GeneratedLibrary.h"
#include "BrivetApp.h"
#include "MainWindow.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csignal>
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

int runBrivet(int argc, char **argv, const QString &folder, bool locked)
{
    QApplication application(argc, argv);
    BrivetApp::configureApplication();
    SingleInstance instance(LibrarySchema::configuration(folder).filePath());
    if (locked && instance.start() != SingleInstance::Outcome::Running)
        return 1;
    BrivetApp brivet(LibrarySchema::configuration(folder));
    MainWindow *window = brivet.newWindow();
    FirstPaint paint(window);
    return application.exec();
}

// Writes a line each time a window is painted for the first time.
class WindowPaints : public QObject {
public:
    WindowPaints() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType()) {
            QWidget *window = static_cast<QWidget *>(object)->window();
            if (!m_painted.contains(window)) {
                m_painted.insert(window);
                QTimer::singleShot(0, [] {
                    std::puts("painted");
                    std::fflush(stdout);
                });
            }
        }
        return false;
    }

private:
    QSet<QWidget *> m_painted;
};

// The running Brivet of the second-launch benchmark: it opens the windows that launches ask for.
int runServing(int argc, char **argv, const QString &folder)
{
    QApplication application(argc, argv);
    BrivetApp::configureApplication();
    SingleInstance instance(LibrarySchema::configuration(folder).filePath());
    if (instance.start() != SingleInstance::Outcome::Running)
        return 1;
    BrivetApp brivet(LibrarySchema::configuration(folder));
    QObject::connect(&instance, &SingleInstance::windowRequested, &brivet, &BrivetApp::openWindowForLaunch);
    WindowPaints paints;
    brivet.newWindow();
    return application.exec();
}

// A second launch, as the program makes it.
int runSecond(int argc, char **argv, const QString &folder)
{
    QApplication application(argc, argv);
    BrivetApp::configureApplication();
    SingleInstance instance(LibrarySchema::configuration(folder).filePath());
    return instance.start() == SingleInstance::Outcome::HandedOver ? 0 : 1;
}

struct Start {
    double seconds;
    long peakKiB;
};

// Starts this program in the given mode on the library, its standard output into the pipe.
pid_t spawn(const char *mode, int output)
{
    const pid_t child = fork();
    if (child == 0) {
        if (output >= 0)
            dup2(output, STDOUT_FILENO);
        const QByteArray folder = libraryFolder.toUtf8();
        execl(selfPath, selfPath, mode, folder.constData(), nullptr);
        _exit(127);
    }
    return child;
}

// Starts this program in the given mode and waits for its report.
std::optional<Start> startChild(const char *mode)
{
    int fds[2];
    if (pipe(fds) != 0)
        return std::nullopt;
    QElapsedTimer clock;
    clock.start();
    const pid_t child = spawn(mode, fds[1]);
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
BENCHMARK_CAPTURE(BM_StartUpToFirstPaint, brivet_100k_papers_locked, "--brivet-locked")
    ->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

bool readLine(FILE *from, const char *expected)
{
    char line[64] = {};
    return std::fgets(line, sizeof line, from) && std::string_view(line) == expected;
}

void BM_SecondLaunchToWindowPainted(benchmark::State &state)
{
    int fds[2];
    if (pipe(fds) != 0)
        return state.SkipWithError("no pipe");
    const pid_t running = spawn("--serve", fds[1]);
    close(fds[1]);
    FILE *paints = fdopen(fds[0], "r");
    if (!readLine(paints, "painted\n"))
        state.SkipWithError("the running Brivet did not show its window");
    for (auto _ : state) {
        if (state.error_occurred())
            break;
        QElapsedTimer clock;
        clock.start();
        const pid_t second = spawn("--second", -1);
        const bool painted = readLine(paints, "painted\n");
        const double seconds = clock.nsecsElapsed() / 1e9;
        int status = 0;
        waitpid(second, &status, 0);
        if (!painted || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the second launch did not hand over");
            break;
        }
        state.SetIterationTime(seconds);
        startTimes()["--second"].push_back(seconds);
    }
    kill(running, SIGKILL);
    waitpid(running, nullptr, 0);
    std::fclose(paints);
}
BENCHMARK(BM_SecondLaunchToWindowPainted)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

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
        return runBrivet(1, argv, QString::fromUtf8(argv[2]), false);
    if (argc == 3 && std::string_view(argv[1]) == "--brivet-locked")
        return runBrivet(1, argv, QString::fromUtf8(argv[2]), true);
    if (argc == 3 && std::string_view(argv[1]) == "--serve")
        return runServing(1, argv, QString::fromUtf8(argv[2]));
    if (argc == 3 && std::string_view(argv[1]) == "--second")
        return runSecond(1, argv, QString::fromUtf8(argv[2]));

    QTemporaryDir dir;
    libraryFolder = dir.path();
    // The sockets of the runs, in a runtime folder of their own.
    const QString runtime = dir.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    if (!generateLibraryInChild(libraryFolder))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double bare = median(startTimes()["--bare"]), brivet = median(startTimes()["--brivet"]);
    const double locked = median(startTimes()["--brivet-locked"]), second = median(startTimes()["--second"]);
    if (bare > 0)
        std::printf("median start-up: bare window %.1f ms, Brivet %.1f ms, ratio %.2f\n", bare * 1e3, brivet * 1e3,
                    brivet / bare);
    if (locked > 0)
        std::printf("median start-up with the library's lock: %.1f ms (%+.1f ms)\n", locked * 1e3,
                    (locked - brivet) * 1e3);
    if (second > 0)
        std::printf("median second launch to its window painted in the running Brivet: %.1f ms\n", second * 1e3);
    return 0;
}
