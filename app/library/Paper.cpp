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
            ED::indexedAttribute(QStringLiteral("id"), Type::Text),
            ED::attribute(QStringLiteral("title"), Type::Text, QStringLiteral("Unknown title")),
            ED::attribute(QStringLiteral("summary"), Type::Text, QStringLiteral("Unknown summary")),
            ED::attribute(QStringLiteral("authors"), Type::TextList, QStringList{QStringLiteral("Unknown author")}),
            ED::attribute(QStringLiteral("published"), Type::Date),
            ED::optionalAttribute(QStringLiteral("doi"), Type::Text),
            ED::attribute(QStringLiteral("url"), Type::Url, Paper::defaultURL()),
            ED::optionalAttribute(QStringLiteral("pdfURL"), Type::Url),
            ED::optionalAttribute(QStringLiteral("comment"), Type::Text),
            ED::attribute(QStringLiteral("notes"), Type::Text, QString()),
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
    initValue(index(Property::Id), id);
    initValue(index(Property::Title), title);
    initValue(index(Property::Summary), summary);
    initValue(index(Property::Authors), authors);
    initValue(index(Property::Published), published.toUTC());
    initValue(index(Property::Doi), optionalValue(doi));
    initValue(index(Property::Url), url);
    initValue(index(Property::PdfURL), optionalValue(pdfURL));
    initValue(index(Property::Comment), optionalValue(comment));
    initValue(index(Property::Notes), notes);
}

Paper::Paper(Fault fault)
    : PersistentModel(entityDescription(), fault)
{
}

void Paper::propertyDidChange(int property)
{
    emit changed(Property(property));
}

QString Paper::id() const { return value(index(Property::Id)).toString(); }
void Paper::setId(const QString &id) { setValue(index(Property::Id), id); }
QString Paper::title() const { return value(index(Property::Title)).toString(); }
void Paper::setTitle(const QString &title) { setValue(index(Property::Title), title); }
QString Paper::summary() const { return value(index(Property::Summary)).toString(); }
void Paper::setSummary(const QString &summary) { setValue(index(Property::Summary), summary); }
QStringList Paper::authors() const { return value(index(Property::Authors)).toStringList(); }
void Paper::setAuthors(const QStringList &authors) { setValue(index(Property::Authors), authors); }
QDateTime Paper::published() const { return value(index(Property::Published)).toDateTime(); }
void Paper::setPublished(const QDateTime &published) { setValue(index(Property::Published), published.toUTC()); }
QUrl Paper::url() const { return value(index(Property::Url)).toUrl(); }
void Paper::setUrl(const QUrl &url) { setValue(index(Property::Url), url); }
QString Paper::notes() const { return value(index(Property::Notes)).toString(); }
void Paper::setNotes(const QString &notes) { setValue(index(Property::Notes), notes); }

std::optional<QString> Paper::doi() const
{
    const QVariant v = value(index(Property::Doi));
    return v.isValid() ? std::optional(v.toString()) : std::nullopt;
}

void Paper::setDoi(const std::optional<QString> &doi) { setValue(index(Property::Doi), optionalValue(doi)); }

std::optional<QUrl> Paper::pdfURL() const
{
    const QVariant v = value(index(Property::PdfURL));
    return v.isValid() ? std::optional(v.toUrl()) : std::nullopt;
}

void Paper::setPdfURL(const std::optional<QUrl> &pdfURL) { setValue(index(Property::PdfURL), optionalValue(pdfURL)); }

std::optional<QString> Paper::comment() const
{
    const QVariant v = value(index(Property::Comment));
    return v.isValid() ? std::optional(v.toString()) : std::nullopt;
}

void Paper::setComment(const std::optional<QString> &comment)
{
    setValue(index(Property::Comment), optionalValue(comment));
}

std::optional<QList<PaperList *>> Paper::inLists() const
{
    const auto related = this->related(index(Property::InLists));
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
    setRelated(index(Property::InLists), related);
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
    appendRelated(index(Property::InLists), list);
}
