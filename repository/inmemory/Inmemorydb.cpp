// SPDX-License-Identifier: GPL-3.0-or-later
// The default repository: an SQLite database file inside the process.
#include "repository/inmemory/Inmemorydb.h"

#include "base/Exception.h"
#include "base/Settings.h"

#include "repository/Condition.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

#include <algorithm>
#include <sqlite3.h>

namespace {

// The page cache of an ordinary connection: 64 MB.
const QString OrdinaryCacheSize = QStringLiteral("PRAGMA cache_size=-65536");

const int WordTable = VXSchema::TableIndex(VXSchema::VXWORD);
const int RowTable = VXSchema::TableIndex(VXSchema::VXROW);

void BindText(sqlite3_stmt *statement, int index, const QString &text)
{
    sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * sizeof(char16_t)),
                        SQLITE_STATIC);
}

// The value must live until the statement has run. A null text is stored as an empty one
// (as the appends always stored it) but looked for as NULL, as Qt's driver binds it.
enum class TVXNullText { Empty, Null };
void BindValue(sqlite3_stmt *statement, int index, const QVariant &value, TVXNullText nullText)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        sqlite3_bind_null(statement, index);
        break;
    case QMetaType::QString:
        if (nullText == TVXNullText::Null
            && static_cast<const QString *>(value.constData())->isNull())
            sqlite3_bind_null(statement, index);
        else
            BindText(statement, index, *static_cast<const QString *>(value.constData()));
        break;
    case QMetaType::Double:
        sqlite3_bind_double(statement, index, value.toDouble());
        break;
    default:
        if (value.isNull())
            sqlite3_bind_null(statement, index);
        else
            sqlite3_bind_int64(statement, index, value.toLongLong());
    }
}

} // namespace

TVXInMemoryDB::TVXInMemoryDB(QObject *owner)
    : TVXSqlDataAccess(owner, QStringLiteral("TVXInMemoryDB"), QStringLiteral("QSQLITE"))
{}

TVXInMemoryDB::~TVXInMemoryDB()
{
    try {
        while (m_connectionCount > 0 && DisConnect(false, false) > 0) {
        }
    } catch (...) {
    }
}

void TVXInMemoryDB::Open(QSqlDatabase &database, const QString &connection)
{
    QString file = connection.trimmed();
    // A load waits this long for another process's write to end.
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000");
    if (file.isEmpty())
        file = VXSettings::SettingsFolder() + QStringLiteral("VN_FirstDataBase.sqlite");
    if (file == QLatin1String(":memory:")) {
        // A named shared-cache memory database, so the query thread's connection sees the
        // same tables.
        file = QStringLiteral("file:velunor-%1?mode=memory&cache=shared")
                       .arg(reinterpret_cast<quintptr>(this));
        options += QStringLiteral(";QSQLITE_OPEN_URI");
    } else {
        const QFileInfo info(file);
        if (!info.dir().exists())
            throw TVXException(QStringLiteral("the folder of the database file does not exist: ")
                               + info.absolutePath());
        if (info.exists() && !info.isFile())
            throw TVXException(QStringLiteral("the database file is not a file: ") + file);
        m_connectNote.clear();
        if (info.exists() && info.size() == 0)
            m_connectNote
                    = QStringLiteral("the database file %1 was empty (0 bytes) and was made a "
                                     "new repository: the folders and scripts it held, if "
                                     "any, are gone")
                              .arg(file);
    }
    m_file = file.startsWith(QLatin1String("file:")) ? QString() : file;
    database.setDatabaseName(file);
    database.setConnectOptions(options);
    if (!database.open())
        throw TVXException(database.lastError().text());
    const QVariant handle = database.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3 *const *>(handle.constData());
    if (!m_handle)
        throw TVXException(QStringLiteral("the SQLite connection gives no handle"));
    // A file that is not a database shows it on the first read.
    char *error = nullptr;
    if (sqlite3_exec(m_handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error)
        != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unreadable database");
        sqlite3_free(error);
        m_handle = nullptr;
        database.close();
        throw TVXException(file + QStringLiteral(": ") + message);
    }
}

