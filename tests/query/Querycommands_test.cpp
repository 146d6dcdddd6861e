// SPDX-License-Identifier: GPL-3.0-or-later
// The Query window's commands over a program whose paragraphs perform each other: query
// documents saved and opened again, the result file, Find and Print, a track restriction
// with its rule rows, and the windows that explain a hit.
#include "Cobolrepository.h"
#include "base/Package.h"

#include "query/Queryengine.h"
#include "query/Queryrows.h"
#include "query/Rowsaround.h"
#include "query/Rulesforrow.h"
#include "query/window/Query.h"
#include "query/window/Queryhistory.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class QueryCommandsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_registration = new TVXPackageRegistration(QStringLiteral("query_gui_tests"));
        s_registration->RegisterClass<TVXQuery>(QStringLiteral("TVXQuery"));
        s_repository = new VXQueryTest::CobolRepository(
                {{QStringLiteral("RUL001.ibmcob"), VXQueryTest::RulesProgram()}});
    }
    static void TearDownTestSuite()
    {
        delete s_repository;
        delete s_registration;
    }
    void TearDown() override
    {
        for (TVXQuery *window : std::as_const(m_windows))
            window->close();
        Service().Messages.clear();
    }
    static VXTest::Session &Service() { return s_repository->Session(); }

    TVXQuery *NewQuery()
    {
        EXPECT_EQ(Service().Service().NewWindow(QStringLiteral("Query"), QString(), QString(),
                                                nullptr, QString()),
                  QString());
        auto *query = dynamic_cast<TVXQuery *>(Service().Service().WindowList().last().Window);
        m_windows << query;
        return query;
    }
    // Finds statements holding the word.
    static void SearchFor(TVXQuery *query, const QString &word)
    {
        query->FindRows()->Row(0)->cbValue->setEditText(word);
        query->cbSearchClick();
    }
    static QStringList Lines(const TVXQuery *query)
    {
        QStringList lines;
        const QAbstractItemModel *grid = query->Grid()->model();
        for (int row = 0; row < grid->rowCount(); ++row)
            lines << grid->index(row, 5).data().toString().mid(7).trimmed();
        return lines;
    }
    QString File(const QString &name) const { return s_repository->Home().File(name); }

    static TVXPackageRegistration *s_registration;
    static VXQueryTest::CobolRepository *s_repository;
    QList<TVXQuery *> m_windows;
};

TVXPackageRegistration *QueryCommandsTest::s_registration = nullptr;
VXQueryTest::CobolRepository *QueryCommandsTest::s_repository = nullptr;

TEST_F(QueryCommandsTest, ASavedQueryOpensAgainWithItsRowsAndResult)
{
    TVXQuery *query = NewQuery();
    // Two find rows joined by Or.
    query->FindRows()->Row(0)->cbValue->setEditText(QStringLiteral("PERFORM"));
    query->FindRows()->Row(0)->rbOr->click();
    ASSERT_EQ(query->FindRows()->Count(), 2);
    query->FindRows()->Row(1)->cbValue->setEditText(QStringLiteral("DISPLAY"));
    query->cbSearchClick();
    const QStringList hits = Lines(query);
    ASSERT_EQ(hits.size(), 5) << hits.join(QLatin1Char('|')).toStdString();
    query->HideColumn(2, true);

    const QString file = File(QStringLiteral("performs.vnq"));
    QStringList questions;
    query->AskUser = [&](const QString &question) {
        questions << question;
        return false;
    };
    ASSERT_TRUE(query->SaveAs(file));
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(query->windowTitle(), QStringLiteral("Velunor - performs on VN_FirstDataBase"));
    EXPECT_EQ(Service().Service().WindowList().last().Name, QStringLiteral("performs"));
    // A second Save As onto it asks first; No leaves the file as it was.
    const QByteArray saved = [&] {
        QFile in(file);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    }();
    query->FindRows()->Row(1)->cbValue->setEditText(QStringLiteral("GOBACK"));
    EXPECT_FALSE(query->SaveAs(file));
    EXPECT_EQ(questions, QStringList{QStringLiteral("Overwrite existing file?")});
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), saved);

    TVXQuery *again = NewQuery();
    again->OpenQueryDoc(file);
    ASSERT_EQ(again->FindRows()->Count(), 2);
    EXPECT_TRUE(again->FindRows()->Row(0)->rbOr->isChecked());
    EXPECT_TRUE(again->FindRows()->Row(1)->rbEnd->isChecked());
    EXPECT_EQ(again->FindRows()->Row(1)->Value(), QStringLiteral("DISPLAY"));
    EXPECT_EQ(again->windowTitle(), QStringLiteral("Velunor - performs on VN_FirstDataBase"));
    // The stored result, with its hidden column.
    ASSERT_FALSE(again->Grid()->isHidden());
    EXPECT_EQ(Lines(again), hits);
    EXPECT_TRUE(again->Grid()->isColumnHidden(2));
    EXPECT_FALSE(again->Grid()->isColumnHidden(3));
    // A search runs on the window's repository again.
    again->cbSearchClick();
    EXPECT_EQ(Lines(again), hits);
}

