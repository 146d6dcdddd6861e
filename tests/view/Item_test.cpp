// SPDX-License-Identifier: GPL-3.0-or-later
// What a tree node stands for: the kind its keys give, its identifier, the lists that
// selections travel in.
#include "base/Item.h"

#include <gtest/gtest.h>

TEST(Item, KindsFollowTheKeysThatAreSetGroupingFirst)
{
    EXPECT_EQ(TVXItem().KindName(), QStringLiteral("Unsupported Itemtype"));
    EXPECT_EQ(TVXItem(12, 0, 0, 0, 0, 0, 0, 0, 0).KindName(),
              QStringLiteral("Unsupported Itemtype"))
            << "a file node has no kind of its own";
    EXPECT_EQ(TVXItem(12, 0, 0, 0, 0, 0, 0, 0, 0).ItemKind(), TVXItem::Kind::File);
    EXPECT_EQ(TVXItem(12, 3, 0, 0, 0, 0, 0, 0, 0).KindName(), QStringLiteral("System"));
    EXPECT_EQ(TVXItem(0, 0, 4, 5, 0, 0, 0, 0, 0).KindName(), QStringLiteral("Computer"));
    EXPECT_EQ(TVXItem(0, 0, 0, 5, 0, 0, 0, 0, 0).KindName(), QStringLiteral("Application"));
    EXPECT_EQ(TVXItem(12, 0, 0, 0, 0, 3, 7, 9, 11).KindName(), QStringLiteral("Variable"));
    EXPECT_EQ(TVXItem(12, 0, 0, 0, 0, 3, 7, 9, 0).KindName(), QStringLiteral("Line of Code"));
    EXPECT_EQ(TVXItem(12, 0, 0, 0, 0, 3, 7, 0, 0).KindName(), QStringLiteral("Entry"));
    EXPECT_EQ(TVXItem(12, 0, 0, 0, 0, 3, 0, 0, 0).KindName(), QStringLiteral("Object"));
    EXPECT_EQ(TVXItem(12, 0, 0, 0, 2, 0, 0, 0, 0).KindName(), QStringLiteral("Package"));
}

TEST(Item, IdentifiersNameEveryKeyAndReadBack)
{
    const TVXItem entry(12, 0, 0, 0, 0, 3, 7, 0, 0);
    EXPECT_EQ(entry.GetItemID(), QStringLiteral("12:0:0:0:0:3:7:0:0"));
    EXPECT_NE(TVXItem(12, 0, 0, 0, 0, 3, 7, 1000, 0).GetItemID(),
              TVXItem(12, 0, 0, 0, 0, 3, 7, 2000, 0).GetItemID());
    TVXItem read;
    ASSERT_TRUE(TVXItem::FromItemID(entry.GetItemID(), read));
    EXPECT_EQ(read, entry);
    EXPECT_FALSE(TVXItem::FromItemID(QStringLiteral("12:0:0"), read));
    EXPECT_FALSE(TVXItem::FromItemID(QStringLiteral("12:0:0:0:0:3:x:0:0"), read));

    const TVXDataItem data(QStringLiteral("WS-A"), QStringLiteral("PIC X"), 1, 2, 3, 12, 1000, 2000,
                           3000, 4000, 5);
    EXPECT_EQ(data.ToItem().GetItemID(), QStringLiteral("12:0:0:0:0:1000:2000:3000:4000"));
}

TEST(Item, ListsKeepTheirEntriesInStep)
{
    TVXItems items;
    EXPECT_EQ(items.Count(), 0);
    items.AddItem(1, 0, 0, 0, 0, 1000, 0, 0, 0);
    items.AddLevel(2);
    items.AddText(QStringLiteral("BILL000 [PROGRAM-ID]"));
    items.AddParentText(QStringLiteral("BILL000.cbl"));
    items.AddParentFileID(1);
    items.AddIcon(18);
    ASSERT_EQ(items.Count(), 1);
    EXPECT_EQ(items.GetItem(0).ObjectID, 1000);
    EXPECT_EQ(items.GetLevel(0), 2);
    EXPECT_EQ(items.GetText(0), QStringLiteral("BILL000 [PROGRAM-ID]"));
    EXPECT_EQ(items.GetParentText(0), QStringLiteral("BILL000.cbl"));
    EXPECT_EQ(items.GetIcon(0), 18);
}
