// SPDX-License-Identifier: GPL-3.0-or-later
// Searches as the Query window runs them, over a repository loaded from COBOL sources.
#include "Cobolrepository.h"
#include "Testsupport.h"
#include "base/Configtable.h"

#include "query/Queryengine.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// Readable failure messages.
void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '[' << list.join(QStringLiteral("|")).toStdString() << ']';
}

namespace {

using VXQueryTest::Cobol;

class QueryEngineTest : public ::testing::Test
{
protected:
    // The files of the repository, by name.
    virtual QList<std::pair<QString, QByteArray>> Sources()
    {
        QList<std::pair<QString, QByteArray>> files;
        files.append(
                {QStringLiteral("QRY001.ibmcob"),
                 Cobol({QStringLiteral("IDENTIFICATION DIVISION."),
                        QStringLiteral("PROGRAM-ID. QRY001."), QStringLiteral("DATA DIVISION."),
                        QStringLiteral("WORKING-STORAGE SECTION."),
                        QStringLiteral("01  WS-NAME             PIC X(30)."),
                        QStringLiteral("01  WS-OUT              PIC X(30)."),
                        QStringLiteral("01  WS-COUNT            PIC 9(5)."),
                        QStringLiteral("PROCEDURE DIVISION."), QStringLiteral("MAIN-PARA."),
                        QStringLiteral("*    MOVE NOTHING IN A COMMENT"),
                        QStringLiteral("    MOVE WS-NAME TO WS-OUT. ADD 1 TO WS-COUNT."),
                        QStringLiteral("    MOVE 'O''BRIEN' TO WS-NAME."),
                        QStringLiteral("    COMPUTE WS-COUNT ="),
                        QStringLiteral("        WS-COUNT + 1."),
                        QStringLiteral("    IF WS-COUNT > 10"),
                        QStringLiteral("       DISPLAY 'MOVE ME'"), QStringLiteral("    END-IF."),
                        QStringLiteral("    GOBACK.")})});
        QStringList many{QStringLiteral("IDENTIFICATION DIVISION."),
                         QStringLiteral("PROGRAM-ID. QRY002."),
                         QStringLiteral("DATA DIVISION."),
                         QStringLiteral("WORKING-STORAGE SECTION."),
                         QStringLiteral("01  WS-A                PIC X."),
                         QStringLiteral("01  WS-B                PIC X."),
                         QStringLiteral("PROCEDURE DIVISION."),
                         QStringLiteral("MAIN-PARA.")};
        for (int i = 0; i < 50; ++i)
            many << QStringLiteral("    MOVE WS-A TO WS-B.");
        many << QStringLiteral("    GOBACK.");
        files.append({QStringLiteral("QRY002.ibmcob"), Cobol(many)});
        return files;
    }
    void SetUp() override
    {
        m_repository = std::make_unique<VXQueryTest::CobolRepository>(Sources());
        m_session = &m_repository->Session();
        m_db = m_repository->Db();
        m_engine = std::make_unique<TVXQueryEngine>(m_db);
        m_word = m_engine->Table(QStringLiteral("VXWORD"));
    }
    void TearDown() override
    {
        m_engine.reset();
        m_repository.reset();
    }
    void Find(bool andPrevious, int typeKey, TOperator op, const QString &value)
    {
        m_engine->WhereClause().Add(andPrevious, m_word,
                                    m_engine->Field(m_word, QStringLiteral("VXWord")), typeKey);
        m_engine->WhereClause().SetOperator(op);
        m_engine->WhereClause().SetValueString(value);
    }
    void In(const QString &table, const QString &field, int typeKey, TOperator op,
            const QString &value)
    {
        const int handle = m_engine->Table(table);
        m_engine->WhereClause().Add(true, handle, m_engine->Field(handle, field), typeKey);
        m_engine->WhereClause().SetOperator(op);
        m_engine->WhereClause().SetValueString(value);
    }
    // The rows' line texts, trimmed.
    QStringList Lines()
    {
        QStringList lines;
        for (int i = 0; i < m_engine->Result().RecordCount(); ++i)
            lines << m_engine->Result().Row(i).QRRow.mid(6, 66).trimmed();
        return lines;
    }

