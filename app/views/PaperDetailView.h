#pragma once

#include "Paper.h"
#include "ViewEnvironment.h"

#include <QWidget>

// The detail column for one paper.
class PaperDetailView : public QWidget {
    Q_OBJECT
public:
    PaperDetailView(ViewEnvironment &env, PaperPtr paper, QWidget *parent = nullptr);

    const PaperPtr &paper() const { return m_paper; }

private:
    PaperPtr m_paper;
};
