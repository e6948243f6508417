#include "LibrarySchema.h"

#include "Paper.h"
#include "PaperList.h"

namespace LibrarySchema {

Schema schema()
{
    return Schema({&Paper::entityDescription(), &PaperList::entityDescription()}, QStringLiteral("1.0.0"));
}

ModelConfiguration configuration(const QString &folder)
{
    return ModelConfiguration(QStringLiteral("LocalStore"), folder, true);
}

} // namespace LibrarySchema
