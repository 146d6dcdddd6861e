// SPDX-License-Identifier: GPL-3.0-or-later
#include "repository/Rulequeries.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

namespace {

TVXCondition InEntry(const TVXWordPlace &place)
{
    return TVXCondition(QStringLiteral("VXFileID = ? AND VXObjectID = ? AND VXEntryID = ?"),
                        {place.File, place.Object, place.Entry});
}

TVXCondition OfTypes(const QList<int> &types)
{
    QVariantList values;
    for (const int type : types)
        values << type;
    return TVXCondition::In(QStringLiteral("VXWordType"), values);
}

QList<TVXRuleWord> RuleWords(TVXDataAccessInterface *db, const TVXCondition &select)
{
    QList<TVXRuleWord> words;
    for (const QVariantList &row : VXSelectRows(db, select))
        words.append({row[0].toInt(), row[1].toInt(), row[2].toInt(), row[3].toInt(),
                      row.value(4).toString()});
    return words;
}

const QString WordColumns
        = QStringLiteral("SELECT VXRowID, VXWordID, VXWordType, VXSectionLevel, VXWord FROM VXWORD "
                         "WHERE ");

bool AnyRow(TVXDataAccessInterface *db, const TVXCondition &select)
{
    const std::unique_ptr<TVXDataset> rows(db->GetBoundQuery(nullptr, select, false));
    return rows && !rows->Eof();
}

} // namespace

