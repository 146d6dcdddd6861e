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
    if (database.driver()->dbmsType() == QSqlDriver::PostgreSQL)
        m_multiRowInserts = true;
    if (database.driver()->dbmsType() != QSqlDriver::UnknownDbms)
        return;
    QSqlQuery probe(database);
    if (probe.exec(QStringLiteral("SELECT sqlite_version()"))) {
        probe.exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
        m_multiRowInserts = true;
    }
}

void TVXODBCDB::Open(QSqlDatabase &database, const QString &connection)
{
    m_multiRowInserts = false;
    database.setDatabaseName(connection);
    database.setConnectOptions(
            QStringLiteral("SQL_ATTR_CONNECTION_TIMEOUT=120;SQL_ATTR_LOGIN_TIMEOUT=120"));
    if (!database.open())
        throw TVXException(database.lastError().text());
    m_jet = connection.toUpper().contains(QLatin1String("MICROSOFT.JET.OLEDB"));
}
