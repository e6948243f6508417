#include "Localized.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

TEST(Localized, KeysWithTextsOfTheirOwnAndKeysShownAsWritten)
{
    EXPECT_EQ(localized("ErrorAlertTitle"), "Error");
    EXPECT_EQ(localized("ConfirmLabel"), "OK");
    EXPECT_EQ(localized("UpdateCheckLabel"), QString::fromUtf8("Check for Updates…"));
    EXPECT_EQ(localized("Brivet"), "Brivet");
    EXPECT_EQ(localized("Search %1").arg("ADS"), "Search ADS");
    EXPECT_EQ(localized("A key nobody wrote down"), "A key nobody wrote down");
}

// Every key the code looks up is in the English table, so a translator sees them all.
TEST(Localized, TheEnglishTableHoldsEveryKeyOfTheCode)
{
    QFile ts(QStringLiteral(BRIVET_SOURCE_DIR "/resources/translations/brivet_en.ts"));
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    QSet<QString> table;
    QXmlStreamReader xml(&ts);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("source"))
            table << xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    static const QRegularExpression use(R"re(localized\(\s*"((?:[^"\\]|\\.)*)")re");
    QDirIterator files(QStringLiteral(BRIVET_SOURCE_DIR "/app"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    int keys = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (const auto &match : use.globalMatch(QString::fromUtf8(file.readAll()))) {
            ++keys;
            EXPECT_TRUE(table.contains(match.captured(1)))
                << match.captured(1).toStdString() << " of " << path.toStdString();
        }
    }
    EXPECT_GT(keys, 10);
}
