#pragma once

#include <QStyledItemDelegate>

// Draws one paper row in two lines: the title in the body font, cut to one
// line; under it, in the caption font and the secondary colour, the identifier
// and the date (never cut) and the author line (cut when the row is short).
// Every row has the same height, worked out from the fonts alone, so a view
// can lay out any number of rows without reading a paper.
class PaperListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PaperListDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static constexpr int margin = 6;
    static constexpr int lineSpacing = 5;
    static constexpr int bottomPadding = 5;
};
