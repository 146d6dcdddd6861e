// SPDX-License-Identifier: GPL-3.0-or-later
#include "repository/Dependencyqueries.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <memory>

namespace {

QVariantList Values(const QList<int> &numbers)
{
    return QVariantList(numbers.cbegin(), numbers.cend());
}

QList<QVariantList> Rows(TVXDataAccessInterface *db, const QString &sql, const QVariantList &values)
{
    return VXSelectRows(db, TVXCondition(sql, values));
}

// The twelve columns of VXDEPENDENCIES in table order.
const char *const DependencyColumns[]
        = {"VXFileID",       "VXObjectID",       "VXEntryID",          "VXRowID",
           "VXWordID",       "VXInheritsFileID", "VXInheritsObjectID", "VXFromFileID",
           "VXFromObjectID", "VXFromEntryID",    "VXFromRowID",        "VXFromWordID"};

} // namespace

namespace VXDependencyQueries {

TVXCondition NameIs(const QString &column, const QString &name, bool caseSensitive)
{
    return caseSensitive
                   ? TVXCondition::Equals(column, name)
                   : TVXCondition::Equals(QStringLiteral("UPPER(") + column + QLatin1Char(')'),
                                          name.toUpper());
}

TVXCondition InFile(int file)
{
    return TVXCondition(QStringLiteral("VXFileID = ?"), {file});
}

TVXCondition InObject(int file, int object)
{
    return TVXCondition(QStringLiteral("VXFileID = ? AND VXObjectID = ?"), {file, object});
}

TVXCondition InEntry(int file, int object, int entry)
{
    return TVXCondition(QStringLiteral("VXFileID = ? AND VXObjectID = ? AND VXEntryID = ?"),
                        {file, object, entry});
}

TVXCondition NotObject(int file, int object)
{
    return QStringLiteral("NOT (") + InObject(file, object) + QStringLiteral(")");
}

TVXCondition NotEntry(int file, int object, int entry)
{
    return QStringLiteral("NOT (") + InEntry(file, object, entry) + QStringLiteral(")");
}

TVXCondition EntryIsNot(int entry)
{
    return TVXCondition(QStringLiteral("VXEntryID <> ?"), {entry});
}

TVXCondition IconIs(int icon)
{
    return TVXCondition(QStringLiteral("VXIcon = ?"), {icon});
}

TVXCondition IconIsNot(int icon)
{
    return TVXCondition(QStringLiteral("VXIcon <> ?"), {icon});
}

TVXCondition LanguageIs(int language)
{
    return TVXCondition(QStringLiteral("VXLanguageID = ?"), {language});
}

TVXCondition ObjectTypeIs(const QString &type)
{
    return TVXCondition::Equals(QStringLiteral("VXObjectType"), type);
}

TVXCondition KindIsNot(int icon, const QStringList &objectTypes)
{
    TVXCondition kind = IconIsNot(icon);
    if (!objectTypes.isEmpty())
        kind.And(QStringLiteral("NOT ")
                 + TVXCondition::In(QStringLiteral("VXObjectType"),
                                    QVariantList(objectTypes.cbegin(), objectTypes.cend())));
    return kind;
}

TVXCondition AnyOf(const QList<TVXCondition> &conditions)
{
    TVXCondition any(QStringLiteral("("));
    for (qsizetype i = 0; i < conditions.size(); ++i)
        any = any + (i == 0 ? QString() : QStringLiteral(" OR ")) + conditions[i];
    return any + QStringLiteral(")");
}

TVXCondition AnyObjectOf(const QList<QPair<int, int>> &objects)
{
    // The ids come from the repository and may be many: written in, they cannot run past
    // the number of values a statement may bind.
    QStringList pairs;
    for (const auto &[file, object] : objects)
        pairs << QStringLiteral("(VXFileID = %1 AND VXObjectID = %2)").arg(file).arg(object);
    pairs.removeDuplicates();
    if (pairs.isEmpty())
        return {};
    return TVXCondition(QLatin1Char('(') + pairs.join(QStringLiteral(" OR ")) + QLatin1Char(')'));
}

TVXCondition InObjectOf(int icon, const TVXCondition &memberCondition)
{
    return TVXCondition(QStringLiteral("EXISTS (SELECT 1 FROM VXOBJECT o WHERE o.VXFileID = "
                                       "VXENTRY.VXFileID AND o.VXObjectID = VXENTRY.VXObjectID "
                                       "AND o.VXIcon = ? AND "),
                        {icon})
           + memberCondition + QStringLiteral(")");
}

TVXCondition MemberIdentifierIn(const QStringList &upperCaseNames)
{
    return TVXCondition::In(QStringLiteral("UPPER(o.VXObjectIdentifier)"),
                            QVariantList(upperCaseNames.cbegin(), upperCaseNames.cend()));
}

TVXCondition FirstObjectStatement(const TVXCondition &condition)
{
    return QStringLiteral("SELECT VXFileID, VXObjectID FROM VXOBJECT WHERE ") + condition
           + QStringLiteral(" ORDER BY VXFileID, VXObjectID");
}

TVXCondition FirstEntryStatement(const TVXCondition &condition)
{
    return QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID FROM VXENTRY WHERE ") + condition
           + QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID");
}

QList<TVXItemKey> Entries(TVXDataAccessInterface *db, const TVXCondition &condition)
{
    QList<TVXItemKey> entries;
    for (const QVariantList &row : VXSelectRows(db, FirstEntryStatement(condition)))
        entries.append({row[0].toInt(), row[1].toInt(), row[2].toInt()});
    return entries;
}

int EntryHoldingWord(TVXDataAccessInterface *db, int file, int object, const QList<int> &wordTypes,
                     const TVXCondition &wordIs)
{
    return VXSelectRows(db,
                        QStringLiteral("SELECT VXEntryID FROM VXWORD WHERE ")
                                + InObject(file, object) + QStringLiteral(" AND ")
                                + TVXCondition::In(QStringLiteral("VXWordType"), Values(wordTypes))
                                + QStringLiteral(" AND ") + wordIs
                                + QStringLiteral(" ORDER BY VXEntryID, VXRowID, VXWordID"))
            .value(0)
            .value(0)
            .toInt();
}

QList<QPair<int, int>> ModuleObjects(TVXDataAccessInterface *db, int file,
                                     const QString &upperCasePrefix)
{
    QList<QPair<int, int>> objects;
    for (const QVariantList &row :
         Rows(db,
              QStringLiteral("SELECT VXFileID, VXObjectID FROM VXOBJECT WHERE VXFileID = ? AND "
                             "VXObjectID = 1000 AND UPPER(VXObjectIdentifier) LIKE ?"),
              {file, upperCasePrefix + QLatin1Char('%')}))
        objects.append({row[0].toInt(), row[1].toInt()});
    return objects;
}

QStringList DistinctWords(TVXDataAccessInterface *db, int file, const QList<int> &wordTypes)
{
    QStringList words;
    for (const QVariantList &row : VXSelectRows(
                 db, TVXCondition(QStringLiteral("SELECT DISTINCT VXWord FROM VXWORD WHERE "
                                                 "VXFileID = ? AND "),
                                  {file})
                             + TVXCondition::In(QStringLiteral("VXWordType"), Values(wordTypes))))
        words << row[0].toString().trimmed().toUpper();
    return words;
}

QList<QPair<QString, QString>> DistinctIdentifiers(TVXDataAccessInterface *db, int file,
                                                   int wordType)
{
    QList<QPair<QString, QString>> words;
    for (const QVariantList &row :
         Rows(db,
              QStringLiteral("SELECT DISTINCT VXObjectIdentifier, VXWord FROM VXWORD WHERE "
                             "VXFileID = ? AND VXWordType = ?"),
              {file, wordType}))
        words.append({row[0].toString().trimmed(), row[1].toString().trimmed()});
    return words;
}

QList<FileRow> FilesNamedLike(TVXDataAccessInterface *db, const QString &upperCasePattern)
{
    QList<FileRow> files;
    for (const QVariantList &row : Rows(db,
                                        QStringLiteral("SELECT VXFileID, VXFileName, VXDirectory "
                                                       "FROM VXFILE WHERE UPPER(VXFileName) LIKE "
                                                       "? ORDER BY VXFileID"),
                                        {upperCasePattern}))
        files.append({row[0].toInt(), row[1].toString(), row[2].toString()});
    return files;
}

std::optional<FileRow> File(TVXDataAccessInterface *db, int file)
{
    const QList<QVariantList> rows = Rows(
            db, QStringLiteral("SELECT VXFileName, VXDirectory FROM VXFILE WHERE VXFileID = ?"),
            {file});
    if (rows.isEmpty())
        return std::nullopt;
    return FileRow{file, rows[0][0].toString(), rows[0][1].toString()};
}

QList<int> ObjectIDs(TVXDataAccessInterface *db, int file, std::optional<int> exceptIcon)
{
    TVXCondition select = QStringLiteral("SELECT VXObjectID FROM VXOBJECT WHERE ") + InFile(file);
    if (exceptIcon)
        select.And(IconIsNot(*exceptIcon));
    select.Then(QStringLiteral(" ORDER BY VXObjectID"));
    QList<int> objects;
    for (const QVariantList &row : VXSelectRows(db, select))
        objects << row[0].toInt();
    return objects;
}

QHash<int, QString> ObjectTypes(TVXDataAccessInterface *db, int file)
{
    QHash<int, QString> types;
    for (const QVariantList &row :
         Rows(db,
              QStringLiteral("SELECT VXObjectID, VXObjectType FROM VXOBJECT WHERE VXFileID = ?"),
              {file}))
        types.insert(row[0].toInt(), row[1].toString());
    return types;
}

QString ObjectInherits(TVXDataAccessInterface *db, const QString &identifier, bool caseSensitive)
{
    // A class declared in its header and continued in its source: any of its objects
    // that names an ancestor names it for all.
    const TVXCondition select
            = TVXCondition(QStringLiteral("SELECT VXObjectInherits FROM VXOBJECT WHERE "))
              + NameIs(QStringLiteral("VXObjectIdentifier"), identifier, caseSensitive)
              + QStringLiteral(" AND VXObjectInherits <> '' ORDER BY VXFileID, VXObjectID");
    const QList<QVariantList> rows = VXSelectRows(db, select);
    return rows.isEmpty() ? QString() : rows.first().value(0).toString().trimmed();
}

QList<TVXReferringWordRow> Words(TVXDataAccessInterface *db, int file, const QList<int> &wordTypes)
{
    QList<TVXReferringWordRow> words;
    const TVXCondition select
            = TVXCondition(QStringLiteral("SELECT VXObjectID, VXEntryID, VXRowID, VXWordID, "
                                          "VXWordType, VXWord, VXObjectIdentifier FROM VXWORD "
                                          "WHERE VXFileID = ? AND "),
                           {file})
              + TVXCondition::In(QStringLiteral("VXWordType"), Values(wordTypes))
              + QStringLiteral(" ORDER BY VXObjectID, VXEntryID, VXRowID, VXWordID");
    for (const QVariantList &row : VXSelectRows(db, select))
        words.append({row[0].toInt(), row[1].toInt(), row[2].toInt(), row[3].toInt(),
                      row[4].toInt(), row[5].toString().trimmed(), row[6].toString().trimmed()});
    return words;
}

QPair<QString, QString> WordAt(TVXDataAccessInterface *db, int file, int object, int entry, int row,
                               int word)
{
    const QList<QVariantList> rows
            = Rows(db,
                   QStringLiteral("SELECT VXWord, VXObjectIdentifier FROM VXWORD WHERE VXFileID = "
                                  "? AND VXObjectID = ? AND VXEntryID = ? AND VXRowID = ? AND "
                                  "VXWordID = ?"),
                   {file, object, entry, row, word});
    return {rows.value(0).value(0).toString().trimmed(),
            rows.value(0).value(1).toString().trimmed()};
}

QList<TVXPackageRow> DeclaredPackages(TVXDataAccessInterface *db, int file)
{
    QList<TVXPackageRow> packages;
    for (const QVariantList &row :
         Rows(db,
              QStringLiteral("SELECT DISTINCT VXPackageID, VXPackageName, VXObjectName FROM "
                             "VXPACKAGE WHERE VXFileID = ? ORDER BY VXPackageID"),
              {file}))
        packages.append({file, row[0].toInt(), row[1].toString(), row[2].toString().trimmed(), {}});
    return packages;
}

QList<TVXPackageRow> PackagesNaming(TVXDataAccessInterface *db, int exceptFile,
                                    const QString &upperCaseMember)
{
    QList<TVXPackageRow> packages;
    for (const QVariantList &row :
         Rows(db,
              QStringLiteral("SELECT DISTINCT p.VXFileID, p.VXPackageID, p.VXPackageName, "
                             "p.VXObjectName, f.VXDirectory FROM VXPACKAGE p JOIN VXFILE f ON "
                             "f.VXFileID = p.VXFileID WHERE p.VXFileID <> ? AND "
                             "UPPER(p.VXObjectName) = ?"),
              {exceptFile, upperCaseMember}))
        packages.append({row[0].toInt(), row[1].toInt(), row[2].toString(),
                         row[3].toString().trimmed(), row[4].toString()});
    return packages;
}

QList<TVXPackageMemberRow> MemberRows(TVXDataAccessInterface *db, int file, int package,
                                      const QString &upperCaseMember)
{
    QList<TVXPackageMemberRow> rows;
    for (const QVariantList &row :
         Rows(db,
              QStringLiteral("SELECT VXContentCounter, VXObjectFileID, VXObjectID FROM VXPACKAGE "
                             "WHERE VXFileID = ? AND VXPackageID = ? AND UPPER(VXObjectName) = ? "
                             "ORDER BY VXContentCounter"),
              {file, package, upperCaseMember}))
        rows.append({row[0].toInt(), row[1].toInt(), row[2].toInt()});
    return rows;
}

bool SetMemberObject(TVXDataAccessInterface *db, int file, int package, int contentCounter,
                     int objectFile, int object)
{
    const int packages = db->GetTable(QStringLiteral("VXPACKAGE"));
    if (!db->SelectBoundBegin(packages,
                              TVXCondition(QStringLiteral("VXFileID = ? AND VXPackageID = ? AND "
                                                          "VXContentCounter = ?"),
                                           {file, package, contentCounter})))
        return false;
    db->SetFieldValue(packages, db->GetField(packages, QStringLiteral("VXObjectFileID")),
                      objectFile);
    db->SetFieldValue(packages, db->GetField(packages, QStringLiteral("VXObjectID")), object);
    return true;
}

QList<QVariantList> DependenciesTo(TVXDataAccessInterface *db, int file, bool inheritance)
{
    QStringList columns;
    for (const char *column : DependencyColumns)
        columns << QLatin1String(column);
    TVXCondition select(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", "))
                                + QStringLiteral(" FROM VXDEPENDENCIES WHERE VXFileID = ?"),
                        {file});
    if (inheritance)
        select = select + TVXCondition(QStringLiteral(" OR VXInheritsFileID = ?"), {file});
    return VXSelectRows(db, select);
}

