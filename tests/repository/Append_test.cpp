// SPDX-License-Identifier: GPL-3.0-or-later
// Typed appends, id counters, commits and deleting a file's results, on every driver.
#include "Repositorytestsupport.h"

#include "repository/Condition.h"

using namespace VXTest;

class AppendTest : public RepositoryTest
{
};

TEST_P(AppendTest, KnownFilesAreUpdatedAndChangedOnesMarkedForReload)
{
    TVXDataAccessInterface *db = Connected();
    const int files = db->GetTable(QStringLiteral("VXFILE"));
    const int id = db->GetField(files, QStringLiteral("VXFileID"));
    const int loadTime = db->GetField(files, QStringLiteral("VXLoadTime"));
    const int system = db->GetField(files, QStringLiteral("VXSystemID"));

    db->VXFILE_Append(20520, 1, 2, 3, QStringLiteral("/src/cobol"), QStringLiteral("PAY01.cbl"),
                      100, 5000);
    EXPECT_EQ(db->GetFieldValue(files, id).toInt(), 1) << "the new file's row is current";
    EXPECT_EQ(db->GetFieldValue(files, loadTime).toLongLong(), 0);
    EXPECT_EQ(db->GetFieldValue(files, db->GetField(files, QStringLiteral("VXDependencyChecked")))
                      .toString(),
              QString());
    db->VXFILE_Append(20520, 1, 2, 3, QStringLiteral("/src/cobol"), QStringLiteral("PAY02.cbl"),
                      100, 5000);
    EXPECT_EQ(db->GetFieldValue(files, id).toInt(), 2);
    db->SetFieldValue(files, loadTime, 424242);
    db->Commit(true, false);

    // Same time and size: only the attributes change, the load time stays.
    db->VXFILE_Append(20520, 7, 8, 9, QStringLiteral("/src/cobol"), QStringLiteral("PAY02.cbl"),
                      100, 5000);
    EXPECT_EQ(db->GetFieldValue(files, id).toInt(), 2);
    EXPECT_EQ(db->GetFieldValue(files, loadTime).toLongLong(), 424242);
    EXPECT_EQ(db->GetFieldValue(files, system).toInt(), 7);
    // A new size: reload.
    db->VXFILE_Append(20520, 7, 8, 9, QStringLiteral("/src/cobol"), QStringLiteral("PAY02.cbl"),
                      100, 5001);
    EXPECT_EQ(db->GetFieldValue(files, loadTime).toLongLong(), 0);
    EXPECT_EQ(db->GetFieldValue(files, db->GetField(files, QStringLiteral("VXFileSize")))
                      .toLongLong(),
              5001);
    db->Commit(true, false);
    EXPECT_EQ(db->GetCount(files), 2);
    EXPECT_EQ(db->LastFileID(), 2);
}

TEST_P(AppendTest, PathsWithQuotesAndOfAnyLengthRoundTrip)
{
    TVXDataAccessInterface *db = Connected();
    const QString quoted = QStringLiteral("/home/o'neil/src's");
    const QString longDirectory = QStringLiteral("/portfolio/") + QString(300, QLatin1Char('d'));
    const QString longName = QString(200, QLatin1Char('n')) + QStringLiteral(".cbl");
    const qint64 after2038 = Q_INT64_C(4102444800); // 2100-01-01
    db->VXFILE_Append(20520, 1, 1, 1, quoted, QStringLiteral("it's.cbl"), after2038, 1);
    db->VXFILE_Append(20520, 1, 1, 1, longDirectory, longName, 1, 1);
    db->Commit(true, false);
    db->VXFILE_Append(20520, 1, 1, 1, quoted, QStringLiteral("it's.cbl"), after2038, 1);
    db->VXFILE_Append(20520, 1, 1, 1, longDirectory, longName, 1, 1);
    db->Commit(true, false);

    const int files = db->GetTable(QStringLiteral("VXFILE"));
    EXPECT_EQ(db->GetCount(files), 2) << "both were found again, not added twice";
    EXPECT_EQ(Column(db, QStringLiteral("VXFILE"), {}, QStringLiteral("VXDirectory")),
              (QStringList{quoted, longDirectory}));
    EXPECT_EQ(Column(db, QStringLiteral("VXFILE"), {}, QStringLiteral("VXFileName")),
              (QStringList{QStringLiteral("it's.cbl"), longName}));
    EXPECT_EQ(Column(db, QStringLiteral("VXFILE"), QStringLiteral("VXFileID = 1"),
                     QStringLiteral("VXFileTime")),
              QStringList{QString::number(after2038)});
    db->VXLOAD_Append(QStringLiteral("FOLDER"), quoted, QStringLiteral("Pay"), {}, {}, {});
    db->Commit(true, false);
    EXPECT_EQ(Column(db, QStringLiteral("VXLOAD"), {}, QStringLiteral("VXLoadFrom")),
              QStringList{quoted});
}

