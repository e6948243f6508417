#include "ColumnsTestSupport.h"

#include "ContentView.h"
#include "PaperAction.h"
#include "DataManager.h"
#include "PaperListModel.h"
#include "PaperMimeData.h"
#include "SidebarModel.h"
#include "SidebarView.h"
#include "TransferablePaper.h"

#include <QFile>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTreeView>

namespace {

class SidebarTest : public ColumnsTest {
protected:
    SidebarTest() { show(sidebar); }

    SidebarModel &model() { return *sidebar.model(); }
    QTreeView &tree() { return *sidebar.treeView(); }
    QModelIndex rowOf(const QUuid &id) { return model().indexOf(id); }
    void click(const QModelIndex &row)
    {
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, tree().visualRect(row).center());
    }
    std::optional<QUuid> highlighted()
    {
        const QModelIndexList rows = tree().selectionModel()->selectedIndexes();
        return rows.isEmpty() ? std::nullopt : model().idAt(rows.first());
    }
    QLineEdit *editor() { return tree().findChild<QLineEdit *>(); }
    // What a drop of these bytes on a row does, through the view as a drop would arrive.
    bool drop(const QModelIndex &row, const QString &format, const QByteArray &bytes)
    {
        return dropAt(tree().visualRect(row).center(), format, bytes);
    }
    bool dropAt(const QPoint &at, const QString &format, const QByteArray &bytes)
    {
        QMimeData data;
        data.setData(format, bytes);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(tree().viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(tree().viewport(), &move);
        if (!move.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(tree().viewport(), &dropped);
        return dropped.isAccepted();
    }

    SidebarView sidebar{env};
};

} // namespace

TEST_F(SidebarTest, EnginesThenListsWithTheirCounts)
{
    auto empty = makeList("Empty");
    auto three = makeList("Three", {makePaper("a"), makePaper("b"), makePaper("c")});
    auto one = makeList("One", {makePaper("a")});

    const QModelIndex engines = model().sectionIndex(SidebarModel::enginesSection);
    const QModelIndex library = model().sectionIndex(SidebarModel::librarySection);
    EXPECT_EQ(engines.data().toString(), "Search Engines");
    EXPECT_EQ(library.data().toString(), "Library");
    EXPECT_FALSE(model().flags(engines) & Qt::ItemIsSelectable);
    ASSERT_EQ(model().rowCount(engines), 2);
    EXPECT_EQ(model().index(0, 0, engines).data().toString(), "Search ArXiv");
    EXPECT_EQ(model().index(1, 0, engines).data().toString(), "Search ADS");
    EXPECT_EQ(model().idAt(model().index(1, 0, engines)), adsEngineId());
    EXPECT_FALSE(model().index(0, 0, engines).data(Qt::DecorationRole).value<QIcon>().isNull());

    ASSERT_EQ(model().rowCount(library), 3);
    struct Row {
        QString name;
        int count;
        QString spoken;
    };
    const Row expected[] = {{"Empty", 0, "0 papers"}, {"Three", 3, "3 papers"}, {"One", 1, "1 paper"}};
    for (int i = 0; i < 3; ++i) {
        const QModelIndex row = model().index(i, 0, library);
        EXPECT_EQ(row.data().toString(), expected[i].name);
        EXPECT_EQ(row.data(SidebarModel::paperCountRole).toInt(), expected[i].count);
        EXPECT_EQ(row.data(Qt::AccessibleTextRole).toString(), expected[i].name);
        EXPECT_EQ(row.data(Qt::AccessibleDescriptionRole).toString(), expected[i].spoken);
    }
}

TEST_F(SidebarTest, EditsMoveSingleRowsAndTheSelectionStays)
{
    auto first = makeList("First");
    auto chosen = makeList("Chosen");
    click(rowOf(chosen->id()));
    ASSERT_EQ(highlighted(), chosen->id());

    QSignalSpy resets(&model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model(), &QAbstractItemModel::dataChanged);

    auto later = makeList("Later");
    context().deleteObject(first.get());
    chosen->setName("Renamed");
    t.dataManager.add(makePaper("x"), chosen.get());
    t.dataManager.remove(chosen->papers()->first(), chosen.get());

    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_GE(changed.count(), 3);
    EXPECT_EQ(highlighted(), chosen->id());
    EXPECT_EQ(tree().currentIndex(), rowOf(chosen->id()));
    EXPECT_EQ(rowOf(chosen->id()).data().toString(), "Renamed");
    EXPECT_EQ(rowOf(chosen->id()).data(SidebarModel::paperCountRole).toInt(), 0);
}

TEST_F(SidebarTest, ChoosingARowSelectsItAndClearsThePaper)
{
    auto list = makeList("Reading");
    const struct {
        const char *name;
        QUuid id;
    } cases[] = {{"ArXiv", arxivEngineId()}, {"ADS", adsEngineId()}, {"a list", list->id()}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        appState().setSelectedPaper(makePaper("selected before"));
        click(rowOf(c.id));
        EXPECT_EQ(appState().selectedListId(), c.id);
        EXPECT_EQ(appState().selectedPaper(), nullptr);
    }
    // Headers and empty space are not choices, and the cursor passes over a header.
    click(model().sectionIndex(SidebarModel::librarySection));
    EXPECT_EQ(appState().selectedListId(), list->id());
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, QPoint(5, tree().viewport()->height() - 3));
    EXPECT_EQ(highlighted(), list->id());
    click(rowOf(list->id()));
    QTest::keyClick(tree().viewport(), Qt::Key_Up);
    EXPECT_EQ(highlighted(), list->id());
    QTest::keyClick(tree().viewport(), Qt::Key_Up);
    EXPECT_EQ(appState().selectedListId(), adsEngineId());
}