    std::unique_ptr<VXQueryTest::CobolRepository> m_repository;
    VXTest::Session *m_session = nullptr;
    TVXDataAccessInterface *m_db = nullptr;
    std::unique_ptr<TVXQueryEngine> m_engine;
    int m_word = 0;
};

TEST_F(QueryEngineTest, OneWordEqualsAnyWhereCaseInsensitive)
{
    Find(true, TVXQueryEngine::AnyExecutableWord, VXOperator::Equals, QStringLiteral("move"));
    In(QStringLiteral("VXOBJECT"), QStringLiteral("VXFileID"), 0, VXOperator::Equals,
       QStringLiteral("1;1000:QRY001"));
    m_engine->Query(true, true);
    const QStringList sql = m_engine->SqlLines();
    ASSERT_GE(sql.size(), 4);
    EXPECT_EQ(sql[0], QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, "
                                     "VXSectionLevel FROM VXWORD W WHERE "));
    EXPECT_EQ(sql[1], QStringLiteral("("));
    EXPECT_EQ(sql[2], QStringLiteral("( Upper(VXWORD) = 'MOVE' AND VXWordType NOT IN(1003, 53, 51, "
                                     "52, 9999) )"));
    EXPECT_EQ(sql[3], QStringLiteral(")"));
    EXPECT_EQ(sql[4], QStringLiteral(" AND ( EXISTS (SELECT * FROM VXObject O WHERE O.VXFileID = "
                                     "W.VXFileID AND O.VXObjectID = W.VXObjectID AND (VXFileID = 1 "
                                     "AND VXObjectID = 1000)))"));
    EXPECT_EQ(sql.last(),
              QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID"));
    // The MOVE statements, the one sharing its line with ADD included, and the string; not
    // the comment.
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("MOVE WS-NAME TO WS-OUT. ADD 1 TO WS-COUNT."),
                                    QStringLiteral("MOVE 'O''BRIEN' TO WS-NAME."),
                                    QStringLiteral("DISPLAY 'MOVE ME'")}));
    EXPECT_EQ(m_engine->HitCount(), 3);
    const TVXQueryResultRow &first = m_engine->Result().Row(0);
    EXPECT_EQ(first.QRObjectName, QStringLiteral("QRY001"));
    // The paragraph the statement stands in.
    EXPECT_EQ(first.QREntryName, QStringLiteral("MAIN-PARA"));
    EXPECT_EQ(first.QRSystemName, QStringLiteral("BILLING"));
    // A folder with a system and no application: the application is not assigned.
    EXPECT_EQ(first.QRComputerName, QStringLiteral("Common Source for BILLING"));
    EXPECT_EQ(first.QRApplicationName, QString());
    EXPECT_TRUE(m_engine->HitLabel().startsWith(QStringLiteral("3 hits in 3 Statements (")))
            << m_engine->HitLabel().toStdString();

    // Case-sensitive: nothing is written in lower case.
    m_engine->SetCaseSensitive(true);
    m_engine->Query(true, true);
    EXPECT_EQ(m_engine->SqlLines()[2], QStringLiteral("( VXWORD = 'move' AND VXWordType NOT "
                                                      "IN(1003, 53, 51, 52, 9999) )"));
    EXPECT_EQ(m_engine->Result().RecordCount(), 0);
    EXPECT_TRUE(m_engine->HitLabel().startsWith(QStringLiteral("0 hits in 0 Statements")));

    // Any word: the comment and the string as well, each statement once.
    m_engine->SetCaseSensitive(false);
    m_engine->WhereClause().Clear();
    Find(true, TVXQueryEngine::AnyWord, VXOperator::Equals, QStringLiteral("MOVE"));
    In(QStringLiteral("VXOBJECT"), QStringLiteral("VXFileID"), 0, VXOperator::Equals,
       QStringLiteral("1;1000:QRY001"));
    m_engine->Query(true, true);
    EXPECT_EQ(m_engine->SqlLines()[2],
              QStringLiteral("( Upper(VXWORD) = 'MOVE' AND VXFileID > 0 )"));
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("*    MOVE NOTHING IN A COMMENT"),
                                    QStringLiteral("MOVE WS-NAME TO WS-OUT. ADD 1 TO WS-COUNT."),
                                    QStringLiteral("MOVE 'O''BRIEN' TO WS-NAME."),
                                    QStringLiteral("DISPLAY 'MOVE ME'")}));
}

TEST_F(QueryEngineTest, OrGroupsAndAndMatches)
{
    Find(true, 1012, VXOperator::Equals, QStringLiteral("WS-OUT"));
    Find(false, 1001, VXOperator::Contains, QStringLiteral("BRIEN"));
    m_engine->Query(true, true);
    EXPECT_EQ(m_engine->SqlLines()[2],
              QStringLiteral("( Upper(VXWORD) = 'WS-OUT' AND VXWordType = 1012 )"));
    EXPECT_EQ(m_engine->SqlLines()[3],
              QStringLiteral(" OR ( Upper(VXWORD) LIKE '%BRIEN%' AND VXWordType = 1001 )"));
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("MOVE WS-NAME TO WS-OUT. ADD 1 TO WS-COUNT."),
                                    QStringLiteral("MOVE 'O''BRIEN' TO WS-NAME.")}));

    // And: the second row filters the statements of the first in memory.
    m_engine->WhereClause().Clear();
    Find(true, 1012, VXOperator::Equals, QStringLiteral("WS-COUNT"));
    Find(true, 8, VXOperator::None, QString());
    m_engine->Query(true, true);
    EXPECT_EQ(m_engine->SqlLines().size(), 5) << "one condition line";
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("IF WS-COUNT > 10")}));
    EXPECT_EQ(m_engine->HitCount(), -1);
    EXPECT_TRUE(m_engine->HitLabel().startsWith(QStringLiteral(">= 1 hits in 1 Statements")))
            << m_engine->HitLabel().toStdString();
}

