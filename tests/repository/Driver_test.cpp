// SPDX-License-Identifier: GPL-3.0-or-later
// Connections, selections, reading orders, locating, deleting and field values, on every
// driver.
#include "Repositorytestsupport.h"
#include "base/Exception.h"

#include "repository/Condition.h"
#include "repository/Dataset.h"
#include "repository/Searchqueries.h"
#include "repository/Sqldataaccess.h"

#include <QFile>

using namespace VXTest;

namespace {

void AddWord(TVXDataAccessInterface *db, int file, int object, int entry, int row, int word,
             const QString &text, int type = 0)
{
    db->VXWORD_Append(file, object, entry, row, word, 20520, 2, 1, text, type, QString());
}

QString ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const TVXException &e) {
        return e.Message();
    }
    return {};
}

} // namespace

class DriverTest : public RepositoryTest
{
};

TEST_P(DriverTest, ConnectionsAreCounted)
{
    TVXDataAccessInterface *db = Connected();
    EXPECT_EQ(db->Connect(m_connection), 2) << "a second Connect only counts";
    EXPECT_EQ(db->DisConnect(), 1);
    EXPECT_EQ(db->GetCount(db->GetTable(QStringLiteral("VXFILE"))), 0)
            << "still connected after the first DisConnect";
    EXPECT_EQ(db->DisConnect(), 0);
    EXPECT_EQ(db->DisConnect(), 0);
    EXPECT_EQ(db->Connect(m_connection), 1) << "connects again after the last DisConnect";

    const QString other = GetParam().Connection(Folder() + QStringLiteral("other-"));
    if (GetParam().RefusesOtherDatabase) {
        const QString error = ErrorOf([&] { db->Connect(other); });
        EXPECT_TRUE(error.endsWith(QStringLiteral("Another database is allready connected")))
                << error.toStdString();
        EXPECT_TRUE(error.startsWith(QString::fromLatin1(GetParam().ClassName)
                                     + QStringLiteral(".Connect: ")));
        EXPECT_EQ(db->ConnectionCount(), 1);
    } else {
        EXPECT_EQ(db->Connect(other), 2) << "the other connection text is ignored";
    }
}

TEST_P(DriverTest, AnEmptyDatabaseGetsTheTenTables)
{
    TVXDataAccessInterface *db = Connected();
    for (const char *table : {"VXLOAD", "VXFILE", "VXOBJECT", "VXENTRY", "VXROW", "VXWORD",
                              "VXDEPENDENCIES", "VXPACKAGE", "VXATTRIBUTE", "VXDATAFLOW"})
        EXPECT_EQ(db->GetCount(db->GetTable(QString::fromLatin1(table))), 0) << table;
    const int word = db->GetTable(QStringLiteral("VXWORD"));
    EXPECT_EQ(db->GetField(word, QStringLiteral("vxword")), 8);
    EXPECT_EQ(db->GetFieldName(word, 10), QStringLiteral("VXOBJECTIDENTIFIER"));
    EXPECT_NE(db->GetTable(QStringLiteral("VXWORD2")), word);
    EXPECT_NE(db->GetTable(QStringLiteral("QUERY")), 0);

    db->VXATTRIBUTE_Append(1, QStringLiteral("Billing"));
    db->Commit(true, false);
    db->DisConnect();
    // Connecting again keeps what is there.
    TVXDataAccessInterface *again = Connected();
    EXPECT_EQ(again->GetCount(again->GetTable(QStringLiteral("VXATTRIBUTE"))), 1);
}

