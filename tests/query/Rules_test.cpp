// SPDX-License-Identifier: GPL-3.0-or-later
// The rules a line runs under and the rows around it, over COBOL paragraphs that perform
// each other: the finder, the Rules for Row tree followed up the call chain, and the rows
// window paged through its file.
#include "Cobolrepository.h"

#include "query/Rowsaround.h"
#include "query/Rulefinder.h"
#include "query/Rulesforrow.h"
#include "repository/Dataset.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

VXQueryTest::TSources Sources()
{
    QStringList rows{QStringLiteral("IDENTIFICATION DIVISION."),
                     QStringLiteral("PROGRAM-ID. ROW001."),
                     QStringLiteral("DATA DIVISION."),
                     QStringLiteral("WORKING-STORAGE SECTION."),
                     QStringLiteral("01  WS-N                PIC 9(5)."),
                     QStringLiteral("PROCEDURE DIVISION."),
                     QStringLiteral("MAIN-PARA.")};
    for (int i = 1; i <= 60; ++i)
        rows << QStringLiteral("    MOVE %1 TO WS-N.").arg(i);
    rows << QStringLiteral("    GOBACK.");
    return {{QStringLiteral("RUL001.ibmcob"), VXQueryTest::RulesProgram()},
            {QStringLiteral("ROW001.ibmcob"), VXQueryTest::Cobol(rows)}};
}

// The source text from column 8 on, without the sequence number and indentation.
QString Code(const QString &row)
{
    return row.mid(7).trimmed();
}

class RulesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_repository = new VXQueryTest::CobolRepository(Sources()); }
    static void TearDownTestSuite()
    {
        delete s_repository;
        s_repository = nullptr;
    }
    static TVXDataAccessInterface *Db() { return s_repository->Db(); }

    // The line whose code is this text, as the Query window hands a hit over.
    static TVXItem Line(const QString &code)
    {
        const QList<QVariantList> rows = VXSelectRows(
                Db(), QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, VXRow FROM "
                                     "VXROW ORDER BY VXFileID, VXRowID"));
        for (const QVariantList &row : rows)
            if (Code(row[4].toString()) == code)
                return TVXItem(row[0].toInt(), 0, 0, 0, 0, row[1].toInt(), row[2].toInt(),
                               row[3].toInt(), 1000);
        ADD_FAILURE() << "no line " << code.toStdString();
        return {};
    }
    static QStringList RuleCodes(const TVXItem &item)
    {
        QStringList codes;
        for (const TVXRule &rule :
             VXRuleFinder::RulesFor(Db(), {item.FileID, item.ObjectID, item.EntryID, item.RowID}))
            for (const QString &line : rule.Lines)
                codes << Code(line);
        return codes;
    }
    static QStringList Children(const QTreeWidgetItem *node)
    {
        QStringList texts;
        for (int i = 0; i < node->childCount(); ++i)
            texts << node->child(i)->text(0);
        return texts;
    }

    static VXQueryTest::CobolRepository *s_repository;
};

VXQueryTest::CobolRepository *RulesTest::s_repository = nullptr;

TEST_F(RulesTest, TheRulesAroundALineAreItsEnclosingBlocksOutermostFirst)
{
    // A loop and an if inside it.
    EXPECT_EQ(RuleCodes(Line(QStringLiteral("MOVE 9 TO WS-C"))),
              (QStringList{QStringLiteral("PERFORM VARYING WS-A FROM 1 BY 1 UNTIL WS-A > 5"),
                           QStringLiteral("IF WS-B > 1")}));
    // The else branch: its if is around it, the other when of the evaluate is not.
    EXPECT_EQ(RuleCodes(Line(QStringLiteral("MOVE 4 TO WS-B"))),
              (QStringList{QStringLiteral("EVALUATE WS-C"), QStringLiteral("WHEN 'Y'"),
                           QStringLiteral("IF WS-B = 3"), QStringLiteral("ELSE")}));
    EXPECT_EQ(RuleCodes(Line(QStringLiteral("MOVE 2 TO WS-A"))),
              (QStringList{QStringLiteral("EVALUATE WS-C"), QStringLiteral("WHEN 'X'")}));
    // A condition written over two rows shows both, and not the statement it governs.
    EXPECT_EQ(RuleCodes(Line(QStringLiteral("PERFORM LEVEL-ONE"))),
              (QStringList{QStringLiteral("IF WS-A > 10"), QStringLiteral("AND WS-B < 5")}));
    // After an if has ended, nothing governs the lines that follow it.
    EXPECT_TRUE(RuleCodes(Line(QStringLiteral("GOBACK."))).isEmpty());
    EXPECT_TRUE(RuleCodes(Line(QStringLiteral("DISPLAY 'DONE'."))).isEmpty());
    EXPECT_TRUE(RuleCodes(Line(QStringLiteral("MOVE 1 TO WS-A."))).isEmpty());
    // A row with no first word has no rules at all.
    TVXItem nowhere = Line(QStringLiteral("MOVE 9 TO WS-C"));
    nowhere.RowID += 500;
    EXPECT_TRUE(RuleCodes(nowhere).isEmpty());
}