TEST_P(AppendTest, CountersContinueAfterReconnecting)
{
    TVXDataAccessInterface *db = Connected();
    db->VXFILE_Append(1, 0, 0, 0, QStringLiteral("/a"), QStringLiteral("a"), 1, 1);
    db->VXFILE_Append(1, 0, 0, 0, QStringLiteral("/a"), QStringLiteral("b"), 1, 1);
    db->VXPACKAGE_Append(1, -1, QStringLiteral("PKG"), QStringLiteral("A"), 0, 0);
    db->VXPACKAGE_Append(1, -1, QStringLiteral("PKG"), QStringLiteral("B"), 0, 0);
    db->VXPACKAGE_Append(1, -1, QStringLiteral("OTHER"), QStringLiteral("C"), 0, 0);
    db->VXATTRIBUTE_Append(1, QStringLiteral("SYS"));
    db->Commit(true, false);
    db->DisConnect();

    TVXDataAccessInterface *again = Connected();
    EXPECT_EQ(again->LastFileID(), 2);
    EXPECT_EQ(again->LastPackageID(), 2);
    EXPECT_EQ(again->LastContentCounter(), 3);
    EXPECT_EQ(again->LastAttributeID(), 1);
    again->VXFILE_Append(1, 0, 0, 0, QStringLiteral("/a"), QStringLiteral("c"), 1, 1);
    const int files = again->GetTable(QStringLiteral("VXFILE"));
    EXPECT_EQ(again->GetFieldValue(files, 0).toInt(), 3);
}

TEST_P(AppendTest, PackagesShareANumberWhileTheirNameRepeats)
{
    TVXDataAccessInterface *db = Connected();
    db->VXPACKAGE_Append(5, -1, QStringLiteral("BILLING"), QStringLiteral("PAY01"), 0, 0);
    db->VXPACKAGE_Append(5, -1, QStringLiteral("BILLING"), QStringLiteral("PAY02"), 0, 0);
    db->VXPACKAGE_Append(5, -1, QStringLiteral("LEDGER"), QStringLiteral("LED01"), 0, 0);
    db->VXPACKAGE_Append(6, 17, QStringLiteral("LEDGER"), QStringLiteral("LED02"), 3, 1000);
    db->Commit(true, false);
    EXPECT_EQ(Column(db, QStringLiteral("VXPACKAGE"), QStringLiteral(" ORDER BY VXContentCounter"),
                     QStringLiteral("VXPackageID")),
              (QStringList{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"),
                           QStringLiteral("17")}));
    EXPECT_EQ(Column(db, QStringLiteral("VXPACKAGE"), QStringLiteral(" ORDER BY VXContentCounter"),
                     QStringLiteral("VXContentCounter")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                           QStringLiteral("4")}));
}

TEST_P(AppendTest, AttributesReadTheirIdBack)
{
    TVXDataAccessInterface *db = Connected();
    db->VXATTRIBUTE_Append(1, QStringLiteral("Payroll"));
    db->VXATTRIBUTE_Append(2, QStringLiteral("MVS@Datacenter"));
    EXPECT_EQ(db->LastAttributeID(), 2);
    const int attributes = db->GetTable(QStringLiteral("VXATTRIBUTE"));
    ASSERT_TRUE(db->SelectBegin(attributes, QStringLiteral("VXAttributeID = 2")));
    EXPECT_EQ(db->GetFieldValue(attributes,
                                db->GetField(attributes, QStringLiteral("VXAttributeName")))
                      .toString(),
              QStringLiteral("MVS@Datacenter"));
    EXPECT_EQ(db->GetFieldValue(attributes, db->GetField(attributes, QStringLiteral("VXIcon")))
                      .toString(),
              QString());
}

TEST_P(AppendTest, TextsAreCutToTheirColumns)
{
    TVXDataAccessInterface *db = Connected();
    const QString longWord = QString(100, QLatin1Char('W'));
    const QString longRow = QString(300, QLatin1Char('R'));
    db->VXWORD_Append(1, 0, 0, 1000, 1000, 1, 1, 0, longWord, 0, longWord);
    db->VXROW_Append(1, 0, 0, 1000, 1, longRow, false);
    db->VXOBJECT_Append(1, 1000, 1, false, longWord, longWord, {}, {}, 18, {}, {}, {}, 0, 0, 0);
    db->Commit(true, false);
    EXPECT_EQ(Column(db, QStringLiteral("VXWORD"), {}, QStringLiteral("VXWord")),
              QStringList{longWord.left(64)});
    EXPECT_EQ(Column(db, QStringLiteral("VXWORD"), {}, QStringLiteral("VXObjectIdentifier")),
              QStringList{longWord.left(64)});
    EXPECT_EQ(Column(db, QStringLiteral("VXROW"), {}, QStringLiteral("VXRow")),
              QStringList{longRow.left(255)});
    EXPECT_EQ(Column(db, QStringLiteral("VXOBJECT"), {}, QStringLiteral("VXObjectName")),
              QStringList{longWord.left(64)});
}