// The assignment attributes compare section levels: a variable counts as assigned to
// when a TO, INTO or INITIALIZE of its level stands in the statement, as assigned from
// when an "=" or SET of its level does.
TEST_F(QueryEngineTest, AssignmentsToAndFrom)
{
    Find(true, TVXQueryEngine::AssignTo, VXOperator::Equals, QStringLiteral("WS-NAME"));
    m_engine->Query(true, true);
    EXPECT_EQ(m_engine->SqlLines()[2],
              QStringLiteral("( Upper(VXWORD) = 'WS-NAME' AND VXWordType = 1012)"));
    ASSERT_EQ(m_engine->WordClauses().size(), 2);
    EXPECT_TRUE(m_engine->WordClauses()[1].Partner);
    EXPECT_EQ(m_engine->WordClauses()[1].SqlText, QStringLiteral(" )"));
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("MOVE WS-NAME TO WS-OUT. ADD 1 TO WS-COUNT."),
                                    QStringLiteral("MOVE 'O''BRIEN' TO WS-NAME.")}));
    m_engine->WhereClause().Clear();
    Find(true, TVXQueryEngine::AssignFrom, VXOperator::Equals, QStringLiteral("WS-COUNT"));
    m_engine->Query(true, true);
    EXPECT_EQ(Lines(),
              (QStringList{QStringLiteral("COMPUTE WS-COUNT ="), QStringLiteral("WS-COUNT + 1.")}));
    m_engine->WhereClause().Clear();
    Find(true, TVXQueryEngine::AssignFrom, VXOperator::Equals, QStringLiteral("WS-NAME"));
    m_engine->Query(true, true);
    EXPECT_EQ(Lines(), QStringList());
}

TEST_F(QueryEngineTest, AttributeInRowsFilterFiles)
{
    Find(true, TVXQueryEngine::AnyWord, VXOperator::Equals, QStringLiteral("MOVE"));
    In(QStringLiteral("VXATTRIBUTE"), QStringLiteral("VXAttributeName"), 1, VXOperator::Equals,
       QStringLiteral("O'NOWHERE"));
    m_engine->Query(true, true);
    EXPECT_EQ(
            m_engine->SqlLines(),
            QStringList{QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, "
                                       "VXSectionLevel FROM VXWORD WHERE VXFileID = 0")});
    EXPECT_TRUE(m_engine->HitLabel().startsWith(QStringLiteral("0 hits in 0 Statements")));

    m_engine->WhereClause().Clear();
    Find(true, TVXQueryEngine::AnyWord, VXOperator::Equals, QStringLiteral("MOVE"));
    In(QStringLiteral("VXATTRIBUTE"), QStringLiteral("VXAttributeName"), 1, VXOperator::Equals,
       QStringLiteral("billing"));
    m_engine->Query(true, true);
    EXPECT_TRUE(m_engine->SqlLines().contains(
            QStringLiteral(" AND EXISTS (SELECT * FROM VXFILE F WHERE F.VXFileID = W.VXFileID AND "
                           "(VXSystemID IN (1)))")))
            << m_engine->SqlLines().join('\n').toStdString();
    EXPECT_EQ(m_engine->HitCount(), 54) << "50 in QRY002, the comment and the string in QRY001";
}

TEST_F(QueryEngineTest, PagesOfForty)
{
    Find(true, TVXQueryEngine::AnyWord, VXOperator::Equals, QStringLiteral("MOVE"));
    m_engine->Query(true, true);
    EXPECT_EQ(m_engine->Result().RecordCount(), 39);
    EXPECT_TRUE(m_engine->MoreRows());
    EXPECT_TRUE(
            m_engine->HitLabel().startsWith(QStringLiteral("54 hits in more than 39 Statements")))
            << m_engine->HitLabel().toStdString();
    m_engine->Query(false, true);
    EXPECT_EQ(m_engine->Result().RecordCount(), 54);
    EXPECT_FALSE(m_engine->MoreRows());
    EXPECT_EQ(m_engine->EndOfResults(), 55);
    EXPECT_TRUE(m_engine->HitLabel().startsWith(QStringLiteral("54 hits in 54 Statements")));
}

TEST_F(QueryEngineTest, StopLeavesAnEmptyResult)
{
    TVXQueryEngine engine(m_db, {{}, {}, {}, [] { return true; }});
    engine.WhereClause().Add(true, m_word, engine.Field(m_word, QStringLiteral("VXWord")),
                             TVXQueryEngine::AnyWord);
    engine.Query(true, true);
    EXPECT_TRUE(engine.Stopped());
    EXPECT_EQ(engine.Result().RecordCount(), 0);
}

