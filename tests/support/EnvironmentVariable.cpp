#include "EnvironmentVariable.h"

#include <QtGlobal>

namespace {

void assign(const char *name, const std::optional<QByteArray> &value)
{
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

} // namespace

EnvironmentVariable::EnvironmentVariable(const char *name, const std::optional<QByteArray> &value)
    : m_name(name), m_saved(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
{
    assign(m_name, value);
}

EnvironmentVariable::~EnvironmentVariable()
{
    assign(m_name, m_saved);
}

void EnvironmentVariable::set(const std::optional<QByteArray> &value)
{
    assign(m_name, value);
}
