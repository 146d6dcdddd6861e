// SPDX-License-Identifier: GPL-3.0-or-later
// The rows a search is composed from: their lists and choices, the And, Or and End rules,
// the checks of the last row and the value history the rows share.
#include "query/Queryrows.h"

#include <QComboBox>
#include <QRadioButton>

#include <gtest/gtest.h>

TEST(QueryRows, ANewRowStartsWithTheFirstAttributeAndEquals)
{
    TVXQueryRows rows(TVXQueryRows::Kind::In, nullptr);
    TVXQueryRow *first = rows.AddRow();
    EXPECT_EQ(first->objectName(), QStringLiteral("InRow1"));
    EXPECT_EQ(first->size(), QSize(618, 21));
    EXPECT_EQ(first->cbAttribute->currentText(), QStringLiteral("Systems Name"));
    EXPECT_EQ(first->AttributeChoice().TypeKey, 1);
    EXPECT_EQ(first->cbOperator->currentText(), QStringLiteral("equals"));
    EXPECT_EQ(first->OperatorChoice(), VXOperator::Equals);
    EXPECT_TRUE(first->rbEnd->isChecked());
    EXPECT_EQ(first->cbAttribute->maxVisibleItems(), 9);

    TVXQueryRow *second = rows.AddRow(4, 2, QStringLiteral("ACCT"), 2);
    EXPECT_EQ(second->objectName(), QStringLiteral("InRow2"));
    EXPECT_EQ(second->pos(), QPoint(10, 22));
    EXPECT_EQ(second->cbAttribute->currentText(), QStringLiteral("Objects Name"));
    EXPECT_EQ(second->OperatorChoice(), VXOperator::BeginsWith);
    EXPECT_EQ(second->Value(), QStringLiteral("ACCT"));
    EXPECT_TRUE(first->rbOr->isChecked()) << "previous link 2 is Or";
}

TEST(QueryRows, AndOnTheLastRowAddsOneAndEndRemovesTheRest)
{
    QStringList said;
    TVXQueryRows rows(TVXQueryRows::Kind::In, nullptr);
    rows.Say = [&said](const QString &text) { said << text; };
    TVXQueryRow *first = rows.AddRow();
    // An in row needs a value before another row may follow.
    first->rbAnd->click();
    EXPECT_EQ(rows.Count(), 1);
    EXPECT_EQ(said, QStringList{QStringLiteral("At least one character is required for Value")});
    EXPECT_TRUE(first->rbEnd->isChecked());

    first->cbValue->setEditText(QStringLiteral("BILLING"));
    first->rbAnd->click();
    ASSERT_EQ(rows.Count(), 2);
    rows.Row(1)->cbValue->setEditText(QStringLiteral("NIGHTLY"));
    rows.Row(1)->rbOr->click();
    ASSERT_EQ(rows.Count(), 3);
    // The values typed so far are offered in every row.
    QStringList offered;
    for (int i = 0; i < rows.Row(2)->cbValue->count(); ++i)
        offered << rows.Row(2)->cbValue->itemText(i);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("BILLING"), QStringLiteral("NIGHTLY")}));

    first->rbEnd->click();
    EXPECT_EQ(rows.Count(), 1);
    rows.Clear();
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows.Row(0)->Value(), QString());
}

TEST(QueryRows, FindRowsNeedAnAttributeAndAnOperatorButNoValue)
{
    QStringList said;
    TVXQueryRows rows(TVXQueryRows::Kind::Find, nullptr);
    rows.Say = [&said](const QString &text) { said << text; };
    TVXQueryRow *first = rows.AddRow();
    EXPECT_EQ(first->objectName(), QStringLiteral("FindRow1"));
    EXPECT_TRUE(rows.Check()) << "a find row may leave the value empty";
    first->cbOperator->setCurrentIndex(-1);
    EXPECT_FALSE(rows.Check());
    first->cbAttribute->setCurrentIndex(-1);
    EXPECT_FALSE(rows.Check());
    EXPECT_EQ(said, (QStringList{QStringLiteral("Operator is required"),
                                 QStringLiteral("Attribute is required")}));
}
