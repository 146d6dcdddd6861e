// SPDX-License-Identifier: GPL-3.0-or-later
// A user's search condition in a form no database has to know: an ordered list of parts,
// each naming a repository table and field by the handles of the data access interface,
// a refinement key, a comparison and a value. The Query window fills it; the query engine
// turns it into SQL and into the match clauses it tests in memory; the View filter reads
// it the same way.
#pragma once

#include "base/Export.h"

#include "parsing/Globals.h"

#include <QList>
#include <QString>

// The comparison of a where-clause part between two texts already cased alike; false for
// an operator it does not know, true for none.
VXCORE_EXPORT bool VXCompareText(const QString &text, TOperator op, const QString &value);

class VXCORE_EXPORT TVXWhereClause
{
public:
    void Add(bool andPrevious, int table, int field, int typeKey);
    // The setters address the part added last.
    void SetOperator(TOperator op);
    void SetValueString(const QString &value);
    void SetValueInteger(int value);

    bool GetAnd_Previous(int index) const { return m_parts[index].And_Previous; }
    int GetTable(int index) const { return m_parts[index].Table; }
    int GetField(int index) const { return m_parts[index].Field; }
    int GetTypeKey(int index) const { return m_parts[index].TypeKey; }
    TOperator GetOperator(int index) const { return m_parts[index].Operator; }
    // Ready to stand between single quotes in SQL: every quote doubled.
    QString GetValueString(int index) const;
    int GetValueInteger(int index) const { return m_parts[index].ValueInteger; }
    // The value as typed, for the in-memory tests.
    const QString &RawValueString(int index) const { return m_parts[index].ValueString; }

    int Count() const { return int(m_parts.size()); }
    void Clear() { m_parts.clear(); }

    // The part's comparison applied to a text held in memory.
    bool CompareString(int index, const QString &text, bool caseSensitive) const;

private:
    QList<TWhereClausePart> m_parts;
};
