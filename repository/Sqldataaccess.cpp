// SPDX-License-Identifier: GPL-3.0-or-later
// The data access interface over Qt SQL.
#include "repository/Sqldataaccess.h"

#include "base/Exception.h"

#include "repository/Dataset.h"

#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>

#include <algorithm>
#include <atomic>

namespace {

using VXSchema::Tables;

QString Text(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

using VXSchema::TableIndex;

const char *const DistinctWords = "VXDISTINCTWORD";
const int LoadTable = TableIndex(VXSchema::VXLOAD);
const int FileTable = TableIndex(VXSchema::VXFILE);
const int ObjectTable = TableIndex(VXSchema::VXOBJECT);
const int EntryTable = TableIndex(VXSchema::VXENTRY);
const int RowTable = TableIndex(VXSchema::VXROW);
const int WordTable = TableIndex(VXSchema::VXWORD);
const int DependencyTable = TableIndex(VXSchema::VXDEPENDENCIES);
const int PackageTable = TableIndex(VXSchema::VXPACKAGE);
const int AttributeTable = TableIndex(VXSchema::VXATTRIBUTE);
const int DataFlowTable = TableIndex(VXSchema::VXDATAFLOW);

// The cursors behind the table handles, in handle order (handle = position + 1).
struct CursorDefinition
{
    const char *Name;
    int Table;
};
const CursorDefinition CursorDefinitions[] = {
        {"TAB_VXLOAD", LoadTable},
        {"TAB_VXFILE", FileTable},
        {"TAB_VXOBJECT", ObjectTable},
        {"TAB_VXENTRY", EntryTable},
        {"TAB_VXROW", RowTable},
        {"TAB_VXWORD", WordTable},
        {"TAB_VXDEPENDENCIES", DependencyTable},
        {"TAB_VXPACKAGE", PackageTable},
        {"TAB_VXATTRIBUTE", AttributeTable},
        {"TAB_VXDATAFLOW", DataFlowTable},
        {"TAB_VXWORD2", WordTable},
        {"TAB_VXOBJECT2", ObjectTable},
        {"DB_QUERY", -1},
        {"DB_QUERY2", -1},
};

// Indexes beyond the keys: the lookups of loading, dependency resolution and querying.
struct IndexDefinition
{
    const char *Name;
    std::string_view Table;
    const char *Columns;
};
const IndexDefinition Indexes[] = {
        {"VXFILE_NAME", VXSchema::VXFILE, "VXFileName"},
        {"VXOBJECT_IDENTIFIER", VXSchema::VXOBJECT, "VXObjectIdentifier"},
        {"VXENTRY_NAME", VXSchema::VXENTRY, "VXEntryName"},
        {"VXDEPENDENCIES_FROM", VXSchema::VXDEPENDENCIES, "VXFromFileID"},
        {"VXDEPENDENCIES_TO", VXSchema::VXDEPENDENCIES, "VXFileID, VXObjectID"},
        {"VXPACKAGE_MEMBER", VXSchema::VXPACKAGE, "VXObjectFileID, VXObjectID"},
        {"VXDATAFLOW_FILE", VXSchema::VXDATAFLOW, "VXFileID"},
};

bool IsFlagField(const QString &name)
{
    return name.compare(QLatin1String("VXCALL"), Qt::CaseInsensitive) == 0
           || name.compare(QLatin1String("VXINPACKAGE"), Qt::CaseInsensitive) == 0;
}

QString StandardOrder(const QString &cursorName, int table)
{
    if (cursorName == QLatin1String("TAB_VXOBJECT2"))
        return Text(VXSchema::StandardOrder(VXSchema::VXOBJECT));
    if (table < 0)
        return {};
    return Text(VXSchema::StandardOrder(Tables[table].Name));
}

QString EngineMessage(const QSqlError &error)
{
    QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

} // namespace

TVXSqlDataAccess::TVXSqlDataAccess(QObject *owner, QString className, QString qtDriver)
    : TVXDataAccessInterface(owner)
    , m_className(std::move(className))
    , m_qtDriver(std::move(qtDriver))
{
    for (const CursorDefinition &definition : CursorDefinitions) {
        Cursor cursor;
        cursor.Name = QString::fromLatin1(definition.Name);
        cursor.Table = definition.Table;
        m_cursors.push_back(std::move(cursor));
    }
    m_inserts.resize(Tables.size());
}

TVXSqlDataAccess::~TVXSqlDataAccess()
{
    try {
        while (m_connectionCount > 0 && DisConnect(false, false) > 0) {
        }
    } catch (...) {
        // A destructor cannot report; the connection is gone with the object anyway.
    }
}

void TVXSqlDataAccess::Fail(const QString &operation, const QString &message) const
{
    throw TVXException::Raised(m_className + QLatin1Char('.') + operation, message);
}

QString TVXSqlDataAccess::CutToColumn(const VXSchema::Column &column, const QString &text)
{
    return column.Size > 0 && text.size() > column.Size ? text.left(column.Size) : text;
}

QString TVXSqlDataAccess::JetRewrite(const QString &sql)
{
    QString rewritten = sql;
    qsizetype at = 0;
    while ((at = rewritten.indexOf(QLatin1String("UPPER("), at, Qt::CaseInsensitive)) >= 0) {
        rewritten.replace(at, 6, QStringLiteral("UCASE("));
        at += 6;
    }
    return rewritten;
}

// ---- Connections ---------------------------------------------------------------------

QSqlDatabase TVXSqlDataAccess::MainDatabase() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlDatabase TVXSqlDataAccess::Database()
{
    if (QThread::currentThread() == thread())
        return MainDatabase();
    // Qt connections belong to the thread that opened them: another thread (the query
    // thread) reads through a copy of its own, which sees what was committed.
    const QString name = ThreadConnectionName();
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name, false);
    QSqlDatabase copy = QSqlDatabase::cloneDatabase(m_connectionName, name);
    if (!copy.open()) {
        const QString message = EngineMessage(copy.lastError());
        copy = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        Fail(QStringLiteral("GetQuery"), message);
    }
    Configure(copy);
    QMutexLocker lock(&m_threadConnectionsLock);
    m_threadConnections.insert(name, QThread::currentThread());
    return copy;
}

bool TVXSqlDataAccess::ThreadConnectionsInUse() const
{
    return std::any_of(
            m_threadConnections.cbegin(), m_threadConnections.cend(),
            [](const QPointer<QThread> &thread) { return thread && thread->isRunning(); });
}

QString TVXSqlDataAccess::ThreadConnectionName() const
{
    // A serial of the thread's own: a new thread may get the address of one that ended.
    static std::atomic<quint64> serials{0};
    thread_local const quint64 serial = ++serials;
    return m_connectionName + QStringLiteral("@") + QString::number(serial);
}

void TVXSqlDataAccess::ReleaseThreadConnection()
{
    if (QThread::currentThread() == thread())
        return;
    const QString name = ThreadConnectionName();
    QMutexLocker lock(&m_threadConnectionsLock);
    if (!m_threadConnections.contains(name))
        return;
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
    m_threadConnections.remove(name);
    m_threadConnectionReleased.wakeAll();
}

void TVXSqlDataAccess::Configure(QSqlDatabase &) {}

int TVXSqlDataAccess::Connect(const QString &connection)
{
    if (m_connectionCount >= 1) {
        if (RefusesOtherDatabase() && connection != m_connection)
            throw TVXException::Raised(
                    m_className + QStringLiteral(".Connect"),
                    connection + QStringLiteral(" Another database is allready connected"));
        return ++m_connectionCount;
    }
    static QAtomicInt serial;
    m_connectionName
            = m_className + QStringLiteral("#") + QString::number(serial.fetchAndAddRelaxed(1));
    try {
        QSqlDatabase database = QSqlDatabase::addDatabase(m_qtDriver, m_connectionName);
        if (!database.isValid())
            throw TVXException(
                    QStringLiteral("the Qt SQL driver %1 is not installed").arg(m_qtDriver));
        Open(database, connection);
        Configure(database);
        m_connection = connection;
        EnsureSchema(database);
        ReadCounters(false);
    } catch (const std::exception &e) {
        const QString message = VXMessage(e);
        CloseCursors();
        QSqlDatabase::removeDatabase(m_connectionName);
        m_connection.clear();
        throw TVXException::Raised(m_className + QStringLiteral(".Connect"),
                                   connection + QLatin1Char(' ') + message);
    }
    m_connectionCount = 1;
    return 1;
}

int TVXSqlDataAccess::DisConnect(bool, bool)
{
    if (m_connectionCount >= 2)
        return --m_connectionCount;
    if (m_connectionCount == 0)
        return 0;
    QString failure;
    try {
        if (m_inTransaction)
            CommitTransaction();
    } catch (const std::exception &e) {
        failure = VXMessage(e);
    }
    BeforeClose();
    CloseCursors();
    m_distinctInsert.reset();
    // What a transaction rolled back below added is not known to be stored.
    m_knownWords.clear();
    m_inserts.clear();
    m_inserts.resize(Tables.size());
    {
        // A reading thread closes its own connection when its statement is done: removed
        // under it, the statement would go on in freed memory. The thread of an abandoned
        // search stops at its next row.
        QMutexLocker lock(&m_threadConnectionsLock);
        QDeadlineTimer patience(std::chrono::minutes(2));
        while (ThreadConnectionsInUse()
               && m_threadConnectionReleased.wait(&m_threadConnectionsLock, patience)) {
        }
        // A thread that ended without saying so reads nothing any more.
        for (auto it = m_threadConnections.begin(); it != m_threadConnections.end();) {
            if (it.value() && it.value()->isRunning()) {
                ++it;
                continue;
            }
            QSqlDatabase::removeDatabase(it.key());
            it = m_threadConnections.erase(it);
        }
    }
    {
        QSqlDatabase database = MainDatabase();
        if (m_inTransaction)
            database.rollback();
        database.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_inTransaction = false;
    m_connection.clear();
    m_connectionCount = 0;
    if (!failure.isEmpty())
        Fail(QStringLiteral("DisConnect"), failure);
    return 0;
}

QString TVXSqlDataAccess::ColumnType(const VXSchema::Column &column) const
{
    switch (column.Type) {
    case VXSchema::ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case VXSchema::ColumnType::SmallInteger:
        return QStringLiteral("SMALLINT");
    case VXSchema::ColumnType::BigInteger:
        return QStringLiteral("BIGINT");
    case VXSchema::ColumnType::String:
        return QStringLiteral("VARCHAR(%1)").arg(column.Size);
    case VXSchema::ColumnType::FixedString:
        return QStringLiteral("CHAR(%1)").arg(column.Size);
    }
    return {};
}

QString TVXSqlDataAccess::TableOptions(const VXSchema::Table &) const
{
    return {};
}

void TVXSqlDataAccess::EnsureSchema(QSqlDatabase &database)
{
    QSet<QString> existing;
    for (const QString &name : database.tables())
        existing.insert(name.toUpper());
    QSqlQuery query(database);
    for (const VXSchema::Table &table : Tables) {
        const QString name = Text(table.Name);
        if (existing.contains(name))
            continue;
        QStringList columns;
        for (int c = 0; c < table.ColumnCount; ++c)
            columns << Text(table.Columns[c].Name) + QLatin1Char(' ')
                               + ColumnType(table.Columns[c]);
        if (!table.Key.empty())
            columns << QStringLiteral("PRIMARY KEY (%1)")
                               .arg(Text(table.Key).replace(QLatin1Char(';'),
                                                            QStringLiteral(", ")));
        if (table.Name == VXSchema::VXATTRIBUTE)
            columns << QStringLiteral("UNIQUE (VXAttributeType, VXAttributeName)");
        Execute(query, QStringLiteral("CREATE TABLE %1 (%2)%3")
                               .arg(name, columns.join(QStringLiteral(", ")), TableOptions(table)));
        for (const IndexDefinition &index : Indexes)
            if (index.Table == table.Name)
                Execute(query, QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                                       .arg(QString::fromLatin1(index.Name), name,
                                            QString::fromLatin1(index.Columns)));
    }
    // Searches compare words as typed and upper-cased; repositories made before these
    // indexes existed get them here as well, where the engine can say "if not exists".
    const std::optional<QSet<QString>> indexes = ExistingIndexes(database);
    const auto make = [&](const QStringList &statements) {
        for (const QString &statement : statements) {
            static const QRegularExpression indexName(
                    QStringLiteral("INDEX (?:IF NOT EXISTS )?(\\S+) ON"),
                    QRegularExpression::CaseInsensitiveOption);
            const QString name = indexName.match(statement).captured(1).toUpper();
            if (!indexes || !indexes->contains(name))
                Execute(query, statement);
        }
    };
    if (!SearchIndexesSuspendedElsewhere())
        make(WordIndexes(!existing.contains(Text(VXSchema::VXWORD))));
    make(NameIndexes(!existing.contains(Text(VXSchema::VXOBJECT))));
    if (!existing.contains(QLatin1String(DistinctWords))) {
        Execute(query,
                QStringLiteral("CREATE TABLE %1 (VXWord %2 NOT NULL PRIMARY KEY)")
                        .arg(QLatin1String(DistinctWords), ColumnType(VXSchema::WordColumns[8])));
        // A repository from before the table: its words, once.
        if (existing.contains(Text(VXSchema::VXWORD)))
            Execute(query, QStringLiteral("INSERT INTO %1 (VXWord) SELECT DISTINCT VXWord FROM "
                                          "VXWORD WHERE VXWord IS NOT NULL")
                                   .arg(QLatin1String(DistinctWords)));
    }
    AfterSchema(database, !existing.contains(Text(VXSchema::VXWORD)));
}

QString TVXSqlDataAccess::DistinctWordTable() const
{
    return m_connectionCount > 0 ? QString::fromLatin1(DistinctWords) : QString();
}

QString TVXSqlDataAccess::DistinctWordInsertSql() const
{
    // SQLite and PostgreSQL both know this form.
    return QStringLiteral("INSERT INTO %1 (VXWord) VALUES (?) ON CONFLICT DO NOTHING")
            .arg(QLatin1String(DistinctWords));
}

void TVXSqlDataAccess::InsertDistinctWord(const QString &word)
{
    if (!m_distinctInsert) {
        auto insert = std::make_unique<QSqlQuery>(MainDatabase());
        if (!insert->prepare(DistinctWordInsertSql()))
            throw TVXException(EngineMessage(insert->lastError()));
        m_distinctInsert = std::move(insert);
    }
    m_distinctInsert->bindValue(0, word);
    ExecutePrepared(*m_distinctInsert);
}

void TVXSqlDataAccess::NoteWord(const QString &word)
{
    if (m_knownWords.contains(word))
        return;
    InsertDistinctWord(word);
    m_knownWords.insert(word);
}

void TVXSqlDataAccess::SuspendSearchIndexes()
{
    // Only where the indexes can be made again with "if not exists".
    if (m_connectionCount == 0 || m_searchIndexesSuspended || WordIndexes(false).isEmpty())
        return;
    try {
        // SQLite refuses to drop an index while any statement of the connection is still
        // stepping ("database table is locked").
        FinishStatements();
        QSqlQuery query(MainDatabase());
        for (const char *name : {"VXWORD_WORDKEY", "VXWORD_UPPERKEY"})
            Execute(query, QStringLiteral("DROP INDEX IF EXISTS ") + QLatin1String(name));
        m_searchIndexesSuspended = true;
        SearchIndexesSuspended(true);
    } catch (const std::exception &e) {
        Fail(QStringLiteral("SuspendSearchIndexes"), VXMessage(e));
    }
}

void TVXSqlDataAccess::FinishStatements()
{
    if (m_inTransaction)
        CommitTransaction();
    // The cursors keep what they read and still move both ways.
    ReadCursorsToEnd();
}

void TVXSqlDataAccess::CheckpointLog()
{
    const QString statement = CheckpointStatement();
    if (m_connectionCount == 0 || statement.isEmpty())
        return;
    try {
        // A statement still stepping holds the log's pages.
        FinishStatements();
        QSqlQuery query(MainDatabase());
        Execute(query, statement);
    } catch (const std::exception &e) {
        Fail(QStringLiteral("CheckpointLog"), VXMessage(e));
    }
}

void TVXSqlDataAccess::RestoreSearchIndexes()
{
    if (m_connectionCount == 0 || !m_searchIndexesSuspended)
        return;
    try {
        if (m_inTransaction)
            CommitTransaction();
        QSqlQuery query(MainDatabase());
        for (const QString &statement : WordIndexes(false))
            Execute(query, statement);
        // Words of files deleted or reloaded since stay in the distinct words (a pattern
        // search only looks up fewer of them). After most of the repository was loaded,
        // the word index answers for each of them at little cost.
        Execute(query, QStringLiteral("DELETE FROM %1 WHERE NOT EXISTS (SELECT * FROM VXWORD W "
                                      "WHERE W.VXWord = %1.VXWord)")
                               .arg(QLatin1String(DistinctWords)));
        m_knownWords.clear();
        m_searchIndexesSuspended = false;
        SearchIndexesSuspended(false);
    } catch (const std::exception &e) {
        Fail(QStringLiteral("RestoreSearchIndexes"), VXMessage(e));
    }
}

QStringList TVXSqlDataAccess::NameIndexes(bool) const
{
    // Names match without regard to case: without these every lookup reads every object
    // and entry, once per referring word.
    return {QStringLiteral("CREATE INDEX IF NOT EXISTS VXOBJECT_UPPERIDENTIFIER ON VXOBJECT "
                           "(UPPER(VXObjectIdentifier))"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS VXENTRY_UPPERNAME ON VXENTRY "
                           "(UPPER(VXEntryName))")};
}

QStringList TVXSqlDataAccess::WordIndexes(bool) const
{
    // With the key columns after the word, a search reads its words in the order it
    // shows them, and with the section level it reads nothing but the index: the first
    // page needs neither a sort of every hit nor a visit of the table per hit.
    return {QStringLiteral("CREATE INDEX IF NOT EXISTS VXWORD_WORDKEY ON VXWORD (VXWord, "
                           "VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, VXSectionLevel)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS VXWORD_UPPERKEY ON VXWORD (UPPER(VXWord), "
                           "VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, VXSectionLevel)")};
}

void TVXSqlDataAccess::ReadCounters(bool raiseOnly)
{
    struct Counter
    {
        int *Value;
        const char *Sql;
    };
    const Counter counters[] = {
            {&m_lastFileID, "SELECT MAX(VXFileID) FROM VXFILE"},
            {&m_lastPackageID, "SELECT MAX(VXPackageID) FROM VXPACKAGE"},
            {&m_lastContentCounter, "SELECT MAX(VXContentCounter) FROM VXPACKAGE"},
            {&m_lastAttributeID, "SELECT MAX(VXAttributeID) FROM VXATTRIBUTE"},
    };
    QSqlQuery query(MainDatabase());
    for (const Counter &counter : counters) {
        if (*counter.Value != 0 && !raiseOnly)
            continue;
        // An empty table has no maximum: the counter stays as it is.
        if (query.exec(QString::fromLatin1(counter.Sql)) && query.next() && !query.isNull(0))
            *counter.Value = std::max(*counter.Value, query.value(0).toInt());
    }
}

void TVXSqlDataAccess::Execute(QSqlQuery &query, const QString &sql)
{
    if (!query.exec(sql))
        throw TVXException(sql + QStringLiteral(": ") + EngineMessage(query.lastError()));
}

void TVXSqlDataAccess::ExecutePrepared(QSqlQuery &query)
{
    if (!query.exec())
        throw TVXException(EngineMessage(query.lastError()));
}

// ---- Transactions ---------------------------------------------------------------------

void TVXSqlDataAccess::BeginWrite()
{
    if (m_inTransaction)
        return;
    QSqlDatabase database = MainDatabase();
    if (!StartTransaction(database))
        throw TVXException(QStringLiteral("cannot begin a transaction: ")
                           + EngineMessage(database.lastError()));
    m_inTransaction = true;
    m_transactionAge.start();
    // Another connection (a second process on the same repository) may have handed out ids
    // since this one read its counters: never allocate below what is stored.
    ReadCounters(true);
}

void TVXSqlDataAccess::ReadCursorsToEnd()
{
    for (Cursor &cursor : m_cursors) {
        if (!cursor.Query || !cursor.Query->isActive() || cursor.Query->isForwardOnly())
            continue;
        const int at = cursor.Query->at();
        cursor.Query->last();
        if (at >= 0)
            cursor.Query->seek(at);
        else if (at == QSql::AfterLastRow)
            cursor.Query->next();
        else if (cursor.Query->first())
            cursor.Query->previous();
    }
}

void TVXSqlDataAccess::CommitTransaction()
{
    if (CommitClosesCursors())
        ReadCursorsToEnd();
    QSqlDatabase database = MainDatabase();
    if (!database.commit()) {
        // A commit that failed (a full disk) may have ended the transaction already: it is
        // rolled back, so that the one error is reported and not a cascade of "no
        // transaction is active" after it. What it held is loaded again by the next run.
        const QString message = EngineMessage(database.lastError());
        database.rollback();
        m_inTransaction = false;
        m_knownWords.clear();
        throw TVXException(message);
    }
    m_inTransaction = false;
    // Statements prepared inside the transaction hold its handle on such engines.
    if (CommitClosesCursors()) {
        for (std::unique_ptr<QSqlQuery> &insert : m_inserts)
            insert.reset();
        m_distinctInsert.reset();
    }
}

void TVXSqlDataAccess::Commit(bool, bool retaining)
{
    if (!m_inTransaction || (retaining && SkipsRetainingCommit()))
        return;
    if (retaining && m_transactionAge.elapsed() < RetainingCommitInterval())
        return;
    try {
        CommitTransaction();
    } catch (const std::exception &e) {
        Fail(QStringLiteral("Commit"), VXMessage(e));
    }
}

// ---- Cursors ---------------------------------------------------------------------------

TVXSqlDataAccess::Cursor &TVXSqlDataAccess::CursorFor(int handle, const char *operation)
{
    if (handle < 1 || handle > int(m_cursors.size()))
        Fail(QString::fromLatin1(operation), QStringLiteral("invalid table handle %1").arg(handle));
    if (m_connectionCount == 0)
        Fail(QString::fromLatin1(operation), QStringLiteral("not connected"));
    return m_cursors[handle - 1];
}

const VXSchema::Table &TVXSqlDataAccess::TableOf(const Cursor &cursor, const char *operation)
{
    if (cursor.Table < 0)
        Fail(QString::fromLatin1(operation), cursor.Name + QStringLiteral(" is not a table"));
    return Tables[cursor.Table];
}

void TVXSqlDataAccess::CloseCursors()
{
    for (Cursor &cursor : m_cursors) {
        cursor.Query.reset();
        cursor.Condition.clear();
        cursor.Edited.clear();
        cursor.Deleted.clear();
    }
}

bool TVXSqlDataAccess::Open(Cursor &cursor, const QString &sql)
{
    auto query = std::make_unique<QSqlQuery>(MainDatabase());
    query->setForwardOnly(false);
    if (!query->exec(sql))
        throw TVXException(EngineMessage(query->lastError()));
    cursor.Query = std::move(query);
    cursor.Edited.clear();
    cursor.Deleted.clear();
    return cursor.Query->next();
}

bool TVXSqlDataAccess::HasRow(const Cursor &cursor) const
{
    return cursor.Query && cursor.Query->isActive() && cursor.Query->isValid();
}

bool TVXSqlDataAccess::Move(Cursor &cursor, bool forward)
{
    if (!cursor.Query || !cursor.Query->isActive())
        return false;
    do {
        if (!(forward ? cursor.Query->next() : cursor.Query->previous()))
            return false;
    } while (cursor.Deleted.contains(cursor.Query->at()));
    return true;
}

int TVXSqlDataAccess::GetTable(const QString &tableName)
{
    const QString wanted = tableName == QLatin1String("QUERY") ? QStringLiteral("DB_QUERY")
                           : tableName == QLatin1String("QUERY2")
                                   ? QStringLiteral("DB_QUERY2")
                                   : QStringLiteral("TAB_") + tableName.toUpper();
    for (int i = 0; i < int(m_cursors.size()); ++i)
        if (m_cursors[i].Name == wanted)
            return i + 1;
    Fail(QStringLiteral("GetTable"), tableName + QStringLiteral(": no such table"));
}

int TVXSqlDataAccess::GetField(int table, const QString &fieldName)
{
    Cursor &cursor = CursorFor(table, "GetField");
    if (cursor.Table >= 0) {
        const VXSchema::Table &definition = Tables[cursor.Table];
        for (int c = 0; c < definition.ColumnCount; ++c)
            if (Text(definition.Columns[c].Name).compare(fieldName, Qt::CaseInsensitive) == 0)
                return c;
    } else if (cursor.Query) {
        const QSqlRecord record = cursor.Query->record();
        for (int c = 0; c < record.count(); ++c)
            if (record.fieldName(c).compare(fieldName, Qt::CaseInsensitive) == 0)
                return c;
    }
    Fail(QStringLiteral("GetField"),
         fieldName + QStringLiteral(": no such field in ") + cursor.Name);
}

QString TVXSqlDataAccess::GetFieldName(int table, int field)
{
    Cursor &cursor = CursorFor(table, "GetFieldName");
    if (cursor.Table >= 0) {
        const VXSchema::Table &definition = Tables[cursor.Table];
        if (field >= 0 && field < definition.ColumnCount)
            return Text(definition.Columns[field].Name).toUpper();
    } else if (cursor.Query && field >= 0 && field < cursor.Query->record().count()) {
        return cursor.Query->record().fieldName(field).toUpper();
    }
    Fail(QStringLiteral("GetFieldName"),
         QStringLiteral("no field %1 in %2").arg(field).arg(cursor.Name));
}

bool TVXSqlDataAccess::SelectBegin(int table, const QString &condition)
{
    const QString text = RewriteSql(condition);
    try {
        Cursor &cursor = CursorFor(table, "SelectBegin");
        if (cursor.Table < 0) {
            cursor.Condition.clear();
            return Open(cursor, text);
        }
        QString remembered = text;
        if (!remembered.toUpper().contains(QLatin1String(" ORDER BY ")))
            remembered += StandardOrder(cursor.Name, cursor.Table);
        cursor.Condition = remembered;
        QString sql = QStringLiteral("SELECT * FROM ") + Text(Tables[cursor.Table].Name);
        if (!remembered.trimmed().isEmpty())
            sql += remembered.trimmed().toUpper().startsWith(QLatin1String("ORDER BY"))
                           ? QLatin1Char(' ') + remembered.trimmed()
                           : QStringLiteral(" WHERE ") + remembered;
        return Open(cursor, sql);
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(m_className + QStringLiteral(".SelectBegin"), e,
                                    condition + QLatin1Char(' '));
    }
}

bool TVXSqlDataAccess::SelectNext(int table)
{
    return Move(CursorFor(table, "SelectNext"), true);
}

bool TVXSqlDataAccess::SelectPrevious(int table)
{
    return Move(CursorFor(table, "SelectPrevious"), false);
}

QVariant TVXSqlDataAccess::CurrentValue(const Cursor &cursor, int field) const
{
    const auto edited = cursor.Edited.constFind(cursor.Query->at());
    if (edited != cursor.Edited.constEnd()) {
        const auto value = edited->constFind(field);
        if (value != edited->constEnd())
            return *value;
    }
    return cursor.Query->value(field);
}

QVariant TVXSqlDataAccess::GetFieldValue(int table, int field)
{
    Cursor &cursor = CursorFor(table, "GetFieldValue");
    if (!HasRow(cursor))
        return QString();
    const QVariant value = CurrentValue(cursor, field);
    const QString name = cursor.Table >= 0 && field >= 0 && field < Tables[cursor.Table].ColumnCount
                                 ? Text(Tables[cursor.Table].Columns[field].Name)
                                 : cursor.Query->record().fieldName(field);
    if (IsFlagField(name))
        return value.toInt() == 1;
    if (value.isNull())
        return QString();
    return value;
}

QString TVXSqlDataAccess::KeyCondition(const Cursor &cursor, QVariantList &values) const
{
    const VXSchema::Table &table = Tables[cursor.Table];
    QStringList keyColumns = Text(table.Key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // A table without a key is matched on every column.
    if (keyColumns.isEmpty())
        for (int c = 0; c < table.ColumnCount; ++c)
            keyColumns << Text(table.Columns[c].Name);
    QStringList terms;
    for (const QString &column : std::as_const(keyColumns)) {
        int field = 0;
        while (Text(table.Columns[field].Name) != column)
            ++field;
        const QVariant value = CurrentValue(cursor, field);
        if (value.isNull()) {
            terms << column + QStringLiteral(" IS NULL");
        } else {
            terms << column + QStringLiteral(" = ?");
            values << value;
        }
    }
    return terms.join(QStringLiteral(" AND "));
}

void TVXSqlDataAccess::SetFieldValue(int table, int field, const QVariant &value)
{
    Cursor &cursor = CursorFor(table, "SetFieldValue");
    try {
        const VXSchema::Table &definition = TableOf(cursor, "SetFieldValue");
        if (!HasRow(cursor))
            throw TVXException(cursor.Name + QStringLiteral(" has no current row"));
        if (field < 0 || field >= definition.ColumnCount)
            throw TVXException(QStringLiteral("no field %1 in %2").arg(field).arg(cursor.Name));
        const VXSchema::Column &column = definition.Columns[field];
        QVariant stored = value;
        if (IsFlagField(Text(column.Name)))
            stored = value.toBool() ? 1 : 0;
        else if (value.typeId() == QMetaType::QString)
            stored = CutToColumn(column, value.toString());
        BeginWrite();
        QVariantList keyValues;
        const QString where = KeyCondition(cursor, keyValues);
        QSqlQuery update(MainDatabase());
        update.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3")
                               .arg(Text(definition.Name), Text(column.Name), where));
        update.addBindValue(stored);
        for (const QVariant &key : std::as_const(keyValues))
            update.addBindValue(key);
        ExecutePrepared(update);
        cursor.Edited[cursor.Query->at()][field] = stored;
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(m_className + QStringLiteral(".SetFieldValue"), e);
    }
}

bool TVXSqlDataAccess::Delete(int table, const QString &condition, bool currentRecordOnly)
{
    Cursor &cursor = CursorFor(table, "Delete");
    try {
        const VXSchema::Table &definition = TableOf(cursor, "Delete");
        BeginWrite();
        QSqlQuery query(MainDatabase());
        if (currentRecordOnly) {
            if (!HasRow(cursor))
                return true;
            QVariantList keyValues;
            query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2")
                                  .arg(Text(definition.Name), KeyCondition(cursor, keyValues)));
            for (const QVariant &key : std::as_const(keyValues))
                query.addBindValue(key);
            ExecutePrepared(query);
            cursor.Deleted.insert(cursor.Query->at());
            // Like a dataset, the cursor moves on to the row after the deleted one.
            return !Move(cursor, true);
        }
        QString sql = QStringLiteral("DELETE FROM ") + Text(definition.Name);
        if (!condition.trimmed().isEmpty())
            sql += QStringLiteral(" WHERE ") + RewriteSql(condition);
        Execute(query, sql);
        return true;
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(m_className + QStringLiteral(".Delete"), e,
                                    currentRecordOnly ? QStringLiteral("CurrentRecordOnly: ")
                                                      : condition + QStringLiteral(": "));
    }
}

int TVXSqlDataAccess::GetCount(int table)
{
    Cursor &cursor = CursorFor(table, "GetCount");
    try {
        const VXSchema::Table &definition = TableOf(cursor, "GetCount");
        QSqlQuery query(MainDatabase());
        Execute(query, QStringLiteral("SELECT COUNT(*) FROM ") + Text(definition.Name));
        return query.next() ? query.value(0).toInt() : 0;
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(m_className + QStringLiteral(".GetCount"), e);
    }
}

bool TVXSqlDataAccess::GoToKey(int table, const QString &keyFields, const QVariantList &values,
                               bool caseSensitive)
{
    Cursor &cursor = CursorFor(table, "GoToKey");
    const QStringList fields = keyFields.split(QLatin1Char(';'));
    QStringList shownValues;
    for (const QVariant &value : values)
        shownValues << value.toString();
    try {
        const VXSchema::Table &definition = TableOf(cursor, "GoToKey");
        QStringList terms;
        for (int i = 0; i < fields.size(); ++i) {
            const QString field = fields[i].trimmed();
            const QVariant value = values.value(i);
            if (value.typeId() != QMetaType::QString)
                terms << field + QStringLiteral(" = ")
                                 + (value.typeId() == QMetaType::Bool
                                            ? QString::number(value.toBool())
                                            : value.toString());
            else if (caseSensitive)
                terms << field + QStringLiteral(" = ") + QuotedText(value.toString());
            else
                terms << RewriteSql(QStringLiteral("UPPER(")) + field + QStringLiteral(") = ")
                                 + QuotedText(value.toString().toUpper());
        }
        QString where = terms.join(QStringLiteral(" AND "));
        const qsizetype order = cursor.Condition.toUpper().indexOf(QLatin1String(" ORDER BY "));
        if (order >= 0) {
            const QString before = cursor.Condition.left(order).trimmed();
            if (!before.isEmpty())
                where += QStringLiteral(" AND (") + before + QLatin1Char(')');
            where += QLatin1Char(' ') + cursor.Condition.mid(order).trimmed();
        }
        return Open(cursor, QStringLiteral("SELECT * FROM ") + Text(definition.Name)
                                    + QStringLiteral(" WHERE ") + where);
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(
                m_className + QStringLiteral(".GoToKey"), e,
                cursor.Name.mid(cursor.Name.indexOf(QLatin1Char('_')) + 1) + QStringLiteral(": ")
                        + keyFields + QStringLiteral(", ") + shownValues.join(QStringLiteral(", "))
                        + QStringLiteral(", "));
    }
}

bool TVXSqlDataAccess::GoToKeyNext(int table, const QString &, const QVariantList &, bool)
{
    return Move(CursorFor(table, "GoToKeyNext"), true);
}

// ---- Appending -------------------------------------------------------------------------

QSqlQuery &TVXSqlDataAccess::Prepared(int table)
{
    std::unique_ptr<QSqlQuery> &insert = m_inserts[table];
    if (!insert) {
        const VXSchema::Table &definition = Tables[table];
        QStringList columns, marks;
        for (int c = 0; c < definition.ColumnCount; ++c) {
            columns << Text(definition.Columns[c].Name);
            marks << QStringLiteral("?");
        }
        insert = std::make_unique<QSqlQuery>(MainDatabase());
        if (!insert->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(Text(definition.Name), columns.join(QStringLiteral(", ")),
                                          marks.join(QStringLiteral(", "))))) {
            const QString message = EngineMessage(insert->lastError());
            insert.reset();
            throw TVXException(message);
        }
    }
    return *insert;
}