TEST_F(RulesTest, RulesForRowFollowsTheCallersUpThreeLevels)
{
    TVXRulesForRow window(nullptr, Line(QStringLiteral("MOVE 9 TO WS-C")), Db());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Rules for Row"));
    ASSERT_EQ(window.tvRulesForRow->topLevelItemCount(), 1);
    QTreeWidgetItem *root = window.tvRulesForRow->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("*** Rules in Entry LEVEL-TWO [RUL001] ***"));
    QStringList children = Children(root);
    ASSERT_EQ(children.size(), 3) << children.join(QLatin1Char('|')).toStdString();
    // Each inner rule is indented one step more than the rule around it.
    EXPECT_EQ(Code(children[0]), QStringLiteral("PERFORM VARYING WS-A FROM 1 BY 1 UNTIL WS-A > 5"));
    EXPECT_TRUE(children[1].startsWith(QStringLiteral("    0029")));
    EXPECT_EQ(Code(children[1].mid(4)), QStringLiteral("IF WS-B > 1"));
    // The paragraph performs itself as well: it is not its own caller.
    ASSERT_FALSE(VXSelectRows(Db(), QStringLiteral("SELECT VXFromRowID FROM VXDEPENDENCIES WHERE "
                                                   "VXFromEntryID = VXEntryID AND VXFromObjectID "
                                                   "= VXObjectID"))
                         .isEmpty());
    EXPECT_EQ(children[2], QStringLiteral("Call from LEVEL-ONE [RUL001]"));

    // One level up: the rules around the PERFORM in LEVEL-ONE, and who performs LEVEL-ONE.
    QTreeWidgetItem *levelOne = root->child(2);
    EXPECT_EQ(TVXRulesForRow::ItemOf(levelOne).RowID,
              Line(QStringLiteral("PERFORM LEVEL-TWO")).RowID);
    ASSERT_EQ(levelOne->childCount(), 1) << "a placeholder until it is opened";
    levelOne->setExpanded(true);
    children = Children(levelOne);
    ASSERT_EQ(children.size(), 4) << children.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Code(children[0]), QStringLiteral("EVALUATE WS-C"));
    EXPECT_EQ(Code(children[1].mid(4)), QStringLiteral("WHEN 'Y'"));
    EXPECT_EQ(Code(children[2].mid(8)), QStringLiteral("IF WS-B = 3"));
    EXPECT_EQ(children[3], QStringLiteral("Call from MAIN-PARA [RUL001]"));

    // Two levels up: the condition over two rows around the first PERFORM; nobody calls
    // MAIN-PARA.
    QTreeWidgetItem *main = levelOne->child(3);
    main->setExpanded(true);
    children = Children(main);
    EXPECT_EQ(children.size(), 2) << children.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Code(children.value(0)), QStringLiteral("IF WS-A > 10"));
    EXPECT_EQ(Code(children.value(1)), QStringLiteral("AND WS-B < 5"));
    // Opening it again adds nothing.
    main->setExpanded(false);
    main->setExpanded(true);
    EXPECT_EQ(main->childCount(), 2);
}

