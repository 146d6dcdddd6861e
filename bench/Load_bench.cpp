// SPDX-License-Identifier: GPL-3.0-or-later
// A first load of a generated CICS and batch application through the real entry point,
// `velunor-cli load` run as a process on a fresh repository, beside Universal Ctags over
// the same files, and beside a raw SQLite C-API insert of the words the load stored.
//
//   load_bench [scale] [--keep folder]
//
// scale 1 is about 240 files (the default is 4). With --keep the sources, the settings
// folder and the repository are written into that folder and stay there. Prints the files,
// lines, the load's wall time and lines per second, the time of each of its phases, ctags'
// time and the ratio of the rates, and the raw insert's time and the load's multiple of it.
#include "Benchprocess.h"
#include "Mainframeapplication.h"
#include "Rawsqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int Run(const QString &program, const QStringList &arguments, const QString &home,
        QByteArray *output = nullptr)
{
    return VXBenchRun(program, arguments, home, output);
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
    const int scale = arguments.isEmpty() ? 4 : arguments.first().toInt();
    QTemporaryDir temporary;
    const QString root = keep.isEmpty() ? temporary.path() : QDir(keep).absolutePath();
    const QString sources = root + QStringLiteral("/src");
    const QString home = root + QStringLiteral("/home/");
    QDir().mkpath(home);
    const VXTest::GeneratedApplication app = VXTest::WriteMainframeApplication(sources, scale);

    const QString cli = QStringLiteral(VELUNOR_PACKAGE_DIR "/velunor-cli");
    if (Run(cli,
            {QStringLiteral("languages"), QStringLiteral("extensions"), QStringLiteral("IBMCOB"),
             QStringLiteral(".ibmcob;.cbl;.cpy")},
            home)
                != 0
        || Run(cli,
               {QStringLiteral("sources"), QStringLiteral("add-folder"), sources,
                QStringLiteral("--system"), QStringLiteral("BENCH"), QStringLiteral("--yes")},
               home)
                   != 0)
        return 1;

    // The load says where its time goes.
    qputenv("VELUNOR_LOAD_TIMINGS", "1");
    QElapsedTimer timer;
    timer.start();
    QByteArray report;
    const int status = Run(cli, {QStringLiteral("load")}, home, &report);
    const double loadSeconds = timer.nsecsElapsed() / 1e9;
    if (status != 0)
        return 1;

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
    std::printf("velunor-cli load (first load, SQLite): %.2f s, %.0f lines/s\n", loadSeconds,
                app.Lines / loadSeconds);
    if (ctagsSeconds > 0)
        std::printf("ctags -R over the same files: %.3f s, %.0f lines/s; ratio load/ctags %.4f\n",
                    ctagsSeconds, app.Lines / ctagsSeconds, ctagsSeconds / loadSeconds);
    for (const QByteArray &line : report.split('\n'))
        if (line.startsWith("load phase "))
            std::printf("  %s\n", line.mid(5).constData());

    // The yardstick of storing: the words this load stored, inserted raw.
    const std::vector<TVXBenchWord> words
            = VXStoredWords(home + QStringLiteral("VN_FirstDataBase.sqlite"));
    const double rawSeconds = VXRawSqliteInsert(words, root + QStringLiteral("/raw.sqlite"));
    std::printf("raw SQLite C-API insert of the %zu stored words: %.2f s; the load takes %.1f "
                "times as long\n",
                words.size(), rawSeconds, rawSeconds > 0 ? loadSeconds / rawSeconds : 0.0);
    if (!keep.isEmpty())
        std::printf("kept in %s\n", qPrintable(root));
    return 0;
}