void DeleteDependency(TVXDataAccessInterface *db, const QVariantList &row)
{
    // Numbers only: written in, as the interface deletes by condition text.
    QStringList columns;
    for (int i = 0; i < 12; ++i)
        columns << QLatin1String(DependencyColumns[i]) + QStringLiteral(" = ")
                           + QString::number(row.value(i).toInt());
    db->Delete(db->GetTable(QStringLiteral("VXDEPENDENCIES")),
               columns.join(QStringLiteral(" AND ")), false);
}

void DeleteDependenciesFrom(TVXDataAccessInterface *db, int file)
{
    db->Delete(db->GetTable(QStringLiteral("VXDEPENDENCIES")),
               QStringLiteral("VXFromFileID = ") + QString::number(file), false);
}

TVXCondition WordTypeIn(const QList<int> &wordTypes)
{
    return TVXCondition::In(QStringLiteral("VXWordType"), Values(wordTypes));
}

TVXCondition WordTypeNotIn(const QList<int> &wordTypes)
{
    return QStringLiteral("NOT ") + WordTypeIn(wordTypes);
}

QList<TVXStoredWordRow> WordsWhere(TVXDataAccessInterface *db, const TVXCondition &condition)
{
    QList<TVXStoredWordRow> words;
    std::unique_ptr<TVXDataset> dataset(db->GetBoundQuery(
            nullptr,
            QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, VXWord "
                           "FROM VXWORD WHERE ")
                    + condition
                    + QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID, "
                                     "VXWordID"),
            false));
    for (; dataset && !dataset->Eof(); dataset->Next())
        words.append({dataset->Value(0).toInt(), dataset->Value(1).toInt(),
                      dataset->Value(2).toInt(), dataset->Value(3).toInt(),
                      dataset->Value(4).toInt(), dataset->Value(5).toString().trimmed()});
    return words;
}