TEST_P(DriverTest, SelectionsFollowTheStandardReadingOrders)
{
    TVXDataAccessInterface *db = Connected();
    AddWord(db, 2, 0, 0, 1000, 1000, QStringLiteral("F2"));
    AddWord(db, 1, 1000, 1000, 2000, 1010, QStringLiteral("D"));
    AddWord(db, 1, 1000, 1000, 2000, 1000, QStringLiteral("C"));
    AddWord(db, 1, 1000, 0, 1000, 1000, QStringLiteral("B"));
    AddWord(db, 1, 0, 0, 1000, 1000, QStringLiteral("A"));
    db->Commit(true, false);

    EXPECT_EQ(Column(db, QStringLiteral("VXWORD"), {}, QStringLiteral("VXWord")),
              (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                           QStringLiteral("D"), QStringLiteral("F2")}));
    EXPECT_EQ(Column(db, QStringLiteral("VXWORD"),
                     QStringLiteral("VXFileID = 1 AND VXObjectID = 1000"),
                     QStringLiteral("VXWord")),
              (QStringList{QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}));
    EXPECT_EQ(Column(db, QStringLiteral("VXWORD"),
                     QStringLiteral("VXFileID = 1 ORDER BY VXWord DESC"), QStringLiteral("VXWord")),
              (QStringList{QStringLiteral("D"), QStringLiteral("C"), QStringLiteral("B"),
                           QStringLiteral("A")}));
    EXPECT_EQ(Column(db, QStringLiteral("VXWORD2"), QStringLiteral(" ORDER BY VXWord"),
                     QStringLiteral("VXWord"))
                      .first(),
              QStringLiteral("A"));
    EXPECT_TRUE(Column(db, QStringLiteral("VXWORD"), QStringLiteral("VXFileID = 9"),
                       QStringLiteral("VXWord"))
                        .isEmpty());

    // Both directions, and two positions in one table at once.
    const int words = db->GetTable(QStringLiteral("VXWORD"));
    const int second = db->GetTable(QStringLiteral("VXWORD2"));
    const int text = db->GetField(words, QStringLiteral("VXWord"));
    ASSERT_TRUE(db->SelectBegin(words, QStringLiteral("VXFileID = 1")));
    ASSERT_TRUE(db->SelectBegin(second, QStringLiteral("VXFileID = 2")));
    EXPECT_TRUE(db->SelectNext(words));
    EXPECT_TRUE(db->SelectNext(words));
    EXPECT_EQ(db->GetFieldValue(words, text).toString(), QStringLiteral("C"));
    EXPECT_TRUE(db->SelectPrevious(words));
    EXPECT_EQ(db->GetFieldValue(words, text).toString(), QStringLiteral("B"));
    EXPECT_TRUE(db->SelectPrevious(words));
    EXPECT_EQ(db->GetFieldValue(words, text).toString(), QStringLiteral("A"));
    EXPECT_FALSE(db->SelectPrevious(words));
    EXPECT_EQ(db->GetFieldValue(second, text).toString(), QStringLiteral("F2"));
    EXPECT_FALSE(db->SelectNext(second));

    // The free query runs whole statements.
    const int query = db->GetTable(QStringLiteral("QUERY"));
    ASSERT_TRUE(db->SelectBegin(
            query, QStringLiteral("SELECT COUNT(*) AS N FROM VXWORD WHERE VXFileID = 1")));
    EXPECT_EQ(db->GetFieldValue(query, db->GetField(query, QStringLiteral("N"))).toInt(), 4);
}