void TVXSqlDataAccess::Insert(int table, const QVariant *values)
{
    QSqlQuery &insert = Prepared(table);
    for (int c = 0; c < Tables[table].ColumnCount; ++c)
        insert.bindValue(c, values[c]);
    ExecutePrepared(insert);
}

void TVXSqlDataAccess::AppendRow(int table, const char *operation,
                                 std::initializer_list<QVariant> values)
{
    const VXSchema::Table &definition = Tables[table];
    QVariant row[16];
    int c = 0;
    for (const QVariant &value : values) {
        const VXSchema::Column &column = definition.Columns[c];
        row[c] = value.typeId() == QMetaType::QString
                         ? QVariant(CutToColumn(column, value.toString()))
                         : value;
        ++c;
    }
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        BeginWrite();
        Insert(table, row);
    } catch (const std::exception &e) {
        Fail(QString::fromLatin1(operation), VXMessage(e));
    }
}

void TVXSqlDataAccess::VXLOAD_Append(const QString &loadType, const QString &loadFrom,
                                     const QString &systemName, const QString &computerType,
                                     const QString &computerLocation,
                                     const QString &applicationName)
{
    try {
        if (loadFrom.size() > VXSchema::DirectoryLength)
            throw TVXException(QStringLiteral("the path is longer than %1 characters")
                                       .arg(VXSchema::DirectoryLength));
        AppendRow(
                LoadTable, "VXLOAD_Append",
                {loadType, loadFrom, systemName, computerType, computerLocation, applicationName});
    } catch (const TVXException &e) {
        throw TVXException(
                m_className + QStringLiteral(".VXLOAD_Append: ") + loadType + QLatin1Char('.')
                + loadFrom + QStringLiteral(" : ")
                + QString(e.Message()).remove(m_className + QStringLiteral(".VXLOAD_Append: ")));
    }
}

