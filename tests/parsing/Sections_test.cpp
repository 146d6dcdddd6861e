// SPDX-License-Identifier: GPL-3.0-or-later
// Sections: objects and entries, the end codes, replacing and chaining.
#include "Tablelanguage.h"

#include <gtest/gtest.h>

using namespace VXWordType;

namespace {

constexpr TWordType Sub = 500;
constexpr TWordType Exec = 600;
constexpr TWordType Sql = 601;
constexpr TWordType Level1 = 610;
constexpr TWordType Level2 = 611;
constexpr TWordType Level3 = 612;
constexpr TWordType Para = 620;
constexpr TWordType Class = 630;

class SectionLanguage : public TableLanguage
{
public:
    SectionLanguage()
    {
        AddWhiteSpace();
        SetFBreakWords(QStringLiteral("."), StatementEnd);
        SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, 10, QStringLiteral("file"),
                     true);
        SetFSections(Sub, EndOfBlock, VXSectionType::Entry, 20, QStringLiteral("sub"), true);
        SetFSections(If, EndWithRowOrBlockEnd, VXSectionType::Conditional, 30, QStringLiteral("if"),
                     true);
        SetFSections(Exec, EndAtStatementEnd, VXSectionType::Statement, 40, QString(), true);
        SetFSections(Sql, EndClosesParent, VXSectionType::EmbeddedSql, 41, QString(), true);
        SetFSections(Level1, EndOfFile, VXSectionType::Statement, 50, QString(), true);
        SetFSections(Level2, EndOfFile, VXSectionType::Statement, 51, QString(), true);
        SetFSections(Level3, ClosesThreeLevels, VXSectionType::Statement, 52, QString(), true);
        SetFSections(Para, EndAtSameSectionNumber, VXSectionType::Entry, 60, QString(), true);
        SetFSections(Class, EndOfBlock, VXSectionType::Object, 70, QString(), true);
        SetFWords(QStringLiteral("sub"), -1, Sub);
        SetFWords(QStringLiteral("class"), -1, Class);
        SetFWords(QStringLiteral("end"), -1, EndOfBlock);
        SetFWords(QStringLiteral("if"), -1, If);
        SetFWords(QStringLiteral("exec"), -1, Exec);
        SetFWords(QStringLiteral("sql"), -1, Sql);
        SetFWords(QStringLiteral("end-exec"), -1, EndClosesParent);
        SetFWords(QStringLiteral("l1"), -1, Level1);
        SetFWords(QStringLiteral("l2"), -1, Level2);
        SetFWords(QStringLiteral("l3"), -1, Level3);
        SetFWords(QStringLiteral("close3"), -1, ClosesThreeLevels);
        SetFWords(QStringLiteral("para"), -1, Para);
        SetFWords(QStringLiteral("cancel"), -1, EndsSectionCancelsEntry);
        SetFContexts(1, Sub, -1, SectionOrParagraphName);
        SetFContexts(1, Para, -1, SectionOrParagraphName);
        SetFContexts(1, Class, -1, ObjectName);
    }

    int SectionOf(const QString &word) const { return Find(word)->SectionID; }
};

TEST(Sections, FileObjectIsNamedAfterTheFileAndEntriesAfterTheirWords)
{
    SectionLanguage language;
    language.Start(QStringLiteral("/src/app/orders.tbl"));
    language.Rows({QStringLiteral("sub first x end"), QStringLiteral("sub second y end")});
    ASSERT_EQ(language.ObjectList().size(), 1);
    EXPECT_EQ(language.ObjectList()[0].Name, QStringLiteral("orders.tbl"));
    ASSERT_EQ(language.EntryList().size(), 2);
    EXPECT_EQ(language.EntryList()[0].Name, QStringLiteral("first"));
    EXPECT_EQ(language.EntryList()[1].EntryID, 2000);
    EXPECT_EQ(language.Find(QStringLiteral("y"))->EntryID, 2000);
    EXPECT_EQ(language.Find(QStringLiteral("y"))->SectionID, 20);
    EXPECT_EQ(language.SectionStack().size(), 2);
}

