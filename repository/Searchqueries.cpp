// SPDX-License-Identifier: GPL-3.0-or-later
#include "repository/Searchqueries.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "repository/Repositoryqueries.h"

namespace {

QList<QVariantList> Rows(TVXDataAccessInterface *db, const QString &sql, const QVariantList &values)
{
    return VXSelectRows(db, TVXCondition(sql, values));
}

TVXCondition InEntry(const TVXWordPlace &place)
{
    return TVXCondition(QStringLiteral("VXFileID = ? AND VXObjectID = ? AND VXEntryID = ?"),
                        {place.File, place.Object, place.Entry});
}

// One value of each place, by its first keyColumns key columns, in statements of a bounded
// number of places.
QHash<TVXWordPlace, QVariant> ValuesAt(TVXDataAccessInterface *db, const char *table,
                                       const char *valueColumn, int keyColumns,
                                       const QList<TVXWordPlace> &places)
{
    static const char *const keys[] = {"VXFileID", "VXObjectID", "VXEntryID", "VXRowID"};
    const bool join = db->JoinsValueLists();
    QString term = QStringLiteral("(");
    QString selected;
    QString names;
    QString on;
    for (int k = 0; k < keyColumns; ++k) {
        const QString key = QLatin1String(keys[k]);
        const QString separator = k ? QStringLiteral(", ") : QString();
        term += (join ? separator + QStringLiteral("?")
                      : (k ? QStringLiteral(" AND ") : QString()) + key + QStringLiteral(" = ?"));
        selected += (join ? QStringLiteral("T.") : QString()) + key + QStringLiteral(", ");
        names += separator + QStringLiteral("K") + QString::number(k);
        on += (k ? QStringLiteral(" AND T.") : QStringLiteral("T.")) + key + QStringLiteral(" = K")
              + QString::number(k);
    }
    term += QLatin1Char(')');
    QHash<TVXWordPlace, QVariant> values;
    constexpr qsizetype chunk = 50;
    for (qsizetype at = 0; at < places.size(); at += chunk) {
        QStringList terms;
        QVariantList bound;
        for (const TVXWordPlace &place : places.mid(at, chunk)) {
            terms << term;
            const int parts[] = {place.File, place.Object, place.Entry, place.Row};
            for (int k = 0; k < keyColumns; ++k)
                bound << parts[k];
        }
        const QString sql
                = join ? QStringLiteral("WITH K(%1) AS (VALUES %2) SELECT %3T.%4 FROM K JOIN %5 T "
                                        "ON %6")
                                  .arg(names, terms.join(QStringLiteral(", ")), selected,
                                       QLatin1String(valueColumn), QLatin1String(table), on)
                       : QStringLiteral("SELECT %1%2 FROM %3 WHERE %4")
                                  .arg(selected, QLatin1String(valueColumn), QLatin1String(table),
                                       terms.join(QStringLiteral(" OR ")));
        const TVXCondition statement(sql, bound);
        for (const QVariantList &row : VXSelectRows(db, statement)) {
            TVXWordPlace place;
            int *parts[] = {&place.File, &place.Object, &place.Entry, &place.Row};
            for (int k = 0; k < keyColumns; ++k)
                *parts[k] = row.value(k).toInt();
            values.insert(place, row.value(keyColumns));
        }
    }
    return values;
}

QHash<TVXWordPlace, QString> TrimmedTexts(const QHash<TVXWordPlace, QVariant> &values)
{
    QHash<TVXWordPlace, QString> texts;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        texts.insert(it.key(), it.value().toString().trimmed());
    return texts;
}

} // namespace