void SetWordReference(TVXDataAccessInterface *db, const TVXStoredWordRow &word, int wordType,
                      const QString &identifier)
{
    const int words = db->GetTable(QStringLiteral("VXWORD"));
    if (!db->SelectBoundBegin(words, InEntry(word.File, word.Object, word.Entry)
                                             + TVXCondition(QStringLiteral(" AND VXRowID = ? AND "
                                                                           "VXWordID = ?"),
                                                            {word.Row, word.Word})))
        return;
    db->SetFieldValue(words, db->GetField(words, QStringLiteral("VXWordType")), wordType);
    db->SetFieldValue(words, db->GetField(words, QStringLiteral("VXObjectIdentifier")), identifier);
}

std::optional<int> AttributeID(TVXDataAccessInterface *db, int attributeType, const QString &name)
{
    const QList<QVariantList> rows = Rows(db,
                                          QStringLiteral("SELECT VXAttributeID FROM VXATTRIBUTE "
                                                         "WHERE VXAttributeType = ? AND "
                                                         "VXAttributeName = ?"),
                                          {attributeType, name});
    if (rows.isEmpty())
        return std::nullopt;
    return rows[0][0].toInt();
}

bool AttributeHasFiles(TVXDataAccessInterface *db, int attributeType, int attribute)
{
    static const char *const columns[] = {"VXSystemID", "VXComputerID", "VXApplicationID"};
    if (attributeType < 1 || attributeType > 3)
        return false;
    return Rows(db,
                QStringLiteral("SELECT COUNT(*) FROM VXFILE WHERE ")
                        + QLatin1String(columns[attributeType - 1]) + QStringLiteral(" = ?"),
                {attribute})
                   .value(0)
                   .value(0)
                   .toInt()
           > 0;
}

QList<QPair<int, int>> FilesToCheck(TVXDataAccessInterface *db)
{
    QList<QPair<int, int>> files;
    for (const QVariantList &row :
         VXSelectRows(db, QStringLiteral("SELECT VXFileID, VXLanguageID FROM VXFILE WHERE "
                                         "VXDependencyChecked = 'N' ORDER BY VXFileID")))
        files.append({row[0].toInt(), row[1].toInt()});
    return files;
}

void SetCheckState(TVXDataAccessInterface *db, int file, const QString &state)
{
    const int files = db->GetTable(QStringLiteral("VXFILE"));
    if (db->SelectBoundBegin(files, InFile(file)))
        db->SetFieldValue(files, db->GetField(files, QStringLiteral("VXDependencyChecked")), state);
}

} // namespace VXDependencyQueries
