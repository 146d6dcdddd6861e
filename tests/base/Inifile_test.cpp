// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Inifile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString ReadAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

} // namespace

TEST(IniFile, ValuesAreVerbatimAndNamesIgnoreCase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.vnq"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; a comment\n[Query]\nFind=MOVE, \"CUST\" \\ x\nCount = 3 \n[Other]\nFind=no\n");
    file.close();

    TVXIniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("query"), QStringLiteral("FIND")),
              QStringLiteral("MOVE, \"CUST\" \\ x"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Query"), QStringLiteral("Count")),
              QStringLiteral("3"));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Query"), QStringLiteral("Missing")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Nowhere"), QStringLiteral("Find")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Other"), QStringLiteral("Find")),
              QStringLiteral("no"));

    ini.WriteString(QStringLiteral("Query"), QStringLiteral("Count"), QStringLiteral("4"));
    ini.WriteString(QStringLiteral("Query"), QStringLiteral("New"), QStringLiteral("a=b"));
    ini.WriteString(QStringLiteral("Third"), QStringLiteral("K"), QStringLiteral("v"));
    ini.Save();
    EXPECT_EQ(ReadAll(path),
              QStringLiteral("; a comment\n[Query]\nFind=MOVE, \"CUST\" \\ x\nCount=4\n"
                             "New=a=b\n[Other]\nFind=no\n\n[Third]\nK=v\n"));
    EXPECT_EQ(TVXIniFile(path).ReadString(QStringLiteral("Query"), QStringLiteral("New")),
              QStringLiteral("a=b"));
}

TEST(IniFile, MissingFileReadsEmpty)
{
    TVXIniFile ini(QStringLiteral("/nonexistent/folder/VN.ini"));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("APPLICATION"), QStringLiteral("BPLPATH")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("APPLICATION"), QStringLiteral("BPLPATH"),
                             QStringLiteral("x")),
              QStringLiteral("x"));
}
