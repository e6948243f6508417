#pragma once

#include "ModelConfiguration.h"
#include "Schema.h"

#include <memory>

class ModelContext;
class SqliteModelStore;

// Opens (or on first launch creates) the store a configuration names and owns
// its main context. Throws BrivetError with a readable description when the
// store cannot be opened; an existing file is then left exactly as it was.
class ModelContainer {
public:
    ModelContainer(const Schema &schema, const ModelConfiguration &configuration);
    ModelContainer(const ModelContainer &) = delete;
    ModelContainer &operator=(const ModelContainer &) = delete;
    // Saves what the main context still holds, then closes the file.
    ~ModelContainer();

    ModelContext &mainContext() { return *m_context; }
    // The store under the main context.
    SqliteModelStore &store() { return *m_store; }
    const ModelConfiguration &configuration() const { return m_configuration; }
    const Schema &schema() const;

private:
    ModelConfiguration m_configuration;
    std::unique_ptr<SqliteModelStore> m_store;
    std::unique_ptr<ModelContext> m_context;
};
