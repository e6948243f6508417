#include "DocumentLayout.h"

#include "DocumentPainter.h"
#include "TableLayout.h"
#include "UncoveredScriptReports.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTextLine>
#include <algorithm>

namespace {

using Kind = BlockTree::Kind;

// Narrower than this, indenting stops: the text keeps a readable measure however deep it sits.
constexpr qreal kMinTextWidth = 120;
// Code lines are laid out without wrapping; this is "wide enough" for any real line.
constexpr qreal kUnbounded = 1e7;

qreal lineUp(QTextLayout &layout, qreal width, bool wrap)
{
    QTextOption option = layout.textOption();
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(option);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(wrap ? std::max<qreal>(1, width) : kUnbounded);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

qreal naturalWidth(const QTextLayout &layout)
{
    qreal w = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        w = std::max(w, layout.lineAt(i).naturalTextWidth());
    return w;
}

} // namespace

DocumentLayout::DocumentLayout(const AttributedString &document, const BlockTree &tree, const DefaultStyle &style,
                               qreal width)
    : m_doc(document)
    , m_tree(tree)
    , m_style(style)
    , m_inline(document, tree, style)
    , m_width(std::max<qreal>(1, width))
{
    // Notes quote text in any script; Qt's reports of the fonts it lacks for one are no news.
    dropUncoveredScriptReports();
    Frame root;
    root.width = m_width;
    root.color = style.paragraph().color;
    m_frames.push_back(root);
}

bool DocumentLayout::layoutFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    // A step can be a whole table or a piece of a long paragraph, so the clock is read after
    // each; reading it costs far less than the smallest step.
    while (!m_frames.empty()) {
        step();
        if (timer.elapsed() >= milliseconds)
            break;
    }
    return isComplete();
}

void DocumentLayout::layoutAll()
{
    while (!m_frames.empty())
        step();
}

qreal DocumentLayout::height() const
{
    const int total = int(m_doc.text().size());
    if (isComplete() || total == 0 || m_textDone == 0)
        return std::ceil(m_y);
    return std::ceil(m_y * qreal(total) / qreal(m_textDone));
}

void DocumentLayout::step()
{
    if (m_tableLayout) {
        continueTable();
        return;
    }
    if (m_textBlock >= 0) {
        if (m_tree.block(m_textBlock).kind == Kind::codeBlock)
            continueCode();
        else
            continueText();
        return;
    }
    Frame &frame = m_frames.back();
    const std::vector<int> &children = frame.block < 0 ? m_tree.roots() : m_tree.block(frame.block).children;
    if (frame.next >= children.size()) {
        const Frame done = frame;
        m_frames.pop_back();
        leaveFrame(done);
        return;
    }
    const int child = children[frame.next];
    if (frame.next > 0)
        m_y += spacingBefore(frame, child);
    ++frame.next;
    const Frame parent = frame; // enterBlock may push and so move the stack
    enterBlock(child, parent);
}

qreal DocumentLayout::spacingBefore(const Frame &parent, int child) const
{
    const Kind kind = m_tree.block(child).kind;
    if (kind == Kind::heading)
        return std::max(m_style.blockSpacing(), m_style.heading(m_doc.intent(child).level).spacingBefore);
    if (parent.block >= 0) {
        const auto &p = m_doc.intent(parent.block);
        const bool tightList = (p.kind == Kind::orderedList || p.kind == Kind::unorderedList) && p.tight;
        const bool inTightItem = p.kind == Kind::listItem && p.parent >= 0 && m_doc.intent(p.parent).tight;
        if (tightList || inTightItem)
            return m_style.list().tightSpacing;
    }
    return m_style.blockSpacing();
}

void DocumentLayout::enterBlock(int block, const Frame &parent)
{
    switch (m_tree.block(block).kind) {
    case Kind::paragraph:
    case Kind::heading:
        layoutText(block, parent);
        break;
    case Kind::codeBlock:
        if (!layoutMath(block, parent))
            layoutCode(block, parent);
        break;
    case Kind::thematicBreak: {
        const auto &style = m_style.thematicBreak();
        const qreal gap = std::round(m_style.blockSpacing() * 0.5);
        m_shapes.push_back(ShapeItem::make(ShapeItem::Kind::fill, QRectF(parent.x, m_y + gap, parent.width, style.thickness),
                            style.color));
        m_y += 2 * gap + style.thickness;
        break;
    }
    case Kind::table:
        m_tableLayout = std::make_unique<TableLayout>(*this, block, parent.x, parent.width, parent.color);
        m_tableBlock = block;
        continueTable();
        break;
    case Kind::orderedList:
    case Kind::unorderedList:
        openList(block, parent);
        break;
    case Kind::listItem:
        openItem(block, parent);
        break;
    case Kind::blockQuote: {
        const auto &style = m_style.blockQuote();
        m_frames.push_back(indentedFrame(block, parent, style.indent, style.text));
        break;
    }
    default: {
        // Rows and cells only occur inside tables; anything else just stacks its children.
        Frame f = parent;
        f.block = block;
        f.next = 0;
        f.top = m_y;
        f.decorated = false;
        m_frames.push_back(f);
        break;
    }
    }
}

