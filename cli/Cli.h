// SPDX-License-Identifier: GPL-3.0-or-later
// velunor-cli: subcommands over the packages, the configuration and the repositories.
// Exit status 0 on success, 1 when the system refuses the request (its message goes to
// standard error), 2 on a usage error.
#pragma once

#include "query/Searchrows.h"
#include "repository/Connection.h"

#include <QHash>
#include <QStringList>
#include <QTextStream>

#include <memory>

class TVXBaseFunctionsInterface;
class TVXConfigurationStore;
class TVXDataAccessInterface;
struct TVXRuleResult;
class TVXPackageLoader;
class TVXQueryEngine;

class TVXCli
{
public:
    enum ExitCode { Success = 0, Refused = 1, Usage = 2, FilesFailed = 3 };

    TVXCli(QTextStream &out, QTextStream &err);
    ~TVXCli();

    int Run(const QStringList &arguments);

private:
    struct Arguments
    {
        QStringList Positional;
        QStringList Flags;
        QHash<QString, QString> Values;
        QString Database;
    };
    int Help(const QString &command);
    int Load(const Arguments &arguments);
    int Status(const Arguments &arguments);
    int Missing(const Arguments &arguments);
    int Sources(const Arguments &arguments);
    int Databases(const Arguments &arguments);
    int Languages(const Arguments &arguments);
    int Middleware(const Arguments &arguments);
    int Query(const QStringList &arguments);
    struct QueryRequest
    {
        QList<TVXSearchRow> Rows;
        QString Database;
        bool CaseSensitive = false;
        bool Count = false;
        bool Json = false;
        int Limit = -1; // every statement
    };
    // Reads the query command's options; false, with the status to end with, after --help
    // or a usage error.
    bool ParseQuery(const QStringList &arguments, QueryRequest &request, int &exitCode);
    // The hit count, or the statements up to the limit, as text or JSON.
    void PrintQueryResult(const QueryRequest &request, TVXQueryEngine &engine);
    int Sql(const QStringList &arguments);
    // Prints a rule's refusal (or its information) and gives the exit status.
    int Outcome(const TVXRuleResult &result);
    TVXConfigurationStore &Configuration();
    // Loads the packages and the configuration; false with a message on failure.
    bool Start();
    // The default source database when none is named; false (and the refusal printed)
    // when it is not configured.
    bool ConfiguredDatabase(QString &database);
    // The named database, connected; throws naming it when it cannot be.
    TVXConnection Connected(const QString &database);
    static QString UsageText(const QString &command);
    bool IsConfigured(const QString &database);
    int Fail(const QString &message);
    int UsageError(const QString &message, const QString &command);

    QTextStream &m_out;
    QTextStream &m_err;
    std::unique_ptr<TVXPackageLoader> m_packages;
    std::unique_ptr<TVXBaseFunctionsInterface> m_service;
};