TEST_F(QueryEngineTest, SqlReportRunsEveryLineButComments)
{
    QString label;
    EXPECT_TRUE(m_engine->SqlReport(
            QStringLiteral("-- SELEKT nothing\nSELECT COUNT(*) FROM VXWORD"), label));
    EXPECT_TRUE(label.endsWith(QStringLiteral(" sec)")));
    QString error;
    EXPECT_FALSE(m_engine->SqlReport(QStringLiteral("SELEKT * FROM VXWORD"), label, &error));
    EXPECT_EQ(label, QStringLiteral("Error in SQL Statement"));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(QueryEngineTest, EveryFindAttributeHasItsCondition)
{
    const std::pair<int, const char *> expected[]{
            {99600, "VXWordType NOT IN(1003, 53, 51, 52, 9999)"},
            {1011, "VXWordType = 1011"},
            {1014, "VXWordType = 1014"},
            {1012, "VXWordType = 1012"},
            {99602, "VXWordType = 1012)"},
            {99603, "VXWordType = 1012)"},
            {1032, "VXWordType IN(1059, 1032)"},
            {1002, "VXWordType = 1002"},
            {1001, "VXWordType = 1001"},
            {1003, "VXWordType IN(1003, 53, 51, 52)"},
            {99601, "VXWordType IN(33, 34, 54, 93, 84, 87)"},
            {9, "VXWordType = 9"},
            {8, "VXWordType IN(8, 38, 1051, 1053, 1052, 99011, 99012)"},
            {1037, "VXWordType = 1037"},
            {-1, "VXFileID > 0"}};
    for (const auto &[key, condition] : expected)
        EXPECT_EQ(TVXQueryEngine::WordTypeCondition(key), QLatin1String(condition)) << key;
    // The "Assigns" test in memory knows four of the six codes of its SQL.
    EXPECT_TRUE(TVXQueryEngine::WordTypeMatches(TVXQueryEngine::Assigns, 93));
    EXPECT_FALSE(TVXQueryEngine::WordTypeMatches(TVXQueryEngine::Assigns, 84));
    EXPECT_FALSE(TVXQueryEngine::WordTypeMatches(TVXQueryEngine::AnyExecutableWord, 9999));
    EXPECT_TRUE(TVXQueryEngine::WordTypeMatches(12345, 12345)) << "a key outside the table";
}

TEST_F(QueryEngineTest, OperatorsAndItemReferences)
{
    Find(true, TVXQueryEngine::AnyWord, VXOperator::EndsWith, QStringLiteral("O'B"));
    In(QStringLiteral("VXENTRY"), QStringLiteral("VXEntryName"), 0, VXOperator::BeginsWith,
       QStringLiteral("MAIN"));
    In(QStringLiteral("VXPACKAGE"), QStringLiteral("VXFileID"), 0, VXOperator::Equals,
       QStringLiteral("3;2:Some package"));
    m_engine->WhereClause().Add(false, m_engine->Table(QStringLiteral("VXOBJECT")), 0, 0);
    m_engine->WhereClause().SetValueString(QStringLiteral("1;1000;2000:QRY001.MAIN"));
    m_engine->Query(true, false);
    const QStringList sql = m_engine->SqlLines();
    EXPECT_EQ(sql[2], QStringLiteral("( Upper(VXWORD) LIKE '%O''B' AND VXFileID > 0 )"));
    EXPECT_EQ(sql[4],
              QStringLiteral(" AND ( EXISTS (SELECT * FROM VXEntry E WHERE E.VXFileID = W.VXFileID "
                             "AND E.VXObjectID = W.VXObjectID AND E.VXEntryID = W.VXEntryID AND "
                             "Upper(VXENTRYNAME) LIKE 'MAIN%')"
                             " AND EXISTS (SELECT * FROM VXPackage P WHERE P.VXObjectFileID = "
                             "W.VXFileID AND P.VXObjectID = W.VXObjectID AND (VXFileID = 3 AND "
                             "VXPackageID = 2))"
                             " OR EXISTS (SELECT * FROM VXObject O WHERE O.VXFileID = W.VXFileID "
                             "AND O.VXObjectID = W.VXObjectID AND (VXFileID = 1 AND VXObjectID = "
                             "1000 AND VXEntryID = 2000)))"));
    // A hand-made reference cannot smuggle SQL in: only its numbers are used.
    m_engine->WhereClause().Clear();
    Find(true, TVXQueryEngine::AnyWord, VXOperator::Equals, QStringLiteral("MOVE"));
    m_engine->WhereClause().Add(true, m_engine->Table(QStringLiteral("VXOBJECT")), 0, 0);
    m_engine->WhereClause().SetValueString(QStringLiteral("1 OR 1=1;1000"));
    m_engine->Query(true, false);
    EXPECT_TRUE(m_engine->SqlLines()[4].contains(
            QStringLiteral("(VXFileID = 0 AND VXObjectID = 1000)")))
            << m_engine->SqlLines()[4].toStdString();
}

// A search that is left while its thread still reads, over a table too large to be read at
// once: the connection may be closed at once, and the engine ended after it, without a
// crash and without keeping the repository open.
TEST_F(QueryEngineTest, AnAbandonedSearchLetsTheConnectionClose)
{
    for (int row = 0; row < 200000; ++row)
        m_db->VXWORD_Append(1, 1000, 1000, 100000 + row * 1000, 1000, 20520, 0, 0,
                            QStringLiteral("FILLER"), 0, {});
    m_db->Commit(false, false);
    Find(true, TVXQueryEngine::AnyWord, VXOperator::Equals, QStringLiteral("FILLER"));
    m_engine->Query(true, false);
    ASSERT_GT(m_engine->Result().RecordCount(), 0);
    ASSERT_TRUE(m_engine->MoreRows());
    m_db->DisConnect();
    EXPECT_EQ(m_db->ConnectionCount(), 0);
    m_engine.reset();
    // Stopping in the middle of the pages, then ending the engine first, is the other way.
    m_db = m_session->Service().ConnectDB(QString());
    m_engine = std::make_unique<TVXQueryEngine>(m_db);
    m_word = m_engine->Table(QStringLiteral("VXWORD"));
    Find(true, TVXQueryEngine::AnyWord, VXOperator::Equals, QStringLiteral("FILLER"));
    m_engine->Query(true, false);
    m_engine->Query(false, false);
    m_engine.reset();
    m_db->DisConnect();
    m_db = m_session->Service().ConnectDB(QString());
    m_engine = std::make_unique<TVXQueryEngine>(m_db);
}

// "%" and "_" in a value are characters to find: a contains "_" finds the words that hold
// an underscore, not every word.
TEST_F(QueryEngineTest, PercentAndUnderscoreAreNoWildcards)
{
    m_db->VXWORD_Append(1, 1000, 1000, 98000, 1000, 20520, 0, 0, QStringLiteral("RATE_100%"), 0,
                        {});
    m_db->Commit(false, false);
    for (const char *value : {"_", "%", "E_1", "0%", "RATE_"}) {
        m_engine->WhereClause().Clear();
        Find(true, TVXQueryEngine::AnyWord, VXOperator::Contains, QLatin1String(value));
        m_engine->Query(true, true);
        EXPECT_EQ(m_engine->HitCount(), 1) << value;
    }
    m_engine->WhereClause().Clear();
    Find(true, TVXQueryEngine::AnyWord, VXOperator::BeginsWith, QStringLiteral("W_"));
    m_engine->Query(true, true);
    EXPECT_EQ(m_engine->HitCount(), 0) << "WS-NAME does not begin with W_";
    EXPECT_TRUE(m_engine->SqlLines()[2].contains(QStringLiteral("LIKE 'W\\_%' ESCAPE '\\'")))
            << m_engine->SqlLines()[2].toStdString();
}

// A typed value goes to the database as a bound value, whatever quotes and backslashes it
// holds: the run statement carries no literal of it, and the words found are the ones that
// hold the text, never the whole repository.
TEST_F(QueryEngineTest, TypedValuesAreBoundNotWrittenIntoTheStatement)
{
    const QString stored = QStringLiteral("O'BR\\IEN");
    m_db->VXWORD_Append(1, 1000, 1000, 98000, 1000, 20520, 0, 0, stored, 0, {});
    m_db->Commit(false, false);
    const QString attack = QStringLiteral("\\' OR 1=1 --");
    for (TOperator op : {VXOperator::Equals, VXOperator::Contains, VXOperator::BeginsWith}) {
        m_engine->WhereClause().Clear();
        Find(true, TVXQueryEngine::AnyWord, op, attack);
        In(QStringLiteral("VXOBJECT"), QStringLiteral("VXObjectName"), 0, VXOperator::Equals,
           attack);
        m_engine->Query(true, true);
        EXPECT_EQ(m_engine->HitCount(), 0) << int(op);
        const TVXCondition &run = m_engine->RunStatement();
        EXPECT_FALSE(run.Text().contains(QLatin1String("1=1"))) << run.Text().toStdString();
        EXPECT_GE(run.Values().size(), 2);
    }
    for (const QString &value : {stored, QStringLiteral("'BR\\"), QStringLiteral("o'br\\ien")}) {
        m_engine->WhereClause().Clear();
        Find(true, TVXQueryEngine::AnyWord,
             value.startsWith(QLatin1Char('\'')) ? VXOperator::Contains : VXOperator::Equals,
             value);
        m_engine->Query(true, true);
        EXPECT_EQ(m_engine->HitCount(), 1) << value.toStdString();
    }
    // The lines shown keep the values written in, quotes doubled.
    EXPECT_EQ(m_engine->SqlLines()[2],
              QStringLiteral("( Upper(VXWORD) = 'O''BR\\IEN' AND VXFileID > 0 )"));
}

// Case-insensitive searches fold national letters as they fold ASCII: "köln", "KÖLN" and
// "Köln" are one word.
TEST_F(QueryEngineTest, NationalLettersFoldLikeAscii)
{
    m_db->VXWORD_Append(1, 1000, 1000, 98000, 1000, 20520, 0, 0, QString::fromUtf8("Köln"), 0, {});
    m_db->VXWORD_Append(1, 1000, 1000, 99000, 1000, 20520, 0, 0, QString::fromUtf8("ÅRSBOKSLUT"), 0,
                        {});
    m_db->Commit(false, false);
    const auto hits = [this](TOperator op, const char *value, bool caseSensitive = false) {
        m_engine->WhereClause().Clear();
        m_engine->SetCaseSensitive(caseSensitive);
        Find(true, TVXQueryEngine::AnyWord, op, QString::fromUtf8(value));
        m_engine->Query(true, true);
        return m_engine->HitCount();
    };
    EXPECT_EQ(hits(VXOperator::Equals, "KÖLN"), 1);
    EXPECT_EQ(hits(VXOperator::Equals, "köln"), 1);
    EXPECT_EQ(hits(VXOperator::Contains, "öl"), 1);
    EXPECT_EQ(hits(VXOperator::BeginsWith, "års"), 1);
    EXPECT_EQ(hits(VXOperator::Equals, "KÖLN", true), 0) << "as typed, only Köln is Köln";
    EXPECT_EQ(hits(VXOperator::Equals, "Köln", true), 1);
}

// An attribute id that is set but has no row is an error the user must see.
TEST_F(QueryEngineTest, AnAttributeWithoutItsRowIsNamed)
{
    VXSelectRows(m_db, QStringLiteral("UPDATE VXFILE SET VXApplicationID = 4711"));
    m_db->Commit(false, false);
    Find(true, TVXQueryEngine::AnyExecutableWord, VXOperator::Equals, QStringLiteral("MOVE"));
    m_engine->Query(true, true);
    ASSERT_GT(m_engine->Result().RecordCount(), 0);
    EXPECT_EQ(m_engine->Result().Row(0).QRApplicationName,
              QStringLiteral("Error: ApplicationName not found in table VXAttribute"));
    EXPECT_EQ(m_engine->Result().Row(0).QRSystemName, QStringLiteral("BILLING"));
}

// A load of most of the repository builds the search indexes after the words; a run that
// never restored them leaves that to the next connection.
TEST_F(QueryEngineTest, SearchIndexesAreSuspendedAndRestored)
{
    auto indexes = [this] {
        return VXSelectRows(m_db, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE "
                                                 "type = 'index' AND name LIKE 'VXWORD_%KEY'"))
                .value(0)
                .value(0)
                .toInt();
    };
    EXPECT_EQ(indexes(), 2);
    // A cursor still in the middle of its rows does not stop it, and reads on.
    const int words = m_db->GetTable(QStringLiteral("VXWORD"));
    ASSERT_TRUE(m_db->SelectBegin(words, QStringLiteral("VXFileID > 0")));
    const QVariant firstWord
            = m_db->GetFieldValue(words, m_db->GetField(words, QStringLiteral("VXWord")));
    m_db->SuspendSearchIndexes();
    EXPECT_EQ(indexes(), 0);
    EXPECT_TRUE(m_db->SelectNext(words));
    EXPECT_TRUE(m_db->SelectPrevious(words));
    EXPECT_EQ(m_db->GetFieldValue(words, m_db->GetField(words, QStringLiteral("VXWord"))),
              firstWord);
    Find(true, TVXQueryEngine::AnyWord, VXOperator::Equals, QStringLiteral("GOBACK"));
    m_engine->Query(true, true);
    EXPECT_EQ(m_engine->HitCount(), 2) << "searches still work, only slower";
    m_db->RestoreSearchIndexes();
    EXPECT_EQ(indexes(), 2);
    m_db->SuspendSearchIndexes();
    m_engine.reset();
    m_db->DisConnect();
    m_db = m_session->Service().ConnectDB(QString());
    EXPECT_EQ(indexes(), 2);
    m_engine = std::make_unique<TVXQueryEngine>(m_db);
}

} // namespace

