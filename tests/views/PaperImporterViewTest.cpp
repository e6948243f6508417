// The importer form as a user fills it in inside its sheet: what it shows, the author rows, the
// URL fields, the file dialog, failed and successful imports, a slow download, and identifiers
// that try to leave the documents folder.
#include "PaperImporterView.h"

#include "AppFolders.h"
#include "ImportablePaper.h"
#include "PaperList.h"
#include "RoundIconButton.h"
#include "SheetHost.h"
#include "ViewTestSupport.h"

#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

class PaperImporterViewTest : public ::testing::Test, protected TestViewEnvironment {
protected:
    PaperImporterViewTest()
    {
        list = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
        env.modelContext.insert(list);
        pdf = files.filePath(QStringLiteral("picked paper.pdf"));
        TemporaryDataFolder::write(pdf, "%PDF-1.4 picked");
    }
    // The form inside a window-modal sheet over a window, as the content column shows it.
    PaperImporterView *openSheet() { return host.open(new PaperImporterView(env, list.get())); }
    static QLineEdit *field(PaperImporterView *form, const char *name)
    {
        return form->findChild<QLineEdit *>(QLatin1String(name));
    }
    static void type(PaperImporterView *form, const char *name, const QString &text)
    {
        QLineEdit *edit = field(form, name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // The row title of a field in its form layout.
    static QString titleOf(QWidget *field)
    {
        auto *form = qobject_cast<QFormLayout *>(field->parentWidget()->layout());
        auto *label = form ? qobject_cast<QLabel *>(form->labelForField(field)) : nullptr;
        return label ? label->text() : QString();
    }
    // Fills in everything the import needs but the PDF.
    void fillIn(PaperImporterView *form, const QString &id = QStringLiteral("2401.12345"))
    {
        type(form, "identifier", id);
        type(form, "title", QStringLiteral("A paper by hand"));
        type(form, "abstract", QStringLiteral("What it says"));
        type(form, "author0", QStringLiteral("A. Author"));
        type(form, "webpage", QStringLiteral("https://example.org/abs/1"));
    }
    // Picks a file through the form's file dialog, or cancels the dialog with an empty path.
    static void pick(PaperImporterView *form, const QString &path)
    {
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("selectFile")), Qt::LeftButton);
        QFileDialog *dialog = form->fileDialog();
        ASSERT_TRUE(dialog);
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept(); // as the dialog's Open button does
    }
    void confirm(PaperImporterView *form)
    {
        QSignalSpy ended(form, &PaperImporterView::importFinished);
        QTest::mouseClick(form->findChild<RoundIconButton *>(QStringLiteral("confirm")), Qt::LeftButton);
        if (ended.isEmpty()) {
            ASSERT_TRUE(ended.wait(10000));
        }
    }
    QList<Paper *> papersOfList() const { return list->papers().value_or(QList<Paper *>{}); }

    PaperListPtr list;
    TemporaryDataFolder files;
    QString pdf;
    SheetHost host;
    LocalHttpServer server;
};