TEST(Sections, ConditionEndsWithItsRowUnlessTheOpeningWordEndsTheRow)
{
    SectionLanguage language;
    language.Start();
    language.Rows({QStringLiteral("if a b"), QStringLiteral("c"), QStringLiteral("if"),
                   QStringLiteral("d"), QStringLiteral("end"), QStringLiteral("e")});
    EXPECT_EQ(language.SectionOf(QStringLiteral("b")), 30);
    EXPECT_EQ(language.SectionOf(QStringLiteral("c")), 10);
    EXPECT_EQ(language.SectionOf(QStringLiteral("d")), 30);
    EXPECT_EQ(language.SectionOf(QStringLiteral("e")), 10);
}

TEST(Sections, EndCodesCloseTwoAndThreeLevels)
{
    SectionLanguage language;
    language.Start();
    language.Rows({QStringLiteral("exec sql select x end-exec y"),
                   QStringLiteral("l1 l2 l3 z close3 w")});
    EXPECT_EQ(language.SectionOf(QStringLiteral("x")), 41);
    EXPECT_EQ(language.SectionOf(QStringLiteral("y")), 10);
    EXPECT_EQ(language.SectionOf(QStringLiteral("z")), 52);
    EXPECT_EQ(language.SectionOf(QStringLiteral("w")), 10);
    EXPECT_EQ(language.SectionStack().size(), 2);
}

TEST(Sections, SameNumberReplacesAndCancelDropsTheEntry)
{
    SectionLanguage language;
    language.Start();
    language.Rows({QStringLiteral("para one a"), QStringLiteral("para two b"),
                   QStringLiteral("para three cancel")});
    EXPECT_EQ(language.SectionStack().size(), 2);
    QStringList names;
    for (const TVXEntryElement &entry : language.EntryList())
        names << entry.Name;
    EXPECT_EQ(names, (QStringList{"one", "two"}));
}

TEST(Sections, NestedObjectsKeepEntryKeysUnique)
{
    SectionLanguage language;
    language.SetNestedObjects(true);
    language.Start();
    language.Rows({QStringLiteral("class Outer"), QStringLiteral("sub f . end"),
                   QStringLiteral("class Inner sub g . end end"), QStringLiteral("sub h . end"),
                   QStringLiteral("end")});
    QStringList entries;
    for (const TVXEntryElement &entry : language.EntryList())
        entries << QStringLiteral("%1/%2 %3")
                           .arg(entry.ObjectID)
                           .arg(entry.EntryID)
                           .arg(entry.Name);
    EXPECT_EQ(entries, (QStringList{"2000/1000 f", "3000/1000 g", "2000/2000 h"}));
    EXPECT_EQ(language.Find(QStringLiteral("h"))->ObjectID, 2000);
}

TEST(Sections, DirectoryObjectContinuesAcrossFilesOfOneFolder)
{
    SectionLanguage language;
    language.SetDirectoryObject(true);
    language.Start(QStringLiteral("/scripts/billing/a.tbl"), 1);
    language.Rows({QStringLiteral("x")});
    const int object = language.Find(QStringLiteral("x"))->ObjectID;
    const int lastRow = language.RowBuffer().last().RowID;
    language.SaveToDB(true, false);
    language.Start(QStringLiteral("/scripts/billing/b.tbl"), 2);
    ASSERT_FALSE(language.ObjectList().isEmpty());
    EXPECT_EQ(language.ObjectList()[0].Name, QStringLiteral("billing"));
    language.Rows({QStringLiteral("y")});
    EXPECT_GT(language.RowBuffer().last().RowID, lastRow);
    EXPECT_EQ(language.Find(QStringLiteral("y"))->ObjectID, object);

    language.Start(QStringLiteral("/scripts/other/c.tbl"), 3);
    EXPECT_EQ(language.ObjectList()[0].Name, QStringLiteral("other"));
    EXPECT_EQ(language.RowID(), 1000);
}

} // namespace
