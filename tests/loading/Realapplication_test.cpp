// SPDX-License-Identifier: GPL-3.0-or-later
// A generated CICS and batch application of some 240 files, loaded as users load it:
// velunor-cli load and velunor LOAD_INTO_DB_NAMED as separate processes. Every link the
// generator wrote must be in the repository, and no other; what it refers to but does not
// hold must be listed as missing, each reference with its file and line.
#include "Mainframeapplication.h"
#include "Testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace {

struct Result
{
    int Code = -1;
    QString Out;
    QString Err;
};

using VXTest::LinkKey;

// The links only one side holds, for a readable failure.
::testing::AssertionResult SameLinks(const QStringList &stored, const QStringList &clean)
{
    const QSet<QString> a(stored.cbegin(), stored.cend());
    const QSet<QString> b(clean.cbegin(), clean.cend());
    if (a == b && stored.size() == clean.size())
        return ::testing::AssertionSuccess();
    QStringList onlyStored = QSet<QString>(a).subtract(b).values();
    QStringList onlyClean = QSet<QString>(b).subtract(a).values();
    onlyStored.sort();
    onlyClean.sort();
    return ::testing::AssertionFailure()
           << stored.size() << " links where a clean load has " << clean.size() << "\nonly here:\n"
           << onlyStored.mid(0, 20).join(QLatin1Char('\n')).toStdString() << "\nmissing:\n"
           << onlyClean.mid(0, 20).join(QLatin1Char('\n')).toStdString();
}

class RealApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_sources = m_home.File(QStringLiteral("src"));
        m_app = VXTest::WriteMainframeApplication(m_sources);
        ASSERT_GE(m_app.Files, 200);
        Configure(m_home.Path());
    }

    static void Start(QProcess &process, const QString &program, const QStringList &arguments,
                      const QString &home, const QString &loadWait = QString(),
                      bool withDisplay = false, const QStringList &settings = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELUNOR_HOME"), home);
        for (const QString &setting : settings)
            environment.insert(setting.section(QLatin1Char('='), 0, 0),
                               setting.section(QLatin1Char('='), 1));
        if (!loadWait.isEmpty())
            environment.insert(QStringLiteral("VELUNOR_LOAD_WAIT"), loadWait);
        // The program runs as a console program, as a scheduled job runs it, unless the test
        // gives it a screen.
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        if (withDisplay)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(VXTest::PackageDir() + program, arguments);
    }
    static Result Finish(QProcess &process)
    {
        if (process.state() != QProcess::NotRunning) {
            EXPECT_TRUE(process.waitForFinished(300000));
        }
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    Result Run(const QString &program, const QStringList &arguments, const QString &home,
               const QStringList &settings = {})
    {
        QProcess process;
        Start(process, program, arguments, home, QString(), false, settings);
        return Finish(process);
    }
    // settings: NAME=value pairs for the program's environment.
    Result Cli(const QStringList &arguments, const QString &home, const QStringList &settings = {})
    {
        return Run(QStringLiteral("velunor-cli"), arguments, home, settings);
    }

    void Configure(const QString &home)
    {
        Result result = Cli({QStringLiteral("languages"), QStringLiteral("extensions"),
                             QStringLiteral("IBMCOB"), QStringLiteral(".ibmcob;.cbl;.cpy")},
                            home);
        ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
        // A system and no application: an ordinary configuration.
        result = Cli({QStringLiteral("sources"), QStringLiteral("add-folder"), m_sources,
                      QStringLiteral("--system"), QStringLiteral("CARDS"), QStringLiteral("--yes")},
                     home);
        ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    }

    // Runs read on a read-only connection to the repository in the home folder.
    static void ReadRepository(const QString &home, const std::function<void(QSqlDatabase &)> &read)
    {
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(home + QStringLiteral("VN_FirstDataBase.sqlite"));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
            read(db);
        }
        QSqlDatabase::removeDatabase(name);
    }

    // Every dependency row of the repository in the home folder, as link keys.
    QStringList StoredLinks(const QString &home)
    {
        QStringList links;
        ReadRepository(home, [&links](QSqlDatabase &db) {
            // The line of a word: one after the rows of its file numbered below it.
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(VXTest::StoredLinkQuery()))
                    << query.lastError().text().toStdString();
            while (query.next())
                links << LinkKey(query.value(0).toString(), query.value(1).toInt(),
                                 query.value(2).toString().trimmed(), query.value(3).toString(),
                                 query.value(4).toString().trimmed(), query.value(5).toInt() == -1);
        });
        links.sort();
        return links;
    }

    // Every table of the repository, row by row in key order; the load times differ
    // between runs and are left out.
    QStringList Tables(const QString &home)
    {
        QStringList rows;
        ReadRepository(home, [&rows](QSqlDatabase &db) {
            for (const char *table : {"VXFILE", "VXOBJECT", "VXENTRY", "VXROW", "VXWORD",
                                      "VXDEPENDENCIES", "VXPACKAGE", "VXATTRIBUTE", "VXDATAFLOW"}) {
                QSqlQuery query(db);
                EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM ") + QLatin1String(table)))
                        << table;
                QStringList tableRows;
                while (query.next()) {
                    QStringList values;
                    for (int c = 0; c < query.record().count(); ++c)
                        if (query.record().fieldName(c).compare(QLatin1String("VXLoadTime"),
                                                                Qt::CaseInsensitive)
                            != 0)
                            values << query.value(c).toString();
                    tableRows << QLatin1String(table) + QLatin1Char(' ')
                                         + values.join(QLatin1Char('|'));
                }
                tableRows.sort();
                rows += tableRows;
            }
        });
        return rows;
    }

    // Recall per kind of link, and every stored link that the generator did not write.
    void ExpectEveryLink(const QStringList &stored)
    {
        const QSet<QString> have(stored.cbegin(), stored.cend());
        QSet<QString> expected;
        QMap<QString, QPair<int, int>> recall; // kind -> found, expected
        QStringList lost;
        for (const VXTest::ExpectedLink &link : std::as_const(m_app.Links)) {
            const QString key = LinkKey(link.FromFile, link.FromLine, link.Word, link.TargetFile,
                                        link.TargetEntry, link.Possible);
            expected.insert(key);
            auto &[found, all] = recall[link.Kind];
            ++all;
            if (have.contains(key))
                ++found;
            else
                lost << link.Kind + QLatin1Char(' ') + key;
        }
        QString figures;
        for (auto it = recall.cbegin(); it != recall.cend(); ++it)
            figures += QStringLiteral("%1 %2/%3  ").arg(it.key()).arg(it->first).arg(it->second);
        EXPECT_TRUE(lost.isEmpty()) << figures.toStdString() << "\nnot linked:\n"
                                    << lost.mid(0, 30).join(QLatin1Char('\n')).toStdString();
        QStringList wrong;
        for (const QString &key : stored)
            if (!expected.contains(key))
                wrong << key;
        EXPECT_TRUE(wrong.isEmpty()) << wrong.size() << " links the sources do not make:\n"
                                     << wrong.mid(0, 30).join(QLatin1Char('\n')).toStdString();
    }

    VXTest::Home m_home;
    QString m_sources;
    VXTest::GeneratedApplication m_app;
};