TEST_F(PaperImporterViewTest, AFreshFormShowsEveryLabelOfTheForm)
{
    PaperImporterView *form = openSheet();
    EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("heading"))->text(), QStringLiteral("Import to Reading"));
    EXPECT_TRUE(form->errorMessage().isEmpty());
    EXPECT_FALSE(form->findChild<QLabel *>(QStringLiteral("error"))->isVisible());

    struct Field {
        const char *name;
        const char *title;
        const char *prompt;
    };
    const Field fields[] = {
        {"title", "Title", "Required"},
        {"abstract", "Abstract", "Required"},
        {"author0", "Author", "Required"},
        {"identifier", "Identifier", "Required, E.g. ArXiv ID"},
        {"doi", "DOI", "Optional"},
        {"webpage", "Webpage", "Optional, E.g. https://arxiv.org/abs/id"},
        {"downloadURL", "Download URL", "E.g. https://arxiv.org/pdf/id"},
    };
    for (const Field &f : fields) {
        SCOPED_TRACE(f.name);
        QLineEdit *edit = field(form, f.name);
        ASSERT_TRUE(edit);
        EXPECT_TRUE(edit->text().isEmpty());
        EXPECT_EQ(titleOf(edit), QLatin1String(f.title));
        EXPECT_EQ(edit->placeholderText(), QLatin1String(f.prompt));
        EXPECT_EQ(edit->accessibleName(), QLatin1String(f.title));
    }
    EXPECT_EQ(form->authorRowCount(), 1);
    auto *date = form->findChild<QDateEdit *>(QStringLiteral("published"));
    EXPECT_EQ(titleOf(date), QStringLiteral("Publication Date"));
    EXPECT_EQ(date->date(), QDate::currentDate());
    EXPECT_FALSE(date->displayFormat().contains(QLatin1Char('h'), Qt::CaseInsensitive)) << "the date only";

    QStringList headers;
    for (auto *box : form->findChildren<QGroupBox *>())
        headers << box->title();
    EXPECT_EQ(headers, (QStringList{QString(), QStringLiteral("Metadata"), QStringLiteral("File")}));
    bool footer = false;
    for (auto *label : form->findChildren<QLabel *>())
        footer |= label->text() == QStringLiteral("At least one of the URL or file must be given here, the URL is the "
                                                  "better of the two. The URL must be accessible without authentication.");
    EXPECT_TRUE(footer);
    EXPECT_FALSE(form->findChild<QLabel *>(QStringLiteral("fileName"))->isVisible());

    for (const auto &[name, help] : {std::pair{"cancel", "Cancel"}, std::pair{"confirm", "Done"}}) {
        auto *button = form->findChild<RoundIconButton *>(QLatin1String(name));
        EXPECT_EQ(button->toolTip(), QLatin1String(help));
        EXPECT_EQ(button->size(), QSize(36, 36));
        EXPECT_TRUE(button->text().isEmpty());
    }
}

TEST_F(PaperImporterViewTest, AuthorRowsOnlyGrowAndEachEditsItsOwnEntry)
{
    PaperImporterView *form = openSheet();
    auto *add = form->findChild<QPushButton *>(QStringLiteral("addAuthor"));
    EXPECT_EQ(add->text(), QStringLiteral("Add author"));
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(form->authorRowCount(), 3);
    EXPECT_EQ(form->form().authorsIdx(), 3);
    EXPECT_EQ(titleOf(field(form, "author0")), QStringLiteral("Author"));
    EXPECT_EQ(titleOf(field(form, "author1")), QString());
    EXPECT_EQ(titleOf(field(form, "author2")), QString());
    EXPECT_TRUE(field(form, "author2")->text().isEmpty());

    type(form, "author1", QStringLiteral("B. Second"));
    EXPECT_EQ(form->form().authors, (QStringList{QString(), QStringLiteral("B. Second"), QString()}));
}

TEST_F(PaperImporterViewTest, FieldsWriteStraightIntoTheFormAndNonURLsStayNone)
{
    PaperImporterView *form = openSheet();
    fillIn(form);
    type(form, "doi", QStringLiteral("10.1000/xyz"));
    const ImportablePaper &model = form->form();
    EXPECT_EQ(model.id(), QStringLiteral("2401.12345"));
    EXPECT_EQ(model.title(), QStringLiteral("A paper by hand"));
    EXPECT_EQ(model.summary(), QStringLiteral("What it says"));
    EXPECT_EQ(model.doi(), QStringLiteral("10.1000/xyz"));
    EXPECT_EQ(model.url(), QUrl(QStringLiteral("https://example.org/abs/1")));

    for (const char *text : {"not a url", "arxiv.org/abs/1", "https://", "mailto:"}) {
        SCOPED_TRACE(text);
        type(form, "webpage", QLatin1String(text));
        EXPECT_FALSE(model.url().has_value());
        type(form, "downloadURL", QLatin1String(text));
        EXPECT_FALSE(model.pdfURL().has_value());
    }
    type(form, "downloadURL", QStringLiteral("https://arxiv.org/pdf/2401.12345"));
    EXPECT_EQ(model.pdfURL(), QUrl(QStringLiteral("https://arxiv.org/pdf/2401.12345")));

    auto *date = form->findChild<QDateEdit *>(QStringLiteral("published"));
    const QTime timeOfDay = model.published().toLocalTime().time();
    date->setDate(QDate(2020, 2, 29));
    EXPECT_EQ(model.published().toLocalTime().date(), QDate(2020, 2, 29));
    EXPECT_EQ(model.published().toLocalTime().time(), timeOfDay);
}

