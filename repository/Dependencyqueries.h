// SPDX-License-Identifier: GPL-3.0-or-later
// What the dependency check asks of the repository: the conditions it puts together to
// find the object or entry a referring word names, and the reads and writes around them.
// The resolver decides which conditions to try in which order; the SQL stays here. Codes
// (word types, icons) come from the caller, which knows what they mean.
#pragma once

#include "base/Export.h"

#include "repository/Condition.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class TVXDataAccessInterface;

// A file, object and entry; 0 where a part is not given.
struct TVXItemKey
{
    int File = 0;
    int Object = 0;
    int Entry = 0;
};

// A stored word as the check reads it.
struct TVXReferringWordRow
{
    int Object = 0;
    int Entry = 0;
    int Row = 0;
    int Word = 0;
    int Type = 0;
    QString Text;       // trimmed
    QString Identifier; // trimmed
};

struct TVXPackageMemberRow
{
    int ContentCounter = 0;
    int ObjectFile = 0;
    int Object = 0;
};

struct TVXPackageRow
{
    int File = 0;
    int Package = 0;
    QString PackageName;
    QString Member;    // trimmed
    QString Directory; // of the package's file, where asked for
};

// A stored word with where it stands.
struct TVXStoredWordRow
{
    int File = 0;
    int Object = 0;
    int Entry = 0;
    int Row = 0;
    int Word = 0;
    QString Text; // trimmed
};

