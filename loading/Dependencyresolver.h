// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the names that words refer to into VXDEPENDENCIES rows: for each called name,
// referenced object, included member and table name of a file still to be checked, the
// file and object (and, for calls, the entry) it refers to. See Dependencyresolution.md
// in this folder for the order in which targets are chosen.
#pragma once

#include "base/Export.h"

#include "loading/Loadtrace.h"
#include "repository/Condition.h"
#include "repository/Dependencyqueries.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <functional>

class QObject;
class TVXConfigTable;
class TVXDataAccessInterface;
class TVXLanguageDefinitionsInterface;
class TVXLoadProgress;

class VXCORE_EXPORT TVXDependencyResolver
{
public:
    using TVXGetFunction = std::function<QObject *(const QString &name, const QString &database)>;

    TVXDependencyResolver(TVXConfigTable &languages, const TVXConfigTable &middleware,
                          TVXGetFunction getFunction, QFile *loadDebug = nullptr);

    void UpdateDependencies(const QString &database, TVXDataAccessInterface *db,
                            TVXLoadProgress &progress, int pass);

    int DependenciesWritten() const { return m_written; }

private:
    struct Target
    {
        int FileID = 0;
        int ObjectID = 0;
        int EntryID = 0;
        // Reached through a value the parser read, not through the name as written: the
        // row is marked as a possible call.
        bool Possible = false;
        // Reached through the inheritance of this object: the entry is its ancestor's.
        int InheritsFileID = 0;
        int InheritsObjectID = 0;
        bool Found() const { return FileID > 0; }
    };
    struct Word
    {
        int FileID, ObjectID, EntryID, RowID, WordID, Type;
        QString Text, Identifier;
    };

    // Incoming dependencies of a file parsed again: kept when the target is still there
    // under the same numbers, moved when it is found by name under new ones; callers whose
    // target is gone are checked again in a further pass.
    void RelinkIncoming(TVXDataAccessInterface *db, int fileID, bool inheritance,
                        QSet<int> &recheck);
    // What the file's language asks of its resolution.
    struct FileRules
    {
        int LanguageID = 0;
        bool CaseSensitive = false;
        bool CallsToEntries = false;
        bool CallsNameObjectsOnly = false;
        bool InStreamProcedures = false;
        bool QualifiedCalls = false;
        // Objects inherit from others: a method may be an ancestor's.
        bool Inheritance = false;
        // The members the file includes, as a condition on VXOBJECT's identifier; empty when
        // it includes none.
        TVXCondition Included;
        // The objects the file's imports make visible, as a condition on VXOBJECT; empty
        // without imports.
        TVXCondition Imported;
    };
    FileRules RulesOf(TVXDataAccessInterface *db, int fileID, int languageID,
                      const QString &fileName);
    void ResolveFile(TVXDataAccessInterface *db, int fileID, int languageID);
    // One referring word: its dependency row, or the fan-out of an unresolved call.
    void LinkWord(TVXDataAccessInterface *db, const Word &word, const FileRules &rules,
                  const QString &referringType, const std::function<void()> &counted);
    TVXCondition ImportedObjects(TVXDataAccessInterface *db, int fileID, const QString &fileName);
    // Records the objects of the files a package of this file names, and completes the
    // packages elsewhere that name this file.
    void CompletePackages(TVXDataAccessInterface *db, int fileID);
    QList<QPair<int, int>> MemberObjects(TVXDataAccessInterface *db, const QString &member,
                                         const QString &packageFolder);
    void CompleteMember(TVXDataAccessInterface *db, const TVXPackageRow &package,
                        const QList<QPair<int, int>> &objects, const QString &appendTrace,
                        const QString &updateTrace);
    bool StillReached(TVXDataAccessInterface *db, int fileID, const QVariantList &row,
                      const QString &text, const QString &identifier, Target &found);
    // An unresolved call where a call may reach any entry: one row to each entry of the
    // name, told apart by -1 in the inheritance columns.
    void FanOut(TVXDataAccessInterface *db, const Word &word, bool caseSensitive,
                const std::function<void()> &counted);
    Target Resolve(TVXDataAccessInterface *db, const Word &word, const FileRules &rules,
                   const QString &referringType);
    // What one referring word is looked up by.
    struct Lookup
    {
        const Word &Referring;
        const FileRules &Rules;
        const QString &ReferringType;
        QString Name; // the name to find, without its qualifier
        QString Qualifier;
        TVXCondition OwnFile; // the referring file
        TVXCondition IdentifierIs;
    };
    // The steps of Resolve, one per kind of referring word.
    Target ResolveTable(TVXDataAccessInterface *db, const Lookup &lookup);
    Target ResolveReference(TVXDataAccessInterface *db, const Lookup &lookup);
    Target ResolveCall(TVXDataAccessInterface *db, const Lookup &lookup);
    Target CalledThroughIdentifier(TVXDataAccessInterface *db, const Lookup &lookup,
                                   const TVXCondition &notCaller);
    // A paragraph or section that the call reaches in its own object or in a member it
    // includes.
    Target LocalEntry(TVXDataAccessInterface *db, const Lookup &lookup);
    Target FirstObject(TVXDataAccessInterface *db, const TVXCondition &condition);
    Target Remembered(TVXDataAccessInterface *db, const TVXCondition &statement, bool entry);
    Target FirstEntry(TVXDataAccessInterface *db, const TVXCondition &condition);
    TVXLanguageDefinitionsInterface *Definition(int languageID);

    TVXConfigTable &m_languages;
    const TVXConfigTable &m_middleware;
    TVXGetFunction m_getFunction;
    QHash<int, TVXLanguageDefinitionsInterface *> m_definitions;
    int m_written = 0;
    // Lookup statement -> its first row, for the resolver's lifetime (one load).
    QHash<QString, Target> m_lookups;
    QHash<QString, int> m_statementIDs;
    bool m_hasPackages = false;
    TVXLoadTrace m_trace;
};