void TVXSqlDataAccess::SelectFile(const QString &directory, const QString &fileName)
{
    SelectBegin(GetTable(QStringLiteral("VXFILE")),
                QStringLiteral("VXDirectory = ") + QuotedText(directory)
                        + QStringLiteral(" AND VXFileName = ") + QuotedText(fileName));
}

void TVXSqlDataAccess::VXFILE_Append(int languageID, int systemID, int computerID,
                                     int applicationID, const QString &directory,
                                     const QString &fileName, qint64 fileTime, qint64 fileSize)
{
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        // Cutting a path would make the next load believe the file vanished.
        if (directory.size() > VXSchema::DirectoryLength
            || fileName.size() > VXSchema::FileNameLength)
            throw TVXException(QStringLiteral("the path is too long to be stored: ") + directory
                               + QLatin1Char('/') + fileName);
        BeginWrite();
        QSqlQuery find(MainDatabase());
        find.prepare(QStringLiteral("SELECT VXFileID, VXFileTime, VXFileSize FROM VXFILE "
                                    "WHERE VXDirectory = ? AND VXFileName = ?"));
        find.addBindValue(directory);
        find.addBindValue(fileName);
        ExecutePrepared(find);
        if (!find.next()) {
            find.finish();
            const QVariant row[]
                    = {m_lastFileID + 1, languageID, systemID, computerID, applicationID, directory,
                       fileName,         fileTime,   fileSize, qint64(0),  QVariant()};
            Insert(FileTable, row);
            ++m_lastFileID;
        } else {
            const int fileID = find.value(0).toInt();
            const qint64 stored = find.value(1).toLongLong();
            // Repositories from before kept seconds: the same second is the same time, and
            // the finer time is stored from now on.
            constexpr qint64 nanoseconds = 1000000000;
            const bool inSeconds
                    = stored > 0 && stored < 100 * nanoseconds && fileTime >= 100 * nanoseconds;
            const bool sameTime
                    = stored == fileTime || (inSeconds && stored == fileTime / nanoseconds);
            const bool unchanged = sameTime && find.value(2).toLongLong() == fileSize;
            find.finish();
            QSqlQuery update(MainDatabase());
            if (unchanged && inSeconds) {
                update.prepare(QStringLiteral("UPDATE VXFILE SET VXSystemID = ?, VXComputerID = ?, "
                                              "VXApplicationID = ?, VXFileTime = ? WHERE "
                                              "VXFileID = ?"));
            } else if (unchanged) {
                update.prepare(QStringLiteral("UPDATE VXFILE SET VXSystemID = ?, VXComputerID = ?, "
                                              "VXApplicationID = ? WHERE VXFileID = ?"));
            } else {
                update.prepare(
                        QStringLiteral("UPDATE VXFILE SET VXSystemID = ?, VXComputerID = ?, "
                                       "VXApplicationID = ?, VXFileTime = ?, VXFileSize = ?, "
                                       "VXLoadTime = 0 WHERE VXFileID = ?"));
            }
            update.addBindValue(systemID);
            update.addBindValue(computerID);
            update.addBindValue(applicationID);
            if (!unchanged || inSeconds)
                update.addBindValue(fileTime);
            if (!unchanged)
                update.addBindValue(fileSize);
            update.addBindValue(fileID);
            ExecutePrepared(update);
        }
        // The file's row is the current one afterwards, as a dataset's would be.
        SelectFile(directory, fileName);
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXFILE_Append"), VXMessage(e));
    }
}

