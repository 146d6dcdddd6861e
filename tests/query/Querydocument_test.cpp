// SPDX-License-Identifier: GPL-3.0-or-later
// Query documents on disk: the lines in their order, counts as last indices, the result and
// the track, and documents that are broken.
#include "Testsupport.h"

#include "query/window/Querydocument.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TVXQueryDocument Sample()
{
    TVXQueryDocument document;
    document.Title = QStringLiteral("Moves");
    document.ComposedBy = QStringLiteral("Analyst");
    document.Comments = QStringLiteral("who moves, and where");
    document.SourceDatabase = QStringLiteral("VN_FirstDataBase");
    document.FindRows
            = {{false, 1, 0, QStringLiteral("MOVE")}, {false, 2, 1, QStringLiteral("A,B")}};
    document.InRows = {{false, 4, 0, QStringLiteral("CUST010")}};
    document.SqlLines = {QStringLiteral("SELECT COUNT(*) FROM VXFILE"), QStringLiteral("-- done")};
    document.CaseSensitive = true;
    document.CountHits = false;
    document.HasResult = true;
    document.HiddenColumns = {QStringLiteral("Language"), QStringLiteral("QRFileID")};
    document.ResultRows = {{QStringLiteral("BILLING"), QString(), QStringLiteral("1")}};
    document.HasTrack = true;
    document.InCaption = QStringLiteral(" In Entry Track A - B Sequentially: ");
    document.OrderLabel = QStringLiteral("Order by: Statement");
    document.IncludeRules = true;
    document.TrackItems = {{QStringLiteral("1:0:0:0:0:1000:2000:0:0"), QStringLiteral("A"), 2,
                            QStringLiteral("PROG")}};
    return document;
}

} // namespace

TEST(QueryDocument, LinesComeInTheirOrderEndedByLineFeedThenCarriageReturn)
{
    const QByteArray bytes = Sample().Write();
    EXPECT_TRUE(bytes.endsWith("\n\r"));
    const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\n\r"));
    const QStringList expected{QStringLiteral("Moves"),
                               QStringLiteral("Analyst"),
                               QStringLiteral("who moves, and where"),
                               QStringLiteral("VN_FirstDataBase"),
                               QStringLiteral("Statements"),
                               QStringLiteral("1"),
                               QStringLiteral("0,1,0,MOVE"),
                               QStringLiteral("0,2,1,A,B"),
                               QStringLiteral("0"),
                               QStringLiteral("0,4,0,CUST010"),
                               QStringLiteral("1"),
                               QStringLiteral("SELECT COUNT(*) FROM VXFILE"),
                               QStringLiteral("-- done"),
                               QStringLiteral("-1"),
                               QStringLiteral("0"),
                               QStringLiteral("-1"),
                               QStringLiteral("Language\tQRFileID"),
                               QStringLiteral("BILLING\t\t1\t"),
                               QStringLiteral("  TrackItems  "),
                               QStringLiteral(" In Entry Track A - B Sequentially: "),
                               QStringLiteral("Order by: Statement"),
                               QStringLiteral("-1"),
                               QStringLiteral("0"),
                               QStringLiteral("1:0:0:0:0:1000:2000:0:0"),
                               QStringLiteral("A"),
                               QStringLiteral("2"),
                               QStringLiteral("PROG"),
                               QString()};
    EXPECT_EQ(lines, expected);

    const TVXQueryDocument back = TVXQueryDocument::Read(bytes);
    EXPECT_EQ(back.Write(), bytes);
    EXPECT_EQ(back.FindRows[1].Value, QStringLiteral("A,B")) << "the value keeps its comma";
    EXPECT_EQ(back.ResultRows.first(),
              (QStringList{QStringLiteral("BILLING"), QString(), QStringLiteral("1")}));
    EXPECT_EQ(back.TrackItems.first().Level, 2);
}

TEST(QueryDocument, NoRowsNoResultAndNoTrackWriteMinusOne)
{
    TVXQueryDocument document;
    document.StatementsPage = false;
    const QByteArray bytes = document.Write();
    EXPECT_EQ(bytes, QByteArray("\n\r\n\r\n\r\n\rSQLReport\n\r-1\n\r-1\n\r-1\n\r0\n\r-1\n\r0\n\r"));
    const TVXQueryDocument back = TVXQueryDocument::Read(bytes);
    EXPECT_TRUE(back.FindRows.isEmpty());
    EXPECT_FALSE(back.StatementsPage);
    EXPECT_FALSE(back.HasResult);
    EXPECT_FALSE(back.HasTrack);
}

TEST(QueryDocument, ABrokenDocumentNamesTheLineAndTheFile)
{
    QByteArray bytes = Sample().Write();
    bytes.replace("0,2,1,A,B", "0,two,1,A");
    try {
        TVXQueryDocument::Read(bytes);
        FAIL() << "a row without an attribute number was read";
    } catch (const std::exception &e) {
        EXPECT_TRUE(VXMessage(e).contains(QLatin1String("line 8 (find rows)")))
                << VXMessage(e).toStdString();
    }
    VXTest::Home home;
    const QString cut = home.File(QStringLiteral("cut.vnq"));
    QFile file(cut);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Sample().Write().left(40));
    file.close();
    try {
        TVXQueryDocument::Open(cut);
        FAIL() << "a cut document was read";
    } catch (const std::exception &e) {
        EXPECT_TRUE(VXMessage(e).contains(cut)) << VXMessage(e).toStdString();
        EXPECT_TRUE(VXMessage(e).contains(QLatin1String("ends before it")));
    }
    EXPECT_THROW(TVXQueryDocument::Open(home.File(QStringLiteral("missing.vnq"))), std::exception);
}
