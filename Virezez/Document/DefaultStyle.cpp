#include "DefaultStyle.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>

namespace {

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(a.redF() * (1 - t) + b.redF() * t), float(a.greenF() * (1 - t) + b.greenF() * t),
                            float(a.blueF() * (1 - t) + b.blueF() * t));
}

qreal pixelSize(const QFont &f)
{
    return f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
}

} // namespace

DefaultStyle::DefaultStyle(const QFont &base, const QPalette &palette)
{
    const qreal em = std::max<qreal>(8, pixelSize(base));
    const QColor text = palette.color(QPalette::WindowText);
    const QColor window = palette.color(QPalette::Window);

    m_paragraph.font = base;
    m_paragraph.color = text;
    m_blockSpacing = std::round(em * 0.75);

    static constexpr qreal scales[6] = {2.0, 1.5, 1.25, 1.0, 0.875, 0.85};
    for (int i = 0; i < 6; ++i) {
        Heading &h = m_headings[i];
        h.font = base;
        h.font.setPixelSize(int(std::round(em * scales[i])));
        h.font.setWeight(QFont::DemiBold);
        h.spacingBefore = std::round(em * (i < 2 ? 1.5 : 1.0));
        h.divider = i < 2;
    }

    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(int(std::round(em * 0.9)));

    m_list.markerGap = std::round(em * 0.4);
    m_list.bulletWidth = std::round(em * 1.2);
    m_list.tightSpacing = std::round(em * 0.25);
    m_list.markerColor = text;

    m_quote.indent = std::round(em * 1.1);
    m_quote.barWidth = std::max<qreal>(3, std::round(em * 0.25));
    m_quote.bar = mix(window, text, 0.25);
    m_quote.text = mix(window, text, 0.7);

    m_code.font = mono;
    m_code.background = mix(window, text, 0.07);
    m_code.padding = std::round(em * 0.75);

    m_table.border = mix(window, text, 0.22);
    m_table.headerBackground = mix(window, text, 0.06);
    m_table.stripe = mix(window, text, 0.03);
    m_table.cellPadding = std::round(em * 0.4);
    m_table.minColumnWidth = std::round(em * 3);

    m_break.color = mix(window, text, 0.22);
    m_break.thickness = std::max<qreal>(2, std::round(em * 0.15));

    m_inline.link = palette.color(QPalette::Link);
    m_inline.codeBackground = mix(window, text, 0.1);
    m_inline.placeholder = mix(window, text, 0.6);
    m_inline.codeFont = mono;
}

const DefaultStyle::Heading &DefaultStyle::heading(int level) const
{
    return m_headings[std::clamp(level, 1, 6) - 1];
}

QString DefaultStyle::List::bullet(int depth) const
{
    static const QString bullets[3] = {QStringLiteral("\u2022"), QStringLiteral("\u25E6"), QStringLiteral("\u25AA")};
    return bullets[std::max(depth, 0) % 3];
}

QTextCharFormat DefaultStyle::format(const InlineAttributes &a, const QFont &blockFont) const
{
    // Only what differs from the block's font is set: small formats are cheaper for Qt to
    // compare and resolve, which matters for paragraphs made of thousands of runs.
    QTextCharFormat f;
    if (a.has(InlineAttributes::code)) {
        f.setFontFamilies(QStringList{m_inline.codeFont.family()});
        f.setFontFixedPitch(true);
        // Inline code follows the size of the text around it (headings included).
        f.setProperty(QTextFormat::FontPixelSize, int(std::round(pixelSize(blockFont) * 0.9)));
        f.setBackground(m_inline.codeBackground);
    }
    if (a.has(InlineAttributes::strong))
        f.setFontWeight(QFont::Bold);
    if (a.has(InlineAttributes::emphasis) || !a.imageURL.isEmpty())
        f.setFontItalic(true);
    if (a.has(InlineAttributes::strikethrough))
        f.setFontStrikeOut(true);
    if (!a.link.isEmpty() && a.linkClickable) {
        f.setFontUnderline(true);
        f.setForeground(m_inline.link);
    } else if (!a.imageURL.isEmpty()) {
        f.setForeground(m_inline.placeholder);
    }
    return f;
}