TEST_F(SidebarTest, NewListTwiceMakesTwoUntitledFoldersAndSelectsTheSecond)
{
    appState().setSelectedPaper(makePaper("p"));
    sidebar.newListAction()->trigger();
    sidebar.newListAction()->trigger();
    const auto lists = model().lists();
    ASSERT_EQ(lists.size(), 2);
    for (const auto &list : lists) {
        EXPECT_EQ(list->name(), "Untitled");
        EXPECT_EQ(list->icon(), "folder");
    }
    EXPECT_NE(lists[0]->id(), lists[1]->id());
    EXPECT_EQ(appState().selectedListId(), lists[1]->id());
    EXPECT_EQ(highlighted(), lists[1]->id());
    EXPECT_EQ(appState().selectedPaper(), nullptr);
    EXPECT_EQ(editor(), nullptr) << "the name field takes no focus by itself";
}

TEST_F(SidebarTest, NewListShowsNoHelpText)
{
    QWidget *button = sidebar.findChild<QToolBar *>()->widgetForAction(sidebar.newListAction());
    ASSERT_TRUE(button);
    EXPECT_EQ(button->property("text").toString(), "New List");
    QToolTip::hideText();
    // What resting the pointer on the button asks for.
    const QPoint at = button->rect().center();
    QHelpEvent help(QEvent::ToolTip, at, button->mapToGlobal(at));
    QCoreApplication::sendEvent(button, &help);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString());
    EXPECT_EQ(button->toolTip(), QString());
    QToolTip::hideText();
}

