// SPDX-License-Identifier: GPL-3.0-or-later
// An error's message reads like a path to its cause: every operation on the way names
// itself once.
#include "base/Exception.h"

#include <gtest/gtest.h>

TEST(Exception, EachOperationOnTheWayNamesItselfOnce)
{
    const TVXException raised = TVXException::Raised(QStringLiteral("TVXODBCDB.Open"),
                                                     QStringLiteral("no such table VXWORD"));
    EXPECT_EQ(raised.Message(), QStringLiteral("TVXODBCDB.Open: no such table VXWORD"));

    // An outer operation of the same object passes the failure on as it is...
    const TVXException same = TVXException::Wrapped(QStringLiteral("TVXODBCDB.SelectBegin"), raised,
                                                    QStringLiteral("VXFileID = 1 "));
    EXPECT_EQ(same.Message(), raised.Message());
    // ...another object puts its name in front, once, also when it wraps again.
    const TVXException outer
            = TVXException::Wrapped(QStringLiteral("TVXLoadPipeline.LoadDB"), same);
    EXPECT_EQ(outer.Message(),
              QStringLiteral("TVXLoadPipeline.LoadDB: TVXODBCDB.Open: no such table VXWORD"));
    EXPECT_EQ(TVXException::Wrapped(QStringLiteral("TVXLoadPipeline.ScanFolders"), outer).Message(),
              outer.Message());

    // A plain failure gets the name and the detail.
    const TVXException plain(QStringLiteral("disk full"));
    EXPECT_EQ(TVXException::Wrapped(QStringLiteral("TVXInMemoryDB.Delete"), plain,
                                    QStringLiteral("VXFileID = 3: "))
                      .Message(),
              QStringLiteral("TVXInMemoryDB.Delete: VXFileID = 3: disk full"));
    EXPECT_STREQ(plain.what(), "disk full");
}
