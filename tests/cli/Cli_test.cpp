// SPDX-License-Identifier: GPL-3.0-or-later
// velunor-cli as users run it: a separate process, its output, its exit status.
#include "Testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

using Result = VXTest::CliResult;

class CliTest : public ::testing::Test
{
protected:
    Result Run(const QStringList &arguments)
    {
        Result result = VXTest::RunCli(m_home.Path(), arguments);
        EXPECT_GE(result.Code, 0) << result.Err.toStdString();
        return result;
    }

    VXTest::Home m_home;
};

TEST_F(CliTest, UsageErrorsAndRefusalsHaveTheirExitStatus)
{
    Result result = Run({});
    EXPECT_EQ(result.Code, 2);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("usage: velunor-cli <command>")));
    result = Run({QStringLiteral("frobnicate")});
    EXPECT_EQ(result.Code, 2);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("unknown command 'frobnicate'")));
    result = Run({QStringLiteral("load"), QStringLiteral("--bogus")});
    EXPECT_EQ(result.Code, 2);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("unknown option '--bogus'")));
    result = Run({QStringLiteral("load"), QStringLiteral("--db")});
    EXPECT_EQ(result.Code, 2);
    result = Run({QStringLiteral("load"), QStringLiteral("--reload"), QStringLiteral("--rebuild")});
    EXPECT_EQ(result.Code, 2);
    result = Run({QStringLiteral("status"), QStringLiteral("--db"), QStringLiteral("O'Brien")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(
            result.Err.contains(QStringLiteral("the source database 'O'Brien' is not configured")))
            << result.Err.toStdString();
    result = Run({QStringLiteral("help"), QStringLiteral("status")});
    EXPECT_EQ(result.Code, 0);
    EXPECT_TRUE(result.Out.startsWith(QStringLiteral("usage: velunor-cli status")));
}

TEST_F(CliTest, LoadAndStatusOfTheSamplePortfolio)
{
    Result result = Run({QStringLiteral("status")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("Last loaded:     never")));

    const QString sources = m_home.File(QStringLiteral("portfolio"));
    QDir().mkpath(sources);
    for (const char *sample : {"ibmcob/CUST010.ibmcob", "ibmcob/CUSTREC.ibmcob",
                               "ibmcob/CUSTUPD.ibmcob", "ibmjcl/CUSTJOB.jcl", "bms/CUSTSET.bms"})
        ASSERT_TRUE(QFile::copy(
                QStringLiteral(VELUNOR_SOURCE_DIR "/samples/") + QLatin1String(sample),
                sources + QLatin1Char('/') + QFileInfo(QLatin1String(sample)).fileName()));
    result = Run({QStringLiteral("sources"), QStringLiteral("add-folder"), sources,
                  QStringLiteral("--system"), QStringLiteral("PAYROLL"),
                  QStringLiteral("--computer-type"), QStringLiteral("MVS"),
                  QStringLiteral("--location"), QStringLiteral("PROD"),
                  QStringLiteral("--application"), QStringLiteral("CUSTOMERS")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();

    // Asked for, the load says on standard error how long each of its phases took.
    qputenv("VELUNOR_LOAD_TIMINGS", "1");
    result = Run({QStringLiteral("load")});
    qunsetenv("VELUNOR_LOAD_TIMINGS");
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("*** Load Finished ***")))
            << result.Out.toStdString();
    EXPECT_FALSE(result.Out.contains(QStringLiteral("Errors:")));
    for (const char *phase : {"scan", "parse and store", "dependencies pass 1"})
        EXPECT_TRUE(
                result.Err.contains(QStringLiteral("load phase %1: ").arg(QLatin1String(phase))))
                << result.Err.toStdString();
    EXPECT_FALSE(result.Out.contains(QStringLiteral("load phase")));

    result = Run({QStringLiteral("status"), QStringLiteral("--json")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    const QJsonObject status = QJsonDocument::fromJson(result.Out.toUtf8()).object();
    EXPECT_EQ(
            status.value(QStringLiteral("files")).toObject().value(QStringLiteral("total")).toInt(),
            5);
    EXPECT_EQ(status.value(QStringLiteral("files")).toObject().value(QStringLiteral("Y")).toInt(),
              5);
    EXPECT_EQ(status.value(QStringLiteral("objectsByType"))
                      .toObject()
                      .value(QStringLiteral("JCL_JOB"))
                      .toInt(),
              1);
    EXPECT_EQ(status.value(QStringLiteral("dependencies")).toInt(), 7);
    EXPECT_EQ(status.value(QStringLiteral("attributes")).toInt(), 3);
    EXPECT_FALSE(status.value(QStringLiteral("lastLoaded")).toString().isEmpty());

    // What the portfolio refers to without holding it: the sort program, the shared DD
    // member, the procedure library, the SQL table and the job's data sets.
    result = Run({QStringLiteral("missing"), QStringLiteral("--json")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    QStringList missing;
    for (const QJsonValue &item : QJsonDocument::fromJson(result.Out.toUtf8()).array())
        missing << item[QStringLiteral("kind")].toString() + QLatin1Char(' ')
                           + item[QStringLiteral("name")].toString();
    EXPECT_TRUE(missing.contains(QStringLiteral("program SORT")))
            << missing.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(missing.contains(QStringLiteral("member STDOUT")));
    EXPECT_TRUE(missing.contains(QStringLiteral("data set PROD.PROCLIB")));
    EXPECT_FALSE(missing.contains(QStringLiteral("member PROD.PROCLIB")));
    EXPECT_TRUE(missing.contains(QStringLiteral("table CUSTOMER")));
    EXPECT_TRUE(missing.contains(QStringLiteral("data set PROD.CUSTOMER.MASTER")));
    EXPECT_FALSE(missing.contains(QStringLiteral("program CUSTUPD")));
    EXPECT_FALSE(missing.contains(QStringLiteral("member CUSTREC")));

    result = Run({QStringLiteral("load"), QStringLiteral("--no-dependency-rebuild")});
    EXPECT_EQ(result.Code, 0);
    EXPECT_TRUE(result.Out.contains(QStringLiteral("*** No changes to Load ***")))
            << result.Out.toStdString();

    // Removing the folder asks first; with --yes its files leave the repository.
    result = Run({QStringLiteral("sources"), QStringLiteral("remove"), sources});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("Loaded files from marked Folders will be deleted")));
    result = Run({QStringLiteral("sources"), QStringLiteral("remove"), sources,
                  QStringLiteral("--yes")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = Run({QStringLiteral("status"), QStringLiteral("--json")});
    EXPECT_EQ(QJsonDocument::fromJson(result.Out.toUtf8())
                      .object()
                      .value(QStringLiteral("files"))
                      .toObject()
                      .value(QStringLiteral("total"))
                      .toInt(),
              0);
    result = Run({QStringLiteral("sources"), QStringLiteral("list")});
    EXPECT_FALSE(result.Out.contains(sources));
}

TEST_F(CliTest, FolderSourcesFollowTheLoadDialogRules)
{
    const QString outer = m_home.File(QStringLiteral("src"));
    const QString inner = outer + QStringLiteral("/batch");
    QDir().mkpath(inner);
    auto addFolder = [this](const QStringList &more) {
        return Run(QStringList{QStringLiteral("sources"), QStringLiteral("add-folder")} + more);
    };
    const QString pay = QStringLiteral("PAY");
    const QString system = QStringLiteral("--system");
    const QString yes = QStringLiteral("--yes");
    Result result = addFolder({outer});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("Systems Name is required.")));
    result = addFolder(
            {outer, system, pay, QStringLiteral("--application"), QStringLiteral("APP")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("Computers Type and/or Location is required")));
    result = addFolder({outer, system, pay});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(
            result.Err.contains(QStringLiteral("Common Source at System Level, Continue Saving?")));
    result = addFolder({outer, system, pay, yes});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = addFolder({inner, system, pay, yes});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(
            result.Err.contains(QStringLiteral("Folder or subfolder is allready subject to Load")));
    result = addFolder({m_home.File(QStringLiteral("no such folder")), system, pay, yes});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("no such folder")));
    const QString script = QStringLiteral("/usr/bin/true");
    result = Run({QStringLiteral("sources"), QStringLiteral("add-script"), script});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = Run({QStringLiteral("sources"), QStringLiteral("add-script"), script});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("Script is allready subject to Execute before Load")));
    result = Run({QStringLiteral("sources"), QStringLiteral("list")});
    EXPECT_TRUE(result.Out.contains(QStringLiteral("FOLDER\t") + QDir::cleanPath(outer)
                                    + QStringLiteral("\tPAY")))
            << result.Out.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("REP\t/usr/bin/true")));
    result = Run({QStringLiteral("sources"), QStringLiteral("add-folder")});
    EXPECT_EQ(result.Code, 2);
}

