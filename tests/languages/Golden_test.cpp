// SPDX-License-Identifier: GPL-3.0-or-later
// Every folder tests/languages/<language>/<case>/ holds sources (input.<ext> and the files
// it refers to) and expected.txt: what a load through velunor-cli stores from them, as
// sorted lines of objects, entries, the words that name something, and the links that
// dependency resolution made. Set VELUNOR_GOLDEN_UPDATE=1 to write expected.txt afresh
// (and read the difference before committing it).
#include "Mainframeapplication.h"
#include "Testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

QString CasesFolder()
{
    return QStringLiteral(VELUNOR_SOURCE_DIR "/tests/languages");
}

std::vector<std::string> Cases()
{
    std::vector<std::string> cases;
    QDirIterator it(CasesFolder(), {QStringLiteral("expected.txt")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString folder = QFileInfo(it.next()).absolutePath();
        cases.push_back(QDir(CasesFolder()).relativeFilePath(folder).toStdString());
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

struct CliRun
{
    int Code = -1;
    QString Err;
};

CliRun Cli(const QString &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELUNOR_HOME"), home);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(VXTest::PackageDir() + QStringLiteral("velunor-cli"), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

// Words and rows that name an object or entry the file does not have: a definition that
// opened or closed a section at the wrong word.
QStringList Orphans(const QString &home)
{
    QStringList orphans;
    const QString connection = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(home + QStringLiteral("VN_FirstDataBase.sqlite"));
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
        for (const char *table : {"VXWORD", "VXROW"}) {
            QSqlQuery query(db);
            const QString sql
                    = QStringLiteral(
                              "SELECT f.VXFileName, t.VXRowID, t.VXObjectID, t.VXEntryID FROM %1 t "
                              "JOIN VXFILE f ON f.VXFileID = t.VXFileID WHERE (t.VXObjectID <> 0 "
                              "AND NOT EXISTS (SELECT 1 FROM VXOBJECT o WHERE o.VXFileID = "
                              "t.VXFileID AND o.VXObjectID = t.VXObjectID)) OR (t.VXEntryID <> 0 "
                              "AND NOT EXISTS (SELECT 1 FROM VXENTRY e WHERE e.VXFileID = "
                              "t.VXFileID AND e.VXObjectID = t.VXObjectID AND e.VXEntryID = "
                              "t.VXEntryID)) LIMIT 5")
                              .arg(QLatin1String(table));
            EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
            while (query.next())
                orphans << QStringLiteral("%1 %2 row %3 object %4 entry %5")
                                   .arg(QLatin1String(table), query.value(0).toString())
                                   .arg(query.value(1).toInt())
                                   .arg(query.value(2).toInt())
                                   .arg(query.value(3).toInt());
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return orphans;
}

// The stored repository as the sorted lines that expected.txt holds.
QStringList Dump(const QString &home)
{
    QStringList lines;
    const QString connection = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(home + QStringLiteral("VN_FirstDataBase.sqlite"));
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
        auto each = [&db](const QString &sql, const std::function<void(const QSqlQuery &)> &row) {
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
            while (query.next())
                row(query);
        };
        auto text = [](const QSqlQuery &q, int column) {
            return q.value(column).toString().trimmed();
        };
        each(QStringLiteral("SELECT f.VXFileName, o.VXObjectName, o.VXObjectIdentifier, "
                            "o.VXObjectType, o.VXIcon FROM VXOBJECT o JOIN VXFILE f ON "
                            "f.VXFileID = o.VXFileID"),
             [&](const QSqlQuery &q) {
                 lines << QStringLiteral("object %1 %2 id=%3 type=%4 icon=%5")
                                  .arg(text(q, 0), text(q, 1), text(q, 2), text(q, 3), text(q, 4));
             });
        each(QStringLiteral("SELECT f.VXFileName, o.VXObjectName, e.VXEntryName FROM VXENTRY e "
                            "JOIN VXFILE f ON f.VXFileID = e.VXFileID JOIN VXOBJECT o ON "
                            "o.VXFileID = e.VXFileID AND o.VXObjectID = e.VXObjectID"),
             [&](const QSqlQuery &q) {
                 lines << QStringLiteral("entry %1 %2 %3").arg(text(q, 0), text(q, 1), text(q, 2));
             });
        // Words that name something: names, declarations, variables, calls, includes,
        // tables; keywords, punctuation, constants and comments are left out.
        each(QStringLiteral(
                     "SELECT f.VXFileName, 1 + (SELECT COUNT(*) FROM VXROW r WHERE r.VXFileID = "
                     "w.VXFileID AND r.VXRowID < w.VXRowID), w.VXWord, w.VXWordType, "
                     "w.VXObjectIdentifier FROM VXWORD w JOIN VXFILE f ON f.VXFileID = "
                     "w.VXFileID WHERE w.VXWordType >= 1004 AND w.VXWordType <> 1037 AND "
                     "w.VXWordType < 99000"),
             [&](const QSqlQuery &q) {
                 QString line = QStringLiteral("word %1:%2 %3 %4")
                                        .arg(text(q, 0))
                                        .arg(q.value(1).toInt(), 3, 10, QLatin1Char('0'))
                                        .arg(text(q, 2), text(q, 3));
                 if (!text(q, 4).isEmpty())
                     line += QStringLiteral(" -> ") + text(q, 4);
                 lines << line;
             });
        each(QStringLiteral("SELECT f.VXFileName, p.VXPackageName, p.VXObjectName FROM VXPACKAGE p "
                            "JOIN VXFILE f ON f.VXFileID = p.VXFileID"),
             [&](const QSqlQuery &q) {
                 lines << QStringLiteral("package %1 %2 %3")
                                  .arg(text(q, 0), text(q, 1), text(q, 2));
             });
        // Calls that reach an ancestor's method, with the class they were made through.
        each(QStringLiteral(
                     "SELECT w.VXWord, e.VXEntryName, f.VXFileName, o.VXObjectName FROM "
                     "VXDEPENDENCIES d JOIN VXWORD w ON w.VXFileID = d.VXFromFileID AND "
                     "w.VXObjectID = d.VXFromObjectID AND w.VXEntryID = d.VXFromEntryID AND "
                     "w.VXRowID = d.VXFromRowID AND w.VXWordID = d.VXFromWordID JOIN VXENTRY e ON "
                     "e.VXFileID = d.VXFileID AND e.VXObjectID = d.VXObjectID AND e.VXEntryID = "
                     "d.VXEntryID JOIN VXOBJECT o ON o.VXFileID = d.VXInheritsFileID AND "
                     "o.VXObjectID = d.VXInheritsObjectID JOIN VXFILE f ON f.VXFileID = "
                     "o.VXFileID WHERE d.VXInheritsFileID > 0"),
             [&](const QSqlQuery &q) {
                 lines << QStringLiteral("inherited %1 -> %2 through %3/%4")
                                  .arg(text(q, 0), text(q, 1), text(q, 2), text(q, 3));
             });
        each(VXTest::StoredLinkQuery(), [&](const QSqlQuery &q) {
            lines << QStringLiteral("link ")
                             + VXTest::LinkKey(text(q, 0), q.value(1).toInt(), text(q, 2),
                                               text(q, 3), text(q, 4), q.value(5).toInt() == -1);
        });
    }
    QSqlDatabase::removeDatabase(connection);
    lines.sort();
    return lines;
}

class GoldenTest : public ::testing::TestWithParam<std::string>
{
};

TEST_P(GoldenTest, TheLoadStoresWhatTheCaseExpects)
{
    const QString folder = CasesFolder() + QLatin1Char('/') + QString::fromStdString(GetParam());
    VXTest::Home home;
    CliRun run = Cli(home.Path(), {QStringLiteral("sources"), QStringLiteral("add-folder"), folder,
                                   QStringLiteral("--system"), QStringLiteral("GOLDEN"),
                                   QStringLiteral("--yes")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    run = Cli(home.Path(), {QStringLiteral("load")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList stored = Dump(home.Path());
    const QStringList orphans = Orphans(home.Path());
    EXPECT_TRUE(orphans.isEmpty()) << orphans.join(QLatin1Char('\n')).toStdString();

    QFile file(folder + QStringLiteral("/expected.txt"));
    if (qEnvironmentVariableIsSet("VELUNOR_GOLDEN_UPDATE")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
        file.write((stored.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
    QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    expected.removeAll(QString());
    const QSet<QString> have(stored.cbegin(), stored.cend());
    const QSet<QString> want(expected.cbegin(), expected.cend());
    QStringList missing = QSet<QString>(want).subtract(have).values();
    QStringList extra = QSet<QString>(have).subtract(want).values();
    missing.sort();
    extra.sort();
    EXPECT_TRUE(missing.isEmpty() && extra.isEmpty())
            << "missing:\n"
            << missing.join(QLatin1Char('\n')).toStdString() << "\nnot expected:\n"
            << extra.join(QLatin1Char('\n')).toStdString();
}

// Every case copied fifteen times into one tree of some six hundred files in a dozen
// languages, loaded at once: each copy stores what its case stores alone, and makes at least
// the links its case makes.
TEST(GoldenTreeTest, FifteenCopiesOfEveryCaseLoadAsOneApplication)
{
    constexpr int Copies = 15;
    VXTest::Home home;
    const QString tree = home.File(QStringLiteral("tree"));
    QMap<QString, int> single;
    int files = 0;
    for (const std::string &name : Cases()) {
        const QString folder = CasesFolder() + QLatin1Char('/') + QString::fromStdString(name);
        QFile expected(folder + QStringLiteral("/expected.txt"));
        ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
        for (const QByteArray &line : expected.readAll().split('\n'))
            if (!line.isEmpty())
                ++single[QString::fromLatin1(line.left(line.indexOf(' ')))];
        for (int copy = 0; copy < Copies; ++copy) {
            const QString target = QStringLiteral("%1/copy%2/%3")
                                           .arg(tree)
                                           .arg(copy)
                                           .arg(QString::fromStdString(name));
            ASSERT_TRUE(QDir().mkpath(target));
            QDirIterator sources(folder, QDir::Files, QDirIterator::Subdirectories);
            while (sources.hasNext()) {
                const QString source = QDir(folder).relativeFilePath(sources.next());
                if (source == QLatin1String("expected.txt"))
                    continue;
                const QString copied = target + QLatin1Char('/') + source;
                ASSERT_TRUE(QDir().mkpath(QFileInfo(copied).absolutePath()));
                ASSERT_TRUE(QFile::copy(folder + QLatin1Char('/') + source, copied));
                ++files;
            }
        }
    }
    ASSERT_GE(files, 500);
    CliRun run = Cli(home.Path(), {QStringLiteral("sources"), QStringLiteral("add-folder"), tree,
                                   QStringLiteral("--system"), QStringLiteral("PORTFOLIO"),
                                   QStringLiteral("--yes")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    run = Cli(home.Path(), {QStringLiteral("load")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    QMap<QString, int> stored;
    for (const QString &line : Dump(home.Path()))
        ++stored[line.left(line.indexOf(QLatin1Char(' ')))];
    for (const char *kind : {"object", "entry", "word", "package"})
        EXPECT_EQ(stored.value(QLatin1String(kind)), Copies * single.value(QLatin1String(kind)))
                << kind;
    // A reference that one case leaves open may find what another case declares (the
    // DML script's tables in the DDL script): more links, never fewer.
    EXPECT_GE(stored.value(QStringLiteral("link")), Copies * single.value(QStringLiteral("link")));
}

INSTANTIATE_TEST_SUITE_P(Languages, GoldenTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             std::string name = info.param;
                             for (char &c : name)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

} // namespace
