// SPDX-License-Identifier: GPL-3.0-or-later
// Programs that reach others through a middleware routine: each middleware definition
// names the word that marks such a place and how many words on the target program, entry
// or table name stands. The check marks those words as references before dependencies
// are resolved, so that the ordinary resolution links them.
#pragma once

#include "shell/Export.h"

#include <QSet>
#include <QString>

class TVXConfigTable;
class TVXDataAccessInterface;
class TVXLoadProgress;

class VXCORE_EXPORT TVXMiddlewareCheck
{
public:
    explicit TVXMiddlewareCheck(const TVXConfigTable &middleware);

    // Marks the words of every definition whose scope exists in the repository and sets
    // the files touched back to "N". Returns those files.
    QSet<int> Run(const QString &database, TVXDataAccessInterface *db, TVXLoadProgress &progress);

    // The repository condition of a word-type choice ("Any Executable Word", "Word in
    // String", "Word in Comment", "Call"), recognised by how the text begins.
    static QString WordTypeCondition(const QString &choice);
    static bool ScopeExists(const QString &kind, const QString &name, const QString &database,
                            TVXDataAccessInterface *db);

private:
    const TVXConfigTable &m_middleware;
};
