#include "PaperListModel.h"

#include "Localized.h"
#include "PaperMimeData.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

namespace {

constexpr int papersProperty = int(PaperList::Property::papers);

PaperPtr paperPointer(PersistentModel *object)
{
    return std::static_pointer_cast<Paper>(object->shared_from_this());
}

} // namespace

PaperListModel::PaperListModel(PaperListPtr list, QObject *parent)
    : QAbstractListModel(parent), m_list(std::move(list))
{
    if (!m_list)
        return;
    const QList<Paper *> papers = m_list->papers().value_or(QList<Paper *>{});
    m_rows.reserve(papers.size());
    for (Paper *paper : papers)
        m_rows.append(paperPointer(paper));

    connect(m_list.get(), &PersistentModel::relatedInserted, this,
            [this](int property, qsizetype position, PersistentModel *object) {
                if (property != papersProperty)
                    return;
                beginInsertRows({}, int(position), int(position));
                m_rows.insert(position, paperPointer(object));
                endInsertRows();
            });
    connect(m_list.get(), &PersistentModel::relatedRemoved, this,
            [this](int property, qsizetype position, PersistentModel *object) {
                if (property != papersProperty)
                    return;
                if (position >= m_rows.size() || m_rows.at(position).get() != object) {
                    // Out of step (it cannot be, but then nothing stale may stay).
                    beginResetModel();
                    for (const PaperPtr &row : std::as_const(m_rows))
                        unwatch(row.get());
                    m_rows.clear();
                    for (Paper *paper : m_list->papers().value_or(QList<Paper *>{}))
                        m_rows.append(paperPointer(paper));
                    endResetModel();
                    return;
                }
                beginRemoveRows({}, int(position), int(position));
                unwatch(m_rows.at(position).get());
                m_rows.removeAt(position);
                endRemoveRows();
            });
}

PaperListModel::PaperListModel(QList<PaperPtr> papers, QObject *parent)
    : QAbstractListModel(parent), m_rows(std::move(papers))
{
}

int PaperListModel::rowOf(const Paper *paper) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].get() == paper)
            return row;
    }
    return -1;
}

QString PaperListModel::abbreviatedDate(const QDateTime &published)
{
    // The locale's long date without the weekday and with short month names:
    // "Jun 30, 1905" in English, "30. Juni 1905" in German. Worked out once per
    // locale, as every row on screen asks for it on every paint.
    static QLocale formatLocale(QLocale::c());
    static QString format;
    const QLocale locale;
    if (format.isEmpty() || locale != formatLocale) {
        static const QRegularExpression weekday(QStringLiteral("d{4}[^dMy]*|[^dMy]*d{4}"));
        format = locale.dateFormat(QLocale::LongFormat).remove(weekday).replace(QStringLiteral("MMMM"), QStringLiteral("MMM")).trimmed();
        formatLocale = locale;
    }
    return locale.toString(published.toLocalTime().date(), format);
}

QString PaperListModel::authorLine(const QStringList &authors)
{
    if (authors.isEmpty())
        return {};
    const QString suffix = authors.size() > 1 ? QStringLiteral(" et al.") : QString();
    return localized("%1%2").arg(authors.first(), suffix);
}

int PaperListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant PaperListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    Paper *paper = m_rows[index.row()].get();
    switch (role) {
    case Qt::DisplayRole:
        watch(paper);
        return paper->title();
    case idRole:
        watch(paper);
        return paper->id();
    case dateRole:
        watch(paper);
        return abbreviatedDate(paper->published());
    case authorLineRole:
        watch(paper);
        return authorLine(paper->authors());
    case Qt::AccessibleTextRole:
        watch(paper);
        return paper->title();
    case Qt::AccessibleDescriptionRole: {
        watch(paper);
        QStringList parts{paper->id(), abbreviatedDate(paper->published())};
        const QString authors = authorLine(paper->authors());
        if (!authors.isEmpty())
            parts << authors;
        return parts.join(QStringLiteral(", "));
    }
    }
    return {};
}

void PaperListModel::watch(Paper *paper) const
{
    if (m_watched.contains(paper))
        return;
    m_watched.insert(paper);
    auto *self = const_cast<PaperListModel *>(this);
    connect(paper, &Paper::changed, self, [self, paper](Paper::Property property) { self->paperChanged(paper, property); });
}

void PaperListModel::unwatch(Paper *paper)
{
    if (m_watched.remove(paper))
        disconnect(paper, &Paper::changed, this, nullptr);
}

void PaperListModel::paperChanged(Paper *paper, Paper::Property property)
{
    QList<int> roles;
    switch (property) {
    case Paper::Property::title:
        roles = {Qt::DisplayRole, Qt::AccessibleTextRole};
        break;
    case Paper::Property::id:
        roles = {idRole, Qt::AccessibleDescriptionRole};
        break;
    case Paper::Property::published:
        roles = {dateRole, Qt::AccessibleDescriptionRole};
        break;
    case Paper::Property::authors:
        roles = {authorLineRole, Qt::AccessibleDescriptionRole};
        break;
    default:
        return;   // not shown in a row
    }
    const int row = rowOf(paper);
    if (row >= 0)
        emit dataChanged(index(row), index(row), roles);
}

Qt::ItemFlags PaperListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList PaperListModel::mimeTypes() const
{
    return PaperMimeData::formats();
}

QMimeData *PaperListModel::mimeData(const QModelIndexList &indexes) const
{
    QList<Paper *> papers;
    for (const QModelIndex &index : indexes) {
        if (index.isValid() && index.model() == this && index.row() < m_rows.size())
            papers.append(m_rows[index.row()].get());
    }
    return PaperMimeData::make(papers);
}

Qt::DropActions PaperListModel::supportedDragActions() const
{
    return Qt::CopyAction;
}
