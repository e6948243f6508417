#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "ModelQuery.h"
#include "Paper.h"
#include "PaperList.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

struct Library {
    explicit Library(const QString &folder)
        : container(LibrarySchema::schema(), LibrarySchema::configuration(folder))
    {
    }
    ModelContext &context() { return container.mainContext(); }
    QList<PaperListPtr> lists()
    {
        return ModelQuery(context(), PaperList::entityDescription()).resultsAs<PaperList>();
    }
    ModelContainer container;
};

PaperPtr samplePaper(const QString &id)
{
    return std::make_shared<Paper>(
        id, QStringLiteral("On the Electrodynamics of Moving Bodies"),
        QStringLiteral("It is known that Maxwell's electrodynamics leads to asymmetries. ").repeated(40),
        QStringList{QStringLiteral("A. Einstein"), QStringLiteral("Ünïcode Äuthor")},
        QDateTime(QDate(1905, 6, 30), QTime(12, 0, 0, 123), QTimeZone::utc()), QStringLiteral("10.1002/andp.19053221004"),
        QUrl(QStringLiteral("http://arxiv.org/abs/") + id), QUrl(QStringLiteral("http://arxiv.org/pdf/") + id),
        std::nullopt, QStringLiteral("# Note\n\n$$E = mc^2$$"));
}

} // namespace

TEST(PaperStore, ValuesAndLinksSurviveAReopen)
{
    TemporaryDataFolder folder;
    {
        Library library(folder.path());
        auto list = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
        library.context().insert(list);
        auto paper = samplePaper(QStringLiteral("2101.00001v2"));
        paper->addToList(list.get());
        library.context().insert(paper);
        library.context().save();
    }
    Library library(folder.path());
    const auto lists = library.lists();
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists[0]->name(), QStringLiteral("Reading"));
    EXPECT_EQ(lists[0]->icon(), QStringLiteral("folder"));
    ASSERT_EQ(lists[0]->paperCount(), 1);
    Paper *paper = lists[0]->papers()->at(0);
    const auto expected = samplePaper(QStringLiteral("2101.00001v2"));
    EXPECT_EQ(paper->id(), expected->id());
    EXPECT_EQ(paper->summary(), expected->summary());
    EXPECT_EQ(paper->authors(), expected->authors());
    EXPECT_EQ(paper->published(), expected->published());
    EXPECT_EQ(paper->doi(), expected->doi());
    EXPECT_EQ(paper->url(), expected->url());
    EXPECT_EQ(paper->pdfURL(), expected->pdfURL());
    EXPECT_EQ(paper->comment(), std::nullopt);
    EXPECT_EQ(paper->notes(), expected->notes());
    ASSERT_EQ(paper->inLists()->size(), 1);
    EXPECT_EQ(paper->inLists()->at(0), lists[0].get());
}
