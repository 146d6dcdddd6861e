// SPDX-License-Identifier: GPL-3.0-or-later
// Load runs against a real SQLite repository: scanning, attributes, parsing, failures,
// changes, removals and the options.
#include "Mainframeapplication.h"
#include "Testsupport.h"
#include "base/Configtable.h"
#include "tests/repository/Repositorytestsupport.h"

#include "query/Queryengine.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_packages = std::make_unique<VXTest::PackageFolder>(
                QStringList{QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0210.so"),
                            QStringLiteral("vxlib0220.so"), QStringLiteral("vxlib0520.so"),
                            QStringLiteral("vxlib0521.so"), QStringLiteral("vxlib0525.so"),
                            QStringLiteral("vxlib0900.so"), QStringLiteral("vxlib0999.so")});
        m_session = std::make_unique<VXTest::Session>(m_packages->Path());
        TVXConfigTable &databases = Service().Configuration().DatabasesTable();
        ASSERT_GT(databases.RowCount(), 0);
        m_database = databases.Text(0, QStringLiteral("VX_DBNAME"));
        m_sources = m_home.File(QStringLiteral("sources"));
        QDir().mkpath(m_sources + QStringLiteral("/maps"));
    }
    void TearDown() override { m_session.reset(); }

    TVXBaseFunctions &Service() { return m_session->Service(); }

    void Write(const QString &relative, const QByteArray &content)
    {
        QFile file(m_sources + QLatin1Char('/') + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    void CopySample(const QString &sample, const QString &relative)
    {
        QFile source(QStringLiteral(VELUNOR_SOURCE_DIR "/samples/") + sample);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        Write(relative, source.readAll());
    }
    void AddFolder(const QString &folder, const QString &system, const QString &type,
                   const QString &location, const QString &application)
    {
        TVXDataAccessInterface *db = Service().ConnectDB(m_database);
        db->VXLOAD_Append(QStringLiteral("FOLDER"), folder, system, type, location, application);
        db->Commit(false, false);
        db->DisConnect();
    }
    QList<QVariantList> Select(const QString &sql)
    {
        TVXDataAccessInterface *db = Service().ConnectDB(m_database);
        const QList<QVariantList> rows = VXSelectRows(db, sql);
        db->DisConnect();
        return rows;
    }
    QMap<QString, QString> FileStates()
    {
        QMap<QString, QString> states;
        for (const QVariantList &row :
             Select(QStringLiteral("SELECT VXFileName, VXDependencyChecked FROM VXFILE")))
            states[row[0].toString()] = row[1].toString().trimmed();
        return states;
    }
    QString Log()
    {
        QFile file(m_home.File(QStringLiteral("LoadLog.txt")));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }
    void Load(const QString &options = QString(), bool folders = true)
    {
        Service().LoadDB(m_database, folders, false, QString(), options);
    }
    int Count(const QString &table, const QString &condition = QString())
    {
        QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + table;
        if (!condition.isEmpty())
            sql += QStringLiteral(" WHERE ") + condition;
        return Select(sql).value(0).value(0).toInt();
    }

    QStringList Uses()
    {
        QStringList links;
        for (const QVariantList &row : Select(QStringLiteral(
                     "SELECT f.VXFileName, w.VXWord, t.VXFileName, o.VXObjectName, d.VXEntryID "
                     "FROM VXDEPENDENCIES d "
                     "JOIN VXWORD w ON w.VXFileID = d.VXFromFileID AND w.VXObjectID = "
                     "d.VXFromObjectID "
                     "AND w.VXEntryID = d.VXFromEntryID AND w.VXRowID = d.VXFromRowID AND "
                     "w.VXWordID = d.VXFromWordID "
                     "JOIN VXFILE f ON f.VXFileID = d.VXFromFileID JOIN VXFILE t ON t.VXFileID = "
                     "d.VXFileID "
                     "JOIN VXOBJECT o ON o.VXFileID = d.VXFileID AND o.VXObjectID = d.VXObjectID "
                     "ORDER BY f.VXFileName, w.VXWord, t.VXFileName")))
            links << QStringLiteral("%1:%2->%3:%4")
                             .arg(row[0].toString(), row[1].toString(), row[2].toString(),
                                  row[3].toString());
        return links;
    }
    // The customer samples, loaded once: every file checked, each link as expected.
    QStringList FirstLoadLinks()
    {
        for (const char *sample :
             {"ibmcob/CUST010.ibmcob", "ibmcob/CUSTREC.ibmcob", "ibmcob/CUSTUPD.ibmcob",
              "ibmjcl/CUSTJOB.jcl", "bms/CUSTSET.bms"})
            CopySample(QString::fromLatin1(sample),
                       QFileInfo(QString::fromLatin1(sample)).fileName());
        AddFolder(m_sources, QStringLiteral("PAYROLL"), QString(), QString(), QString());
        Load();

        const QStringList expected{
                QStringLiteral("CUST010.ibmcob:CUSTMAP->CUSTSET.bms:CUSTMAP"),
                QStringLiteral("CUST010.ibmcob:CUSTREC->CUSTREC.ibmcob:CUSTREC"),
                QStringLiteral("CUST010.ibmcob:CUSTUPD->CUSTUPD.ibmcob:CUSTUPD"),
                // PERFORM SUB-PARA: the entry that the paragraph begins.
                QStringLiteral("CUST010.ibmcob:SUB-PARA->CUST010.ibmcob:CUST010"),
                QStringLiteral("CUSTJOB.jcl:CUSTUPD->CUSTUPD.ibmcob:CUSTUPD"),
                QStringLiteral("CUSTJOB.jcl:SORTPROC->CUSTJOB.jcl:SORTPROC"),
                QStringLiteral("CUSTUPD.ibmcob:CUSTREC->CUSTREC.ibmcob:CUSTREC")};
        EXPECT_EQ(Uses().join(QLatin1Char('\n')).toStdString(),
                  expected.join(QLatin1Char('\n')).toStdString());
        EXPECT_EQ(
                Select(QStringLiteral("SELECT e.VXEntryName FROM VXDEPENDENCIES d JOIN VXENTRY e "
                                      "ON e.VXFileID = d.VXFileID AND e.VXObjectID = d.VXObjectID "
                                      "AND e.VXEntryID = d.VXEntryID"))
                        .value(0)
                        .value(0)
                        .toString(),
                QStringLiteral("SUB-PARA"));
        EXPECT_EQ(Count(QStringLiteral("VXFILE"), QStringLiteral("VXDependencyChecked = 'Y'")), 5);
        EXPECT_TRUE(Log().contains(QStringLiteral("  5 of 5 Files Checked for Dependencies")));
        return expected;
    }

    VXTest::Home m_home;
    std::unique_ptr<VXTest::PackageFolder> m_packages;
    std::unique_ptr<VXTest::Session> m_session;
    QString m_database;
    QString m_sources;
};

TEST_F(LoadTest, FolderIsScannedParsedAndReported)
{
    CopySample(QStringLiteral("ibmcob/CUST010.ibmcob"), QStringLiteral("CUST010.ibmcob"));
    CopySample(QStringLiteral("ibmcob/CUSTREC.ibmcob"), QStringLiteral("CUSTREC.ibmcob"));
    CopySample(QStringLiteral("ibmjcl/CUSTJOB.jcl"), QStringLiteral("CUSTJOB.jcl"));
    CopySample(QStringLiteral("bms/CUSTSET.bms"), QStringLiteral("maps/CUSTSET.bms"));
    Write(QStringLiteral("readme.txt"), "not a source\n");
    Write(QStringLiteral("LOADMOD.ibmcob"), QByteArray("\x7f"
                                                       "ELF\x00\x01",
                                                       6));
    AddFolder(m_sources, QStringLiteral("PAYROLL"), QStringLiteral("MVS"), QStringLiteral("PROD"),
              QStringLiteral("PAY"));
    Load();

    const QMap<QString, QString> states = FileStates();
    EXPECT_EQ(states.keys(), (QStringList{"CUST010.ibmcob", "CUSTJOB.jcl", "CUSTREC.ibmcob",
                                          "CUSTSET.bms", "LOADMOD.ibmcob"}));
    // Loaded and checked for dependencies.
    EXPECT_EQ(states.value(QStringLiteral("CUST010.ibmcob")), QStringLiteral("Y"));
    EXPECT_EQ(states.value(QStringLiteral("CUSTSET.bms")), QStringLiteral("Y"));
    EXPECT_EQ(states.value(QStringLiteral("LOADMOD.ibmcob")), QStringLiteral("E"));
    EXPECT_EQ(
            Count(QStringLiteral("VXOBJECT"), QStringLiteral("VXObjectIdentifier = 'CUSTMAP_MAP'")),
            1);
    EXPECT_GT(Count(QStringLiteral("VXWORD")), 100);

    // Attributes, with their icons, stamped on every file of the folder.
    const QList<QVariantList> attributes
            = Select(QStringLiteral("SELECT VXAttributeType, VXAttributeName, VXIcon, "
                                    "VXAttributeID FROM VXATTRIBUTE ORDER BY VXAttributeType"));
    ASSERT_EQ(attributes.size(), 3);
    EXPECT_EQ(attributes[0][1].toString(), QStringLiteral("PAYROLL"));
    EXPECT_EQ(attributes[1][1].toString(), QStringLiteral("MVS@PROD"));
    EXPECT_EQ(attributes[1][2].toInt(), 5);
    EXPECT_EQ(attributes[2][1].toString(), QStringLiteral("PAY"));
    EXPECT_EQ(attributes[2][2].toInt(), 9);
    EXPECT_EQ(Count(QStringLiteral("VXFILE"),
                    QStringLiteral("VXApplicationID = ") + attributes[2][3].toString()),
              5);

    const QString log = Log();
    EXPECT_TRUE(log.contains(QStringLiteral("*** Load into Database '") + m_database
                             + QStringLiteral("' started at ")));
    EXPECT_TRUE(log.contains(QStringLiteral("LoadError: TVXBaseFunctions.LoadFile: ")));
    EXPECT_TRUE(log.contains(QStringLiteral("binary")));
    EXPECT_TRUE(log.contains(QStringLiteral("  in file: ") + m_sources
                             + QStringLiteral("/LOADMOD.ibmcob")));
    EXPECT_TRUE(log.contains(QStringLiteral("  1 Files did not Load because of Errors")));
    EXPECT_TRUE(log.contains(QStringLiteral("  6 Files found")));
    EXPECT_GT(Service().GetSourceDBLastLoaded(m_database), 0);
}

TEST_F(LoadTest, LaterRunsLoadOnlyWhatChangedAndForgetRemovedFiles)
{
    CopySample(QStringLiteral("ibmcob/CUST010.ibmcob"), QStringLiteral("CUST010.ibmcob"));
    CopySample(QStringLiteral("ibmjcl/CUSTJOB.jcl"), QStringLiteral("CUSTJOB.jcl"));
    Write(QStringLiteral("BROKEN.ibmcob"), QByteArray("\x00\x01", 2));
    AddFolder(m_sources, QStringLiteral("PAYROLL"), QString(), QString(), QString());
    Load(QStringLiteral("dependencies"));
    ASSERT_EQ(FileStates().value(QStringLiteral("BROKEN.ibmcob")), QStringLiteral("E"));

    // The failed file is gone, the job changed: it is removed with its results, the job
    // is parsed again, the program is left alone.
    QFile::remove(m_sources + QStringLiteral("/BROKEN.ibmcob"));
    const int programWords = Count(QStringLiteral("VXWORD"), QStringLiteral("VXFileID = 1"));
    Write(QStringLiteral("CUSTJOB.jcl"),
          "//NEWJOB   JOB 1\n//S1       EXEC PGM=CUST010\n//OUT      DD SYSOUT=*\n");
    QFile job(m_sources + QStringLiteral("/CUSTJOB.jcl"));
    ASSERT_TRUE(job.open(QIODevice::ReadWrite));
    job.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    job.close();
    Load(QStringLiteral("DEPENDENCIES"));
    EXPECT_EQ(FileStates().keys(), (QStringList{"CUST010.ibmcob", "CUSTJOB.jcl"}));
    EXPECT_EQ(Count(QStringLiteral("VXOBJECT"), QStringLiteral("VXObjectName = 'NEWJOB'")), 1);
    EXPECT_EQ(Count(QStringLiteral("VXOBJECT"), QStringLiteral("VXObjectName = 'CUSTJOB'")), 0);
    EXPECT_EQ(Count(QStringLiteral("VXWORD"), QStringLiteral("VXFileID = 1")), programWords);
    QString log = Log();
    EXPECT_TRUE(log.contains(QStringLiteral("Removed file: ") + m_sources
                             + QStringLiteral("/BROKEN.ibmcob")));
    EXPECT_TRUE(log.contains(QStringLiteral("  1 of 1 Files Loaded")));

    // Nothing changed.
    Load(QStringLiteral("dependencies"));
    EXPECT_TRUE(Log().trimmed()
                        .section(QStringLiteral("started at"), -1)
                        .contains(QStringLiteral("*** No changes to Load ***")));

    // Every file again.
    Load(QStringLiteral("Reload"));
    EXPECT_TRUE(Log().section(QStringLiteral("started at"), -1)
                        .contains(QStringLiteral("  2 of 2 Files Loaded")));
}

TEST_F(LoadTest, FolderWithoutAttributesAndRunWithoutFolders)
{
    CopySample(QStringLiteral("ibmcob/CUSTREC.ibmcob"), QStringLiteral("CUSTREC.ibmcob"));
    AddFolder(m_sources, QString(), QString(), QString(), QString());
    Load();
    const QList<QVariantList> attributes = Select(
            QStringLiteral("SELECT VXAttributeType, VXAttributeName, VXIcon FROM VXATTRIBUTE"));
    ASSERT_EQ(attributes.size(), 1);
    EXPECT_EQ(attributes[0][1].toString(), QStringLiteral("Common Source for "));
    EXPECT_EQ(attributes[0][2].toInt(), 49);
    EXPECT_EQ(Count(QStringLiteral("VXFILE"),
                    QStringLiteral("VXApplicationID = 0 AND VXSystemID = 0")),
              1);

    // Without folders the files stay as they are, the run is still recorded.
    Write(QStringLiteral("NEW.ibmcob"), "       PROGRAM-ID. NEW1.\n");
    Load(QString(), false);
    EXPECT_EQ(Count(QStringLiteral("VXFILE")), 1);
    EXPECT_TRUE(Log().section(QStringLiteral("started at"), -1)
                        .contains(QStringLiteral("*** Load Finished at ")));
}

TEST_F(LoadTest, MissingFolderInterruptsTheRunByName)
{
    const QString missing = m_home.File(QStringLiteral("no such folder"));
    AddFolder(missing, QString(), QString(), QString(), QString());
    try {
        Load();
        FAIL() << "the load went on";
    } catch (const std::exception &e) {
        EXPECT_TRUE(VXMessage(e).startsWith(QStringLiteral("LoadError: ")))
                << VXMessage(e).toStdString();
        EXPECT_TRUE(VXMessage(e).contains(missing)) << VXMessage(e).toStdString();
    }
    EXPECT_TRUE(Log().contains(QStringLiteral("*** Load interupted at ")));
}

TEST_F(LoadTest, DeletingAFolderRemovesItsFilesAndUnusedAttributes)
{
    CopySample(QStringLiteral("ibmcob/CUSTREC.ibmcob"), QStringLiteral("CUSTREC.ibmcob"));
    CopySample(QStringLiteral("bms/CUSTSET.bms"), QStringLiteral("maps/CUSTSET.bms"));
    const QString other = m_home.File(QStringLiteral("other"));
    QDir().mkpath(other);
    QFile::copy(QStringLiteral(VELUNOR_SOURCE_DIR "/samples/ibmjcl/CUSTJOB.jcl"),
                other + QStringLiteral("/CUSTJOB.jcl"));
    AddFolder(m_sources, QStringLiteral("PAYROLL"), QString(), QString(), QString());
    AddFolder(other, QStringLiteral("BATCH"), QString(), QString(), QString());
    Load();
    ASSERT_EQ(Count(QStringLiteral("VXFILE")), 3);
    Service().DeleteFilesInDB(m_database, false, false, m_sources);
    EXPECT_EQ(FileStates().keys(), (QStringList{"CUSTJOB.jcl"}));
    EXPECT_EQ(Count(QStringLiteral("VXWORD"), QStringLiteral("VXFileID <> 3")), 0);
    EXPECT_EQ(Count(QStringLiteral("VXATTRIBUTE"), QStringLiteral("VXAttributeName = 'PAYROLL'")),
              0);
    EXPECT_EQ(Count(QStringLiteral("VXATTRIBUTE"), QStringLiteral("VXAttributeName = 'BATCH'")), 1);
}

// Who uses what, after the sample portfolio is loaded: the program includes its copy member
// and shows the map, the job runs the program and its in-stream procedure.
TEST_F(LoadTest, DependenciesLinkProgramsMembersMapsAndJobs)
{
    const QStringList expected = FirstLoadLinks();
    auto uses = [this] { return Uses(); };
    // The map loses its CUSTMAP: the program that showed it is checked again and keeps
    // no link to a map that is gone; the other links stay.
    Write(QStringLiteral("CUSTSET.bms"),
          "ORDSET   DFHMSD TYPE=MAP\nORDMAP   DFHMDI SIZE=(24,80)\n         DFHMSD TYPE=FINAL\n");
    QFile map(m_sources + QStringLiteral("/CUSTSET.bms"));
    ASSERT_TRUE(map.open(QIODevice::ReadWrite));
    map.setFileTime(QDateTime::currentDateTime().addSecs(120), QFileDevice::FileModificationTime);
    map.close();
    Load(QStringLiteral("dependencies"));
    QStringList remaining = expected;
    remaining.removeFirst();
    EXPECT_EQ(uses().join(QLatin1Char('\n')).toStdString(),
              remaining.join(QLatin1Char('\n')).toStdString());
    // The map file is checked; the program's link into it cannot be found again, so the
    // program is checked in a second pass.
    QString lastRun = Log().section(QStringLiteral("started at"), -1);
    EXPECT_EQ(lastRun.count(QStringLiteral("  0 of 1 Files Checked for Dependencies")), 2)
            << lastRun.toStdString();

    // A copy member parsed again under the same names keeps the links into it: only the
    // member itself is checked.
    QFile member(m_sources + QStringLiteral("/CUSTREC.ibmcob"));
    ASSERT_TRUE(member.open(QIODevice::ReadWrite));
    member.setFileTime(QDateTime::currentDateTime().addSecs(240),
                       QFileDevice::FileModificationTime);
    member.close();
    Load(QStringLiteral("dependencies"));
    EXPECT_EQ(uses().join(QLatin1Char('\n')).toStdString(),
              remaining.join(QLatin1Char('\n')).toStdString());
    lastRun = Log().section(QStringLiteral("started at"), -1);
    EXPECT_EQ(lastRun.count(QStringLiteral("  0 of 1 Files Checked for Dependencies")), 1)
            << lastRun.toStdString();
}

// A program reaches another through a routing routine: CALL 'MWROUTE' USING 'CUSTUPD'.
TEST_F(LoadTest, MiddlewareMarksTheProgramItRoutesTo)
{
    CopySample(QStringLiteral("ibmcob/CUSTUPD.ibmcob"), QStringLiteral("CUSTUPD.ibmcob"));
    CopySample(QStringLiteral("ibmcob/CUSTREC.ibmcob"), QStringLiteral("CUSTREC.ibmcob"));
    Write(QStringLiteral("ROUTER.ibmcob"), "       PROGRAM-ID. ROUTER.\n"
                                           "       DATA DIVISION.\n"
                                           "       PROCEDURE DIVISION.\n"
                                           "      * MWROUTE IS OUR ROUTING ROUTINE: 'NOTME'\n"
                                           "           CALL 'MWROUTE' USING 'CUSTUPD'.\n"
                                           "           GOBACK.\n");
    AddFolder(m_sources, QStringLiteral("PAYROLL"), QString(), QString(), QString());
    TVXConfigTable &middleware = Service().Configuration().MiddlewareTable();
    middleware.Append({{QStringLiteral("VXMiddleWare"), QStringLiteral("Router")},
                       {QStringLiteral("VXWord"), QStringLiteral("mwroute")},
                       {QStringLiteral("VXWordType"), QStringLiteral("Call")},
                       {QStringLiteral("VXOffsetToObjectIdentifier"), 4},
                       {QStringLiteral("VXOffsetToEntryName"), 0},
                       {QStringLiteral("VXOffsetToTableIdentifier"), 0},
                       {QStringLiteral("VXAttributeScope1"), QStringLiteral("System named")},
                       {QStringLiteral("VXAttributeScope2"), QStringLiteral("PAYROLL")}});
    // Another database's definition changes nothing here.
    middleware.Append({{QStringLiteral("VXMiddleWare"), QStringLiteral("Elsewhere")},
                       {QStringLiteral("VXWord"), QStringLiteral("GOBACK")},
                       {QStringLiteral("VXWordType"), QStringLiteral("Any Executable Word")},
                       {QStringLiteral("VXOffsetToObjectIdentifier"), 0},
                       {QStringLiteral("VXOffsetToEntryName"), 0},
                       {QStringLiteral("VXOffsetToTableIdentifier"), 1},
                       {QStringLiteral("VXAttributeScope1"), QStringLiteral("SourceDB named")},
                       {QStringLiteral("VXAttributeScope2"), QStringLiteral("OTHERDB")}});
    Load();
    const QList<QVariantList> marked
            = Select(QStringLiteral("SELECT VXWordType, VXObjectIdentifier FROM VXWORD w JOIN "
                                    "VXFILE f ON f.VXFileID = w.VXFileID "
                                    "WHERE f.VXFileName = 'ROUTER.ibmcob' AND VXWord = 'CUSTUPD'"));
    ASSERT_EQ(marked.size(), 1);
    EXPECT_EQ(marked[0][0].toInt(), 1059);
    EXPECT_EQ(marked[0][1].toString(), QStringLiteral("CUSTUPD"));
    EXPECT_EQ(Count(QStringLiteral("VXWORD"), QStringLiteral("VXWordType = 1072")), 0);
    EXPECT_EQ(Select(QStringLiteral("SELECT t.VXFileName FROM VXDEPENDENCIES d JOIN VXFILE f ON "
                                    "f.VXFileID = d.VXFromFileID "
                                    "JOIN VXFILE t ON t.VXFileID = d.VXFileID WHERE f.VXFileName = "
                                    "'ROUTER.ibmcob'"))
                      .value(0)
                      .value(0)
                      .toString(),
              QStringLiteral("CUSTUPD.ibmcob"));
    EXPECT_TRUE(Log().contains(QStringLiteral("  2 of 2 MiddleWares Checked")));
}

// The first load on the other engines: Firebird embedded, and PostgreSQL through ODBC.
class LoadEngineTest : public LoadTest, public ::testing::WithParamInterface<DriverCase>
{
protected:
    void SetUp() override
    {
        if (GetParam().NeedsPostgres && PostgresPort().isEmpty())
            GTEST_SKIP() << "no PostgreSQL cluster: run through ctest, which starts one";
        LoadTest::SetUp();
        TVXConfigTable &databases = Service().Configuration().DatabasesTable();
        m_database = QStringLiteral("Engine");
        databases.Append({{QStringLiteral("VX_DBNAME"), m_database},
                          {QStringLiteral("VX_DBTYPE"),
                           QString::fromLatin1(GetParam().Name).startsWith(QLatin1String("Odbc"))
                                   ? QStringLiteral("ODBC")
                                   : QString::fromLatin1(GetParam().Name)},
                          {QStringLiteral("VX_DBCONNSTRING"),
                           GetParam().Connection(m_home.Path() + QLatin1Char('/'))}});
    }
};

TEST_P(LoadEngineTest, FirstLoadLinksProgramsMembersMapsAndJobs)
{
    FirstLoadLinks();
    EXPECT_EQ(FileStates().value(QStringLiteral("CUST010.ibmcob")), QStringLiteral("Y"));
}

// The generated CICS and batch application links the same on every engine as on SQLite:
// each link the generator wrote, and no other.
TEST_P(LoadEngineTest, TheGeneratedApplicationLinksEveryReference)
{
    TVXConfigTable &languages = Service().Configuration().LanguagesTable();
    const int cobol
            = languages.FindFirst(QStringLiteral("VXLanguageName"), QStringLiteral("IBMCOB"));
    ASSERT_GE(cobol, 0);
    languages.SetValue(cobol, QStringLiteral("VXFileExtensions"),
                       QStringLiteral(".ibmcob;.cbl;.cpy"));
    const VXTest::GeneratedApplication app = VXTest::WriteMainframeApplication(m_sources);
    AddFolder(m_sources, QStringLiteral("CARDS"), QString(), QString(), QString());
    Load();
    QStringList stored;
    for (const QVariantList &row : Select(VXTest::StoredLinkQuery()))
        stored << VXTest::LinkKey(row[0].toString().trimmed(), row[1].toInt(),
                                  row[2].toString().trimmed(), row[3].toString().trimmed(),
                                  row[4].toString().trimmed(), row[5].toInt() == -1);
    stored.sort();
    const QStringList expected = VXTest::ExpectedLinkKeys(app);
    QStringList lost = QSet<QString>(expected.cbegin(), expected.cend())
                               .subtract(QSet<QString>(stored.cbegin(), stored.cend()))
                               .values();
    QStringList extra = QSet<QString>(stored.cbegin(), stored.cend())
                                .subtract(QSet<QString>(expected.cbegin(), expected.cend()))
                                .values();
    lost.sort();
    extra.sort();
    EXPECT_EQ(stored.size(), expected.size());
    EXPECT_TRUE(lost.isEmpty()) << lost.mid(0, 20).join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(extra.isEmpty()) << extra.mid(0, 20).join(QLatin1Char('\n')).toStdString();
}

// Patterns are matched against the distinct words first: every stored word must be
// among them, and the search must give what the plain LIKE over every word gives.
TEST_P(LoadEngineTest, PatternSearchesGoThroughTheDistinctWords)
{
    FirstLoadLinks();
    EXPECT_EQ(Count(QStringLiteral("VXWORD W"),
                    QStringLiteral("NOT EXISTS (SELECT * FROM VXDISTINCTWORD D WHERE D.VXWord = "
                                   "W.VXWord)")),
              0);
    EXPECT_GT(Count(QStringLiteral("VXDISTINCTWORD")), 10);
    const int statements
            = Select(QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT VXFileID, VXObjectID, "
                                    "VXEntryID, VXRowID FROM VXWORD WHERE Upper(VXWord) LIKE "
                                    "'%CUST%' AND VXFileID > 0) S"))
                      .value(0)
                      .value(0)
                      .toInt();
    ASSERT_GT(statements, 40);

    TVXDataAccessInterface *db = Service().ConnectDB(m_database);
    {
        TVXQueryEngine engine(db);
        const int word = engine.Table(QStringLiteral("VXWORD"));
        engine.WhereClause().Add(true, word, engine.Field(word, QStringLiteral("VXWord")),
                                 TVXQueryEngine::AnyWord);
        engine.WhereClause().SetOperator(VXOperator::Contains);
        engine.WhereClause().SetValueString(QStringLiteral("cust"));
        auto all = [&engine] {
            engine.Query(true, false);
            while (engine.MoreRows())
                engine.Query(false, false);
            return engine.Result().RecordCount();
        };
        EXPECT_EQ(all(), statements);
        EXPECT_TRUE(engine.RunSqlLines()[2].contains(QLatin1String("VXDISTINCTWORD")))
                << engine.RunSqlLines()[2].toStdString();
        EXPECT_EQ(engine.SqlLines()[2],
                  QStringLiteral("( Upper(VXWORD) LIKE '%CUST%' AND VXFileID > 0 )"));
        // Nothing in the samples is written in lower case.
        engine.SetCaseSensitive(true);
        EXPECT_EQ(all(), 0);
        engine.WhereClause().SetValueString(QStringLiteral("CUST"));
        EXPECT_EQ(all(), statements);
    }
    db->DisConnect();
}

