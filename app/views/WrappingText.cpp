#include "WrappingText.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QTextDocument>

WrappingText::WrappingText(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::ArrowCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setSelectable(false);
}

void WrappingText::setText(const QString &text)
{
    if (text == m_text && !document()->isEmpty())
        return;
    m_text = text;
    setPlainText(text);
    updateGeometry();
}

void WrappingText::setSelectable(bool selectable)
{
    setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                       : Qt::NoTextInteraction);
    setFocusPolicy(selectable ? Qt::ClickFocus : Qt::NoFocus);
    setContextMenuPolicy(selectable ? Qt::DefaultContextMenu : Qt::NoContextMenu);
    viewport()->setCursor(selectable ? Qt::IBeamCursor : Qt::ArrowCursor);
}

void WrappingText::setTextRole(QPalette::ColorRole role)
{
    m_textRole = role;
    applyTextRole();
}

void WrappingText::applyTextRole()
{
    const QColor wanted = palette().color(m_textRole);
    if (palette().color(QPalette::Text) == wanted)
        return;
    QPalette adjusted = palette();
    adjusted.setColor(QPalette::Text, wanted);
    setPalette(adjusted);
}

int WrappingText::heightForWidth(int width) const
{
    // The document is laid out at the width asked about; the text edit lays it out at its own
    // width again when it is resized, which the layout does with this same width.
    QTextDocument *doc = document();
    const int frame = 2 * frameWidth();
    if (doc->textWidth() != width - frame)
        doc->setTextWidth(std::max(1, width - frame));
    return int(std::ceil(doc->size().height())) + frame;
}

QSize WrappingText::sizeHint() const
{
    const int w = width() > 1 ? width() : 300;
    return {w, heightForWidth(w)};
}

QSize WrappingText::minimumSizeHint() const
{
    // Any width will do: the text wraps to it.
    return {1, heightForWidth(std::max(1, width()))};
}

void WrappingText::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    const int h = heightForWidth(width());
    if (h != m_lastHeight) {
        m_lastHeight = h;
        updateGeometry();
    }
}

void WrappingText::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyTextRole();
}