TEST_P(DriverTest, ARepeatedLookupSeesEachValueAndWhatWasWrittenSince)
{
    // The lookups of loading run one statement with new values again and again, across the
    // writes and commits between them.
    TVXDataAccessInterface *db = Connected();
    AddWord(db, 1, 1000, 0, 1000, 1000, QStringLiteral("ALPHA"));
    AddWord(db, 2, 1000, 0, 1000, 1000, QStringLiteral("BETA"));
    db->Commit(true, false);
    const auto lookup = [db](int file) {
        const QList<QVariantList> rows = VXSelectRows(
                db, TVXCondition(QStringLiteral("SELECT VXWord FROM VXWORD WHERE VXFileID = ? "
                                                "ORDER BY VXRowID"),
                                 {file}));
        QStringList words;
        for (const QVariantList &row : rows)
            words << row.value(0).toString().trimmed();
        return words;
    };
    EXPECT_EQ(lookup(1), QStringList{QStringLiteral("ALPHA")});
    EXPECT_EQ(lookup(2), QStringList{QStringLiteral("BETA")});
    AddWord(db, 1, 1000, 0, 2000, 1000, QStringLiteral("GAMMA"));
    EXPECT_EQ(lookup(1), (QStringList{QStringLiteral("ALPHA"), QStringLiteral("GAMMA")}));
    db->Commit(true, true);
    AddWord(db, 2, 1000, 0, 2000, 1000, QStringLiteral("DELTA"));
    db->Commit(false, false);
    EXPECT_EQ(lookup(2), (QStringList{QStringLiteral("BETA"), QStringLiteral("DELTA")}));
    EXPECT_TRUE(lookup(3).isEmpty());
}

TEST_P(DriverTest, LookupsGiveNumbersTextsAndNullsAlikeAndNameAStatementThatFails)
{
    // Every driver answers the loader's lookups with the same values, however it reads
    // them; a page of results joins its keys as the driver can.
    TVXDataAccessInterface *db = Connected();
    AddWord(db, 7, 1000, 0, 1000, 1000, QStringLiteral("KÖLN"));
    AddWord(db, 7, 1000, 0, 2000, 1000, QStringLiteral("O'NEIL"));
    db->Commit(true, false);
    const QList<QVariantList> rows = VXSelectRows(
            db, TVXCondition(QStringLiteral("SELECT VXFileID, VXWord, NULL, VXRowID * 2 FROM "
                                            "VXWORD WHERE VXFileID = ? AND VXWord <> ? ORDER BY "
                                            "VXRowID"),
                             {7, QStringLiteral("NONE")}));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toInt(), 7);
    EXPECT_EQ(rows[0][1].toString().trimmed(), QStringLiteral("KÖLN"));
    EXPECT_TRUE(rows[0][2].isNull());
    EXPECT_EQ(rows[1][1].toString().trimmed(), QStringLiteral("O'NEIL"));
    EXPECT_EQ(rows[1][3].toInt(), 4000);
    // A null text is NULL, which no comparison is true of: no row, on every driver.
    EXPECT_TRUE(VXSelectRows(db, TVXCondition(QStringLiteral("SELECT VXWord FROM VXWORD WHERE "
                                                             "VXWord <> ?"),
                                              {QString()}))
                        .isEmpty());
    // Many statements of other texts, more than a driver keeps prepared.
    for (int i = 0; i < 600; ++i)
        ASSERT_EQ(VXSelectRows(db, TVXCondition(QStringLiteral("SELECT VXRowID FROM VXWORD WHERE "
                                                               "VXFileID = ? AND VXRowID > %1")
                                                        .arg(i),
                                                {7}))
                          .size(),
                  i < 1000   ? 2
                  : i < 2000 ? 1
                             : 0);
    const QString error = ErrorOf([&] {
        VXSelectRows(db, TVXCondition(QStringLiteral("SELECT NoColumn FROM VXWORD"), {}));
    });
    EXPECT_TRUE(error.contains(QStringLiteral("NoColumn"))) << error.toStdString();
    EXPECT_EQ(VXSelectRows(db, TVXCondition(QStringLiteral("SELECT COUNT(*) FROM VXWORD"), {}))
                      .value(0)
                      .value(0)
                      .toInt(),
              2);
}

