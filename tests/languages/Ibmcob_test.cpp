// SPDX-License-Identifier: GPL-3.0-or-later
// IBM COBOL: column rules, declarations, statements, calls, copy members, embedded SQL and
// CICS, as stored in the repository.
#include "Languagetestsupport.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int VariableType = 1012;

class IbmCobolTest : public LanguageTest
{
protected:
    // A program that uses every construct the definition knows.
    int ParseCustomerProgram()
    {
        return Parse(
                QStringLiteral("IBMCOB"), QStringLiteral("CUST010.ibmcob"),
                {AreaA(QStringLiteral("IDENTIFICATION DIVISION."), 100),
                 AreaA(QStringLiteral("PROGRAM-ID. CUST010."), 200),
                 Comment(QStringLiteral(" READS [CUSTOMER] RECORDS; MOVE A TO B.")),
                 AreaA(QStringLiteral("ENVIRONMENT DIVISION."), 400),
                 AreaA(QStringLiteral("DATA DIVISION."), 500),
                 AreaA(QStringLiteral("WORKING-STORAGE SECTION."), 600),
                 AreaA(QStringLiteral("01  WS-REC."), 700),
                 AreaB(QStringLiteral("05  WS-NAME        PIC X(30)."), 800),
                 AreaB(QStringLiteral("05  WS-COUNT       PIC 9(5) VALUE ZERO."), 900),
                 AreaB(QStringLiteral("05  WS-OUT         PIC X(30)."), 950),
                 AreaB(QStringLiteral("COPY CUSTREC."), 1000),
                 AreaA(QStringLiteral("PROCEDURE DIVISION."), 1100),
                 AreaA(QStringLiteral("MAIN-PARA."), 1200),
                 AreaB(QStringLiteral("MOVE WS-NAME TO WS-OUT. ADD 1 TO WS-COUNT."), 1300),
                 AreaB(QStringLiteral("CALL 'SUBPROG' USING WS-REC."), 1400),
                 AreaB(QStringLiteral("IF WS-COUNT > 10"), 1500),
                 AreaB(QStringLiteral("   DISPLAY WS-NAME"), 1600),
                 AreaB(QStringLiteral("END-IF."), 1700),
                 AreaB(QStringLiteral("EXEC SQL SELECT NAME INTO :WS-NAME FROM CUSTOMER"), 1800),
                 AreaB(QStringLiteral("END-EXEC."), 1850),
                 AreaB(QStringLiteral("EXEC CICS SEND MAP('CUSTMAP') MAPSET('CUSTSET')"), 1900),
                 AreaB(QStringLiteral("END-EXEC."), 1950),
                 AreaB(QStringLiteral("GOBACK."), 2000),
                 AreaA(QStringLiteral("SUB-PARA."), 2100),
                 AreaB(QStringLiteral("GO TO MAIN-PARA.").leftJustified(61)
                               + QStringLiteral("CHG0001"),
                       2200)});
    }
};

TEST_F(IbmCobolTest, TablesHaveTheDocumentedSizes)
{
    TVXLanguageDefinitionsInterface *cobol = Language(QStringLiteral("IBMCOB"));
    ASSERT_NE(cobol, nullptr);
    EXPECT_EQ(cobol->LanguageID(), 20520);
    EXPECT_EQ(cobol->FileExtensions(), QStringLiteral(".ibmcob;"));
    EXPECT_EQ(cobol->ColumnSetting(), 5);
    EXPECT_TRUE(cobol->UnknownIdentifiers());
    EXPECT_EQ(cobol->Words().size(), 219);
    EXPECT_EQ(cobol->Contexts().size(), 91);
    EXPECT_EQ(cobol->Sections().size(), 22);
    EXPECT_EQ(cobol->BreakWords().size(), 25);
    EXPECT_EQ(cobol->GetObjectIconByType(QStringLiteral("COPY")), 52);
    EXPECT_EQ(cobol->GetObjectIconDefault(), 18);
}

