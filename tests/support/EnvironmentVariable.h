#pragma once

#include <QByteArray>
#include <optional>

// Sets (or, with nothing, unsets) one environment variable for its own
// lifetime and then puts back what was there before.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char *name, const std::optional<QByteArray> &value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_saved = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~EnvironmentVariable()
    {
        if (m_saved)
            qputenv(m_name, *m_saved);
        else
            qunsetenv(m_name);
    }
    EnvironmentVariable(const EnvironmentVariable &) = delete;
    EnvironmentVariable &operator=(const EnvironmentVariable &) = delete;

private:
    const char *m_name;
    std::optional<QByteArray> m_saved;
};
