#include "SidebarDelegate.h"

#include "SidebarModel.h"
#include "TextStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace {

constexpr int horizontalMargin = 8;
constexpr int verticalMargin = 4;
constexpr int iconGap = 6;
constexpr char originalNameProperty[] = "brivetOriginalName";
constexpr char rowProperty[] = "brivetRow";

bool isSection(const QModelIndex &index)
{
    return SidebarModel::RowKind(index.data(SidebarModel::rowKindRole).toInt()) == SidebarModel::RowKind::section;
}

} // namespace

SidebarDelegate::SidebarDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QSize SidebarDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (isSection(index)) {
        const QFontMetrics metrics(textStyleFont(TextStyle::subheadline));
        return {0, metrics.height() + 3 * verticalMargin};
    }
    const QFontMetrics metrics(option.font);
    return {0, std::max(metrics.height(), iconSize) + 2 * verticalMargin + 2};
}

QRect SidebarDelegate::badgeRect(const QStyleOptionViewItem &option, const QString &text)
{
    const QFontMetrics metrics(textStyleFont(TextStyle::caption));
    const int width = std::max(metrics.horizontalAdvance(text) + 10, metrics.height() + 4);
    QRect rect(0, 0, width, metrics.height() + 2);
    rect.moveCenter(option.rect.center());
    rect.moveRight(option.rect.right() - horizontalMargin);
    return rect;
}

void SidebarDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const QPalette::ColorGroup group = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;

    if (isSection(index)) {
        painter->save();
        painter->setFont(textStyleFont(TextStyle::subheadline));
        painter->setPen(option.palette.color(group, secondaryColorRole));
        const QRect text = option.rect.adjusted(horizontalMargin, verticalMargin, -horizontalMargin, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          QFontMetrics(painter->font()).elidedText(opt.text, Qt::ElideRight, text.width()));
        painter->restore();
        return;
    }

    const QString badge = index.data(SidebarModel::paperCountRole).toInt() > 0
        ? QString::number(index.data(SidebarModel::paperCountRole).toInt())
        : QString();
    QStyleOptionViewItem row = opt;
    row.text.clear();
    row.icon = QIcon();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &row, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QRect content = option.rect.adjusted(horizontalMargin, 0, -horizontalMargin, 0);
    QRect iconRect(0, 0, iconSize, iconSize);
    iconRect.moveCenter(content.center());
    iconRect.moveLeft(content.left());
    iconRect = QStyle::visualRect(option.direction, option.rect, iconRect);
    opt.icon.paint(painter, iconRect, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);

    int right = content.right();
    if (!badge.isEmpty()) {
        const QRect ltrPill = badgeRect(option, badge);
        const QRect pill = QStyle::visualRect(option.direction, option.rect, ltrPill);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        QColor fill = selected ? option.palette.color(group, QPalette::HighlightedText)
                               : option.palette.color(group, secondaryColorRole);
        fill.setAlphaF(0.18);
        painter->setBrush(fill);
        painter->drawRoundedRect(pill, pill.height() / 2.0, pill.height() / 2.0);
        painter->setFont(textStyleFont(TextStyle::caption));
        painter->setPen(selected ? option.palette.color(group, QPalette::HighlightedText)
                                 : option.palette.color(group, secondaryColorRole));
        painter->drawText(pill, Qt::AlignCenter, badge);
        painter->restore();
        right = ltrPill.left() - iconGap;
    }
    QRect text(content.left() + iconSize + iconGap, option.rect.top(), 0, option.rect.height());
    text.setRight(right);
    text = QStyle::visualRect(option.direction, option.rect, text);
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      QFontMetrics(option.font).elidedText(opt.text, Qt::ElideRight, text.width()));
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

QWidget *SidebarDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setAccessibleName(index.data(Qt::DisplayRole).toString());
    editor->setProperty(originalNameProperty, index.data(Qt::EditRole));
    editor->setProperty(rowProperty, QVariant::fromValue(QPersistentModelIndex(index)));
    // Every keystroke goes into the name at once.
    connect(editor, &QLineEdit::textEdited, editor, [editor](const QString &text) {
        const auto row = editor->property(rowProperty).value<QPersistentModelIndex>();
        if (row.isValid())
            const_cast<QAbstractItemModel *>(row.model())->setData(row, text, Qt::EditRole);
    });
    return editor;
}

void SidebarDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *line = static_cast<QLineEdit *>(editor);
    // Only when the name changed elsewhere: setting it back would move the cursor.
    const QString name = index.data(Qt::EditRole).toString();
    if (line->text() != name)
        line->setText(name);
}

void SidebarDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString text = static_cast<QLineEdit *>(editor)->text();
    if (index.data(Qt::EditRole).toString() != text)
        model->setData(index, text, Qt::EditRole);
}

void SidebarDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const
{
    QRect rect = option.rect.adjusted(horizontalMargin + iconSize + iconGap - 3, 2, -horizontalMargin, -2);
    editor->setGeometry(QStyle::visualRect(option.direction, option.rect, rect));
}

bool SidebarDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QLineEdit *>(object);
    if (editor && event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        // The usual way out of a rename: the name as it was.
        const auto row = editor->property(rowProperty).value<QPersistentModelIndex>();
        const QString original = editor->property(originalNameProperty).toString();
        if (row.isValid() && row.data(Qt::EditRole).toString() != original)
            const_cast<QAbstractItemModel *>(row.model())->setData(row, original, Qt::EditRole);
        editor->setText(original);
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