void DocumentLayout::leaveFrame(const Frame &frame)
{
    if (frame.block < 0)
        return;
    const Kind kind = m_tree.block(frame.block).kind;
    if (kind == Kind::blockQuote && frame.decorated) {
        const auto &style = m_style.blockQuote();
        m_shapes.push_back(ShapeItem::make(ShapeItem::Kind::fill,
                            QRectF(frame.x - style.indent, frame.top, style.barWidth, std::max<qreal>(m_y - frame.top, 1)),
                            style.bar));
    } else if (kind == Kind::listItem) {
        // An item without text still shows its marker, on a line of its own.
        const QFontMetricsF fm(m_style.paragraph().font);
        if (m_y < frame.top + fm.height())
            m_y = frame.top + fm.height();
        if (frame.marker >= 0 && !m_pendingMarkers.empty())
            resolveMarkers(frame.top + fm.ascent());
    }
}

void DocumentLayout::openList(int block, const Frame &parent)
{
    const auto &intent = m_doc.intent(block);
    const auto &style = m_style.list();
    const auto &items = m_tree.block(block).children;
    const QFontMetricsF fm(m_style.paragraph().font);
    qreal marker = style.bulletWidth;
    if (intent.kind == Kind::orderedList) {
        const qint64 last = qint64(intent.start) + qint64(items.size()) - 1;
        marker = std::max(marker, fm.horizontalAdvance(QString::number(last) + QLatin1Char('.')) + style.markerGap);
    }
    for (int item : items) {
        if (m_doc.intent(item).task != AttributedString::Task::none) {
            marker = std::max(marker, fm.height() + style.markerGap);
            break;
        }
    }
    Frame f = parent;
    f.block = block;
    f.next = 0;
    f.top = m_y;
    f.listDepth = parent.listDepth + 1;
    f.markerWidth = std::round(marker);
    f.decorated = false;
    f.marker = -1;
    m_frames.push_back(f);
}

DocumentLayout::Frame DocumentLayout::indentedFrame(int block, const Frame &parent, qreal indent, QColor color) const
{
    Frame f;
    f.block = block;
    f.top = m_y;
    f.depth = parent.depth + 1;
    f.listDepth = parent.listDepth;
    f.color = color;
    // Past the depth cap, or when too little width would remain, the child shares its
    // parent's indent and draws no bar or marker of its own.
    f.decorated = f.depth <= m_style.maxVisualDepth() && parent.width - indent >= kMinTextWidth;
    const qreal used = f.decorated ? indent : 0;
    f.x = parent.x + used;
    f.width = parent.width - used;
    return f;
}

void DocumentLayout::openItem(int block, const Frame &list)
{
    const auto &intent = m_doc.intent(block);
    const auto &style = m_style.list();
    Frame f = indentedFrame(block, list, list.markerWidth, list.color);
    if (f.decorated) {
        ShapeItem marker;
        marker.region = -1;
        marker.color = style.markerColor;
        marker.font = m_style.paragraph().font;
        const qreal right = list.x + list.markerWidth - style.markerGap;
        if (intent.task != AttributedString::Task::none) {
            const qreal side = std::round(QFontMetricsF(marker.font).ascent() * 0.85);
            marker.kind = ShapeItem::Kind::checkBox;
            marker.checked = intent.task == AttributedString::Task::checked;
            marker.rect = QRectF(right - side, 0, side, side);
        } else {
            const bool ordered = m_doc.intent(list.block).kind == Kind::orderedList;
            marker.kind = ShapeItem::Kind::marker;
            marker.text = ordered ? QString::number(intent.level) + QLatin1Char('.') : style.bullet(list.listDepth - 1);
            marker.rightAligned = ordered;
            marker.rect = QRectF(list.x, 0, right - list.x, 0);
        }
        f.marker = int(m_shapes.size());
        m_shapes.push_back(marker);
        m_pendingMarkers.push_back(f.marker);
    }
    m_frames.push_back(f);
}

