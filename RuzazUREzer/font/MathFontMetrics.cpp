#include "MathFontMetrics.h"

#include "MathFontTable.h"

#include <hb-ot.h>

Math::FontMetrics::FontMetrics(const FontTable &font, qreal pixelSize)
    : m_font(&font), m_size(pixelSize), m_scale(pixelSize / font.unitsPerEm())
{
}

qreal Math::FontMetrics::constant(int which) const
{
    return m_font->constant(which) * m_scale;
}

qreal Math::FontMetrics::percent(int which) const
{
    return m_font->constant(which);
}

quint32 Math::FontMetrics::glyph(char32_t c) const
{
    return m_font->glyph(c);
}

quint32 Math::FontMetrics::scriptGlyph(char32_t c, int level) const
{
    return level > 0 ? m_font->scriptGlyph(c, level) : m_font->glyph(c);
}

Math::FontMetrics::GlyphBox Math::FontMetrics::box(quint32 glyph) const
{
    const FontTable::GlyphExtents e = m_font->extents(glyph);
    return {e.advance * m_scale, e.top * m_scale, -e.bottom * m_scale};
}

qreal Math::FontMetrics::italicCorrection(quint32 glyph) const
{
    return hb_ot_math_get_glyph_italics_correction(m_font->hbFont(), glyph) * m_scale;
}

std::optional<qreal> Math::FontMetrics::topAccentAttachment(quint32 glyph) const
{
    const hb_position_t x = hb_ot_math_get_glyph_top_accent_attachment(m_font->hbFont(), glyph);
    // HarfBuzz answers with half the advance when the font has no value; tell them apart.
    const hb_position_t half = hb_font_get_glyph_h_advance(m_font->hbFont(), glyph) / 2;
    if (x == half)
        return std::nullopt;
    return x * m_scale;
}

qreal Math::FontMetrics::kerning(quint32 glyph, Corner corner, qreal height) const
{
    static constexpr hb_ot_math_kern_t corners[] = {HB_OT_MATH_KERN_TOP_RIGHT, HB_OT_MATH_KERN_TOP_LEFT,
                                                    HB_OT_MATH_KERN_BOTTOM_RIGHT, HB_OT_MATH_KERN_BOTTOM_LEFT};
    const auto units = hb_position_t(height / m_scale);
    return hb_ot_math_get_glyph_kerning(m_font->hbFont(), glyph, corners[int(corner)], units) * m_scale;
}

std::vector<Math::FontMetrics::Variant> Math::FontMetrics::variants(quint32 glyph, bool vertical) const
{
    std::vector<Variant> result;
    const hb_direction_t direction = vertical ? HB_DIRECTION_BTT : HB_DIRECTION_LTR;
    hb_ot_math_glyph_variant_t buffer[32];
    unsigned int count = 32;
    hb_ot_math_get_glyph_variants(m_font->hbFont(), glyph, direction, 0, &count, buffer);
    result.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
        result.push_back({buffer[i].glyph, buffer[i].advance * m_scale});
    return result;
}

std::vector<Math::FontMetrics::Part> Math::FontMetrics::assembly(quint32 glyph, bool vertical) const
{
    std::vector<Part> result;
    const hb_direction_t direction = vertical ? HB_DIRECTION_BTT : HB_DIRECTION_LTR;
    hb_ot_math_glyph_part_t buffer[16];
    unsigned int count = 16;
    hb_position_t italic = 0;
    hb_ot_math_get_glyph_assembly(m_font->hbFont(), glyph, direction, 0, &count, buffer, &italic);
    result.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
        result.push_back({buffer[i].glyph, buffer[i].start_connector_length * m_scale,
                          buffer[i].end_connector_length * m_scale, buffer[i].full_advance * m_scale,
                          (buffer[i].flags & HB_OT_MATH_GLYPH_PART_FLAG_EXTENDER) != 0});
    return result;
}

qreal Math::FontMetrics::minConnectorOverlap(bool vertical) const
{
    return hb_ot_math_get_min_connector_overlap(m_font->hbFont(), vertical ? HB_DIRECTION_BTT : HB_DIRECTION_LTR) * m_scale;
}
