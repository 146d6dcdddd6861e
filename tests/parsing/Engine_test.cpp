// SPDX-License-Identifier: GPL-3.0-or-later
// Tokenising, keyword lookup, context rules, literals, joining and row numbering.
#include "Tablelanguage.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

using namespace VXWordType;

namespace {

TEST(Tokenising, LongerBreaksFirstBlanksVanishCommasStay)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFBreakWords(QStringLiteral(">="), Comparison);
    language.SetFBreakWords(QStringLiteral(">"), Comparison);
    language.SetFBreakWords(QStringLiteral(","), Comma);
    language.Start();
    language.Rows({QStringLiteral("a>=b \t c>d,e")});
    EXPECT_EQ(language.Texts(), (QStringList{"a", ">=", "b", "c", ">", "d", ",", "e"}));
    EXPECT_EQ(language.Types()[6], Comma);
    EXPECT_EQ(language.Types()[1], Comparison);
}

TEST(Tokenising, BreakWordsIgnoreCaseUnlessCaseSensitive)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFBreakWords(QStringLiteral("AND"), Operator);
    language.Start();
    language.Rows({QStringLiteral("xandy")});
    EXPECT_EQ(language.Texts(), (QStringList{"x", "and", "y"}));
}

TEST(Keywords, SectionEntriesWinOverGeneralOnesInTableOrder)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, 10, QString(), true);
    language.SetFWords(QStringLiteral("move"), 10, 54);
    language.SetFWords(QStringLiteral("move"), -1, KnownWord);
    language.SetFWords(QStringLiteral("stop"), 99, 99);
    language.Start();
    language.Rows({QStringLiteral("MOVE Stop")});
    EXPECT_EQ(language.Types(), (QList<TWordType>{54, Unknown}));
}

TEST(Keywords, SharedWordTextsKeepTheirOwnSpellingAndLookups)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFWords(QStringLiteral("move"), -1, 54);
    language.Start();
    // Thousands of distinct names take over each other's slots in the shared text table;
    // every word must still carry its own text and the keyword its type.
    QStringList rows;
    for (int i = 0; i < 20000; ++i)
        rows << QStringLiteral("MOVE N%1").arg(i);
    for (const QString &row : std::as_const(rows)) {
        VXParseRow(language, row);
        const QList<TVXWordElement> &words = language.WordBuffer();
        ASSERT_EQ(words.last().Word, row.mid(5));
        ASSERT_EQ(words[words.size() - 2].WordType, 54) << qPrintable(row);
        ASSERT_EQ(words.last().WordType, Unknown) << qPrintable(row);
    }
    // A keyword added after its text was shared is found all the same.
    language.Rows({QStringLiteral("MOVE N7")});
    ASSERT_EQ(language.Types().last(), Unknown);
    language.SetFWords(QStringLiteral("n7"), -1, 501);
    language.Rows({QStringLiteral("MOVE N7")});
    EXPECT_EQ(language.Types().last(), 501);
}

TEST(Keywords, FoldingIsNeededExactlyWhenUpperCaseDiffers)
{
    // Every character at every place of a word that is checked four characters at a time
    // and of its tail.
    for (char16_t c = 1; c < 0x100; ++c) {
        for (int at = 0; at < 6; ++at) {
            QString word(6, QLatin1Char('A'));
            word[at] = QChar(c);
            const bool differs = word.toUpper() != word || c >= 0x80;
            ASSERT_EQ(TVXLanguageDefinitionsInterface::NeedsFolding(word), differs)
                    << int(c) << " at " << at;
        }
    }
}

TEST(Contexts, FarthestAnchorWinsAndLookAheadRetypesEarlierWords)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFWords(QStringLiteral("far"), -1, 501);
    language.SetFWords(QStringLiteral("near"), -1, 502);
    language.SetFWords(QStringLiteral("after"), -1, 503);
    language.SetFContexts(1, 502, -1, 1012);
    language.SetFContexts(4, 501, -1, 1016);
    language.SetFContexts(-1, 503, -1, 1011);
    language.Start();
    language.Rows({QStringLiteral("far x y near target name after")});
    EXPECT_EQ(language.Find(QStringLiteral("target"))->WordType, 1016);
    // "x" and "y" have no anchor; "name" gets its type from the word after it.
    EXPECT_EQ(language.Find(QStringLiteral("x"))->WordType, Unknown);
    EXPECT_EQ(language.Find(QStringLiteral("name"))->WordType, 1011);
}

