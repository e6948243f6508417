#pragma once

#include <QPushButton>

// The round, icon-only button of a sheet's header (cancel and confirm): a circle of 36 px with
// the symbol drawn in the button's text colour, or, when prominent, in the highlighted text
// colour on a circle of the highlight colour. It has no text; its help text is its tooltip and
// accessible name.
class RoundIconButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr int kDiameter = 36;

    RoundIconButton(const QString &symbol, const QString &helpText, bool prominent, QWidget *parent = nullptr);

    bool isProminent() const { return m_prominent; }

    QSize sizeHint() const override { return {kDiameter, kDiameter}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    bool m_prominent;
};
