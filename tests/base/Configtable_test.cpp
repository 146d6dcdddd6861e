// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Configtable.h"
#include "base/Exception.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TVXConfigTable MakeTable()
{
    return TVXConfigTable(QStringLiteral("CDS_TEST"),
                          {{QStringLiteral("NAME"), TVXFieldType::String, 5, true, {}},
                           {QStringLiteral("COUNT"), TVXFieldType::Integer, 0, false, {}},
                           {QStringLiteral("FLAG"), TVXFieldType::Boolean, 0, false, {}}},
                          QStringLiteral("NAME"));
}

} // namespace

TEST(ConfigTable, RowsAreValidatedOnEveryWrite)
{
    TVXConfigTable table = MakeTable();
    table.Append({{QStringLiteral("NAME"), QStringLiteral("one")}, {QStringLiteral("COUNT"), 3}});
    EXPECT_THROW(table.Append({{QStringLiteral("NAME"), QStringLiteral("one")}}), TVXException)
            << "the unique field refuses a second row with the same value";
    EXPECT_THROW(table.Append({{QStringLiteral("COUNT"), 1}}), TVXException)
            << "a required field must be given";
    EXPECT_THROW(table.Append({{QStringLiteral("NAME"), QStringLiteral("toolong")}}), TVXException);
    EXPECT_THROW(table.Append({{QStringLiteral("NAME"), QStringLiteral("x")},
                               {QStringLiteral("COUNT"), QStringLiteral("many")}}),
                 TVXException);
    EXPECT_EQ(table.RowCount(), 1);

    table.Append({{QStringLiteral("NAME"), QStringLiteral("two")}});
    EXPECT_THROW(table.SetValue(1, QStringLiteral("NAME"), QStringLiteral("one")), TVXException);
    EXPECT_EQ(table.Text(1, QStringLiteral("NAME")), QStringLiteral("two"))
            << "a refused write leaves the row as it was";
    EXPECT_EQ(table.Find(QStringLiteral("count"), 3), QList<int>{0}) << "field names ignore case";
}

TEST(ConfigTable, FileRoundTripKeepsTypesAndDetectsOtherLayouts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("table.bin"));
    TVXConfigTable table = MakeTable();
    table.Append({{QStringLiteral("NAME"), QStringLiteral("o'ne")},
                  {QStringLiteral("COUNT"), 7},
                  {QStringLiteral("FLAG"), true}});
    table.SaveToFile(path);

    TVXConfigTable loaded = MakeTable();
    loaded.LoadFromFile(path);
    ASSERT_EQ(loaded.RowCount(), 1);
    EXPECT_EQ(loaded.Text(0, QStringLiteral("NAME")), QStringLiteral("o'ne"));
    EXPECT_EQ(loaded.Value(0, QStringLiteral("COUNT")).toInt(), 7);
    EXPECT_TRUE(loaded.Value(0, QStringLiteral("FLAG")).toBool());
    EXPECT_EQ(loaded.FindFirst(QStringLiteral("FLAG"), true), 0);

    TVXConfigTable wider(QStringLiteral("CDS_TEST"),
                         {{QStringLiteral("NAME"), TVXFieldType::String, 10, true, {}},
                          {QStringLiteral("COUNT"), TVXFieldType::Integer, 0, false, {}},
                          {QStringLiteral("FLAG"), TVXFieldType::Boolean, 0, false, {}}});
    EXPECT_THROW(wider.LoadFromFile(path), TVXException) << "a field size changed";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 3);
    file.close();
    EXPECT_THROW(loaded.LoadFromFile(path), TVXException) << "a cut file";
    EXPECT_EQ(loaded.RowCount(), 1) << "a failed load keeps what the table held";
    EXPECT_THROW(loaded.LoadFromFile(dir.filePath(QStringLiteral("missing.bin"))), TVXException);
}
