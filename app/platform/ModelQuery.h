#pragma once

#include "EntityDescription.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class ModelContext;
class PersistentModel;

// A live list of every object of one entity, in the order they were made. It
// follows inserts and deletions in its context and emits changed() whenever
// its set of objects or any of those objects changes.
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

signals:
    void changed();

private:
    const EntityDescription &m_entity;
    QList<std::shared_ptr<PersistentModel>> m_results;
};
