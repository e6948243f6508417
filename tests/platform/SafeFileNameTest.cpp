#include "SafeFileName.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SafeFileName, OrdinaryIdentifiersStayReadable)
{
    EXPECT_EQ(SafeFileName::fromText("2201.13452v1"), "2201.13452v1");
    EXPECT_EQ(SafeFileName::fromText("2019ApJ...871..123S"), "2019ApJ...871..123S");
    EXPECT_EQ(SafeFileName::fromText("hep-th/9901001v1"), "hep-th%2F9901001v1");
}

TEST(SafeFileName, HostileTextsStayInsideTheirFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList hostile = {"../x", "../../etc/passwd", "/etc/passwd", "..", ".", "",
                                 ".hidden", QString("a") + QChar(0) + "b", "a/../../b", "%2F", "~/x"};
    for (const QString &text : hostile) {
        const QString name = SafeFileName::fromText(text) + ".pdf";
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(name.contains(u'/'));
        EXPECT_FALSE(name.contains(QChar(0)));
        EXPECT_FALSE(name.startsWith(u'.'));
        const QString path = QDir(dir.path()).filePath(name);
        EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    }
}

TEST(SafeFileName, DistinctTextsNeverShareAName)
{
    const QStringList texts = {"a/b", "a%2Fb", "a%252Fb", ".x", "%2Ex", "x", "", "%", "%25", "/", "%2F"};
    QSet<QString> names;
    for (const QString &text : texts)
        names.insert(SafeFileName::fromText(text));
    EXPECT_EQ(names.size(), texts.size());
}
