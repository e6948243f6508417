// The note editor as a user drives it inside the window's sheet: what it opens with, saving,
// cancelling (button and Escape), the rendered note following a save, a relaunch, and notes that
// are large or not clean text.
#include "NoteEditorView.h"

#include "AppView.h"
#include "LooseLineLayout.h"
#include "PaperDetailView.h"
#include "RoundIconButton.h"
#include "SearchEngines.h"
#include "StructuredText.h"
#include "SheetHost.h"
#include "ViewTestSupport.h"

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextBlock>
#include <QThreadPool>
#include <QVBoxLayout>

namespace {

class NoteEditorViewTest : public ::testing::Test, protected TestViewEnvironment {
protected:
    PaperPtr storedPaper(const QString &notes)
    {
        auto paper = std::make_shared<Paper>();
        paper->setNotes(notes);
        list = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
        env.modelContext.insert(list);
        dataManager.add(paper, list.get());
        return paper;
    }
    // The editor inside a window-modal sheet over a window, as the main window shows it.
    NoteEditorView *openSheet(const PaperPtr &paper) { return host.open(new NoteEditorView(env, paper)); }
    static QPlainTextEdit *textOf(NoteEditorView *editor)
    {
        return editor->findChild<QPlainTextEdit *>(QStringLiteral("noteText"));
    }
    static void typeAtEnd(NoteEditorView *editor, const QString &text)
    {
        QPlainTextEdit *edit = textOf(editor);
        edit->moveCursor(QTextCursor::End);
        // Line by line: a line break is the Return key.
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClicks(edit, lines[i]);
        }
    }

    PaperListPtr list;
    SheetHost host;
};

TEST_F(NoteEditorViewTest, OpensWithTheStoredNoteOrTheDefaultOne)
{
    EXPECT_EQ(NoteEditorView::kDefaultNote.size(), 71);
    struct Case {
        const char *name;
        QString stored;
        QString shown;
    };
    const Case cases[] = {
        {"empty", QString(), NoteEditorView::kDefaultNote},
        {"blanks are not empty", QStringLiteral("  \n "), QStringLiteral("  \n ")},
        {"a note", QStringLiteral("# Mine\n\n- a\n- b"), QStringLiteral("# Mine\n\n- a\n- b")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NoteEditorView *editor = openSheet(storedPaper(c.stored));
        EXPECT_EQ(editor->modifiedNotes(), c.shown);
        EXPECT_EQ(textOf(editor)->toPlainText(), c.shown);
        host.sheet()->reject();
    }
}

TEST_F(NoteEditorViewTest, LooksLikeTheSheetItIs)
{
    NoteEditorView *editor = openSheet(storedPaper(QString()));
    auto *title = editor->findChild<QLabel *>();
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), QStringLiteral("Notes"));
    struct Button {
        const char *name;
        const char *accessibleName;
        bool prominent;
    };
    for (const Button &b : {Button{"cancel", "Cancel", false}, Button{"confirm", "Save", true}}) {
        SCOPED_TRACE(b.name);
        auto *button = editor->findChild<RoundIconButton *>(QLatin1String(b.name));
        ASSERT_TRUE(button);
        EXPECT_EQ(button->size(), QSize(36, 36));
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->accessibleName(), QLatin1String(b.accessibleName));
        EXPECT_EQ(button->isProminent(), b.prominent);
        EXPECT_TRUE(button->shortcut().isEmpty());
    }
    // The buttons sit at the two ends of the title's row.
    auto *cancel = editor->findChild<RoundIconButton *>(QStringLiteral("cancel"));
    auto *save = editor->findChild<RoundIconButton *>(QStringLiteral("confirm"));
    EXPECT_LT(cancel->geometry().right(), title->geometry().left() + title->width() / 2);
    EXPECT_GT(save->geometry().left(), title->geometry().left() + title->width() / 2);

    // The text is loosely spaced, at least 150 px high, and grows with the sheet.
    QPlainTextEdit *edit = textOf(editor);
    EXPECT_GE(edit->minimumHeight(), 150);
    auto *layout = qobject_cast<LooseLineLayout *>(edit->document()->documentLayout());
    ASSERT_TRUE(layout);
    const QTextBlock first = edit->document()->firstBlock();
    EXPECT_GT(layout->blockBoundingRect(first).height(), first.layout()->lineAt(0).height() * 1.2);
    const int before = edit->height();
    host.sheet()->resize(host.sheet()->width(), host.sheet()->height() + 200);
    QApplication::processEvents();
    EXPECT_EQ(edit->height(), before + 200);
}

