#include "PaperDetailView.h"

#include "AppState.h"
#include "CrossFade.h"
#include "DeleteFileAction.h"
#include "DestructiveStyle.h"
#include "ExternalLink.h"
#include "Localized.h"
#include "OpenBrowserAction.h"
#include "OpenFileAction.h"
#include "PaperListModel.h"
#include "Pasteboard.h"
#include "SearchEngines.h"
#include "StructuredText.h"
#include "Symbols.h"
#include "TextStyle.h"
#include "ViewEnvironment.h"
#include "WrappingText.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QFrame *divider(Qt::Orientation orientation, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Paper fields are shown as they are (a title with "<b>" is not markup) and wrap.
WrappingText *paperText(TextStyle style, const QString &name, QWidget *parent)
{
    auto *text = new WrappingText(parent);
    text->setObjectName(name);
    text->setFont(textStyleFont(style));
    return text;
}

QLabel *heading(const char *key, QWidget *parent)
{
    auto *label = new QLabel(localized(key), parent);
    QFont font = textStyleFont(TextStyle::headline);
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
    return label;
}

} // namespace

PaperDetailView::PaperDetailView(ViewEnvironment &env, PaperPtr paper, QWidget *parent)
    : QWidget(parent), m_env(env), m_paper(std::move(paper))
{
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);

    auto *content = new QWidget(m_scroll);
    content->setObjectName(QStringLiteral("paperDetailContent"));
    auto *column = new QVBoxLayout(content);
    column->setSpacing(12);
    const int padding = style()->pixelMetric(QStyle::PM_LayoutLeftMargin) + 4;
    column->setContentsMargins(padding, padding, padding, padding);

    m_title = paperText(TextStyle::headline, QStringLiteral("title"), content);
    column->addWidget(m_title);

    // Selectable, so that the names can be copied.
    m_authors = paperText(TextStyle::subheadline, QStringLiteral("authors"), content);
    m_authors->setTextRole(secondaryColorRole);
    m_authors->setSelectable(true);
    column->addWidget(m_authors);

    auto *dateRow = new QHBoxLayout;
    dateRow->setSpacing(16);
    m_calendar = new QLabel(content);
    const int captionHeight = QFontMetrics(textStyleFont(TextStyle::caption)).height();
    m_calendar->setFixedSize(captionHeight, captionHeight);
    drawCalendar();
    m_date = new QLabel(content);
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setTextFormat(Qt::PlainText);
    m_date->setFont(textStyleFont(TextStyle::caption));
    m_date->setForegroundRole(secondaryColorRole);
    auto *dateLabel = new QHBoxLayout;
    dateLabel->setSpacing(4);
    dateLabel->addWidget(m_calendar);
    dateLabel->addWidget(m_date);
    dateRow->addLayout(dateLabel);

    m_identifier = new QToolButton(content);
    m_identifier->setObjectName(QStringLiteral("identifier"));
    m_identifier->setAutoRaise(true);
    m_identifier->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_identifier->setIconSize(QSize(captionHeight, captionHeight));
    m_identifier->setFont(textStyleFont(TextStyle::caption));
    m_identifier->setToolTip(localized("Click to copy"));
    m_identifier->setAccessibleDescription(localized("Click to copy"));
    applySecondaryColor();
    connect(m_identifier, &QToolButton::clicked, this, &PaperDetailView::copyIdentifier);
    dateRow->addWidget(m_identifier);
    dateRow->addStretch(1);
    column->addLayout(dateRow);

    m_actionBar = new QWidget(content);
    m_actionBar->setObjectName(QStringLiteral("actionBar"));
    auto *bar = new QHBoxLayout(m_actionBar);
    bar->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_actionBar);

    column->addWidget(divider(Qt::Horizontal, content));
    column->addWidget(heading("Abstract", content));
    m_summary = paperText(TextStyle::body, QStringLiteral("summary"), content);
    column->addWidget(m_summary);

    m_noteSection = new QWidget(content);
    m_noteSection->setObjectName(QStringLiteral("noteSection"));
    auto *note = new QVBoxLayout(m_noteSection);
    note->setContentsMargins(0, 0, 0, 0);
    note->setSpacing(12);
    note->addWidget(divider(Qt::Horizontal, m_noteSection));
    note->addWidget(heading("Notes", m_noteSection));
    // No base URL and no syntax extensions: dollar signs and short codes stay literal, and
    // only "math" code blocks become formulas.
    m_note = new StructuredText(QString(), QUrl(), {}, m_noteSection);
    m_note->setObjectName(QStringLiteral("note"));
    // A note's text can come from anywhere (a dropped paper): its links go out only through
    // the gate of every address Brivet hands to other programs, which logs what it refuses.
    m_note->setLinkHandler([](const QUrl &url) { ExternalLink::open(ExternalLink::Origin::note, url); });
    connect(m_note, &StructuredText::linkRefused, this,
            [](const QUrl &url) { ExternalLink::open(ExternalLink::Origin::note, url); });
    note->addWidget(m_note);
    m_noteSection->hide();
    column->addWidget(m_noteSection);
    column->addStretch(1);

    m_scroll->setWidget(content);

    connect(&m_env.appState, &AppState::selectedListIdChanged, this, &PaperDetailView::updateNoteSection);
    connectPaper();
}

PaperDetailView::~PaperDetailView()
{
    // A note of megabytes takes longer to free than a frame lasts; an empty text hands the
    // old document to a worker thread to be freed there.
    m_note->setMarkup(QString());
}

