#include "ModelContainer.h"

#include "ModelContext.h"
#include "SqliteModelStore.h"

ModelContainer::ModelContainer(const Schema &schema, const ModelConfiguration &configuration)
    : m_configuration(configuration),
      m_store(std::make_unique<SqliteModelStore>(schema, configuration.folder(), configuration.filePath())),
      m_context(std::make_unique<ModelContext>(*m_store, configuration.allowsSave()))
{
}

ModelContainer::~ModelContainer()
{
    m_context.reset();
    m_store.reset();
}

const Schema &ModelContainer::schema() const
{
    return m_store->schema();
}