TEST_F(QueryCommandsTest, ADocumentOfAnotherDatabaseAsksAndFallsBackToTheCurrentOne)
{
    TVXQuery *query = NewQuery();
    SearchFor(query, QStringLiteral("MOVE"));
    const QString file = File(QStringLiteral("other.vnq"));
    query->SaveAs(file);
    QFile edit(file);
    ASSERT_TRUE(edit.open(QIODevice::ReadOnly));
    QByteArray bytes = edit.readAll();
    edit.close();
    bytes.replace("\n\rVN_FirstDataBase\n\r", "\n\rOTHERDB\n\r");
    ASSERT_TRUE(edit.open(QIODevice::WriteOnly | QIODevice::Truncate));
    edit.write(bytes);
    edit.close();

    TVXQuery *again = NewQuery();
    QStringList questions;
    again->AskUser = [&](const QString &question) {
        questions << question;
        return false;
    };
    again->OpenQueryDoc(file);
    EXPECT_EQ(questions, QStringList{QStringLiteral("Document is created against database OTHERDB\r"
                                                    "Do You want to use the document on current "
                                                    "database VN_FirstDataBase?")});
    // No keeps the stored database; it cannot be reached, so the current one is used.
    bool toldFailure = false;
    for (const VXTest::Message &message : std::as_const(Service().Messages))
        toldFailure = toldFailure
                      || message.Text
                                 == QStringLiteral("Connection to database OTHERDB failed\r"
                                                   "Connection is changed to current database "
                                                   "VN_FirstDataBase");
    EXPECT_TRUE(toldFailure);
    EXPECT_EQ(again->SourceDatabase, QStringLiteral("VN_FirstDataBase"));
    EXPECT_FALSE(Lines(again).isEmpty());

    // A document that is not one is named with the window's prefix.
    QFile broken(File(QStringLiteral("broken.vnq")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("title\n\r");
    broken.close();
    try {
        again->OpenQueryDoc(broken.fileName());
        FAIL() << "a broken document opened";
    } catch (const std::exception &e) {
        EXPECT_TRUE(VXMessage(e).startsWith(QLatin1String("TVXQuery.OpenQueryDoc: ")))
                << VXMessage(e).toStdString();
    }
}

TEST_F(QueryCommandsTest, TheResultFileHoldsItsHeaderAndTheVisibleColumns)
{
    TVXQuery *query = NewQuery();
    query->OutputResult()->setChecked(true);
    SearchFor(query, QStringLiteral("GOBACK"));
    ASSERT_EQ(Service().Messages.size(), 1);
    EXPECT_EQ(Service().Messages.first().Text,
              QStringLiteral("Could not write Result Output File, filename is missing"));

    const QString file = File(QStringLiteral("result.txt"));
    query->OutputFileName()->setText(file);
    query->cbSearchClick();
    query->AppendOutput()->setChecked(true);
    SearchFor(query, QStringLiteral("DISPLAY"));
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[0], QString());
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Result from ") + query->windowTitle()
                                    + QStringLiteral(" at ")));
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[3], QStringLiteral("System\tComputer\tApplication\tObject\tEntry\tLine of Code "
                                       "in Statement"));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("BILLING\t")));
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("GOBACK.")));
    // Appended: the second search follows the first.
    EXPECT_EQ(lines[5], QString());
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("Result from ")));
    EXPECT_TRUE(lines[9].endsWith(QStringLiteral("DISPLAY 'DONE'.")));

    query->OutputFileName()->setText(File(QStringLiteral("no/such/folder/result.txt")));
    Service().Messages.clear();
    EXPECT_FALSE(query->OutputToFile());
    ASSERT_EQ(Service().Messages.size(), 1);
    EXPECT_TRUE(Service().Messages.first().Text.startsWith(
            QStringLiteral("Could not open Result Output File: ")));
}

