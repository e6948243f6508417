#pragma once

#include "EntityDescription.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class ModelContext;
class PersistentModel;

// A live list of every object of one entity, in the order they were made. It
// follows inserts and deletions in its context and says what changed where,
// so that a view can move one row instead of starting over: inserted() and
// removed() once the results already show the change (positions of that
// moment), resultChanged() for a property written on a result, and after each
// of them changed().
class ModelQuery : public QObject {
    Q_OBJECT
public:
    ModelQuery(ModelContext &context, const EntityDescription &entity, QObject *parent = nullptr);

    const QList<std::shared_ptr<PersistentModel>> &results() const { return m_results; }
    template <class T>
    QList<std::shared_ptr<T>> resultsAs() const
    {
        QList<std::shared_ptr<T>> typed;
        typed.reserve(m_results.size());
        for (const auto &object : m_results)
            typed.append(std::static_pointer_cast<T>(object));
        return typed;
    }
    // Where an object stands in the results, or -1.
    qsizetype indexOf(const PersistentModel *object) const;

signals:
    void inserted(qsizetype position);
    // `object` is no longer in the results; it may be deleted, but it is still alive.
    void removed(qsizetype position, PersistentModel *object);
    void resultChanged(qsizetype position, int property);
    void changed();

private:
    const EntityDescription &m_entity;
    QList<std::shared_ptr<PersistentModel>> m_results;
};
