// SPDX-License-Identifier: GPL-3.0-or-later
// The reading queries a search makes besides its one SELECT over the words: the
// attributes a row names, the words of a hit's statement, and the names and line that a
// result row shows. The SQL stays here; the query engine gets values.
#pragma once

#include "base/Export.h"

#include "repository/Condition.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class TVXDataAccessInterface;
class TVXDataset;

// The key columns of a stored word: where it stands.
struct TVXWordPlace
{
    int File = 0;
    int Object = 0;
    int Entry = 0;
    int Row = 0;

    friend bool operator==(const TVXWordPlace &, const TVXWordPlace &) = default;
};

inline size_t qHash(const TVXWordPlace &place, size_t seed = 0)
{
    return qHashMulti(seed, place.File, place.Object, place.Entry, place.Row);
}

struct TVXFileAttributes
{
    int LanguageID = 0;
    int SystemID = 0;
    int ComputerID = 0;
    int ApplicationID = 0;
};

// A dependency row as the execution order follows it.
struct TVXCallRow
{
    int FromEntry = 0;
    int FromRow = 0;
    int FromWord = 0;
    int ToFile = 0;
    int ToObject = 0;
    int ToEntry = 0;
};

namespace VXSearchQueries {

// The attributes of a type that the condition (on VXATTRIBUTE's columns) selects.
VXCORE_EXPORT QList<int> AttributeIDs(TVXDataAccessInterface *db, const TVXCondition &condition,
                                      int attributeType);
// The files that the filter (on VXFILE's columns; empty for all) lets through.
VXCORE_EXPORT int FileCount(TVXDataAccessInterface *db, const TVXCondition &filter);

// The words of the rows first..last of an entry, in order: row, word, type, text, section
// level and type.
VXCORE_EXPORT std::unique_ptr<TVXDataset>
StatementWords(TVXDataAccessInterface *db, const TVXWordPlace &entry, int firstRow, int lastRow);
// The section level of a row's first word.
VXCORE_EXPORT std::optional<int> FirstSectionLevel(TVXDataAccessInterface *db,
                                                   const TVXWordPlace &row);

VXCORE_EXPORT std::optional<TVXFileAttributes> FileAttributes(TVXDataAccessInterface *db, int file);
VXCORE_EXPORT std::optional<QString> AttributeName(TVXDataAccessInterface *db, int attribute);
// Trimmed; empty when there is none.
VXCORE_EXPORT QString ObjectName(TVXDataAccessInterface *db, int file, int object);
VXCORE_EXPORT QString PackageName(TVXDataAccessInterface *db, int file, int package);
VXCORE_EXPORT QString EntryName(TVXDataAccessInterface *db, int file, int object, int entry);

// The same for a page of result rows at once, keyed by the places asked for (objects by
// file and object, entries by file, object and entry, rows by all four); a place that is
// not stored has no key. The row texts are those of the exact row, as stored.
VXCORE_EXPORT QHash<int, TVXFileAttributes> FileAttributesOf(TVXDataAccessInterface *db,
                                                             const QList<int> &files);
VXCORE_EXPORT QHash<TVXWordPlace, QString> ObjectNames(TVXDataAccessInterface *db,
                                                       const QList<TVXWordPlace> &objects);
VXCORE_EXPORT QHash<TVXWordPlace, QString> EntryNames(TVXDataAccessInterface *db,
                                                      const QList<TVXWordPlace> &entries);
VXCORE_EXPORT QHash<TVXWordPlace, QString> RowTexts(TVXDataAccessInterface *db,
                                                    const QList<TVXWordPlace> &rows);

// The text of the line a statement stands on. It is looked up within the statement's
// entry first, where the key finds it at once; a line that holds several statements is
// stored under the id of its last one, so the earlier statements take the next line stored.
VXCORE_EXPORT std::optional<QString> RowText(TVXDataAccessInterface *db,
                                             const TVXWordPlace &statement);

// The calls out of an object (or of one of its entries with entry >= 0) that resolved,
// last statement first.
VXCORE_EXPORT QList<TVXCallRow> CallsFrom(TVXDataAccessInterface *db, int file, int object,
                                          int entry);

} // namespace VXSearchQueries
