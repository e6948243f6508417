#pragma once

#include <QPalette>
#include <QTextEdit>

// Plain text shown as written, wrapped to the width it is given: between words, and inside a
// word that is wider than the whole line (a label would widen its column instead, so one
// 10,000-character title could push everything else out of sight). Read-only; optionally
// selectable, with the usual copy menu. Its height follows its width.
class WrappingText : public QTextEdit {
    Q_OBJECT
public:
    explicit WrappingText(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    void setSelectable(bool selectable);
    // The palette role whose colour the text takes (QPalette::Text unless set), kept when
    // the palette changes between light and dark.
    void setTextRole(QPalette::ColorRole role);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyTextRole();

    QString m_text;
    QPalette::ColorRole m_textRole = QPalette::Text;
    int m_lastHeight = -1;
};
