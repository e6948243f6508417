#pragma once

#include "Math.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QRawFont>

#include <array>
#include <atomic>
#include <memory>

struct hb_blob_t;
struct hb_face_t;
struct hb_font_t;

// One loaded math font: its bytes, the HarfBuzz objects that read its MATH table and the
// constants of that table, read once. Immutable after loading except for the cache of Qt fonts
// per pixel size, which a mutex guards, so one instance is shared by every thread.
class Math::FontTable {
public:
    // nullptr when data is not an OpenType font with a MATH table. data must outlive the table
    // unless it owns its bytes (QByteArray's implicit sharing keeps them alive).
    static std::shared_ptr<const FontTable> fromData(const QByteArray &data);
    ~FontTable();
    FontTable(const FontTable &) = delete;
    FontTable &operator=(const FontTable &) = delete;

    hb_font_t *hbFont() const { return m_font; }
    int unitsPerEm() const { return m_upem; }
    // A MATH constant in font units (percentages as they are), by hb_ot_math_constant_t value.
    qreal constant(int which) const;
    // The glyph of a character, 0 when the font lacks it.
    quint32 glyph(char32_t c) const;

    // The glyph of a character in a script (level 1) or script-script (level 2) style: the
    // font's 'ssty' forms, such as a prime that is drawn full size to be set small.
    quint32 scriptGlyph(char32_t c, int level) const;

    // Advance and vertical extent of a glyph in font units (top and bottom y, up positive).
    struct GlyphExtents {
        int advance = 0;
        int top = 0;
        int bottom = 0;
    };
    // Cached: the outlines are CFF, whose extents cost a charstring run each time.
    GlyphExtents extents(quint32 glyph) const;

    // A Qt font at this pixel size for drawing; needs a QGuiApplication.
    QRawFont rawFont(qreal pixelSize) const;

private:
    FontTable() = default;

    QByteArray m_data;
    hb_blob_t *m_blob = nullptr;
    hb_face_t *m_face = nullptr;
    hb_font_t *m_font = nullptr;
    int m_upem = 1000;
    std::array<qreal, 64> m_constants{};
    // One slot per glyph, filled on first use from any thread: every writer stores the same
    // values, and ready is published last.
    struct ExtentsSlot {
        std::atomic<int> advance{0};
        std::atomic<int> top{0};
        std::atomic<int> bottom{0};
        std::atomic<bool> ready{false};
    };
    std::unique_ptr<ExtentsSlot[]> m_extents;
    unsigned m_glyphCount = 0;
    mutable QMutex m_scriptMutex;
    mutable QHash<quint64, quint32> m_scriptGlyphs;
    mutable QMutex m_rawMutex;
    mutable QRawFont m_baseRaw;
    mutable QHash<qint64, QRawFont> m_rawFonts;
};
