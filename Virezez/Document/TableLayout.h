#pragma once
// Lays out one table into a DocumentLayout: columns take their natural width when the table
// fits, shrink in proportion (wrapping their text) when it does not, and never below a
// minimum; a table that still does not fit scrolls sideways.
#include <QColor>
#include <vector>

class DocumentLayout;

class TableLayout {
public:
    TableLayout(DocumentLayout &layout, int table, qreal x, qreal width, const QColor &color);
    void run();

private:
    DocumentLayout &m_layout;
    int m_table;
    qreal m_x;
    qreal m_width;
    QColor m_color;
};
