#include "SidebarModel.h"

#include "DataManager.h"
#include "Localized.h"
#include "ModelContext.h"
#include "ModelQuery.h"
#include "PaperMimeData.h"
#include "SearchEngines.h"
#include "Symbols.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMimeData>

namespace {

// Top-level rows (the sections) carry 0; a row of section s carries s + 1.
constexpr quintptr sectionRowId = 0;

} // namespace

SidebarModel::SidebarModel(ModelContext &context, DataManager &dataManager, QObject *parent)
    : QAbstractItemModel(parent), m_context(context), m_dataManager(dataManager),
      m_query(new ModelQuery(context, PaperList::entityDescription(), this)),
      m_lists(m_query->resultsAs<PaperList>())
{
    connect(m_query, &ModelQuery::inserted, this, [this](qsizetype position) {
        beginInsertRows(sectionIndex(librarySection), int(position), int(position));
        m_lists.insert(position, std::static_pointer_cast<PaperList>(m_query->results().at(position)));
        endInsertRows();
    });
    connect(m_query, &ModelQuery::removed, this, [this](qsizetype position) {
        beginRemoveRows(sectionIndex(librarySection), int(position), int(position));
        m_counts.remove(m_lists.at(position).get());
        m_lists.removeAt(position);
        endRemoveRows();
    });
    connect(m_query, &ModelQuery::resultChanged, this, &SidebarModel::listChanged);
}

SidebarModel::~SidebarModel() = default;

void SidebarModel::listChanged(qsizetype position, int property)
{
    const QModelIndex row = index(int(position), 0, sectionIndex(librarySection));
    switch (PaperList::Property(property)) {
    case PaperList::Property::name:
        emit dataChanged(row, row, {Qt::DisplayRole, Qt::EditRole, Qt::AccessibleTextRole});
        break;
    case PaperList::Property::icon:
        emit dataChanged(row, row, {Qt::DecorationRole});
        break;
    case PaperList::Property::papers:
        m_counts.remove(m_lists.value(position).get());
        emit dataChanged(row, row, {paperCountRole, Qt::AccessibleDescriptionRole});
        break;
    case PaperList::Property::id:
        emit dataChanged(row, row, {selectionIdRole});
        break;
    }
}

QModelIndex SidebarModel::sectionIndex(Section section) const
{
    return createIndex(int(section), 0, sectionRowId);
}

QModelIndex SidebarModel::indexOf(const QUuid &id) const
{
    const QList<SearchEngine *> &engines = searchEngines();
    for (int row = 0; row < engines.size(); ++row) {
        if (engines[row]->id() == id)
            return index(row, 0, sectionIndex(enginesSection));
    }
    for (int row = 0; row < m_lists.size(); ++row) {
        if (m_lists[row]->id() == id)
            return index(row, 0, sectionIndex(librarySection));
    }
    return {};
}

SidebarModel::RowKind SidebarModel::kindOf(const QModelIndex &index) const
{
    if (index.internalId() == sectionRowId)
        return RowKind::section;
    return index.internalId() == enginesSection + 1 ? RowKind::engine : RowKind::list;
}

const SearchEngine *SidebarModel::engineAt(const QModelIndex &index) const
{
    if (!index.isValid() || kindOf(index) != RowKind::engine)
        return nullptr;
    return searchEngines().value(index.row());
}

PaperListPtr SidebarModel::listAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || kindOf(index) != RowKind::list)
        return nullptr;
    return m_lists.value(index.row());
}

std::optional<QUuid> SidebarModel::idAt(const QModelIndex &index) const
{
    if (const SearchEngine *engine = engineAt(index))
        return engine->id();
    if (const PaperListPtr list = listAt(index))
        return list->id();
    return std::nullopt;
}

QModelIndex SidebarModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, 0, sectionRowId);
    return createIndex(row, 0, quintptr(parent.row() + 1));
}

QModelIndex SidebarModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == sectionRowId)
        return {};
    return sectionIndex(Section(child.internalId() - 1));
}

int SidebarModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return 2;
    if (parent.internalId() != sectionRowId)
        return 0;
    return parent.row() == enginesSection ? int(searchEngines().size()) : int(m_lists.size());
}

int SidebarModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant SidebarModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == rowKindRole)
        return int(kindOf(index));
    switch (kindOf(index)) {
    case RowKind::section:
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return index.row() == enginesSection ? localized("Search Engines") : localized("Library");
        return {};
    case RowKind::engine: {
        const SearchEngine *engine = engineAt(index);
        if (!engine)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return localized("Search %1").arg(engine->name());
        case Qt::DecorationRole:
            return symbolIcon(engine->icon());
        case selectionIdRole:
            return engine->id();
        }
        return {};
    }
    case RowKind::list: {
        const PaperListPtr list = listAt(index);
        if (!list)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::AccessibleTextRole:
            return list->name();
        case Qt::DecorationRole:
            return symbolIcon(list->icon());
        case selectionIdRole:
            return list->id();
        case paperCountRole:
            return paperCount(*list);
        case Qt::AccessibleDescriptionRole:
            return QCoreApplication::translate("Brivet", "%n paper(s)", nullptr, paperCount(*list));
        }
        return {};
    }
    }
    return {};
}

int SidebarModel::paperCount(const PaperList &list) const
{
    auto found = m_counts.constFind(&list);
    if (found == m_counts.constEnd())
        found = m_counts.insert(&list, int(list.paperCount()));
    return *found;
}

bool SidebarModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const PaperListPtr list = listAt(index);
    if (!list || role != Qt::EditRole)
        return false;
    // Any text, the empty one included; the list announces the change itself.
    list->setName(value.toString());
    return true;
}

Qt::ItemFlags SidebarModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    switch (kindOf(index)) {
    case RowKind::section:
        return Qt::ItemIsEnabled;
    case RowKind::engine:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    case RowKind::list:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren | Qt::ItemIsEditable
            | Qt::ItemIsDropEnabled;
    }
    return Qt::NoItemFlags;
}

QStringList SidebarModel::mimeTypes() const
{
    return PaperMimeData::formats();
}

Qt::DropActions SidebarModel::supportedDropActions() const
{
    return Qt::CopyAction;
}

bool SidebarModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int row, int,
                                   const QModelIndex &parent) const
{
    // On a list row itself, never between rows.
    return row == -1 && listAt(parent) && data && data->hasFormat(PaperMimeData::formats().constFirst());
}

bool SidebarModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    const std::optional<QList<TransferablePaper>> papers = PaperMimeData::read(data);
    if (!papers)
        return false;
    const PaperListPtr list = listAt(parent);
    try {
        m_context.transaction([&] { m_dataManager.add(*papers, list.get()); });
    } catch (const std::exception &) {
        // A failed transaction is ignored: what was added stays in the context.
    }
    return true;
}
