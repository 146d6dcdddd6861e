// SPDX-License-Identifier: GPL-3.0-or-later
// The Query window over the sample application: a search composed in its rows, its hits in
// the grid, and the SQL page.
#include "Testsupport.h"
#include "base/Package.h"

#include "query/Queryrows.h"
#include "query/window/Query.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

TEST(QueryWindow, ASearchFromItsRowsFillsTheGrid)
{
    VXTest::Home home;
    for (const auto &[language, list] :
         {std::pair{"IBMCOB", ".cbl;.cpy"}, std::pair{"IBMJCL", ".jcl"}, std::pair{"BMS", ".bms"}})
        ASSERT_EQ(VXTest::RunCli(home.Path(),
                                 {QStringLiteral("languages"), QStringLiteral("extensions"),
                                  QLatin1String(language), QLatin1String(list)})
                          .Code,
                  0);
    ASSERT_EQ(VXTest::RunCli(home.Path(), {QStringLiteral("sources"), QStringLiteral("add-folder"),
                                           QStringLiteral(VELUNOR_SOURCE_DIR "/samples/billing"),
                                           QStringLiteral("--system"), QStringLiteral("BILLING"),
                                           QStringLiteral("--yes")})
                      .Code,
              0);
    ASSERT_EQ(VXTest::RunCli(home.Path(), {QStringLiteral("load")}).Code, 0);

    VXTest::PackageFolder packages({QStringLiteral("vxlib0200.so")});
    TVXPackageRegistration registration(QStringLiteral("query_gui_tests"));
    registration.RegisterClass<TVXQuery>(QStringLiteral("TVXQuery"));
    {
        VXTest::Session session(packages.Path());
        ASSERT_EQ(session.Service().NewWindow(QStringLiteral("Query"), QString(), QString(),
                                              nullptr, QString()),
                  QString());
        auto *query = dynamic_cast<TVXQuery *>(session.Service().WindowList().last().Window);
        ASSERT_NE(query, nullptr);
        EXPECT_EQ(query->windowTitle(), QStringLiteral("Velunor - Query [1] on VN_FirstDataBase"));
        EXPECT_EQ(query->HitLabel(), QStringLiteral("Result will be displayed in this area"));

        TVXQueryRow *find = query->FindRows()->Row(0);
        find->cbValue->setEditText(QStringLiteral("move"));
        query->cbSearchClick();
        ASSERT_FALSE(query->Grid()->isHidden());
        const int hits = query->Grid()->model()->rowCount();
        EXPECT_GT(hits, 5);
        EXPECT_TRUE(query->HitLabel().contains(QLatin1String(" hits in ")))
                << query->HitLabel().toStdString();
        EXPECT_TRUE(query->OrderLabel().startsWith(QLatin1String("Order by: ")));
        EXPECT_TRUE(query->Grid()->isColumnHidden(6)) << "the name columns and the line only";
        EXPECT_FALSE(query->Grid()->isColumnHidden(5));

        // The grid's popup menu: columns hidden and shown, sorted and sorted further.
        QMenu *menu = query->GridMenu();
        QAction *hide = menu->findChild<QAction *>(QStringLiteral("HideQRApplicationName"));
        ASSERT_NE(hide, nullptr);
        hide->trigger();
        EXPECT_TRUE(query->Grid()->isColumnHidden(2));
        menu = query->GridMenu();
        ASSERT_NE(menu->findChild<QAction *>(QStringLiteral("ShowQRApplicationName")), nullptr);
        menu->findChild<QAction *>(QStringLiteral("SortQRObjectName"))->trigger();
        EXPECT_EQ(query->OrderLabel(), QStringLiteral("Order by: Object"));
        query->GridMenu()->findChild<QAction *>(QStringLiteral("AndSortQREntryName"))->trigger();
        EXPECT_EQ(query->OrderLabel(), QStringLiteral("Order by: Object, Entry"));
        const QAbstractItemModel *grid = query->Grid()->model();
        for (int row = 1; row < grid->rowCount(); ++row)
            EXPECT_LE(grid->index(row - 1, 3).data().toString(),
                      grid->index(row, 3).data().toString());

        // Copy: the visible columns of the selected hits, by tabs.
        query->Grid()->selectRow(0);
        query->CopyHits();
        const QStringList cells = QApplication::clipboard()->text().split(QLatin1Char('\t'));
        EXPECT_EQ(cells.size(), 5) << "six columns, one hidden";
        EXPECT_EQ(cells.first(), QStringLiteral("BILLING"));

        // New View of a hit: the View answers from the service (not loaded here), prefixed.
        session.Messages.clear();
        for (QAction *action : query->GridMenu()->findChildren<QAction *>())
            if (action->text() == QLatin1String("New View"))
                action->trigger();
        ASSERT_EQ(session.Messages.size(), 1);
        EXPECT_TRUE(
                session.Messages.first().Text.startsWith(QLatin1String("TVXQuery.NewView1Click: ")))
                << session.Messages.first().Text.toStdString();

        // The SQL page shows the last statement's rows.
        query->Pages()->setCurrentIndex(1);
        query->SqlText()->setPlainText(QStringLiteral("SELECT COUNT(*) FROM VXFILE"));
        query->cbSearchClick();
        ASSERT_EQ(query->Grid()->model()->rowCount(), 1);
        EXPECT_EQ(query->Grid()->model()->index(0, 0).data().toInt(), 19);

        query->cbClearAllClick();
        EXPECT_EQ(query->HitLabel(), QStringLiteral("Result will be displayed in this area"));
        EXPECT_EQ(query->FindRows()->Count(), 1);
        query->close();
    }
}
