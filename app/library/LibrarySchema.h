#pragma once

#include "ModelConfiguration.h"
#include "Schema.h"

// The stored layout of the library: papers and lists, version 1.0.0.
namespace LibrarySchema {

Schema schema();
// The one on-disk store, "LocalStore", saving allowed; an empty folder means
// the application's data folder.
ModelConfiguration configuration(const QString &folder = {});

} // namespace LibrarySchema
