#pragma once

#include "Math.h"

#include <QtGlobal>

#include <optional>
#include <vector>

// The metrics of the math font at one pixel size: MATH constants, glyph boxes, italic
// corrections, accent attachments and the size variants and assemblies of stretchy glyphs, all
// in pixels with y pointing up. Cheap to make; reads the shared FontTable.
class Math::FontMetrics {
public:
    struct GlyphBox {
        qreal advance = 0;
        qreal ascent = 0;
        qreal descent = 0;
    };
    struct Variant {
        quint32 glyph = 0;
        qreal size = 0; // height (vertical) or width (horizontal)
    };
    struct Part {
        quint32 glyph = 0;
        qreal startConnector = 0;
        qreal endConnector = 0;
        qreal fullAdvance = 0;
        bool extender = false;
    };

    FontMetrics(const FontTable &font, qreal pixelSize);

    const FontTable &font() const { return *m_font; }
    qreal pixelSize() const { return m_size; }
    // One math unit: 1/18 em.
    qreal mu() const { return m_size / 18; }
    // A MATH constant scaled to pixels, by hb_ot_math_constant_t value.
    qreal constant(int which) const;
    // A MATH constant that is a percentage, as it stands.
    qreal percent(int which) const;

    quint32 glyph(char32_t c) const;
    // The glyph for a character set at script (1) or script-script (2) level.
    quint32 scriptGlyph(char32_t c, int level) const;
    GlyphBox box(quint32 glyph) const;
    qreal italicCorrection(quint32 glyph) const;
    std::optional<qreal> topAccentAttachment(quint32 glyph) const;
    // The math kern of a glyph's corner at a height (pixels, from its baseline); negative pulls a
    // script in under an overhang.
    enum class Corner { topRight, topLeft, bottomRight, bottomLeft };
    qreal kerning(quint32 glyph, Corner corner, qreal height) const;
    std::vector<Variant> variants(quint32 glyph, bool vertical) const;
    // Parts from bottom to top (left to right); empty when the glyph has no assembly.
    std::vector<Part> assembly(quint32 glyph, bool vertical) const;
    qreal minConnectorOverlap(bool vertical) const;

private:
    const FontTable *m_font;
    qreal m_size;
    qreal m_scale;
};
