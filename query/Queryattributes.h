// SPDX-License-Identifier: GPL-3.0-or-later
// What a find row and an in row can ask for: the attribute texts users pick, with the
// table, field and type key each stands for, and the operators. The Query window's rows
// and velunor-cli offer the same lists.
#pragma once

#include "base/Export.h"

#include "parsing/Globals.h"

#include <QList>
#include <QString>

struct TVXQueryAttribute
{
    QString Text;
    QString Table;
    QString Field;
    int TypeKey = 0;
};

struct TVXQueryOperator
{
    QString Text;
    TOperator Operator = VXOperator::None;
};

namespace VXQueryAttributes {
VXCORE_EXPORT const QList<TVXQueryAttribute> &FindAttributes();
VXCORE_EXPORT const QList<TVXQueryAttribute> &InAttributes();
VXCORE_EXPORT const QList<TVXQueryOperator> &Operators();
// By text, without regard to case; null when unknown.
VXCORE_EXPORT const TVXQueryAttribute *Find(const QList<TVXQueryAttribute> &list,
                                            const QString &text);
} // namespace VXQueryAttributes
