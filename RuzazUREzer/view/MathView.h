#pragma once

#include "Math.h"
#include "MathDisplayProvider.h"

#include <QPointF>
#include <QSize>
#include <QString>
#include <QWidget>

class QPainter;

namespace Math {

// Sets one LaTeX formula with the embedded math font and draws it in the palette's text colour.
// A formula that does not parse, or a missing font, leaves the widget empty: isValid() is then
// false, paint() draws nothing and the bounds are zero.
class View : public QWidget {
    Q_OBJECT
public:
    // Where the formula sits: origin is the start of its baseline in widget coordinates.
    struct TypographicBounds {
        QPointF origin;
        qreal width = 0;
        qreal ascent = 0;
        qreal descent = 0;
    };

    explicit View(const QString &latex, QWidget *parent = nullptr);
    ~View() override;

    QString latex() const { return m_latex; }
    void setLatex(const QString &latex);
    // Pixel size of the font; 0 follows the widget's font.
    void setFontSize(qreal pixelSize);
    qreal fontSize() const;
    void setTypesettingStyle(Style style);
    Style typesettingStyle() const { return m_style; }

    bool isValid() const;
    // Why the formula is not drawn, empty when it is.
    QString errorMessage() const;
    TypographicBounds typographicBounds() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Draws the formula with its baseline starting at baselineOrigin, in the palette's text colour.
    void paint(QPainter *p, QPointF baselineOrigin) const;

    // The typeset tree, null when the formula is not drawn; for callers that lay it out themselves.
    std::shared_ptr<const ListNode> displayTree() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void invalidate();
    const DisplayProvider::Display &display() const;

    QString m_latex;
    qreal m_fontSize = 0;
    Style m_style = Style::display;
    mutable bool m_laidOut = false;
    mutable DisplayProvider::Display m_display;
};

} // namespace Math
