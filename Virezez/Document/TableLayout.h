#pragma once
// Lays out one table into a DocumentLayout: columns take their natural width when the table
// fits, shrink in proportion (wrapping their text) when it does not, and never below a
// minimum; a table that still does not fit scrolls sideways. The work goes a few rows per
// step, measuring every row first and placing them after, so a table of ten thousand rows
// does not hold up one slice of layout.
#include <QColor>
#include <QTextLayout>
#include <memory>
#include <vector>

class DocumentLayout;

class TableLayout {
public:
    TableLayout(DocumentLayout &layout, int table, qreal x, qreal width, const QColor &color);
    // Does the next few rows; returns true once the whole table is laid out.
    bool step();
    void run();

private:
    struct Cell {
        int block = -1;
        int textStart = 0;
        std::shared_ptr<QTextLayout> layout;
    };

    void measureRow(size_t r);
    void shareWidths();
    void placeRow(size_t r);
    void finish();

    DocumentLayout &m_layout;
    int m_table;
    qreal m_x;
    qreal m_width;
    QColor m_color;
    const std::vector<int> &m_rows;
    size_t m_columns = 1;
    bool m_measured = false;
    size_t m_next = 0; // next row to measure, then to place
    // Cells by row and column; a missing cell stays empty but keeps its frame.
    std::vector<std::vector<Cell>> m_grid;
    std::vector<qreal> m_natural;
    std::vector<qreal> m_longestWord;
    std::vector<qreal> m_widths;
    qreal m_tableWidth = 0;
    qreal m_top = 0;
    qreal m_y = 0;
    int m_region = -1;
};
