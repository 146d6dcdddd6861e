// SPDX-License-Identifier: GPL-3.0-or-later
// The find rows and in rows of a search, as the Query window and velunor-cli compose them,
// and the where clause they make.
#pragma once

#include "base/Export.h"

#include "query/Queryattributes.h"

#include <QList>

class TVXQueryEngine;

struct TVXSearchRow
{
    bool Find = true;        // a find row; else an in row
    bool AndPrevious = true; // joined to the row before with And; else with Or
    const TVXQueryAttribute *Attribute = nullptr;
    TOperator Operator = VXOperator::None; // None: the row asks only for the kind of word
    QString Value;
};

namespace VXSearchRows {

// The operator of a text ("equals", "begins with", without regard to case); false when no
// operator has it.
VXCORE_EXPORT bool OperatorOf(const QString &text, TOperator &op);

// Whether the rows can run: at least one find row.
VXCORE_EXPORT bool HasFindRow(const QList<TVXSearchRow> &rows);

// Fills the engine's where clause: the find rows first, since the first of them opens the
// SQL's conditions, then the in rows, each in its order.
VXCORE_EXPORT void BuildWhereClause(TVXQueryEngine &engine, const QList<TVXSearchRow> &rows);

} // namespace VXSearchRows