TEST_F(IbmCobolTest, ProgramObjectEntriesAndDeclarations)
{
    const int file = ParseCustomerProgram();
    const QList<StoredRow> objects = Objects(file);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(V(objects[0], "VXOBJECTNAME"), QStringLiteral("CUST010"));
    EXPECT_EQ(V(objects[0], "VXOBJECTIDENTIFIER"), QStringLiteral("CUST010"));
    EXPECT_EQ(I(objects[0], "VXICON"), 18);
    EXPECT_EQ(I(objects[0], "VXLANGUAGEID"), 20520);

    // The procedure division is the program's entry, and every paragraph is an entry of
    // its own, the first one too.
    QStringList entries;
    for (const StoredRow &entry : Entries(file))
        entries << V(entry, "VXENTRYNAME");
    EXPECT_EQ(entries, (QStringList{QStringLiteral("CUST010"), QStringLiteral("MAIN-PARA"),
                                    QStringLiteral("SUB-PARA")}));

    // Level numbers type their declarations.
    const StoredRow name = Word(file, QStringLiteral("WS-NAME"));
    EXPECT_EQ(I(name, "VXWORDTYPE"), 1011);
    EXPECT_TRUE(V(name, "VXOBJECTIDENTIFIER").startsWith(QStringLiteral("05")))
            << V(name, "VXOBJECTIDENTIFIER").toStdString();
    EXPECT_TRUE(V(name, "VXOBJECTIDENTIFIER").contains(QStringLiteral("X")));
    EXPECT_EQ(I(Word(file, QStringLiteral("05")), "VXWORDTYPE"), 1014);
    EXPECT_EQ(I(Word(file, QStringLiteral("WS-REC")), "VXWORDTYPE"), 1011);
}

TEST_F(IbmCobolTest, ColumnRules)
{
    const int file = ParseCustomerProgram();
    // Sequence numbers are no words.
    for (const QString &word : WordTexts(file, 0))
        EXPECT_FALSE(word.startsWith(QStringLiteral("00"))) << word.toStdString();
    // A comment row: stored whole, every word a comment, national characters replaced.
    const QList<StoredRow> comments = Words(file, 1003);
    QStringList commentTexts;
    for (const StoredRow &row : comments)
        commentTexts << V(row, "VXWORD");
    EXPECT_TRUE(commentTexts.contains(QStringLiteral("READS")));
    EXPECT_TRUE(commentTexts.contains(QString::fromUtf8("ÄCUSTOMERÅ")))
            << commentTexts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(commentTexts.contains(QStringLiteral("MOVE")));
    // The identification area is one comment word.
    EXPECT_TRUE(commentTexts.contains(QStringLiteral("CHG0001")));
    const QList<StoredRow> rows = Select(
            QStringLiteral("SELECT VXRow FROM VXROW WHERE VXFileID = %1 AND VXRow LIKE '%READS%'")
                    .arg(file));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(V(rows[0], "VXROW"),
              Comment(QString::fromUtf8(" READS ÄCUSTOMERÅ RECORDS; MOVE A TO B.")));
    // Area A names.
    EXPECT_EQ(I(Word(file, QStringLiteral("MAIN-PARA")), "VXWORDTYPE"), 1010);
    EXPECT_EQ(I(Word(file, QStringLiteral("SUB-PARA")), "VXWORDTYPE"), 1010);
    EXPECT_EQ(I(Word(file, QStringLiteral("PROGRAM-ID")), "VXWORDTYPE"), 1026);
}

