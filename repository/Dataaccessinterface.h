// SPDX-License-Identifier: GPL-3.0-or-later
// The one way into the repository: table handles, selections, typed appends, commits.
#pragma once

#include "shell/Export.h"

#include <QObject>
#include <QVariant>

#include <functional>

// Drivers derive from this class and are registered as "TVX" + type + "DB". Every base
// body does nothing and returns 0, false or an empty value. One driver object serves one
// source database; callers must not run two operations on it at the same time.
class VXCORE_EXPORT TVXDataAccessInterface : public QObject
{
    Q_OBJECT
public:
    using TVXClassBase = TVXDataAccessInterface;
    using TVXFactory = std::function<TVXDataAccessInterface *(QObject *owner)>;

    explicit TVXDataAccessInterface(QObject *owner = nullptr);

    virtual int Connect(const QString &connection);
    virtual int DisConnect(bool flag1 = false, bool flag2 = false);
    virtual int GetTable(const QString &tableName);
    virtual int GetField(int table, const QString &fieldName);
    virtual QString GetFieldName(int table, int field);
    virtual bool SelectBegin(int table, const QString &condition);
    virtual bool SelectNext(int table);
    virtual bool SelectPrevious(int table);
    virtual bool Delete(int table, const QString &condition, bool currentRecordOnly);
    virtual QVariant GetFieldValue(int table, int field);
    virtual void SetFieldValue(int table, int field, const QVariant &value);
    virtual int GetCount(int table);
    virtual bool GoToKey(int table, const QString &keyFields, const QVariantList &values,
                         bool caseSensitive);
    virtual bool GoToKeyNext(int table, const QString &keyFields, const QVariantList &values,
                             bool caseSensitive);
    virtual void Commit(bool fileTransaction, bool retaining);

    int ConnectionCount() const { return m_connectionCount; }

protected:
    int m_connectionCount = 0;
    int m_lastFileID = 0;
    int m_lastPackageID = 0;
    QString m_lastPackageName;
    int m_lastContentCounter = 0;
    int m_lastAttributeID = 0;
};
