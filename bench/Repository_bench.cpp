// SPDX-License-Identifier: GPL-3.0-or-later
// Appends VXWORD rows through the data access interface on every driver, beside a raw
// SQLite C-API insert of the same rows into the same table as the yardstick.
//
//   repository_bench [rows] [--all-drivers]
//
// rows defaults to 1,000,000. The InMemory driver and the raw insert always run; the
// InterBase driver and ODBC (SQLite and PostgreSQL) run with --all-drivers, each on the
// same rows. PostgreSQL needs the throwaway cluster of the tests; the benchmark starts and
// stops one itself.
#include "Benchprocess.h"
#include "Rawsqlite.h"
#include "base/Classregistry.h"
#include "base/Exception.h"

#include "repository/Dataaccessinterface.h"
#include "shell/Packageloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Words as a COBOL load produces them: verbs, data names, literals and punctuation, a
// new row every eight words, a new object every 5,000 rows.
using Word = TVXBenchWord;

std::vector<Word> MakeWords(int count)
{
    static const char *const verbs[] = {"MOVE", "TO",      "IF",     "PERFORM", "COMPUTE", "ADD",
                                        "CALL", "DISPLAY", "END-IF", "UNTIL",   "GIVING",  "OF"};
    static const char *const names[]
            = {"CUSTOMER-ID", "WS-TOTAL-AMOUNT", "ACCT-STATUS", "INVOICE-LINE",
               "PRINT-REC",   "TAX-RATE",        "EOF-SWITCH",  "RETURN-CODE"};
    std::vector<Word> words;
    words.reserve(std::size_t(count));
    const int wordsPerFile = 5000;
    for (int i = 0; i < count; ++i) {
        Word word;
        word.File = 1 + i / wordsPerFile;
        const int inFile = i % wordsPerFile;
        word.Object = 1000;
        word.Entry = 1000 * (1 + inFile / 400);
        word.Row = 1000 * (1 + inFile / 8);
        word.WordID = 1000 * (1 + inFile % 8);
        if (i % 3 == 0) {
            word.Text = QString::fromLatin1(verbs[i % 12]);
            word.Type = 10 + i % 12;
        } else {
            word.Text = QString::fromLatin1(names[i % 8]) + QLatin1Char('-')
                        + QString::number(i % 977);
            word.Type = 1001;
        }
        words.push_back(std::move(word));
    }
    return words;
}

const int BatchSize = 5000; // about one source file's words, as the raw insert commits

double RawSqlite(const std::vector<Word> &words, const QString &file)
{
    return VXRawSqliteInsert(words, file);
}

double ThroughInterface(const char *className, const QString &connection,
                        const std::vector<Word> &words)
{
    std::unique_ptr<TVXDataAccessInterface> db(VXClassRegistry().Create<TVXDataAccessInterface>(
            QString::fromLatin1(className), static_cast<QObject *>(nullptr)));
    if (!db)
        throw TVXException(QStringLiteral("the driver %1 is not registered")
                                   .arg(QString::fromLatin1(className)));
    db->Connect(connection);
    QElapsedTimer timer;
    timer.start();
    const QString none;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Word &w = words[i];
        db->VXWORD_Append(w.File, w.Object, w.Entry, w.Row, w.WordID, 20520, 7, 3, w.Text, w.Type,
                          none);
        if ((i + 1) % BatchSize == 0)
            db->Commit(false, false);
    }
    db->Commit(true, false);
    const double seconds = timer.nsecsElapsed() / 1e9;
    db->DisConnect();
    return seconds;
}

QString StartPostgres(const QString &folder)
{
    const QString port = VXBenchStartPostgres(folder);
    if (port.isEmpty())
        return {};
    const QString server = QStringLiteral("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;"
                                          "Uid=postgres;Pwd=;")
                                   .arg(port);
    {
        QSqlDatabase admin
                = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("admin"));
        admin.setDatabaseName(server + QStringLiteral("Database=postgres;"));
        if (admin.open())
            QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE vx_bench"));
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("admin"));
    return server + QStringLiteral("Database=vx_bench;");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    int rows = 1000000;
    bool allDrivers = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument = argv[i];
        if (argument == "--all-drivers")
            allDrivers = true;
        else if (argument.toInt() > 0)
            rows = argument.toInt();
    }
    QTemporaryDir folder;
    qputenv("VELUNOR_HOME", folder.path().toUtf8());
    TVXPackageLoader loader(QStringLiteral(VELUNOR_PACKAGE_DIR "/"));
    try {
        loader.CheckPackages();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", qPrintable(VXMessage(e)));
        return 1;
    }
    const std::vector<Word> words = MakeWords(rows);
    const QString base = folder.path() + QLatin1Char('/');

    const double raw = RawSqlite(words, base + QStringLiteral("raw.sqlite"));
    std::printf("VXWORD appends, %d rows, a commit every %d rows\n", rows, BatchSize);
    std::printf("  %-28s %10.0f rows/s\n", "raw SQLite C API", rows / raw);

    struct Run
    {
        const char *Label, *ClassName;
        QString Connection;
    };
    std::vector<Run> runs
            = {{"InMemory (SQLite)", "TVXInMemoryDB", base + QStringLiteral("vx.sqlite")}};
    QString pgFolder;
    if (allDrivers) {
        runs.push_back({"InterBase (Firebird embedded)", "TVXInterBaseDB",
                        base + QStringLiteral("vx.fdb")});
        runs.push_back({"ODBC (SQLite ODBC)", "TVXODBCDB",
                        QStringLiteral("Driver={SQLite3};Database=") + base
                                + QStringLiteral("odbc.sqlite;")});
        pgFolder = QStringLiteral("/tmp/velunor-pg-bench-%1")
                           .arg(QCoreApplication::applicationPid());
        const QString pg = StartPostgres(pgFolder);
        if (!pg.isEmpty())
            runs.push_back({"ODBC (PostgreSQL)", "TVXODBCDB", pg});
        else
            std::printf("  ODBC (PostgreSQL): no cluster could be started\n");
    }
    for (const Run &run : runs) {
        try {
            const double seconds = ThroughInterface(run.ClassName, run.Connection, words);
            std::printf("  %-28s %10.0f rows/s   %5.1f%% of raw\n", run.Label, rows / seconds,
                        100.0 * raw / seconds);
        } catch (const std::exception &e) {
            std::printf("  %-28s failed: %s\n", run.Label, qPrintable(VXMessage(e)));
        }
        std::fflush(stdout);
    }
    if (!pgFolder.isEmpty())
        VXBenchStopPostgres(pgFolder);
    loader.UnloadAll();
    return 0;
}
