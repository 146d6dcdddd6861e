// SPDX-License-Identifier: GPL-3.0-or-later
// A free query's result rows.
#include "repository/Dataset.h"

#include "repository/Condition.h"
#include "repository/Dataaccessinterface.h"

#include <QSqlRecord>

TVXDataset::TVXDataset(QObject *owner, QSqlQuery query, bool bidirectional)
    : QObject(owner)
    , m_query(std::move(query))
    , m_bidirectional(bidirectional)
{
    First();
}

TVXDataset::~TVXDataset() = default;

bool TVXDataset::First()
{
    bool found = false;
    if (m_bidirectional)
        found = m_query.first();
    else if (m_query.at() == QSql::BeforeFirstRow)
        found = m_query.next();
    else
        found = m_recNo == 1 && !m_eof;
    m_eof = !found;
    m_bof = true;
    m_recNo = found ? 1 : 0;
    return found;
}

bool TVXDataset::Next()
{
    if (m_eof)
        return false;
    if (m_query.next()) {
        ++m_recNo;
        m_bof = false;
        return true;
    }
    m_eof = true;
    return false;
}

bool TVXDataset::Prior()
{
    if (!m_bidirectional || (!m_eof && m_recNo <= 1)) {
        m_bof = true;
        return false;
    }
    if (m_eof)
        return Last();
    if (!m_query.previous()) {
        m_bof = true;
        return false;
    }
    --m_recNo;
    return true;
}

bool TVXDataset::Last()
{
    if (m_eof && m_recNo == 0)
        return false;
    if (m_bidirectional) {
        if (!m_query.last())
            return false;
        int at = m_query.at();
        if (at < 0) {
            // Some ODBC drivers scroll but cannot tell the row number: count the rows.
            int rows = 0;
            if (m_query.first())
                for (rows = 1; m_query.next(); ++rows) {
                }
            m_query.last();
            at = rows - 1;
        }
        m_recNo = at + 1;
        m_eof = false;
        m_bof = m_recNo == 1;
        return true;
    }
    // A forward-only result is counted by reading through it.
    while (m_query.next())
        ++m_recNo;
    m_eof = true;
    return m_recNo > 0;
}

int TVXDataset::FieldCount() const
{
    return m_query.record().count();
}

QString TVXDataset::FieldName(int field) const
{
    return m_query.record().fieldName(field).toUpper();
}

int TVXDataset::FieldIndex(const QString &name) const
{
    const QSqlRecord record = m_query.record();
    for (int i = 0; i < record.count(); ++i)
        if (record.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant TVXDataset::Value(int field) const
{
    if (m_eof && !m_query.isValid())
        return {};
    return m_query.value(field);
}

QVariant TVXDataset::Value(const QString &name) const
{
    const int field = FieldIndex(name);
    return field < 0 ? QVariant() : Value(field);
}

QList<QVariantList> VXSelectRows(TVXDataAccessInterface *db, const QString &sql)
{
    return VXSelectRows(db, TVXCondition(sql));
}

QList<QVariantList> VXSelectRows(TVXDataAccessInterface *db, const TVXCondition &statement)
{
    return db->SelectRows(statement);
}
