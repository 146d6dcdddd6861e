// SPDX-License-Identifier: GPL-3.0-or-later
// Free queries, their owners, the query thread, and two connections to one file.
#include "Repositorytestsupport.h"

#include <QThread>

#include <memory>

using namespace VXTest;

class QueryTest : public RepositoryTest
{
protected:
    TVXDataAccessInterface *Filled()
    {
        TVXDataAccessInterface *db = Connected();
        for (int i = 1; i <= 5; ++i)
            db->VXWORD_Append(1, 0, 0, i * 1000, 1000, 1, 1, 0, QStringLiteral("WORD%1").arg(i),
                              1012, {});
        db->Commit(true, false);
        return db;
    }
};

TEST_P(QueryTest, GetQueryReturnsADatasetTheCallerOwns)
{
    TVXDataAccessInterface *db = Filled();
    const QStringList sql
            = {QStringLiteral("SELECT VXRowID, VXWord FROM VXWORD W"),
               QStringLiteral("WHERE VXWordType = 1012"),
               QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID")};
    std::unique_ptr<TVXDataset> bidirectional(db->GetQuery(nullptr, sql, true));
    ASSERT_NE(bidirectional, nullptr);
    EXPECT_FALSE(bidirectional->Eof());
    EXPECT_EQ(bidirectional->FieldName(1), QStringLiteral("VXWORD"));
    EXPECT_EQ(bidirectional->Value(QStringLiteral("vxword")).toString(), QStringLiteral("WORD1"));
    ASSERT_TRUE(bidirectional->Last());
    EXPECT_EQ(bidirectional->RecNo(), 5);
    EXPECT_TRUE(bidirectional->First());
    EXPECT_EQ(bidirectional->RecNo(), 1);
    EXPECT_TRUE(bidirectional->Next());
    EXPECT_EQ(bidirectional->Value(0).toInt(), 2000);

    std::unique_ptr<TVXDataset> forward(db->GetQuery(nullptr, sql, false));
    int rows = 0;
    for (; !forward->Eof(); forward->Next())
        ++rows;
    EXPECT_EQ(rows, 5);

    QObject owner;
    QPointer<TVXDataset> owned = db->GetQuery(&owner, sql, false);
    ASSERT_FALSE(owned.isNull());
    EXPECT_EQ(owned->parent(), &owner);
    delete owned.data();
    EXPECT_TRUE(owned.isNull());

    std::unique_ptr<TVXDataset> empty(db->GetQuery(
            nullptr, {QStringLiteral("SELECT VXWord FROM VXWORD WHERE VXFileID = 0")}, true));
    EXPECT_TRUE(empty->Eof());
    EXPECT_FALSE(empty->Last());
}

TEST_P(QueryTest, GetQueryFromAWorkerThread)
{
    TVXDataAccessInterface *db = Filled();
    QStringList words;
    QString failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            std::unique_ptr<TVXDataset> result(db->GetQuery(
                    nullptr, {QStringLiteral("SELECT VXWord FROM VXWORD ORDER BY VXRowID")},
                    false));
            for (; !result->Eof(); result->Next())
                words << result->Value(0).toString();
        } catch (const std::exception &e) {
            failure = QString::fromUtf8(e.what());
        }
    }));
    worker->start();
    ASSERT_TRUE(worker->wait(60000));
    EXPECT_EQ(failure, QString());
    EXPECT_EQ(words.size(), 5);
    EXPECT_EQ(words.value(4), QStringLiteral("WORD5"));
    // The driver's own connection still works afterwards, and closes cleanly.
    EXPECT_EQ(db->GetCount(db->GetTable(QStringLiteral("VXWORD"))), 5);
    EXPECT_EQ(db->DisConnect(), 0);
}

INSTANTIATE_TEST_SUITE_P(Drivers, QueryTest, ::testing::ValuesIn(DriverCases()), DriverCaseName);

class SqliteSharingTest : public RepositoryTest
{
};

TEST_P(SqliteSharingTest, AViewReadsWhileALoadWrites)
{
    TVXDataAccessInterface *load = Connected();
    load->VXATTRIBUTE_Append(1, QStringLiteral("Committed"));
    load->Commit(true, false);
    // A second writer that connects now reads its counters before the load's next commit.
    TVXDataAccessInterface *other = Connected();
    load->VXATTRIBUTE_Append(1, QStringLiteral("Pending"));
    for (int i = 0; i < 2000; ++i)
        load->VXWORD_Append(1, 0, 0, 1000 + i, 1000, 1, 1, 0, QStringLiteral("w"), 0, {});

    // A second connection, as a View in another process would have, is not blocked by the
    // open write transaction and sees only what was committed.
    TVXDataAccessInterface *view = Connected();
    EXPECT_EQ(Column(view, QStringLiteral("VXATTRIBUTE"), {}, QStringLiteral("VXAttributeName")),
              QStringList{QStringLiteral("Committed")});
    EXPECT_EQ(view->GetCount(view->GetTable(QStringLiteral("VXWORD"))), 0);
    load->Commit(true, false);
    EXPECT_EQ(view->GetCount(view->GetTable(QStringLiteral("VXWORD"))), 2000);

    // Ids handed out by the load since the other writer connected are not handed out again.
    other->VXATTRIBUTE_Append(1, QStringLiteral("From another process"));
    other->Commit(true, false);
    EXPECT_EQ(other->LastAttributeID(), 3);
    load->VXATTRIBUTE_Append(1, QStringLiteral("Pending again"));
    load->Commit(true, false);
    EXPECT_EQ(load->LastAttributeID(), 4);
    EXPECT_EQ(load->GetCount(load->GetTable(QStringLiteral("VXATTRIBUTE"))), 4);
}

// A parse commits retaining every few rows; SQLite writes out its pages at each commit, so
// such commits are joined for a second. A plain commit always goes through.
TEST_P(SqliteSharingTest, RetainingCommitsAreJoinedForASecond)
{
    TVXDataAccessInterface *load = Connected();
    TVXDataAccessInterface *view = Connected();
    const int words = view->GetTable(QStringLiteral("VXWORD"));
    load->VXWORD_Append(1, 0, 0, 1000, 1000, 1, 1, 0, QStringLiteral("first"), 0, {});
    load->Commit(false, true);
    EXPECT_EQ(view->GetCount(words), 0);
    QThread::msleep(1100);
    load->VXWORD_Append(1, 0, 0, 2000, 1000, 1, 1, 0, QStringLiteral("second"), 0, {});
    load->Commit(false, true);
    EXPECT_EQ(view->GetCount(words), 2);
    load->VXWORD_Append(1, 0, 0, 3000, 1000, 1, 1, 0, QStringLiteral("third"), 0, {});
    load->Commit(false, false);
    EXPECT_EQ(view->GetCount(words), 3);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, SqliteSharingTest, ::testing::Values(DriverCases().front()),
                         DriverCaseName);