TEST_P(DriverTest, ACursorSelectedAgainByOtherValuesShowsTheirRowsAndItsOwnEdits)
{
    // A load selects one file row after the other through the same cursor and statement,
    // marking each as it goes.
    TVXDataAccessInterface *db = Connected();
    for (const char *name : {"A.cbl", "B.cbl", "C.cbl"})
        db->VXFILE_Append(1, 0, 0, 0, QStringLiteral("/src"), QLatin1String(name), 1, 10);
    db->Commit(true, false);
    const int files = db->GetTable(QStringLiteral("VXFILE"));
    const int id = db->GetField(files, QStringLiteral("VXFileID"));
    const int name = db->GetField(files, QStringLiteral("VXFileName"));
    const int loadTime = db->GetField(files, QStringLiteral("VXLoadTime"));
    const auto select = [&](int file) {
        return db->SelectBoundBegin(files, TVXCondition::Equals(QStringLiteral("VXFileID"), file));
    };
    for (int file = 1; file <= 3; ++file) {
        ASSERT_TRUE(select(file));
        EXPECT_EQ(db->GetFieldValue(files, id).toInt(), file);
        db->SetFieldValue(files, loadTime, 100 + file);
        EXPECT_EQ(db->GetFieldValue(files, loadTime).toInt(), 100 + file);
        db->Commit(false, true);
    }
    EXPECT_FALSE(select(4));
    db->Commit(false, false);
    ASSERT_TRUE(select(2));
    EXPECT_EQ(db->GetFieldValue(files, name).toString().trimmed(), QStringLiteral("B.cbl"));
    EXPECT_EQ(db->GetFieldValue(files, loadTime).toInt(), 102);
    ASSERT_TRUE(select(3));
    EXPECT_EQ(db->GetFieldValue(files, loadTime).toInt(), 103);
    EXPECT_FALSE(db->SelectNext(files));
}

TEST_P(DriverTest, APageOfResultRowsIsLookedUpAsEachOfItsRowsAlone)
{
    // More places than one statement takes, some not stored, with padded names.
    TVXDataAccessInterface *db = Connected();
    QList<TVXWordPlace> rows, objects, entries;
    for (int file = 1; file <= 3; ++file) {
        db->VXFILE_Append(7, file, 2, 3, QStringLiteral("/src"),
                          QStringLiteral("F%1.cbl").arg(file), 1, 1);
        db->VXOBJECT_Append(file, 1000, 7, false, QStringLiteral("PGM%1 ").arg(file),
                            QStringLiteral("PGM%1").arg(file), {}, {}, 18, {}, {}, {}, 0, 0, 0);
        objects << TVXWordPlace{file, 1000, 0, 0} << TVXWordPlace{file, 2000, 0, 0};
        for (int entry = 1000; entry <= 3000; entry += 1000) {
            db->VXENTRY_Append(file, 1000, entry, 7, QStringLiteral("PARA-%1").arg(entry),
                               QStringLiteral("PGM%1").arg(file), {}, 0, {});
            entries << TVXWordPlace{file, 1000, entry, 0};
            for (int row = 1000; row < 1030; ++row) {
                db->VXROW_Append(file, 1000, entry, row, 7,
                                 QStringLiteral("  MOVE %1 TO 'X''Y'.").arg(row), false);
                rows << TVXWordPlace{file, 1000, entry, row};
            }
        }
    }
    rows << TVXWordPlace{9, 1000, 1000, 1000};
    entries << TVXWordPlace{1, 1000, 9000, 0};
    db->Commit(true, false);

    const QHash<TVXWordPlace, QString> texts = VXSearchQueries::RowTexts(db, rows);
    EXPECT_EQ(texts.size(), rows.size() - 1);
    for (const TVXWordPlace &row : rows) {
        const std::optional<QString> alone = VXSearchQueries::RowText(db, row);
        if (row.File == 9)
            EXPECT_FALSE(texts.contains(row));
        else
            EXPECT_EQ(texts.value(row), alone.value_or(QString()));
    }
    const QHash<TVXWordPlace, QString> objectNames = VXSearchQueries::ObjectNames(db, objects);
    EXPECT_EQ(objectNames.size(), 3);
    EXPECT_EQ(objectNames.value({2, 1000, 0, 0}), VXSearchQueries::ObjectName(db, 2, 1000));
    const QHash<TVXWordPlace, QString> entryNames = VXSearchQueries::EntryNames(db, entries);
    EXPECT_EQ(entryNames.size(), 9);
    EXPECT_EQ(entryNames.value({3, 1000, 2000, 0}), QStringLiteral("PARA-2000"));
    EXPECT_FALSE(entryNames.contains({1, 1000, 9000, 0}));
    const QHash<int, TVXFileAttributes> files = VXSearchQueries::FileAttributesOf(db, {1, 3, 9});
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files.value(3).SystemID, 3);
    EXPECT_EQ(files.value(3).LanguageID, 7);
}

