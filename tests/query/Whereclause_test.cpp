// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Whereclause.h"

#include <gtest/gtest.h>

TEST(WhereClause, PartsAreAddedAndTheSettersAddressTheLastOne)
{
    TVXWhereClause clause;
    EXPECT_EQ(clause.Count(), 0);
    clause.Add(true, 1, 2, 1012);
    clause.Add(false, 3, 4, 0);
    clause.Add(true, 5, 6, -1);
    clause.SetOperator(VXOperator::Contains);
    clause.SetValueString(QStringLiteral("O'BRIEN"));
    clause.SetValueInteger(7);
    ASSERT_EQ(clause.Count(), 3);
    EXPECT_EQ(clause.GetOperator(0), VXOperator::None);
    EXPECT_EQ(clause.GetOperator(1), VXOperator::None);
    EXPECT_EQ(clause.GetOperator(2), VXOperator::Contains);
    EXPECT_FALSE(clause.GetAnd_Previous(1));
    EXPECT_EQ(clause.GetTable(1), 3);
    EXPECT_EQ(clause.GetField(1), 4);
    EXPECT_EQ(clause.GetTypeKey(2), -1);
    EXPECT_EQ(clause.GetValueInteger(2), 7);
    // Quotes are doubled for the SQL, every time, without changing the stored value.
    EXPECT_EQ(clause.GetValueString(2), QStringLiteral("O''BRIEN"));
    EXPECT_EQ(clause.GetValueString(2), QStringLiteral("O''BRIEN"));
    EXPECT_EQ(clause.GetValueString(0), QString());
    clause.Clear();
    EXPECT_EQ(clause.Count(), 0);
}

TEST(WhereClause, CompareStringAppliesTheOperator)
{
    TVXWhereClause clause;
    auto compare = [&](TOperator op, const char *value, const char *text, bool caseSensitive) {
        clause.Clear();
        clause.Add(true, 0, 0, 0);
        clause.SetOperator(op);
        clause.SetValueString(QLatin1String(value));
        return clause.CompareString(0, QLatin1String(text), caseSensitive);
    };
    EXPECT_TRUE(compare(VXOperator::None, "X", "anything", true));
    EXPECT_TRUE(compare(VXOperator::Equals, "Move", "MOVE", false));
    EXPECT_FALSE(compare(VXOperator::Equals, "Move", "MOVE", true));
    EXPECT_TRUE(compare(VXOperator::Contains, "ST-I", "CUST-ID", true));
    EXPECT_TRUE(compare(VXOperator::BeginsWith, "", "CUST-ID", true));
    EXPECT_FALSE(compare(VXOperator::EndsWith, "LONGER-THAN-TEXT", "ID", true));
    EXPECT_TRUE(compare(VXOperator::EndsWith, "-id", "CUST-ID", false));
    EXPECT_TRUE(compare(VXOperator::NotEquals, "A", "B", true));
    EXPECT_FALSE(compare(99, "A", "A", true));
}
