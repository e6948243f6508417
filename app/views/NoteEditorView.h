#pragma once

#include "Paper.h"
#include "ViewEnvironment.h"

#include <QWidget>

// The note editor shown in the window's sheet for one paper.
class NoteEditorView : public QWidget {
    Q_OBJECT
public:
    NoteEditorView(ViewEnvironment &env, PaperPtr paper, QWidget *parent = nullptr);

    const PaperPtr &paper() const { return m_paper; }

private:
    PaperPtr m_paper;
};
