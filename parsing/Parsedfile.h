// SPDX-License-Identifier: GPL-3.0-or-later
// One file parsed away from the repository: what its language definition would have
// appended, in the order it would have appended it, kept until the single writer stores it.
// Worker threads fill these while the writer stores the files before them.
#pragma once

#include "base/Export.h"

#include "parsing/Parseelements.h"

#include <QList>
#include <QStringList>

class TVXDataAccessInterface;

struct VXCORE_EXPORT TVXParsedFile
{
    // A search for an object (or, with a negative object id, an entry) of that name in
    // another file, answered "none" while parsing. The writer asks again before it stores:
    // an answer that differs means the file must be parsed where it is stored.
    struct TVXLookup
    {
        QString Identifier;
        int ObjectID = 0;
    };

    int FileID = 0;
    int LanguageID = 0;
    int ApplicationID = 0;
    int ComputerID = 0;
    int SystemID = 0;

    QList<TVXObjectElement> Objects;
    QList<TVXEntryElement> Entries;
    QList<TVXPackageElement> Packages;
    QList<TVXWordElement> Words;
    QList<TVXRowElement> Rows;
    QList<TVXDataFlowLink> DataFlow;

    QList<TVXLookup> Lookups;
    // Sections that opened (copy members, includes), in order: each must not wait for a
    // file of that name still to be loaded.
    QStringList Includes;
    QStringList SwitchToLanguages;
    int TruncatedRows = 0;

    // Appends everything to the repository, table by table in the recorded order. The
    // caller has removed the file's earlier rows, and commits with the file's mark as
    // loaded: one unit of work, which the next run does again if it was cut short.
    void Store(TVXDataAccessInterface &db) const;
};
