// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Whereclause.h"

void TVXWhereClause::Add(bool andPrevious, int table, int field, int typeKey)
{
    TWhereClausePart part;
    part.And_Previous = andPrevious;
    part.Table = table;
    part.Field = field;
    part.TypeKey = typeKey;
    m_parts.append(part);
}

void TVXWhereClause::SetOperator(TOperator op)
{
    if (!m_parts.isEmpty())
        m_parts.last().Operator = op;
}

void TVXWhereClause::SetValueString(const QString &value)
{
    if (!m_parts.isEmpty())
        m_parts.last().ValueString = value;
}

void TVXWhereClause::SetValueInteger(int value)
{
    if (!m_parts.isEmpty())
        m_parts.last().ValueInteger = value;
}

QString TVXWhereClause::GetValueString(int index) const
{
    QString value = m_parts[index].ValueString;
    return value.replace(QLatin1Char('\''), QLatin1String("''"));
}

bool TVXWhereClause::CompareString(int index, const QString &text, bool caseSensitive) const
{
    const QString t = caseSensitive ? text : text.toUpper();
    const QString v
            = caseSensitive ? m_parts[index].ValueString : m_parts[index].ValueString.toUpper();
    return VXCompareText(t, m_parts[index].Operator, v);
}

bool VXCompareText(const QString &text, TOperator op, const QString &value)
{
    switch (op) {
    case VXOperator::None:
        return true;
    case VXOperator::Equals:
        return text == value;
    case VXOperator::Contains:
        return text.contains(value);
    case VXOperator::BeginsWith:
        return text.startsWith(value);
    case VXOperator::EndsWith:
        return text.endsWith(value);
    case VXOperator::NotEquals:
        return text != value;
    default:
        return false;
    }
}
