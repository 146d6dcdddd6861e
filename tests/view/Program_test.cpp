// SPDX-License-Identifier: GPL-3.0-or-later
// The program started with the real views package: its first window is the View.
#include "Testsupport.h"
#include "base/Classregistry.h"

#include "shell/host/Main.h"

#include <QAbstractItemModel>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace VXTest;

TEST(Program, NoArgumentOpensTheFirstViewOnTheDefaultDatabase)
{
    Home home;
    PackageFolder packages({QStringLiteral("vxlib1000.so"), QStringLiteral("vxlib0200.so"),
                            QStringLiteral("vxlib5000.so")});
    WriteVnIni(home.Path(),
               QStringLiteral("[APPLICATION]\nBPLPATH=") + packages.Path() + QLatin1Char('\n'));
    QStringList messages;
    TVXMain::Options options;
    options.ShowMessage = [&messages](const QString &text) { messages << text; };
    auto main = std::make_unique<TVXMain>(options);
    ASSERT_TRUE(main->IsOpen()) << messages.join(' ').toStdString();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();

    // The form preview comes with the views; its package of its own is not loaded.
    EXPECT_TRUE(VXClassRegistry().Contains(QStringLiteral("TVXFormShow")));
    for (const QString &package : main->PackageList())
        EXPECT_FALSE(package.endsWith(QLatin1String("vxlib5000.so"))) << package.toStdString();

    auto *service = dynamic_cast<TVXBaseFunctions *>(main->BaseFunctions());
    ASSERT_NE(service, nullptr);
    ASSERT_EQ(service->WindowList().size(), 1);
    EXPECT_EQ(service->WindowList().at(0).Name, QStringLiteral("View [1]"));
    TVXFormInterface *view = service->WindowList().at(0).Window;
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Velunor - View [1] on VN_FirstDataBase"));
    auto *tree = view->findChild<QTreeView *>(QStringLiteral("tvMain"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->model()->index(0, 0).data().toString(),
              QStringLiteral("  *** Source Database is empty, choose Tools/Load on the Main Menu "
                             "to load the Database ***"));

    service->ExitApplication();
    main.reset();
    EXPECT_FALSE(VXClassRegistry().Contains(QStringLiteral("TVXView")));
}
