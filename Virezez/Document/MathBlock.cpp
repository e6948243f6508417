#include "MathBlock.h"

#ifdef VIREZEZ_HAS_MATH
#include "MathDisplayProvider.h"
#include "MathDrawing.h"
#include "MathListNode.h"

struct MathBlock::Formula {
    std::shared_ptr<const Math::Drawing> drawing;
};

bool MathBlock::isAvailable()
{
    return true;
}

std::shared_ptr<MathBlock> MathBlock::create(const QString &latex, qreal pixelSize)
{
    const auto display = Math::DisplayProvider::shared().display(latex, pixelSize, Math::Style::display);
    if (!display.tree)
        return nullptr;
    std::shared_ptr<MathBlock> block(new MathBlock);
    block->m_formula = std::make_unique<Formula>(Formula{display.drawing});
    block->m_width = display.tree->width;
    block->m_ascent = display.tree->ascent;
    block->m_descent = display.tree->descent;
    return block;
}

void MathBlock::paint(QPainter *painter, QPointF baselineOrigin) const
{
    if (m_formula)
        m_formula->drawing->draw(painter, baselineOrigin);
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
