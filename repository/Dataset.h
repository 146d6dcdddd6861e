// SPDX-License-Identifier: GPL-3.0-or-later
// A free query's result rows, as GetQuery hands them to its caller.
#pragma once

#include "base/Export.h"

#include <QObject>
#include <QSqlQuery>
#include <QVariant>

#include <memory>

// Owned by the caller (or the owner it named). Used by one thread at a time: the one that
// asked for it, since it reads through that thread's connection.
class VXCORE_EXPORT TVXDataset : public QObject
{
    Q_OBJECT
public:
    TVXDataset(QObject *owner, QSqlQuery query, bool bidirectional);
    ~TVXDataset() override;

    // Positioned on the first row, if any, once opened.
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    bool Next();
    bool Prior();
    bool First();
    bool Last();
    // 1-based number of the current row; 0 when there is none.
    int RecNo() const { return m_recNo; }

    int FieldCount() const;
    QString FieldName(int field) const;
    int FieldIndex(const QString &name) const; // -1 when unknown; ignores case
    QVariant Value(int field) const;
    QVariant Value(const QString &name) const;

    bool IsBidirectional() const { return m_bidirectional; }

private:
    QSqlQuery m_query;
    bool m_bidirectional;
    bool m_eof = true;
    bool m_bof = true;
    int m_recNo = 0;
};

class TVXCondition;
class TVXDataAccessInterface;

// Every row of a free query, each as its column values: for the small lookups of loading
// and querying, whose results fit in memory.
VXCORE_EXPORT QList<QVariantList> VXSelectRows(TVXDataAccessInterface *db, const QString &sql);
// The same for a statement whose values the driver binds.
VXCORE_EXPORT QList<QVariantList> VXSelectRows(TVXDataAccessInterface *db,
                                               const TVXCondition &statement);
