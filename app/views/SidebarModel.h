#pragma once

#include "PaperList.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QUuid>

#include <optional>

class DataManager;
class ModelContext;
class ModelQuery;
class SearchEngine;

// The sidebar's rows: two sections, "Search Engines" with the built-in engines
// and "Library" with the user's lists in the store's order, each list with its
// paper count. It follows the live list query one row at a time (a new list, a
// deleted one, a rename, a count), so a view keeps its selection and scroll
// position through every edit. List names are edited in place through
// setData(); list rows take drops of papers.
class SidebarModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role {
        // The UUID a row stands for: an engine's or a list's id.
        selectionIdRole = Qt::UserRole + 1,
        // Papers in a list (0 for no papers): the badge.
        paperCountRole,
        rowKindRole,
    };
    enum class RowKind { section, engine, list };
    enum Section { enginesSection, librarySection };

    SidebarModel(ModelContext &context, DataManager &dataManager, QObject *parent = nullptr);
    ~SidebarModel() override;

    QModelIndex sectionIndex(Section section) const;
    // The row of an engine or list id, or an invalid index.
    QModelIndex indexOf(const QUuid &id) const;
    std::optional<QUuid> idAt(const QModelIndex &index) const;
    PaperListPtr listAt(const QModelIndex &index) const;
    const QList<PaperListPtr> &lists() const { return m_lists; }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    // Adds the dropped papers to the row's list in one transaction of the store.
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

private:
    RowKind kindOf(const QModelIndex &index) const;
    const SearchEngine *engineAt(const QModelIndex &index) const;
    void listChanged(qsizetype position, int property);
    int paperCount(const PaperList &list) const;

    ModelContext &m_context;
    DataManager &m_dataManager;
    ModelQuery *m_query;
    // The query's results as this model last announced them.
    QList<PaperListPtr> m_lists;
    // Paper counts asked of the store, until the list's papers change: a paint
    // of the sidebar asks for every visible count.
    mutable QHash<const PaperList *, int> m_counts;
};