namespace VXRuleQueries {

std::unique_ptr<TVXDataset> FileRowsFrom(TVXDataAccessInterface *db, int file, int firstRow)
{
    return std::unique_ptr<TVXDataset>(db->GetBoundQuery(
            nullptr,
            TVXCondition(QStringLiteral("SELECT VXFileID, VXRowID, VXRow FROM VXROW WHERE "
                                        "VXFileID = ? AND VXRowID >= ? ORDER BY VXFileID, VXRowID"),
                         {file, firstRow}),
            false));
}

QList<TVXSourceRow> FileRows(TVXDataAccessInterface *db, int file, int firstRow, int lastRow)
{
    QList<TVXSourceRow> rows;
    for (const QVariantList &row : VXSelectRows(
                 db, TVXCondition(QStringLiteral("SELECT VXFileID, VXRowID, VXRow FROM VXROW WHERE "
                                                 "VXFileID = ? AND (VXRowID >= ? AND VXRowID <= ?) "
                                                 "ORDER BY VXFileID, VXRowID"),
                                  {file, firstRow, lastRow})))
        rows.append({row[1].toInt(), row[2].toString()});
    return rows;
}

bool HasRowBefore(TVXDataAccessInterface *db, int file, int row)
{
    return AnyRow(db, TVXCondition(QStringLiteral("SELECT VXFileID FROM VXROW WHERE VXFileID = ? "
                                                  "AND VXRowID < ?"),
                                   {file, row}));
}

bool HasRowAfter(TVXDataAccessInterface *db, int file, int row)
{
    return AnyRow(db, TVXCondition(QStringLiteral("SELECT VXFileID FROM VXROW WHERE VXFileID = ? "
                                                  "AND VXRowID > ?"),
                                   {file, row}));
}

std::optional<int> RowLevel(TVXDataAccessInterface *db, const TVXWordPlace &row)
{
    const QList<QVariantList> first = VXSelectRows(
            db, QStringLiteral("SELECT VXSectionLevel FROM VXWORD WHERE ") + InEntry(row)
                        + TVXCondition(QStringLiteral(" AND VXRowID = ? AND VXWordID = 1000"),
                                       {row.Row}));
    if (first.isEmpty())
        return std::nullopt;
    return first[0][0].toInt();
}

QList<TVXRuleWord> RuleCandidates(TVXDataAccessInterface *db, const TVXWordPlace &row, int level,
                                  const QList<int> &types)
{
    return RuleWords(db, WordColumns + InEntry(row)
                                 + TVXCondition(QStringLiteral(" AND VXRowID < ? AND "), {row.Row})
                                 + OfTypes(types)
                                 + TVXCondition(QStringLiteral(" AND VXSectionLevel <= ? ORDER BY "
                                                               "VXRowID, VXWordID"),
                                                {level}));
}

QList<TVXRuleWord> RuleWordsBetween(TVXDataAccessInterface *db, const TVXWordPlace &entry,
                                    int after, int before, const QList<int> &types)
{
    return RuleWords(db, WordColumns + InEntry(entry)
                                 + TVXCondition(QStringLiteral(" AND VXRowID > ? AND VXRowID < ? "
                                                               "AND "),
                                                {after, before})
                                 + OfTypes(types)
                                 + QStringLiteral(" ORDER BY VXRowID DESC, VXWordID DESC"));
}

QList<TVXRuleWord> WordsOfTypeUpTo(TVXDataAccessInterface *db, const TVXWordPlace &row, int type)
{
    return RuleWords(db, WordColumns + InEntry(row)
                                 + TVXCondition(QStringLiteral(" AND VXRowID <= ? AND VXWordType = "
                                                               "? ORDER BY VXRowID, VXWordID"),
                                                {row.Row, type}));
}

bool BlockEndsBefore(TVXDataAccessInterface *db, const TVXWordPlace &entry,
                     const TVXRuleWord &candidate, int bound)
{
    return AnyRow(db, QStringLiteral("SELECT VXRowID FROM VXWORD WHERE ") + InEntry(entry)
                              + TVXCondition(QStringLiteral(" AND VXRowID <= ? AND ((VXRowID = ? "
                                                            "AND VXWordID >= ?) OR VXRowID > ?) "
                                                            "AND VXSectionLevel < ?"),
                                             {bound, candidate.Row, candidate.Word, candidate.Row,
                                              candidate.Level}));
}

QList<TVXRuleWord> ConditionWords(TVXDataAccessInterface *db, const TVXWordPlace &entry, int first,
                                  int bound, const std::pair<int, int> &leftOut)
{
    return RuleWords(db,
                     WordColumns + InEntry(entry)
                             + TVXCondition(QStringLiteral(" AND (VXRowID >= ? AND VXRowID < ?) "
                                                           "AND VXWordType NOT IN (?,?) ORDER "
                                                           "BY VXRowID, VXWordID"),
                                            {first, bound, leftOut.first, leftOut.second}));
}

std::optional<QString> EntryRowText(TVXDataAccessInterface *db, const TVXWordPlace &row)
{
    const QList<QVariantList> text = VXSelectRows(
            db, QStringLiteral("SELECT VXRow FROM VXROW WHERE ") + InEntry(row)
                        + TVXCondition(QStringLiteral(" AND VXRowID = ?"), {row.Row}));
    if (text.isEmpty())
        return std::nullopt;
    return text[0][0].toString();
}

QList<TVXCallerWord> CallersOf(TVXDataAccessInterface *db, const TVXWordPlace &entry)
{
    QList<TVXCallerWord> callers;
    for (const QVariantList &row :
         VXSelectRows(db, QStringLiteral("SELECT VXFromFileID, VXFromObjectID, VXFromEntryID, "
                                         "VXFromRowID, VXFromWordID FROM VXDEPENDENCIES WHERE ")
                                  + InEntry(entry)
                                  + QStringLiteral(" ORDER BY VXFromFileID, VXFromObjectID, "
                                                   "VXFromEntryID, VXFromRowID, VXFromWordID"))) {
        const TVXCallerWord caller{row[0].toInt(), row[1].toInt(), row[2].toInt(), row[3].toInt(),
                                   row[4].toInt()};
        if (caller.File == entry.File && caller.Object == entry.Object
            && caller.Entry == entry.Entry)
            continue;
        callers.append(caller);
    }
    return callers;
}

} // namespace VXRuleQueries