TEST_F(CliTest, SourceDatabasesFollowTheDialogRules)
{
    const QString databases = QStringLiteral("databases");
    auto run = [&](QStringList arguments) { return Run(QStringList{databases} + arguments); };
    Result result = run({QStringLiteral("list")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("VN_FirstDataBase\tInMemory\t")));
    EXPECT_TRUE(result.Out.contains(QStringLiteral("\tDefault\n")));

    const QString type = QStringLiteral("--type");
    result = run(
            {QStringLiteral("add"), QStringLiteral("UnNamed"), type, QStringLiteral("InterBase")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("The default Name 'UnNamed' is not valid, change the Name.")));
    result = run(
            {QStringLiteral("add"), QStringLiteral("Second"), type, QStringLiteral("InMemory")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(QStringLiteral(
            "Only one instance of InMemory database allowed, choose another Type.")));
    result = run({QStringLiteral("add"), QStringLiteral("Second"), type,
                  QStringLiteral("InterBase"), QStringLiteral("--connection"),
                  QStringLiteral("/somewhere/VN_Empty12.IB")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("This file is your template empty database\nMake a copy of this file")));
    result = run({QStringLiteral("add"), QStringLiteral("Second")});
    EXPECT_EQ(result.Code, 2) << "--type is needed";

    // A new InterBase file made from the template, then made the default.
    result = run({QStringLiteral("add"), QStringLiteral("Billing"), type,
                  QStringLiteral("InterBase"), QStringLiteral("--create-file"),
                  QStringLiteral("--default")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(QFile::exists(m_home.File(QStringLiteral("VN_Billing.IB"))));
    result = run({QStringLiteral("add"), QStringLiteral("Billing"), type,
                  QStringLiteral("InterBase"), QStringLiteral("--create-file")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("allready has this Name")));
    result = run({QStringLiteral("list")});
    EXPECT_TRUE(result.Out.contains(QStringLiteral("VN_FirstDataBase\tInMemory\t")
                                    + m_home.File(QStringLiteral("VN_FirstDataBase.sqlite"))
                                    + QStringLiteral("\t\n")))
            << result.Out.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("Billing\tInterBase\t")
                                    + m_home.File(QStringLiteral("VN_Billing.IB"))
                                    + QStringLiteral("\tDefault\n")));
    // The new repository is usable at once: its status is that of an empty one.
    result = Run({QStringLiteral("status"), QStringLiteral("--db"), QStringLiteral("Billing")});
    EXPECT_EQ(result.Code, 0) << result.Err.toStdString();

    // A quote in a name is just a character; deleting the default moves the default.
    result = run({QStringLiteral("add"), QStringLiteral("O'Brien"), type,
                  QStringLiteral("InterBase"), QStringLiteral("--connection"),
                  m_home.File(QStringLiteral("o'brien.IB"))});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = run({QStringLiteral("remove"), QStringLiteral("Billing")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = run({QStringLiteral("list")});
    EXPECT_TRUE(result.Out.contains(QStringLiteral("VN_FirstDataBase\tInMemory\t")
                                    + m_home.File(QStringLiteral("VN_FirstDataBase.sqlite"))
                                    + QStringLiteral("\tDefault\n")))
            << result.Out.toStdString();
    result = run({QStringLiteral("set-default"), QStringLiteral("O'Brien")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = run({QStringLiteral("remove"), QStringLiteral("VN_FirstDataBase")});
    ASSERT_EQ(result.Code, 0);
    result = run({QStringLiteral("remove"), QStringLiteral("O'Brien")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("At least one Database need to exist, delete not allowed.")));
    result = run({QStringLiteral("remove"), QStringLiteral("Nowhere")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("'Nowhere' is not configured")));
}

TEST_F(CliTest, LanguageExtensionsAndEditors)
{
    const QString languages = QStringLiteral("languages");
    auto run = [&](QStringList arguments) { return Run(QStringList{languages} + arguments); };
    Result result = run({QStringLiteral("list")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("20520\tIBMCOB\t.ibmcob\t")));
    const QString extensions = QStringLiteral("extensions");
    result = run({extensions, QStringLiteral("ibmcob"), QStringLiteral(".ibmcob; .cbl ;.cpy")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = run({extensions, QStringLiteral("20520"), QStringLiteral(".cbl;cpy")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("First character must be a dot (.), change the Extension.")));
    result = run({extensions, QStringLiteral("IBMCOB"), QStringLiteral(".cbl;;.cpy")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("At least a dot (.) must be entered, change the Extension.")));
    result = run({extensions, QStringLiteral("NOPE"), QStringLiteral(".x")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("the language 'NOPE' is not known")));
    result = run({extensions, QStringLiteral("IBMCOB")});
    EXPECT_EQ(result.Code, 2);
    result = run({QStringLiteral("editor"), QStringLiteral("IBMCOB"), QStringLiteral("--name"),
                  QStringLiteral("Kate"), QStringLiteral("--command"),
                  QStringLiteral("kate --line %L"), QStringLiteral("--find-key"),
                  QStringLiteral("CTRL+F")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = run({QStringLiteral("list")});
    EXPECT_TRUE(result.Out.contains(
            QStringLiteral("20520\tIBMCOB\t.ibmcob;.cbl;.cpy\tKate\tkate --line %L\tCTRL+F\n")))
            << result.Out.toStdString();
}

TEST_F(CliTest, MiddlewareDefinitionsAndTheirTestRun)
{
    const QString middleware = QStringLiteral("middleware");
    const QStringList valid{QStringLiteral("--word"),       QStringLiteral("MWROUTE"),
                            QStringLiteral("--word-type"),  QStringLiteral("Call"),
                            QStringLiteral("--scope"),      QStringLiteral("SourceDB"),
                            QStringLiteral("--scope-name"), QStringLiteral("VN_FirstDataBase")};
    auto add = [&](const QString &name, QStringList options) {
        return Run(QStringList{middleware, QStringLiteral("add"), name} + options);
    };
    const std::pair<QStringList, const char *> refused[]{
            {{QStringLiteral("--scope-name"), QStringLiteral("X")},
             "Word for the middleware is missing, enter a Word."},
            {valid + QStringList{QStringLiteral("--object-offset"), QStringLiteral("two")},
             "Enter a number."},
            {valid + QStringList{QStringLiteral("--entry-offset"), QStringLiteral("-1")},
             "Offset must be 0 (not used) or positive."},
            {valid
                     + QStringList{QStringLiteral("--object-offset"), QStringLiteral("2"),
                                   QStringLiteral("--hard-identifier"), QStringLiteral("CUSTUPD")},
             "Hardcoded ObjectIdentifier and Offset to ObjectIdentifier can not be used together."},
            {valid
                     + QStringList{QStringLiteral("--object-offset"), QStringLiteral("2"),
                                   QStringLiteral("--table-offset"), QStringLiteral("3")},
             "ObjectIdentifier and TableIdentifier can not be used together."},
            {valid
                     + QStringList{QStringLiteral("--entry-offset"), QStringLiteral("2"),
                                   QStringLiteral("--table-offset"), QStringLiteral("3")},
             "EntryName and TableIdentifier can not be used together"},
            {valid, "Hardcoded ObjectIdentifier or at least one Offset must be used"},
            {{QStringLiteral("--word"), QStringLiteral("MWROUTE"), QStringLiteral("--entry-offset"),
              QStringLiteral("1")},
             "Scope for the middleware is missing, enter a Name."},
    };
    for (const auto &[options, message] : refused) {
        const Result result = add(QStringLiteral("Router"), options);
        EXPECT_EQ(result.Code, 1) << message;
        EXPECT_TRUE(result.Err.contains(QLatin1String(message))) << result.Err.toStdString();
    }
    Result result = add(QStringLiteral("UnNamed"), valid);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("The default Name 'UnNamed' is not valid")));
    const QStringList router
            = valid + QStringList{QStringLiteral("--object-offset"), QStringLiteral("4")};
    result = add(QStringLiteral("Router"), router);
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    result = add(QStringLiteral("Router"), router);
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("Another middleware allready has this Name, change the given Name.")));
    QStringList elsewhere = router;
    elsewhere[elsewhere.indexOf(QStringLiteral("VN_FirstDataBase"))] = QStringLiteral("OTHERDB");
    ASSERT_EQ(add(QStringLiteral("Elsewhere"), elsewhere).Code, 0);
    result = Run({middleware, QStringLiteral("list")});
    EXPECT_TRUE(result.Out.contains(
            QStringLiteral("Router\tMWROUTE\tCall\t4\t0\t0\t\tSourceDB named\tVN_FirstDataBase\n")))
            << result.Out.toStdString();

    result = Run({middleware, QStringLiteral("test"), QStringLiteral("Router")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(
            QStringLiteral("No hits on Word MWROUTE of type Call in given Scope")))
            << result.Out.toStdString();

    const QString sources = m_home.File(QStringLiteral("router"));
    QDir().mkpath(sources);
    QFile program(sources + QStringLiteral("/ROUTER.ibmcob"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("       IDENTIFICATION DIVISION.\n"
                  "       PROGRAM-ID. ROUTER.\n"
                  "       DATA DIVISION.\n"
                  "       PROCEDURE DIVISION.\n"
                  "           CALL 'MWROUTE' USING 'CUSTUPD'.\n"
                  "           GOBACK.\n");
    program.close();
    ASSERT_EQ(Run({QStringLiteral("sources"), QStringLiteral("add-folder"), sources,
                   QStringLiteral("--system"), QStringLiteral("PAY"), QStringLiteral("--yes")})
                      .Code,
              0);
    ASSERT_EQ(Run({QStringLiteral("load")}).Code, 0);
    result = Run({middleware, QStringLiteral("test"), QStringLiteral("Router")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral(
            "FoundStatement\tFoundObjectIdentifier\tFoundEntryName\tFoundTableIdentifier\n")));
    EXPECT_TRUE(result.Out.contains(QStringLiteral("\tCUSTUPD\t\t\n"))) << result.Out.toStdString();
    result = Run({middleware, QStringLiteral("test"), QStringLiteral("Elsewhere")});
    EXPECT_TRUE(result.Out.contains(QStringLiteral("Scope only on database OTHERDB")));
    result = Run({middleware, QStringLiteral("test"), QStringLiteral("Router"),
                  QStringLiteral("--db"), QStringLiteral("Gone")});
    EXPECT_EQ(result.Code, 1);

    ASSERT_EQ(Run({middleware, QStringLiteral("remove"), QStringLiteral("Router")}).Code, 0);
    result = Run({middleware, QStringLiteral("list")});
    EXPECT_FALSE(result.Out.contains(QStringLiteral("Router")));
    EXPECT_EQ(Run({middleware, QStringLiteral("remove"), QStringLiteral("Router")}).Code, 1);
}

TEST_F(CliTest, ABrokenSettingsFileStopsTheCommandAndIsKept)
{
    ASSERT_EQ(Run({QStringLiteral("status")}).Code, 0);
    QFile settings(m_home.File(QStringLiteral("VXLIB0110.bin")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("not a settings file");
    settings.close();
    Result result = Run({QStringLiteral("status")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(
            QStringLiteral("The DataBases settingsfile is corrupt or incompatible")))
            << result.Err.toStdString();
    QFile kept(m_home.File(QStringLiteral("VXLIB0110.bin.damaged")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("not a settings file"));
    EXPECT_EQ(Run({QStringLiteral("status")}).Code, 0) << "the restored settings work";
}

// The sample application as the README's main job loads it.
TEST_F(CliTest, TheSampleApplicationLoads)
{
    for (const auto &[language, list] : {std::pair{"IBMCOB", ".ibmcob;.cbl;.cpy"},
                                         std::pair{"IBMJCL", ".jcl"}, std::pair{"BMS", ".bms"}})
        ASSERT_EQ(Run({QStringLiteral("languages"), QStringLiteral("extensions"),
                       QLatin1String(language), QLatin1String(list)})
                          .Code,
                  0);
    ASSERT_EQ(
            Run({QStringLiteral("sources"), QStringLiteral("add-folder"),
                 QStringLiteral(VELUNOR_SOURCE_DIR "/samples"), QStringLiteral("--system"),
                 QStringLiteral("BILLING"), QStringLiteral("--computer-type"),
                 QStringLiteral("MVS"), QStringLiteral("--location"), QStringLiteral("PRODUCTION"),
                 QStringLiteral("--application"), QStringLiteral("NIGHTLY-BILLING")})
                    .Code,
            0);
    Result result = Run({QStringLiteral("load")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString() << result.Out.toStdString();

    result = Run({QStringLiteral("status"), QStringLiteral("--json")});
    const QJsonObject status = QJsonDocument::fromJson(result.Out.toUtf8()).object();
    const QJsonObject files = status.value(QStringLiteral("files")).toObject();
    EXPECT_EQ(files.value(QStringLiteral("total")).toInt(), 24);
    EXPECT_EQ(files.value(QStringLiteral("E")).toInt(), 0);
    const QJsonObject types = status.value(QStringLiteral("objectsByType")).toObject();
    EXPECT_EQ(types.value(QStringLiteral("PROGRAM-ID")).toInt(), 12) << "ten programs and two";
    EXPECT_EQ(types.value(QStringLiteral("COPY")).toInt(), 6);
    EXPECT_EQ(types.value(QStringLiteral("MAPSET")).toInt(), 3);

    // The deliberately missing copy member, the system utilities and the tables; none of
    // the members, programs and paragraphs that the application holds.
    result = Run({QStringLiteral("missing"), QStringLiteral("--json")});
    QHash<QString, QJsonObject> missing;
    for (const QJsonValue &item : QJsonDocument::fromJson(result.Out.toUtf8()).array())
        missing.insert(item[QStringLiteral("kind")].toString() + QLatin1Char(' ')
                               + item[QStringLiteral("name")].toString(),
                       item.toObject());
    ASSERT_TRUE(missing.contains(QStringLiteral("copy member TAXRATES")))
            << result.Out.toStdString();
    EXPECT_EQ(missing[QStringLiteral("copy member TAXRATES")][QStringLiteral("references")].toInt(),
              1);
    EXPECT_EQ(missing[QStringLiteral("copy member TAXRATES")][QStringLiteral("files")].toArray(),
              QJsonArray{QStringLiteral("BILL200.cbl")});
    EXPECT_EQ(missing[QStringLiteral("table ACCOUNT")][QStringLiteral("references")].toInt(), 2);
    EXPECT_TRUE(missing.contains(QStringLiteral("program IEBGENER")));
    for (const char *present : {"copy member ACCTREC", "copy member ADDRREC", "program BILL100",
                                "program DATEUTIL", "program ACCT020", "program ACCT030",
                                "program 1000-READ-CONTROL", "object ACCTMAP", "data set &&SORTED"})
        EXPECT_FALSE(missing.contains(QLatin1String(present))) << present;

    result = Run({QStringLiteral("load")});
    EXPECT_EQ(result.Code, 0);
    EXPECT_TRUE(result.Out.contains(QStringLiteral("*** No changes to Load ***")));

    // Searching it: the MOVE statements of the account programs that use an ACCT variable.
    result = Run({QStringLiteral("query"), QStringLiteral("--find"), QStringLiteral("Any Word"),
                  QStringLiteral("equals"), QStringLiteral("move"), QStringLiteral("--and"),
                  QStringLiteral("--find"), QStringLiteral("Variable Name (use)"),
                  QStringLiteral("contains"), QStringLiteral("ACCT"), QStringLiteral("--in"),
                  QStringLiteral("Objects Name"), QStringLiteral("begins-with"),
                  QStringLiteral("ACCT"), QStringLiteral("--json")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    const QJsonObject found = QJsonDocument::fromJson(result.Out.toUtf8()).object();
    QStringList objects;
    for (const QJsonValue &row : found[QStringLiteral("rows")].toArray())
        objects << row[QStringLiteral("QRObjectName")].toString();
    EXPECT_EQ(objects, (QStringList{QStringLiteral("ACCT010"), QStringLiteral("ACCT020"),
                                    QStringLiteral("ACCT030")}));
    EXPECT_EQ(found[QStringLiteral("hits")].toInt(), -1) << "matched in memory: not counted";
    result = Run({QStringLiteral("query"), QStringLiteral("--find"),
                  QStringLiteral("Word in Comment"), QStringLiteral("contains"),
                  QStringLiteral("BILLING"), QStringLiteral("--count"), QStringLiteral("--limit"),
                  QStringLiteral("1")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_EQ(result.Out.count(QLatin1Char('\n')), 1) << "the count line alone";
    EXPECT_TRUE(result.Out.contains(QStringLiteral(" hits in "))) << result.Out.toStdString();
    EXPECT_EQ(Run({QStringLiteral("query"), QStringLiteral("--find"), QStringLiteral("Any Word"),
                   QStringLiteral("sounds-like"), QStringLiteral("X")})
                      .Code,
              2);
    EXPECT_EQ(Run({QStringLiteral("query"), QStringLiteral("--in"), QStringLiteral("Objects Name"),
                   QStringLiteral("equals"), QStringLiteral("X")})
                      .Code,
              2)
            << "an in row alone finds nothing to show";

    result = Run({QStringLiteral("sql"),
                  QStringLiteral("-- the copy members\nSELECT VXObjectName FROM VXOBJECT WHERE "
                                 "VXObjectType = 'COPY' ORDER BY VXObjectName")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.startsWith(QStringLiteral("VXOBJECTNAME\nACCTREC\nADDRREC\n")))
            << result.Out.toStdString();
    result = Run({QStringLiteral("sql"), QStringLiteral("SELEKT 1")});
    EXPECT_EQ(result.Code, 1);
    EXPECT_TRUE(result.Err.contains(QStringLiteral("Error in SQL Statement")));

    // A report reads: what would change or drop anything runs only when asked for.
    const QString countFiles = QStringLiteral("SELECT COUNT(*) FROM VXFILE");
    const QString before = Run({QStringLiteral("sql"), countFiles}).Out;
    for (const char *writing :
         {"DELETE FROM VXFILE", "DROP TABLE VXWORD",
          "-- clean up\nupdate VXFILE set VXLoadTime = 0",
          "WITH x AS (SELECT 1) DELETE FROM VXWORD", "PRAGMA journal_mode=DELETE"}) {
        result = Run({QStringLiteral("sql"), QLatin1String(writing)});
        EXPECT_EQ(result.Code, 1) << writing;
        EXPECT_TRUE(result.Err.contains(QStringLiteral("--allow-writes"))) << writing;
    }
    EXPECT_EQ(Run({QStringLiteral("sql"), countFiles}).Out, before);
    result = Run({QStringLiteral("sql"),
                  QStringLiteral("SELECT CASE WHEN VXFileID > 0 THEN 'DELETE' END FROM VXFILE")});
    EXPECT_EQ(result.Code, 0) << "a word in a literal or CASE ... END writes nothing";
    result = Run({QStringLiteral("sql"), QStringLiteral("--allow-writes"),
                  QStringLiteral("DELETE FROM VXATTRIBUTE WHERE VXAttributeID < 0")});
    EXPECT_EQ(result.Code, 0) << result.Err.toStdString();
}

} // namespace