TEST_P(DriverTest, GoToKeyComparesWithoutCaseUnlessAsked)
{
    TVXDataAccessInterface *db = Connected();
    db->VXATTRIBUTE_Append(1, QStringLiteral("Billing"));
    db->VXATTRIBUTE_Append(2, QStringLiteral("Billing"));
    db->VXATTRIBUTE_Append(1, QStringLiteral("O'Hara"));
    db->Commit(true, false);
    const int attributes = db->GetTable(QStringLiteral("VXATTRIBUTE"));
    const int id = db->GetField(attributes, QStringLiteral("VXAttributeID"));

    EXPECT_TRUE(db->GoToKey(attributes, QStringLiteral("VXAttributeName"),
                            {QStringLiteral("BILLING")}, false));
    EXPECT_TRUE(db->GoToKeyNext(attributes, QStringLiteral("VXAttributeName"),
                                {QStringLiteral("BILLING")}, false));
    EXPECT_FALSE(db->GoToKeyNext(attributes, QStringLiteral("VXAttributeName"),
                                 {QStringLiteral("BILLING")}, false));
    EXPECT_FALSE(db->GoToKey(attributes, QStringLiteral("VXAttributeName"),
                             {QStringLiteral("BILLING")}, true));
    EXPECT_TRUE(db->GoToKey(attributes, QStringLiteral("VXAttributeType;VXAttributeName"),
                            {2, QStringLiteral("Billing")}, true));
    EXPECT_EQ(db->GetFieldValue(attributes, id).toInt(), 2);
    EXPECT_TRUE(db->GoToKey(attributes, QStringLiteral("VXAttributeName"),
                            {QStringLiteral("o'hara")}, false))
            << "a quote in a key value";

    // The selection's own condition stays in force.
    const int files = db->GetTable(QStringLiteral("VXFILE"));
    db->VXFILE_Append(20520, 1, 2, 3, QStringLiteral("/src"), QStringLiteral("A.CBL"), 10, 100);
    db->VXFILE_Append(20520, 1, 2, 3, QStringLiteral("/other"), QStringLiteral("A.CBL"), 10, 100);
    db->Commit(true, false);
    ASSERT_TRUE(db->SelectBegin(files, QStringLiteral("VXDirectory = '/other'")));
    EXPECT_TRUE(db->GoToKey(files, QStringLiteral("VXFileName"), {QStringLiteral("a.cbl")}, false));
    EXPECT_EQ(db->GetFieldValue(files, 0).toInt(), 2);
    EXPECT_FALSE(
            db->GoToKeyNext(files, QStringLiteral("VXFileName"), {QStringLiteral("a.cbl")}, false));
}