namespace {

// SQLite's own UPPER folds only ASCII letters, so "Köln" was not found as "KÖLN": every
// connection of this driver folds as the rest of the program does. ASCII text takes the
// quick way.
void UnicodeUpper(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = sqlite3_value_text(arguments[0]);
    const int size = sqlite3_value_bytes(arguments[0]);
    // Building the upper-case word index calls this for every word: short ASCII words are
    // folded on the stack.
    char buffer[256];
    if (size <= int(sizeof buffer)) {
        bool ascii = true;
        for (int i = 0; i < size; ++i) {
            const unsigned char c = text[i];
            if (c >= 0x80) {
                ascii = false;
                break;
            }
            buffer[i] = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : char(c);
        }
        if (ascii) {
            sqlite3_result_text(context, buffer, size, SQLITE_TRANSIENT);
            return;
        }
    }
    const QByteArray folded
            = QString::fromUtf8(reinterpret_cast<const char *>(text), size).toUpper().toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

// The repository's format: 1 = the upper-case indexes hold Unicode upper case.
constexpr int UnicodeFormat = 1;

} // namespace

void TVXInMemoryDB::Configure(QSqlDatabase &database)
{
    const QVariant handle = database.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
        if (connection)
            sqlite3_create_function_v2(connection, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                       nullptr, UnicodeUpper, nullptr, nullptr, nullptr);
    }
    QSqlQuery pragma(database);
    // WAL lets readers in other processes go on while a load writes; NORMAL
    // synchronisation is safe in WAL mode and keeps commits cheap.
    pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    pragma.exec(OrdinaryCacheSize);
    pragma.exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    // Reads map the file instead of copying each page through a system call: a search
    // that shows every hit of a common word reads pages of most of the repository.
    pragma.exec(QStringLiteral("PRAGMA mmap_size=1073741824"));
    // A case-sensitive search compares with LIKE as typed; the upper-cased forms are
    // compared upper-cased on both sides and do not depend on it.
    pragma.exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
    // Once written back, the log file shrinks to this size instead of keeping its largest.
    pragma.exec(QStringLiteral("PRAGMA journal_size_limit=67108864"));
}

bool TVXInMemoryDB::StartTransaction(QSqlDatabase &database)
{
    // A deferred transaction that read before another process committed cannot write at
    // all (the busy time does not help there); taking the write lock at once waits for it.
    QSqlQuery begin(database);
    // A connection that writes (a load) reads through the page cache only: the mapped pages
    // of a large repository would make its memory grow with the repository.
    if (!m_writes) {
        begin.exec(QStringLiteral("PRAGMA mmap_size=0"));
        m_writes = true;
    }
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw TVXException(QStringLiteral("cannot begin a transaction: ")
                           + begin.lastError().text().trimmed());
    return true;
}

QString TVXInMemoryDB::SuspensionLockPath() const
{
    return m_file.isEmpty() ? QString() : m_file + QStringLiteral("-suspended.lock");
}

bool TVXInMemoryDB::SearchIndexesSuspendedElsewhere()
{
    if (m_suspension || SuspensionLockPath().isEmpty() || !QFile::exists(SuspensionLockPath()))
        return false;
    QLockFile probe(SuspensionLockPath());
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}

void TVXInMemoryDB::SearchIndexesSuspended(bool suspended)
{
    if (!suspended) {
        m_suspension.reset();
        return;
    }
    if (SuspensionLockPath().isEmpty())
        return;
    auto lock = std::make_unique<QLockFile>(SuspensionLockPath());
    lock->setStaleLockTime(0);
    // Without the lock other connections may make the indexes again, which costs time
    // but loses nothing.
    if (lock->tryLock(0))
        m_suspension = std::move(lock);
}

void TVXInMemoryDB::AfterSchema(QSqlDatabase &database, bool created)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return;
    if (query.value(0).toInt() >= UnicodeFormat)
        return;
    query.finish();
    // Indexes built with SQLite's own UPPER hold ASCII upper case: built again once.
    if (!created) {
        const std::optional<QSet<QString>> indexes = ExistingIndexes(database);
        for (const char *name :
             {"VXWORD_UPPERKEY", "VXOBJECT_UPPERIDENTIFIER", "VXENTRY_UPPERNAME"})
            if (indexes && indexes->contains(QLatin1String(name)))
                if (!query.exec(QStringLiteral("REINDEX ") + QLatin1String(name)))
                    throw TVXException(query.lastError().text());
    }
    if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(UnicodeFormat)))
        throw TVXException(query.lastError().text());
}