TEST_F(PaperImporterViewTest, TheFileDialogTakesOnePdfAndCancellingKeepsThePick)
{
    PaperImporterView *form = openSheet();
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("selectFile")), Qt::LeftButton);
    QFileDialog *dialog = form->fileDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->mimeTypeFilters(), QStringList{QStringLiteral("application/pdf")});
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    dialog->reject();

    pick(form, pdf);
    auto *name = form->findChild<QLabel *>(QStringLiteral("fileName"));
    EXPECT_TRUE(name->isVisible());
    EXPECT_EQ(name->text(), QStringLiteral("picked paper.pdf"));
    EXPECT_EQ(form->form().fileURL(), QUrl::fromLocalFile(pdf));

    const QString other = files.filePath(QStringLiteral("other.pdf"));
    TemporaryDataFolder::write(other, "%PDF-1.4 other");
    pick(form, other);
    EXPECT_EQ(name->text(), QStringLiteral("other.pdf"));
    pick(form, QString());
    EXPECT_EQ(name->text(), QStringLiteral("other.pdf"));
    EXPECT_EQ(form->form().fileURL(), QUrl::fromLocalFile(other));
}

TEST_F(PaperImporterViewTest, AFailedImportShowsTheErrorAndKeepsEveryValue)
{
    PaperImporterView *form = openSheet();
    confirm(form);
    EXPECT_EQ(form->errorMessage(), QStringLiteral("Error: The paper's ID is missing"));
    EXPECT_TRUE(form->findChild<QLabel *>(QStringLiteral("error"))->isVisible());
    EXPECT_TRUE(host.sheet() && host.sheet()->isVisible());

    // Nothing is checked before the import: the import's own order decides.
    type(form, "identifier", QStringLiteral("x"));
    type(form, "title", QStringLiteral("T"));
    confirm(form);
    EXPECT_EQ(form->errorMessage(), QStringLiteral("Error: The paper's abstract is missing"));
    EXPECT_EQ(field(form, "identifier")->text(), QStringLiteral("x"));
    EXPECT_EQ(field(form, "title")->text(), QStringLiteral("T"));

    // A later successful pick does not clear the line.
    pick(form, pdf);
    EXPECT_EQ(form->errorMessage(), QStringLiteral("Error: The paper's abstract is missing"));
    EXPECT_TRUE(papersOfList().isEmpty());
    EXPECT_TRUE(host.dismissals() == 0);
}

TEST_F(PaperImporterViewTest, ASuccessfulImportStoresThePaperInTheListAndCloses)
{
    PaperImporterView *form = openSheet();
    fillIn(form);
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("addAuthor")), Qt::LeftButton);
    type(form, "author1", QStringLiteral("  B. Second "));
    pick(form, pdf);
    confirm(form);
    EXPECT_EQ(host.dismissals(), 1);
    ASSERT_EQ(papersOfList().size(), 1);
    Paper *paper = papersOfList().first();
    EXPECT_EQ(paper->id(), QStringLiteral("2401.12345"));
    EXPECT_EQ(paper->authors(), (QStringList{QStringLiteral("A. Author"), QStringLiteral("B. Second")}));
    EXPECT_EQ(paper->modelContext(), &env.modelContext);
    EXPECT_EQ(TemporaryDataFolder::readAll(paper->localURL().toLocalFile()), QByteArray("%PDF-1.4 picked"));
}

TEST_F(PaperImporterViewTest, HeadingFollowsARenameOfTheList)
{
    PaperImporterView *form = openSheet();
    list->setName(QStringLiteral("Renamed"));
    EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("heading"))->text(), QStringLiteral("Import to Renamed"));
}

TEST_F(PaperImporterViewTest, ASlowDownloadLeavesTheFormUsable)
{
    // The server sits on the request for a while, then refuses it.
    server.setResponse({.status = 404, .body = "no", .delayMs = 1500});
    PaperImporterView *form = openSheet();
    fillIn(form);
    type(form, "downloadURL", server.url(QStringLiteral("/slow.pdf")).toString());
    QSignalSpy ended(form, &PaperImporterView::importFinished);
    QTest::mouseClick(form->findChild<RoundIconButton *>(QStringLiteral("confirm")), Qt::LeftButton);
    QTRY_COMPARE(server.requests().size(), 1);

    // While it waits, every control still answers.
    EXPECT_TRUE(ended.isEmpty());
    type(form, "doi", QStringLiteral("10.1/typed-meanwhile"));
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("addAuthor")), Qt::LeftButton);
    EXPECT_EQ(form->authorRowCount(), 2);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_TRUE(form->findChild<RoundIconButton *>(QStringLiteral("confirm"))->isEnabled());

    ASSERT_TRUE(ended.wait(10000));
    EXPECT_EQ(form->errorMessage(), QStringLiteral("Error: The download URL provided is not valid"));
    EXPECT_EQ(field(form, "doi")->text(), QStringLiteral("10.1/typed-meanwhile"));
    EXPECT_TRUE(papersOfList().isEmpty());
}