TEST_P(DriverTest, DeleteTheCurrentRowOrByCondition)
{
    TVXDataAccessInterface *db = Connected();
    for (int row = 1; row <= 4; ++row)
        AddWord(db, 1, 0, 0, row * 1000, 1000, QStringLiteral("W%1").arg(row));
    AddWord(db, 2, 0, 0, 1000, 1000, QStringLiteral("X"));
    db->Commit(true, false);
    const int words = db->GetTable(QStringLiteral("VXWORD"));
    const int text = db->GetField(words, QStringLiteral("VXWord"));

    ASSERT_TRUE(db->SelectBegin(words, QStringLiteral("VXFileID = 1")));
    ASSERT_TRUE(db->SelectNext(words));
    EXPECT_FALSE(db->Delete(words, {}, true)) << "rows remain after the deleted one";
    EXPECT_EQ(db->GetFieldValue(words, text).toString(), QStringLiteral("W3"))
            << "the row after the deleted one is current";
    ASSERT_TRUE(db->SelectNext(words));
    EXPECT_TRUE(db->Delete(words, {}, true)) << "the last row was deleted";
    db->Commit(true, false);
    EXPECT_EQ(Column(db, QStringLiteral("VXWORD"), QStringLiteral("VXFileID = 1"),
                     QStringLiteral("VXWord")),
              (QStringList{QStringLiteral("W1"), QStringLiteral("W3")}));

    EXPECT_TRUE(db->Delete(words, QStringLiteral("VXFileID = 1"), false));
    db->Commit(true, false);
    EXPECT_EQ(db->GetCount(words), 1);
    const int dependencies = db->GetTable(QStringLiteral("VXDEPENDENCIES"));
    db->VXDEPENDENCIES_Append(1, 1, 1, 1, 1, 0, 0, 2, 2, 2, 2, 2);
    db->VXDEPENDENCIES_Append(1, 1, 1, 1, 1, 0, 0, 3, 3, 3, 3, 3);
    ASSERT_TRUE(db->SelectBegin(dependencies, QStringLiteral("VXFromFileID = 3")));
    EXPECT_TRUE(db->Delete(dependencies, {}, true))
            << "a table without a key deletes by its values";
    db->Commit(true, false);
    EXPECT_EQ(db->GetCount(dependencies), 1);
}

TEST_P(DriverTest, FieldValuesFlagsAndEdits)
{
    TVXDataAccessInterface *db = Connected();
    db->VXROW_Append(1, 0, 0, 1000, 20520, QStringLiteral("       MOVE A TO B."), false);
    db->VXROW_Append(1, 0, 0, 2000, 20520, QStringLiteral("       CALL 'X'."), true);
    db->VXOBJECT_Append(1, 1000, 20520, true, QStringLiteral("PROG"), QStringLiteral("PROG"), {},
                        QStringLiteral("PROGRAM-ID"), 18, {}, {}, {}, 3, 2, 1);
    db->Commit(true, false);

    const int rows = db->GetTable(QStringLiteral("VXROW"));
    const int call = db->GetField(rows, QStringLiteral("VXCall"));
    ASSERT_TRUE(db->SelectBegin(rows, QStringLiteral("VXFileID = 1")));
    EXPECT_EQ(db->GetFieldValue(rows, call), QVariant(false));
    db->SetFieldValue(rows, call, true);
    EXPECT_EQ(db->GetFieldValue(rows, call), QVariant(true)) << "an edit shows at once";
    ASSERT_TRUE(db->SelectNext(rows));
    EXPECT_EQ(db->GetFieldValue(rows, call), QVariant(true));
    db->Commit(true, false);
    EXPECT_EQ(Column(db, QStringLiteral("VXROW"), QStringLiteral("VXCall = 1"),
                     QStringLiteral("VXRowID")),
              (QStringList{QStringLiteral("1000"), QStringLiteral("2000")}))
            << "a true flag is stored as 1";

    const int objects = db->GetTable(QStringLiteral("VXOBJECT"));
    ASSERT_TRUE(db->SelectBegin(objects, {}));
    EXPECT_EQ(db->GetFieldValue(objects, db->GetField(objects, QStringLiteral("VXInPackage"))),
              QVariant(true));
    const QVariant inherits
            = db->GetFieldValue(objects, db->GetField(objects, QStringLiteral("VXObjectInherits")));
    EXPECT_EQ(inherits.toString(), QString());
    EXPECT_EQ(inherits.typeId(), QMetaType::QString) << "null reads as empty text";
    EXPECT_EQ(db->GetFieldValue(objects, db->GetField(objects, QStringLiteral("VXIcon"))).toInt(),
              18);

    EXPECT_EQ(db->GetCount(rows), 2);
    db->SelectBegin(rows, QStringLiteral("VXRowID = 1000"));
    EXPECT_EQ(db->GetCount(rows), 2) << "GetCount counts the whole table, not the selection";
}