TEST_F(IbmCobolTest, StatementsCallsAndDataFlow)
{
    const int file = ParseCustomerProgram();
    // Two statements on one row keep different row ids; the row is stored under the later.
    const int move = I(Word(file, QStringLiteral("MOVE")), "VXROWID");
    const int add = I(Word(file, QStringLiteral("ADD")), "VXROWID");
    EXPECT_GT(add, move);
    EXPECT_EQ(add % 1000, 0);
    const QList<StoredRow> moveRow
            = Select(QStringLiteral("SELECT VXRowID FROM VXROW WHERE VXFileID = %1 AND VXRow LIKE "
                                    "'%%MOVE WS-NAME%%'")
                             .arg(file));
    ASSERT_EQ(moveRow.size(), 1);
    EXPECT_EQ(I(moveRow[0], "VXROWID"), add);

    // MOVE WS-NAME TO WS-OUT: WS-OUT receives WS-NAME.
    const StoredRow from = Word(file, QStringLiteral("WS-NAME"));
    const QList<StoredRow> flows
            = Select(QStringLiteral("SELECT * FROM VXDATAFLOW WHERE VXFileID = %1").arg(file));
    bool found = false;
    for (const StoredRow &flow : flows) {
        const QList<StoredRow> receiver = Select(
                QStringLiteral("SELECT VXWord FROM VXWORD WHERE VXFileID = %1 AND VXRowID = %2 AND "
                               "VXWordID = %3")
                        .arg(file)
                        .arg(I(flow, "VXROWID"))
                        .arg(I(flow, "VXWORDID")));
        const QList<StoredRow> source = Select(
                QStringLiteral("SELECT VXWord FROM VXWORD WHERE VXFileID = %1 AND VXRowID = %2 AND "
                               "VXWordID = %3")
                        .arg(file)
                        .arg(I(flow, "VXFROMROWID"))
                        .arg(I(flow, "VXFROMWORDID")));
        if (!receiver.isEmpty() && !source.isEmpty() && V(receiver[0], "VXWORD") == "WS-OUT"
            && V(source[0], "VXWORD") == "WS-NAME")
            found = true;
    }
    EXPECT_TRUE(found) << flows.size() << " links";
    Q_UNUSED(from);

    // CALL 'SUBPROG': a called name, and its row is a call row.
    const StoredRow called = Word(file, QStringLiteral("SUBPROG"));
    EXPECT_EQ(I(called, "VXWORDTYPE"), 1016);
    const QList<StoredRow> callRow
            = Select(QStringLiteral("SELECT VXCall FROM VXROW WHERE VXFileID = %1 AND VXRowID = %2")
                             .arg(file)
                             .arg(I(called, "VXROWID")));
    ASSERT_EQ(callRow.size(), 1);
    EXPECT_EQ(I(callRow[0], "VXCALL"), 1);

    // Variables in the procedure division.
    for (const StoredRow &word : Words(file))
        if (V(word, "VXWORD") == QStringLiteral("WS-COUNT") && I(word, "VXENTRYID") > 0) {
            EXPECT_EQ(I(word, "VXWORDTYPE"), VariableType);
        }
    // GO TO starts no data flow and names its target.
    EXPECT_EQ(I(Word(file, QStringLiteral("GO")), "VXWORDTYPE"), 82);
    const QList<StoredRow> targets = Words(file, 1064);
    ASSERT_EQ(targets.size(), 1);
    EXPECT_EQ(V(targets[0], "VXWORD"), QStringLiteral("MAIN-PARA"));
}

TEST_F(IbmCobolTest, CopySqlAndCicsReferences)
{
    const int file = ParseCustomerProgram();
    const StoredRow copy = Word(file, QStringLiteral("CUSTREC"));
    EXPECT_EQ(I(copy, "VXWORDTYPE"), 1065);
    EXPECT_EQ(V(copy, "VXOBJECTIDENTIFIER"), QStringLiteral("CUSTREC"));
    EXPECT_EQ(I(Word(file, QStringLiteral("CUSTOMER")), "VXWORDTYPE"), 1072);
    const StoredRow map = Word(file, QStringLiteral("CUSTMAP"));
    EXPECT_EQ(I(map, "VXWORDTYPE"), 1059);
    EXPECT_EQ(V(map, "VXOBJECTIDENTIFIER"), QStringLiteral("CUSTMAP_MAP"));
}

