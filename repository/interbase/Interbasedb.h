// SPDX-License-Identifier: GPL-3.0-or-later
// The InterBase repository: a Firebird 3 database file opened by the embedded engine.
#pragma once

#include "repository/Sqldataaccess.h"

// The connection text is the database file. A file that does not exist yet is created with
// the schema. A second Connect to another file while connected is refused.
class TVXInterBaseDB : public TVXSqlDataAccess
{
    Q_OBJECT
public:
    explicit TVXInterBaseDB(QObject *owner);

    // Creates an empty database file (no tables); throws with Firebird's message.
    static void CreateDatabaseFile(const QString &path);

protected:
    void Open(QSqlDatabase &database, const QString &connection) override;
    bool RefusesOtherDatabase() const override { return true; }
    QStringList WordIndexes(bool tableCreated) const override;
    QStringList NameIndexes(bool tableCreated) const override;
    QString DistinctWordInsertSql() const override;
    // A Firebird commit ends the cursors of its transaction.
    bool CommitClosesCursors() const override { return true; }
};
