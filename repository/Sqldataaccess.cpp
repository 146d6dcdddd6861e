// SPDX-License-Identifier: GPL-3.0-or-later
// The data access interface over Qt SQL.
#include "repository/Sqldataaccess.h"

#include "base/Exception.h"

#include "repository/Condition.h"
#include "repository/Dataset.h"
#include "repository/Sqldataaccess_p.h"

#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>

#include <algorithm>
#include <atomic>

using namespace VXSqlAccessDetail;

namespace {

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
    m_selects.clear();
    m_batchInserts.clear();
    for (QVariantList &pending : m_pendingRows)
        pending.clear();
    m_pendingWords.clear();
    m_hasPendingRows = false;
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
    if (const int rows = ValuesPerInsert(); rows > 1) {
        m_pendingWords << word;
        m_hasPendingRows = true;
        if (m_pendingWords.size() >= rows)
            FlushDistinctWords();
        return;
    }
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
        // Settings of the engine wait for every statement to finish.
        FinishStatements();
        QSqlQuery query(MainDatabase());
        for (const QString &statement : IndexBuildSettings(true))
            Execute(query, statement);
        for (const QString &statement : WordIndexes(false))
            Execute(query, statement);
        for (const QString &statement : IndexBuildSettings(false))
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
                           "(UPPER(VXEntryName))"),
            // A load asks for every included member whether its file is loaded yet.
            QStringLiteral("CREATE INDEX IF NOT EXISTS VXFILE_UPPERNAME ON VXFILE "
                           "(UPPER(VXFileName))")};
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
    // One statement for the four: on a server every write transaction begins with this
    // read, and a round trip costs more than the maxima.
    int *const counters[]
            = {&m_lastFileID, &m_lastPackageID, &m_lastContentCounter, &m_lastAttributeID};
    QSqlQuery &query = Statement(QStringLiteral(
            "SELECT 0, MAX(VXFileID) FROM VXFILE UNION ALL SELECT 1, MAX(VXPackageID) FROM "
            "VXPACKAGE UNION ALL SELECT 2, MAX(VXContentCounter) FROM VXPACKAGE UNION ALL "
            "SELECT 3, MAX(VXAttributeID) FROM VXATTRIBUTE"));
    if (query.exec()) {
        while (query.next()) {
            const int which = query.value(0).toInt();
            // An empty table has no maximum: the counter stays as it is.
            if (which < 0 || which > 3 || query.isNull(1))
                continue;
            int &counter = *counters[which];
            if (counter == 0 || raiseOnly)
                counter = std::max(counter, query.value(1).toInt());
        }
    }
    query.finish();
}

void TVXSqlDataAccess::Execute(QSqlQuery &query, const QString &sql)
{
    if (!query.exec(sql))
        throw TVXException(sql + QStringLiteral(": ") + EngineMessage(query.lastError()));
}

bool TVXSqlDataAccess::Run(QSqlQuery &query, const QString &sql, const QVariantList &values)
{
    if (values.isEmpty())
        return query.exec(sql);
    if (!query.prepare(sql))
        return false;
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec();
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
    // Where statements belong to the transaction they were prepared in, one prepared
    // before it would not see what it writes.
    if (CommitClosesCursors())
        m_selects.clear();
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
    QSqlDatabase database = MainDatabase();
    try {
        FlushAppends();
    } catch (const std::exception &) {
        // The transaction cannot be committed without the rows it was given.
        database.rollback();
        m_inTransaction = false;
        m_knownWords.clear();
        throw;
    }
    if (CommitClosesCursors())
        ReadCursorsToEnd();
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
        m_batchInserts.clear();
        m_distinctInsert.reset();
        m_selects.clear();
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

TVXDataset *TVXSqlDataAccess::GetQuery(QObject *owner, const QStringList &sql, bool bidirectional)
{
    return GetBoundQuery(owner, TVXCondition(sql.join(QLatin1Char('\n'))), bidirectional);
}

QSqlQuery &TVXSqlDataAccess::Statement(const QString &sql)
{
    FlushAppendsReadBy(sql);
    std::shared_ptr<QSqlQuery> &query = m_selects[sql];
    if (!query) {
        QStringList lines;
        for (const QString &line : sql.split(QLatin1Char('\n')))
            lines << RewriteSql(line);
        const QString text = lines.join(QLatin1Char('\n'));
        auto prepared = std::make_shared<QSqlQuery>(MainDatabase());
        prepared->setForwardOnly(true);
        if (!prepared->prepare(text)) {
            const QString message
                    = text + QStringLiteral(": ") + EngineMessage(prepared->lastError());
            m_selects.remove(sql);
            throw TVXException(message);
        }
        // A bound on what a long session keeps prepared; the ones in use stay alive.
        if (m_selects.size() >= 512) {
            m_selects.clear();
            return *m_selects.insert(sql, prepared).value();
        }
        query = std::move(prepared);
    }
    return *query;
}

void TVXSqlDataAccess::RunStatement(const QString &sql, const QVariantList &values)
{
    QSqlQuery &query = Statement(sql);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        throw TVXException(query.lastQuery() + QStringLiteral(": ")
                           + EngineMessage(query.lastError()));
    query.finish();
}

QList<QVariantList> TVXSqlDataAccess::SelectRows(const TVXCondition &statement)
{
    // Another thread reads through a connection of its own: no statement is kept for it.
    if (QThread::currentThread() != thread())
        return TVXDataAccessInterface::SelectRows(statement);
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        // Dependency resolution asks the same few statements for every word it links:
        // preparing each once spares the engine parsing them again every time.
        QSqlQuery *query = &Statement(statement.Text());
        const QVariantList &values = statement.Values();
        for (int i = 0; i < values.size(); ++i)
            query->bindValue(i, values[i]);
        if (!query->exec())
            throw TVXException(query->lastQuery() + QStringLiteral(": ")
                               + EngineMessage(query->lastError()));
        QList<QVariantList> rows;
        const int columns = query->record().count();
        while (query->next()) {
            QVariantList row;
            row.reserve(columns);
            for (int c = 0; c < columns; ++c)
                row << query->value(c);
            rows << row;
        }
        query->finish();
        return rows;
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(m_className + QStringLiteral(".GetQuery"), e);
    }
}

TVXDataset *TVXSqlDataAccess::GetBoundQuery(QObject *owner, const TVXCondition &statement,
                                            bool bidirectional)
{
    QStringList lines;
    for (const QString &line : statement.Text().split(QLatin1Char('\n')))
        lines << RewriteSql(line);
    const QString text = lines.join(QLatin1Char('\n'));
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        if (QThread::currentThread() == thread())
            FlushAppendsReadBy(text);
        QSqlQuery query(Database());
        query.setForwardOnly(!bidirectional);
        if (!Run(query, text, statement.Values()))
            throw TVXException(text + QStringLiteral(": ") + EngineMessage(query.lastError()));
        return new TVXDataset(owner, std::move(query), bidirectional);
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(m_className + QStringLiteral(".GetQuery"), e);
    }
}