TEST_F(IbmCobolTest, CopyMemberIsNamedAfterItsFile)
{
    const int file = Parse(QStringLiteral("IBMCOB"), QStringLiteral("custrec.ibmcob"),
                           {AreaA(QStringLiteral("01  CUST-RECORD.")),
                            AreaB(QStringLiteral("05  CUST-ID     PIC 9(6).")),
                            AreaB(QStringLiteral("05  CUST-NAME   PIC X(30)."))});
    const QList<StoredRow> objects = Objects(file);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(V(objects[0], "VXOBJECTNAME"), QStringLiteral("CUSTREC"));
    EXPECT_EQ(V(objects[0], "VXOBJECTTYPE"), QStringLiteral("COPY"));
    EXPECT_EQ(I(objects[0], "VXICON"), 52);
    EXPECT_EQ(I(Word(file, QStringLiteral("CUST-ID")), "VXWORDTYPE"), 1011);
    EXPECT_EQ(I(Word(file, QStringLiteral("PIC")), "VXWORDTYPE"), 1020);
}

TEST_F(IbmCobolTest, ModuleHeaderNamesAProgramWithoutProgramId)
{
    const int file = Parse(QStringLiteral("IBMCOB"), QStringLiteral("legacy.ibmcob"),
                           {Comment(QStringLiteral(" MODULE NAME: LEG001")),
                            AreaA(QStringLiteral("PROCEDURE DIVISION.")),
                            AreaB(QStringLiteral("STOP RUN."))});
    const QList<StoredRow> objects = Objects(file);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(V(objects[0], "VXOBJECTNAME"), QStringLiteral("LEG001"));
    EXPECT_NE(V(objects[0], "VXOBJECTTYPE"), QStringLiteral("COPY"));
}

TEST_F(IbmCobolTest, ContinuedLiteralKeepsTheStatement)
{
    const int file = Parse(
            QStringLiteral("IBMCOB"), QStringLiteral("cont.ibmcob"),
            {AreaA(QStringLiteral("PROGRAM-ID. CONT1.")), AreaA(QStringLiteral("DATA DIVISION.")),
             AreaA(QStringLiteral("PROCEDURE DIVISION.")),
             AreaB(QStringLiteral("DISPLAY 'FIRST PART OF A LONG")
                           .leftJustified(61, QLatin1Char(' '))),
             QStringLiteral("      -    'SECOND PART'."), AreaB(QStringLiteral("STOP RUN."))});
    const int first = I(Word(file, QStringLiteral("FIRST")), "VXROWID");
    const int second = I(Word(file, QStringLiteral("SECOND")), "VXROWID");
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(I(Word(file, QStringLiteral("SECOND")), "VXWORDTYPE"), 1001);
    EXPECT_EQ(I(Word(file, QStringLiteral("RUN")), "VXWORDTYPE") == 1001, false);
}

// Area A holds more than paragraph names: in a copy member only a name followed by a point
// that no division, environment paragraph or directive uses is a paragraph, and in a
// procedure division a statement that sloppy code starts there is none.
TEST_F(IbmCobolTest, OnlyParagraphNamesInAreaAAreEntries)
{
    const int member = Parse(QStringLiteral("IBMCOB"), QStringLiteral("FILES.ibmcob"),
                             {AreaA(QStringLiteral("FILE-CONTROL.")),
                              AreaB(QStringLiteral("SELECT CUSTFILE ASSIGN TO CUSTIN.")),
                              AreaA(QStringLiteral("FD  CUSTFILE.")),
                              AreaA(QStringLiteral("01  CUST-RECORD     PIC X(80)."))});
    EXPECT_TRUE(Entries(member).isEmpty());
    const int procedures = Parse(
            QStringLiteral("IBMCOB"), QStringLiteral("ABEND.ibmcob"),
            {AreaA(QStringLiteral("9999-ABEND.")), AreaB(QStringLiteral("CALL 'ABENDUTL'.")),
             AreaA(QStringLiteral("9999-EXIT.")), AreaB(QStringLiteral("EXIT."))});
    QStringList names;
    for (const StoredRow &entry : Entries(procedures))
        names << V(entry, "VXENTRYNAME");
    EXPECT_EQ(names, (QStringList{QStringLiteral("9999-ABEND"), QStringLiteral("9999-EXIT")}));
    const int program = Parse(
            QStringLiteral("IBMCOB"), QStringLiteral("SLOPPY.ibmcob"),
            {AreaA(QStringLiteral("PROGRAM-ID. SLOPPY.")), AreaA(QStringLiteral("DATA DIVISION.")),
             AreaA(QStringLiteral("PROCEDURE DIVISION.")), AreaA(QStringLiteral("0000-MAIN.")),
             AreaA(QStringLiteral("MOVE 1 TO WS-A.")), AreaB(QStringLiteral("GOBACK."))});
    names.clear();
    for (const StoredRow &entry : Entries(program))
        names << V(entry, "VXENTRYNAME");
    EXPECT_EQ(names, (QStringList{QStringLiteral("SLOPPY"), QStringLiteral("0000-MAIN")}));
}

