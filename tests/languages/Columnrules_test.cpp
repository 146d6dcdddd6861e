// SPDX-License-Identifier: GPL-3.0-or-later
// The column rules of the fixed-format languages, each where a load would meet it: what
// becomes a word, a comment or nothing, and which national letters a literal holds.
#include "Languagetestsupport.h"

namespace {

using namespace VXWordType;

class ColumnRulesTest : public LanguageTest
{
protected:
    static QString Card(const QString &text, const QString &sequence)
    {
        return text.leftJustified(72, QLatin1Char(' ')) + sequence;
    }
};

TEST_F(ColumnRulesTest, PliReadsColumnsTwoToSeventyTwoAndItsNationalLetters)
{
    const int file = Parse(
            QStringLiteral("PL1"), QStringLiteral("kund.pl1"),
            {Card(QStringLiteral("1KUNDRPT: PROC;"), QStringLiteral("00000100")),
             Card(QStringLiteral(" DCL NAMN CHAR(9) INIT('#RE@@N $S');"),
                  QStringLiteral("00000200")),
             Card(QStringLiteral(" /* G#TEBORG */ END KUNDRPT;"), QStringLiteral("00000300"))});
    // Column 1 and the sequence numbers are no words at all.
    const QStringList words = WordTexts(file, 0);
    EXPECT_FALSE(words.contains(QStringLiteral("1")));
    EXPECT_FALSE(words.contains(QStringLiteral("1KUNDRPT")));
    EXPECT_FALSE(words.join(QLatin1Char(' ')).contains(QStringLiteral("00000")));
    EXPECT_EQ(V(Entries(file).value(0), "VXENTRYNAME"), QStringLiteral("KUNDRPT"));
    // Inside literals and comments # $ @ stand for Ä Å Ö; outside they are letters of names.
    EXPECT_TRUE(words.contains(QString::fromUtf8("ÄREÖÖN")))
            << words.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(words.contains(QString::fromUtf8("ÅS")));
    EXPECT_TRUE(WordTexts(file, CommentWord).contains(QString::fromUtf8("GÄTEBORG")));
    EXPECT_EQ(Objects(file).value(0).value(QStringLiteral("VXOBJECTNAME")).toString(),
              QStringLiteral("KUND"));

    // Text that begins in column 1 is no carriage control: the label stays whole.
    const int free = Parse(QStringLiteral("PL1"), QStringLiteral("free.pl1"),
                           {QStringLiteral("FREEPGM: PROC OPTIONS(MAIN);"),
                            QStringLiteral("/* a comment from column 1 */"),
                            QStringLiteral("%INCLUDE 'FREEDEF';"), QStringLiteral("END FREEPGM;")});
    EXPECT_EQ(V(Entries(free).value(0), "VXENTRYNAME"), QStringLiteral("FREEPGM"));
    EXPECT_EQ(WordTexts(free, IncludedMember), QStringList{QStringLiteral("FREEDEF")});
    EXPECT_TRUE(WordTexts(free, CommentWord).contains(QStringLiteral("comment")));
}

TEST_F(ColumnRulesTest, VmsCobolChoosesTerminalOrAnsiFormatPerFile)
{
    // Terminal format: the indicator in column 1, area A from column 1, no card columns.
    const int terminal = Parse(
            QStringLiteral("VMSCOB"), QStringLiteral("term.vmscob"),
            {QStringLiteral("IDENTIFICATION DIVISION."), QStringLiteral("PROGRAM-ID. TERMPGM."),
             QStringLiteral("*A COMMENT ROW WITH CALL 'NOTME'"),
             QStringLiteral("PROCEDURE DIVISION."), QStringLiteral("MAIN-PARA."),
             QStringLiteral("    CALL 'SUBPGM' USING "
                            "THE-LONGEST-NAME-THAT-RUNS-PAST-COLUMN-72-OF-A-CARD."),
             QStringLiteral("    STOP RUN.")});
    EXPECT_EQ(WordTexts(terminal, CalledName), QStringList{QStringLiteral("SUBPGM")});
    EXPECT_EQ(V(Objects(terminal).value(0), "VXOBJECTNAME"), QStringLiteral("TERMPGM"));
    QStringList entries;
    for (const StoredRow &entry : Entries(terminal))
        entries << V(entry, "VXENTRYNAME");
    EXPECT_TRUE(entries.contains(QStringLiteral("MAIN-PARA")));
    // Nothing past column 72 is cut off as a comment.
    EXPECT_TRUE(WordTexts(terminal, 0)
                        .contains(QStringLiteral(
                                "THE-LONGEST-NAME-THAT-RUNS-PAST-COLUMN-72-OF-A-CARD")));

    // ANSI format: the card of IBM COBOL, sequence numbers first.
    const int ansi = Parse(
            QStringLiteral("VMSCOB"), QStringLiteral("ansi.vmscob"),
            {QStringLiteral("000100 IDENTIFICATION DIVISION."),
             QStringLiteral("000200 PROGRAM-ID. ANSIPGM."), QStringLiteral("000300*CALL 'NOTME'"),
             QStringLiteral("000400 PROCEDURE DIVISION."), QStringLiteral("000500 A-PARA."),
             Card(QStringLiteral("000600     CALL 'OTHER'."), QStringLiteral("ANSIPGM1"))});
    EXPECT_EQ(WordTexts(ansi, CalledName), QStringList{QStringLiteral("OTHER")});
    EXPECT_TRUE(WordTexts(ansi, CommentWord).contains(QStringLiteral("ANSIPGM1")));
    EXPECT_FALSE(WordTexts(ansi, 0).contains(QStringLiteral("000100")));
}

TEST_F(ColumnRulesTest, UnisysCobolKeepsTheCardAndItsIdentificationArea)
{
    const int file = Parse(
            QStringLiteral("UnisysCOB"), QStringLiteral("PAY1._sym"),
            {AreaA(QStringLiteral("IDENTIFICATION DIVISION."), 100),
             AreaA(QStringLiteral("PROGRAM-ID. PAY1."), 200),
             AreaA(QStringLiteral("PROCEDURE DIVISION."), 300),
             Card(AreaB(QStringLiteral("ENTER MASM 'PAYRTN'."), 400), QStringLiteral("PAYRTN01"))});
    EXPECT_EQ(WordTexts(file, CalledName), QStringList{QStringLiteral("PAYRTN")});
    EXPECT_TRUE(WordTexts(file, CommentWord).contains(QStringLiteral("PAYRTN01")));
}

TEST_F(ColumnRulesTest, EzeRetrieveCommentsStartAStatementOrFollowAPoint)
{
    const int file = Parse(QStringLiteral("EzeRetrieve"), QStringLiteral("rpt.ezr"),
                           {QStringLiteral("* PERFORM NOTME IN A COMMENT"),
                            QStringLiteral("W-A   W  4 N  . * THE COUNTER, PERFORM NOTME2"),
                            QStringLiteral("JOB INPUT NULL"), QStringLiteral("  W-A = W-A * 2"),
                            Card(QStringLiteral("  PERFORM P1"), QStringLiteral("RPT00010")),
                            QStringLiteral("P1. PROC"), QStringLiteral("END-PROC")});
    EXPECT_EQ(WordTexts(file, CalledName), QStringList{QStringLiteral("P1")});
    // "*" between names multiplies.
    EXPECT_EQ(WordTexts(file, VariableReference).size(), 2);
    EXPECT_TRUE(WordTexts(file, CommentWord).contains(QStringLiteral("RPT00010")));
    EXPECT_TRUE(WordTexts(file, CommentWord).contains(QStringLiteral("NOTME2")));
}

TEST_F(ColumnRulesTest, OpcReadsAListingsCarriageControlButKeepsAKeywordInColumnOne)
{
    const int file = Parse(QStringLiteral("IBMOPC"), QStringLiteral("apps.ibmopc"),
                           {QStringLiteral("1ADSTART ADID(LISTED)"),
                            QStringLiteral("ADSTART ADID(WRITTEN)"),
                            QStringLiteral(" ADOP WSID(CPU1) OPNO(010) JOBN(JOB1)")});
    QStringList objects;
    for (const StoredRow &object : Objects(file))
        objects << V(object, "VXOBJECTNAME");
    EXPECT_EQ(objects, (QStringList{QStringLiteral("LISTED"), QStringLiteral("WRITTEN")}));
    EXPECT_EQ(V(Entries(file).value(0), "VXENTRYNAME"), QStringLiteral("010"));
}

} // namespace