std::optional<QSet<QString>> TVXInMemoryDB::ExistingIndexes(QSqlDatabase &database)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'")))
        return std::nullopt;
    QSet<QString> names;
    while (query.next())
        names.insert(query.value(0).toString().toUpper());
    return names;
}

QString TVXInMemoryDB::CheckpointStatement() const
{
    // Passive: readers in other processes are never waited for.
    return QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)");
}

QStringList TVXInMemoryDB::IndexBuildSettings(bool building) const
{
    // Sorting every word of a portfolio in memory would make the load's peak grow with the
    // portfolio: the sort spills to a temporary file instead, which is also faster. The
    // sort's runs are as large as the page cache; small runs that stay in the processor's
    // caches, sorted and merged on every core, build the word indexes in half the time.
    if (building)
        return {QStringLiteral("PRAGMA temp_store=FILE"),
                QStringLiteral("PRAGMA cache_size=-16384"),
                QStringLiteral("PRAGMA threads=%1").arg(std::max(1, QThread::idealThreadCount()))};
    return {QStringLiteral("PRAGMA temp_store=MEMORY"), OrdinaryCacheSize,
            QStringLiteral("PRAGMA threads=0")};
}

QString TVXInMemoryDB::TableOptions(const VXSchema::Table &table) const
{
    // Keyed tables are stored in key order, which is also their reading order.
    return table.Key.empty() ? QString() : QStringLiteral(" WITHOUT ROWID");
}

sqlite3_stmt *TVXInMemoryDB::Statement(int table)
{
    sqlite3_stmt *&statement = m_statements[table];
    if (statement)
        return statement;
    const VXSchema::Table &definition = VXSchema::Tables[table];
    QByteArray sql = "INSERT INTO "
                     + QByteArray(definition.Name.data(), qsizetype(definition.Name.size()))
                     + " VALUES (";
    for (int c = 0; c < definition.ColumnCount; ++c)
        sql += c ? ",?" : "?";
    sql += ')';
    if (sqlite3_prepare_v3(m_handle, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement, nullptr)
        != SQLITE_OK) {
        statement = nullptr;
        throw TVXException(QString::fromUtf8(sqlite3_errmsg(m_handle)));
    }
    return statement;
}

void TVXInMemoryDB::Step(sqlite3_stmt *statement)
{
    if (sqlite3_step(statement) != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_handle));
        sqlite3_reset(statement);
        throw TVXException(message);
    }
    sqlite3_reset(statement);
}

void TVXInMemoryDB::Insert(int table, const QVariant *values)
{
    sqlite3_stmt *statement = Statement(table);
    for (int c = 0; c < VXSchema::Tables[table].ColumnCount; ++c)
        BindValue(statement, c + 1, values[c], TVXNullText::Empty);
    Step(statement);
}

QList<QVariantList> TVXInMemoryDB::SelectRows(const TVXCondition &statement)
{
    // Another thread reads through a connection of its own.
    if (QThread::currentThread() != thread() || !m_handle || ConnectionCount() == 0)
        return TVXSqlDataAccess::SelectRows(statement);
    const QString &sql = statement.Text();
    try {
        FlushAppendsReadBy(sql);
        sqlite3_stmt *select = m_selects.value(sql);
        if (!select) {
            // Texts made with other values each time would pile up statements.
            if (m_selects.size() >= 512)
                FinalizeSelects();
            if (sqlite3_prepare16_v3(m_handle, sql.utf16(), int(sql.size() * sizeof(char16_t)),
                                     SQLITE_PREPARE_PERSISTENT, &select, nullptr)
                != SQLITE_OK) {
                sqlite3_finalize(select);
                throw TVXException(sql + QStringLiteral(": ")
                                   + QString::fromUtf8(sqlite3_errmsg(m_handle)));
            }
            m_selects.insert(sql, select);
        }
        const QVariantList &values = statement.Values();
        for (int i = 0; i < values.size(); ++i)
            BindValue(select, i + 1, values[i], TVXNullText::Null);
        QList<QVariantList> rows;
        const int columns = sqlite3_column_count(select);
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(select)) == SQLITE_ROW) {
            QVariantList row;
            row.reserve(columns);
            // The values as Qt's SQLite driver gives them.
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(select, c)) {
                case SQLITE_INTEGER:
                    row << QVariant(qlonglong(sqlite3_column_int64(select, c)));
                    break;
                case SQLITE_FLOAT:
                    row << QVariant(sqlite3_column_double(select, c));
                    break;
                case SQLITE_NULL:
                    row << QVariant(QMetaType::fromType<QString>());
                    break;
                case SQLITE_BLOB:
                    row << QVariant(
                            QByteArray(static_cast<const char *>(sqlite3_column_blob(select, c)),
                                       sqlite3_column_bytes(select, c)));
                    break;
                default:
                    row << QVariant(
                            QString(static_cast<const QChar *>(sqlite3_column_text16(select, c)),
                                    sqlite3_column_bytes16(select, c) / qsizetype(sizeof(QChar))));
                }
            }
            rows << std::move(row);
        }
        const QString message
                = step == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(m_handle));
        sqlite3_reset(select);
        sqlite3_clear_bindings(select);
        if (step != SQLITE_DONE)
            throw TVXException(sql + QStringLiteral(": ") + message);
        return rows;
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(ClassName() + QStringLiteral(".GetQuery"), e);
    }
}