// Patterns are answered by the words that fit them, looked up through the word index.
TEST_F(QueryEngineTest, PatternsGoThroughTheDistinctWords)
{
    auto search = [this](bool caseSensitive, const QString &value) {
        m_engine->WhereClause().Clear();
        m_engine->SetCaseSensitive(caseSensitive);
        Find(true, TVXQueryEngine::AnyWord, VXOperator::Contains, value);
        In(QStringLiteral("VXOBJECT"), QStringLiteral("VXFileID"), 0, VXOperator::Equals,
           QStringLiteral("1;1000:QRY001"));
        m_engine->Query(true, false);
        return Lines();
    };
    const QStringList expected{QStringLiteral("01  WS-NAME             PIC X(30)."),
                               QStringLiteral("MOVE WS-NAME TO WS-OUT. ADD 1 TO WS-COUNT."),
                               QStringLiteral("MOVE 'O''BRIEN' TO WS-NAME.")};
    EXPECT_EQ(search(false, QStringLiteral("s-na")), expected);
    EXPECT_EQ(m_engine->SqlLines()[2],
              QStringLiteral("( Upper(VXWORD) LIKE '%S-NA%' AND VXFileID > 0 )"));
    EXPECT_EQ(m_engine->RunSqlLines()[2],
              QStringLiteral("( Upper(VXWORD) IN (SELECT Upper(VXWORD) FROM VXDISTINCTWORD WHERE "
                             "Upper(VXWORD) LIKE '%S-NA%') AND VXFileID > 0 )"));
    // Case-sensitive patterns compare as typed.
    EXPECT_TRUE(search(true, QStringLiteral("s-na")).isEmpty());
    EXPECT_EQ(search(true, QStringLiteral("S-NA")), expected);

    // A repository from before the distinct words gets them at its next connection.
    m_engine.reset();
    VXSelectRows(m_db, QStringLiteral("DROP TABLE VXDISTINCTWORD"));
    m_db->DisConnect();
    m_db = m_session->Service().ConnectDB(QString());
    m_engine = std::make_unique<TVXQueryEngine>(m_db);
    EXPECT_EQ(search(false, QStringLiteral("s-na")), expected);
    EXPECT_TRUE(m_engine->RunSqlLines()[2].contains(QLatin1String("VXDISTINCTWORD")));

    // A load of most of the repository drops the words no file holds any more; a word
    // stored again afterwards is a distinct word again.
    auto distinct = [this](const QString &word) {
        return VXSelectRows(m_db, QStringLiteral("SELECT COUNT(*) FROM VXDISTINCTWORD WHERE "
                                                 "VXWord = '%1'")
                                          .arg(word))
                .value(0)
                .value(0)
                .toInt();
    };
    ASSERT_EQ(distinct(QStringLiteral("WS-A")), 1);
    // This connection has stored the word itself before.
    m_db->VXWORD_Append(1, 1000, 1000, 98000, 1000, 20520, 0, 0, QStringLiteral("WS-A"), 0, {});
    m_db->Commit(false, false);
    VXSelectRows(m_db, QStringLiteral("DELETE FROM VXWORD WHERE VXWord = 'WS-A'"));
    m_db->SuspendSearchIndexes();
    m_db->RestoreSearchIndexes();
    EXPECT_EQ(distinct(QStringLiteral("WS-A")), 0);
    EXPECT_EQ(distinct(QStringLiteral("WS-NAME")), 1);
    m_db->VXWORD_Append(1, 1000, 1000, 99000, 1000, 20520, 0, 0, QStringLiteral("WS-A"), 0, {});
    m_db->Commit(false, false);
    EXPECT_EQ(distinct(QStringLiteral("WS-A")), 1);
}

