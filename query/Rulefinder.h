// SPDX-License-Identifier: GPL-3.0-or-later
// Under which conditions a line runs: the if, when, else and loop words of its entry whose
// blocks enclose it, outermost first, each with the rows its condition is written on. The
// Rules for Row window shows them; the Query window inserts the rules between two hits as
// rows of its result.
#pragma once

#include "base/Export.h"

#include "repository/Rulequeries.h"

#include <QList>
#include <QStringList>

class TVXDataAccessInterface;

struct TVXRule
{
    TVXRuleWord Word;
    // The rule's row and the rows that continue its condition, trimmed.
    QStringList Lines;
};

// A rule row of a result: the statement and the level it stands at.
struct TVXRuleRow
{
    int Row = 0;
    int Level = 0;
    QString Text;
};

namespace VXRuleFinder {

// The word types that open or continue a rule: if, elseif, else, evaluate, when, loop
// keyword and loop start.
VXCORE_EXPORT const QList<int> &RuleWordTypes();

// Words that open a block of their own (if, evaluate, loop keyword): an earlier one at the
// level of a kept one is a sibling before it, not around it.
VXCORE_EXPORT bool IsOpener(int wordType);

// The rules whose blocks enclose the row, outermost first; none when the row has no first
// word.
VXCORE_EXPORT QList<TVXRule> RulesFor(TVXDataAccessInterface *db, const TVXWordPlace &row);

// Whether a row with these words continues a condition whose rows so far ended with the
// word `previousLast`: it starts with "and", "or", "not" or a comparison, or the row before
// broke off after one of them, a continuation mark or an open bracket.
VXCORE_EXPORT bool ContinuesCondition(const TVXRuleWord &previousLast, const TVXRuleWord &first,
                                      int openBrackets);

// The rule statements after the hit before it (row `previousHit`) and up to the hit, at or
// above the hit's level, with the exits before the hit, in row order.
VXCORE_EXPORT QList<TVXRuleRow> RulesBetween(TVXDataAccessInterface *db, const TVXWordPlace &hit,
                                             int previousHit, int hitLevel);

} // namespace VXRuleFinder
