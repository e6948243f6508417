#include "PaperImporterView.h"

#include "BrivetError.h"
#include "DataManager.h"
#include "DestructiveStyle.h"
#include "DismissSheet.h"
#include "ImportablePaper.h"
#include "Localized.h"
#include "PaperList.h"
#include "RoundIconButton.h"
#include "SheetHeader.h"
#include "Symbols.h"
#include "TextStyle.h"
#include "ViewEnvironment.h"

#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A web address as the URL fields take it: with a scheme and a host. Anything else is no URL
// at all, so the import reports the address as missing rather than fetching nonsense.
std::optional<QUrl> webURL(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

QGroupBox *section(const QString &header, QWidget *parent)
{
    auto *box = new QGroupBox(header, parent);
    return box;
}

QFormLayout *formLayout(QWidget *parent)
{
    auto *form = new QFormLayout(parent);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    return form;
}

} // namespace

PaperImporterView::PaperImporterView(ViewEnvironment &env, PaperList *list, QWidget *parent)
    : QWidget(parent), m_env(env), m_list(list), m_form(new ImportablePaper(this))
{
    auto *header = new SheetHeader(QString(), localized("Cancel"), localized("Done"), this);
    connect(header->cancelButton(), &QPushButton::clicked, this, &PaperImporterView::cancel);
    connect(header->confirmButton(), &QPushButton::clicked, this, &PaperImporterView::confirm);
    m_heading = header->title();
    showListName();
    if (m_list)
        connect(m_list, &PaperList::changed, this, [this](PaperList::Property property) {
            if (property == PaperList::Property::name)
                showListName();
        });

    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);

    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("error"));
    m_error->setTextFormat(Qt::PlainText);
    m_error->setWordWrap(true);
    QFont errorFont = textStyleFont(TextStyle::headline);
    errorFont.setBold(true);
    m_error->setFont(errorFont);
    applyErrorColor();
    m_error->hide();

    // Section 1: the paper itself.
    auto *paperSection = section(QString(), this);
    m_mainSection = formLayout(paperSection);
    QLineEdit *title = addField(m_mainSection, localized("Title"), localized("Required"), QStringLiteral("title"));
    connect(title, &QLineEdit::textEdited, m_form, &ImportablePaper::setTitle);
    title->setFocus();
    QLineEdit *summary = addField(m_mainSection, localized("Abstract"), localized("Required"), QStringLiteral("abstract"));
    summary->setAlignment(Qt::AlignLeading);
    connect(summary, &QLineEdit::textEdited, m_form, &ImportablePaper::setSummary);
    auto *addAuthorButton = new QPushButton(symbolIcon(QStringLiteral("plus")), localized("Add author"), paperSection);
    addAuthorButton->setObjectName(QStringLiteral("addAuthor"));
    addAuthorButton->setAutoDefault(false);
    connect(addAuthorButton, &QPushButton::clicked, this, &PaperImporterView::addAuthor);
    auto *addAuthorRow = new QHBoxLayout;
    addAuthorRow->addStretch(1);
    addAuthorRow->addWidget(addAuthorButton);
    m_mainSection->addRow(addAuthorRow);
    m_addAuthorRow = m_mainSection->rowCount() - 1;
    // The form model starts with one empty author entry and one row for it.
    for (int i = 0; i < m_form->authorsIdx(); ++i)
        appendAuthorRow(i);

    // Section 2: metadata.
    auto *metadataSection = section(localized("Metadata"), this);
    QFormLayout *metadata = formLayout(metadataSection);
    QLineEdit *identifier = addField(metadata, localized("Identifier"), localized("Required, E.g. ArXiv ID"),
                                     QStringLiteral("identifier"));
    connect(identifier, &QLineEdit::textEdited, m_form, &ImportablePaper::setId);
    m_published = new QDateEdit(metadataSection);
    m_published->setObjectName(QStringLiteral("published"));
    m_published->setAccessibleName(localized("Publication Date"));
    m_published->setCalendarPopup(true);
    m_published->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    m_published->setDate(m_form->published().toLocalTime().date());
    connect(m_published, &QDateEdit::dateChanged, this, [this](QDate date) {
        // The picker changes the day only; the time of day stays.
        const QDateTime before = m_form->published().toLocalTime();
        m_form->setPublished(QDateTime(date, before.time()).toUTC());
    });
    metadata->addRow(localized("Publication Date"), m_published);
    QLineEdit *doi = addField(metadata, localized("DOI"), localized("Optional"), QStringLiteral("doi"));
    connect(doi, &QLineEdit::textEdited, m_form, &ImportablePaper::setDoi);
    // The example addresses are shown as written.
    QLineEdit *webpage = addField(metadata, localized("Webpage"), QStringLiteral("Optional, E.g. https://arxiv.org/abs/id"),
                                  QStringLiteral("webpage"));
    connect(webpage, &QLineEdit::textEdited, this, [this](const QString &text) { m_form->setUrl(webURL(text)); });

    // Section 3: the PDF.
    auto *fileSection = section(localized("File"), this);
    QFormLayout *file = formLayout(fileSection);
    QLineEdit *download = addField(file, localized("Download URL"), QStringLiteral("E.g. https://arxiv.org/pdf/id"),
                                   QStringLiteral("downloadURL"));
    connect(download, &QLineEdit::textEdited, this, [this](const QString &text) { m_form->setPdfURL(webURL(text)); });
    auto *fileRow = new QHBoxLayout;
    auto *pdf = new QLabel(localized("PDF"), fileSection);
    pdf->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_fileName = new QLabel(fileSection);
    m_fileName->setObjectName(QStringLiteral("fileName"));
    m_fileName->setTextFormat(Qt::PlainText);
    m_fileName->setFont(textStyleFont(TextStyle::monospacedCaption));
    m_fileName->setTextInteractionFlags(Qt::NoTextInteraction);
    m_fileName->hide();
    auto *select = new QPushButton(localized("Select file"), fileSection);
    select->setObjectName(QStringLiteral("selectFile"));
    select->setAutoDefault(false);
    select->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(select, &QPushButton::clicked, this, &PaperImporterView::selectFile);
    fileRow->addWidget(pdf);
    fileRow->addStretch(1);
    fileRow->addWidget(m_fileName);
    fileRow->addStretch(1);
    fileRow->addWidget(select);
    file->addRow(fileRow);
    auto *footer = new QLabel(localized("At least one of the URL or file must be given here, the URL is the better of the two. The URL must be accessible without authentication."),
                              this);
    footer->setWordWrap(true);
    footer->setFont(textStyleFont(TextStyle::caption));
    footer->setForegroundRole(secondaryColorRole);

    auto *column = new QVBoxLayout(this);
    column->setSpacing(10);
    column->setContentsMargins(20, 20, 20, 20);
    column->addWidget(header);
    column->addWidget(divider);
    column->addWidget(m_error);
    column->addWidget(paperSection);
    column->addWidget(metadataSection);
    column->addWidget(fileSection);
    column->addWidget(footer);
    column->addStretch(1);
}

