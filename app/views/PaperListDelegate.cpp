#include "PaperListDelegate.h"

#include "PaperListModel.h"
#include "TextStyle.h"

#include <QApplication>
#include <QPainter>

PaperListDelegate::PaperListDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QSize PaperListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics title(option.font);
    const QFontMetrics caption(textStyleFont(TextStyle::caption));
    // No width of its own: a row is as wide as the list, and its texts are cut to fit.
    return {1, margin + title.height() + caption.height() + bottomPadding + margin};
}

void PaperListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
        : (option.state & QStyle::State_Active)                               ? QPalette::Active
                                                                               : QPalette::Inactive;
    const QColor primary = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor secondary = selected ? primary : option.palette.color(group, secondaryColorRole);

    const QRect content = option.rect.adjusted(margin, margin, -margin, -(margin + bottomPadding));
    painter->save();
    painter->setClipRect(option.rect);

    const QFontMetrics titleMetrics(option.font);
    painter->setFont(option.font);
    painter->setPen(primary);
    const QRect titleRect(content.left(), content.top(), content.width(), titleMetrics.height());
    painter->drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
                      titleMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, content.width()));

    const QFont captionFont = textStyleFont(TextStyle::caption);
    const QFontMetrics captionMetrics(captionFont);
    painter->setFont(captionFont);
    painter->setPen(secondary);
    QRect line(content.left(), titleRect.bottom() + 1, content.width(), captionMetrics.height());
    const bool rightToLeft = option.direction == Qt::RightToLeft;
    int x = 0;
    const auto drawPart = [&](const QString &text, bool mayCut) {
        if (text.isEmpty())
            return;
        const int room = std::max(0, line.width() - x);
        const QString shown = mayCut ? captionMetrics.elidedText(text, Qt::ElideRight, room) : text;
        const int width = captionMetrics.horizontalAdvance(shown);
        QRect part(line.left() + x, line.top(), width, line.height());
        if (rightToLeft)
            part.moveRight(line.right() - x);
        painter->drawText(part, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
        x += width + lineSpacing;
    };
    drawPart(index.data(PaperListModel::idRole).toString(), false);
    drawPart(index.data(PaperListModel::dateRole).toString(), false);
    drawPart(index.data(PaperListModel::authorLineRole).toString(), true);
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect;
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}