TEST_F(SidebarTest, DeletingClearsTheWindowsSelectionAndTheHighlightAndKeepsThePapers)
{
    for (const bool deleteTheSelectedOne : {true, false}) {
        SCOPED_TRACE(deleteTheSelectedOne ? "the selected list" : "another list");
        auto paper = makePaper(deleteTheSelectedOne ? "only-here-1" : "only-here-2");
        auto doomed = makeList("Doomed", {paper});
        auto other = makeList("Other");
        const QString pdf = paper->localURL().toLocalFile();
        QDir().mkpath(QFileInfo(pdf).absolutePath());
        TemporaryDataFolder::write(pdf, "%PDF");

        click(rowOf((deleteTheSelectedOne ? doomed : other)->id()));
        appState().setSelectedPaper(paper);
        sidebar.deleteList(doomed);

        EXPECT_EQ(appState().selectedListId(), std::nullopt);
        EXPECT_EQ(appState().selectedPaper(), nullptr);
        EXPECT_EQ(highlighted(), std::nullopt) << "nothing may stay highlighted while nothing is selected";
        EXPECT_FALSE(rowOf(doomed->id()).isValid());
        EXPECT_EQ(context().fetchCount(Paper::withId(paper->id())), 1);
        EXPECT_TRUE(paper->inLists().value_or(QList<PaperList *>{}).isEmpty());
        EXPECT_TRUE(QFile::exists(pdf)) << "deleting a list touches no PDF";

        // A click on the row that was highlighted before selects it again.
        click(rowOf(other->id()));
        EXPECT_EQ(appState().selectedListId(), other->id());
        context().deleteObject(other.get());
    }
}

TEST_F(SidebarTest, AListsMenuByMouseOrKeyboardOffersDelete)
{
    for (const auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
        SCOPED_TRACE(reason == QContextMenuEvent::Mouse ? "mouse" : "keyboard");
        auto list = makeList("Doomed");
        click(rowOf(list->id()));
        QStringList offered;
        QTimer::singleShot(0, &tree(), [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            offered = texts(menu->actions());
            EXPECT_TRUE(PaperAction::isDestructive(menu->actions().value(0)));
            menu->actions().value(0)->trigger();
            menu->close();
        });
        const QPoint at = tree().visualRect(rowOf(list->id())).center();
        QContextMenuEvent event(reason, reason == QContextMenuEvent::Mouse ? at : QPoint(),
                                tree().viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(tree().viewport(), &event);
        EXPECT_EQ(offered, QStringList{"Delete"});
        EXPECT_FALSE(rowOf(list->id()).isValid());
        EXPECT_EQ(appState().selectedListId(), std::nullopt);
        EXPECT_EQ(highlighted(), std::nullopt);
    }
}

TEST_F(SidebarTest, ASelectionMadeElsewhereShowsHere)
{
    auto list = makeList("Reading");
    appState().setSelectedListId(list->id());
    EXPECT_EQ(highlighted(), list->id());
    appState().setSelectedPaper(makePaper("kept"));
    appState().setSelectedListId(adsEngineId());
    EXPECT_EQ(highlighted(), adsEngineId());
    EXPECT_NE(appState().selectedPaper(), nullptr) << "following AppState writes nothing back";
    appState().setSelectedListId(QUuid::createUuid());
    EXPECT_EQ(highlighted(), std::nullopt);
}

TEST_F(SidebarTest, RenamingInPlaceWritesEveryKeystrokeAndSavesWhenTheFieldCloses)
{
    auto list = makeList("Reading");
    ContentView content(env);   // its title follows the name too
    click(rowOf(list->id()));
    context().save();

    QTest::keyClick(tree().viewport(), Qt::Key_F2);
    QLineEdit *field = editor();
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QStringList seen;
    QObject::connect(list.get(), &PaperList::changed, field, [&] { seen << list->name(); });
    QTest::keyClicks(field, "Ab");
    EXPECT_EQ(seen, (QStringList{"A", "Ab"}));
    EXPECT_EQ(content.navigationTitle(), "Ab");
    EXPECT_TRUE(context().hasChanges()) << "typing alone does not save";

    // An empty name is kept.
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(list->name(), "");
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_VERIFY(!editor());
    EXPECT_FALSE(context().hasChanges()) << "saved when the field closed";

    // After a relaunch the name is the one typed.
    ModelContainer relaunched(LibrarySchema::schema(), LibrarySchema::configuration(t.store.path()));
    const auto stored = ModelQuery(relaunched.mainContext(), PaperList::entityDescription()).resultsAs<PaperList>();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0]->name(), "");
}

