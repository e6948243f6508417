#include "PaperList.h"

#include "ModelContext.h"
#include "Paper.h"

#include <algorithm>

namespace {

using Type = EntityDescription::Type;
using ED = EntityDescription;

constexpr int index(PaperList::Property property)
{
    return int(property);
}

} // namespace

const EntityDescription &PaperList::entityDescription()
{
    static const EntityDescription description(
        QStringLiteral("PaperList"),
        {
            ED::attribute(QStringLiteral("id"), Type::uuid),
            ED::attribute(QStringLiteral("name"), Type::text, QStringLiteral("Unknown")),
            ED::attribute(QStringLiteral("icon"), Type::text, QStringLiteral("folder")),
            ED::relationship(QStringLiteral("papers"), &Paper::entityDescription, QStringLiteral("inLists")),
        },
        [] { return std::shared_ptr<PersistentModel>(std::make_shared<PaperList>(Fault{})); });
    return description;
}

PaperList::PaperList()
    : PaperList(QStringLiteral("Unknown"), {})
{
}

PaperList::PaperList(const QString &name, const QList<Paper *> &papers)
    : PersistentModel(entityDescription())
{
    initValue(index(Property::id), QUuid::createUuid());
    initValue(index(Property::name), name);
    initValue(index(Property::icon), QStringLiteral("folder"));
    if (!papers.isEmpty()) {
        // Through the relation, so that the papers' side holds the list too.
        const QSignalBlocker quiet(this);
        setRelated(index(Property::papers), RelatedList(papers.cbegin(), papers.cend()));
    }
}

PaperList::PaperList(Fault fault)
    : PersistentModel(entityDescription(), fault)
{
}

void PaperList::propertyDidChange(int property)
{
    emit changed(Property(property));
}

QUuid PaperList::id() const { return value(index(Property::id)).toUuid(); }
void PaperList::setId(const QUuid &id) { setValue(index(Property::id), id); }
QString PaperList::name() const { return value(index(Property::name)).toString(); }
void PaperList::setName(const QString &name) { setValue(index(Property::name), name); }
QString PaperList::icon() const { return value(index(Property::icon)).toString(); }
void PaperList::setIcon(const QString &icon) { setValue(index(Property::icon), icon); }

std::optional<QList<Paper *>> PaperList::papers() const
{
    const auto related = this->related(index(Property::papers));
    if (!related)
        return std::nullopt;
    QList<Paper *> papers;
    papers.reserve(related->size());
    for (PersistentModel *object : *related)
        papers.append(static_cast<Paper *>(object));
    return papers;
}

void PaperList::setPapers(const std::optional<QList<Paper *>> &papers)
{
    std::optional<RelatedList> related;
    if (papers)
        related = RelatedList(papers->cbegin(), papers->cend());
    setRelated(index(Property::papers), related);
}

void PaperList::addPaper(Paper *paper)
{
    if (!paper)
        return;
    if (!related(index(Property::papers)))
        setPapers(QList<Paper *>{});
    if (!papersWithId(paper->id()).isEmpty())
        return;
    appendRelated(index(Property::papers), paper);
}

void PaperList::removePaper(Paper *paper)
{
    removeRelated(index(Property::papers), paper);
}

QList<Paper *> PaperList::papersWithId(const QString &id) const
{
    QList<Paper *> found;
    if (ModelContext *context = modelContext()) {
        // Both sides of a kept list's links agree and every paper it holds is kept
        // by the same context, so the papers with this id that name the list are
        // exactly its papers with this id.
        try {
            for (const PaperPtr &candidate : context->fetch<Paper>(Paper::withId(id))) {
                const auto lists = candidate->inLists();
                if (lists && lists->contains(const_cast<PaperList *>(this)))
                    found.append(candidate.get());
            }
            if (found.size() > 1) {
                const QList<Paper *> all = papers().value_or(QList<Paper *>{});
                std::sort(found.begin(), found.end(),
                          [&](Paper *a, Paper *b) { return all.indexOf(a) < all.indexOf(b); });
            }
            return found;
        } catch (const std::exception &) {
            // The index could not be read: fall back on the papers themselves.
            found.clear();
        }
    }
    for (Paper *held : papers().value_or(QList<Paper *>{})) {
        if (held->id() == id)
            found.append(held);
    }
    return found;
}

qsizetype PaperList::paperCount() const
{
    return relatedCount(index(Property::papers));
}