TEST_F(RealApplicationTest, BothEntryPointsLoadEveryLinkAndNothingElse)
{
    Result result = Cli({QStringLiteral("load")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("%1 of %1 Files Loaded").arg(m_app.Files)))
            << result.Out.toStdString();
    const QStringList links = StoredLinks(m_home.Path());
    ExpectEveryLink(links);

    // A reload parses every file again over the kept repository: the same links.
    result = Cli({QStringLiteral("load"), QStringLiteral("--reload")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_TRUE(SameLinks(StoredLinks(m_home.Path()), links));

    // The unattended load of the desktop program, into a repository of its own.
    VXTest::Home second;
    Configure(second.Path());
    result = Run(QStringLiteral("velunor"),
                 {QStringLiteral("LOAD_INTO_DB_NAMED"), QStringLiteral("VN_FirstDataBase")},
                 second.Path());
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(SameLinks(StoredLinks(second.Path()), links));
}

// With a screen the unattended load shows its progress window, which stays open on the
// splash until the program ends: the program still ends cleanly, with the load's status.
TEST_F(RealApplicationTest, TheDesktopLoadWithItsProgressWindowEndsCleanly)
{
    QProcess load;
    Start(load, QStringLiteral("velunor"),
          {QStringLiteral("LOAD_INTO_DB_NAMED"), QStringLiteral("VN_FirstDataBase")}, m_home.Path(),
          QString(), true);
    const Result result = Finish(load);
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    ExpectEveryLink(StoredLinks(m_home.Path()));
}

// Files that go, come back or recover: the files that refer to them are checked again, so
// that the repository holds what a clean load of the same tree holds.
TEST_F(RealApplicationTest, IncrementalLoadsEndLikeACleanLoad)
{
    ASSERT_EQ(Cli({QStringLiteral("load")}, m_home.Path()).Code, 0);
    const QStringList clean = StoredLinks(m_home.Path());
    const QString member = m_sources + QStringLiteral("/ABENDPAR.cpy");
    const QString aside = m_home.File(QStringLiteral("ABENDPAR.cpy"));

    // A procedural copy member goes and comes back.
    ASSERT_TRUE(QFile::rename(member, aside));
    Result result = Cli({QStringLiteral("load")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_LT(StoredLinks(m_home.Path()).size(), clean.size());
    ASSERT_TRUE(QFile::rename(aside, member));
    result = Cli({QStringLiteral("load")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_TRUE(SameLinks(StoredLinks(m_home.Path()), clean));

    // A copy member that failed once and is mended.
    const QString dates = m_sources + QStringLiteral("/DATEPAR.cpy");
    QFile file(dates);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray("\0\0\0binary", 9));
    file.close();
    result = Cli({QStringLiteral("load")}, m_home.Path());
    EXPECT_EQ(result.Code, 3) << result.Out.toStdString();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    result = Cli({QStringLiteral("load")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_TRUE(SameLinks(StoredLinks(m_home.Path()), clean));
}

// The rows that differ first between two repositories, for a readable failure.
::testing::AssertionResult SameTables(const QStringList &one, const QStringList &other)
{
    if (one == other)
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << one.size() << " rows against " << other.size();
    for (qsizetype i = 0; i < std::min(one.size(), other.size()); ++i)
        if (one[i] != other[i])
            return failure << "; first difference:\n"
                           << one[i].toStdString() << "\nagainst:\n"
                           << other[i].toStdString();
    return failure;
}

// Files parsed in worker threads are stored as the writer alone stores them: every table,
// every row. The tree mixes the generated application, the shipped samples and C++ whose
// classes are declared in one file and defined in another (a parse that looks for them in
// other files), with files that fail and rows too long to keep.
TEST_F(RealApplicationTest, ParsingInWorkerThreadsStoresWhatTheWriterAloneStores)
{
    const QString more = m_home.File(QStringLiteral("more"));
    ASSERT_TRUE(QDir().mkpath(more + QStringLiteral("/cpp")));
    const auto write = [&more](const QString &name, const QByteArray &text) {
        QFile file(more + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write(text);
    };
    for (int i = 0; i < 12; ++i) {
        const QByteArray n = QByteArray::number(i);
        write(QStringLiteral("cpp/Ledger%1.h").arg(i),
              "#pragma once\n#include \"Ledger" + QByteArray::number((i + 1) % 12)
                      + ".h\"\nclass Ledger" + n
                      + " : public Base {\npublic:\n    int Post(int amount);\n"
                        "    void Close();\nprivate:\n    int m_total = 0;\n};\n");
        write(QStringLiteral("cpp/Ledger%1.cpp").arg(i),
              "#include \"Ledger" + n + ".h\"\nint Ledger" + n
                      + "::Post(int amount)\n{\n    m_total = m_total + amount;\n    return "
                        "Audit(m_total);\n}\nvoid Ledger"
                      + n + "::Close()\n{\n    Post(0);\n}\n");
    }
    write(QStringLiteral("BROKEN.cbl"), QByteArray("\0\0\0binary", 9));
    write(QStringLiteral("WIDE.cbl"),
          "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. WIDE.\n       PROCEDURE DIVISION.\n"
          "           DISPLAY '"
                  + QByteArray(300, 'X') + "'.\n           CALL 'BAT001'.\n           GOBACK.\n");
    const auto addFolders = [&](const QString &home) {
        for (const QString &folder : {more, QStringLiteral(VELUNOR_SOURCE_DIR "/samples")})
            ASSERT_EQ(Cli({QStringLiteral("sources"), QStringLiteral("add-folder"), folder,
                           QStringLiteral("--system"), QStringLiteral("CARDS"),
                           QStringLiteral("--yes")},
                          home)
                              .Code,
                      0);
    };
    addFolders(m_home.Path());
    VXTest::Home serial;
    Configure(serial.Path());
    addFolders(serial.Path());

    const Result parallel = Cli(
            {QStringLiteral("load")}, m_home.Path(),
            {QStringLiteral("VELUNOR_PARSE_THREADS=3"), QStringLiteral("VELUNOR_LOAD_TIMINGS=1")});
    EXPECT_EQ(parallel.Code, 3) << parallel.Out.toStdString() << parallel.Err.toStdString();
    EXPECT_TRUE(parallel.Err.contains(QStringLiteral("writer waiting for parsers")))
            << parallel.Err.toStdString();
    const Result alone = Cli({QStringLiteral("load")}, serial.Path(),
                             {QStringLiteral("VELUNOR_PARSE_THREADS=0")});
    EXPECT_EQ(alone.Code, 3) << alone.Out.toStdString() << alone.Err.toStdString();
    EXPECT_EQ(
            (parallel.Out + parallel.Err).count(QStringLiteral("rows longer than 255 characters")),
            1)
            << parallel.Out.toStdString();

    const QStringList stored = Tables(m_home.Path());
    ASSERT_GT(stored.size(), 10000);
    EXPECT_TRUE(SameTables(stored, Tables(serial.Path())));
}

// A reload after some files changed holds, table by table and row by row, what a first
// load of the changed tree holds: what the scan skips as unchanged is really unchanged.
TEST_F(RealApplicationTest, AReloadAfterChangesHoldsWhatAFirstLoadOfTheChangedTreeHolds)
{
    ASSERT_EQ(Cli({QStringLiteral("load")}, m_home.Path()).Code, 0);
    const auto append = [this](const QString &name, const QByteArray &text) {
        QFile file(m_sources + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::Append)) << name.toStdString();
        file.write(text);
    };
    // A program, a copy member, a job and a map, each with a row more.
    append(QStringLiteral("BAT002.cbl"), "      * CHANGED BY THE NIGHT SHIFT\n");
    append(QStringLiteral("ACCTREC.cpy"), "      * ONE MORE REMARK\n");
    append(QStringLiteral("BAT003.jcl"), "//* CHANGED\n");
    append(QStringLiteral("MS001.bms"), "* CHANGED\n");
    const Result reload = Cli({QStringLiteral("load")}, m_home.Path());
    ASSERT_EQ(reload.Code, 0) << reload.Out.toStdString() << reload.Err.toStdString();
    EXPECT_TRUE(reload.Out.contains(QStringLiteral("4 Files Loaded"))) << reload.Out.toStdString();

    VXTest::Home fresh;
    Configure(fresh.Path());
    const Result first = Cli({QStringLiteral("load")}, fresh.Path());
    ASSERT_EQ(first.Code, 0) << first.Out.toStdString() << first.Err.toStdString();
    const QStringList reloaded = Tables(m_home.Path());
    const QStringList clean = Tables(fresh.Path());
    ASSERT_FALSE(clean.isEmpty());
    EXPECT_EQ(reloaded.size(), clean.size());
    for (qsizetype i = 0; i < std::min(reloaded.size(), clean.size()); ++i)
        if (reloaded[i] != clean[i]) {
            ADD_FAILURE() << "first difference, reloaded:\n"
                          << reloaded[i].toStdString() << "\nfirst load:\n"
                          << clean[i].toStdString();
            break;
        }
}

// Links back into the tree, a link to nothing and a pipe with a source's name: each real
// folder is read once, only regular files are loaded, and the log says what was left out.
TEST_F(RealApplicationTest, TheScanReadsEachFolderOnceAndOnlyRegularFiles)
{
    const QString more = m_sources + QStringLiteral("/more");
    ASSERT_TRUE(QDir().mkpath(more));
    ASSERT_TRUE(QFile::link(m_sources, more + QStringLiteral("/loop")));
    ASSERT_TRUE(QFile::link(QStringLiteral("."), m_sources + QStringLiteral("/self")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent/GONE.cbl"),
                            m_sources + QStringLiteral("/GONE.cbl")));
    ASSERT_EQ(
            ::mkfifo(QFile::encodeName(m_sources + QStringLiteral("/PIPE.cbl")).constData(), 0600),
            0);
    const Result result = Cli({QStringLiteral("load")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("%1 of %1 Files Loaded").arg(m_app.Files)))
            << result.Out.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("4 folder entries were skipped")))
            << result.Out.toStdString();
    QFile log(m_home.File(QStringLiteral("LoadLog.txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("PIPE.cbl: not a regular file")))
            << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("GONE.cbl: a link to nothing")));
    EXPECT_TRUE(text.contains(QStringLiteral("/self: a link to the folder ")));
    ExpectEveryLink(StoredLinks(m_home.Path()));
}

// An unmounted share looks like an empty folder: its files stay until the user says so.
TEST_F(RealApplicationTest, AnEmptiedFolderKeepsItsFilesUntilTheRemovalIsConfirmed)
{
    ASSERT_EQ(Cli({QStringLiteral("load")}, m_home.Path()).Code, 0);
    const QStringList links = StoredLinks(m_home.Path());
    ASSERT_TRUE(QDir().rename(m_sources, m_sources + QStringLiteral(".mounted")));
    ASSERT_TRUE(QDir().mkpath(m_sources));
    Result result = Cli({QStringLiteral("load")}, m_home.Path());
    EXPECT_EQ(result.Code, 1) << result.Out.toStdString();
    EXPECT_TRUE(result.Err.contains(QStringLiteral("the folder to load from is empty")))
            << result.Err.toStdString();
    EXPECT_TRUE(result.Err.contains(m_sources));
    EXPECT_FALSE(result.Out.contains(QStringLiteral("Files Removed")));
    EXPECT_TRUE(SameLinks(StoredLinks(m_home.Path()), links));
    result = Cli({QStringLiteral("load"), QStringLiteral("--yes")}, m_home.Path());
    EXPECT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_TRUE(StoredLinks(m_home.Path()).isEmpty());
}

// One load of a repository at a time: a second waits a bounded time, then says why it did
// not run; two started together both finish, one after the other, each with its own report.
TEST_F(RealApplicationTest, TwoLoadsOfOneRepositoryTakeTurns)
{
    {
        QLockFile held(m_home.File(QStringLiteral("VN_Load_VN_FirstDataBase.lock")));
        ASSERT_TRUE(held.lock());
        QProcess refused;
        Start(refused, QStringLiteral("velunor-cli"), {QStringLiteral("load")}, m_home.Path(),
              QStringLiteral("1"));
        const Result result = Finish(refused);
        EXPECT_EQ(result.Code, 1);
        EXPECT_TRUE(result.Err.contains(
                QStringLiteral("another load of the repository 'VN_FirstDataBase' is running")))
                << result.Err.toStdString();
    }
    QProcess first;
    QProcess second;
    Start(first, QStringLiteral("velunor-cli"), {QStringLiteral("load")}, m_home.Path(),
          QStringLiteral("120"));
    Start(second, QStringLiteral("velunor"),
          {QStringLiteral("LOAD_INTO_DB_NAMED"), QStringLiteral("VN_FirstDataBase")}, m_home.Path(),
          QStringLiteral("120"));
    const Result one = Finish(first);
    const Result two = Finish(second);
    EXPECT_EQ(one.Code, 0) << one.Out.toStdString() << one.Err.toStdString();
    EXPECT_EQ(two.Code, 0) << two.Err.toStdString();
    EXPECT_EQ(one.Out.count(QStringLiteral("*** Load into Database '")), 1)
            << one.Out.toStdString();
    ExpectEveryLink(StoredLinks(m_home.Path()));
}

// Readers in other processes during a load: they get answers, write nothing (the load keeps
// its suspended indexes), and the load finishes with every link.
TEST_F(RealApplicationTest, ReadersDuringALoadNeitherWaitNorDisturbIt)
{
    QProcess load;
    Start(load, QStringLiteral("velunor-cli"), {QStringLiteral("load")}, m_home.Path());
    int reads = 0;
    // The state of a process is only seen to change while waiting for it.
    while (!load.waitForFinished(0) && reads < 1000) {
        const Result status
                = Cli({QStringLiteral("status"), QStringLiteral("--json")}, m_home.Path());
        EXPECT_EQ(status.Code, 0) << status.Err.toStdString();
        ++reads;
    }
    EXPECT_GT(reads, 0);
    const Result result = Finish(load);
    ASSERT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();
    ExpectEveryLink(StoredLinks(m_home.Path()));
}

// An edit in the same second as the last load, of the same size, is an edit; a repository
// that kept whole seconds is not loaded again for it.
TEST_F(RealApplicationTest, FileTimesKeepTheirNanoseconds)
{
    const QByteArray path = QFile::encodeName(m_sources + QStringLiteral("/UTIL001.cbl"));
    const auto setTime = [&](long nanoseconds) {
        const timespec times[2] = {{1700000000, nanoseconds}, {1700000000, nanoseconds}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    };
    setTime(100000000);
    ASSERT_EQ(Cli({QStringLiteral("load")}, m_home.Path()).Code, 0);
    QFile file(QFile::decodeName(path));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray text = file.readAll();
    text.replace("WS-WORK", "WS-WERK");
    file.seek(0);
    file.write(text);
    file.close();
    setTime(900000000);
    Result result = Cli({QStringLiteral("load")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("1 of 1 Files Loaded")))
            << result.Out.toStdString();

    // The times an earlier version stored, in seconds.
    {
        const QString name = QUuid::createUuid().toString();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_home.File(QStringLiteral("VN_FirstDataBase.sqlite")));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(
                QStringLiteral("UPDATE VXFILE SET VXFileTime = VXFileTime / 1000000000"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    result = Cli({QStringLiteral("load")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("*** No changes to Load ***")))
            << result.Out.toStdString();
}

// A load killed at any point of a first load, a reload or a rebuild: the next load ends
// with the repository a clean load makes, table by table.
TEST_F(RealApplicationTest, AKilledLoadResumesToTheCleanRepository)
{
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(Cli({QStringLiteral("load")}, m_home.Path()).Code, 0);
    const qint64 duration = std::max<qint64>(timer.elapsed(), 200);
    const QStringList clean = Tables(m_home.Path());
    ASSERT_GT(clean.size(), 10000);
    QRandomGenerator random(20261209);
    for (const QString &option :
         {QString(), QStringLiteral("--reload"), QStringLiteral("--rebuild")}) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (option.isEmpty()) {
                // A first load again: a repository of its own.
                ASSERT_TRUE(QFile::remove(m_home.File(QStringLiteral("VN_FirstDataBase.sqlite"))));
                Configure(m_home.Path());
            }
            const int at = int(random.bounded(duration * 9 / 10) + 10);
            QProcess load;
            Start(load, QStringLiteral("velunor-cli"),
                  option.isEmpty() ? QStringList{QStringLiteral("load")}
                                   : QStringList{QStringLiteral("load"), option},
                  m_home.Path());
            ASSERT_TRUE(load.waitForStarted());
            QThread::msleep(at);
            ::kill(pid_t(load.processId()), SIGKILL);
            load.waitForFinished();
            const Result resumed = Cli({QStringLiteral("load")}, m_home.Path());
            ASSERT_EQ(resumed.Code, 0) << option.toStdString() << " killed after " << at << " ms\n"
                                       << resumed.Out.toStdString() << resumed.Err.toStdString();
            const QStringList tables = Tables(m_home.Path());
            EXPECT_TRUE(tables == clean) << option.toStdString() << " killed after " << at
                                         << " ms: " << tables.size() << " rows where a clean load "
                                         << "holds " << clean.size();
        }
    }
}

TEST_F(RealApplicationTest, MissingListsEachKindWithFileAndLine)
{
    ASSERT_EQ(Cli({QStringLiteral("load")}, m_home.Path()).Code, 0);
    const Result result = Cli({QStringLiteral("missing"), QStringLiteral("--json")}, m_home.Path());
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    QHash<QString, QSet<QString>> listed; // kind + name -> file:line
    for (const QJsonValue &item : QJsonDocument::fromJson(result.Out.toUtf8()).array())
        for (const QJsonValue &where : item[QStringLiteral("where")].toArray())
            listed[item[QStringLiteral("kind")].toString() + QLatin1Char(' ')
                   + item[QStringLiteral("name")].toString()]
                    .insert(where.toString());
    for (const VXTest::ExpectedMissing &missing : std::as_const(m_app.Missing)) {
        const QString name = missing.Kind + QLatin1Char(' ') + missing.Name;
        EXPECT_TRUE(listed.value(name).contains(
                QStringLiteral("%1:%2").arg(missing.File).arg(missing.Line)))
                << name.toStdString() << " at " << missing.File.toStdString() << ':'
                << missing.Line;
    }
    for (const QString &declared : std::as_const(m_app.Declared))
        for (const char *kind :
             {"program", "copy member", "member", "paragraph", "map", "procedure", "object"})
            EXPECT_FALSE(listed.contains(QLatin1String(kind) + QLatin1Char(' ') + declared))
                    << kind << ' ' << declared.toStdString();
    // A schema-qualified table is one table; libraries and DD names are no members.
    EXPECT_FALSE(listed.contains(QStringLiteral("table CUSTOMER")));
    EXPECT_FALSE(listed.contains(QStringLiteral("table PROD")));
    EXPECT_TRUE(listed.contains(QStringLiteral("data set PROD.PROCLIB")));
    for (const char *notMember : {"member PROD.PROCLIB", "member SYSOUT", "member SYSPRINT"})
        EXPECT_FALSE(listed.contains(QLatin1String(notMember))) << notMember;
    // Each reference once.
    EXPECT_EQ(listed.value(QStringLiteral("dynamic call WS-NEXT-PGM")).size(),
              std::count_if(m_app.Missing.cbegin(), m_app.Missing.cend(),
                            [](const VXTest::ExpectedMissing &m) {
                                return m.Kind == QLatin1String("dynamic call");
                            }));
}

TEST_F(RealApplicationTest, ExitStatusSaysHowTheRunEnded)
{
    // A file that cannot be parsed: the run finishes, counts it and says so.
    QFile binary(m_sources + QStringLiteral("/LOADMOD.cbl"));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("\x7f"
                            "ELF\0\0\0\x01",
                            8));
    binary.close();
    Result result = Cli({QStringLiteral("load")}, m_home.Path());
    EXPECT_EQ(result.Code, 3) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("1 Files did not Load because of Errors")))
            << result.Out.toStdString();
    // Its words were never read: no dump, and none named after the file loaded before it.
    EXPECT_TRUE(
            QDir(m_home.Path()).entryList({QStringLiteral("ErrorDump_*")}, QDir::Files).isEmpty());
    // The failed file is tried again on every run, and fails again.
    result = Run(QStringLiteral("velunor"),
                 {QStringLiteral("LOAD_INTO_DB_NAMED"), QStringLiteral("VN_FirstDataBase")},
                 m_home.Path());
    EXPECT_EQ(result.Code, 3) << result.Err.toStdString();
    ASSERT_TRUE(QFile::remove(binary.fileName()));
    result = Cli({QStringLiteral("load")}, m_home.Path());
    EXPECT_EQ(result.Code, 0) << result.Out.toStdString() << result.Err.toStdString();

    // A folder path longer than the repository holds is one failed file; a new file beside
    // it loads all the same.
    QString deep = m_sources;
    while (deep.size() <= 1100)
        deep += QLatin1Char('/') + QString(200, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_TRUE(QFile::copy(m_sources + QStringLiteral("/UTIL001.cbl"),
                            deep + QStringLiteral("/DEEP001.cbl")));
    ASSERT_TRUE(QFile::copy(m_sources + QStringLiteral("/UTIL001.cbl"),
                            m_sources + QStringLiteral("/NEAR001.cbl")));
    result = Cli({QStringLiteral("load")}, m_home.Path());
    EXPECT_EQ(result.Code, 3) << result.Out.toStdString() << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("the path is too long to be stored")))
            << result.Out.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("1 of 1 Files Loaded"))) << "NEAR001.cbl";
    EXPECT_EQ(result.Out.count(QStringLiteral("TVXBaseFunctions.PopulateVXFileTable")), 0);
    ASSERT_TRUE(QDir(m_sources + QLatin1Char('/') + QString(200, QLatin1Char('d')))
                        .removeRecursively());

    // A repository file of 0 bytes is made a new repository, and the report says that its
    // source list is gone with it.
    {
        const QString base = m_home.File(QStringLiteral("VN_FirstDataBase.sqlite"));
        QFile emptied(base);
        ASSERT_TRUE(emptied.open(QIODevice::WriteOnly | QIODevice::Truncate));
    }
    result = Cli({QStringLiteral("load")}, m_home.Path());
    EXPECT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(
            QStringLiteral("was empty (0 bytes) and was made a new repository")))
            << result.Out.toStdString();
    Configure(m_home.Path());

    // A configured folder that is gone stops the run: not a finished load.
    ASSERT_TRUE(QDir(m_sources).rename(m_sources, m_sources + QStringLiteral(".moved")));
    result = Cli({QStringLiteral("load")}, m_home.Path());
    EXPECT_EQ(result.Code, 1) << result.Out.toStdString();
    result = Run(QStringLiteral("velunor"),
                 {QStringLiteral("LOAD_INTO_DB_NAMED"), QStringLiteral("VN_FirstDataBase")},
                 m_home.Path());
    EXPECT_EQ(result.Code, 1) << result.Err.toStdString();
    EXPECT_TRUE(QFile(m_home.File(QStringLiteral("LoadLog.txt"))).exists());
}

} // namespace
