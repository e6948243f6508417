#pragma once

#include <QFile>
#include <gtest/gtest.h>

// The bytes of a recorded answer, by its path under the real-data folder ("arxiv/x.xml").
inline QByteArray realData(const QString &path)
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/") + path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}
