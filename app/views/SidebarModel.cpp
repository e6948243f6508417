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
        beginInsertRows(sectionIndex(LibrarySection), int(position), int(position));
        m_lists.insert(position, std::static_pointer_cast<PaperList>(m_query->results().at(position)));
        endInsertRows();
    });
    connect(m_query, &ModelQuery::removed, this, [this](qsizetype position) {
        beginRemoveRows(sectionIndex(LibrarySection), int(position), int(position));
        m_counts.remove(m_lists.at(position).get());
        m_lists.removeAt(position);
        endRemoveRows();
    });
    connect(m_query, &ModelQuery::resultChanged, this, &SidebarModel::listChanged);
}

SidebarModel::~SidebarModel() = default;

void SidebarModel::listChanged(qsizetype position, int property)
{
    const QModelIndex row = index(int(position), 0, sectionIndex(LibrarySection));
    switch (PaperList::Property(property)) {
    case PaperList::Property::Name:
        emit dataChanged(row, row, {Qt::DisplayRole, Qt::EditRole, Qt::AccessibleTextRole});
        break;
    case PaperList::Property::Icon:
        emit dataChanged(row, row, {Qt::DecorationRole});
        break;
    case PaperList::Property::Papers:
        m_counts.remove(m_lists.value(position).get());
        emit dataChanged(row, row, {PaperCountRole, Qt::AccessibleDescriptionRole});
        break;
    case PaperList::Property::Id:
        emit dataChanged(row, row, {SelectionIdRole});
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
            return index(row, 0, sectionIndex(EnginesSection));
    }
    for (int row = 0; row < m_lists.size(); ++row) {
        if (m_lists[row]->id() == id)
            return index(row, 0, sectionIndex(LibrarySection));
    }
    return {};
}

SidebarModel::RowKind SidebarModel::kindOf(const QModelIndex &index) const
{
    if (index.internalId() == sectionRowId)
        return RowKind::Section;
    return index.internalId() == EnginesSection + 1 ? RowKind::Engine : RowKind::List;
}

const SearchEngine *SidebarModel::engineAt(const QModelIndex &index) const
{
    if (!index.isValid() || kindOf(index) != RowKind::Engine)
        return nullptr;
    return searchEngines().value(index.row());
}

PaperListPtr SidebarModel::listAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || kindOf(index) != RowKind::List)
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
    return parent.row() == EnginesSection ? int(searchEngines().size()) : int(m_lists.size());
}

int SidebarModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant SidebarModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == RowKindRole)
        return int(kindOf(index));
    switch (kindOf(index)) {
    case RowKind::Section:
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return index.row() == EnginesSection ? localized("Search Engines") : localized("Library");
        return {};
    case RowKind::Engine: {
        const SearchEngine *engine = engineAt(index);
        if (!engine)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return localized("Search %1").arg(engine->name());
        case Qt::DecorationRole:
            return symbolIcon(engine->icon());
        case SelectionIdRole:
            return engine->id();
        }
        return {};
    }
    case RowKind::List: {
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
        case SelectionIdRole:
            return list->id();
        case PaperCountRole:
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
    case RowKind::Section:
        return Qt::ItemIsEnabled;
    case RowKind::Engine:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    case RowKind::List:
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