namespace VXSearchQueries {

QHash<int, TVXFileAttributes> FileAttributesOf(TVXDataAccessInterface *db, const QList<int> &files)
{
    QHash<int, TVXFileAttributes> attributes;
    constexpr qsizetype chunk = 200;
    for (qsizetype at = 0; at < files.size(); at += chunk) {
        QVariantList ids;
        for (const int file : files.mid(at, chunk))
            ids << file;
        for (const QVariantList &row :
             VXSelectRows(db, TVXCondition(QStringLiteral("SELECT VXFileID, VXLanguageID, "
                                                          "VXSystemID, VXComputerID, "
                                                          "VXApplicationID FROM VXFILE WHERE "))
                                      + TVXCondition::In(QStringLiteral("VXFileID"), ids)))
            attributes.insert(row[0].toInt(), TVXFileAttributes{row[1].toInt(), row[2].toInt(),
                                                                row[3].toInt(), row[4].toInt()});
    }
    return attributes;
}

QHash<TVXWordPlace, QString> ObjectNames(TVXDataAccessInterface *db,
                                         const QList<TVXWordPlace> &objects)
{
    return TrimmedTexts(ValuesAt(db, "VXOBJECT", "VXObjectName", 2, objects));
}

QHash<TVXWordPlace, QString> EntryNames(TVXDataAccessInterface *db,
                                        const QList<TVXWordPlace> &entries)
{
    return TrimmedTexts(ValuesAt(db, "VXENTRY", "VXEntryName", 3, entries));
}

QHash<TVXWordPlace, QString> RowTexts(TVXDataAccessInterface *db, const QList<TVXWordPlace> &rows)
{
    QHash<TVXWordPlace, QString> texts;
    const QHash<TVXWordPlace, QVariant> values = ValuesAt(db, "VXROW", "VXRow", 4, rows);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        texts.insert(it.key(), it.value().toString());
    return texts;
}

QList<int> AttributeIDs(TVXDataAccessInterface *db, const TVXCondition &condition,
                        int attributeType)
{
    QList<int> ids;
    const TVXCondition select
            = QStringLiteral("SELECT VXAttributeID FROM VXATTRIBUTE WHERE ") + condition
              + TVXCondition(QStringLiteral(" AND VXAttributeType = ?"), {attributeType});
    for (const QVariantList &row : VXSelectRows(db, select))
        ids << row[0].toInt();
    return ids;
}

int FileCount(TVXDataAccessInterface *db, const TVXCondition &filter)
{
    return VXRepositoryQueries::RowCount(db, QStringLiteral("VXFILE"), filter);
}

std::unique_ptr<TVXDataset> StatementWords(TVXDataAccessInterface *db, const TVXWordPlace &entry,
                                           int firstRow, int lastRow)
{
    const TVXCondition select
            = QStringLiteral("SELECT VXRowID, VXWordID, VXWordType, VXWord, VXSectionLevel, "
                             "VXSectionType FROM VXWORD WHERE ")
              + InEntry(entry)
              + TVXCondition(QStringLiteral(" AND VXRowID >= ? AND VXRowID <= ? ORDER BY VXRowID, "
                                            "VXWordID"),
                             {firstRow, lastRow});
    return std::unique_ptr<TVXDataset>(db->GetBoundQuery(nullptr, select, false));
}

std::optional<int> FirstSectionLevel(TVXDataAccessInterface *db, const TVXWordPlace &row)
{
    const QList<QVariantList> first = VXSelectRows(
            db, QStringLiteral("SELECT VXSectionLevel FROM VXWORD WHERE ") + InEntry(row)
                        + TVXCondition(QStringLiteral(" AND VXRowID = ? ORDER BY VXWordID"),
                                       {row.Row}));
    if (first.isEmpty())
        return std::nullopt;
    return first[0][0].toInt();
}

std::optional<TVXFileAttributes> FileAttributes(TVXDataAccessInterface *db, int file)
{
    const QList<QVariantList> rows
            = Rows(db,
                   QStringLiteral("SELECT VXLanguageID, VXSystemID, VXComputerID, VXApplicationID "
                                  "FROM VXFILE WHERE VXFileID = ?"),
                   {file});
    if (rows.isEmpty())
        return std::nullopt;
    return TVXFileAttributes{rows[0][0].toInt(), rows[0][1].toInt(), rows[0][2].toInt(),
                             rows[0][3].toInt()};
}

std::optional<QString> AttributeName(TVXDataAccessInterface *db, int attribute)
{
    const QList<QVariantList> rows = Rows(
            db, QStringLiteral("SELECT VXAttributeName FROM VXATTRIBUTE WHERE VXAttributeID = ?"),
            {attribute});
    if (rows.isEmpty())
        return std::nullopt;
    return rows[0][0].toString().trimmed();
}

QString ObjectName(TVXDataAccessInterface *db, int file, int object)
{
    return Rows(db,
                QStringLiteral("SELECT VXObjectName FROM VXOBJECT WHERE VXFileID = ? AND "
                               "VXObjectID = ?"),
                {file, object})
            .value(0)
            .value(0)
            .toString()
            .trimmed();
}

QString PackageName(TVXDataAccessInterface *db, int file, int package)
{
    return Rows(db,
                QStringLiteral("SELECT VXPackageName FROM VXPACKAGE WHERE VXFileID = ? AND "
                               "VXPackageID = ?"),
                {file, package})
            .value(0)
            .value(0)
            .toString()
            .trimmed();
}

QString EntryName(TVXDataAccessInterface *db, int file, int object, int entry)
{
    return Rows(db,
                QStringLiteral("SELECT VXEntryName FROM VXENTRY WHERE VXFileID = ? AND "
                               "VXObjectID = ? AND VXEntryID = ?"),
                {file, object, entry})
            .value(0)
            .value(0)
            .toString()
            .trimmed();
}

std::optional<QString> RowText(TVXDataAccessInterface *db, const TVXWordPlace &statement)
{
    const TVXCondition nextRows(QStringLiteral(" AND VXRowID > ? AND VXRowID < ? ORDER BY VXRowID"),
                                {statement.Row, statement.Row - statement.Row % 1000 + 2000});
    const TVXCondition inFile(QStringLiteral("VXFileID = ?"), {statement.File});
    const TVXCondition thisRow(QStringLiteral(" AND VXRowID = ?"), {statement.Row});
    for (const TVXCondition &condition :
         {InEntry(statement) + thisRow, InEntry(statement) + nextRows, inFile + thisRow,
          inFile + nextRows}) {
        const QList<QVariantList> text
                = VXSelectRows(db, QStringLiteral("SELECT VXRow FROM VXROW WHERE ") + condition);
        if (!text.isEmpty())
            return text[0][0].toString();
    }
    return std::nullopt;
}

QList<TVXCallRow> CallsFrom(TVXDataAccessInterface *db, int file, int object, int entry)
{
    TVXCondition select(QStringLiteral("SELECT VXFromEntryID, VXFromRowID, VXFromWordID, "
                                       "VXFileID, VXObjectID, VXEntryID FROM VXDEPENDENCIES "
                                       "WHERE VXFileID > 0 AND VXFromFileID = ? AND "
                                       "VXFromObjectID = ?"),
                        {file, object});
    if (entry >= 0)
        select = select + TVXCondition(QStringLiteral(" AND VXFromEntryID = ?"), {entry});
    select.Then(QStringLiteral(" ORDER BY VXFromFileID, VXFromObjectID, VXFromEntryID, "
                               "VXFromRowID DESC, VXFromWordID DESC"));
    QList<TVXCallRow> calls;
    for (const QVariantList &row : VXSelectRows(db, select))
        calls.append({row[0].toInt(), row[1].toInt(), row[2].toInt(), row[3].toInt(),
                      row[4].toInt(), row[5].toInt()});
    return calls;
}

} // namespace VXSearchQueries
