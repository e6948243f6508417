#include "ColumnsTestSupport.h"

#include "ArticleContextMenu.h"
#include "DataManager.h"
#include "PaperAction.h"
#include "PaperListModel.h"
#include "PaperListView.h"
#include "PaperMimeData.h"
#include "TransferablePaper.h"

#include <QMimeData>
#include <QSignalSpy>

namespace {

class PaperListTest : public ColumnsTest {
protected:
    PaperListTest() { show(view); }
    PaperListView view{env, nullptr};
};

} // namespace

TEST_F(PaperListTest, EachRowReadsOutTitleIdentifierDateAndAuthors)
{
    const struct {
        const char *name;
        QStringList authors;
        QString line;
        QString spoken;
    } cases[] = {
        {"no authors", {}, "", "2101.00001, Jun 30, 1905"},
        {"one author", {"M. Curie"}, "M. Curie", "2101.00001, Jun 30, 1905, M. Curie"},
        {"several authors", {"M. Curie", "P. Curie", "H. Becquerel"}, "M. Curie et al.",
         "2101.00001, Jun 30, 1905, M. Curie et al."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PaperListModel model(QList<PaperPtr>{makePaper("2101.00001", c.authors)});
        const QModelIndex row = model.index(0);
        EXPECT_EQ(row.data().toString(), "Title of 2101.00001");
        EXPECT_EQ(row.data(PaperListModel::idRole).toString(), "2101.00001");
        EXPECT_EQ(row.data(PaperListModel::dateRole).toString(), "Jun 30, 1905");
        EXPECT_EQ(row.data(PaperListModel::authorLineRole).toString(), c.line);
        EXPECT_EQ(row.data(Qt::AccessibleTextRole).toString(), "Title of 2101.00001");
        EXPECT_EQ(row.data(Qt::AccessibleDescriptionRole).toString(), c.spoken);
    }
}

TEST_F(PaperListTest, ARowShownFollowsItsPaper)
{
    const PaperPtr paper = makePaper("p");
    PaperListModel model(QList<PaperPtr>{makePaper("other"), paper});
    view.setPaperModel(&model);
    paint(view);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    paper->setTitle("New title");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().at(0).value<QModelIndex>().row(), 1);
    EXPECT_EQ(model.index(1).data().toString(), "New title");
    paper->setNotes("not shown in a row");
    EXPECT_EQ(changed.count(), 1);
    view.setPaperModel(nullptr);
}

TEST_F(PaperListTest, TheContextMenuFitsTheSource)
{
    const PaperPtr result = makePaper("result");
    const struct {
        const char *name;
        bool withLists;
        bool fromList;
        QStringList entries;
    } cases[] = {
        {"search results, no lists stored", false, false,
         {"Take Notes", "Open PDF", "Open in Browser", "Delete PDF"}},
        {"search results", true, false, {"Take Notes", "Add To", "Open PDF", "Open in Browser", "Delete PDF"}},
        {"a list", true, true,
         {"Take Notes", "Add To", "Remove from Reading", "|", "Open PDF", "Open in Browser", "Delete PDF"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PaperListPtr list = c.withLists ? makeList("Reading", {result}) : nullptr;
        ArticleContextMenu menu(env, result, c.fromList ? list : nullptr, &view);
        EXPECT_EQ(texts(menu.actions()), c.entries);
        QStringList destructive;
        for (QAction *action : menu.actions()) {
            if (PaperAction::isDestructive(action))
                destructive << action->text();
        }
        EXPECT_EQ(destructive, c.fromList ? QStringList({"Remove from Reading", "Delete PDF"}) : QStringList{"Delete PDF"});
        if (list)
            context().deleteObject(list.get());
    }
}

TEST_F(PaperListTest, ChoosingARowSelectsThePaperAndASelectionMadeElsewhereShows)
{
    const QList<PaperPtr> papers{makePaper("a"), makePaper("b"), makePaper("c")};
    const PaperPtr elsewhere = makePaper("elsewhere");
    appState().setSelectedPaper(elsewhere);
    PaperListModel model(papers);
    view.setPaperModel(&model);
    EXPECT_EQ(view.selectedPaper(), nullptr);
    EXPECT_EQ(appState().selectedPaper(), elsewhere) << "a new list clears nobody's selection";

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(model.index(1)).center());
    EXPECT_EQ(appState().selectedPaper(), papers[1]);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(appState().selectedPaper(), papers[2]);

    appState().setSelectedPaper(papers[0]);
    EXPECT_EQ(view.selectedPaper(), papers[0]);
    appState().setSelectedPaper(nullptr);
    EXPECT_EQ(view.selectedPaper(), nullptr);
    view.setPaperModel(nullptr);
}

TEST_F(PaperListTest, ARowDragsOutAsThePaperWithItsNoteAndWithoutItsLists)
{
    const PaperPtr paper = makePaper("2101.00002", {"A", "B"}, QUrl("https://arxiv.org/pdf/2101.00002"));
    paper->setNotes("# My note\n\n$$x$$");
    auto first = makeList("First", {paper});
    auto second = makeList("Second", {paper});
    PaperListModel model(first);
    EXPECT_TRUE(model.flags(model.index(0)) & Qt::ItemIsDragEnabled);
    EXPECT_EQ(model.supportedDragActions(), Qt::CopyAction);
    std::unique_ptr<QMimeData> data(model.mimeData({model.index(0)}));
    ASSERT_TRUE(data->hasFormat("com.quendo.brivet.paper"));
    EXPECT_EQ(TransferablePaper::fromJson(data->data("com.quendo.brivet.paper")), TransferablePaper(*paper));
    const auto arrived = PaperMimeData::read(data.get());
    ASSERT_TRUE(arrived && arrived->size() == 1);
    const PaperPtr copy = arrived->first().toPaper();
    EXPECT_EQ(copy->notes(), "# My note\n\n$$x$$");
    EXPECT_TRUE(copy->inLists().value_or(QList<PaperList *>{}).isEmpty());
}

TEST_F(PaperListTest, APaperRemovedWhileSelectedLeavesNothingBehind)
{
    auto list = makeList("Reading", {makePaper("a"), makePaper("b")});
    PaperListModel model(list);
    view.setPaperModel(&model);
    view.setCurrentIndex(model.index(1));
    const PaperPtr selected = model.paperAt(1);
    ASSERT_EQ(appState().selectedPaper(), selected);

    // Removed through the store, as another window would.
    t.dataManager.remove(selected.get(), list.get());
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(view.selectedPaper(), nullptr);
    EXPECT_EQ(appState().selectedPaper(), nullptr);
    paint(view);

    // The list itself deleted while shown.
    context().deleteObject(list.get());
    EXPECT_EQ(model.rowCount(), 0);
    paint(view);
    view.setPaperModel(nullptr);
}
