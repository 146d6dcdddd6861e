// SPDX-License-Identifier: GPL-3.0-or-later
// The data access interface over Qt SQL: what every repository driver shares.
#pragma once

#include "repository/Dataaccessinterface.h"
#include "repository/Schema.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QPointer>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <QWaitCondition>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// Table handles stand for cursors named as the design has them: TAB_ + table name for the
// ten tables, TAB_VXWORD2 and TAB_VXOBJECT2 for a second position in those two, and
// DB_QUERY / DB_QUERY2 for whole statements. A cursor keeps the rows it read, so it moves
// both ways; edits and deletes of its current row go to the database by the row's key and
// are remembered in the cursor.
//
// Transactions begin with the first write and end with Commit; the last DisConnect
// commits what is pending, so nothing appended is lost by closing.
//
// Every failure of the database layer is raised as "<class>.<operation>: ..." in the
// forms the users and the load log know.
class VXCORE_EXPORT TVXSqlDataAccess : public TVXDataAccessInterface
{
    Q_OBJECT
public:
    ~TVXSqlDataAccess() override;

    int Connect(const QString &connection) override;
    int DisConnect(bool flag1 = false, bool flag2 = false) override;
    int GetTable(const QString &tableName) override;
    int GetField(int table, const QString &fieldName) override;
    QString GetFieldName(int table, int field) override;
    bool SelectBegin(int table, const QString &condition) override;
    bool SelectBoundBegin(int table, const TVXCondition &condition) override;
    bool SelectNext(int table) override;
    bool SelectPrevious(int table) override;
    bool Delete(int table, const QString &condition, bool currentRecordOnly) override;
    QVariant GetFieldValue(int table, int field) override;
    void SetFieldValue(int table, int field, const QVariant &value) override;
    int GetCount(int table) override;
    bool GoToKey(int table, const QString &keyFields, const QVariantList &values,
                 bool caseSensitive) override;
    bool GoToKeyNext(int table, const QString &keyFields, const QVariantList &values,
                     bool caseSensitive) override;
    void Commit(bool fileTransaction, bool retaining) override;
    void VXDeleteForFileID(int fileID) override;
    void VXLOAD_Append(const QString &loadType, const QString &loadFrom, const QString &systemName,
                       const QString &computerType, const QString &computerLocation,
                       const QString &applicationName) override;
    void VXFILE_Append(int languageID, int systemID, int computerID, int applicationID,
                       const QString &directory, const QString &fileName, qint64 fileTime,
                       qint64 fileSize) override;
    void VXOBJECT_Append(int fileID, int objectID, int languageID, bool inPackage,
                         const QString &objectName, const QString &objectIdentifier,
                         const QString &objectInherits, const QString &objectType, int icon,
                         const QString &subObjectParentName, const QString &inheritsParentName,
                         const QString &scopeOrNamespace, int applicationID, int computerID,
                         int systemID) override;
    void VXENTRY_Append(int fileID, int objectID, int entryID, int languageID,
                        const QString &entryName, const QString &objectIdentifier,
                        const QString &entryResultType, int scope,
                        const QString &parameterTypes) override;
    void VXROW_Append(int fileID, int objectID, int entryID, int rowID, int languageID,
                      const QString &row, bool call) override;
    void VXROW_SetCall(int fileID, int objectID, int entryID, int rowID) override;
    void VXWORD_Append(int fileID, int objectID, int entryID, int rowID, int wordID, int languageID,
                       int sectionType, int sectionLevel, const QString &word, int wordType,
                       const QString &objectIdentifier) override;
    void VXDEPENDENCIES_Append(int fileID, int objectID, int entryID, int rowID, int wordID,
                               int inheritsFileID, int inheritsObjectID, int fromFileID,
                               int fromObjectID, int fromEntryID, int fromRowID,
                               int fromWordID) override;
    void VXPACKAGE_Append(int fileID, int packageID, const QString &packageName,
                          const QString &objectName, int objectFileID, int objectID) override;
    void VXATTRIBUTE_Append(int attributeType, const QString &attributeName) override;
    void VXDATAFLOW_Append(int fileID, int rowID, int wordID, int fromFileID, int fromRowID,
                           int fromWordID) override;
    TVXDataset *GetQuery(QObject *owner, const QStringList &sql, bool bidirectional) override;
    QList<QVariantList> SelectRows(const TVXCondition &statement) override;
    TVXDataset *GetBoundQuery(QObject *owner, const TVXCondition &statement,
                              bool bidirectional) override;
    void ReleaseThreadConnection() override;
    void SuspendSearchIndexes() override;
    void RestoreSearchIndexes() override;
    void CheckpointLog() override;
    QString DistinctWordTable() const override;

