// Matrices, arrays, cases and the multi-line display environments.
#include "MathTypesetter.h"

#include "MathAtomKinds.h"

#include <hb-ot.h>

#include <QSet>

#include <algorithm>

using Level = Math::Atom::Level;
using Role = Math::DisplayNode::Role;

namespace {

struct EnvironmentLayout {
    bool displayCells = false;
    // Space between columns and at the outer edges, in em.
    qreal columnGap = 1.0;
    qreal edge = 0;
    // amsmath's cases stretches its rows by 1.2.
    qreal stretch = 1.0;
    // Extra space between rows, in em (amsmath's \jot).
    qreal rowGap = 0;
    QString left;
    QString right;
};

EnvironmentLayout layoutOf(const QString &environment)
{
    EnvironmentLayout layout;
    static const QSet<QString> displayEnvironments = {
        QStringLiteral("aligned"), QStringLiteral("align"), QStringLiteral("align*"), QStringLiteral("split"),
        QStringLiteral("gathered"), QStringLiteral("gather"), QStringLiteral("gather*"),
        QStringLiteral("eqnarray"), QStringLiteral("eqnarray*"),
    };
    if (displayEnvironments.contains(environment)) {
        layout.displayCells = true;
        layout.rowGap = 0.3;
        layout.columnGap = environment.startsWith(QLatin1String("eqnarray")) ? 1.0 : 2.0;
    }
    if (environment == QLatin1String("array"))
        layout.edge = 0.5;
    if (environment == QLatin1String("pmatrix")) {
        layout.left = QStringLiteral("(");
        layout.right = QStringLiteral(")");
    } else if (environment == QLatin1String("bmatrix")) {
        layout.left = QStringLiteral("[");
        layout.right = QStringLiteral("]");
    } else if (environment == QLatin1String("Bmatrix")) {
        layout.left = QStringLiteral("{");
        layout.right = QStringLiteral("}");
    } else if (environment == QLatin1String("vmatrix")) {
        layout.left = layout.right = QStringLiteral("|");
    } else if (environment == QLatin1String("Vmatrix")) {
        layout.left = layout.right = QStringLiteral("\u2016");
    } else if (environment == QLatin1String("cases")) {
        layout.left = QStringLiteral("{");
        layout.stretch = 1.2;
    }
    return layout;
}

// Alignment of a column: the environment's pattern, repeated for aligned's column pairs.
QChar alignmentOf(const Math::TableAtom &atom, std::size_t column)
{
    const QString &a = atom.alignments;
    if (a.isEmpty())
        return QLatin1Char('c');
    if (column < std::size_t(a.size()))
        return a[qsizetype(column)];
    if (a == QLatin1String("rl"))
        return a[qsizetype(column % 2)];
    return a.back() == QLatin1Char('l') && atom.environment == QLatin1String("cases") ? QLatin1Char('l') : QLatin1Char('c');
}

} // namespace

std::unique_ptr<Math::DisplayNode> Math::Typesetter::table(const TableAtom &atom, Style style) const
{
    const FontMetrics &m = metrics(style);
    const qreal em = m.pixelSize();
    const EnvironmentLayout layout = layoutOf(atom.environment);
    Style cellStyle{style.level == Level::display ? Level::text : style.level, style.cramped};
    if (layout.displayCells)
        cellStyle.level = Level::display;
    if (atom.environment == QLatin1String("smallmatrix"))
        cellStyle.level = Level::script;
    const bool pairs = atom.alignments == QLatin1String("rl") || atom.environment.startsWith(QLatin1String("eqnarray"));

    const std::size_t columns = atom.columnCount();
    std::vector<std::vector<std::unique_ptr<ListNode>>> cells;
    std::vector<qreal> widths(columns, 0);
    // Rows are at least as tall as TeX's strut in arrays: 0.7 and 0.3 of a 1.2em baseline skip.
    std::vector<qreal> ascents(atom.rows.size(), 0.84 * em * layout.stretch);
    std::vector<qreal> descents(atom.rows.size(), 0.36 * em * layout.stretch);
    for (std::size_t r = 0; r < atom.rows.size(); ++r) {
        cells.emplace_back();
        for (std::size_t c = 0; c < atom.rows[r].size(); ++c) {
            // In aligned pairs the right-hand column starts after an empty atom, so "= b" gets
            // the space of a relation.
            const bool leadingOrd = pairs && c % 2 == 1;
            auto cell = typesetList(atom.rows[r][c], cellStyle, leadingOrd);
            cell->role = Role::cell;
            widths[c] = std::max(widths[c], cell->width);
            ascents[r] = std::max(ascents[r], cell->ascent);
            descents[r] = std::max(descents[r], cell->descent);
            cells.back().push_back(std::move(cell));
        }
    }
    qreal totalHeight = 0;
    for (std::size_t r = 0; r < atom.rows.size(); ++r)
        totalHeight += ascents[r] + descents[r] + (r > 0 ? layout.rowGap * em : 0);

    auto grid = std::make_unique<ListNode>();
    const qreal axis = m.constant(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    qreal top = totalHeight / 2 + axis;
    for (std::size_t r = 0; r < cells.size(); ++r) {
        const qreal baseline = top - ascents[r];
        qreal x = layout.edge * em;
        for (std::size_t c = 0; c < columns; ++c) {
            if (c < cells[r].size()) {
                auto &cell = cells[r][c];
                const QChar align = alignmentOf(atom, c);
                const qreal slack = widths[c] - cell->width;
                const qreal offset = align == QLatin1Char('l') ? 0 : align == QLatin1Char('r') ? slack : slack / 2;
                grid->add(std::move(cell), x + offset, baseline);
            }
            // Aligned pairs join without a gap: the relation's own space separates them.
            const bool joined = pairs && c % 2 == 0 && !atom.environment.startsWith(QLatin1String("eqnarray"));
            x += widths[c] + (c + 1 < columns && !joined ? layout.columnGap * em : 0);
        }
        grid->width = std::max(grid->width, x + layout.edge * em);
        top = baseline - descents[r] - layout.rowGap * em;
    }
    grid->ascent = std::max(grid->ascent, totalHeight / 2 + axis);
    grid->descent = std::max(grid->descent, totalHeight / 2 - axis);
    if (layout.left.isEmpty() && layout.right.isEmpty())
        return grid;

    const qreal delta = std::max(grid->ascent - axis, grid->descent + axis);
    const qreal size = std::max(2 * delta * 0.901, 2 * delta - 0.5 * em);
    auto result = std::make_unique<ListNode>();
    qreal x = 0;
    auto left = delimiter(layout.left, size, style);
    x += left->width;
    result->add(std::move(left), 0, 0);
    const qreal gridWidth = grid->width;
    result->add(std::move(grid), x, 0);
    x += gridWidth;
    if (!layout.right.isEmpty()) {
        auto right = delimiter(layout.right, size, style);
        const qreal w = right->width;
        result->add(std::move(right), x, 0);
        x += w;
    }
    result->width = x;
    return result;
}
