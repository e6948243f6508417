#include "InlineText.h"

#include <algorithm>
#include <optional>

std::pair<int, int> InlineText::range(int block) const
{
    const BlockTree::Block &b = m_tree.block(block);
    if (b.firstRun >= b.runEnd)
        return {0, 0};
    const auto &runs = m_doc.runs();
    const auto &last = runs[size_t(b.runEnd - 1)];
    return {runs[size_t(b.firstRun)].start, last.start + last.length};
}

std::shared_ptr<QTextLayout> InlineText::layout(int block, const QFont &font, int from, int to) const
{
    const BlockTree::Block &b = m_tree.block(block);
    const auto &runs = m_doc.runs();
    QString text = m_doc.text().mid(from, to - from);
    // Same length, so text positions keep mapping one to one onto the document.
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    auto layout = std::make_shared<QTextLayout>(text, font);
    QList<QTextLayout::FormatRange> formats;
    const InlineAttributes plain;
    // A format depends only on a few bits of the attributes, so a block with thousands of
    // runs builds at most a handful of them.
    std::optional<QTextCharFormat> cache[64];
    // First run that reaches past `from`.
    auto it = std::partition_point(runs.begin() + b.firstRun, runs.begin() + b.runEnd,
                                   [from](const AttributedString::Run &r) { return r.start + r.length <= from; });
    // A code block is code as a whole; its runs need no inline-code look on top.
    const bool codeBlock = b.kind == BlockTree::Kind::codeBlock;
    for (; it != runs.begin() + b.runEnd && it->start < to; ++it) {
        InlineAttributes a = it->attributes;
        if (codeBlock)
            a.traits &= quint8(~InlineAttributes::code);
        if (a == plain)
            continue;
        const int s = std::max(it->start, from);
        const int e = std::min(it->start + it->length, to);
        const bool link = !a.link.isEmpty() && a.linkClickable;
        const int key = (a.traits & 0xF) | (link ? 16 : 0) | (a.imageURL.isEmpty() ? 0 : 32);
        if (!cache[key])
            cache[key] = m_style.format(a, font);
        formats.append({s - from, e - s, *cache[key]});
    }
    layout->setFormats(formats);
    layout->setCacheEnabled(true);
    return layout;
}

int InlineText::pieceEnd(int block, int from, int end, bool code) const
{
    constexpr int kPiece = 2000;
    // Qt's cost per format range also grows with the number of ranges in one layout.
    constexpr int kPieceRuns = 64;
    const BlockTree::Block &b = m_tree.block(block);
    const auto &runs = m_doc.runs();
    auto first = std::partition_point(runs.begin() + b.firstRun, runs.begin() + b.runEnd,
                                      [from](const AttributedString::Run &r) { return r.start + r.length <= from; });
    int limit = std::min(end, from + kPiece);
    if (runs.begin() + b.runEnd - first > kPieceRuns)
        limit = std::min(limit, std::max(from + 1, (first + kPieceRuns)->start));
    if (limit >= end)
        return end;
    const QString &text = m_doc.text();
    // Prefer a line end in code and a space in prose, not too far back.
    const QChar want = code ? QLatin1Char('\n') : QLatin1Char(' ');
    for (int i = limit; i > from + (limit - from) / 2; --i) {
        if (text[i - 1] == want)
            return i;
    }
    if (text[limit].isLowSurrogate() && limit - 1 > from)
        --limit;
    return limit;
}
