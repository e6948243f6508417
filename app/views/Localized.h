#pragma once

#include <QString>

// Every fixed label of the views is a key of the string table: the English
// label itself, except for the few keys whose text differs ("ErrorAlertTitle",
// "ConfirmLabel", "UpdateCheckLabel"). A key missing from the table shows as
// written. Labels that carry data use a key with "%1" and QString::arg.
QString localized(const char *key);

// Loads the string table compiled into the binary for the user's language,
// English when there is none for it. Call once, after the application object exists.
void installTranslations();
