// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Searchrows.h"

#include "query/Queryengine.h"

#include <algorithm>

namespace VXSearchRows {

bool OperatorOf(const QString &text, TOperator &op)
{
    for (const TVXQueryOperator &choice : VXQueryAttributes::Operators())
        if (choice.Text.compare(text, Qt::CaseInsensitive) == 0) {
            op = choice.Operator;
            return true;
        }
    return false;
}

bool HasFindRow(const QList<TVXSearchRow> &rows)
{
    return std::any_of(rows.cbegin(), rows.cend(),
                       [](const TVXSearchRow &row) { return row.Find; });
}

void BuildWhereClause(TVXQueryEngine &engine, const QList<TVXSearchRow> &rows)
{
    for (const bool find : {true, false})
        for (const TVXSearchRow &row : rows) {
            if (row.Find != find)
                continue;
            const int table = engine.Table(row.Attribute->Table);
            engine.WhereClause().Add(row.AndPrevious, table,
                                     engine.Field(table, row.Attribute->Field),
                                     row.Attribute->TypeKey);
            engine.WhereClause().SetOperator(row.Operator);
            engine.WhereClause().SetValueString(row.Value);
        }
}

} // namespace VXSearchRows
