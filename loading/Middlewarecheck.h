// SPDX-License-Identifier: GPL-3.0-or-later
// Programs that reach others through a middleware routine: each middleware definition
// names the word that marks such a place and how many words on the target program, entry
// or table name stands. The check marks those words as references before dependencies
// are resolved, so that the ordinary resolution links them.
#pragma once

#include "base/Export.h"

#include "repository/Condition.h"

#include <QList>
#include <QSet>
#include <QString>

class TVXConfigTable;
class TVXDataAccessInterface;
class TVXLoadProgress;

// One place a definition recognises, with the words at its offsets (empty when not used).
struct TVXMiddlewareHit
{
    int FileID = 0;
    QString FoundStatement; // the words of the hit's statement, at most 100 characters
    QString FoundObjectIdentifier;
    QString FoundEntryName; // the word at the entry offset, or the hardcoded identifier
    QString FoundTableIdentifier;
};

// What the test of one definition found, or why it found nothing.
struct TVXMiddlewareTestResult
{
    QString Message; // set when there are no hits (or the scope stops the test)
    QList<TVXMiddlewareHit> Hits;
};

class VXCORE_EXPORT TVXMiddlewareCheck
{
public:
    explicit TVXMiddlewareCheck(const TVXConfigTable &middleware);

    // Marks the words of every definition whose scope exists in the repository and sets
    // the files touched back to "N". Returns those files.
    QSet<int> Run(const QString &database, TVXDataAccessInterface *db, TVXLoadProgress &progress);

    // The check of one definition (the row of the table) without writing anything.
    TVXMiddlewareTestResult Test(int row, const QString &database,
                                 TVXDataAccessInterface *db) const;

    // The repository condition of a word-type choice ("Any Executable Word", "Word in
    // String", "Word in Comment", "Call"), recognised by how the text begins.
    static TVXCondition WordTypeCondition(const QString &choice);
    static bool ScopeExists(const QString &kind, const QString &name, const QString &database,
                            TVXDataAccessInterface *db);

private:
    // Finds the places of one definition; with write, marks the words at the offsets.
    QList<TVXMiddlewareHit> Find(int row, TVXDataAccessInterface *db, bool write) const;

    const TVXConfigTable &m_middleware;
};
