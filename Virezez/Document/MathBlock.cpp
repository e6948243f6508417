#include "MathBlock.h"

#ifdef VIREZEZ_HAS_MATH
#include "Math.h"

// The formula view is only used to typeset and paint; it is never shown.
struct MathBlock::Formula {
    Math view;
    explicit Formula(const QString &latex) : view(latex) {}
};

bool MathBlock::isAvailable()
{
    return true;
}

std::shared_ptr<MathBlock> MathBlock::create(const QString &latex, qreal pixelSize)
{
    std::shared_ptr<MathBlock> block(new MathBlock);
    block->m_formula = std::make_unique<Formula>(latex);
    Math &view = block->m_formula->view;
    view.setFontSize(pixelSize);
    view.setTypesettingStyle(Math::Style::display);
    if (!view.isValid())
        return nullptr;
    const Math::TypographicBounds bounds = view.typographicBounds();
    block->m_width = bounds.width;
    block->m_ascent = bounds.ascent;
    block->m_descent = bounds.descent;
    return block;
}

void MathBlock::paint(QPainter *painter, QPointF baselineOrigin) const
{
    if (m_formula)
        m_formula->view.paint(painter, baselineOrigin);
}

#else

struct MathBlock::Formula {};

bool MathBlock::isAvailable()
{
    return false;
}

std::shared_ptr<MathBlock> MathBlock::create(const QString &, qreal)
{
    return nullptr;
}

void MathBlock::paint(QPainter *, QPointF) const {}

#endif

MathBlock::~MathBlock() = default;
