#pragma once

#include <QWidget>

class QLabel;
class RoundIconButton;

// The header row of a sheet: its title in the large-title style in the middle, the round
// cancel button (xmark) at the leading end and the round, prominent confirm button (checkmark)
// at the trailing end.
class SheetHeader : public QWidget {
    Q_OBJECT
public:
    SheetHeader(const QString &title, const QString &cancelHelp, const QString &confirmHelp, QWidget *parent = nullptr);

    QLabel *title() const { return m_title; }
    RoundIconButton *cancelButton() const { return m_cancel; }
    RoundIconButton *confirmButton() const { return m_confirm; }

private:
    QLabel *m_title;
    RoundIconButton *m_cancel;
    RoundIconButton *m_confirm;
};
