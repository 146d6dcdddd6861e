// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time of velunor, from process start to the first window, with the delivered
// packages and with 25 language packages more.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QString PackageDir = QStringLiteral(VELUNOR_PACKAGE_DIR "/");

// The packages of the build, with stand-ins for what is not built yet (a View window, a
// repository driver), so that the program reaches its first window.
void LinkPackages(const QString &folder, bool withLanguages)
{
    const QStringList built
            = QDir(PackageDir).entryList({QStringLiteral("vxlib*.so")}, QDir::Files);
    for (const QString &name : built)
        QFile::link(PackageDir + name, folder + name);
    if (!built.contains(QStringLiteral("vxlib1000.so")))
        QFile::link(QStringLiteral(VELUNOR_FIXTURE_DIR "/fx_windows.so"),
                    folder + QStringLiteral("vxlib1000.so"));
    if (!built.contains(QStringLiteral("vxlib0200.so")))
        QFile::link(QStringLiteral(VELUNOR_FIXTURE_DIR "/fx_driver_inmemory.so"),
                    folder + QStringLiteral("vxlib0200.so"));
    if (!withLanguages)
        return;
    const QString languages = QStringLiteral(BENCH_LANGUAGE_DIR "/");
    for (const QString &name :
         QDir(languages).entryList({QStringLiteral("vxlib0*.so")}, QDir::Files))
        QFile::link(languages + name, folder + name);
}

double StartOnce(const QString &home)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("VELUNOR_HOME"), home);
    environment.insert(QStringLiteral("VELUNOR_STARTUP_TRACE"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.setReadChannel(QProcess::StandardError);
    process.start(PackageDir + QStringLiteral("velunor"), {});
    QByteArray seen;
    while (!seen.contains("first window shown") && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(100);
        seen += process.readAllStandardError();
    }
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    process.kill();
    process.waitForFinished();
    if (!seen.contains("first window shown")) {
        std::fprintf(stderr, "velunor did not reach its first window:\n%s\n", seen.constData());
        return -1;
    }
    return milliseconds;
}

void Measure(const char *label, bool withLanguages)
{
    QTemporaryDir home, packages;
    LinkPackages(packages.path() + QLatin1Char('/'), withLanguages);
    QFile ini(home.filePath(QStringLiteral("VN.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[APPLICATION]\nBPLPATH=" + QFile::encodeName(packages.path()) + "/\n");
    ini.close();

    StartOnce(home.path()); // the first start writes the settings files
    QList<double> runs;
    for (int i = 0; i < 7; ++i)
        runs << StartOnce(home.path());
    std::sort(runs.begin(), runs.end());
    const int count = int(QDir(packages.path()).entryList({QStringLiteral("vxlib*.so")}).size());
    std::printf("%-32s %3d packages  median %7.1f ms  best %7.1f ms  worst %7.1f ms\n", label,
                count, runs[runs.size() / 2], runs.first(), runs.last());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    std::printf("Start-up, process start to first window (goal: under 300 ms)\n");
    Measure("delivered packages", false);
    Measure("with 25 language packages", true);
    return 0;
}
