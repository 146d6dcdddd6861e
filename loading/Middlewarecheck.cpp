// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Middlewarecheck.h"

#include "base/Configtable.h"
#include "base/Exception.h"

#include "loading/Loadprogress.h"
#include "parsing/Globals.h"
#include "repository/Condition.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <memory>

using namespace VXWordType;

namespace {

// The words of comments, as the stored word types give them.
QString CommentCodes()
{
    return QStringLiteral("%1,%2,%3,%4")
            .arg(BlockCommentStart)
            .arg(BlockCommentEnd)
            .arg(LineCommentStart)
            .arg(CommentWord);
}

struct StoredWord
{
    int FileID, ObjectID, EntryID, RowID, WordID;
    QString Text;
};

QList<StoredWord> Words(TVXDataAccessInterface *db, const TVXCondition &condition)
{
    QList<StoredWord> words;
    std::unique_ptr<TVXDataset> dataset(db->GetBoundQuery(
            nullptr,
            QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, VXWord "
                           "FROM VXWORD WHERE ")
                    + condition
                    + QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID, "
                                     "VXWordID"),
            false));
    for (; dataset && !dataset->Eof(); dataset->Next())
        words.append({dataset->Value(0).toInt(), dataset->Value(1).toInt(),
                      dataset->Value(2).toInt(), dataset->Value(3).toInt(),
                      dataset->Value(4).toInt(), dataset->Value(5).toString().trimmed()});
    return words;
}

int Count(TVXDataAccessInterface *db, const QString &sql)
{
    std::unique_ptr<TVXDataset> dataset(db->GetQuery(nullptr, {sql}, false));
    return dataset && !dataset->Eof() ? dataset->Value(0).toInt() : 0;
}

} // namespace

TVXMiddlewareCheck::TVXMiddlewareCheck(const TVXConfigTable &middleware)
    : m_middleware(middleware)
{}

QString TVXMiddlewareCheck::WordTypeCondition(const QString &choice)
{
    if (choice.startsWith(QLatin1String("Word in String")))
        return QStringLiteral("VXWordType IN (%1,%2)").arg(MainDelimiter).arg(SecondaryDelimiter);
    if (choice.startsWith(QLatin1String("Word in Comment")))
        return QStringLiteral("VXWordType IN (") + CommentCodes() + QLatin1Char(')');
    if (choice.startsWith(QLatin1String("Call")))
        return QStringLiteral("VXWordType IN (%1)").arg(CalledName);
    return QStringLiteral("VXWordType NOT IN (") + CommentCodes() + QLatin1Char(')');
}

bool TVXMiddlewareCheck::ScopeExists(const QString &kind, const QString &name,
                                     const QString &database, TVXDataAccessInterface *db)
{
    if (kind.startsWith(QLatin1String("SourceDB")))
        return name == database && Count(db, QStringLiteral("SELECT COUNT(*) FROM VXFILE")) > 0;
    int type = 0;
    QString column;
    if (kind.startsWith(QLatin1String("System"))) {
        type = VXAttributeType::System;
        column = QStringLiteral("VXSystemID");
    } else if (kind.startsWith(QLatin1String("Computer"))) {
        type = VXAttributeType::Computer;
        column = QStringLiteral("VXComputerID");
    } else if (kind.startsWith(QLatin1String("Application"))) {
        type = VXAttributeType::Application;
        column = QStringLiteral("VXApplicationID");
    } else {
        return false;
    }
    std::unique_ptr<TVXDataset> attribute(db->GetBoundQuery(
            nullptr,
            TVXCondition(QStringLiteral("SELECT VXAttributeID FROM VXATTRIBUTE WHERE "
                                        "VXAttributeType = %1 AND VXAttributeName = ?")
                                 .arg(type),
                         {name}),
            false));
    if (!attribute || attribute->Eof())
        return false;
    return Count(db, QStringLiteral("SELECT COUNT(*) FROM VXFILE WHERE ") + column
                             + QStringLiteral(" = ") + attribute->Value(0).toString())
           > 0;
}