void PaperDetailView::applySecondaryColor()
{
    // The styles draw a tool button's label in the button-text colour, whatever its foreground role.
    QPalette identifier = m_identifier->palette();
    identifier.setColor(QPalette::ButtonText, secondaryColor(palette()));
    m_identifier->setPalette(identifier);
    m_identifier->setIcon(QIcon(symbolPixmap(QStringLiteral("number"), m_identifier->iconSize().height(),
                                             secondaryColor(palette()), devicePixelRatioF())));
}

void PaperDetailView::drawCalendar()
{
    m_calendar->setPixmap(symbolPixmap(QStringLiteral("calendar"), m_calendar->height(), secondaryColor(palette()),
                                       devicePixelRatioF()));
}

void PaperDetailView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        drawCalendar();
        applySecondaryColor();
        applyProminentColours();
    }
}

void PaperDetailView::setPaper(PaperPtr paper)
{
    if (paper == m_paper)
        return;
    m_paper = std::move(paper);
    connectPaper();
}

void PaperDetailView::connectPaper()
{
    buildActionBar();
    disconnect(m_paperConnection);
    if (m_paper)
        m_paperConnection = connect(m_paper.get(), &Paper::changed, this, &PaperDetailView::paperChanged);
    showTitle();
    showAuthors();
    showDate();
    showIdentifier();
    showSummary();
    updateNoteSection();
}

void PaperDetailView::paperChanged(Paper::Property property)
{
    switch (property) {
    case Paper::Property::title:
        showTitle();
        break;
    case Paper::Property::authors:
        showAuthors();
        break;
    case Paper::Property::published:
        showDate();
        break;
    case Paper::Property::id:
        showIdentifier();
        break;
    case Paper::Property::summary:
        showSummary();
        break;
    case Paper::Property::notes:
        updateNoteSection();
        break;
    default: // not shown here
        break;
    }
}

void PaperDetailView::showTitle()
{
    m_title->setText(m_paper ? m_paper->title() : QString());
}

void PaperDetailView::showAuthors()
{
    m_authors->setText(m_paper ? m_paper->authors().join(QStringLiteral(", ")) : QString());
}

void PaperDetailView::showDate()
{
    m_date->setText(m_paper ? PaperListModel::abbreviatedDate(m_paper->published()) : QString());
}

void PaperDetailView::showIdentifier()
{
    const QString text = m_showCopiedMessage ? QStringLiteral("Copied!") : m_paper ? m_paper->id() : QString();
    m_identifier->setText(text);
    m_identifier->setAccessibleName(text);
}

void PaperDetailView::showSummary()
{
    m_summary->setText(m_paper ? m_paper->summary() : QString());
}

bool PaperDetailView::showsNote() const
{
    // In this order: a selection, which is a list and not an engine, and a note with any
    // character at all (blanks count).
    const std::optional<QUuid> selection = m_env.appState.selectedListId();
    return selection && !isSearchEngine(*selection) && m_paper && !m_paper->notes().isEmpty();
}

StructuredText *PaperDetailView::noteView() const
{
    return showsNote() ? m_note : nullptr;
}

void PaperDetailView::updateNoteSection()
{
    if (showsNote()) {
        m_note->setMarkup(m_paper->notes());
        m_noteSection->show();
    } else {
        m_noteSection->hide();
        // Nothing hidden keeps a large document alive.
        m_note->setMarkup(QString());
    }
}

void PaperDetailView::copyIdentifier()
{
    m_env.pasteboard.clearContents();
    m_env.pasteboard.setString(m_paper ? m_paper->id() : QString());
    setShowCopiedMessage(true);
    // Each press has its own timer, which ends the feedback whatever came after it: a second
    // press does not lengthen the first one's time.
    QTimer::singleShot(kCopiedFeedbackMs, this, [this] { setShowCopiedMessage(false); });
}

void PaperDetailView::setShowCopiedMessage(bool shown)
{
    if (shown == m_showCopiedMessage)
        return;
    m_showCopiedMessage = shown;
    // The swap fades; the button takes the new text's width at once, the picture keeps the old.
    const CrossFade fade(m_identifier, m_identifier->parentWidget());
    showIdentifier();
    emit showCopiedMessageChanged(shown);
}

void PaperDetailView::buildActionBar()
{
    // The same action objects as the content column's tool bar and the list's context menu, for
    // the paper shown: open the PDF (the prominent one), delete it, a separator, the web page.
    // The bar is there for every paper and every selection; the actions decide when they work.
    if (m_actions)
        m_actions->deleteLater(); // later: one of them may be what runs now
    m_actions = new QObject(this);
    QLayout *bar = m_actionBar->layout();
    while (QLayoutItem *item = bar->takeAt(0)) {
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    if (!m_paper)
        return;
    const auto button = [this](QAction *action, bool prominent) {
        auto *button = new QToolButton(m_actionBar);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAccessibleName(action->iconText());
        if (prominent)
            m_prominent = button;
        if (PaperAction::isDestructive(action))
            DestructiveStyle::applyTo(button);
        return button;
    };
    bar->addWidget(button(new OpenFileAction(m_env, m_paper, m_actions), true));
    bar->addWidget(button(new DeleteFileAction(m_env, m_paper, m_actions), false));
    bar->addWidget(divider(Qt::Vertical, m_actionBar));
    bar->addWidget(button(new OpenBrowserAction(m_env, m_paper, m_actions), false));
    static_cast<QHBoxLayout *>(bar)->addStretch(1);
    applyProminentColours();
}

void PaperDetailView::applyProminentColours()
{
    // The bar's prominent button in the colours of a default button; disabled, it looks like
    // any disabled button.
    if (!m_prominent)
        return;
    QPalette colours = m_prominent->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Button, palette().color(group, QPalette::Highlight));
        colours.setColor(group, QPalette::ButtonText, palette().color(group, QPalette::HighlightedText));
    }
    m_prominent->setPalette(colours);
}