PaperImporterView::~PaperImporterView() = default;

PaperList *PaperImporterView::list() const
{
    return m_list;
}

QFileDialog *PaperImporterView::fileDialog() const
{
    return m_fileDialog;
}

QLineEdit *PaperImporterView::addField(QFormLayout *form, const QString &title, const QString &prompt,
                                       const QString &name)
{
    auto *field = new QLineEdit(form->parentWidget());
    field->setObjectName(name);
    field->setPlaceholderText(prompt);
    field->setAccessibleName(title);
    form->addRow(title, field);
    return field;
}

void PaperImporterView::applyErrorColor()
{
    // The desktop's red for what went wrong, readable on a light and a dark window alike.
    QPalette errorPalette = m_error->palette();
    errorPalette.setColor(QPalette::WindowText, DestructiveStyle::color(palette()));
    m_error->setPalette(errorPalette);
}

void PaperImporterView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyErrorColor();
}

QString PaperImporterView::errorMessage() const
{
    return m_error->isHidden() ? QString() : m_error->text();
}

void PaperImporterView::showError(const QString &description)
{
    m_error->setText(QStringLiteral("Error: ") + description);
    m_error->show();
}

void PaperImporterView::showListName()
{
    m_heading->setText(localized("Import to %1").arg(m_list ? m_list->name() : QString()));
}

