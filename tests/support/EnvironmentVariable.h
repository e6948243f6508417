#pragma once

#include <QByteArray>
#include <optional>

// Sets or unsets one environment variable for the guard's lifetime and then puts back
// what was there before, so that no test leaks its settings into the next.
class EnvironmentVariable {
public:
    // Nothing: the variable is unset.
    EnvironmentVariable(const char *name, const std::optional<QByteArray> &value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable &) = delete;
    EnvironmentVariable &operator=(const EnvironmentVariable &) = delete;

    void set(const std::optional<QByteArray> &value);

private:
    const char *m_name;
    std::optional<QByteArray> m_saved;
};
