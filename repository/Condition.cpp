// SPDX-License-Identifier: GPL-3.0-or-later
#include "repository/Condition.h"

#include "repository/Dataaccessinterface.h"

TVXCondition::TVXCondition(QString text, QVariantList values)
    : m_text(std::move(text))
    , m_values(std::move(values))
{}

TVXCondition TVXCondition::Equals(const QString &column, const QVariant &value)
{
    return TVXCondition(column + QStringLiteral(" = ?"), {value});
}

TVXCondition TVXCondition::In(const QString &column, const QVariantList &values)
{
    QString marks = QStringLiteral("?");
    marks += QStringLiteral(",?").repeated(qMax<qsizetype>(values.size(), 1) - 1);
    return TVXCondition(column + QStringLiteral(" IN (") + marks + QLatin1Char(')'), values);
}

TVXCondition TVXCondition::UpperLike(const QString &column, const QString &pattern)
{
    return TVXCondition(QStringLiteral("UPPER(") + column + QStringLiteral(") LIKE ? ESCAPE '\\'"),
                        {pattern});
}

TVXCondition &TVXCondition::And(const TVXCondition &other)
{
    if (other.IsEmpty())
        return *this;
    m_text = m_text.isEmpty() ? other.m_text : m_text + QStringLiteral(" AND ") + other.m_text;
    m_values += other.m_values;
    return *this;
}

TVXCondition &TVXCondition::Then(const QString &text)
{
    m_text += text;
    return *this;
}

TVXCondition operator+(TVXCondition left, const QString &text)
{
    return left.Then(text);
}

TVXCondition operator+(const QString &text, const TVXCondition &right)
{
    return TVXCondition(text + right.Text(), right.Values());
}

TVXCondition operator+(TVXCondition left, const TVXCondition &right)
{
    return TVXCondition(left.Text() + right.Text(), left.Values() + right.Values());
}

QString TVXCondition::Key() const
{
    QString key = m_text;
    for (const QVariant &value : m_values)
        key += QChar(0x1f) + value.toString();
    return key;
}

QString TVXCondition::Inlined() const
{
    QString text;
    text.reserve(m_text.size() + 16 * m_values.size());
    int next = 0;
    bool quoted = false;
    for (const QChar c : m_text) {
        // A question mark inside a literal of the fixed text is no placeholder.
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (c != QLatin1Char('?') || quoted || next >= m_values.size()) {
            text += c;
            continue;
        }
        const QVariant &value = m_values[next++];
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Double:
            text += value.toString();
            break;
        case QMetaType::Bool:
            text += QString::number(value.toBool() ? 1 : 0);
            break;
        default:
            text += TVXDataAccessInterface::QuotedText(value.toString());
            break;
        }
    }
    return text;
}
