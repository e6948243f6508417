#pragma once

#include "ModelConfiguration.h"
#include "Schema.h"

// The stored layout of the library: papers and lists, version 1.0.0.
//
// How the pieces fit:
//   ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration());   // throws BrivetError
//   ModelContext &context = container.mainContext();
//   context.fetchCount(Paper::withId(id));                 // also fetch<Paper>(...)
//   ModelQuery lists(context, PaperList::entityDescription());
//   lists.resultsAs<PaperList>();                           // creation order; lists.changed() on any change
//
// Relationship getters return an optional list by value: iterate a copy
// (`const auto papers = list->papers().value_or(QList<Paper *>{});`), never
// `*list->papers()` inside a range-for, whose temporary dies first.
namespace LibrarySchema {

Schema schema();
// The one on-disk store, "LocalStore", saving allowed; an empty folder means
// the application's data folder.
ModelConfiguration configuration(const QString &folder = {});

} // namespace LibrarySchema
