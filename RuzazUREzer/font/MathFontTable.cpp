#include "MathFontTable.h"

#include <hb-ot.h>
#include <hb.h>

#include <QMutexLocker>

std::shared_ptr<const Math::FontTable> Math::FontTable::fromData(const QByteArray &data)
{
    if (data.isEmpty())
        return nullptr;
    std::shared_ptr<FontTable> table(new FontTable);
    table->m_data = data;
    table->m_blob = hb_blob_create(table->m_data.constData(), static_cast<unsigned>(table->m_data.size()),
                                   HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    table->m_face = hb_face_create(table->m_blob, 0);
    table->m_font = hb_font_create(table->m_face);
    if (!hb_ot_math_has_data(table->m_face))
        return nullptr;
    table->m_upem = static_cast<int>(hb_face_get_upem(table->m_face));
    // Font units throughout; the typesetter scales to pixels.
    hb_font_set_scale(table->m_font, table->m_upem, table->m_upem);
    hb_font_make_immutable(table->m_font);
    table->m_glyphCount = hb_face_get_glyph_count(table->m_face);
    table->m_extents = std::make_unique<ExtentsSlot[]>(table->m_glyphCount);
    for (int c = HB_OT_MATH_CONSTANT_SCRIPT_PERCENT_SCALE_DOWN; c <= HB_OT_MATH_CONSTANT_RADICAL_DEGREE_BOTTOM_RAISE_PERCENT; ++c)
        table->m_constants[std::size_t(c)] = hb_ot_math_get_constant(table->m_font, hb_ot_math_constant_t(c));
    return table;
}

Math::FontTable::~FontTable()
{
    hb_font_destroy(m_font);
    hb_face_destroy(m_face);
    hb_blob_destroy(m_blob);
}

qreal Math::FontTable::constant(int which) const
{
    return which >= 0 && std::size_t(which) < m_constants.size() ? m_constants[std::size_t(which)] : 0;
}

quint32 Math::FontTable::glyph(char32_t c) const
{
    hb_codepoint_t g = 0;
    if (!hb_font_get_nominal_glyph(m_font, c, &g))
        return 0;
    return g;
}

quint32 Math::FontTable::scriptGlyph(char32_t c, int level) const
{
    const quint64 key = (quint64(c) << 2) | quint64(level & 3);
    {
        QMutexLocker lock(&m_scriptMutex);
        auto it = m_scriptGlyphs.constFind(key);
        if (it != m_scriptGlyphs.constEnd())
            return it.value();
    }
    // The substitution is the font's to decide; shaping the one character applies it.
    hb_buffer_t *buffer = hb_buffer_create();
    hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t *>(&c), 1, 0, 1);
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, HB_SCRIPT_MATH);
    const hb_feature_t feature{HB_TAG('s', 's', 't', 'y'), unsigned(level), 0, ~0u};
    hb_shape(m_font, buffer, &feature, 1);
    unsigned int count = 0;
    const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(buffer, &count);
    const quint32 glyph = count == 1 ? info[0].codepoint : this->glyph(c);
    hb_buffer_destroy(buffer);
    QMutexLocker lock(&m_scriptMutex);
    m_scriptGlyphs.insert(key, glyph);
    return glyph;
}

Math::FontTable::GlyphExtents Math::FontTable::extents(quint32 glyph) const
{
    if (glyph >= m_glyphCount)
        return {};
    ExtentsSlot &slot = m_extents[glyph];
    if (!slot.ready.load(std::memory_order_acquire)) {
        hb_glyph_extents_t e{};
        hb_font_get_glyph_extents(m_font, glyph, &e);
        slot.advance.store(hb_font_get_glyph_h_advance(m_font, glyph), std::memory_order_relaxed);
        slot.top.store(e.y_bearing, std::memory_order_relaxed);
        slot.bottom.store(e.y_bearing + e.height, std::memory_order_relaxed);
        slot.ready.store(true, std::memory_order_release);
    }
    return {slot.advance.load(std::memory_order_relaxed), slot.top.load(std::memory_order_relaxed),
            slot.bottom.load(std::memory_order_relaxed)};
}

QRawFont Math::FontTable::rawFont(qreal pixelSize) const
{
    QMutexLocker lock(&m_rawMutex);
    const qint64 key = qRound64(pixelSize * 64);
    auto it = m_rawFonts.constFind(key);
    if (it != m_rawFonts.constEnd())
        return it.value();
    if (!m_baseRaw.isValid())
        m_baseRaw.loadFromData(m_data, pixelSize, QFont::PreferNoHinting);
    QRawFont raw = m_baseRaw;
    raw.setPixelSize(pixelSize);
    m_rawFonts.insert(key, raw);
    return raw;
}
