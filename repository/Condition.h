// SPDX-License-Identifier: GPL-3.0-or-later
// A condition or statement in SQL with "?" where a value goes, and the values in order. The
// driver binds the values, so no name or path that a user or a source file supplies is ever
// read as SQL: on a data source where a backslash escapes, a name such as \' OR 1=1 -- stays
// a name.
#pragma once

#include "base/Export.h"

#include <QString>
#include <QVariantList>

class VXCORE_EXPORT TVXCondition
{
public:
    TVXCondition() = default;
    // Fixed SQL text without values, or with one "?" per value.
    explicit TVXCondition(QString text, QVariantList values = {});

    // column = value
    static TVXCondition Equals(const QString &column, const QVariant &value);
    // column IN (values); values must not be empty.
    static TVXCondition In(const QString &column, const QVariantList &values);
    // UPPER(column) LIKE value ESCAPE '\': value is a pattern whose % and _ are escaped
    // where they are meant literally.
    static TVXCondition UpperLike(const QString &column, const QString &pattern);

    // Both conditions hold; an empty one adds nothing.
    TVXCondition &And(const TVXCondition &other);
    // Fixed SQL text added as it is (" ORDER BY VXFileID").
    TVXCondition &Then(const QString &text);

    const QString &Text() const { return m_text; }
    const QVariantList &Values() const { return m_values; }
    bool IsEmpty() const { return m_text.isEmpty(); }

    // The text with each value written as an SQL literal in its place, for a driver that
    // cannot bind and for the statement lines a user is shown.
    QString Inlined() const;
    // A text that tells conditions apart, cheaper than Inlined: for caches of lookups.
    QString Key() const;

private:
    QString m_text;
    QVariantList m_values;
};

// Conditions are put together as SQL text is: fixed text before or after, or another
// condition, whose values follow in the order of the text.
VXCORE_EXPORT TVXCondition operator+(TVXCondition left, const QString &text);
VXCORE_EXPORT TVXCondition operator+(const QString &text, const TVXCondition &right);
VXCORE_EXPORT TVXCondition operator+(TVXCondition left, const TVXCondition &right);
