#include "PaperDetailView.h"

#include "TextStyle.h"

#include <QLabel>
#include <QVBoxLayout>

PaperDetailView::PaperDetailView(ViewEnvironment &, PaperPtr paper, QWidget *parent)
    : QWidget(parent), m_paper(std::move(paper))
{
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(m_paper->title(), this);
    title->setTextFormat(Qt::PlainText);
    title->setWordWrap(true);
    applyTextStyle(title, TextStyle::headline);
    layout->addWidget(title);
    layout->addStretch(1);
}