TEST_F(PaperImporterViewTest, AStalledDownloadLeavesTheFormOpenAndUsable)
{
    // The server takes the request and never answers.
    LocalHttpServer::Response stall;
    stall.behaviour = LocalHttpServer::Response::Behaviour::stall;
    server.setResponse(stall);
    PaperImporterView *form = openSheet();
    fillIn(form);
    type(form, "downloadURL", server.url(QStringLiteral("/stalled.pdf")).toString());
    QTest::mouseClick(form->findChild<RoundIconButton *>(QStringLiteral("confirm")), Qt::LeftButton);
    QTRY_COMPARE(server.requests().size(), 1);
    QTest::qWait(200);

    EXPECT_TRUE(host.sheet() && host.sheet()->isVisible());
    EXPECT_TRUE(form->errorMessage().isEmpty());
    type(form, "title", QStringLiteral("Still typing"));
    EXPECT_EQ(form->form().title(), QStringLiteral("Still typing"));
    pick(form, pdf);
    EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("fileName"))->text(), QStringLiteral("picked paper.pdf"));
    // And it can be left: nothing is stored while the download hangs.
    QTest::keyClick(field(form, "title"), Qt::Key_Escape);
    EXPECT_EQ(host.dismissals(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(host.sheet());
    EXPECT_TRUE(papersOfList().isEmpty());
}

TEST_F(PaperImporterViewTest, AnImportStillStoresItsPaperWhenTheSheetClosedMeanwhile)
{
    server.setResponse({.status = 200, .body = "%PDF-1.4 downloaded", .delayMs = 500});
    PaperImporterView *form = openSheet();
    fillIn(form);
    type(form, "downloadURL", server.url(QStringLiteral("/paper.pdf")).toString());
    pick(form, pdf);
    QTest::mouseClick(form->findChild<RoundIconButton *>(QStringLiteral("confirm")), Qt::LeftButton);
    QTest::mouseClick(form->findChild<RoundIconButton *>(QStringLiteral("cancel")), Qt::LeftButton);
    EXPECT_EQ(host.dismissals(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!host.sheet(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(papersOfList().size(), 1, 10000);
    EXPECT_EQ(papersOfList().first()->id(), QStringLiteral("2401.12345"));
    // The picked file still wins over the download, as it would with the form open.
    EXPECT_EQ(TemporaryDataFolder::readAll(papersOfList().first()->localURL().toLocalFile()),
              QByteArray("%PDF-1.4 picked"));
}

TEST_F(PaperImporterViewTest, IdentifiersNeverPlaceTheirPdfOutsideTheDocumentsFolder)
{
    const QString documents = AppFolders::documents();
    for (const char *id : {"hep-th/9901001", "../../escape", ".hidden", "..", "/etc/passwd"}) {
        SCOPED_TRACE(id);
        PaperImporterView *form = openSheet();
        fillIn(form, QLatin1String(id));
        pick(form, pdf);
        confirm(form);
        EXPECT_TRUE(form->errorMessage().isEmpty()) << form->errorMessage().toStdString();
        Paper *paper = nullptr;
        for (Paper *candidate : papersOfList())
            if (candidate->id() == QLatin1String(id))
                paper = candidate;
        ASSERT_TRUE(paper);
        const QFileInfo file(paper->localURL().toLocalFile());
        EXPECT_EQ(file.absolutePath(), QDir(documents).absolutePath());
        EXPECT_FALSE(file.fileName().startsWith(QLatin1Char('.')));
        EXPECT_EQ(TemporaryDataFolder::readAll(file.filePath()), QByteArray("%PDF-1.4 picked"));
    }
    // Nothing but the five files came to be, all in the one folder.
    QStringList written;
    QDirIterator all(folders.root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (all.hasNext()) {
        const QString path = all.next();
        if (path.endsWith(QLatin1String(".pdf")))
            written << QFileInfo(path).absolutePath();
    }
    EXPECT_EQ(written.size(), 5);
    written.removeDuplicates();
    EXPECT_EQ(written, QStringList{QDir(documents).absolutePath()});
}

} // namespace
