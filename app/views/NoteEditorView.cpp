#include "NoteEditorView.h"

NoteEditorView::NoteEditorView(ViewEnvironment &, PaperPtr paper, QWidget *parent)
    : QWidget(parent), m_paper(std::move(paper))
{
}
