#pragma once
// A typeset formula for a "math" code block. This is the only place that knows about the
// formula library: when the build has it (VIREZEZ_HAS_MATH), create() typesets through the
// library's shared display cache; otherwise create() always returns null and the block is
// drawn as code.
#include <QPointF>
#include <QString>
#include <memory>

class QPainter;

class MathBlock {
public:
    ~MathBlock();

    static bool isAvailable();
    // Null when formulas are unavailable (the caller then shows the source as code) or when
    // this one does not typeset, for bad LaTeX or a missing font (the caller draws nothing).
    static std::shared_ptr<MathBlock> create(const QString &latex, qreal pixelSize);

    qreal width() const { return m_width; }
    qreal ascent() const { return m_ascent; }
    qreal descent() const { return m_descent; }
    // Draws with the painter's pen, like the text around it.
    void paint(QPainter *painter, QPointF baselineOrigin) const;

private:
    struct Formula;
    MathBlock() = default;

    std::unique_ptr<Formula> m_formula;
    qreal m_width = 0;
    qreal m_ascent = 0;
    qreal m_descent = 0;
};
