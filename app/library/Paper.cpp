#include "Paper.h"

#include "PaperList.h"

#include <QUuid>

namespace {

using Type = EntityDescription::Type;
using ED = EntityDescription;

constexpr int index(Paper::Property property)
{
    return int(property);
}

template <class T>
QVariant optionalValue(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

} // namespace

const EntityDescription &Paper::entityDescription()
{
    static const EntityDescription description(
        QStringLiteral("Paper"),
        {
            ED::indexedAttribute(QStringLiteral("id"), Type::text),
            ED::attribute(QStringLiteral("title"), Type::text, QStringLiteral("Unknown title")),
            ED::attribute(QStringLiteral("summary"), Type::text, QStringLiteral("Unknown summary")),
            ED::attribute(QStringLiteral("authors"), Type::textList, QStringList{QStringLiteral("Unknown author")}),
            ED::attribute(QStringLiteral("published"), Type::date),
            ED::optionalAttribute(QStringLiteral("doi"), Type::text),
            ED::attribute(QStringLiteral("url"), Type::url, Paper::defaultURL()),
            ED::optionalAttribute(QStringLiteral("pdfURL"), Type::url),
            ED::optionalAttribute(QStringLiteral("comment"), Type::text),
            ED::attribute(QStringLiteral("notes"), Type::text, QString()),
            ED::relationship(QStringLiteral("inLists"), &PaperList::entityDescription, QStringLiteral("papers")),
        },
        [] { return std::shared_ptr<PersistentModel>(std::make_shared<Paper>(Fault{})); });
    return description;
}

QUrl Paper::defaultURL()
{
    return QUrl(QStringLiteral("https://brivet.quendo.com"));
}

FetchDescriptor Paper::withId(const QString &id)
{
    return FetchDescriptor(entityDescription(), QStringLiteral("id"), id);
}

Paper::Paper()
    : Paper(QUuid::createUuid().toString(QUuid::WithoutBraces), QStringLiteral("Unknown title"),
            QStringLiteral("Unknown summary"), {QStringLiteral("Unknown author")},
            QDateTime::currentDateTimeUtc(), std::nullopt, defaultURL(), std::nullopt, std::nullopt, QString())
{
}

Paper::Paper(QString id, QString title, QString summary, QStringList authors, QDateTime published,
             std::optional<QString> doi, QUrl url, std::optional<QUrl> pdfURL, std::optional<QString> comment,
             QString notes)
    : PersistentModel(entityDescription())
{
    initValue(index(Property::id), id);
    initValue(index(Property::title), title);
    initValue(index(Property::summary), summary);
    initValue(index(Property::authors), authors);
    initValue(index(Property::published), published.toUTC());
    initValue(index(Property::doi), optionalValue(doi));
    initValue(index(Property::url), url);
    initValue(index(Property::pdfURL), optionalValue(pdfURL));
    initValue(index(Property::comment), optionalValue(comment));
    initValue(index(Property::notes), notes);
}

Paper::Paper(Fault fault)
    : PersistentModel(entityDescription(), fault)
{
}

void Paper::propertyDidChange(int property)
{
    emit changed(Property(property));
}

QString Paper::id() const { return value(index(Property::id)).toString(); }
void Paper::setId(const QString &id) { setValue(index(Property::id), id); }
QString Paper::title() const { return value(index(Property::title)).toString(); }
void Paper::setTitle(const QString &title) { setValue(index(Property::title), title); }
QString Paper::summary() const { return value(index(Property::summary)).toString(); }
void Paper::setSummary(const QString &summary) { setValue(index(Property::summary), summary); }
QStringList Paper::authors() const { return value(index(Property::authors)).toStringList(); }
void Paper::setAuthors(const QStringList &authors) { setValue(index(Property::authors), authors); }
QDateTime Paper::published() const { return value(index(Property::published)).toDateTime(); }
void Paper::setPublished(const QDateTime &published) { setValue(index(Property::published), published.toUTC()); }
QUrl Paper::url() const { return value(index(Property::url)).toUrl(); }
void Paper::setUrl(const QUrl &url) { setValue(index(Property::url), url); }
QString Paper::notes() const { return value(index(Property::notes)).toString(); }
void Paper::setNotes(const QString &notes) { setValue(index(Property::notes), notes); }

std::optional<QString> Paper::doi() const
{
    const QVariant v = value(index(Property::doi));
    return v.isValid() ? std::optional(v.toString()) : std::nullopt;
}

void Paper::setDoi(const std::optional<QString> &doi) { setValue(index(Property::doi), optionalValue(doi)); }

std::optional<QUrl> Paper::pdfURL() const
{
    const QVariant v = value(index(Property::pdfURL));
    return v.isValid() ? std::optional(v.toUrl()) : std::nullopt;
}

void Paper::setPdfURL(const std::optional<QUrl> &pdfURL) { setValue(index(Property::pdfURL), optionalValue(pdfURL)); }

std::optional<QString> Paper::comment() const
{
    const QVariant v = value(index(Property::comment));
    return v.isValid() ? std::optional(v.toString()) : std::nullopt;
}

void Paper::setComment(const std::optional<QString> &comment)
{
    setValue(index(Property::comment), optionalValue(comment));
}

std::optional<QList<PaperList *>> Paper::inLists() const
{
    const auto related = this->related(index(Property::inLists));
    if (!related)
        return std::nullopt;
    QList<PaperList *> lists;
    lists.reserve(related->size());
    for (PersistentModel *object : *related)
        lists.append(static_cast<PaperList *>(object));
    return lists;
}

void Paper::setInLists(const std::optional<QList<PaperList *>> &lists)
{
    std::optional<RelatedList> related;
    if (lists)
        related = RelatedList(lists->cbegin(), lists->cend());
    setRelated(index(Property::inLists), related);
}

void Paper::addToList(PaperList *list)
{
    if (!list)
        return;
    const auto current = inLists();
    if (current) {
        const QUuid id = list->id();
        for (PaperList *held : *current) {
            if (held->id() == id)
                return;
        }
    } else {
        setInLists(QList<PaperList *>{});
    }
    appendRelated(index(Property::inLists), list);
}
