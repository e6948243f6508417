#include "NoteEditorView.h"

#include "DismissSheet.h"
#include "Localized.h"
#include "LooseLineLayout.h"
#include "RoundIconButton.h"
#include "TextStyle.h"
#include "ViewEnvironment.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

const QString NoteEditorView::kDefaultNote =
    QStringLiteral("# My new note\n\nStart your note here. Brivet supports Markdown in notes!");

NoteEditorView::NoteEditorView(ViewEnvironment &env, PaperPtr paper, QWidget *parent)
    : QWidget(parent), m_env(env), m_paper(std::move(paper))
{
    auto *cancel = new RoundIconButton(QStringLiteral("xmark"), localized("Cancel"), false, this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setAutoDefault(false);
    auto *save = new RoundIconButton(QStringLiteral("checkmark"), localized("Save"), true, this);
    save->setObjectName(QStringLiteral("save"));
    save->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &NoteEditorView::cancel);
    connect(save, &QPushButton::clicked, this, &NoteEditorView::save);

    auto *title = new QLabel(localized("Notes"), this);
    title->setFont(textStyleFont(TextStyle::largeTitle));
    title->setAlignment(Qt::AlignCenter);

    // The title stands in the middle of the row, the buttons at its two ends.
    auto *header = new QGridLayout;
    header->addWidget(title, 0, 0, 1, 3, Qt::AlignCenter);
    header->addWidget(cancel, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    header->addWidget(save, 0, 2, Qt::AlignRight | Qt::AlignVCenter);
    header->setColumnStretch(1, 1);

    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);

    m_editor = new QPlainTextEdit(this);
    m_editor->setObjectName(QStringLiteral("noteText"));
    m_editor->setAccessibleName(localized("Notes"));
    m_editor->setFont(textStyleFont(TextStyle::body));
    m_editor->setMinimumHeight(150);
    m_editor->setTabChangesFocus(false);
    m_editor->document()->setDocumentLayout(new LooseLineLayout(m_editor->document(), kLooseLineHeight));

    auto *editorRow = new QHBoxLayout;
    editorRow->setContentsMargins(15, 0, 15, 0);
    editorRow->addWidget(m_editor);

    auto *column = new QVBoxLayout(this);
    column->setSpacing(10);
    column->addLayout(header);
    column->addWidget(divider);
    column->addLayout(editorRow, 1);

    // Opening: the stored note exactly, or the default note for an empty one (a note of blanks
    // is not empty).
    const QString notes = m_paper ? m_paper->notes() : QString();
    m_opened = notes.isEmpty() ? kDefaultNote : notes;
    m_editor->setPlainText(m_opened);
    m_editor->document()->setModified(false);
    m_editor->moveCursor(QTextCursor::Start);
    m_editor->setFocus();
}

QString NoteEditorView::modifiedNotes() const
{
    if (!m_editor->document()->isModified())
        return m_opened;
    // The raw text keeps every character as typed; only the block breaks are the editor's own.
    // (toPlainText() would also turn no-break spaces into plain ones.)
    QString text = m_editor->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void NoteEditorView::save()
{
    if (m_paper)
        m_paper->setNotes(modifiedNotes());
    emit dismissRequested();
    dismissSheet(this, true);
}

void NoteEditorView::cancel()
{
    emit dismissRequested();
    dismissSheet(this, false);
}