void TVXSqlDataAccess::VXOBJECT_Append(int fileID, int objectID, int languageID, bool inPackage,
                                       const QString &objectName, const QString &objectIdentifier,
                                       const QString &objectInherits, const QString &objectType,
                                       int icon, const QString &subObjectParentName,
                                       const QString &inheritsParentName,
                                       const QString &scopeOrNamespace, int applicationID,
                                       int computerID, int systemID)
{
    AppendRow(ObjectTable, "VXOBJECT_Append",
              {fileID, objectID, languageID, inPackage ? 1 : 0, objectName, objectIdentifier,
               objectInherits, objectType, icon, subObjectParentName, inheritsParentName,
               scopeOrNamespace, applicationID, computerID, systemID});
}

void TVXSqlDataAccess::VXENTRY_Append(int fileID, int objectID, int entryID, int languageID,
                                      const QString &entryName, const QString &objectIdentifier,
                                      const QString &entryResultType, int scope,
                                      const QString &parameterTypes)
{
    AppendRow(EntryTable, "VXENTRY_Append",
              {fileID, objectID, entryID, languageID, entryName, objectIdentifier, entryResultType,
               scope, parameterTypes});
}

void TVXSqlDataAccess::VXROW_Append(int fileID, int objectID, int entryID, int rowID,
                                    int languageID, const QString &row, bool call)
{
    AppendRow(RowTable, "VXROW_Append",
              {fileID, objectID, entryID, rowID, languageID, row, call ? 1 : 0});
}