namespace VXDependencyQueries {

// Conditions on the columns of VXOBJECT and VXENTRY (VXWORD for NameIs on VXWord).
VXCORE_EXPORT TVXCondition NameIs(const QString &column, const QString &name, bool caseSensitive);
VXCORE_EXPORT TVXCondition InFile(int file);
VXCORE_EXPORT TVXCondition InObject(int file, int object);
VXCORE_EXPORT TVXCondition InEntry(int file, int object, int entry);
VXCORE_EXPORT TVXCondition NotObject(int file, int object);
VXCORE_EXPORT TVXCondition NotEntry(int file, int object, int entry);
VXCORE_EXPORT TVXCondition EntryIsNot(int entry);
VXCORE_EXPORT TVXCondition IconIs(int icon);
VXCORE_EXPORT TVXCondition IconIsNot(int icon);
VXCORE_EXPORT TVXCondition LanguageIs(int language);
VXCORE_EXPORT TVXCondition ObjectTypeIs(const QString &type);
// Neither of these object types nor of the icon.
VXCORE_EXPORT TVXCondition KindIsNot(int icon, const QStringList &objectTypes);
// Any of the conditions.
VXCORE_EXPORT TVXCondition AnyOf(const QList<TVXCondition> &conditions);
// Any of the objects.
VXCORE_EXPORT TVXCondition AnyObjectOf(const QList<QPair<int, int>> &objects);
// An entry of an object of the icon whose identifier (upper case, as o.VXObjectIdentifier)
// the member condition accepts: the paragraphs of a copied member.
VXCORE_EXPORT TVXCondition InObjectOf(int icon, const TVXCondition &memberCondition);
// The upper-case member names as a condition for InObjectOf.
VXCORE_EXPORT TVXCondition MemberIdentifierIn(const QStringList &upperCaseNames);

// The first object or entry (in key order) that the condition selects, as a statement
// whose rows are file, object (and entry).
VXCORE_EXPORT TVXCondition FirstObjectStatement(const TVXCondition &condition);
VXCORE_EXPORT TVXCondition FirstEntryStatement(const TVXCondition &condition);
// Every entry the condition selects, in key order.
VXCORE_EXPORT QList<TVXItemKey> Entries(TVXDataAccessInterface *db, const TVXCondition &condition);

// The entry that holds the first word of these types that the name condition accepts
// within an object; 0 for none.
VXCORE_EXPORT int EntryHoldingWord(TVXDataAccessInterface *db, int file, int object,
                                   const QList<int> &wordTypes, const TVXCondition &wordIs);

// The file's first object (1000) when its identifier begins with the prefix, upper case.
VXCORE_EXPORT QList<QPair<int, int>> ModuleObjects(TVXDataAccessInterface *db, int file,
                                                   const QString &upperCasePrefix);
// The distinct words of these types in a file, trimmed and upper case.
VXCORE_EXPORT QStringList DistinctWords(TVXDataAccessInterface *db, int file,
                                        const QList<int> &wordTypes);
// The identifier and word of each distinct word of the type in a file, trimmed.
VXCORE_EXPORT QList<QPair<QString, QString>> DistinctIdentifiers(TVXDataAccessInterface *db,
                                                                 int file, int wordType);
// Files whose name, upper case, fits the pattern: id, name and folder, by id.
struct FileRow
{
    int File = 0;
    QString Name;
    QString Directory;
};
VXCORE_EXPORT QList<FileRow> FilesNamedLike(TVXDataAccessInterface *db,
                                            const QString &upperCasePattern);
VXCORE_EXPORT std::optional<FileRow> File(TVXDataAccessInterface *db, int file);
// The object ids of a file, by id; without the objects of this icon where it is given.
VXCORE_EXPORT QList<int> ObjectIDs(TVXDataAccessInterface *db, int file,
                                   std::optional<int> exceptIcon = std::nullopt);
VXCORE_EXPORT QHash<int, QString> ObjectTypes(TVXDataAccessInterface *db, int file);
// The name of the object that the objects of this identifier inherit from, empty when
// they inherit nothing.
VXCORE_EXPORT QString ObjectInherits(TVXDataAccessInterface *db, const QString &identifier,
                                     bool caseSensitive);
// The words of these types in a file, in key order.
VXCORE_EXPORT QList<TVXReferringWordRow> Words(TVXDataAccessInterface *db, int file,
                                               const QList<int> &wordTypes);
// The text and identifier of one word, trimmed; empty when it is gone.
VXCORE_EXPORT QPair<QString, QString> WordAt(TVXDataAccessInterface *db, int file, int object,
                                             int entry, int row, int word);

// The packages a file declares, one row per member name.
VXCORE_EXPORT QList<TVXPackageRow> DeclaredPackages(TVXDataAccessInterface *db, int file);
// The packages of other files that name the member (upper case), with their files' folders.
VXCORE_EXPORT QList<TVXPackageRow> PackagesNaming(TVXDataAccessInterface *db, int exceptFile,
                                                  const QString &upperCaseMember);
// The rows of one package member, by content counter.
VXCORE_EXPORT QList<TVXPackageMemberRow> MemberRows(TVXDataAccessInterface *db, int file,
                                                    int package, const QString &upperCaseMember);
// Records the object in a member row that has none; false when the row is gone.
VXCORE_EXPORT bool SetMemberObject(TVXDataAccessInterface *db, int file, int package,
                                   int contentCounter, int objectFile, int object);

// The dependency rows that reach a file (and, with inheritance, those through its objects),
// the twelve columns in table order.
VXCORE_EXPORT QList<QVariantList> DependenciesTo(TVXDataAccessInterface *db, int file,
                                                 bool inheritance);
// Deletes the dependency row with these twelve column values.
VXCORE_EXPORT void DeleteDependency(TVXDataAccessInterface *db, const QVariantList &row);
VXCORE_EXPORT void DeleteDependenciesFrom(TVXDataAccessInterface *db, int file);

// Conditions on VXWORD's type.
VXCORE_EXPORT TVXCondition WordTypeIn(const QList<int> &wordTypes);
VXCORE_EXPORT TVXCondition WordTypeNotIn(const QList<int> &wordTypes);
// The words the condition selects, in key order.
VXCORE_EXPORT QList<TVXStoredWordRow> WordsWhere(TVXDataAccessInterface *db,
                                                 const TVXCondition &condition);
// Gives one stored word a type and the identifier it refers to.
VXCORE_EXPORT void SetWordReference(TVXDataAccessInterface *db, const TVXStoredWordRow &word,
                                    int wordType, const QString &identifier);
// The id of the attribute of a type and name.
VXCORE_EXPORT std::optional<int> AttributeID(TVXDataAccessInterface *db, int attributeType,
                                             const QString &name);
// Whether any file has the attribute as its system (type 1), computer (2) or application (3).
VXCORE_EXPORT bool AttributeHasFiles(TVXDataAccessInterface *db, int attributeType, int attribute);

// The files whose check state is N, with their languages, by id.
VXCORE_EXPORT QList<QPair<int, int>> FilesToCheck(TVXDataAccessInterface *db);
VXCORE_EXPORT void SetCheckState(TVXDataAccessInterface *db, int file, const QString &state);

} // namespace VXDependencyQueries
