// SPDX-License-Identifier: GPL-3.0-or-later
// The ODBC repository.
#include "repository/odbc/Odbcdb.h"

#include "base/Exception.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

TVXODBCDB::TVXODBCDB(QObject *owner)
    : TVXSqlDataAccess(owner, QStringLiteral("TVXODBCDB"), QStringLiteral("QODBC"))
{}

QString TVXODBCDB::RewriteSql(const QString &sql) const
{
    return m_jet ? JetRewrite(sql) : sql;
}

void TVXODBCDB::Configure(QSqlDatabase &database)
{
    // SQLite compares LIKE without case unless told otherwise, which would make every
    // case-sensitive search through an SQLite data source ignore case. Qt does not name
    // SQLite behind ODBC, so it is asked.
    if (m_jet)
        return;
    // A load sends its rows in multi-row inserts where the data source is known to take
    // them: one round trip per row made a server repository hundreds of times slower.
    m_postgres = database.driver()->dbmsType() == QSqlDriver::PostgreSQL;
    if (m_postgres)
        m_multiRowInserts = true;
    if (database.driver()->dbmsType() != QSqlDriver::UnknownDbms)
        return;
    QSqlQuery probe(database);
    if (probe.exec(QStringLiteral("SELECT sqlite_version()"))) {
        probe.exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
        m_multiRowInserts = true;
    }
}

QStringList TVXODBCDB::DeleteForFileStatements() const
{
    if (!m_postgres)
        return TVXSqlDataAccess::DeleteForFileStatements();
    // PostgreSQL deletes from all six tables in one statement, one round trip per file.
    const QStringList deletes = TVXSqlDataAccess::DeleteForFileStatements();
    QStringList parts;
    for (qsizetype i = 0; i + 1 < deletes.size(); ++i)
        parts << QStringLiteral("D%1 AS (%2)").arg(i).arg(deletes[i]);
    return {QStringLiteral("WITH ") + parts.join(QStringLiteral(", ")) + QLatin1Char(' ')
            + deletes.last()};
}

void TVXODBCDB::Open(QSqlDatabase &database, const QString &connection)
{
    m_multiRowInserts = false;
    m_postgres = false;
    database.setDatabaseName(connection);
    database.setConnectOptions(
            QStringLiteral("SQL_ATTR_CONNECTION_TIMEOUT=120;SQL_ATTR_LOGIN_TIMEOUT=120"));
    if (!database.open())
        throw TVXException(database.lastError().text());
    m_jet = connection.toUpper().contains(QLatin1String("MICROSOFT.JET.OLEDB"));
    // PostgreSQL's driver wraps every statement in a savepoint of its own unless told to
    // roll back whole transactions on an error, which doubles a load's round trips. A
    // failed statement ends the load's unit of work anyway, so the whole-transaction level
    // is asked for, unless the connection text chooses a level itself.
    if (database.driver()->dbmsType() == QSqlDriver::PostgreSQL
        && !connection.contains(QLatin1String("Protocol"), Qt::CaseInsensitive)) {
        database.close();
        QString withLevel = connection.trimmed();
        if (!withLevel.isEmpty() && !withLevel.endsWith(QLatin1Char(';')))
            withLevel += QLatin1Char(';');
        database.setDatabaseName(withLevel + QStringLiteral("Protocol=7.4-1;"));
        if (!database.open())
            throw TVXException(database.lastError().text());
    }
}
