#pragma once
// A generated library of 100,000 papers in 100 lists, as a heavy user might keep,
// for the benchmarks of the store and of start-up.
#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "Paper.h"
#include "PaperList.h"

#include <QTimeZone>

#include <sys/wait.h>
#include <unistd.h>

constexpr int paperCount = 100000;
constexpr int listCount = 100;

inline QString paperId(int i)
{
    return QStringLiteral("%1.%2").arg(2000 + i / 10000).arg(i % 10000, 5, 10, QLatin1Char('0'));
}

inline void generateLibrary(const QString &folder)
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

// Generates the library in a child process, so that the measuring process starts small.
inline bool generateLibraryInChild(const QString &folder)
{
    const pid_t child = fork();
    if (child == 0) {
        generateLibrary(folder);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