TEST(Contexts, LiteralRulesApplyOnlyInsideLiterals)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    language.SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, 10, QString(), true);
    language.SetFWords(QStringLiteral("call"), -1, 35);
    language.SetFContexts(2, 35, -10, CalledName);
    language.Start();
    language.Rows({QStringLiteral("call 'PROG' call x")});
    EXPECT_EQ(language.Find(QStringLiteral("PROG"))->WordType, CalledName);
    EXPECT_EQ(language.Find(QStringLiteral("x"))->WordType, Unknown);
}

TEST(Contexts, BadRulesAndIconsFailTheConstructorWithTheLanguageName)
{
    TableLanguage language;
    EXPECT_THROW(language.SetFContexts(0, 1, -1, 2), TVXException);
    try {
        language.SetFContexts(5, 1, -1, 2);
        FAIL();
    } catch (const TVXException &e) {
        EXPECT_EQ(VXMessage(e), QStringLiteral("ContextError in LanguageDefinition 'TABLES'"));
    }
    try {
        language.SetFObjectIcons(QStringLiteral("TForm"), QStringLiteral("form"), 16);
        FAIL();
    } catch (const TVXException &e) {
        EXPECT_EQ(VXMessage(e), QStringLiteral("ObjectIconError in LanguageDefinition 'TABLES'"));
    }
}

TEST(Literals, EachDelimiterIsPlainContentInsideTheOther)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    language.SetFBreakWords(QStringLiteral("\""), SecondaryDelimiter);
    language.SetFWords(QStringLiteral("if"), -1, If);
    language.Start();
    language.Rows({QStringLiteral("'a \" if' \"b ' if\" if")});
    const QList<TWordType> types = language.Types();
    const QStringList texts = language.Texts();
    ASSERT_EQ(texts, (QStringList{"'", "a", "\"", "if", "'", "\"", "b", "'", "if", "\"", "if"}));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(types[i], MainDelimiter) << i;
    EXPECT_EQ(types[10], If);
    EXPECT_FALSE(language.InLiteral());
}

TEST(Joining, QualifiedNameBecomesOneWord)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFBreakWords(QStringLiteral("."), Joiner);
    language.Start();
    language.Rows({QStringLiteral("x.y z")});
    EXPECT_EQ(language.Texts(), (QStringList{"x.y", "z"}));
    EXPECT_EQ(language.WordBuffer()[1].WordID, language.WordBuffer()[0].WordID + 1000);
}

TEST(RowNumbering, StatementEndsContinuationsAndLongRows)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFBreakWords(QStringLiteral(";"), StatementEnd);
    language.SetFBreakWords(QStringLiteral("_"), LineContinuation);
    language.Start();
    language.Rows({QStringLiteral("a = 1;"), QStringLiteral("b = _"), QStringLiteral("  2"),
                   QStringLiteral("c")});
    const QList<TVXRowElement> &rows = language.RowBuffer();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].RowID, 1000);
    EXPECT_EQ(rows[1].RowID, 2000);
    EXPECT_EQ(rows[2].RowID, 2001);
    EXPECT_EQ(rows[3].RowID, 3000);
    // The continuation mark is never a word.
    EXPECT_EQ(language.Find(QStringLiteral("_")), nullptr);
    // A statement end moves the next word id on by 10.
    EXPECT_EQ(language.Find(QStringLiteral(";"))->WordID, 4000);

    bool truncated = false;
    const QString stored = VXStoredRowText(QString(300, QLatin1Char('x')), &truncated);
    EXPECT_TRUE(truncated);
    EXPECT_EQ(stored, QString(250, QLatin1Char('x')) + QStringLiteral("...!!"));
    EXPECT_EQ(VXStoredRowText(QStringLiteral("\ta")), QStringLiteral("  a"));
}

TEST(Icons, ByInheritanceTypePrefixAndDefault)
{
    TableLanguage language;
    language.SetFObjectIcons(QStringLiteral("TForm"), QString(), 16);
    language.SetFObjectIcons(QString(), QStringLiteral("copy"), 52);
    language.SetFObjectIcons(QString(), QString(), 18);
    EXPECT_EQ(language.GetObjectIconByInheritance(QStringLiteral("tform")), 16);
    EXPECT_EQ(language.GetObjectIconByInheritance(QStringLiteral("TFrame")), 0);
    EXPECT_EQ(language.GetObjectIconByType(QStringLiteral("COPYBOOK")), 52);
    EXPECT_EQ(language.GetObjectIconByType(QStringLiteral("PROGRAM")), 0);
    EXPECT_EQ(language.GetObjectIconDefault(), 18);
}

} // namespace