TEST_F(QueryCommandsTest, FindSelectsTheNextMatchingHitAndPrintWritesTheResult)
{
    TVXQuery *query = NewQuery();
    query->Print1Click();
    ASSERT_EQ(Service().Messages.size(), 1);
    EXPECT_EQ(Service().Messages.first().Text, QStringLiteral("Result is empty"));

    SearchFor(query, QStringLiteral("PERFORM"));
    query->FindOptions = {QStringLiteral("level-two"), false, false};
    query->FindDialog1Find();
    const int first = query->Grid()->currentIndex().row();
    EXPECT_TRUE(Lines(query).value(first).contains(QLatin1String("LEVEL-TWO")));
    query->FindDialog1Find();
    const int second = query->Grid()->currentIndex().row();
    EXPECT_GT(second, first);
    // Any visible cell counts: the entry the statement stands in as well.
    EXPECT_TRUE(Lines(query).value(second).contains(QLatin1String("LEVEL-TWO"))
                || query->Grid()->model()->index(second, 4).data() == QStringLiteral("LEVEL-TWO"));
    Service().Messages.clear();
    query->FindOptions = {QStringLiteral("nowhere"), false, false};
    query->FindDialog1Find();
    ASSERT_EQ(Service().Messages.size(), 1);
    EXPECT_EQ(Service().Messages.first().Text, QStringLiteral("Text not found"));

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(File(QStringLiteral("result.pdf")));
    EXPECT_TRUE(query->PrintResult(&printer));
    EXPECT_GT(QFile(printer.outputFileName()).size(), 1000);
}

TEST_F(QueryCommandsTest, ATrackRestrictsTheSearchAndIncludeRulesAddsTheConditions)
{
    TVXQuery *query = NewQuery();
    TVXItems track;
    // The paragraphs LEVEL-ONE and LEVEL-TWO of RUL001 (file 1, object 1000).
    for (const auto &[entry, text] : {std::pair{3000, "LEVEL-ONE"}, std::pair{4000, "LEVEL-TWO"}}) {
        track.AddItem(1, 0, 0, 0, 0, 1000, entry, 0, 0);
        track.AddLevel(1);
        track.AddText(QLatin1String(text));
        track.AddParentText(QStringLiteral("RUL001"));
    }
    TVXItemsSender sender(track);
    query->RefreshContent(nullptr, &sender, QStringLiteral("Entry Track"));
    EXPECT_EQ(query->InCaption(), QStringLiteral(" In Entry Track LEVEL-ONE - LEVEL-TWO: "));
    ASSERT_EQ(query->InRows()->Count(), 2);
    EXPECT_EQ(query->InRows()->Row(0)->cbAttribute->currentText(), QStringLiteral("Entrys Name"));
    EXPECT_EQ(query->InRows()->Row(1)->Value(), QStringLiteral("LEVEL-TWO"));
    EXPECT_FALSE(query->IncludeRules()->isHidden());

    SearchFor(query, QStringLiteral("MOVE"));
    const QStringList hits = Lines(query);
    EXPECT_EQ(hits,
              (QStringList{QStringLiteral("MOVE 1 TO WS-A."), QStringLiteral("MOVE 2 TO WS-A"),
                           QStringLiteral("MOVE 4 TO WS-B"), QStringLiteral("MOVE 9 TO WS-C")}))
            << hits.join(QLatin1Char('|')).toStdString();

    query->IncludeRules()->click();
    const QStringList withRules = Lines(query);
    // The rules since the hit before, each ahead of the hit it governs.
    EXPECT_EQ(withRules,
              (QStringList{QStringLiteral("MOVE 1 TO WS-A."), QStringLiteral("EVALUATE WS-C"),
                           QStringLiteral("WHEN 'X'"), QStringLiteral("MOVE 2 TO WS-A"),
                           QStringLiteral("WHEN 'Y'"), QStringLiteral("IF WS-B = 3"),
                           QStringLiteral("ELSE"), QStringLiteral("MOVE 4 TO WS-B"),
                           QStringLiteral("PERFORM VARYING WS-A FROM 1 BY 1 UNTIL WS-A > 5"),
                           QStringLiteral("IF WS-B > 1"), QStringLiteral("MOVE 9 TO WS-C")}))
            << withRules.join(QLatin1Char('|')).toStdString();
    const auto *result = qobject_cast<const TVXQueryResultModel *>(query->Grid()->model());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(TVXQuery::RowColour(result->Row(0)), QColor(0xFF, 0, 0)) << "a hit, red";
    EXPECT_EQ(TVXQuery::RowColour(result->Row(1)), QColor(0, 0x80, 0)) << "a rule, green";

    // Indent: two blanks per level, taken away again.
    query->Indent()->click();
    const QString indented = result->Row(1).QRRow;
    EXPECT_EQ(indented,
              QStringLiteral("  ").repeated(result->Row(1).QRSectionLevel) + indented.trimmed());
    query->Indent()->click();
    EXPECT_EQ(result->Row(1).QRRow, indented.trimmed());

    query->IncludeRules()->click();
    EXPECT_EQ(Lines(query), hits);

    query->cbClearInClick();
    EXPECT_EQ(query->InCaption(), QStringLiteral(" In: "));
    EXPECT_EQ(query->InItems().Count(), 0);
    EXPECT_TRUE(query->IncludeRules()->isHidden());

    // Edit > Clear Query empties the rows and the result area.
    for (QAction *menu : query->menuBar()->actions())
        if (menu->text() == QLatin1String("Edit"))
            for (QAction *action : menu->menu()->actions())
                if (action->text() == QLatin1String("Clear Query"))
                    action->trigger();
    EXPECT_TRUE(query->Grid()->isHidden());
    EXPECT_EQ(query->FindRows()->Row(0)->Value(), QString());
    EXPECT_EQ(query->HitLabel(), QStringLiteral("Result will be displayed in this area"));
}