TEST_F(RulesTest, ALineOutsideAnyConditionShowsTheRootAndItsCallers)
{
    TVXRulesForRow window(nullptr, Line(QStringLiteral("MOVE 1 TO WS-A.")), Db());
    QTreeWidgetItem *root = window.tvRulesForRow->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("*** Rules in Entry LEVEL-ONE [RUL001] ***"));
    EXPECT_EQ(Children(root), QStringList{QStringLiteral("Call from MAIN-PARA [RUL001]")});
}

TEST_F(RulesTest, RowsAroundShowsTenRowsEachSideAndPagesThroughTheFile)
{
    TVXRowsAround window(nullptr, Line(QStringLiteral("MOVE 30 TO WS-N.")), Db());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Show Rows Around"));
    QStringList lines = window.Lines();
    const auto marked = std::find_if(lines.cbegin(), lines.cend(), [](const QString &line) {
        return line.startsWith(QLatin1String("---> "));
    });
    const qsizetype hit = marked == lines.cend() ? -1 : marked - lines.cbegin();
    ASSERT_GE(hit, 0);
    EXPECT_EQ(Code(lines[hit].mid(5)), QStringLiteral("MOVE 30 TO WS-N."));
    EXPECT_EQ(lines[0], QStringLiteral("*** Press PageUp to see more Rows above ***"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(hit, 2 + 10) << "exactly ten rows above the line";
    EXPECT_EQ(Code(lines[2].mid(5)), QStringLiteral("MOVE 20 TO WS-N."));
    EXPECT_EQ(lines.size(), hit + 1 + 10 + 2);
    EXPECT_EQ(Code(lines[hit + 10].mid(5)), QStringLiteral("MOVE 40 TO WS-N."));
    EXPECT_EQ(lines.last(), QStringLiteral("*** Press PageDown to see more Rows below ***"));
    EXPECT_EQ(window.mmoRows->toPlainText(), lines.join(QLatin1Char('\n')));
    EXPECT_TRUE(window.mmoRows->isReadOnly());

    // PageDown (on the key's release, as in the memo) reads on to the end of the file.
    const int lastRow = window.LastRow();
    QTest::keyRelease(window.mmoRows, Qt::Key_PageDown);
    EXPECT_GT(window.LastRow(), lastRow);
    for (int i = 0; i < 5 && !window.Lines().last().contains(QLatin1String("End")); ++i)
        window.PageDown();
    lines = window.Lines();
    EXPECT_EQ(lines.last(), QStringLiteral("*** End of File ***"));
    EXPECT_EQ(Code(lines[lines.size() - 3].mid(5)), QStringLiteral("GOBACK."));
    EXPECT_EQ(lines.filter(QStringLiteral("GOBACK.")).size(), 1) << "no row twice";

    // PageUp reads back to the first row and then adds nothing more.
    for (int i = 0; i < 5 && !window.Lines().first().contains(QLatin1String("Beginning")); ++i)
        QTest::keyRelease(window.mmoRows, Qt::Key_PageUp);
    lines = window.Lines();
    EXPECT_EQ(lines[0], QStringLiteral("*** Beginning of File ***"));
    EXPECT_EQ(Code(lines[2].mid(5)), QStringLiteral("IDENTIFICATION DIVISION."));
    window.PageUp();
    EXPECT_EQ(window.Lines(), lines);
    EXPECT_EQ(lines.filter(QStringLiteral("MOVE 1 TO WS-N.")).size(), 1);
}

TEST_F(RulesTest, RowsAroundTheFirstAndLastLinesShowTheEndsOfTheFile)
{
    TVXRowsAround first(nullptr, Line(QStringLiteral("PROGRAM-ID. ROW001.")), Db());
    EXPECT_EQ(first.Lines().first(), QStringLiteral("*** Beginning of File ***"));
    EXPECT_EQ(Code(first.Lines()[2].mid(5)), QStringLiteral("IDENTIFICATION DIVISION."));
    EXPECT_TRUE(first.Lines()[3].startsWith(QStringLiteral("---> ")));

    TVXRowsAround last(nullptr, Line(QStringLiteral("MOVE 58 TO WS-N.")), Db());
    EXPECT_EQ(last.Lines().last(), QStringLiteral("*** End of File ***"));
    EXPECT_EQ(Code(last.Lines()[last.Lines().size() - 3].mid(5)), QStringLiteral("GOBACK."));
}

} // namespace