void TVXSqlDataAccess::VXROW_SetCall(int fileID, int objectID, int entryID, int rowID)
{
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        BeginWrite();
        QSqlQuery update(MainDatabase());
        update.prepare(QStringLiteral("UPDATE VXROW SET VXCall = 1 WHERE VXFileID = ? AND "
                                      "VXObjectID = ? AND VXEntryID = ? AND VXRowID = ?"));
        update.addBindValue(fileID);
        update.addBindValue(objectID);
        update.addBindValue(entryID);
        update.addBindValue(rowID);
        ExecutePrepared(update);
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXROW_SetCall"), VXMessage(e));
    }
}

void TVXSqlDataAccess::VXWORD_Append(int fileID, int objectID, int entryID, int rowID, int wordID,
                                     int languageID, int sectionType, int sectionLevel,
                                     const QString &word, int wordType,
                                     const QString &objectIdentifier)
{
    AppendRow(WordTable, "VXWORD_Append",
              {fileID, objectID, entryID, rowID, wordID, languageID, sectionType, sectionLevel,
               word, wordType, objectIdentifier});
    try {
        NoteWord(CutToColumn(VXSchema::WordColumns[8], word));
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXWORD_Append"), VXMessage(e));
    }
}

void TVXSqlDataAccess::VXDEPENDENCIES_Append(int fileID, int objectID, int entryID, int rowID,
                                             int wordID, int inheritsFileID, int inheritsObjectID,
                                             int fromFileID, int fromObjectID, int fromEntryID,
                                             int fromRowID, int fromWordID)
{
    AppendRow(DependencyTable, "VXDEPENDENCIES_Append",
              {fileID, objectID, entryID, rowID, wordID, inheritsFileID, inheritsObjectID,
               fromFileID, fromObjectID, fromEntryID, fromRowID, fromWordID});
}

