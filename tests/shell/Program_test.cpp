// SPDX-License-Identifier: GPL-3.0-or-later
// The velunor program itself, run as a process without a display.
#include "Testsupport.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace VXTest;

namespace {

struct ProgramRun
{
    int ExitCode = -1;
    QString Errors;
};

ProgramRun RunVelunor(const Home &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("VELUNOR_HOME"), home.Path());
    process.setProcessEnvironment(environment);
    process.start(PackageDir() + QStringLiteral("velunor"), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

TEST(Program, WithoutADisplayItExplainsWhatItCannotDo)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib1000.so=fx_windows.so"),
                          QStringLiteral("vxlib0200.so=fx_driver_inmemory.so")});
    WriteVnIni(home.Path(),
               QStringLiteral("[APPLICATION]\nBPLPATH=") + folder.Path() + QLatin1Char('\n'));

    const ProgramRun unknown = RunVelunor(home, {QStringLiteral("notes.txt")});
    EXPECT_EQ(unknown.ExitCode, 1);
    EXPECT_TRUE(unknown.Errors.contains(QStringLiteral("Unknown document type")))
            << unknown.Errors.toStdString();

    const ProgramRun view = RunVelunor(home, {});
    EXPECT_EQ(view.ExitCode, 1);
    EXPECT_TRUE(view.Errors.contains(QStringLiteral("needs a display")))
            << view.Errors.toStdString();

    const ProgramRun load = RunVelunor(
            home, {QStringLiteral("load_into_db_named"), QStringLiteral("VN_FirstDataBase")});
    // The fixture driver holds no tables: the run stops, and its status says so, so that a
    // scheduled job does not take the repository for current.
    EXPECT_EQ(load.ExitCode, 1) << load.Errors.toStdString();
    QFile log(home.Path() + QStringLiteral("LoadLog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("*** Load interupted at "));
}

TEST(Program, AFailingPackageAbortsStartUp)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib0200.so=fx_driver_inmemory.so"),
                          QStringLiteral("vxlib0300.so=fx_failinit.so")});
    WriteVnIni(home.Path(),
               QStringLiteral("[APPLICATION]\nBPLPATH=") + folder.Path() + QLatin1Char('\n'));
    const ProgramRun run = RunVelunor(home, {});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Errors.contains(QStringLiteral("CheckPackages: "))) << run.Errors.toStdString();
    EXPECT_TRUE(run.Errors.contains(QStringLiteral("the fixture refuses to start")));
}
