// SPDX-License-Identifier: GPL-3.0-or-later
// A connection lease ends its connection on every way out of its scope, and the named
// reading queries count what a repository holds, on every driver.
#include "Repositorytestsupport.h"
#include "base/Exception.h"

#include "repository/Connection.h"
#include "repository/Repositoryqueries.h"

#include <gtest/gtest.h>

class ConnectionTest : public RepositoryTest
{
};

TEST_P(ConnectionTest, ALeaseEndsItsConnectionAlsoWhenAnErrorLeavesTheScope)
{
    TVXDataAccessInterface *db = NewDriver();
    try {
        TVXConnection lease(db);
        db->Connect(Connection());
        ASSERT_EQ(db->ConnectionCount(), 1);
        db->GetQuery(nullptr, {QStringLiteral("SELECT nothing FROM nowhere")}, false);
        FAIL() << "a statement over a missing table ran";
    } catch (const TVXException &) {
    }
    EXPECT_EQ(db->ConnectionCount(), 0);

    // A lease moved on keeps one connection; the one it came from closes nothing.
    db->Connect(Connection());
    {
        TVXConnection first(db);
        TVXConnection second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(db->ConnectionCount(), 1);
    }
    EXPECT_EQ(db->ConnectionCount(), 0);
}

TEST_P(ConnectionTest, TheCountsNameWhatTheRepositoryHolds)
{
    TVXConnection db(Connected());
    const TVXRepositoryCounts empty = VXRepositoryQueries::Counts(db.get());
    EXPECT_EQ(empty.Files, 0);
    EXPECT_EQ(empty.Words, 0);
    EXPECT_TRUE(empty.ObjectsByType.isEmpty());

    db->VXFILE_Append(20520, 1, 2, 3, QStringLiteral("/src"), QStringLiteral("PAY001.cbl"), 1, 10);
    db->VXOBJECT_Append(1, 1000, 20520, false, QStringLiteral("PAY001"), QStringLiteral("PAY001"),
                        {}, QStringLiteral("PROGRAM"), 18, {}, {}, {}, 0, 0, 0);
    db->VXOBJECT_Append(1, 2000, 20520, false, QStringLiteral("PAYREC"), QStringLiteral("PAYREC"),
                        {}, QStringLiteral("COPY"), 52, {}, {}, {}, 0, 0, 0);
    db->Commit(false, false);
    const TVXRepositoryCounts counts = VXRepositoryQueries::Counts(db.get());
    EXPECT_EQ(counts.Files, 1);
    EXPECT_EQ(counts.Objects, 2);
    ASSERT_EQ(counts.ObjectsByType.size(), 2);
    EXPECT_EQ(counts.ObjectsByType[0].first.trimmed(), QStringLiteral("COPY"));
    EXPECT_EQ(counts.ObjectsByType[1].second, 1);
    EXPECT_TRUE(VXRepositoryQueries::DeclaredObjectIdentifiers(db.get()).contains(
            QStringLiteral("PAYREC")));
}

INSTANTIATE_TEST_SUITE_P(Drivers, ConnectionTest, ::testing::ValuesIn(DriverCases()),
                         DriverCaseName);