void DocumentLayout::resolveMarkers(qreal baseline)
{
    for (int index : m_pendingMarkers) {
        ShapeItem &m = m_shapes[size_t(index)];
        m.baseline = baseline;
        if (m.kind == ShapeItem::Kind::checkBox)
            m.rect.moveTop(baseline - m.rect.height());
        else
            m.rect = QRectF(m.rect.x(), baseline - QFontMetricsF(m.font).ascent(), m.rect.width(),
                            QFontMetricsF(m.font).height());
    }
    m_pendingMarkers.clear();
}

void DocumentLayout::addText(TextItem item)
{
    if (!m_pendingMarkers.empty() && item.layout->lineCount() > 0)
        resolveMarkers(item.origin.y() + item.layout->lineAt(0).ascent());
    m_texts.push_back(std::move(item));
}

void DocumentLayout::noteProgress(int block)
{
    // Runs of later blocks start after those of earlier ones, so the last run of the block
    // laid out tells how much of the text is done.
    for (int b = block; b >= 0; --b) {
        const auto &blk = m_tree.block(b);
        if (blk.runEnd > blk.firstRun) {
            const auto &run = m_doc.runs()[size_t(blk.runEnd - 1)];
            m_textDone = std::max(m_textDone, run.start + run.length);
            return;
        }
        if (block - b > 8)
            return;
    }
}

void DocumentLayout::layoutText(int block, const Frame &parent)
{
    m_textBlock = block;
    m_textFrom = m_inline.range(block).first;
    m_textParent = parent;
    continueText();
}

void DocumentLayout::continueText()
{
    const int block = m_textBlock;
    const Frame &parent = m_textParent;
    const bool heading = m_tree.block(block).kind == Kind::heading;
    const DefaultStyle::Heading *h = heading ? &m_style.heading(m_doc.intent(block).level) : nullptr;
    const QFont &font = h ? h->font : m_style.paragraph().font;
    const int end = m_inline.range(block).second;
    const int from = m_textFrom;
    const int to = m_inline.pieceEnd(block, from, end, false);
    TextItem item;
    item.layout = m_inline.layout(block, font, from, to);
    item.textStart = from;
    const qreal height = lineUp(*item.layout, parent.width, true);
    item.origin = QPointF(parent.x, m_y);
    item.rect = QRectF(parent.x, m_y, parent.width, height);
    item.color = parent.color;
    item.block = block;
    item.firstRun = m_tree.block(block).firstRun;
    item.runEnd = m_tree.block(block).runEnd;
    addText(std::move(item));
    m_y += height;
    m_textFrom = to;
    if (to < end)
        return;
    m_textBlock = -1;
    if (h && h->divider) {
        m_y += std::round(m_style.blockSpacing() * 0.3);
        m_shapes.push_back(ShapeItem::make(ShapeItem::Kind::fill, QRectF(parent.x, m_y, parent.width, 1), m_style.thematicBreak().color));
        m_y += 1;
    }
    noteProgress(block);
}

void DocumentLayout::layoutCode(int block, const Frame &parent)
{
    m_textBlock = block;
    m_textFrom = m_inline.range(block).first;
    m_textParent = parent;
    m_codeHeight = 0;
    m_codeContent = 0;
    m_codeFirstItem = m_texts.size();
    continueCode();
}

void DocumentLayout::continueCode()
{
    const int block = m_textBlock;
    const Frame &parent = m_textParent;
    const auto &style = m_style.codeBlock();
    QTextOption option;
    option.setTabStopDistance(QFontMetricsF(style.font).horizontalAdvance(QLatin1Char(' ')) * 4);
    const int end = m_inline.range(block).second;
    const int from = m_textFrom;
    const int to = m_inline.pieceEnd(block, from, end, true);
    TextItem item;
    item.layout = m_inline.layout(block, style.font, from, to);
    item.layout->setTextOption(option);
    item.textStart = from;
    const qreal h = lineUp(*item.layout, 0, false);
    const qreal w = naturalWidth(*item.layout);
    item.origin = QPointF(parent.x + style.padding, m_y + style.padding + m_codeHeight);
    item.rect = QRectF(item.origin, QSizeF(w, h));
    item.color = m_style.paragraph().color;
    item.block = block;
    item.firstRun = m_tree.block(block).firstRun;
    item.runEnd = m_tree.block(block).runEnd;
    addText(std::move(item));
    m_codeHeight += h;
    m_codeContent = std::max(m_codeContent, w);
    m_textFrom = to;
    if (to < end)
        return;
    // The box and the sideways scrolling are known only once every piece is laid out; until
    // then the pieces already shown are drawn without them.
    m_textBlock = -1;
    const qreal content = m_codeContent + 2 * style.padding;
    const QRectF box(parent.x, m_y, parent.width, m_codeHeight + 2 * style.padding);
    m_shapes.push_back(ShapeItem::make(ShapeItem::Kind::roundedFill, box, style.background));
    if (content > box.width()) {
        const int region = int(m_regions.size());
        m_regions.push_back({box, content, 0});
        for (size_t i = m_codeFirstItem; i < m_texts.size(); ++i)
            m_texts[i].region = region;
    }
    m_y += box.height();
    noteProgress(block);
}