TEST_P(AppendTest, SetCallAndDataFlowLinks)
{
    TVXDataAccessInterface *db = Connected();
    db->VXROW_Append(1, 1000, 1000, 2000, 1, QStringLiteral("CALL 'X'"), false);
    db->VXROW_SetCall(1, 1000, 1000, 2000);
    db->VXROW_SetCall(1, 1000, 1000, 9000); // no such row: nothing happens
    db->VXDATAFLOW_Append(1, 2000, 1010, 1, 2000, 1000);
    db->VXDATAFLOW_Append(1, 2000, 1010, 1, 2000, 1000);
    db->Commit(true, false);
    EXPECT_EQ(Column(db, QStringLiteral("VXROW"), {}, QStringLiteral("VXCall")),
              QStringList{QStringLiteral("true")});
    EXPECT_EQ(db->GetCount(db->GetTable(QStringLiteral("VXDATAFLOW"))), 2);
}

TEST_P(AppendTest, DeletingAFilesResultsKeepsTheFileAndItsDependencies)
{
    TVXDataAccessInterface *db = Connected();
    for (int file = 1; file <= 2; ++file) {
        db->VXFILE_Append(1, 0, 0, 0, QStringLiteral("/a"), QStringLiteral("f%1").arg(file), 1, 1);
        db->VXOBJECT_Append(file, 1000, 1, false, QStringLiteral("P"), QStringLiteral("P"), {}, {},
                            18, {}, {}, {}, 0, 0, 0);
        db->VXENTRY_Append(file, 1000, 1000, 1, QStringLiteral("MAIN"), QStringLiteral("P"), {}, 0,
                           {});
        db->VXROW_Append(file, 1000, 1000, 1000, 1, QStringLiteral("row"), false);
        db->VXWORD_Append(file, 1000, 1000, 1000, 1000, 1, 1, 0, QStringLiteral("w"), 0, {});
        db->VXPACKAGE_Append(file, -1, QStringLiteral("P%1").arg(file), QStringLiteral("P"), 0, 0);
        db->VXDATAFLOW_Append(file, 1000, 1000, file, 1000, 1010);
        db->VXDEPENDENCIES_Append(file, 1000, 0, 0, 0, 0, 0, 3 - file, 1000, 1000, 1000, 1000);
    }
    db->Commit(true, false);
    db->VXDeleteForFileID(1);
    for (const char *table :
         {"VXOBJECT", "VXENTRY", "VXROW", "VXWORD", "VXPACKAGE", "VXDATAFLOW"}) {
        EXPECT_TRUE(Column(db, QString::fromLatin1(table), QStringLiteral("VXFileID = 1"),
                           QStringLiteral("VXFileID"))
                            .isEmpty())
                << table;
        EXPECT_EQ(Column(db, QString::fromLatin1(table), QStringLiteral("VXFileID = 2"),
                         QStringLiteral("VXFileID"))
                          .size(),
                  1)
                << table;
    }
    EXPECT_EQ(db->GetCount(db->GetTable(QStringLiteral("VXFILE"))), 2);
    EXPECT_EQ(db->GetCount(db->GetTable(QStringLiteral("VXDEPENDENCIES"))), 2);
}

TEST_P(AppendTest, CommittedWorkIsSeenByOtherConnectionsAndKeptAtDisconnect)
{
    TVXDataAccessInterface *writer = Connected();
    writer->VXATTRIBUTE_Append(1, QStringLiteral("First"));
    writer->Commit(true, false);
    writer->VXATTRIBUTE_Append(1, QStringLiteral("Second"));
    writer->Commit(true, true);
    writer->VXATTRIBUTE_Append(1, QStringLiteral("Third"));
    // The last DisConnect commits what is pending instead of losing it.
    writer->DisConnect();

    TVXDataAccessInterface *reader = Connected();
    EXPECT_EQ(Column(reader, QStringLiteral("VXATTRIBUTE"), {}, QStringLiteral("VXAttributeName")),
              (QStringList{QStringLiteral("First"), QStringLiteral("Second"),
                           QStringLiteral("Third")}));
}

