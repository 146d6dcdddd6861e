// SPDX-License-Identifier: GPL-3.0-or-later
// Names and paths reach the engine as bound values: a name made to end a literal early
// finds exactly the row of that name, on every driver.
#include "Repositorytestsupport.h"

#include "repository/Condition.h"
#include "repository/Dataset.h"

#include <gtest/gtest.h>

#include <memory>

class ConditionTest : public RepositoryTest
{
};

TEST_P(ConditionTest, ANameThatLooksLikeSqlFindsOnlyItsOwnRow)
{
    TVXDataAccessInterface *db = Connected();
    const QStringList names{QStringLiteral("PAYROLL"), QStringLiteral("\\' OR 1=1 --"),
                            QStringLiteral("O'BRIEN?"), QStringLiteral("C:\\SRC\\")};
    for (const QString &name : names)
        db->VXFILE_Append(20520, 1, 2, 3, QStringLiteral("/src/") + name, name, 1, 10);
    db->Commit(false, false);

    const int files = db->GetTable(QStringLiteral("VXFILE"));
    const int fileName = db->GetField(files, QStringLiteral("VXFileName"));
    for (const QString &name : names) {
        const TVXCondition thisFile
                = TVXCondition::Equals(QStringLiteral("VXDirectory"),
                                       QStringLiteral("/src/") + name)
                          .And(TVXCondition::Equals(QStringLiteral("VXFileName"), name));
        ASSERT_TRUE(db->SelectBoundBegin(files, thisFile)) << name.toStdString();
        EXPECT_EQ(db->GetFieldValue(files, fileName).toString().trimmed(), name);
        EXPECT_FALSE(db->SelectNext(files)) << name.toStdString();

        const QList<QVariantList> rows = VXSelectRows(
                db, TVXCondition(QStringLiteral("SELECT VXFileName FROM VXFILE WHERE "
                                                "UPPER(VXFileName) = ?"),
                                 {name.toUpper()}));
        ASSERT_EQ(rows.size(), 1) << name.toStdString();
        EXPECT_EQ(rows[0][0].toString().trimmed(), name);
    }
    // A bound list, and a key search after a bound selection, keep their values in order.
    const QList<QVariantList> two = VXSelectRows(
            db, TVXCondition(QStringLiteral("SELECT VXFileName FROM VXFILE WHERE "))
                        + TVXCondition::In(QStringLiteral("VXFileName"), {names[1], names[2]})
                        + QStringLiteral(" ORDER BY VXFileName"));
    EXPECT_EQ(two.size(), 2);
    ASSERT_TRUE(db->SelectBoundBegin(
            files, TVXCondition::Equals(QStringLiteral("VXSystemID"), 1)
                           .And(TVXCondition(QStringLiteral("VXFileName <> ?"), {names[0]}))));
    ASSERT_TRUE(db->GoToKey(files, QStringLiteral("VXFileName"), {names[2]}, true));
    EXPECT_EQ(db->GetFieldValue(files, fileName).toString().trimmed(), names[2]);
    EXPECT_FALSE(db->GoToKey(files, QStringLiteral("VXFileName"), {names[0]}, true))
            << "the key search keeps the selection's own condition";
}

TEST(Condition, InlinedValuesAreLiteralsInTheirPlaces)
{
    const TVXCondition condition
            = TVXCondition::Equals(QStringLiteral("VXWord"), QStringLiteral("IT'S"))
                      .And(TVXCondition(QStringLiteral("VXNote <> '?'")))
                      .And(TVXCondition::Equals(QStringLiteral("VXFileID"), 7));
    EXPECT_EQ(condition.Inlined(),
              QStringLiteral("VXWord = 'IT''S' AND VXNote <> '?' AND VXFileID = 7"));
    EXPECT_EQ(condition.Values().size(), 2);
    EXPECT_TRUE(TVXCondition().And(condition).Text() == condition.Text());
}

INSTANTIATE_TEST_SUITE_P(Drivers, ConditionTest, ::testing::ValuesIn(DriverCases()),
                         DriverCaseName);
