#include "Localized.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

QString localized(const char *key)
{
    return QCoreApplication::translate("Brivet", key);
}

void installTranslations()
{
    static QTranslator *translator = nullptr;
    if (translator)
        return;
    translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(), QStringLiteral("brivet"), QStringLiteral("_"), QStringLiteral(":/i18n"))
        || translator->load(QStringLiteral(":/i18n/brivet_en.qm")))
        QCoreApplication::installTranslator(translator);
}