    const QString &ConnectionText() const { return m_connection; }

    // Replaces every "UPPER(" in any case, letter for letter, by "UCASE(", for engines
    // that only know the latter (Jet).
    static QString JetRewrite(const QString &sql);

protected:
    TVXSqlDataAccess(QObject *owner, QString className, QString qtDriver);

    // ---- What a driver says about its engine ----
    // Sets up and opens the connection; throws TVXException with the engine's message.
    virtual void Open(QSqlDatabase &database, const QString &connection) = 0;
    // Run on every connection once it is open (the thread connections too).
    virtual void Configure(QSqlDatabase &database);
    virtual QString ColumnType(const VXSchema::Column &column) const;
    virtual QString TableOptions(const VXSchema::Table &table) const;
    // The indexes that searches on VXWord use; tableCreated tells whether VXWORD is new.
    virtual QStringList WordIndexes(bool tableCreated) const;
    // The indexes on upper-cased object and entry names that dependency resolution looks
    // names up by; tableCreated tells whether VXOBJECT is new.
    virtual QStringList NameIndexes(bool tableCreated) const;
    // Statements run before (building true) and after the search indexes are built again.
    virtual QStringList IndexBuildSettings(bool /*building*/) const { return {}; }
    // A second Connect naming another database is refused instead of only counted.
    virtual bool RefusesOtherDatabase() const { return false; }
    // Commits end the engine's open cursors, so cursors are read to their end first.
    virtual bool CommitClosesCursors() const { return false; }
    // A retaining commit is only skipped where the engine cannot keep the transaction.
    virtual bool SkipsRetainingCommit() const { return false; }
    // A retaining commit within this many milliseconds of the transaction's start is left
    // to a later one: a parse commits every few rows, and where each commit writes its
    // pages out on its own that costs more than the parse.
    virtual qint64 RetainingCommitInterval() const { return 0; }
    // Removes a file's parse results, each "?" the file's id.
    virtual QStringList DeleteForFileStatements() const;
    virtual QString RewriteSql(const QString &sql) const { return sql; }
    // How many values one insert statement may carry, where the engine takes several rows
    // in one statement; 0 inserts row by row. Rows are then sent when a batch is full and
    // before any other statement or commit.
    virtual int ValuesPerInsert() const { return 0; }
    // Appends one row in table order; the values are already cut to their columns.
    virtual void Insert(int table, const QVariant *values);
    // Called before the connection closes and before its transaction ends.
    virtual void BeforeClose() {}
    // Opens the write transaction; false with the engine's error in lastError.
    virtual bool StartTransaction(QSqlDatabase &database) { return database.transaction(); }
    // Lets the engine write what its log holds back into the database, where that keeps the
    // log small during a long load; empty where the engine needs nothing.
    virtual QString CheckpointStatement() const { return {}; }
    // A load in another process has the search indexes suspended: a connection must not
    // build them again under it. Suspending and restoring tell the engine's side of it.
    virtual bool SearchIndexesSuspendedElsewhere() { return false; }
    virtual void SearchIndexesSuspended(bool) {}
    // The names of the indexes the database holds, upper-cased, where the engine lists them;
    // then only missing indexes are made, and a reader that connects writes nothing.
    virtual std::optional<QSet<QString>> ExistingIndexes(QSqlDatabase &) { return std::nullopt; }
    // After the tables and indexes are there: what the engine's own repository format needs.
    virtual void AfterSchema(QSqlDatabase &, bool /*created*/) {}
    // Adds a word to the distinct-word table unless it is there.
    virtual void InsertDistinctWord(const QString &word);
    virtual QString DistinctWordInsertSql() const;

    // Every word appended goes through here (after its cut to the column).
    void NoteWord(const QString &word);