// A track of programs that call each other, searched in the order they run.
class ExecutionOrderTest : public QueryEngineTest
{
protected:
    QList<std::pair<QString, QByteArray>> Sources() override
    {
        auto program = [](const QString &name, const QStringList &statements) {
            QStringList lines{QStringLiteral("IDENTIFICATION DIVISION."),
                              QStringLiteral("PROGRAM-ID. ") + name + QLatin1Char('.'),
                              QStringLiteral("DATA DIVISION."),
                              QStringLiteral("WORKING-STORAGE SECTION."),
                              QStringLiteral("01  WS-STEP             PIC X(8)."),
                              // No paragraph: the statements are the procedure
                              // division's, the entry the track names.
                              QStringLiteral("PROCEDURE DIVISION.")};
            for (const QString &statement : statements)
                lines << QStringLiteral("    ") + statement;
            lines << QStringLiteral("    GOBACK.");
            return std::pair{name + QStringLiteral(".ibmcob"), Cobol(lines)};
        };
        return {program(QStringLiteral("EOROOT"), {QStringLiteral("MOVE 'ROOT-1' TO WS-STEP."),
                                                   QStringLiteral("CALL 'EOSUBA' USING WS-STEP."),
                                                   QStringLiteral("MOVE 'ROOT-2' TO WS-STEP."),
                                                   QStringLiteral("CALL 'EOSUBB'."),
                                                   QStringLiteral("MOVE 'ROOT-3' TO WS-STEP."),
                                                   QStringLiteral("CALL 'EOSUBA' USING WS-STEP.")}),
                program(QStringLiteral("EOSUBA"), {QStringLiteral("MOVE 'SUBA' TO WS-STEP.")}),
                program(QStringLiteral("EOSUBB"), {QStringLiteral("MOVE 'SUBB-1' TO WS-STEP."),
                                                   QStringLiteral("CALL 'EOLEAF'."),
                                                   QStringLiteral("MOVE 'SUBB-2' TO WS-STEP.")}),
                program(QStringLiteral("EOLEAF"), {QStringLiteral("MOVE 'LEAF' TO WS-STEP.")}),
                program(QStringLiteral("EOOTHER"), {QStringLiteral("MOVE 'OTHER' TO WS-STEP.")})};
    }
    // The item reference of a program's entry with its level in the track.
    QString Reference(const QString &program, int level, bool object = false)
    {
        const QList<QVariantList> entry = VXSelectRows(
                m_db, QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID FROM VXENTRY WHERE "
                                     "VXEntryName = '%1'")
                              .arg(program));
        EXPECT_EQ(entry.size(), 1) << program.toStdString();
        if (entry.isEmpty())
            return QString();
        QString reference
                = QStringLiteral("%1;%2").arg(entry[0][0].toInt()).arg(entry[0][1].toInt())
                  + (object ? QString() : QStringLiteral(";%1").arg(entry[0][2].toInt()))
                  + QLatin1Char(':') + program;
        if (level >= 0)
            reference += QLatin1Char('.') + QString::number(level);
        return reference;
    }
    void Track(const QString &caption, const QList<std::pair<QString, int>> &entries)
    {
        const bool objects = caption.contains(QLatin1String("Object"));
        m_engine->WhereClause().Clear();
        Find(true, TVXQueryEngine::AnyExecutableWord, VXOperator::Equals, QStringLiteral("MOVE"));
        for (const auto &[program, level] : entries) {
            m_engine->WhereClause().Add(false,
                                        m_engine->Table(objects ? QStringLiteral("VXOBJECT")
                                                                : QStringLiteral("VXENTRY")),
                                        0, 0);
            m_engine->WhereClause().SetValueString(Reference(program, level, objects));
        }
        m_engine->SetInCaption(caption);
    }
    // The step each hit moves, in the result's order.
    QStringList Steps()
    {
        QStringList steps;
        for (const QString &line : Lines())
            steps << line.section(QLatin1Char('\''), 1, 1);
        return steps;
    }
    const QList<std::pair<QString, int>> m_track{{QStringLiteral("EOROOT"), 0},
                                                 {QStringLiteral("EOSUBA"), 1},
                                                 {QStringLiteral("EOSUBB"), 1},
                                                 {QStringLiteral("EOLEAF"), 2}};
};

