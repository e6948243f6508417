// The presence test of a PDF with a cloud folder, which the views ask on every
// redraw of the PDF buttons, at 10 and at 10,000 PDFs in the documents folder.
#include "CloudFolder.h"
#include "DataManager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_FileExistsWithCloudFolder(benchmark::State &state)
{
    const int pdfs = int(state.range(0));
    const bool present = state.range(1) != 0;
    QTemporaryDir container;
    const QString documents = container.filePath(QStringLiteral("Documents"));
    QDir().mkpath(documents);
    for (int i = 0; i < pdfs; ++i) {
        QFile file(QStringLiteral("%1/2401.%2.pdf").arg(documents).arg(i, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return state.SkipWithError("cannot write a PDF");
    }
    qputenv(CloudFolder::environmentVariable, QFile::encodeName(container.path()));
    // The last one made, or one that is not there.
    const QUrl url = QUrl::fromLocalFile(
        QStringLiteral("%1/2401.%2.pdf").arg(documents).arg(present ? pdfs - 1 : pdfs, 5, 10, QLatin1Char('0')));
    for (auto _ : state) {
        if (DataManager::fileExists(url) != present)
            return state.SkipWithError("wrong answer");
    }
    qunsetenv(CloudFolder::environmentVariable);
    state.SetLabel(present ? "present" : "absent");
}
BENCHMARK(BM_FileExistsWithCloudFolder)
    ->ArgsProduct({{10, 10'000}, {1, 0}})
    ->ArgNames({"pdfs", "present"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