    // The connection of the calling thread: the driver's own, or a copy of it for another
    // thread.
    QSqlDatabase Database();
    QSqlDatabase MainDatabase() const;
    void BeginWrite();
    bool InTransaction() const { return m_inTransaction; }
    [[noreturn]] void Fail(const QString &operation, const QString &message) const;
    const QString &ClassName() const { return m_className; }
    static QString CutToColumn(const VXSchema::Column &column, const QString &text);
    // Runs a statement; throws the engine's message.
    void Execute(QSqlQuery &query, const QString &sql);
    void ExecutePrepared(QSqlQuery &query);
    // Runs sql, prepared with the values bound in order when there are any; false with the
    // query's error on failure.
    static bool Run(QSqlQuery &query, const QString &sql, const QVariantList &values);
    // A statement of the main connection prepared once per text (forward only), and kept
    // until the connection closes or, where commits close statements, the transaction ends.
    QSqlQuery &Statement(const QString &sql);
    // Runs such a statement that returns no rows, with the values bound in order.
    void RunStatement(const QString &sql, const QVariantList &values);
    // Sends the rows held for multi-row inserts when the statement reads a table that has
    // rows waiting.
    void FlushAppendsReadBy(const QString &sql);

private:
    struct Cursor
    {
        QString Name;
        int Table = -1; // index into VXSchema::Tables; -1 for the free queries
        std::shared_ptr<QSqlQuery> Query;
        // Statements of this cursor that may run again with other values, by their text;
        // Query is one of them or one run without values.
        QHash<QString, std::shared_ptr<QSqlQuery>> Prepared;
        QString Condition;
        QVariantList ConditionValues;            // bound to the condition's "?", in order
        QHash<int, QHash<int, QVariant>> Edited; // row position -> field -> value
        QSet<int> Deleted;
    };

    Cursor &CursorFor(int handle, const char *operation);
    const VXSchema::Table &TableOf(const Cursor &cursor, const char *operation);
    // Runs the statement with the values bound to its "?" and reads to the first row.
    bool Open(Cursor &cursor, const QString &sql, const QVariantList &values = {});
    bool Move(Cursor &cursor, bool forward);
    bool HasRow(const Cursor &cursor) const;
    QVariant CurrentValue(const Cursor &cursor, int field) const;
    QString KeyCondition(const Cursor &cursor, QVariantList &values) const;
    void ReadCursorsToEnd();
    // Commits and lets no statement of the connection step any more.
    void FinishStatements();
    void CloseCursors();
    void EnsureSchema(QSqlDatabase &database);
    // raiseOnly: re-read every counter and keep the higher of memory and table.
    void ReadCounters(bool raiseOnly);
    void CommitTransaction();
    // INSERT INTO the table with its columns in order and a "?" row per row.
    static QString InsertSql(int table, qsizetype rows);
    QSqlQuery &Prepared(int table);
    // Sends the rows and distinct words held for multi-row inserts.
    void FlushAppends();
    static bool ReadsTable(const QString &sql, const QString &table);
    void FlushRows(int table);
    void FlushDistinctWords();
    QSqlQuery &BatchStatement(const QString &sql);
    void AppendRow(int table, const char *operation, std::initializer_list<QVariant> values);
    void SelectFile(const QString &directory, const QString &fileName);

    QString m_className;
    QString m_qtDriver;
    QString m_connectionName;
    QString m_connection;
    bool m_inTransaction = false;
    std::vector<Cursor> m_cursors;
    std::vector<std::unique_ptr<QSqlQuery>> m_inserts;
    // Rows held for a multi-row insert, per table, their values in table order.
    std::vector<QVariantList> m_pendingRows = std::vector<QVariantList>(VXSchema::Tables.size());
    QVariantList m_pendingWords;
    bool m_hasPendingRows = false;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> m_batchInserts;
    // The statements of Statement, prepared once per text on the connecting thread.
    QHash<QString, std::shared_ptr<QSqlQuery>> m_selects;
    QString ThreadConnectionName() const;

    bool m_searchIndexesSuspended = false;
    QElapsedTimer m_transactionAge;
    // The words this connection knows to be in the distinct-word table.
    QSet<QString> m_knownWords;
    std::unique_ptr<QSqlQuery> m_distinctInsert;
    QMutex m_threadConnectionsLock;
    QWaitCondition m_threadConnectionReleased;
    // Connection name -> the thread that reads through it.
    QHash<QString, QPointer<QThread>> m_threadConnections;
    // The connections of threads still running.
    bool ThreadConnectionsInUse() const;
};
