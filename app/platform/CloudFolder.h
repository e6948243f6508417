#pragma once

#include <QString>
#include <optional>

// Stands in for a cloud identity and its container. A user who keeps a folder in sync
// with some client names it in BRIVET_CLOUD_CONTAINER; that folder is the container.
// Unset or empty means the user has no identity.
class CloudFolder {
public:
    static constexpr const char *environmentVariable = "BRIVET_CLOUD_CONTAINER";

    static bool hasIdentity();
    // The container's folder, or none without an identity or when the named folder does
    // not exist (an identity whose container cannot be located).
    static std::optional<QString> container();
};
