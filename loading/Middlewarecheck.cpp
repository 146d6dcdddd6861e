// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Middlewarecheck.h"

#include "base/Configtable.h"
#include "base/Exception.h"

#include "loading/Loadprogress.h"
#include "parsing/Globals.h"
#include "repository/Condition.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "repository/Dependencyqueries.h"
#include "repository/Repositoryqueries.h"

#include <memory>

using namespace VXWordType;

using namespace VXDependencyQueries;

namespace {

// The words of comments, as the stored word types give them.
QList<int> CommentCodes()
{
    return {BlockCommentStart, BlockCommentEnd, LineCommentStart, CommentWord};
}

using StoredWord = TVXStoredWordRow;

} // namespace

TVXMiddlewareCheck::TVXMiddlewareCheck(const TVXConfigTable &middleware)
    : m_middleware(middleware)
{}

TVXCondition TVXMiddlewareCheck::WordTypeCondition(const QString &choice)
{
    if (choice.startsWith(QLatin1String("Word in String")))
        return WordTypeIn({MainDelimiter, SecondaryDelimiter});
    if (choice.startsWith(QLatin1String("Word in Comment")))
        return WordTypeIn(CommentCodes());
    if (choice.startsWith(QLatin1String("Call")))
        return WordTypeIn({CalledName});
    return WordTypeNotIn(CommentCodes());
}

bool TVXMiddlewareCheck::ScopeExists(const QString &kind, const QString &name,
                                     const QString &database, TVXDataAccessInterface *db)
{
    if (kind.startsWith(QLatin1String("SourceDB")))
        return name == database && VXRepositoryQueries::RowCount(db, QStringLiteral("VXFILE")) > 0;
    int type = 0;
    if (kind.startsWith(QLatin1String("System")))
        type = VXAttributeType::System;
    else if (kind.startsWith(QLatin1String("Computer")))
        type = VXAttributeType::Computer;
    else if (kind.startsWith(QLatin1String("Application")))
        type = VXAttributeType::Application;
    else
        return false;
    const std::optional<int> attribute = AttributeID(db, type, name);
    return attribute && AttributeHasFiles(db, type, *attribute);
}

QList<TVXMiddlewareHit> TVXMiddlewareCheck::Find(int row, TVXDataAccessInterface *db,
                                                 bool write) const
{
    QList<TVXMiddlewareHit> found;
    const QString word = m_middleware.Text(row, QStringLiteral("VXWord"));
    if (word.isEmpty())
        return found;
    auto mark = [&](const StoredWord &target, int type, const QString &identifier) {
        if (write)
            SetWordReference(db, target, type, identifier);
    };

    const int objectOffset
            = m_middleware.Value(row, QStringLiteral("VXOffsetToObjectIdentifier")).toInt();
    const int entryOffset = m_middleware.Value(row, QStringLiteral("VXOffsetToEntryName")).toInt();
    const int tableOffset
            = m_middleware.Value(row, QStringLiteral("VXOffsetToTableIdentifier")).toInt();
    const QString hardIdentifier = m_middleware.Text(row, QStringLiteral("VXHardIdentifier"));
    const QList<StoredWord> hits = WordsWhere(
            db,
            TVXCondition::Equals(QStringLiteral("UPPER(VXWord)"), word.toUpper())
                    .And(WordTypeCondition(m_middleware.Text(row, QStringLiteral("VXWordType")))));
    int cachedFile = 0;
    bool fileLoaded = false;
    QList<StoredWord> fileWords;
    for (const StoredWord &hit : hits) {
        if (hit.File != cachedFile) {
            cachedFile = hit.File;
            fileLoaded
                    = VXRepositoryQueries::RowCount(db, QStringLiteral("VXFILE"), InFile(hit.File))
                      > 0;
            // Offsets count words in the repository's order, across row ends.
            fileWords = fileLoaded ? WordsWhere(db, InFile(hit.File)) : QList<StoredWord>();
        }
        if (!fileLoaded)
            continue;
        qsizetype at = -1;
        for (qsizetype i = 0; i < fileWords.size(); ++i)
            if (fileWords[i].Object == hit.Object && fileWords[i].Entry == hit.Entry
                && fileWords[i].Row == hit.Row && fileWords[i].Word == hit.Word) {
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
        result.FileID = hit.File;
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
                if (other.Object == hit.Object && other.Entry == hit.Entry && other.Row == hit.Row
                    && !other.Text.isEmpty())
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
    for (const int file : std::as_const(touched))
        SetCheckState(db, file, QStringLiteral("N"));
    db->Commit(false, true);
    return touched;
}