TEST_F(IbmCobolTest, SectionsAfterAnExitAreEntries)
{
    const int file = Parse(
            QStringLiteral("IBMCOB"), QStringLiteral("sect.ibmcob"),
            {AreaA(QStringLiteral("PROGRAM-ID. SECT1.")), AreaA(QStringLiteral("DATA DIVISION.")),
             AreaA(QStringLiteral("PROCEDURE DIVISION.")),
             AreaB(QStringLiteral("PERFORM INIT-SEC.")), AreaB(QStringLiteral("GOBACK.")),
             AreaA(QStringLiteral("INIT-SEC SECTION.")), AreaB(QStringLiteral("DISPLAY 'INIT'.")),
             AreaA(QStringLiteral("TERM-SEC SECTION.")), AreaB(QStringLiteral("DISPLAY 'TERM'."))});
    QStringList entries;
    for (const StoredRow &entry : Entries(file))
        entries << V(entry, "VXENTRYNAME");
    EXPECT_EQ(entries, (QStringList{QStringLiteral("SECT1"), QStringLiteral("INIT-SEC"),
                                    QStringLiteral("TERM-SEC")}));
    const StoredRow init = Word(file, QStringLiteral("'"));
    Q_UNUSED(init);
    for (const StoredRow &word : Words(file))
        if (V(word, "VXWORD") == QStringLiteral("TERM")) {
            EXPECT_EQ(I(word, "VXENTRYID"), 3000);
        }
}

} // namespace

namespace {

// Every word the parse would store, in order.
class WordRecorder : public TVXDataAccessInterface
{
public:
    void VXWORD_Append(int, int objectID, int entryID, int rowID, int wordID, int, int sectionType,
                       int sectionLevel, const QString &word, int wordType,
                       const QString &objectIdentifier) override
    {
        Words << QStringLiteral("%1/%2/%3/%4 %5:%6 %7 [%8] %9")
                         .arg(objectID)
                         .arg(entryID)
                         .arg(rowID)
                         .arg(wordID)
                         .arg(sectionType)
                         .arg(sectionLevel)
                         .arg(wordType)
                         .arg(objectIdentifier, word);
    }
    void VXROW_Append(int, int objectID, int entryID, int rowID, int, const QString &row,
                      bool call) override
    {
        Words << QStringLiteral("row %1/%2/%3 %4 %5")
                         .arg(objectID)
                         .arg(entryID)
                         .arg(rowID)
                         .arg(call)
                         .arg(row);
    }
    QStringList Words;
};

// The row loop as it reads a row without any definition's shortcut: IsWordBreak asked at
// every position.
void ParseRowColumnByColumn(TVXLanguageDefinitionsInterface &definition, QString row)
{
    while (row.endsWith(QLatin1Char(' ')))
        row.chop(1);
    bool objectClosed = false;
    QString switchTo, sectionName;
    const int length = int(row.size());
    int p = 1;
    while (p <= length) {
        int breakLength = 0;
        TWordType breakType = VXWordType::WhiteSpace;
        const int breakAt = definition.TVXLanguageDefinitionsInterface::FindWordBreak(
                row, p, breakLength, breakType);
        if (breakAt > p)
            objectClosed |= definition.AppendWord(row.mid(p - 1, breakAt - p), VXWordType::Unknown,
                                                  switchTo, sectionName);
        if (breakAt <= length && breakType != VXWordType::WhiteSpace)
            objectClosed |= definition.AppendWord(row.mid(breakAt - 1, breakLength), breakType,
                                                  switchTo, sectionName);
        p = breakAt + breakLength;
    }
    if (definition.AppendRow(VXStoredRowText(row, nullptr)) || objectClosed)
        definition.SaveToDB(false, objectClosed);
}

} // namespace

