#pragma once

#include "MathDisplayNode.h"

class Math::GlyphNode : public Math::DisplayNode {
public:
    GlyphNode(quint32 glyph, qreal pixelSize) : DisplayNode(Kind::glyph), glyph(glyph), pixelSize(pixelSize) {}
    quint32 glyph;
    qreal pixelSize;
};
