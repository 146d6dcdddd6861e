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

struct Result
{
    int Code = -1;
    QString Out;
    QString Err;
};

class CliTest : public ::testing::Test
{
protected:
    Result Run(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELUNOR_HOME"), m_home.Path());
        process.setProcessEnvironment(environment);
        process.start(VXTest::PackageDir() + QStringLiteral("velunor-cli"), arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
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

    result = Run({QStringLiteral("load")});
    ASSERT_EQ(result.Code, 0) << result.Err.toStdString();
    EXPECT_TRUE(result.Out.contains(QStringLiteral("*** Load Finished ***")))
            << result.Out.toStdString();
    EXPECT_FALSE(result.Out.contains(QStringLiteral("Errors:")));

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
    EXPECT_EQ(status.value(QStringLiteral("dependencies")).toInt(), 6);
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
    EXPECT_TRUE(missing.contains(QStringLiteral("member PROD.PROCLIB")));
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

} // namespace
