#include "NoteEditorView.h"

#include "DismissSheet.h"
#include "Localized.h"
#include "LooseLineLayout.h"
#include "RoundIconButton.h"
#include "SheetHeader.h"
#include "TextStyle.h"
#include "ViewEnvironment.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegion>
#include <QTextDocument>
#include <QThread>
#include <QThreadPool>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

const QString NoteEditorView::kDefaultNote =
    QStringLiteral("# My new note\n\nStart your note here. Brivet supports Markdown in notes!");

NoteEditorView::NoteEditorView(ViewEnvironment &env, PaperPtr paper, QWidget *parent)
    : QWidget(parent), m_env(env), m_paper(std::move(paper))
{
    // The buttons have no help text of their own; their accessible names say what they do.
    m_header = new SheetHeader(localized("Notes"), localized("Cancel"), localized("Save"), this);
    m_header->cancelButton()->setToolTip(QString());
    m_header->confirmButton()->setToolTip(QString());
    connect(m_header->cancelButton(), &QPushButton::clicked, this, &NoteEditorView::cancel);
    connect(m_header->confirmButton(), &QPushButton::clicked, this, &NoteEditorView::save);

    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);

    m_editor = new QPlainTextEdit(this);
    m_editor->setObjectName(QStringLiteral("noteText"));
    m_editor->setAccessibleName(localized("Notes"));
    m_editor->setFont(textStyleFont(TextStyle::body));
    m_editor->setMinimumHeight(150);
    // A rounded field of its own, without the frame of a plain text box: the frame would be cut
    // at the corners.
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->installEventFilter(this);
    m_editor->document()->setDocumentLayout(new LooseLineLayout(m_editor->document(), kLooseLineHeight));

    auto *editorRow = new QHBoxLayout;
    editorRow->setContentsMargins(15, 0, 15, 0);
    editorRow->addWidget(m_editor);

    auto *column = new QVBoxLayout(this);
    column->setSpacing(10);
    column->addWidget(m_header);
    column->addWidget(divider);
    column->addLayout(editorRow, 1);

    // Opening: the stored note exactly, or the default note for an empty one (a note of blanks
    // is not empty).
    const QString notes = m_paper ? m_paper->notes() : QString();
    m_opened = notes.isEmpty() ? kDefaultNote : notes;
    if (m_opened.size() > kBackgroundLoadChars) {
        startLoading();
    } else {
        m_editor->setPlainText(m_opened);
        m_editor->document()->setModified(false);
        m_editor->moveCursor(QTextCursor::Start);
    }
    m_editor->setFocus();
}

namespace {

// A document made on a worker thread on its way to the editor; freed with the last copy of the
// delivery when nobody took it.
struct LoadedDocument {
    std::unique_ptr<QTextDocument> document;
};

} // namespace

bool NoteEditorView::eventFilter(QObject *watched, QEvent *event)
{
    // The text area, scroll bars included, is clipped to its rounded outline at every size.
    if (watched == m_editor && event->type() == QEvent::Resize)
        m_editor->setMask(roundedOutline(m_editor->rect(), kCornerRadius));
    return QWidget::eventFilter(watched, event);
}

QRegion NoteEditorView::roundedOutline(const QRect &rect, int radius)
{
    // Row by row, the pixels whose centres lie inside each corner's quarter circle: the same at
    // all four corners (a polygon's region leaves the right and bottom edges a pixel longer).
    radius = std::min({radius, rect.width() / 2, rect.height() / 2});
    QRegion outline(rect.adjusted(0, radius, 0, -radius));
    for (int row = 0; row < radius; ++row) {
        const qreal rise = radius - (row + 0.5);
        const int inset = int(std::ceil(radius - std::sqrt(qreal(radius * radius) - rise * rise) - 0.5));
        const int width = rect.width() - 2 * inset;
        outline += QRect(rect.left() + inset, rect.top() + row, width, 1);
        outline += QRect(rect.left() + inset, rect.bottom() - row, width, 1);
    }
    return outline;
}

void NoteEditorView::startLoading()
{
    // Qt builds a text block by block; for a note of a megabyte or more of short lines that
    // takes longer than a frame lasts. The document is built on a pool thread (which the
    // application waits for when it quits) and moved to this one; until then the editor takes
    // no input, so nothing typed can be lost.
    m_loading = true;
    m_editor->setReadOnly(true);
    QThread *gui = thread();
    QPointer<NoteEditorView> self(this);
    m_loadAbandoned = std::make_shared<std::atomic_bool>(false);
    QThreadPool::globalInstance()->start([text = m_opened, font = m_editor->font(), gui, self,
                                          abandoned = m_loadAbandoned] {
        // A sheet closed before its turn came costs nothing.
        if (*abandoned)
            return;
        auto loaded = std::make_shared<LoadedDocument>();
        loaded->document = std::make_unique<QTextDocument>();
        loaded->document->setDefaultFont(font);
        loaded->document->setPlainText(text);
        loaded->document->setModified(false);
        loaded->document->moveToThread(gui);
        // Delivered on the GUI thread, and dropped there when the editor has gone meanwhile.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, loaded] {
                if (self)
                    self->install(loaded->document.release());
            },
            Qt::QueuedConnection);
    });
}

NoteEditorView::~NoteEditorView()
{
    if (m_loadAbandoned)
        *m_loadAbandoned = true;
}

void NoteEditorView::install(QTextDocument *document)
{
    document->setParent(m_editor);
    document->setDocumentLayout(new LooseLineLayout(document, kLooseLineHeight));
    // The editor frees the empty document it made itself; this one is freed as its child.
    m_editor->setDocument(document);
    m_editor->moveCursor(QTextCursor::Start);
    m_editor->setReadOnly(false);
    m_loading = false;
    emit loaded();
}

QString NoteEditorView::modifiedNotes() const
{
    if (m_loading || !m_editor->document()->isModified())
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
