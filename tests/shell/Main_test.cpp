// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up and shutdown, run inside the test process.
#include "Testsupport.h"
#include "base/Classregistry.h"

#include "shell/host/Main.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace VXTest;

namespace {

struct Started
{
    Home HomeFolder;
    std::unique_ptr<PackageFolder> Packages;
    QStringList Messages;
    std::unique_ptr<TVXMain> Main;

    Started(const QStringList &packages, const QStringList &arguments)
        : Packages(std::make_unique<PackageFolder>(packages))
    {
        WriteVnIni(HomeFolder.Path(), QStringLiteral("[APPLICATION]\nBPLPATH=") + Packages->Path()
                                              + QLatin1Char('\n'));
        TVXMain::Options options;
        options.Arguments = arguments;
        options.ShowMessage = [this](const QString &text) { Messages << text; };
        Main = std::make_unique<TVXMain>(options);
    }
};

const QStringList Packages = {QStringLiteral("vxlib1000.so=fx_windows.so"),
                              QStringLiteral("vxlib0200.so=fx_driver_inmemory.so"),
                              QStringLiteral("vxlib0500.so=fx_lang_a.so")};

} // namespace

TEST(Main, NoArgumentsOpensAnEmptyView)
{
    Started started(Packages, {});
    ASSERT_TRUE(started.Main->IsOpen()) << started.Messages.join(' ').toStdString();
    EXPECT_TRUE(started.Messages.isEmpty());
    ASSERT_NE(started.Main->Splash(), nullptr);
    EXPECT_EQ(started.Main->Splash()->size(), QSize(TVXMain::SplashWidth, TVXMain::SplashHeight));
    EXPECT_TRUE(started.Main->Splash()->windowFlags() & Qt::FramelessWindowHint);

    const QStringList list = started.Main->PackageList();
    ASSERT_EQ(list.size(), 4);
    EXPECT_TRUE(list[0].endsWith(QStringLiteral(":vxlib1000.so")));
    EXPECT_TRUE(list[1].endsWith(QStringLiteral(":vxlib0100.so")));

    auto service = dynamic_cast<TVXBaseFunctions *>(started.Main->BaseFunctions());
    ASSERT_NE(service, nullptr);
    ASSERT_EQ(service->WindowList().size(), 1);
    EXPECT_EQ(service->WindowList().at(0).Name, QStringLiteral("View [1]"));

    bool closed = false;
    QObject::connect(started.Main.get(), &TVXMain::Closed, [&] { closed = true; });
    service->ExitApplication();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(started.Main->IsOpen());

    started.Main.reset();
    EXPECT_FALSE(VXClassRegistry().Contains(QStringLiteral("TVXView")))
            << "shutdown unloads the packages";
}

TEST(Main, StartUpErrorsAreShownAndEndTheApplication)
{
    Started unknown(Packages, {QStringLiteral("readme.txt")});
    EXPECT_FALSE(unknown.Main->IsOpen());
    EXPECT_EQ(unknown.Messages, QStringList{QStringLiteral("Unknown document type")});
    EXPECT_EQ(unknown.Main->ExitCode(), 1);

    Started missing(Packages, {QStringLiteral("report.vnd")});
    EXPECT_FALSE(missing.Main->IsOpen());
    ASSERT_EQ(missing.Messages.size(), 1);
    EXPECT_TRUE(missing.Messages[0].contains(QStringLiteral("TVXDocument")))
            << missing.Messages[0].toStdString();

    Started broken({QStringLiteral("vxlib0200.so=fx_driver_inmemory.so"),
                    QStringLiteral("vxlib0300.so=fx_failinit.so")},
                   {});
    EXPECT_FALSE(broken.Main->IsOpen());
    ASSERT_EQ(broken.Messages.size(), 1);
    EXPECT_TRUE(broken.Messages[0].startsWith(QStringLiteral("CheckPackages: ")));
}