void DocumentLayout::continueTable()
{
    if (!m_tableLayout->step())
        return;
    m_tableLayout.reset();
    noteProgress(m_tree.block(m_tableBlock).subtreeEnd);
}

bool DocumentLayout::layoutMath(int block, const Frame &parent)
{
    if (!MathBlock::isAvailable() || m_doc.intent(block).language.toLower() != QLatin1String("math"))
        return false;
    const QFont &font = m_style.paragraph().font;
    const qreal size = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    auto formula = MathBlock::create(m_tree.text(m_doc, block), size * 1.2);
    // A formula that does not typeset is simply not drawn, like any formula in a note.
    if (!formula) {
        noteProgress(block);
        return true;
    }
    const qreal pad = std::round(m_style.blockSpacing() * 0.5);
    MathItem item;
    item.formula = formula;
    item.color = parent.color;
    const qreal height = formula->ascent() + formula->descent() + 2 * pad;
    const QRectF box(parent.x, m_y, parent.width, height);
    qreal x = parent.x + (parent.width - formula->width()) / 2;
    if (formula->width() > parent.width) {
        item.region = int(m_regions.size());
        m_regions.push_back({box, formula->width(), 0});
        x = parent.x;
    }
    item.baseline = QPointF(x, m_y + pad + formula->ascent());
    item.rect = QRectF(x, m_y + pad, formula->width(), height - 2 * pad);
    m_formulas.push_back(std::move(item));
    resolveMarkers(m_y + pad + formula->ascent());
    m_y += height;
    noteProgress(block);
    return true;
}

namespace {

QRectF shifted(const QRectF &rect, int region, const std::vector<ScrollRegion> &regions)
{
    return region < 0 ? rect : rect.translated(-regions[size_t(region)].offset, 0);
}

} // namespace

void DocumentLayout::paint(QPainter *painter, const QRectF &exposed) const
{
    DocumentPainter(*this, m_style.paragraph().color).paint(painter, exposed);
}

int DocumentLayout::regionAt(QPointF point) const
{
    for (size_t i = 0; i < m_regions.size(); ++i)
        if (m_regions[i].viewport.contains(point))
            return int(i);
    return -1;
}

bool DocumentLayout::scrollRegion(int region, qreal dx)
{
    if (region < 0 || size_t(region) >= m_regions.size())
        return false;
    ScrollRegion &r = m_regions[size_t(region)];
    const qreal offset = std::clamp(r.offset + dx, 0.0, r.maxOffset());
    if (offset == r.offset)
        return false;
    r.offset = offset;
    return true;
}

QString DocumentLayout::linkAt(QPointF point) const
{
    const InlineAttributes *a = attributesAt(point);
    return a && a->linkClickable ? a->link : QString();
}

QString DocumentLayout::refusedLinkAt(QPointF point) const
{
    const InlineAttributes *a = attributesAt(point);
    return a && !a->linkClickable ? a->link : QString();
}

const InlineAttributes *DocumentLayout::attributesAt(QPointF point) const
{
    for (const TextItem &t : m_texts) {
        if (t.region >= 0 && !m_regions[size_t(t.region)].viewport.contains(point))
            continue;
        const QRectF r = shifted(t.rect, t.region, m_regions);
        if (!r.contains(point))
            continue;
        const QPointF local = point - shifted(QRectF(t.origin, QSizeF()), t.region, m_regions).topLeft();
        for (int i = 0; i < t.layout->lineCount(); ++i) {
            const QTextLine line = t.layout->lineAt(i);
            if (local.y() < line.y() || local.y() >= line.y() + line.height())
                continue;
            if (local.x() < line.x() || local.x() > line.x() + line.naturalTextWidth())
                return nullptr;
            const int pos = t.textStart + line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
            const auto &runs = m_doc.runs();
            for (int k = t.firstRun; k < t.runEnd; ++k) {
                const auto &run = runs[size_t(k)];
                if (pos >= run.start && pos < run.start + run.length)
                    return &run.attributes;
            }
            return nullptr;
        }
        return nullptr;
    }
    return nullptr;
}
