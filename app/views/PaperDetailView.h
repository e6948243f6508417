#pragma once

#include "Paper.h"

#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QScrollArea;
class QToolButton;
class StructuredText;
class WrappingText;
struct ViewEnvironment;

// The third column: the selected paper's title, authors, date, identifier (pressing it
// copies the identifier), the PDF and web actions, the abstract and, for a paper shown from
// one of the user's lists, its note rendered from Markdown. It edits nothing; it follows every
// change of the paper and of the sidebar selection as it happens.
class PaperDetailView : public QWidget {
    Q_OBJECT
public:
    PaperDetailView(ViewEnvironment &env, PaperPtr paper, QWidget *parent = nullptr);
    ~PaperDetailView() override;

    const PaperPtr &paper() const { return m_paper; }
    // Shows another paper in the same place. The "Copied!" feedback belongs to the place,
    // not to the paper, so it carries over, and a pending press still ends it on time.
    void setPaper(PaperPtr paper);

    // What pressing the identifier button does: the clipboard then holds only the
    // identifier, as plain text, and "Copied!" shows for 1.5 s after this press.
    void copyIdentifier();
    bool showCopiedMessage() const { return m_showCopiedMessage; }
    // Whether the note section is shown: only from a user list, and only for a note that is
    // not empty.
    bool showsNote() const;
    // The rendered note while showsNote(), else null.
    StructuredText *noteView() const;

    static constexpr int kCopiedFeedbackMs = 1500;

signals:
    void showCopiedMessageChanged(bool shown);

protected:
    void changeEvent(QEvent *event) override;

private:
    void drawCalendar();
    void applySecondaryColor();
    void applyProminentColours();
    void buildActionBar();
    void connectPaper();
    void paperChanged(Paper::Property property);
    void showTitle();
    void showAuthors();
    void showDate();
    void showIdentifier();
    void showSummary();
    void updateNoteSection();
    void setShowCopiedMessage(bool shown);

    ViewEnvironment &m_env;
    PaperPtr m_paper;
    bool m_showCopiedMessage = false;
    QMetaObject::Connection m_paperConnection;

    QScrollArea *m_scroll;
    WrappingText *m_title;
    WrappingText *m_authors;
    QLabel *m_calendar;
    QLabel *m_date;
    QToolButton *m_identifier;
    QWidget *m_actionBar;
    // Parent of the action bar's actions.
    QObject *m_actions = nullptr;
    QPointer<QToolButton> m_prominent;
    WrappingText *m_summary;
    QWidget *m_noteSection;
    StructuredText *m_note;
};
