#pragma once

#include "Paper.h"
#include "PaperList.h"

#include <QAbstractListModel>
#include <QDate>
#include <QSet>

// The rows of the paper list: one paper per row, in the order given, never
// sorted or filtered. Over a list it follows the list's papers one link at a
// time; over an engine's results it shows that fixed array.
//
// A paper's values are read only when a view asks for its row, so showing the
// first rows of a long stored list reads only those papers; and only a paper
// whose row was read is watched for changes, as no other row can be stale.
// Rows drag out as papers (PaperMimeData).
class PaperListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        idRole = Qt::UserRole + 1,
        // The publication date, abbreviated, in the user's locale and time zone.
        dateRole,
        // The first author, with " et al." when there are more; empty for none.
        authorLineRole,
    };

    explicit PaperListModel(PaperListPtr list, QObject *parent = nullptr);
    explicit PaperListModel(QList<PaperPtr> papers, QObject *parent = nullptr);

    // The list shown, or null for an engine's results.
    const PaperListPtr &list() const { return m_list; }
    PaperPtr paperAt(int row) const { return m_rows.value(row); }
    // The row of a paper object, or -1.
    int rowOf(const Paper *paper) const;

    static QString abbreviatedDate(const QDateTime &published);
    static QString authorLine(const QStringList &authors);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    void watch(Paper *paper) const;
    void unwatch(Paper *paper);
    void paperChanged(Paper *paper, Paper::Property property);

    PaperListPtr m_list;
    QList<PaperPtr> m_rows;
    mutable QSet<const Paper *> m_watched;
};