TEST_P(AppendTest, ManyWordsAreAllStoredAndReadBeforeTheCommit)
{
    // Enough words to fill several multi-row inserts and leave some over, read back before
    // and after the commit, beside a row appended between them.
    TVXDataAccessInterface *db = Connected();
    const int count = 1234;
    for (int i = 0; i < count; ++i)
        db->VXWORD_Append(1, 1000, 1000, 1000 + i / 10, 1000 + i % 10, 1, 1, 0,
                          QStringLiteral("W%1 'q'").arg(i), 2, {});
    db->VXROW_Append(1, 1000, 1000, 1000, 1, QStringLiteral("MOVE A TO B."), false);
    const int words = db->GetTable(QStringLiteral("VXWORD"));
    EXPECT_EQ(db->GetCount(words), count);
    db->VXWORD_Append(2, 1000, 1000, 1000, 1000, 1, 1, 0, QStringLiteral("LAST"), 2, {});
    ASSERT_TRUE(db->SelectBoundBegin(words, TVXCondition::Equals(QStringLiteral("VXFileID"), 2)));
    EXPECT_EQ(db->GetFieldValue(words, db->GetField(words, QStringLiteral("VXWord")))
                      .toString()
                      .trimmed(),
              QStringLiteral("LAST"));
    db->Commit(true, false);
    const QStringList stored = Column(db, QStringLiteral("VXWORD"), QStringLiteral("VXFileID = 1"),
                                      QStringLiteral("VXWord"));
    ASSERT_EQ(stored.size(), count);
    EXPECT_EQ(stored.first().trimmed(), QStringLiteral("W0 'q'"));
    EXPECT_EQ(stored.last().trimmed(), QStringLiteral("W1233 'q'"));
    EXPECT_EQ(db->GetCount(db->GetTable(QStringLiteral("VXROW"))), 1);
}

TEST_P(AppendTest, AppendedRowsWaitThroughReadsOfOtherTablesAndAreSeenByReadsOfTheirOwn)
{
    // The resolution looks objects up between the links it appends: the links may wait
    // for one insert, but whatever reads their table, or removes from it, sees them.
    TVXDataAccessInterface *db = Connected();
    const int objects = db->GetTable(QStringLiteral("VXOBJECT"));
    const int links = db->GetTable(QStringLiteral("VXDEPENDENCIES"));
    for (int i = 0; i < 3; ++i) {
        db->VXDEPENDENCIES_Append(1, 1, 0, 1000 + i, 1000, 0, 0, 2, 1, 0, 1000, 1000);
        EXPECT_FALSE(db->SelectBegin(objects, QStringLiteral("VXObjectIdentifier = 'NONE'")));
    }
    EXPECT_EQ(Column(db, QStringLiteral("VXDEPENDENCIES"), QStringLiteral("VXFromFileID = 2"),
                     QStringLiteral("VXRowID"))
                      .size(),
              3);
    db->VXWORD_Append(3, 1000, 1000, 1000, 1000, 1, 1, 0, QStringLiteral("PENDING"), 2, {});
    db->VXDeleteForFileID(3);
    db->Commit(true, false);
    EXPECT_TRUE(Column(db, QStringLiteral("VXWORD"), QStringLiteral("VXFileID = 3"),
                       QStringLiteral("VXWord"))
                        .isEmpty());
    EXPECT_TRUE(db->SelectBegin(links, QStringLiteral("VXFromFileID = 2")));
}

TEST_P(AppendTest, AWordThatCannotBeStoredFailsLoudlyAndLeavesTheConnectionUsable)
{
    // The same key twice: whether the engine says so at the append or at the commit, the
    // caller hears of it, and the next unit of work is stored.
    TVXDataAccessInterface *db = Connected();
    EXPECT_ANY_THROW({
        db->VXWORD_Append(1, 1000, 1000, 1000, 1000, 1, 1, 0, QStringLiteral("A"), 2, {});
        db->VXWORD_Append(1, 1000, 1000, 1000, 1000, 1, 1, 0, QStringLiteral("B"), 2, {});
        db->Commit(true, false);
    });
    db->Commit(true, false);
    db->VXWORD_Append(2, 1000, 1000, 1000, 1000, 1, 1, 0, QStringLiteral("C"), 2, {});
    db->Commit(true, false);
    EXPECT_EQ(Column(db, QStringLiteral("VXWORD"), QStringLiteral("VXFileID = 2"),
                     QStringLiteral("VXWord"))
                      .value(0)
                      .trimmed(),
              QStringLiteral("C"));
}

INSTANTIATE_TEST_SUITE_P(Drivers, AppendTest, ::testing::ValuesIn(DriverCases()), DriverCaseName);