void PaperImporterView::showFileName()
{
    const std::optional<QUrl> url = m_form->fileURL();
    m_fileName->setText(url ? url->fileName() : QString());
    m_fileName->setVisible(url.has_value());
}

void PaperImporterView::cancel()
{
    emit dismissRequested();
    dismissSheet(this, false);
}

void PaperImporterView::addAuthor()
{
    // Rows only grow: the entry and the count together, the new row empty and untitled.
    m_form->authors.append(QString());
    const int index = m_form->authorsIdx();
    appendAuthorRow(index);
    m_form->setAuthorsIdx(index + 1);
    m_authorFields.last()->setFocus();
}

void PaperImporterView::appendAuthorRow(int index)
{
    // Above the add-author button; only the first row has a title.
    auto *field = new QLineEdit(m_mainSection->parentWidget());
    field->setObjectName(QStringLiteral("author%1").arg(index));
    field->setPlaceholderText(localized("Required"));
    field->setAccessibleName(index == 0 ? localized("Author")
                                        : localized("Author") + QStringLiteral(" %1").arg(index + 1));
    connect(field, &QLineEdit::textEdited, this, [this, index](const QString &text) {
        if (index < m_form->authors.size())
            m_form->authors[index] = text;
    });
    m_mainSection->insertRow(m_addAuthorRow++, index == 0 ? localized("Author") : QString(), field);
    m_authorFields.append(field);
}

void PaperImporterView::selectFile()
{
    if (m_fileDialog && m_fileDialog->isVisible()) {
        m_fileDialog->raise();
        return;
    }
    auto *dialog = new QFileDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setMimeTypeFilters({QStringLiteral("application/pdf")});
    // The selection as URLs, also from a desktop's own file chooser, which may hand out
    // portal paths rather than the file's own.
    connect(dialog, &QDialog::accepted, this, [this, dialog] { filePicked(dialog->selectedUrls()); });
    m_fileDialog = dialog;
    dialog->open();
}

void PaperImporterView::filePicked(const QList<QUrl> &urls)
{
    // An empty choice changes nothing; otherwise the first file, as the dialog gave it.
    if (urls.isEmpty())
        return;
    m_form->setFileURL(urls.first());
    showFileName();
}

void PaperImporterView::confirm()
{
    runImport(this, m_form, m_list, &m_env.dataManager);
}

QCoro::Task<> PaperImporterView::runImport(QPointer<PaperImporterView> view, QPointer<ImportablePaper> form,
                                           QPointer<PaperList> list, QPointer<DataManager> dataManager)
{
    // Only what the pointers guard is touched after the wait: the sheet, and with it the window
    // and its environment, may have gone.
    try {
        if (!form || !list)
            co_return;
        PaperPtr paper = co_await form->importPaper(list);
        if (list && dataManager)
            dataManager->add(paper, list);
        if (view) {
            emit view->importFinished();
            emit view->dismissRequested();
            dismissSheet(view, true);
        }
    } catch (const std::exception &error) {
        if (view) {
            const auto *described = dynamic_cast<const BrivetError *>(&error);
            view->showError(described ? described->description() : QString::fromUtf8(error.what()));
            emit view->importFinished();
        }
    }
}
