// SPDX-License-Identifier: GPL-3.0-or-later
// The one way into the repository: table handles, selections, typed appends, commits.
#pragma once

#include "base/Export.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <functional>

class TVXCondition;
class TVXDataset;

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
    // The same with the condition's values bound by the driver.
    virtual bool SelectBoundBegin(int table, const TVXCondition &condition);
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
    // Removes a file's objects, entries, rows, words, packages and data-flow links; its
    // VXFILE row and the dependency rows stay.
    virtual void VXDeleteForFileID(int fileID);
    virtual void VXLOAD_Append(const QString &loadType, const QString &loadFrom,
                               const QString &systemName, const QString &computerType,
                               const QString &computerLocation, const QString &applicationName);
    // A file already known by directory and name is updated instead; a changed time or
    // size marks it for reloading (VXLoadTime 0). The time is in nanoseconds since 1970;
    // a time stored in seconds by an earlier version that names the same second is the
    // same time.
    virtual void VXFILE_Append(int languageID, int systemID, int computerID, int applicationID,
                               const QString &directory, const QString &fileName, qint64 fileTime,
                               qint64 fileSize);
    virtual void VXOBJECT_Append(int fileID, int objectID, int languageID, bool inPackage,
                                 const QString &objectName, const QString &objectIdentifier,
                                 const QString &objectInherits, const QString &objectType, int icon,
                                 const QString &subObjectParentName,
                                 const QString &inheritsParentName, const QString &scopeOrNamespace,
                                 int applicationID, int computerID, int systemID);
    virtual void VXENTRY_Append(int fileID, int objectID, int entryID, int languageID,
                                const QString &entryName, const QString &objectIdentifier,
                                const QString &entryResultType, int scope,
                                const QString &parameterTypes);
    virtual void VXROW_Append(int fileID, int objectID, int entryID, int rowID, int languageID,
                              const QString &row, bool call);
    virtual void VXROW_SetCall(int fileID, int objectID, int entryID, int rowID);
    virtual void VXWORD_Append(int fileID, int objectID, int entryID, int rowID, int wordID,
                               int languageID, int sectionType, int sectionLevel,
                               const QString &word, int wordType, const QString &objectIdentifier);
    // The twelve columns of VXDEPENDENCIES in table order.
    virtual void VXDEPENDENCIES_Append(int fileID, int objectID, int entryID, int rowID, int wordID,
                                       int inheritsFileID, int inheritsObjectID, int fromFileID,
                                       int fromObjectID, int fromEntryID, int fromRowID,
                                       int fromWordID);
    // A negative package id asks for a new package number when the name changed.
    virtual void VXPACKAGE_Append(int fileID, int packageID, const QString &packageName,
                                  const QString &objectName, int objectFileID, int objectID);
    virtual void VXATTRIBUTE_Append(int attributeType, const QString &attributeName);
    // Failures are ignored: a link already stored is not an error.
    virtual void VXDATAFLOW_Append(int fileID, int rowID, int wordID, int fromFileID, int fromRowID,
                                   int fromWordID);
    // A new, open dataset over the lines joined; the caller owns it (or its owner does).
    // May be called from another thread than the one that connected: each thread reads
    // through a connection of its own.
    virtual TVXDataset *GetQuery(QObject *owner, const QStringList &sql, bool bidirectional);
    // The same for one statement whose values the driver binds.
    virtual TVXDataset *GetBoundQuery(QObject *owner, const TVXCondition &statement,
                                      bool bidirectional);
    // Every row of a statement whose values the driver binds, read at once: the small
    // lookups that loading and dependency resolution make thousands of times. A driver may
    // keep the statement prepared for the next call of the same text.
    virtual QList<QVariantList> SelectRows(const TVXCondition &statement);
    // A thread other than the connecting one is done with its reading connection.
    virtual void ReleaseThreadConnection();
    // Around a load of most of the repository: the indexes that only searches use are
    // built once at the end instead of row by row. Restoring is also done at the next
    // connection when a run never came to it.
    virtual void SuspendSearchIndexes();
    virtual void RestoreSearchIndexes();
    // Between the bulk phases of a load: the engine's write-ahead log is written back, so
    // that it does not grow with the whole load.
    virtual void CheckpointLog();
    // A table (VXWord, one row per distinct word ever stored) that holds every word of
    // VXWORD, maybe more: a pattern can be matched against it first and the words found
    // looked up through the word index. Empty where the repository keeps none.
    virtual QString DistinctWordTable() const;
    // The engine joins a table to a list of rows given in the statement, WITH K(A, B) AS
    // (VALUES (?, ?), ...): a page of key lookups is one join instead of a chain of ORs.
    virtual bool JoinsValueLists() const { return false; }

    // A text value as an SQL literal: between single quotes, inner quotes doubled. Where
    // SQL text cannot be avoided (a driver that cannot bind, a statement the user is shown);
    // conditions on names and paths bind their values (TVXCondition).
    static QString QuotedText(const QString &text);

    int ConnectionCount() const { return m_connectionCount; }
    // What the last connection found worth telling the user (a database file that was empty
    // and was made new); empty when there is nothing.
    const QString &ConnectNote() const { return m_connectNote; }
    int LastFileID() const { return m_lastFileID; }
    int LastPackageID() const { return m_lastPackageID; }
    int LastContentCounter() const { return m_lastContentCounter; }
    int LastAttributeID() const { return m_lastAttributeID; }

protected:
    int m_connectionCount = 0;
    QString m_connectNote;
    int m_lastFileID = 0;
    int m_lastPackageID = 0;
    QString m_lastPackageName;
    int m_lastContentCounter = 0;
    int m_lastAttributeID = 0;
};
