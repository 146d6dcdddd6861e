// SPDX-License-Identifier: GPL-3.0-or-later
// The reading queries that explain one line: the source rows around it, the condition,
// branch and loop words it may run under, and the statements that call its entry. The SQL
// stays here; the rows-around and rules windows and the Query window's rule rows get values.
#pragma once

#include "base/Export.h"

#include "repository/Searchqueries.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class TVXDataset;

struct TVXSourceRow
{
    int Row = 0;
    QString Text;
};

// A stored word as a rule is judged by: where it stands, what it is, how deep.
struct TVXRuleWord
{
    int Row = 0;
    int Word = 0;
    int Type = 0;
    int Level = 0;
    QString Text;
};

// A statement that calls an entry: where its calling word stands.
struct TVXCallerWord
{
    int File = 0;
    int Object = 0;
    int Entry = 0;
    int Row = 0;
    int Word = 0;
};

namespace VXRuleQueries {

// The rows of a file from this row on, in order; the caller reads as far as it needs.
VXCORE_EXPORT std::unique_ptr<TVXDataset> FileRowsFrom(TVXDataAccessInterface *db, int file,
                                                       int firstRow);
// The rows of a file numbered first..last, in order.
VXCORE_EXPORT QList<TVXSourceRow> FileRows(TVXDataAccessInterface *db, int file, int firstRow,
                                           int lastRow);
// Whether the file holds a row before (after) this one.
VXCORE_EXPORT bool HasRowBefore(TVXDataAccessInterface *db, int file, int row);
VXCORE_EXPORT bool HasRowAfter(TVXDataAccessInterface *db, int file, int row);

// The section level of the row's first word (word 1000); none when the row has no such word.
VXCORE_EXPORT std::optional<int> RowLevel(TVXDataAccessInterface *db, const TVXWordPlace &row);
// The words of these types in the entry before the row, at or above this level, in row
// order.
VXCORE_EXPORT QList<TVXRuleWord> RuleCandidates(TVXDataAccessInterface *db, const TVXWordPlace &row,
                                                int level, const QList<int> &types);
// The words of these types in the entry after row `after` and before row `before`, last
// first.
VXCORE_EXPORT QList<TVXRuleWord> RuleWordsBetween(TVXDataAccessInterface *db,
                                                  const TVXWordPlace &entry, int after, int before,
                                                  const QList<int> &types);
// The words of this type in the entry up to the row, in row order.
VXCORE_EXPORT QList<TVXRuleWord> WordsOfTypeUpTo(TVXDataAccessInterface *db,
                                                 const TVXWordPlace &row, int type);
// Whether a word shallower than the candidate stands after it and up to the bound: then
// the candidate's block has ended before the bound.
VXCORE_EXPORT bool BlockEndsBefore(TVXDataAccessInterface *db, const TVXWordPlace &entry,
                                   const TVXRuleWord &candidate, int bound);
// The words from row first up to (not including) row bound but those of the two left-out
// types (strings and comments), in order.
VXCORE_EXPORT QList<TVXRuleWord> ConditionWords(TVXDataAccessInterface *db,
                                                const TVXWordPlace &entry, int first, int bound,
                                                const std::pair<int, int> &leftOut);
// The text of a row within its entry.
VXCORE_EXPORT std::optional<QString> EntryRowText(TVXDataAccessInterface *db,
                                                  const TVXWordPlace &row);
// The statements whose dependencies lead to the entry, other than the entry's own.
VXCORE_EXPORT QList<TVXCallerWord> CallersOf(TVXDataAccessInterface *db, const TVXWordPlace &entry);

} // namespace VXRuleQueries
