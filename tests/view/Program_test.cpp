// SPDX-License-Identifier: GPL-3.0-or-later
// The program started with the real views package: its first window is the View.
#include "Mainframeapplication.h"
#include "Testsupport.h"
#include "base/Classregistry.h"

#include "shell/host/Main.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
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

// The program itself, as a process, over an application of some hundred files loaded by
// velunor-cli: it comes up with the View and keeps running until it is ended.
TEST(Program, TheDesktopProgramOpensOnALoadedApplication)
{
    Home home;
    const VXTest::GeneratedApplication app
            = VXTest::WriteMainframeApplication(home.File(QStringLiteral("src")), 1);
    ASSERT_GT(app.Files, 200);
    ASSERT_EQ(RunCli(home.Path(), {QStringLiteral("languages"), QStringLiteral("extensions"),
                                   QStringLiteral("IBMCOB"), QStringLiteral(".ibmcob;.cbl;.cpy")})
                      .Code,
              0);
    ASSERT_EQ(RunCli(home.Path(), {QStringLiteral("sources"), QStringLiteral("add-folder"),
                                   home.File(QStringLiteral("src")), QStringLiteral("--system"),
                                   QStringLiteral("PAYROLL"), QStringLiteral("--yes")})
                      .Code,
              0);
    const CliResult load = RunCli(home.Path(), {QStringLiteral("load")});
    ASSERT_EQ(load.Code, 0) << load.Err.toStdString();

    QProcess velunor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("VELUNOR_HOME"), home.Path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("VELUNOR_STARTUP_TRACE"), QStringLiteral("1"));
    velunor.setProcessEnvironment(environment);
    velunor.start(PackageDir() + QStringLiteral("velunor"), {});
    ASSERT_TRUE(velunor.waitForStarted(10000));
    QByteArray errors;
    QElapsedTimer waited;
    waited.start();
    while (!errors.contains("first window shown") && waited.elapsed() < 30000
           && velunor.state() == QProcess::Running) {
        velunor.waitForReadyRead(500);
        errors += velunor.readAllStandardError();
    }
    EXPECT_TRUE(errors.contains("first window shown")) << errors.toStdString();
    // The View reads the root items on opening; the program must still be there after it.
    QThread::msleep(500);
    EXPECT_EQ(velunor.state(), QProcess::Running) << errors.toStdString();
    velunor.terminate();
    EXPECT_TRUE(velunor.waitForFinished(10000));
    errors += velunor.readAllStandardError();
    for (const QByteArray &line : errors.split('\n')) {
        if (line.startsWith("velunor:")) {
            EXPECT_TRUE(line.contains(" at ")) << "only the start-up trace: " << line.toStdString();
        }
    }
}
