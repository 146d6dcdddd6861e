// SPDX-License-Identifier: GPL-3.0-or-later
// Reading sources: encodings, line ends and refused files.
#include "base/Exception.h"

#include "parsing/Sourcereader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList ReadAll(const QByteArray &content, bool *utf8 = nullptr)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("source.txt"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    TVXSourceReader reader(path);
    QStringList rows;
    QString row;
    while (reader.ReadRow(row))
        rows << row;
    if (utf8)
        *utf8 = reader.IsUtf8();
    return rows;
}

TEST(SourceReader, LineEndsAndTheLastRowWithoutOne)
{
    EXPECT_EQ(ReadAll("a\r\nb\nc"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(ReadAll("a\n\nb\n"), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(ReadAll("").isEmpty());
}

TEST(SourceReader, Utf8WhenValidElseWindows1252)
{
    bool utf8 = false;
    EXPECT_EQ(ReadAll("K\xc3\x9cNDE \xe2\x82\xac", &utf8),
              (QStringList{QString::fromUtf8("KÜNDE €")}));
    EXPECT_TRUE(utf8);
    EXPECT_EQ(ReadAll("K\xdcNDE \x80 \x9f", &utf8), (QStringList{QString::fromUtf8("KÜNDE € Ÿ")}));
    EXPECT_FALSE(utf8);
}

TEST(SourceReader, BinaryAndMissingFilesAreRefusedByName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("it's binary.obj"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("MZ\x00\x01", 4));
    file.close();
    try {
        TVXSourceReader reader(path);
        FAIL();
    } catch (const TVXException &e) {
        EXPECT_TRUE(VXMessage(e).contains(QStringLiteral("it's binary.obj")))
                << VXMessage(e).toStdString();
    }
    EXPECT_THROW(TVXSourceReader(dir.filePath(QStringLiteral("missing.cbl"))), TVXException);
}

} // namespace
