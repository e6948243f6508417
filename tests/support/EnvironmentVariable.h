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
        set(value);
    }
    ~EnvironmentVariable() { set(m_saved); }
    EnvironmentVariable(const EnvironmentVariable &) = delete;
    EnvironmentVariable &operator=(const EnvironmentVariable &) = delete;

    // Another value (or none) until the guard goes.
    void set(const std::optional<QByteArray> &value)
    {
        if (value)
            qputenv(m_name, *value);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<QByteArray> m_saved;
};
