// SPDX-License-Identifier: GPL-3.0-or-later
// The default repository: an SQLite database file inside the process.
#pragma once

#include "repository/Sqldataaccess.h"

#include <QLockFile>

#include <array>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The connection text is the database file; empty means the settings folder's
// VN_FirstDataBase.sqlite, ":memory:" a database that lives as long as the connection.
// The file is opened in WAL mode with a busy timeout, so a View can read while a load
// writes from another process. Appends go through SQLite's own prepared statements on the
// connection Qt opened, which is several times faster than binding through Qt.
class TVXInMemoryDB : public TVXSqlDataAccess
{
    Q_OBJECT
public:
    explicit TVXInMemoryDB(QObject *owner);
    ~TVXInMemoryDB() override;

    void VXWORD_Append(int fileID, int objectID, int entryID, int rowID, int wordID, int languageID,
                       int sectionType, int sectionLevel, const QString &word, int wordType,
                       const QString &objectIdentifier) override;
    void VXROW_Append(int fileID, int objectID, int entryID, int rowID, int languageID,
                      const QString &row, bool call) override;
    // Through SQLite's own statements, kept per text: binding through Qt costs more than
    // the engine's answer to the short lookups of the resolution and the result pages.
    QList<QVariantList> SelectRows(const TVXCondition &statement) override;
    bool JoinsValueLists() const override { return true; }

protected:
    void Open(QSqlDatabase &database, const QString &connection) override;
    void Configure(QSqlDatabase &database) override;
    QString TableOptions(const VXSchema::Table &table) const override;
    QStringList IndexBuildSettings(bool building) const override;
    bool RefusesOtherDatabase() const override { return true; }
    qint64 RetainingCommitInterval() const override { return 1000; }
    void Insert(int table, const QVariant *values) override;
    void BeforeClose() override;
    void InsertDistinctWord(const QString &word) override;
    bool StartTransaction(QSqlDatabase &database) override;
    QString CheckpointStatement() const override;
    bool SearchIndexesSuspendedElsewhere() override;
    void SearchIndexesSuspended(bool suspended) override;
    std::optional<QSet<QString>> ExistingIndexes(QSqlDatabase &database) override;
    void AfterSchema(QSqlDatabase &database, bool created) override;

private:
    // Held beside the database file while this connection has the search indexes
    // suspended, so that other processes leave them to it; a lock of a run that died is
    // taken over.
    QString SuspensionLockPath() const;
    std::unique_ptr<QLockFile> m_suspension;
    QString m_file;
    sqlite3_stmt *Statement(int table);
    void Step(sqlite3_stmt *statement);

    sqlite3 *m_handle = nullptr;
    std::array<sqlite3_stmt *, 10> m_statements{};
    sqlite3_stmt *m_distinctInsert = nullptr;
    QHash<QString, sqlite3_stmt *> m_selects;
    void FinalizeSelects();
    // This connection has written: it maps no pages.
    bool m_writes = false;
};