// The text area is a rounded field: at each corner the sheet shows through, a few pixels in
// the field begins, and the straight edges between are the field's, at any size.
TEST_F(NoteEditorViewTest, TheTextAreaHasRoundedCorners)
{
    NoteEditorView *editor = openSheet(storedPaper(QString()));
    QPlainTextEdit *edit = textOf(editor);
    for (const int taller : {0, 120}) {
        SCOPED_TRACE(taller);
        host.sheet()->resize(host.sheet()->width(), host.sheet()->height() + taller);
        QApplication::processEvents();
        const QImage shot = editor->grab().toImage();
        const QRect area = edit->geometry();
        const QColor sheet = shot.pixelColor(area.left() - 3, area.center().y());
        const QColor field = shot.pixelColor(area.center().x(), area.bottom() - 2);
        ASSERT_NE(sheet, field) << "the field stands out from the sheet";
        const QPoint corners[] = {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()};
        for (const QPoint &corner : corners) {
            const QPoint inward(corner.x() == area.left() ? 1 : -1, corner.y() == area.top() ? 1 : -1);
            EXPECT_EQ(shot.pixelColor(corner), sheet) << corner.x() << "," << corner.y();
            EXPECT_EQ(shot.pixelColor(corner + QPoint(2 * inward.x(), 0)), sheet) << corner.x() << "," << corner.y();
            EXPECT_EQ(shot.pixelColor(corner + QPoint(0, 2 * inward.y())), sheet) << corner.x() << "," << corner.y();
            EXPECT_NE(shot.pixelColor(corner + inward * 5), sheet) << corner.x() << "," << corner.y();
        }
        EXPECT_EQ(shot.pixelColor(area.left(), area.center().y()), field) << "straight edges are the field's";
        EXPECT_EQ(shot.pixelColor(area.center().x(), area.bottom()), field);
    }
}

TEST_F(NoteEditorViewTest, SaveWritesThroughTheSetterAndCloses)
{
    PaperPtr paper = storedPaper(QString());
    NoteEditorView *editor = openSheet(paper);
    QSignalSpy changes(paper.get(), &Paper::changed);
    typeAtEnd(editor, QStringLiteral("\n\n$x$ and :smile:"));
    EXPECT_TRUE(changes.isEmpty()) << "nothing is written while typing";
    QTest::mouseClick(editor->findChild<RoundIconButton *>(QStringLiteral("confirm")), Qt::LeftButton);
    EXPECT_EQ(paper->notes(), NoteEditorView::kDefaultNote + QStringLiteral("\n\n$x$ and :smile:"));
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].value<Paper::Property>(), Paper::Property::notes);
    EXPECT_EQ(host.dismissals(), 1);
    EXPECT_TRUE(!host.sheet() || !host.sheet()->isVisible());
}

TEST_F(NoteEditorViewTest, SavingAtOnceStoresTheDefaultNoteAndEmptyingItStoresNothing)
{
    PaperPtr paper = storedPaper(QString());
    openSheet(paper)->save();
    EXPECT_EQ(paper->notes(), NoteEditorView::kDefaultNote);

    NoteEditorView *editor = openSheet(paper);
    textOf(editor)->selectAll();
    QTest::keyClick(textOf(editor), Qt::Key_Delete);
    editor->save();
    EXPECT_EQ(paper->notes(), QString());
    EXPECT_EQ(openSheet(paper)->modifiedNotes(), NoteEditorView::kDefaultNote);
}

TEST_F(NoteEditorViewTest, CancelAndEscapeChangeNothing)
{
    const QString stored = QStringLiteral("# Kept");
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "cancel button");
        PaperPtr paper = storedPaper(stored);
        NoteEditorView *editor = openSheet(paper);
        QSignalSpy changes(paper.get(), &Paper::changed);
        typeAtEnd(editor, QStringLiteral(" lost words"));
        if (escape)
            QTest::keyClick(textOf(editor), Qt::Key_Escape);
        else
            QTest::mouseClick(editor->findChild<RoundIconButton *>(QStringLiteral("cancel")), Qt::LeftButton);
        EXPECT_EQ(host.dismissals(), 1);
        EXPECT_EQ(paper->notes(), stored);
        EXPECT_TRUE(changes.isEmpty());
        // A new opening starts from the stored note, not from what was typed.
        EXPECT_EQ(openSheet(paper)->modifiedNotes(), stored);
        host.sheet()->reject();
    }
}