TEST_F(QueryCommandsTest, TheGridMenuOpensTheRowsAroundAndTheRulesOfTheCurrentHit)
{
    TVXQuery *query = NewQuery();
    SearchFor(query, QStringLiteral("WS-C"));
    const int row = int(Lines(query).indexOf(QStringLiteral("MOVE 9 TO WS-C")));
    ASSERT_GE(row, 0);
    query->Grid()->selectRow(row);
    for (QAction *action : query->GridMenu()->actions())
        if (action->text() == QLatin1String("Show Rows Around")
            || action->text() == QLatin1String("Show Rules for Row"))
            action->trigger();
    auto *rows = query->findChild<TVXRowsAround *>();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->Lines().filter(QStringLiteral("---> ")).size(), 1);
    EXPECT_TRUE(rows->Lines()
                        .filter(QStringLiteral("---> "))
                        .first()
                        .contains(QLatin1String("MOVE 9 TO WS-C")));
    auto *rules = query->findChild<TVXRulesForRow *>();
    ASSERT_NE(rules, nullptr);
    EXPECT_EQ(rules->tvRulesForRow->topLevelItem(0)->text(0),
              QStringLiteral("*** Rules in Entry LEVEL-TWO [RUL001] ***"));
}

TEST_F(QueryCommandsTest, EnterInAFindRowSearchesAndTheHitsTakeTheFocus)
{
    TVXQuery *query = NewQuery();
    query->show();
    QApplication::setActiveWindow(query);
    QComboBox *value = query->FindRows()->Row(0)->cbValue;
    value->setFocus();
    value->setEditText(QStringLiteral("GOBACK"));
    QTest::keyClick(value->lineEdit(), Qt::Key_Return);
    ASSERT_FALSE(query->Grid()->isHidden());
    EXPECT_EQ(Lines(query), QStringList{QStringLiteral("GOBACK.")});
    EXPECT_EQ(query->Grid()->currentIndex().row(), 0);
}

TEST_F(QueryCommandsTest, TheHistoryDialogOffersItsMenuAndCloses)
{
    TVXQueryHistory history(nullptr, nullptr);
    EXPECT_EQ(history.windowTitle(), QStringLiteral("Query History"));
    QStringList captions;
    for (const QAction *action : history.Menu()->actions())
        captions << action->text();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Clear this row"), QStringLiteral("Clear all rows")}));
}

} // namespace