void TVXSqlDataAccess::VXPACKAGE_Append(int fileID, int packageID, const QString &packageName,
                                        const QString &objectName, int objectFileID, int objectID)
{
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        BeginWrite();
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXPACKAGE_Append"), VXMessage(e));
    }
    int id = packageID;
    if (packageID < 0) {
        if (packageName != m_lastPackageName) {
            ++m_lastPackageID;
            m_lastPackageName = packageName;
        }
        id = m_lastPackageID;
    }
    ++m_lastContentCounter;
    AppendRow(PackageTable, "VXPACKAGE_Append",
              {fileID, id, m_lastContentCounter, packageName, objectName, objectFileID, objectID});
}

void TVXSqlDataAccess::VXATTRIBUTE_Append(int attributeType, const QString &attributeName)
{
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        BeginWrite();
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXATTRIBUTE_Append"), VXMessage(e));
    }
    AppendRow(AttributeTable, "VXATTRIBUTE_Append",
              {m_lastAttributeID + 1, attributeType, attributeName, QVariant(), QVariant()});
    try {
        // Read back through a statement of its own, so that no cursor keeps an old snapshot
        // of the table open.
        QSqlQuery readBack(MainDatabase());
        readBack.prepare(QStringLiteral("SELECT VXAttributeID FROM VXATTRIBUTE WHERE "
                                        "VXAttributeType = ? AND VXAttributeName = ?"));
        readBack.addBindValue(attributeType);
        readBack.addBindValue(CutToColumn(VXSchema::AttributeColumns[2], attributeName));
        ExecutePrepared(readBack);
        if (readBack.next())
            m_lastAttributeID = readBack.value(0).toInt();
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXATTRIBUTE_Append"), VXMessage(e));
    }
}