TEST_F(NoteEditorViewTest, SavedNoteReachesTheDetailAtOnce)
{
    PaperPtr paper = storedPaper(QString());
    appState.setSelectedListId(list->id());
    PaperDetailView detail(env, paper);
    detail.resize(420, 600);
    detail.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&detail));
    EXPECT_FALSE(detail.showsNote());

    NoteEditorView *editor = openSheet(paper);
    textOf(editor)->selectAll();
    QTest::keyClicks(textOf(editor), QStringLiteral("# Fresh"));
    editor->save();
    ASSERT_TRUE(detail.showsNote());
    EXPECT_EQ(detail.noteView()->markup(), QStringLiteral("# Fresh"));
    EXPECT_TRUE(detail.noteView()->document().text().startsWith(QStringLiteral("Fresh")));
}

TEST_F(NoteEditorViewTest, TextIsSavedExactlyAsItStands)
{
    // No-break spaces, a line separator, replacement characters from bytes that were not UTF-8
    // and a lone surrogate: all kept through an edit.
    const QString odd = QStringLiteral("a\u00a0b\u2028c ") + QString::fromUtf8("\xff\xfe") + QChar(0xdc00) +
                        QStringLiteral(" z");
    PaperPtr paper = storedPaper(odd);
    NoteEditorView *editor = openSheet(paper);
    EXPECT_EQ(editor->modifiedNotes(), odd);
    typeAtEnd(editor, QStringLiteral("!"));
    editor->save();
    EXPECT_EQ(paper->notes(), odd + QStringLiteral("!"));

    // Line endings of a note written elsewhere stay as they are unless the user edits.
    const QString windows = QStringLiteral("one\r\ntwo\r\n");
    paper->setNotes(windows);
    openSheet(paper)->save();
    EXPECT_EQ(paper->notes(), windows);
}

TEST_F(NoteEditorViewTest, NoteWrittenAndSavedIsThereAfterARelaunch)
{
    const QString folder = store.path();
    PaperPtr paper = storedPaper(QString());
    const QString id = paper->id();
    container.mainContext().save();
    NoteEditorView *editor = openSheet(paper);
    textOf(editor)->selectAll();
    QTest::keyClicks(textOf(editor), QStringLiteral("# Kept over a relaunch"));
    editor->save();
    // The context's own saving takes it to the file; nothing here saves explicitly.
    QTest::qWait(0);
    QCoreApplication::processEvents();

    ModelContainer relaunched(LibrarySchema::schema(), LibrarySchema::configuration(folder));
    const auto papers = relaunched.mainContext().fetch<Paper>(Paper::withId(id));
    ASSERT_EQ(papers.size(), 1);
    EXPECT_EQ(papers[0]->notes(), QStringLiteral("# Kept over a relaunch"));
}

TEST_F(NoteEditorViewTest, AMegabyteNoteOpensAtOnceAndTypesWithoutParsingOrSaving)
{
    QString note;
    while (note.size() < 1024 * 1024)
        note += QStringLiteral("A line of a long note, with $x^2$ and *Markdown* in it.\n");
    PaperPtr paper = storedPaper(note);
    NoteEditorView *editor = openSheet(paper);
    QSignalSpy changes(paper.get(), &Paper::changed);
    QPlainTextEdit *edit = textOf(editor);

    // The text is made ready off the GUI thread; meanwhile nothing typed can get lost.
    ASSERT_TRUE(editor->isLoading());
    QTest::keyClicks(edit, QStringLiteral("early"));
    EXPECT_EQ(editor->modifiedNotes(), note);
    QSignalSpy loaded(editor, &NoteEditorView::loaded);
    ASSERT_TRUE(loaded.wait(30000));
    EXPECT_FALSE(editor->isLoading());
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_TRUE(qobject_cast<LooseLineLayout *>(edit->document()->documentLayout()));
    EXPECT_EQ(editor->modifiedNotes(), note);

    edit->moveCursor(QTextCursor::Start);
    QTest::keyClicks(edit, QStringLiteral("typed"));
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_EQ(editor->modifiedNotes(), QStringLiteral("typed") + note);
    EXPECT_EQ(paper->notes(), note);
    editor->save();
    EXPECT_EQ(paper->notes(), QStringLiteral("typed") + note);
}

TEST_F(NoteEditorViewTest, ASheetClosedWhileItsNoteLoadsLeavesNothingBehind)
{
    const QString note = QStringLiteral("# Big\n\n") + QString(2 * NoteEditorView::kBackgroundLoadChars, QLatin1Char('x'));
    PaperPtr paper = storedPaper(note);
    for (int i = 0; i < 3; ++i) {
        auto editor = std::make_unique<NoteEditorView>(env, paper);
        EXPECT_TRUE(editor->isLoading());
        editor->save(); // before the text arrived: the note stays as it was
    }
    EXPECT_EQ(paper->notes(), note);
    // The documents made meanwhile arrive to nobody and are freed (the sanitizer build would tell).
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

} // namespace