std::vector<DriverCase> OtherEngines()
{
    std::vector<DriverCase> engines;
    for (const DriverCase &driver : DriverCases())
        if (QLatin1String(driver.Name) != QLatin1String("InMemory"))
            engines.push_back(driver);
    return engines;
}

INSTANTIATE_TEST_SUITE_P(Engines, LoadEngineTest, ::testing::ValuesIn(OtherEngines()),
                         DriverCaseName);

class LoadDebugTest : public LoadTest
{
protected:
    void SetUp() override
    {
        VXTest::WriteVnIni(m_home.Path(), QStringLiteral("[APPLICATION]\nLOAD_DEBUG=Yes\n"));
        LoadTest::SetUp();
    }
};

TEST_F(LoadDebugTest, TraceNamesEveryLoadedFile)
{
    CopySample(QStringLiteral("ibmcob/CUSTREC.ibmcob"), QStringLiteral("CUSTREC.ibmcob"));
    AddFolder(m_sources, QString(), QString(), QString(), QString());
    Load();
    QFile trace(m_home.File(QStringLiteral("VN_Load_Debug.txt")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(trace.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\tCheck LoadFile 1\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\tDepCheckPrepared\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\tFileDepCheckedFROM\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\tFileLoaded\t1\t") + m_sources
                              + QStringLiteral("/CUSTREC.ibmcob")))
            << text.toStdString();
}

} // namespace
