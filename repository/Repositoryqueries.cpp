// SPDX-License-Identifier: GPL-3.0-or-later
#include "repository/Repositoryqueries.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <QStringList>

#include <memory>

namespace {

std::unique_ptr<TVXDataset> Select(TVXDataAccessInterface *db, const QString &sql)
{
    return std::unique_ptr<TVXDataset>(db->GetQuery(nullptr, {sql}, false));
}

int Count(TVXDataAccessInterface *db, const QString &sql)
{
    const std::unique_ptr<TVXDataset> dataset = Select(db, sql);
    return dataset && !dataset->Eof() ? dataset->Value(0).toInt() : 0;
}

QSet<QString> Names(TVXDataAccessInterface *db, const QString &sql)
{
    QSet<QString> names;
    for (std::unique_ptr<TVXDataset> rows = Select(db, sql); rows && !rows->Eof(); rows->Next())
        names.insert(rows->Value(0).toString().trimmed());
    return names;
}

} // namespace

namespace VXRepositoryQueries {

int RowCount(TVXDataAccessInterface *db, const QString &table, const TVXCondition &condition)
{
    TVXCondition count(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    if (!condition.IsEmpty())
        count = count + QStringLiteral(" WHERE ") + condition;
    return VXSelectRows(db, count).value(0).value(0).toInt();
}

TVXRepositoryCounts Counts(TVXDataAccessInterface *db)
{
    TVXRepositoryCounts counts;
    counts.Files = RowCount(db, "VXFILE");
    for (const auto &[state, count] :
         {std::pair{'N', &counts.FilesToCheck}, std::pair{'Y', &counts.FilesChecked},
          std::pair{'E', &counts.FilesFailed}})
        *count = Count(db, QStringLiteral("SELECT COUNT(*) FROM VXFILE WHERE "
                                          "VXDependencyChecked = '%1'")
                                   .arg(QLatin1Char(state)));
    counts.Objects = RowCount(db, "VXOBJECT");
    for (std::unique_ptr<TVXDataset> byType
         = Select(db, QStringLiteral("SELECT VXObjectType, COUNT(*) FROM VXOBJECT GROUP BY "
                                     "VXObjectType ORDER BY VXObjectType"));
         byType && !byType->Eof(); byType->Next())
        counts.ObjectsByType.append({byType->Value(0).toString(), byType->Value(1).toInt()});
    counts.Entries = RowCount(db, "VXENTRY");
    counts.Rows = RowCount(db, "VXROW");
    counts.Words = RowCount(db, "VXWORD");
    counts.Dependencies = RowCount(db, "VXDEPENDENCIES");
    counts.DataFlowLinks = RowCount(db, "VXDATAFLOW");
    counts.Packages = RowCount(db, "VXPACKAGE");
    counts.Attributes = RowCount(db, "VXATTRIBUTE");
    return counts;
}

QSet<QString> DeclaredObjectIdentifiers(TVXDataAccessInterface *db)
{
    return Names(db, QStringLiteral("SELECT DISTINCT UPPER(VXObjectIdentifier) FROM VXOBJECT"));
}

QSet<QString> DeclaredEntryNames(TVXDataAccessInterface *db)
{
    return Names(db, QStringLiteral("SELECT DISTINCT UPPER(VXEntryName) FROM VXENTRY"));
}

QList<TVXUnresolvedWord> UnresolvedWords(TVXDataAccessInterface *db, const QList<int> &wordTypes)
{
    QStringList types;
    for (const int type : wordTypes)
        types << QString::number(type);
    // A row takes the number of the statement it ends in, its words that of the statement
    // they began: the line of a word is one after the rows numbered below it.
    const std::unique_ptr<TVXDataset> words = Select(
            db, QStringLiteral("SELECT w.VXWordType, w.VXWord, w.VXObjectIdentifier, f.VXFileName, "
                               "f.VXLanguageID, 1 + (SELECT COUNT(*) FROM VXROW r WHERE "
                               "r.VXFileID = w.VXFileID AND r.VXRowID < w.VXRowID) "
                               "FROM VXWORD w JOIN VXFILE f ON f.VXFileID = w.VXFileID "
                               "LEFT JOIN VXDEPENDENCIES d ON d.VXFromFileID = w.VXFileID AND "
                               "d.VXFromObjectID = w.VXObjectID AND d.VXFromEntryID = w.VXEntryID "
                               "AND d.VXFromRowID = w.VXRowID AND d.VXFromWordID = w.VXWordID "
                               "WHERE w.VXWordType IN (%1) AND d.VXFromFileID IS NULL "
                               "ORDER BY f.VXFileName, w.VXRowID, w.VXWordID")
                        .arg(types.join(QStringLiteral(", "))));
    QList<TVXUnresolvedWord> unresolved;
    for (; words && !words->Eof(); words->Next())
        unresolved.append({words->Value(0).toInt(), words->Value(1).toString().trimmed(),
                           words->Value(2).toString().trimmed(), words->Value(3).toString(),
                           words->Value(4).toInt(), words->Value(5).toInt()});
    return unresolved;
}

} // namespace VXRepositoryQueries
