// SPDX-License-Identifier: GPL-3.0-or-later
// A first load of a generated CICS and batch application through the real entry point,
// `velunor-cli load` run as a process on a fresh repository, beside Universal Ctags over
// the same files, and beside a raw SQLite C-API insert of the words the load stored.
//
//   load_bench [scale] [--keep folder] [--drivers]
//
// scale 1 is about 240 files (the default is 4). With --keep the sources, the settings
// folder and the repository are written into that folder and stay there. Prints the files,
// lines, the load's wall time, lines per second and peak memory, the time of each of its
// phases, ctags' time and the ratio of the rates, how long the writer waited for the
// worker threads that parse and the same load with the writer parsing every file itself,
// and the raw insert's time and the load's multiple of it; then velunor-cli query beside ripgrep
// (all hits of a common verb, its first 40, a contains search), an unchanged reload and one after
// 1% of the files changed, as shares of the first load. With --drivers the same tree is then loaded
// into a Firebird database file and, through ODBC, into a PostgreSQL server started for the run,
// each with its rate as a share of the SQLite load's.
#include "Benchprocess.h"
#include "Mainframeapplication.h"
#include "Rawsqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

int Run(const QString &program, const QStringList &arguments, const QString &home,
        QByteArray *output = nullptr)
{
    return VXBenchRun(program, arguments, home, output);
}

struct LoadRun
{
    bool Ok = false;
    double Seconds = 0;
    qint64 PeakKb = 0; // 0 where /usr/bin/time is missing
    QByteArray Report;
};

// velunor-cli load as a process, under /usr/bin/time for its peak memory where that exists.
LoadRun Load(const QString &cli, const QString &home, const QStringList &options = {})
{
    LoadRun run;
    QString program = cli;
    QStringList arguments = QStringList{QStringLiteral("load")} + options;
    if (QFile::exists(QStringLiteral("/usr/bin/time"))) {
        arguments.prepend(cli);
        arguments.prepend(QStringLiteral("peak-rss-kb %M"));
        arguments.prepend(QStringLiteral("-f"));
        program = QStringLiteral("/usr/bin/time");
    }
    QElapsedTimer timer;
    timer.start();
    run.Ok = Run(program, arguments, home, &run.Report) == 0;
    run.Seconds = timer.nsecsElapsed() / 1e9;
    for (const QByteArray &line : run.Report.split('\n'))
        if (line.startsWith("peak-rss-kb "))
            run.PeakKb = line.mid(12).trimmed().toLongLong();
    return run;
}

// The same tree into another repository, named and made by the given commands.
void LoadElsewhere(const char *label, const QString &cli, const QString &home,
                   const QString &sources, const QStringList &addDatabase, double sqliteSeconds,
                   qint64 lines)
{
    const QString name = addDatabase.value(2);
    if (Run(cli, addDatabase, home) != 0
        || Run(cli,
               {QStringLiteral("sources"), QStringLiteral("add-folder"), sources,
                QStringLiteral("--system"), QStringLiteral("BENCH"), QStringLiteral("--yes"),
                QStringLiteral("--db"), name},
               home)
                   != 0) {
        std::printf("%s: the repository could not be set up\n", label);
        return;
    }
    const LoadRun run = Load(cli, home, {QStringLiteral("--db"), name});
    if (!run.Ok) {
        std::printf("%s: the load failed\n", label);
        return;
    }
    std::printf("velunor-cli load (first load, %s): %.2f s, %.0f lines/s, %.0f%% of the SQLite "
                "rate, peak %lld MB\n",
                label, run.Seconds, lines / run.Seconds, 100.0 * sqliteSeconds / run.Seconds,
                run.PeakKb / 1024);
    for (const QByteArray &line : run.Report.split('\n'))
        if (line.startsWith("load phase "))
            std::printf("  %s\n", line.mid(5).constData());
}

// Seconds a process takes, its output thrown away; negative when it failed.
double Timed(const QString &program, const QStringList &arguments, const QString &home)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELUNOR_HOME"), home);
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() > 1)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

