#include "Paper.h"
#include "PaperList.h"

#include <QSignalSpy>
#include <QUuid>

#include <gtest/gtest.h>

TEST(Paper, Defaults)
{
    const auto before = QDateTime::currentDateTimeUtc();
    Paper paper;
    EXPECT_FALSE(QUuid::fromString(paper.id()).isNull());
    EXPECT_NE(Paper().id(), paper.id());
    EXPECT_EQ(paper.title(), QStringLiteral("Unknown title"));
    EXPECT_EQ(paper.summary(), QStringLiteral("Unknown summary"));
    EXPECT_EQ(paper.authors(), QStringList{QStringLiteral("Unknown author")});
    EXPECT_GE(paper.published(), before.addMSecs(-1));
    EXPECT_EQ(paper.doi(), std::nullopt);
    EXPECT_EQ(paper.url(), Paper::defaultURL());
    EXPECT_TRUE(Paper::defaultURL().isValid());
    EXPECT_EQ(paper.pdfURL(), std::nullopt);
    EXPECT_EQ(paper.comment(), std::nullopt);
    EXPECT_EQ(paper.notes(), QString());
    ASSERT_TRUE(paper.inLists().has_value());
    EXPECT_TRUE(paper.inLists()->isEmpty());

    PaperList list;
    EXPECT_FALSE(list.id().isNull());
    EXPECT_EQ(list.name(), QStringLiteral("Unknown"));
    EXPECT_EQ(list.icon(), QStringLiteral("folder"));
    EXPECT_TRUE(list.papers()->isEmpty());
    PaperList untitled(QStringLiteral("Untitled"), {});
    EXPECT_EQ(untitled.icon(), QStringLiteral("folder"));
}

TEST(Paper, EveryWriteIsOneChangeEvenWhenEqual)
{
    Paper paper;
    QSignalSpy spy(&paper, &Paper::changed);
    paper.setTitle(paper.title());
    paper.setNotes(QStringLiteral("x"));
    paper.setNotes(QStringLiteral("x"));
    paper.setDoi(std::nullopt);
    ASSERT_EQ(spy.count(), 4);
    EXPECT_EQ(spy[0][0].value<Paper::Property>(), Paper::Property::title);
    EXPECT_EQ(spy[3][0].value<Paper::Property>(), Paper::Property::doi);
}

TEST(Paper, PlainObjectsLinkOnlyTheirOwnSide)
{
    auto paper = std::make_shared<Paper>();
    auto first = std::make_shared<PaperList>(QStringLiteral("A"), QList<Paper *>{});
    auto second = std::make_shared<PaperList>(QStringLiteral("B"), QList<Paper *>{});
    QSignalSpy listSpy(first.get(), &PaperList::changed);

    // Until somebody inserts the paper, the lists do not know it.
    paper->addToList(first.get());
    paper->addToList(second.get());
    EXPECT_EQ(paper->inLists().value_or(QList<PaperList *>{}), (QList<PaperList *>{first.get(), second.get()}));
    EXPECT_TRUE(first->papers().value_or(QList<Paper *>{}).isEmpty());
    EXPECT_EQ(listSpy.count(), 0);

    // Another object for the same list (same UUID) is recognised as present.
    PaperList sameList;
    sameList.setId(first->id());
    QSignalSpy paperSpy(paper.get(), &Paper::changed);
    paper->addToList(&sameList);
    EXPECT_EQ(paper->inLists()->size(), 2);
    EXPECT_EQ(paperSpy.count(), 0);

    // Another paper object with the same id text is recognised; ids are exact text.
    first->addPaper(paper.get());
    Paper copy;
    copy.setId(paper->id());
    first->addPaper(&copy);
    EXPECT_EQ(first->papers()->size(), 1);
    Paper upper;
    upper.setId(paper->id().toUpper());
    first->addPaper(&upper);
    EXPECT_EQ(first->papers()->size(), 2);
    EXPECT_TRUE(upper.inLists().value_or(QList<PaperList *>{}).isEmpty());
}

TEST(Paper, AbsentListsBecomeExactlyTheNewLink)
{
    Paper paper;
    PaperList list;
    paper.setInLists(std::nullopt);
    list.setPapers(std::nullopt);
    EXPECT_FALSE(paper.inLists().has_value());

    QSignalSpy spy(&paper, &Paper::changed);
    paper.addToList(&list);
    EXPECT_EQ(spy.count(), 2);   // absent → empty, then the append
    EXPECT_EQ(paper.inLists().value_or(QList<PaperList *>{}), QList<PaperList *>{&list});
    EXPECT_FALSE(list.papers().has_value());

    Paper other;
    PaperList absent;
    absent.setPapers(std::nullopt);
    absent.addPaper(&other);
    EXPECT_EQ(absent.papers().value_or(QList<Paper *>{}), QList<Paper *>{&other});
}

TEST(Paper, AnObjectThatGoesAwayUnlinksItself)
{
    PaperList list;
    {
        auto paper = std::make_shared<Paper>();
        list.addPaper(paper.get());
        EXPECT_EQ(list.papers()->size(), 1);
    }
    EXPECT_TRUE(list.papers()->isEmpty());

    Paper paper;
    {
        PaperList transient(QStringLiteral("T"), {});
        paper.addToList(&transient);
        EXPECT_EQ(paper.inLists()->size(), 1);
    }
    EXPECT_TRUE(paper.inLists()->isEmpty());
}
