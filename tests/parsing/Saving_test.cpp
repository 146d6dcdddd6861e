// SPDX-License-Identifier: GPL-3.0-or-later
// Partial saves, the flush rule, updates and the error dump.
#include "Tablelanguage.h"
#include "Testsupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace VXWordType;

namespace {

class DeclaringLanguage : public TableLanguage
{
public:
    DeclaringLanguage()
    {
        AddWhiteSpace();
        SetFBreakWords(QStringLiteral("="), Assignment);
        SetFBreakWords(QStringLiteral(";"), StatementEnd);
        SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, 10, QString(), false);
        SetFWords(QStringLiteral("var"), -1, 32);
        SetFWords(QStringLiteral("as"), -1, 75);
        SetFContexts(1, 32, -1, DeclarationName);
        SetFContexts(1, 75, -1, DeclarationType);
    }
};

TEST(Saving, PartialSaveKeepsTheLastFiveWordsAndTheirRows)
{
    DeclaringLanguage language;
    language.Start();
    QStringList rows;
    for (int i = 0; i < 51; ++i)
        rows << QStringLiteral("a%1 b%1 c%1").arg(i);
    language.Rows(rows);
    EXPECT_EQ(language.WordBuffer().size(), 5);
    EXPECT_EQ(language.WordBuffer().last().Word, QStringLiteral("c50"));
    // Only rows of kept words stay.
    ASSERT_FALSE(language.RowBuffer().isEmpty());
    EXPECT_GE(language.RowBuffer().first().RowID, language.WordBuffer().first().RowID);
}

TEST(Saving, ObjectClosedEarlyKeepsAllOfFewerThanFiveWords)
{
    TableLanguage language;
    language.AddWhiteSpace();
    language.SetFWords(QStringLiteral("class"), -1, 630);
    language.SetFWords(QStringLiteral("end"), -1, EndOfBlock);
    language.SetFSections(630, EndOfBlock, VXSectionType::Object, 70, QString(), false);
    language.Start();
    const TVXRowResult result = VXParseRow(language, QStringLiteral("class A end"));
    EXPECT_TRUE(result.Saved);
    EXPECT_EQ(language.Texts(), (QStringList{"class", "A", "end"}));
}

TEST(Saving, OpenDeclarationDelaysTheFlushUntilItIsMarked)
{
    DeclaringLanguage language;
    language.Start();
    language.Rows({QStringLiteral("var total")});
    for (int i = 0; i < 60; ++i)
        language.Rows({QStringLiteral("x%1").arg(i)});
    // The declaration still waits for its type: nothing was written.
    EXPECT_EQ(language.RowBuffer().size(), 61);
    for (int i = 0; i < 45; ++i)
        language.Rows({QStringLiteral("y%1").arg(i)});
    EXPECT_LT(language.RowBuffer().size(), 20);
    ASSERT_FALSE(language.Declarations().isEmpty());
    EXPECT_EQ(language.Declarations().first().Type, QStringLiteral("<error: unmatched type>"));
}

TEST(Saving, DeclarationTypesReachTheDeclaringWord)
{
    DeclaringLanguage language;
    language.Start();
    language.Rows({QStringLiteral("var total as money;"), QStringLiteral("total = price;")});
    EXPECT_EQ(language.WordBuffer()[1].ObjectIdentifier, QStringLiteral("money"));
    QString type;
    EXPECT_TRUE(language.IsVariableDeclaredAs(5, type));
    EXPECT_EQ(type, QStringLiteral("money"));
}

TEST(Saving, ErrorDumpNamesFileLanguageAndWords)
{
    VXTest::Home home;
    DeclaringLanguage language;
    language.Start(QStringLiteral("/src/app/pay roll.tbl"), 42);
    language.Rows({QStringLiteral("var total as money")});
    const QString path = language.DumpAtError();
    EXPECT_EQ(path, home.File(QStringLiteral("ErrorDump_pay roll.tbl_42.txt")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines
            = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2 + 4);
    EXPECT_EQ(lines[0], QStringLiteral("Dump for File: /src/app/pay roll.tbl"));
    EXPECT_EQ(lines[1], QStringLiteral("Language: 90001 TABLES"));
    EXPECT_TRUE(lines[3].contains(QStringLiteral(":total:")));
}

TEST(Saving, DumpToAMissingFolderFailsWithItsPath)
{
    VXTest::Home home;
    qputenv("VELUNOR_HOME", QByteArray("/nonexistent/velunor/home"));
    DeclaringLanguage language;
    language.Start();
    try {
        language.DumpAtError();
        FAIL() << "the dump was written";
    } catch (const std::exception &e) {
        EXPECT_TRUE(VXMessage(e).contains(QStringLiteral("/nonexistent/velunor/home")))
                << VXMessage(e).toStdString();
    }
}

} // namespace