TEST_P(DriverTest, ErrorsNameTheOperationAndTheCause)
{
    const QString prefix = QString::fromLatin1(GetParam().ClassName);
    TVXDataAccessInterface *broken = NewDriver();
    QString target;
    if (QString::fromLatin1(GetParam().Name).startsWith(QLatin1String("Odbc")))
        target = QStringLiteral("Driver={No Such Driver};Database=x;");
    else
        target = QStringLiteral("/nonexistent/folder/db.file");
    const QString connectError = ErrorOf([&] { broken->Connect(target); });
    EXPECT_TRUE(connectError.startsWith(prefix + QStringLiteral(".Connect: ") + target
                                        + QLatin1Char(' ')))
            << connectError.toStdString();
    EXPECT_EQ(broken->ConnectionCount(), 0);

    TVXDataAccessInterface *db = Connected();
    const QString tableError = ErrorOf([&] { db->GetTable(QStringLiteral("NOPE")); });
    EXPECT_TRUE(tableError.startsWith(prefix + QStringLiteral(".GetTable: NOPE: ")))
            << tableError.toStdString();
    const int words = db->GetTable(QStringLiteral("VXWORD"));
    const QString selectError
            = ErrorOf([&] { db->SelectBegin(words, QStringLiteral("NoColumn = 1")); });
    EXPECT_TRUE(selectError.startsWith(prefix + QStringLiteral(".SelectBegin: NoColumn = 1 ")))
            << selectError.toStdString();
    const QString deleteError
            = ErrorOf([&] { db->Delete(words, QStringLiteral("NoColumn = 1"), false); });
    EXPECT_TRUE(deleteError.startsWith(prefix + QStringLiteral(".Delete: NoColumn = 1: ")))
            << deleteError.toStdString();
    db->Commit(true, false);
    const QString queryError = ErrorOf(
            [&] { delete db->GetQuery(nullptr, {QStringLiteral("SELECT nonsense FROM")}, false); });
    EXPECT_TRUE(queryError.startsWith(prefix + QStringLiteral(".GetQuery: ")))
            << queryError.toStdString();
}

TEST_P(DriverTest, AFileThatIsNotADatabaseIsReported)
{
    if (QString::fromLatin1(GetParam().Name).startsWith(QLatin1String("Odbc")))
        GTEST_SKIP() << "the ODBC data source decides what it opens";
    QFile garbage(m_connection);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, 'x'));
    garbage.close();
    TVXDataAccessInterface *db = NewDriver();
    const QString error = ErrorOf([&] { db->Connect(m_connection); });
    EXPECT_TRUE(error.startsWith(QString::fromLatin1(GetParam().ClassName)
                                 + QStringLiteral(".Connect: ")))
            << error.toStdString();
    EXPECT_EQ(db->ConnectionCount(), 0);
    ASSERT_TRUE(garbage.open(QIODevice::ReadOnly));
    EXPECT_EQ(garbage.readAll(), QByteArray(8192, 'x')) << "the file is left as it was";
}

INSTANTIATE_TEST_SUITE_P(Drivers, DriverTest, ::testing::ValuesIn(DriverCases()), DriverCaseName);

TEST(OdbcDriver, JetConnectionsSpellUpperAsUcase)
{
    EXPECT_EQ(TVXSqlDataAccess::JetRewrite(
                      QStringLiteral("upper(VXWord) = 'A' AND Upper(x) = UPPER(y)")),
              QStringLiteral("UCASE(VXWord) = 'A' AND UCASE(x) = UCASE(y)"));
    EXPECT_EQ(TVXSqlDataAccess::JetRewrite(QStringLiteral("VXWord = 'UPPERCASE'")),
              QStringLiteral("VXWord = 'UPPERCASE'"));
}