TEST_F(SidebarTest, EveryUsualTriggerStartsARenameAndEscapePutsTheNameBack)
{
    auto list = makeList("Reading");
    const QModelIndex row = rowOf(list->id());
    const QPoint at = tree().visualRect(row).center();
    const struct {
        const char *name;
        std::function<void()> start;
    } triggers[] = {
        {"F2", [&] { QTest::keyClick(tree().viewport(), Qt::Key_F2); }},
        {"double click", [&] { QTest::mouseDClick(tree().viewport(), Qt::LeftButton, {}, at); }},
        {"click on the selected row", [&] { QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, at); }},
    };
    click(row);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    for (const auto &trigger : triggers) {
        SCOPED_TRACE(trigger.name);
        trigger.start();
        QTRY_VERIFY(editor());
        editor()->selectAll();
        QTest::keyClicks(editor(), "xyz");
        EXPECT_EQ(list->name(), "xyz");
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTRY_VERIFY(!editor());
        EXPECT_EQ(list->name(), "Reading");
        QTest::qWait(QApplication::doubleClickInterval() + 50);
    }
}

TEST_F(SidebarTest, DropsOnAListAddPapersOnceAndRefuseAnythingElse)
{
    auto stored = makePaper("stored");
    auto elsewhere = makeList("Elsewhere", {stored});
    const QString format = TransferablePaper::mimeType;
    const auto json = [](const PaperPtr &paper) { return TransferablePaper(*paper).toJson(); };
    const auto several = [](const QList<PaperPtr> &papers) {
        QList<Paper *> raw;
        for (const auto &p : papers)
            raw << p.get();
        std::unique_ptr<QMimeData> data(PaperMimeData::make(raw));
        return data->data(TransferablePaper::mimeType);
    };
    const struct {
        const char *name;
        QString format;
        QByteArray bytes;
        bool taken;
        QStringList ids;   // of the target list afterwards
    } cases[] = {
        {"one new paper", format, json(makePaper("new")), true, {"new"}},
        {"a paper already stored", format, json(makePaper("stored")), true, {"stored"}},
        {"several, with a repeat, in order", format, several({makePaper("c"), makePaper("a"), makePaper("c")}), true,
         {"c", "a"}},
        {"malformed JSON", format, "{\"id\": \"broken\"", false, {}},
        {"a paper without its title", format, R"({"id":"x","summary":"","authors":[],"published":0,"url":"u","notes":""})",
         false, {}},
        {"another type", "text/plain", json(makePaper("plain")), false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto target = makeList("Target");
        context().save();
        EXPECT_EQ(drop(rowOf(target->id()), c.format, c.bytes), c.taken);
        QStringList ids;
        for (Paper *p : target->papers().value_or(QList<Paper *>{}))
            ids << p->id();
        EXPECT_EQ(ids, c.ids);
        for (const QString &id : c.ids)
            EXPECT_EQ(context().fetchCount(Paper::withId(id)), 1) << id.toStdString();
        EXPECT_FALSE(context().hasChanges()) << "a drop is committed at once";
        context().deleteObject(target.get());
        context().save();
    }
    EXPECT_EQ(context().fetchCount(Paper::withId("broken")), 0);
    EXPECT_EQ(stored->inLists()->size(), 1) << "linked to the deleted targets no more";

    // Only list rows take drops.
    for (const QModelIndex &row : {rowOf(arxivEngineId()), model().sectionIndex(SidebarModel::librarySection)})
        EXPECT_FALSE(drop(row, format, json(makePaper("nowhere"))));
    EXPECT_EQ(context().fetchCount(Paper::withId("nowhere")), 0);
}

// Anywhere on a list row is that row, its edges included; the edges of other rows and the
// space below the last row take nothing.
TEST_F(SidebarTest, ADropOnTheEdgeOfAListRowLandsOnThatRow)
{
    auto first = makeList("First");
    auto second = makeList("Second");
    const QString format = TransferablePaper::mimeType;
    const auto json = [](const QString &id) { return TransferablePaper(*makePaper(id)).toJson(); };
    const auto ids = [](const PaperListPtr &list) {
        QStringList shown;
        for (Paper *p : list->papers().value_or(QList<Paper *>{}))
            shown << p->id();
        return shown;
    };

    for (const PaperListPtr &list : {first, second}) {
        const QRect rect = tree().visualRect(rowOf(list->id()));
        ASSERT_GT(rect.height(), 12) << "a row tall enough to have edges";
        const QString top = list->name() + "-top", bottom = list->name() + "-bottom";
        EXPECT_TRUE(dropAt({rect.center().x(), rect.top()}, format, json(top)));
        EXPECT_TRUE(dropAt({rect.center().x(), rect.bottom()}, format, json(bottom)));
        EXPECT_TRUE(dropAt({rect.left() + 2, rect.top() + 3}, format, json(list->name() + "-corner")));
        EXPECT_EQ(ids(list), (QStringList{top, bottom, list->name() + "-corner"}));
    }

    const QModelIndex library = model().sectionIndex(SidebarModel::librarySection);
    const QRect lastRow = tree().visualRect(rowOf(second->id()));
    ASSERT_LT(lastRow.bottom() + 20, tree().viewport()->height()) << "room below the last row";
    const struct {
        const char *name;
        QPoint at;
    } refused[] = {
        {"top of an engine row", tree().visualRect(rowOf(adsEngineId())).topLeft() + QPoint(20, 0)},
        {"bottom of an engine row", tree().visualRect(rowOf(adsEngineId())).bottomLeft() + QPoint(20, 0)},
        {"top of a section header", tree().visualRect(library).topLeft() + QPoint(20, 0)},
        {"bottom of a section header", tree().visualRect(library).bottomLeft() + QPoint(20, 0)},
        {"empty space below the lists", lastRow.bottomLeft() + QPoint(20, 10)},
    };
    for (const auto &r : refused) {
        SCOPED_TRACE(r.name);
        EXPECT_FALSE(dropAt(r.at, format, json("nowhere")));
    }
    EXPECT_EQ(context().fetchCount(Paper::withId("nowhere")), 0);
    EXPECT_EQ(ids(first).size() + ids(second).size(), 6) << "no list took a refused drop";
}

TEST_F(SidebarTest, APaperDraggedFromOneWindowDropsOnAListOfAnother)
{
    auto source = makeList("Source", {makePaper("travels")});
    auto target = makeList("Target");
    SidebarView otherWindow(env);
    show(otherWindow);

    PaperListModel rows(source);
    std::unique_ptr<QMimeData> dragged(rows.mimeData({rows.index(0)}));
    SidebarModel &theirs = *otherWindow.model();
    ASSERT_TRUE(theirs.canDropMimeData(dragged.get(), Qt::CopyAction, -1, 0, theirs.indexOf(target->id())));
    EXPECT_TRUE(theirs.dropMimeData(dragged.get(), Qt::CopyAction, -1, 0, theirs.indexOf(target->id())));
    EXPECT_EQ(target->papers()->value(0), source->papers()->value(0)) << "the stored paper, not a copy";
    EXPECT_EQ(rowOf(target->id()).data(SidebarModel::paperCountRole).toInt(), 1) << "this window's count follows";

    // Both windows share one selection; a deletion in one clears the other's highlight.
    click(rowOf(target->id()));
    EXPECT_EQ(otherWindow.treeView()->selectionModel()->selectedIndexes().value(0), theirs.indexOf(target->id()));
    otherWindow.deleteList(source);
    EXPECT_EQ(highlighted(), std::nullopt);
}
