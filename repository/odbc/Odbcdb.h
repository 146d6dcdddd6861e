// SPDX-License-Identifier: GPL-3.0-or-later
// The ODBC repository: any ODBC data source, reached with a connection string.
#pragma once

#include "repository/Sqldataaccess.h"

// A second Connect only counts, whatever it names. Connection strings that name the Jet
// provider get UCASE( for UPPER( in every condition and statement, as Jet knows no UPPER.
class TVXODBCDB : public TVXSqlDataAccess
{
    Q_OBJECT
public:
    explicit TVXODBCDB(QObject *owner);

    bool IsJet() const { return m_jet; }

protected:
    void Open(QSqlDatabase &database, const QString &connection) override;
    void Configure(QSqlDatabase &database) override;
    bool SkipsRetainingCommit() const override { return true; }
    QString RewriteSql(const QString &sql) const override;
    int ValuesPerInsert() const override { return m_multiRowInserts ? 4000 : 0; }
    QStringList DeleteForFileStatements() const override;

private:
    bool m_jet = false;
    bool m_postgres = false;
    // The data source takes several rows in one INSERT ... VALUES (PostgreSQL, SQLite).
    bool m_multiRowInserts = false;
};
