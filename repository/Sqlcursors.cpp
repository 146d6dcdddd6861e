// SPDX-License-Identifier: GPL-3.0-or-later
// TVXSqlDataAccess: the table cursors behind the handles: select, move, read, change and delete.
#include "base/Exception.h"

#include "repository/Condition.h"
#include "repository/Sqldataaccess.h"
#include "repository/Sqldataaccess_p.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

using namespace VXSqlAccessDetail;

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
        cursor.Prepared.clear();
        cursor.Condition.clear();
        cursor.ConditionValues.clear();
        cursor.Edited.clear();
        cursor.Deleted.clear();
    }
}

bool TVXSqlDataAccess::Open(Cursor &cursor, const QString &sql, const QVariantList &values)
{
    FlushAppendsReadBy(sql);
    // A load selects the same file rows by other values over and over, through a few
    // conditions in turn: the cursor runs each statement again instead of having the engine
    // parse it anew. Where commits close statements, none is carried over.
    const bool reusable = !values.isEmpty() && !CommitClosesCursors();
    std::shared_ptr<QSqlQuery> query = reusable ? cursor.Prepared.value(sql) : nullptr;
    if (query) {
        query->finish();
        for (int i = 0; i < values.size(); ++i)
            query->bindValue(i, values[i]);
        if (!query->exec()) {
            cursor.Prepared.remove(sql);
            throw TVXException(EngineMessage(query->lastError()));
        }
    } else {
        query = std::make_shared<QSqlQuery>(MainDatabase());
        query->setForwardOnly(false);
        if (!Run(*query, sql, values))
            throw TVXException(EngineMessage(query->lastError()));
        if (reusable) {
            if (cursor.Prepared.size() >= 16)
                cursor.Prepared.clear();
            cursor.Prepared.insert(sql, query);
        }
    }
    // The statement left stops reading: one still stepping would hold the engine's locks.
    if (cursor.Query && cursor.Query != query)
        cursor.Query->finish();
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
    return SelectBoundBegin(table, TVXCondition(condition));
}

bool TVXSqlDataAccess::SelectBoundBegin(int table, const TVXCondition &condition)
{
    const QString text = RewriteSql(condition.Text());
    try {
        Cursor &cursor = CursorFor(table, "SelectBegin");
        if (cursor.Table < 0) {
            cursor.Condition.clear();
            cursor.ConditionValues.clear();
            return Open(cursor, text, condition.Values());
        }
        QString remembered = text;
        if (!remembered.toUpper().contains(QLatin1String(" ORDER BY ")))
            remembered += StandardOrder(cursor.Name, cursor.Table);
        cursor.Condition = remembered;
        cursor.ConditionValues = condition.Values();
        QString sql = QStringLiteral("SELECT * FROM ") + Text(Tables[cursor.Table].Name);
        if (!remembered.trimmed().isEmpty())
            sql += remembered.trimmed().toUpper().startsWith(QLatin1String("ORDER BY"))
                           ? QLatin1Char(' ') + remembered.trimmed()
                           : QStringLiteral(" WHERE ") + remembered;
        return Open(cursor, sql, cursor.ConditionValues);
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(m_className + QStringLiteral(".SelectBegin"), e,
                                    condition.Inlined() + QLatin1Char(' '));
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
        // A load marks every file it loaded: the statement of a column is prepared once.
        RunStatement(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3")
                             .arg(Text(definition.Name), Text(column.Name), where),
                     QVariantList{stored} + keyValues);
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
        FlushAppends();
        QSqlQuery query(MainDatabase());
        if (currentRecordOnly) {
            if (!HasRow(cursor))
                return true;
            QVariantList keyValues;
            const QString where = KeyCondition(cursor, keyValues);
            RunStatement(
                    QStringLiteral("DELETE FROM %1 WHERE %2").arg(Text(definition.Name), where),
                    keyValues);
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
        FlushAppends();
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
        QVariantList bound;
        for (int i = 0; i < fields.size(); ++i) {
            const QString field = fields[i].trimmed();
            const QVariant value = values.value(i);
            if (value.typeId() != QMetaType::QString)
                terms << field + QStringLiteral(" = ")
                                 + (value.typeId() == QMetaType::Bool
                                            ? QString::number(value.toBool())
                                            : value.toString());
            else {
                terms << (caseSensitive
                                  ? field
                                  : RewriteSql(QStringLiteral("UPPER(")) + field + QLatin1Char(')'))
                                 + QStringLiteral(" = ?");
                bound << (caseSensitive ? value.toString() : value.toString().toUpper());
            }
        }
        QString where = terms.join(QStringLiteral(" AND "));
        const qsizetype order = cursor.Condition.toUpper().indexOf(QLatin1String(" ORDER BY "));
        if (order >= 0) {
            const QString before = cursor.Condition.left(order).trimmed();
            if (!before.isEmpty()) {
                // The remembered condition's values follow the key's, as its text does.
                where += QStringLiteral(" AND (") + before + QLatin1Char(')');
                bound += cursor.ConditionValues;
            }
            where += QLatin1Char(' ') + cursor.Condition.mid(order).trimmed();
        }
        return Open(cursor,
                    QStringLiteral("SELECT * FROM ") + Text(definition.Name)
                            + QStringLiteral(" WHERE ") + where,
                    bound);
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
