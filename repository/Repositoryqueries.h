// SPDX-License-Identifier: GPL-3.0-or-later
// Named reading queries over a connected repository, for reports that the command line and
// the windows share: what it holds, what it declares, which referring words resolved to
// nothing. The SQL stays here; callers get values.
#pragma once

#include "base/Export.h"

#include "repository/Condition.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

class TVXDataAccessInterface;

struct TVXRepositoryCounts
{
    int Files = 0;
    int FilesToCheck = 0; // VXDependencyChecked N
    int FilesChecked = 0; // Y
    int FilesFailed = 0;  // E
    int Objects = 0;
    QList<QPair<QString, int>> ObjectsByType; // ordered by type
    int Entries = 0;
    int Rows = 0;
    int Words = 0;
    int Dependencies = 0;
    int DataFlowLinks = 0;
    int Packages = 0;
    int Attributes = 0;
};

// A referring word that no dependency row starts from.
struct TVXUnresolvedWord
{
    int WordType = 0;
    QString Word;
    QString ObjectIdentifier;
    QString FileName;
    int LanguageID = 0;
    int Line = 0; // 1-based line of the word in its file
};

namespace VXRepositoryQueries {

// The rows of the table that the condition selects (all rows for an empty one).
VXCORE_EXPORT int RowCount(TVXDataAccessInterface *db, const QString &table,
                           const TVXCondition &condition = {});

VXCORE_EXPORT TVXRepositoryCounts Counts(TVXDataAccessInterface *db);

// Every object identifier and every entry name, upper case and trimmed.
VXCORE_EXPORT QSet<QString> DeclaredObjectIdentifiers(TVXDataAccessInterface *db);
VXCORE_EXPORT QSet<QString> DeclaredEntryNames(TVXDataAccessInterface *db);

// The words of these types that resolved to nothing, by file name, row and word.
VXCORE_EXPORT QList<TVXUnresolvedWord> UnresolvedWords(TVXDataAccessInterface *db,
                                                       const QList<int> &wordTypes);

} // namespace VXRepositoryQueries