void TVXSqlDataAccess::VXDATAFLOW_Append(int fileID, int rowID, int wordID, int fromFileID,
                                         int fromRowID, int fromWordID)
{
    try {
        AppendRow(DataFlowTable, "VXDATAFLOW_Append",
                  {fileID, rowID, wordID, fromFileID, fromRowID, fromWordID});
    } catch (const std::exception &) {
        // A link that cannot be stored is not worth stopping a load for.
    }
}

void TVXSqlDataAccess::VXDeleteForFileID(int fileID)
{
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        BeginWrite();
        QSqlQuery query(MainDatabase());
        for (const char *table :
             {"VXOBJECT", "VXENTRY", "VXROW", "VXWORD", "VXPACKAGE", "VXDATAFLOW"})
            Execute(query, QStringLiteral("DELETE FROM %1 WHERE VXFileID = %2")
                                   .arg(QString::fromLatin1(table))
                                   .arg(fileID));
        CommitTransaction();
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXDeleteForFileID"), VXMessage(e));
    }
}

TVXDataset *TVXSqlDataAccess::GetQuery(QObject *owner, const QStringList &sql, bool bidirectional)
{
    QStringList lines;
    for (const QString &line : sql)
        lines << RewriteSql(line);
    const QString text = lines.join(QLatin1Char('\n'));
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        QSqlQuery query(Database());
        query.setForwardOnly(!bidirectional);
        if (!query.exec(text))
            throw TVXException(text + QStringLiteral(": ") + EngineMessage(query.lastError()));
        return new TVXDataset(owner, std::move(query), bidirectional);
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(m_className + QStringLiteral(".GetQuery"), e);
    }
}