TEST_F(ExecutionOrderTest, SequentialTrackFollowsTheCalls)
{
    Track(QStringLiteral(" In Entry Track EOROOT - EOLEAF Sequentially: "), m_track);
    m_engine->Query(true, false);
    EXPECT_EQ(m_engine->OrderLabel(),
              QStringLiteral("Order by: Entry in Track, Statement (execution order)"));
    // The callee called twice shows its hit twice; the program outside the track none.
    EXPECT_EQ(Steps(), (QStringList{QStringLiteral("ROOT-1"), QStringLiteral("SUBA"),
                                    QStringLiteral("ROOT-2"), QStringLiteral("SUBB-1"),
                                    QStringLiteral("LEAF"), QStringLiteral("SUBB-2"),
                                    QStringLiteral("ROOT-3"), QStringLiteral("SUBA")}));
    for (int i = 0; i < m_engine->Result().RecordCount(); ++i)
        EXPECT_EQ(m_engine->Result().Row(i).QRExeOrder, i + 1);
    EXPECT_EQ(m_engine->EndOfResults(), 9);

    // An object track runs the same way.
    Track(QStringLiteral(" In Object Track EOROOT - EOLEAF Sequentially: "), m_track);
    m_engine->Query(true, false);
    EXPECT_EQ(m_engine->OrderLabel(),
              QStringLiteral("Order by: Object in Track, Entry, Statement"));
    EXPECT_EQ(Steps().join(QLatin1Char(' ')),
              QStringLiteral("ROOT-1 SUBA ROOT-2 SUBB-1 LEAF SUBB-2 ROOT-3 SUBA"));
}

