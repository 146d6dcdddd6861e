// SPDX-License-Identifier: GPL-3.0-or-later
#include "repository/Loadqueries.h"

#include "repository/Condition.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "repository/Repositoryqueries.h"

namespace {

// A statement holds a bounded list of values on every engine.
constexpr qsizetype ListLimit = 500;

template<typename T>
QList<QVariantList> Chunks(const QList<T> &values)
{
    QList<QVariantList> chunks;
    for (qsizetype at = 0; at < values.size(); at += ListLimit) {
        QVariantList chunk;
        for (const T &value : values.mid(at, ListLimit))
            chunk << value;
        chunks << chunk;
    }
    return chunks;
}

} // namespace

namespace VXLoadQueries {

QString StoredFileKey(const QString &directory, const QString &fileName)
{
    return directory + QLatin1Char('\n') + fileName;
}

QHash<QString, TVXStoredFile> StoredFiles(TVXDataAccessInterface *db)
{
    QHash<QString, TVXStoredFile> files;
    for (const QVariantList &row : VXSelectRows(
                 db, TVXCondition(QStringLiteral(
                             "SELECT VXFileID, VXSystemID, VXComputerID, VXApplicationID, "
                             "VXFileTime, VXFileSize, VXLoadTime, VXDirectory, VXFileName FROM "
                             "VXFILE")))) {
        TVXStoredFile file;
        file.FileID = row.value(0).toInt();
        file.SystemID = row.value(1).toInt();
        file.ComputerID = row.value(2).toInt();
        file.ApplicationID = row.value(3).toInt();
        file.FileTime = row.value(4).toLongLong();
        file.FileSize = row.value(5).toLongLong();
        file.LoadTime = row.value(6).toLongLong();
        files.insert(StoredFileKey(row.value(7).toString(), row.value(8).toString()), file);
    }
    return files;
}

int CheckedFileCount(TVXDataAccessInterface *db)
{
    return VXRepositoryQueries::RowCount(db, QStringLiteral("VXFILE"),
                                         TVXCondition(QStringLiteral("VXDependencyChecked = 'Y'")));
}

QStringList DeclaredNames(TVXDataAccessInterface *db, const QList<int> &files)
{
    QStringList names;
    for (const QVariantList &chunk : Chunks(files)) {
        const TVXCondition in = TVXCondition::In(QStringLiteral("VXFileID"), chunk);
        for (const QVariantList &row : VXSelectRows(
                     db, QStringLiteral("SELECT VXObjectIdentifier, VXObjectName FROM VXOBJECT "
                                        "WHERE ")
                                 + in))
            names << row[0].toString() << row[1].toString();
        for (const QVariantList &row : VXSelectRows(
                     db, QStringLiteral("SELECT DISTINCT VXEntryName FROM VXENTRY WHERE ") + in))
            names << row[0].toString();
    }
    return names;
}

QList<int> FilesNaming(TVXDataAccessInterface *db, const QList<int> &wordTypes,
                       const QStringList &upperCaseNames, bool byIdentifier)
{
    const QString column = byIdentifier ? QStringLiteral("UPPER(VXObjectIdentifier)")
                                        : QStringLiteral("UPPER(VXWord)");
    QStringList codes;
    for (const int type : wordTypes)
        codes << QString::number(type);
    QList<int> files;
    for (const QVariantList &chunk : Chunks(upperCaseNames))
        for (const QVariantList &row : VXSelectRows(
                     db,
                     QStringLiteral("SELECT DISTINCT VXFileID FROM VXWORD WHERE VXWordType IN (")
                             + codes.join(QStringLiteral(", ")) + QStringLiteral(") AND ")
                             + TVXCondition::In(column, chunk)))
            files << row[0].toInt();
    return files;
}

QList<QPair<QString, int>> FilesByDirectory(TVXDataAccessInterface *db)
{
    QList<QPair<QString, int>> folders;
    for (const QVariantList &row : VXSelectRows(
                 db,
                 QStringLiteral("SELECT VXDirectory, COUNT(*) FROM VXFILE GROUP BY VXDirectory")))
        folders.append({row[0].toString(), row[1].toInt()});
    return folders;
}

QList<int> FilesReferringTo(TVXDataAccessInterface *db, int file)
{
    QList<int> files;
    for (const QVariantList &row : VXSelectRows(
                 db, TVXCondition(QStringLiteral("SELECT DISTINCT VXFromFileID FROM VXDEPENDENCIES "
                                                 "WHERE VXFileID = ?"),
                                  {file})))
        files << row[0].toInt();
    return files;
}

void DeleteFileAndLinks(TVXDataAccessInterface *db, int file)
{
    const QString id = QString::number(file);
    const int dependencies = db->GetTable(QStringLiteral("VXDEPENDENCIES"));
    db->Delete(dependencies, QStringLiteral("VXFileID = ") + id, false);
    db->Commit(false, true);
    db->Delete(dependencies, QStringLiteral("VXFromFileID = ") + id, false);
    db->Commit(false, true);
    db->Delete(db->GetTable(QStringLiteral("VXFILE")), QStringLiteral("VXFileID = ") + id, false);
    db->Commit(false, true);
}

} // namespace VXLoadQueries