// The best of three runs: the first warms the page cache for both sides alike.
double Best(const QString &program, const QStringList &arguments, const QString &home)
{
    double best = -1;
    for (int run = 0; run < 3; ++run) {
        const double seconds = Timed(program, arguments, home);
        if (seconds < 0)
            return -1;
        best = best < 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

// velunor-cli query as a user runs it, beside ripgrep over the same files.
void Searches(const QString &cli, const QString &home, const QString &sources)
{
    const QString rg = QStandardPaths::findExecutable(QStringLiteral("rg"));
    struct Search
    {
        const char *Label;
        QStringList Query, Grep;
    };
    const QStringList word{QStringLiteral("query"), QStringLiteral("--find"),
                           QStringLiteral("Any Word"), QStringLiteral("equals"),
                           QStringLiteral("MOVE")};
    const Search searches[] = {
            {"every hit of a common verb (MOVE)",
             word,
             {QStringLiteral("-n"), QStringLiteral("-w"), QStringLiteral("-i"),
              QStringLiteral("MOVE"), sources}},
            {"the first 40 hits of it",
             word + QStringList{QStringLiteral("--limit"), QStringLiteral("40")},
             {QStringLiteral("-n"), QStringLiteral("-w"), QStringLiteral("-i"),
              QStringLiteral("MOVE"), sources}},
            {"every word containing CUST",
             {QStringLiteral("query"), QStringLiteral("--find"), QStringLiteral("Any Word"),
              QStringLiteral("contains"), QStringLiteral("CUST")},
             {QStringLiteral("-n"), QStringLiteral("-i"), QStringLiteral("CUST"), sources}},
    };
    for (const Search &search : searches) {
        const double ours = Best(cli, search.Query, home);
        const double theirs = rg.isEmpty() ? -1 : Best(rg, search.Grep, home);
        if (ours < 0) {
            std::printf("velunor-cli query, %s: failed\n", search.Label);
            continue;
        }
        if (theirs > 0)
            std::printf(
                    "velunor-cli query, %s: %.3f s; rg %s: %.3f s; %.2f times rg's time\n",
                    search.Label, ours,
                    qPrintable(search.Grep.mid(0, search.Grep.size() - 1).join(QLatin1Char(' '))),
                    theirs, ours / theirs);
        else
            std::printf("velunor-cli query, %s: %.3f s (no rg)\n", search.Label, ours);
        std::fflush(stdout);
    }
}

// An unchanged reload, and one after every hundredth program changed, as shares of the
// first load.
void Reloads(const QString &cli, const QString &home, const QString &sources, double firstLoad)
{
    const LoadRun unchanged = Load(cli, home);
    if (!unchanged.Ok)
        return;
    std::printf("unchanged reload: %.2f s, %.1f%% of the first load\n", unchanged.Seconds,
                100.0 * unchanged.Seconds / firstLoad);
    const QFileInfoList programs
            = QDir(sources).entryInfoList({QStringLiteral("*.cbl"), QStringLiteral("*.jcl"),
                                           QStringLiteral("*.bms"), QStringLiteral("*.cpy")},
                                          QDir::Files, QDir::Name);
    int changed = 0;
    for (qsizetype i = 0; i < programs.size(); i += 100) {
        QFile file(programs[i].absoluteFilePath());
        if (!file.open(QIODevice::Append))
            continue;
        file.write(programs[i].suffix() == QLatin1String("jcl")   ? "//* CHANGED\n"
                   : programs[i].suffix() == QLatin1String("bms") ? "* CHANGED\n"
                                                                  : "      * CHANGED\n");
        ++changed;
    }
    const LoadRun reload = Load(cli, home);
    if (reload.Ok)
        std::printf("reload after %d of %lld files changed: %.2f s, %.1f%% of the first load\n",
                    changed, static_cast<long long>(programs.size()), reload.Seconds,
                    100.0 * reload.Seconds / firstLoad);
    std::fflush(stdout);
}

// A throwaway PostgreSQL server and an ODBC connection text to a new database on it.
QString StartPostgres(const QString &folder)
{
    const QString port = VXBenchStartPostgres(folder);
    if (port.isEmpty())
        return {};
    if (QProcess::execute(QStringLiteral("psql"),
                          {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                           port, QStringLiteral("-U"), QStringLiteral("postgres"),
                           QStringLiteral("-q"), QStringLiteral("-c"),
                           QStringLiteral("CREATE DATABASE vx_load")})
        != 0)
        return {};
    return QStringLiteral("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Uid=postgres;"
                          "Pwd=;Database=vx_load;")
            .arg(port);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    QString keep;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--keep")); at >= 0) {
        keep = arguments.value(at + 1);
        arguments.remove(at, 2);
    }
    const bool drivers = arguments.removeAll(QStringLiteral("--drivers")) > 0;
    const int scale = arguments.isEmpty() ? 4 : arguments.first().toInt();
    QTemporaryDir temporary;
    const QString root = keep.isEmpty() ? temporary.path() : QDir(keep).absolutePath();
    const QString sources = root + QStringLiteral("/src");
    const QString home = root + QStringLiteral("/home/");
    QDir().mkpath(home);
    const VXTest::GeneratedApplication app = VXTest::WriteMainframeApplication(sources, scale);

    const QString cli = QStringLiteral(VELUNOR_PACKAGE_DIR "/velunor-cli");
    const auto configure = [&](const QString &settings) {
        return Run(cli,
                   {QStringLiteral("languages"), QStringLiteral("extensions"),
                    QStringLiteral("IBMCOB"), QStringLiteral(".ibmcob;.cbl;.cpy")},
                   settings)
                       == 0
               && Run(cli,
                      {QStringLiteral("sources"), QStringLiteral("add-folder"), sources,
                       QStringLiteral("--system"), QStringLiteral("BENCH"),
                       QStringLiteral("--yes")},
                      settings)
                          == 0;
    };
    if (!configure(home))
        return 1;

    // The load says where its time goes.
    qputenv("VELUNOR_LOAD_TIMINGS", "1");
    const LoadRun load = Load(cli, home);
    const double loadSeconds = load.Seconds;
    const QByteArray &report = load.Report;
    if (!load.Ok)
        return 1;
    QElapsedTimer timer;

    double ctagsSeconds = 0;
    const QString ctags = QStandardPaths::findExecutable(QStringLiteral("ctags"));
    if (!ctags.isEmpty()) {
        timer.restart();
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(ctags, {QStringLiteral("-R"), QStringLiteral("--languages=Cobol"),
                              QStringLiteral("--langmap=Cobol:.cbl.cpy"), QStringLiteral("-f"),
                              QStringLiteral("-"), sources});
        process.waitForFinished(-1);
        ctagsSeconds = timer.nsecsElapsed() / 1e9;
    }

    std::printf("files %d, lines %lld\n", app.Files, static_cast<long long>(app.Lines));
    std::printf("velunor-cli load (first load, SQLite): %.2f s, %.0f lines/s, peak %lld MB\n",
                loadSeconds, app.Lines / loadSeconds, load.PeakKb / 1024);
    if (ctagsSeconds > 0)
        std::printf("ctags -R over the same files: %.3f s, %.0f lines/s; ratio load/ctags %.4f\n",
                    ctagsSeconds, app.Lines / ctagsSeconds, ctagsSeconds / loadSeconds);
    for (const QByteArray &line : report.split('\n'))
        if (line.startsWith("load phase "))
            std::printf("  %s\n", line.mid(5).constData());

    // Parsing runs in worker threads: what of it the writer still waits for is all the
    // parse adds to the storing.
    double waited = 0;
    for (const QByteArray &line : report.split('\n'))
        if (line.startsWith("load phase writer waiting for parsers: "))
            waited = line.mid(39).trimmed().split(' ').value(0).toDouble();
    std::printf("parsing in worker threads: the writer waited %.2f s for them; the load takes "
                "%.3f times the time of its storing alone\n",
                waited, loadSeconds > waited ? loadSeconds / (loadSeconds - waited) : 0.0);
    {
        // The same load with every file parsed by the writer itself, into a repository of
        // its own that goes when it was timed.
        const QString serialHome = root + QStringLiteral("/home-serial/");
        QDir().mkpath(serialHome);
        qputenv("VELUNOR_PARSE_THREADS", "0");
        const LoadRun serial = configure(serialHome) ? Load(cli, serialHome) : LoadRun();
        qunsetenv("VELUNOR_PARSE_THREADS");
        QDir(serialHome).removeRecursively();
        if (serial.Ok)
            std::printf("the same load parsed by the writer alone: %.2f s; the worker threads "
                        "take %.1f%% off\n",
                        serial.Seconds, 100.0 * (serial.Seconds - loadSeconds) / serial.Seconds);
        else
            std::printf("the same load parsed by the writer alone failed\n");
    }

    // The yardstick of storing: the words this load stored, inserted raw.
    const std::vector<TVXBenchWord> words
            = VXStoredWords(home + QStringLiteral("VN_FirstDataBase.sqlite"));
    const double rawSeconds = VXRawSqliteInsert(words, root + QStringLiteral("/raw.sqlite"));
    std::printf("raw SQLite C-API insert of the %zu stored words: %.2f s; the load takes %.1f "
                "times as long\n",
                words.size(), rawSeconds, rawSeconds > 0 ? loadSeconds / rawSeconds : 0.0);
    std::fflush(stdout);

    Searches(cli, home, sources);
    Reloads(cli, home, sources, loadSeconds);

    if (drivers) {
        LoadElsewhere("Firebird embedded", cli, home, sources,
                      {QStringLiteral("databases"), QStringLiteral("add"),
                       QStringLiteral("BENCHFB"), QStringLiteral("--type"),
                       QStringLiteral("InterBase"), QStringLiteral("--create-file")},
                      loadSeconds, app.Lines);
        std::fflush(stdout);
        const QString cluster
                = QStringLiteral("/tmp/velunor-pg-load-%1").arg(QCoreApplication::applicationPid());
        const QString postgres = StartPostgres(cluster);
        if (postgres.isEmpty())
            std::printf("ODBC (PostgreSQL): no server could be started\n");
        else
            LoadElsewhere("ODBC to PostgreSQL", cli, home, sources,
                          {QStringLiteral("databases"), QStringLiteral("add"),
                           QStringLiteral("BENCHPG"), QStringLiteral("--type"),
                           QStringLiteral("ODBC"), QStringLiteral("--connection"), postgres},
                          loadSeconds, app.Lines);
        VXBenchStopPostgres(cluster);
    }
    if (!keep.isEmpty())
        std::printf("kept in %s\n", qPrintable(root));
    return 0;
}
