#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

// Draws the sidebar's rows: section headers in the secondary colour, engine
// and list rows with their 16-point symbol, a list row with its paper count as
// a badge (none for 0). Renames a list in place: every keystroke goes into the
// list's name, so everything showing the name follows as it is typed; Escape
// puts back the name the list had when editing began.
class SidebarDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit SidebarDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static constexpr int iconSize = 16;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    // Left to right; callers flip it for a right-to-left layout.
    static QRect badgeRect(const QStyleOptionViewItem &option, const QString &text);
};