QList<TVXMiddlewareHit> TVXMiddlewareCheck::Find(int row, TVXDataAccessInterface *db,
                                                 bool write) const
{
    QList<TVXMiddlewareHit> found;
    const QString word = m_middleware.Text(row, QStringLiteral("VXWord"));
    if (word.isEmpty())
        return found;
    const int wordTable = db->GetTable(QStringLiteral("VXWORD"));
    const int typeField = db->GetField(wordTable, QStringLiteral("VXWordType"));
    const int identifierField = db->GetField(wordTable, QStringLiteral("VXObjectIdentifier"));
    auto mark = [&](const StoredWord &target, int type, const QString &identifier) {
        if (!write)
            return;
        const QString key
                = QStringLiteral("VXFileID = %1 AND VXObjectID = %2 AND VXEntryID = %3 AND "
                                 "VXRowID = %4 AND VXWordID = %5")
                          .arg(target.FileID)
                          .arg(target.ObjectID)
                          .arg(target.EntryID)
                          .arg(target.RowID)
                          .arg(target.WordID);
        if (!db->SelectBegin(wordTable, key))
            return;
        db->SetFieldValue(wordTable, typeField, type);
        db->SetFieldValue(wordTable, identifierField, identifier);
    };

    const int objectOffset
            = m_middleware.Value(row, QStringLiteral("VXOffsetToObjectIdentifier")).toInt();
    const int entryOffset = m_middleware.Value(row, QStringLiteral("VXOffsetToEntryName")).toInt();
    const int tableOffset
            = m_middleware.Value(row, QStringLiteral("VXOffsetToTableIdentifier")).toInt();
    const QString hardIdentifier = m_middleware.Text(row, QStringLiteral("VXHardIdentifier"));
    const QList<StoredWord> hits = Words(
            db, TVXCondition::Equals(QStringLiteral("UPPER(VXWord)"), word.toUpper())
                        + QStringLiteral(" AND ")
                        + WordTypeCondition(m_middleware.Text(row, QStringLiteral("VXWordType"))));
    int cachedFile = 0;
    bool fileLoaded = false;
    QList<StoredWord> fileWords;
    for (const StoredWord &hit : hits) {
        if (hit.FileID != cachedFile) {
            cachedFile = hit.FileID;
            fileLoaded = Count(db, QStringLiteral("SELECT COUNT(*) FROM VXFILE WHERE VXFileID = %1")
                                           .arg(hit.FileID))
                         > 0;
            // Offsets count words in the repository's order, across row ends.
            fileWords = fileLoaded ? Words(
                                db, TVXCondition(QStringLiteral("VXFileID = %1").arg(hit.FileID)))
                                   : QList<StoredWord>();
        }
        if (!fileLoaded)
            continue;
        qsizetype at = -1;
        for (qsizetype i = 0; i < fileWords.size(); ++i)
            if (fileWords[i].ObjectID == hit.ObjectID && fileWords[i].EntryID == hit.EntryID
                && fileWords[i].RowID == hit.RowID && fileWords[i].WordID == hit.WordID) {
                at = i;
                break;
            }
        if (at < 0)
            continue;
        // An offset past the file's last word marks nothing.
        auto wordAt = [&](int offset) -> const StoredWord * {
            return offset > 0 && at + offset < fileWords.size() ? &fileWords[at + offset] : nullptr;
        };
        TVXMiddlewareHit result;
        result.FileID = hit.FileID;
        if (const StoredWord *object = wordAt(objectOffset)) {
            result.FoundObjectIdentifier = object->Text;
            mark(*object, HostName, object->Text);
        }
        const QString entryIdentifier = result.FoundObjectIdentifier.isEmpty()
                                                ? hardIdentifier
                                                : result.FoundObjectIdentifier;
        if (const StoredWord *entry = wordAt(entryOffset)) {
            result.FoundEntryName = entry->Text;
            mark(*entry, CalledName, entryIdentifier);
        } else if (entryOffset == 0) {
            result.FoundEntryName = hardIdentifier;
        }
        if (const StoredWord *table = wordAt(tableOffset)) {
            result.FoundTableIdentifier = table->Text;
            mark(*table, TableName, table->Text);
        }
        if (!write) {
            // The statement: the words of the hit's row number, in their order.
            QStringList statement;
            for (const StoredWord &other : std::as_const(fileWords))
                if (other.ObjectID == hit.ObjectID && other.EntryID == hit.EntryID
                    && other.RowID == hit.RowID && !other.Text.isEmpty())
                    statement << other.Text;
            result.FoundStatement = statement.join(QLatin1Char(' ')).left(100);
        }
        found.append(result);
    }
    return found;
}

TVXMiddlewareTestResult TVXMiddlewareCheck::Test(int row, const QString &database,
                                                 TVXDataAccessInterface *db) const
{
    TVXMiddlewareTestResult result;
    const QString kind = m_middleware.Text(row, QStringLiteral("VXAttributeScope1"));
    const QString scope = m_middleware.Text(row, QStringLiteral("VXAttributeScope2"));
    if (kind.startsWith(QLatin1String("SourceDB")) && scope != database) {
        result.Message = QStringLiteral("Scope only on database ") + scope;
        return result;
    }
    if (ScopeExists(kind, scope, database, db))
        result.Hits = Find(row, db, false);
    if (result.Hits.isEmpty())
        result.Message = QStringLiteral("No hits on Word ")
                         + m_middleware.Text(row, QStringLiteral("VXWord"))
                         + QStringLiteral(" of type ")
                         + m_middleware.Text(row, QStringLiteral("VXWordType"))
                         + QStringLiteral(" in given Scope");
    return result;
}

QSet<int> TVXMiddlewareCheck::Run(const QString &database, TVXDataAccessInterface *db,
                                  TVXLoadProgress &progress)
{
    QSet<int> touched;
    const int definitions = m_middleware.RowCount();
    progress.MiddleWareChecked(0, definitions);
    for (int row = 0; row < definitions; ++row) {
        if (ScopeExists(m_middleware.Text(row, QStringLiteral("VXAttributeScope1")),
                        m_middleware.Text(row, QStringLiteral("VXAttributeScope2")), database,
                        db)) {
            for (const TVXMiddlewareHit &hit : Find(row, db, true))
                touched.insert(hit.FileID);
            db->Commit(false, true);
        }
        progress.MiddleWareChecked(row + 1, definitions);
    }
    const int files = db->GetTable(QStringLiteral("VXFILE"));
    const int checkedField = db->GetField(files, QStringLiteral("VXDependencyChecked"));
    for (const int file : std::as_const(touched))
        if (db->SelectBegin(files, QStringLiteral("VXFileID = %1").arg(file)))
            db->SetFieldValue(files, checkedField, QStringLiteral("N"));
    db->Commit(false, true);
    return touched;
}
