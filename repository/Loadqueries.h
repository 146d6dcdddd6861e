// SPDX-License-Identifier: GPL-3.0-or-later
// The reads and deletes of a load run besides its cursors: which files refer to names that
// a load declared again, how many files each folder holds, and the removal of a file with
// its dependency rows. The SQL stays here; the load pipeline gets values. Word types come
// from the caller.
#pragma once

#include "base/Export.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TVXDataAccessInterface;

namespace VXLoadQueries {

// What a scan compares a file on disk with.
struct TVXStoredFile
{
    int FileID = 0;
    int SystemID = 0;
    int ComputerID = 0;
    int ApplicationID = 0;
    qint64 FileTime = 0;
    qint64 FileSize = 0;
    qint64 LoadTime = 0;
};

// Every stored file, by its folder and name as stored (see StoredFileKey).
VXCORE_EXPORT QHash<QString, TVXStoredFile> StoredFiles(TVXDataAccessInterface *db);
VXCORE_EXPORT QString StoredFileKey(const QString &directory, const QString &fileName);

// Files whose dependencies have been checked (state Y).
VXCORE_EXPORT int CheckedFileCount(TVXDataAccessInterface *db);
// The object identifiers, object names and entry names of the files, untrimmed.
VXCORE_EXPORT QStringList DeclaredNames(TVXDataAccessInterface *db, const QList<int> &files);
// The files holding a word of these types that names one of the names (upper case), as
// written or through the identifier the parser gave it.
VXCORE_EXPORT QList<int> FilesNaming(TVXDataAccessInterface *db, const QList<int> &wordTypes,
                                     const QStringList &upperCaseNames, bool byIdentifier);
// The number of files of each folder, as the folders are stored.
VXCORE_EXPORT QList<QPair<QString, int>> FilesByDirectory(TVXDataAccessInterface *db);
// The files with a dependency row to the file, itself included.
VXCORE_EXPORT QList<int> FilesReferringTo(TVXDataAccessInterface *db, int file);
// Deletes the file's VXFILE row and every dependency row to or from it; its contents go
// with VXDeleteForFileID first.
VXCORE_EXPORT void DeleteFileAndLinks(TVXDataAccessInterface *db, int file);

} // namespace VXLoadQueries