TEST_F(ExecutionOrderTest, TrackWithoutSequenceKeepsStatementOrder)
{
    Track(QStringLiteral(" In Entry Track EOROOT - EOLEAF: "), m_track);
    m_engine->Query(true, false);
    EXPECT_EQ(m_engine->OrderLabel(), QStringLiteral("Order by: Entry in Track, Statement"));
    QStringList steps = Steps();
    std::sort(steps.begin(), steps.end());
    EXPECT_EQ(steps, (QStringList{QStringLiteral("LEAF"), QStringLiteral("ROOT-1"),
                                  QStringLiteral("ROOT-2"), QStringLiteral("ROOT-3"),
                                  QStringLiteral("SUBA"), QStringLiteral("SUBB-1"),
                                  QStringLiteral("SUBB-2")}));
    for (int i = 0; i < m_engine->Result().RecordCount(); ++i)
        EXPECT_EQ(m_engine->Result().Row(i).QRExeOrder, 0);
}

TEST_F(ExecutionOrderTest, MissingTrackLevelsAreReported)
{
    Track(QStringLiteral(" In Entry Track EOROOT - EOSUBA Sequentially: "),
          {{QStringLiteral("EOROOT"), 0}, {QStringLiteral("EOSUBA"), -1}});
    try {
        m_engine->Query(true, false);
        ADD_FAILURE() << "a track item without its level was taken";
    } catch (const TVXException &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Could not find ChildTrackLevel in VNID"));
    }
    Track(QStringLiteral(" In Entry Track EOROOT - EOLEAF Sequentially: "),
          {{QStringLiteral("EOROOT"), 0}, {QStringLiteral("EOLEAF"), 2}});
    try {
        m_engine->Query(true, false);
        ADD_FAILURE() << "a track that skips a level was taken";
    } catch (const TVXException &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Could not find NextChildTrackLevel in VNID"));
    }
}