void TVXInMemoryDB::FinalizeSelects()
{
    for (sqlite3_stmt *select : std::as_const(m_selects))
        if (select)
            sqlite3_finalize(select);
    m_selects.clear();
}

void TVXInMemoryDB::VXWORD_Append(int fileID, int objectID, int entryID, int rowID, int wordID,
                                  int languageID, int sectionType, int sectionLevel,
                                  const QString &word, int wordType,
                                  const QString &objectIdentifier)
{
    // The hottest call of a load: one per word of every source file.
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        BeginWrite();
        sqlite3_stmt *statement = Statement(WordTable);
        const int numbers[]
                = {fileID, objectID, entryID, rowID, wordID, languageID, sectionType, sectionLevel};
        for (int i = 0; i < 8; ++i)
            sqlite3_bind_int(statement, i + 1, numbers[i]);
        const QString cutWord = CutToColumn(VXSchema::WordColumns[8], word);
        const QString cutIdentifier = CutToColumn(VXSchema::WordColumns[10], objectIdentifier);
        BindText(statement, 9, cutWord);
        sqlite3_bind_int(statement, 10, wordType);
        BindText(statement, 11, cutIdentifier);
        Step(statement);
        NoteWord(cutWord);
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXWORD_Append"), VXMessage(e));
    }
}

void TVXInMemoryDB::VXROW_Append(int fileID, int objectID, int entryID, int rowID, int languageID,
                                 const QString &row, bool call)
{
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        BeginWrite();
        sqlite3_stmt *statement = Statement(RowTable);
        const int numbers[] = {fileID, objectID, entryID, rowID, languageID};
        for (int i = 0; i < 5; ++i)
            sqlite3_bind_int(statement, i + 1, numbers[i]);
        const QString cutRow = CutToColumn(VXSchema::RowColumns[5], row);
        BindText(statement, 6, cutRow);
        sqlite3_bind_int(statement, 7, call ? 1 : 0);
        Step(statement);
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXROW_Append"), VXMessage(e));
    }
}

void TVXInMemoryDB::InsertDistinctWord(const QString &word)
{
    if (!m_distinctInsert) {
        const QByteArray sql = DistinctWordInsertSql().toUtf8();
        if (sqlite3_prepare_v3(m_handle, sql.constData(), int(sql.size()),
                               SQLITE_PREPARE_PERSISTENT, &m_distinctInsert, nullptr)
            != SQLITE_OK) {
            m_distinctInsert = nullptr;
            throw TVXException(QString::fromUtf8(sqlite3_errmsg(m_handle)));
        }
    }
    BindText(m_distinctInsert, 1, word);
    Step(m_distinctInsert);
}

void TVXInMemoryDB::BeforeClose()
{
    // Indexes still suspended are made again by the next connection, of any process.
    m_suspension.reset();
    for (sqlite3_stmt *&statement : m_statements) {
        if (statement)
            sqlite3_finalize(statement);
        statement = nullptr;
    }
    if (m_distinctInsert)
        sqlite3_finalize(m_distinctInsert);
    m_distinctInsert = nullptr;
    FinalizeSelects();
    m_handle = nullptr;
    m_writes = false;
}
