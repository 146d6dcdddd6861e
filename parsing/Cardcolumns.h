// SPDX-License-Identifier: GPL-3.0-or-later
// The columns of an 80-column card, which fixed-format mainframe sources keep: statements end
// in column 71 or 72, column 72 marks a continued macro, and columns 73 to 80 hold sequence
// numbers that belong to no statement.
#pragma once

#include "parsing/Globals.h"

#include <QString>

namespace VXCardColumns {

constexpr int ContinuationColumn = 72;
constexpr int SequenceColumn = 73;

// From the sequence column on, the rest of the row is one break of areaType (white space
// or comment); false before it.
inline bool SequenceArea(const QString &row, int position, int &length, TWordType &wordType,
                         TWordType areaType)
{
    if (position < SequenceColumn)
        return false;
    length = int(row.size()) - (SequenceColumn - 1);
    wordType = areaType;
    return true;
}

// The continuation column of an assembler macro (BMS): any mark there continues the macro
// on the next row. False at every other position.
inline bool ContinuationMark(const QString &row, int position, bool inComment, int &length,
                             TWordType &wordType)
{
    if (position != ContinuationColumn)
        return false;
    length = 1;
    wordType = row[ContinuationColumn - 1] == QLatin1Char(' ') || inComment
                       ? VXWordType::WhiteSpace
                       : VXWordType::LineContinuation;
    return true;
}

} // namespace VXCardColumns
