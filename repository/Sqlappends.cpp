// SPDX-License-Identifier: GPL-3.0-or-later
// TVXSqlDataAccess: the typed appends of a load, by prepared statements.
#include "base/Exception.h"

#include "repository/Condition.h"
#include "repository/Sqldataaccess.h"
#include "repository/Sqldataaccess_p.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

using namespace VXSqlAccessDetail;

QString TVXSqlDataAccess::InsertSql(int table, qsizetype rows)
{
    const VXSchema::Table &definition = Tables[table];
    QStringList columns, marks;
    for (int c = 0; c < definition.ColumnCount; ++c) {
        columns << Text(definition.Columns[c].Name);
        marks << QStringLiteral("?");
    }
    const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(Text(definition.Name), columns.join(QStringLiteral(", ")),
                 QStringList(rows, row).join(QLatin1Char(',')));
}

QSqlQuery &TVXSqlDataAccess::Prepared(int table)
{
    std::unique_ptr<QSqlQuery> &insert = m_inserts[table];
    if (!insert) {
        insert = std::make_unique<QSqlQuery>(MainDatabase());
        if (!insert->prepare(InsertSql(table, 1))) {
            const QString message = EngineMessage(insert->lastError());
            insert.reset();
            throw TVXException(message);
        }
    }
    return *insert;
}

void TVXSqlDataAccess::Insert(int table, const QVariant *values)
{
    const int columns = Tables[table].ColumnCount;
    // Only the tables whose keys the caller gives: the others hand out ids and read
    // them back at once.
    const bool keyedByCaller = table == WordTable || table == RowTable || table == ObjectTable
                               || table == EntryTable || table == DependencyTable
                               || table == DataFlowTable;
    const int rows = keyedByCaller ? ValuesPerInsert() / columns : 0;
    if (rows <= 1) {
        QSqlQuery &insert = Prepared(table);
        for (int c = 0; c < columns; ++c)
            insert.bindValue(c, values[c]);
        ExecutePrepared(insert);
        return;
    }
    QVariantList &pending = m_pendingRows[size_t(table)];
    for (int c = 0; c < columns; ++c)
        pending << values[c];
    m_hasPendingRows = true;
    if (pending.size() >= rows * columns)
        FlushRows(table);
}

QSqlQuery &TVXSqlDataAccess::BatchStatement(const QString &sql)
{
    std::unique_ptr<QSqlQuery> &insert = m_batchInserts[sql];
    if (!insert) {
        auto prepared = std::make_unique<QSqlQuery>(MainDatabase());
        if (!prepared->prepare(sql)) {
            const QString message = EngineMessage(prepared->lastError());
            m_batchInserts.erase(sql);
            throw TVXException(message);
        }
        insert = std::move(prepared);
    }
    return *insert;
}

void TVXSqlDataAccess::FlushRows(int table)
{
    QVariantList &pending = m_pendingRows[size_t(table)];
    if (pending.isEmpty())
        return;
    const VXSchema::Table &definition = Tables[table];
    const qsizetype rows = pending.size() / definition.ColumnCount;
    // The values leave the buffer whether the statement succeeds or not: a failed insert
    // fails the file being loaded, and is not tried again with the next file's rows.
    const QVariantList values = std::exchange(pending, {});
    try {
        QSqlQuery &insert = BatchStatement(InsertSql(table, rows));
        for (int i = 0; i < values.size(); ++i)
            insert.bindValue(i, values[i]);
        ExecutePrepared(insert);
    } catch (const std::exception &e) {
        throw TVXException(Text(definition.Name) + QStringLiteral("_Append: ") + VXMessage(e));
    }
}

void TVXSqlDataAccess::FlushDistinctWords()
{
    if (m_pendingWords.isEmpty())
        return;
    const QVariantList words = std::exchange(m_pendingWords, {});
    QString sql = DistinctWordInsertSql();
    QStringList marks(words.size(), QStringLiteral("(?)"));
    sql.replace(QStringLiteral("VALUES (?)"),
                QStringLiteral("VALUES ") + marks.join(QLatin1Char(',')));
    QSqlQuery &insert = BatchStatement(sql);
    for (int i = 0; i < words.size(); ++i)
        insert.bindValue(i, words[i]);
    ExecutePrepared(insert);
}

void TVXSqlDataAccess::FlushAppends()
{
    if (!m_hasPendingRows)
        return;
    // Set first: a flush that fails must not be tried again by every call after it.
    m_hasPendingRows = false;
    try {
        for (int table = 0; table < int(m_pendingRows.size()); ++table)
            FlushRows(table);
        FlushDistinctWords();
    } catch (...) {
        for (QVariantList &pending : m_pendingRows)
            pending.clear();
        m_pendingWords.clear();
        throw;
    }
}

