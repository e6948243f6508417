#pragma once

#include "Paper.h"

#include <QRegion>
#include <QWidget>

#include <atomic>
#include <memory>

class QPlainTextEdit;
class QTextDocument;
class SheetHeader;
struct ViewEnvironment;

// The sheet in which the user writes a paper's Markdown note. It edits a copy: the paper's
// note changes only when the user saves, through the model's setter, so every view showing
// the note follows; cancelling (the button or Escape) leaves the note as it was. Typing parses
// and saves nothing, so a long note stays quick to edit.
class NoteEditorView : public QWidget {
    Q_OBJECT
public:
    // What a paper without a note starts from.
    static const QString kDefaultNote;
    // Line height of the editor as a multiple of the font's.
    static constexpr qreal kLooseLineHeight = 1.3;
    // Corner radius of the text area's outline.
    static constexpr int kCornerRadius = 5;
    // Notes longer than this (in characters) are made into an editable text on a worker thread,
    // so that the sheet opens at once; the editor takes input once the text is in place.
    static constexpr qsizetype kBackgroundLoadChars = 128 * 1024;

    NoteEditorView(ViewEnvironment &env, PaperPtr paper, QWidget *parent = nullptr);
    ~NoteEditorView() override;

    const PaperPtr &paper() const { return m_paper; }
    // The text being edited.
    QString modifiedNotes() const;
    // Whether the note is still being made ready for editing.
    bool isLoading() const { return m_loading; }

    void save();
    void cancel();

    QSize sizeHint() const override { return {640, 520}; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // The sheet is to close: after a save or a cancel.
    void dismissRequested();
    // A long note is ready for editing.
    void loaded();

private:
    static QRegion roundedOutline(const QRect &rect, int radius);
    void startLoading();
    void install(QTextDocument *document);

    ViewEnvironment &m_env;
    PaperPtr m_paper;
    // The note as it was opened: saved as it is when the user changed nothing, so that
    // opening and saving never rewrites line endings.
    QString m_opened;
    SheetHeader *m_header;
    QPlainTextEdit *m_editor;
    bool m_loading = false;
    // Set when the editor goes before a text being built for it is in place.
    std::shared_ptr<std::atomic_bool> m_loadAbandoned;
};