// The COBOL scan passes over names and blanks without asking every column; what it stores
// must be what asking every column stores, for every row of the sample application and
// for rows that exercise the column rules.
TEST_F(IbmCobolTest, FastScanStoresWhatTheColumnRulesStore)
{
    QList<QStringList> sources;
    for (const QString &name : QDir(QStringLiteral(VELUNOR_SOURCE_DIR "/samples/billing/cobol"))
                                       .entryList({QStringLiteral("*.cbl")}, QDir::Files)) {
        QFile file(QStringLiteral(VELUNOR_SOURCE_DIR "/samples/billing/cobol/") + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        sources << QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
    }
    ASSERT_GE(sources.size(), 5);
    sources << QStringList{
            AreaA(QStringLiteral("PROGRAM-ID. EDGES."), 100),
            Comment(QStringLiteral(" NATIONAL @[\\] IN A COMMENT")),
            AreaA(QStringLiteral("PROCEDURE DIVISION."), 200),
            AreaA(QStringLiteral("0000-MAIN."), 300),
            AreaB(QStringLiteral("MOVE 'A@B[C' TO WS-X.    MOVE  WS-A   TO   WS-B."), 400),
            AreaB(QStringLiteral("DISPLAY 'A LITERAL THAT GOES ON AND ON AND ON TO COLUMN 72"),
                  500),
            QStringLiteral("000600-    'AND IS CONTINUED HERE'."),
            AreaB(QStringLiteral("COMPUTE X=Y+Z*(2-W)/3."), 700).leftJustified(72)
                    + QStringLiteral("TRAILING TEXT   HERE"),
            QStringLiteral("0008"),
            QStringLiteral("000900 "),
            QStringLiteral("000910  "),
            AreaB(QStringLiteral("DISPLAY 'A LITERAL LEFT OPEN"), 920),
            AreaB(QStringLiteral("    MOVE A TO B."), 930),
            QStringLiteral("001000       ") + QString(80, QLatin1Char(' ')) + QStringLiteral("X"),
            AreaB(QStringLiteral("GOBACK."), 1100)};

    int fileID = 1;
    for (const QStringList &rows : std::as_const(sources)) {
        TVXLanguageDefinitionsInterface *fast = Language(QStringLiteral("IBMCOB"));
        TVXLanguageDefinitionsInterface *slow = Language(QStringLiteral("IBMCOB"));
        ASSERT_TRUE(fast && slow);
        WordRecorder fastWords, slowWords;
        fast->InitializeForNewFile(&fastWords, QStringLiteral("/src/F%1.cbl").arg(fileID), fileID,
                                   1, 1, 1);
        slow->InitializeForNewFile(&slowWords, QStringLiteral("/src/F%1.cbl").arg(fileID), fileID,
                                   1, 1, 1);
        for (const QString &row : rows) {
            VXParseRow(*fast, row);
            ParseRowColumnByColumn(*slow, row);
        }
        fast->SaveToDB(true, false);
        slow->SaveToDB(true, false);
        ASSERT_GT(fastWords.Words.size(), 10);
        EXPECT_EQ(fastWords.Words.join(QLatin1Char('\n')).toStdString(),
                  slowWords.Words.join(QLatin1Char('\n')).toStdString())
                << "source " << fileID;
        ++fileID;
    }
}