void TVXSqlDataAccess::FlushAppendsReadBy(const QString &sql)
{
    if (!m_hasPendingRows)
        return;
    // A select sees the rows appended before it. One that reads none of the tables with
    // rows waiting lets them wait on: the resolution looks up objects and entries between
    // the links it appends, and a server would otherwise take each link in a round trip
    // of its own.
    bool reads = !m_pendingWords.isEmpty() && ReadsTable(sql, QLatin1String(DistinctWords));
    for (int table = 0; !reads && table < int(m_pendingRows.size()); ++table)
        reads = !m_pendingRows[size_t(table)].isEmpty()
                && ReadsTable(sql, Text(Tables[table].Name));
    if (reads)
        FlushAppends();
}

bool TVXSqlDataAccess::ReadsTable(const QString &sql, const QString &table)
{
    // The name as a word: VXWORD is not read by a statement on VXDISTINCTWORD.
    for (qsizetype at = sql.indexOf(table, 0, Qt::CaseInsensitive); at >= 0;
         at = sql.indexOf(table, at + 1, Qt::CaseInsensitive)) {
        const auto isNameChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
        const qsizetype end = at + table.size();
        if ((at == 0 || !isNameChar(sql[at - 1])) && (end >= sql.size() || !isNameChar(sql[end])))
            return true;
    }
    return false;
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
    SelectBoundBegin(GetTable(QStringLiteral("VXFILE")),
                     TVXCondition::Equals(QStringLiteral("VXDirectory"), directory)
                             .And(TVXCondition::Equals(QStringLiteral("VXFileName"), fileName)));
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
        // A scan asks this for every file it finds: the statements are prepared once.
        QSqlQuery &find = Statement(QStringLiteral(
                "SELECT VXFileID, VXFileTime, VXFileSize FROM VXFILE WHERE VXDirectory = ? AND "
                "VXFileName = ?"));
        find.bindValue(0, directory);
        find.bindValue(1, fileName);
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
            QVariantList values{systemID, computerID, applicationID};
            if (!unchanged || inSeconds)
                values << fileTime;
            if (!unchanged)
                values << fileSize;
            values << fileID;
            if (unchanged && inSeconds)
                RunStatement(QStringLiteral("UPDATE VXFILE SET VXSystemID = ?, VXComputerID = ?, "
                                            "VXApplicationID = ?, VXFileTime = ? WHERE "
                                            "VXFileID = ?"),
                             values);
            else if (unchanged)
                RunStatement(QStringLiteral("UPDATE VXFILE SET VXSystemID = ?, VXComputerID = ?, "
                                            "VXApplicationID = ? WHERE VXFileID = ?"),
                             values);
            else
                RunStatement(QStringLiteral("UPDATE VXFILE SET VXSystemID = ?, VXComputerID = ?, "
                                            "VXApplicationID = ?, VXFileTime = ?, VXFileSize = ?, "
                                            "VXLoadTime = 0 WHERE VXFileID = ?"),
                             values);
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
        RunStatement(QStringLiteral("UPDATE VXROW SET VXCall = 1 WHERE VXFileID = ? AND "
                                    "VXObjectID = ? AND VXEntryID = ? AND VXRowID = ?"),
                     {fileID, objectID, entryID, rowID});
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

QStringList TVXSqlDataAccess::DeleteForFileStatements() const
{
    QStringList statements;
    for (const char *table : FileContentTables)
        statements << QStringLiteral("DELETE FROM %1 WHERE VXFileID = ?")
                              .arg(QString::fromLatin1(table));
    return statements;
}

void TVXSqlDataAccess::VXDeleteForFileID(int fileID)
{
    try {
        if (m_connectionCount == 0)
            throw TVXException(QStringLiteral("not connected"));
        BeginWrite();
        for (const QString &statement : DeleteForFileStatements())
            RunStatement(statement, QVariantList(statement.count(QLatin1Char('?')), fileID));
        // Where commits are spaced out, the removal goes with the file's new parse results
        // into one transaction: an interruption keeps the old ones or stores the new.
        if (RetainingCommitInterval() > 0)
            Commit(false, true);
        else
            CommitTransaction();
    } catch (const std::exception &e) {
        Fail(QStringLiteral("VXDeleteForFileID"), VXMessage(e));
    }
}
