// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Dependencyresolver.h"

#include "loading/Loadprogress.h"
#include "loading/Middlewarecheck.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "shell/Configtable.h"
#include "shell/Exception.h"

#include <QSet>

#include <memory>

namespace {

constexpr int CalledName = 1016;
constexpr int ReferencedName = 1032;
constexpr int HostName = 1059;
constexpr int IncludedMember = 1065;
constexpr int TableName = 1072;
constexpr int JclLanguage = 20521;
constexpr int TableIcon = 20;
constexpr int ViewIcon = 54;
constexpr int NestedObjectIcon = 50;

QList<QVariantList> Rows(TVXDataAccessInterface *db, const QString &sql)
{
    QList<QVariantList> rows;
    std::unique_ptr<TVXDataset> dataset(db->GetQuery(nullptr, {sql}, false));
    for (; dataset && !dataset->Eof(); dataset->Next()) {
        QVariantList row;
        for (int i = 0; i < dataset->FieldCount(); ++i)
            row << dataset->Value(i);
        rows << row;
    }
    return rows;
}

QString Number(int value)
{
    return QString::number(value);
}

} // namespace

TVXDependencyResolver::TVXDependencyResolver(TVXConfigTable &languages,
                                             const TVXConfigTable &middleware,
                                             TVXGetFunction getFunction, QFile *loadDebug)
    : m_languages(languages)
    , m_middleware(middleware)
    , m_getFunction(std::move(getFunction))
    , m_trace(loadDebug)
{}

TVXLanguageDefinitionsInterface *TVXDependencyResolver::Definition(int languageID)
{
    const auto known = m_definitions.constFind(languageID);
    if (known != m_definitions.cend())
        return *known;
    TVXLanguageDefinitionsInterface *definition = nullptr;
    const int row = m_languages.FindFirst(QStringLiteral("VXLanguageID"), languageID);
    if (row >= 0 && m_getFunction)
        definition = qobject_cast<TVXLanguageDefinitionsInterface *>(
                m_getFunction(QStringLiteral("LangDef_")
                                      + m_languages.Text(row, QStringLiteral("VXLanguageName")),
                              QString()));
    m_definitions.insert(languageID, definition);
    return definition;
}

QString TVXDependencyResolver::NameIs(const QString &column, const QString &name,
                                      bool caseSensitive) const
{
    const QString quoted = TVXDataAccessInterface::QuotedText(name);
    return caseSensitive ? column + QStringLiteral(" = ") + quoted
                         : QStringLiteral("UPPER(") + column + QStringLiteral(") = UPPER(") + quoted
                                   + QLatin1Char(')');
}

TVXDependencyResolver::Target TVXDependencyResolver::FirstObject(TVXDataAccessInterface *db,
                                                                 const QString &condition)
{
    const QList<QVariantList> rows
            = Rows(db, QStringLiteral("SELECT VXFileID, VXObjectID FROM VXOBJECT WHERE ")
                               + condition + QStringLiteral(" ORDER BY VXFileID, VXObjectID"));
    if (rows.isEmpty())
        return {};
    return {rows[0][0].toInt(), rows[0][1].toInt(), 0};
}

TVXDependencyResolver::Target TVXDependencyResolver::FirstEntry(TVXDataAccessInterface *db,
                                                                const QString &condition)
{
    const QList<QVariantList> rows = Rows(
            db, QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID FROM VXENTRY WHERE ")
                        + condition + QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID"));
    if (rows.isEmpty())
        return {};
    return {rows[0][0].toInt(), rows[0][1].toInt(), rows[0][2].toInt()};
}

TVXDependencyResolver::Target TVXDependencyResolver::Resolve(TVXDataAccessInterface *db,
                                                             const Word &word, int languageID,
                                                             bool caseSensitive,
                                                             const QString &referringType)
{
    auto unknown = [](const QString &text) {
        return text.isEmpty() || text == QLatin1String("?") || text == QLatin1String("'");
    };
    QString name = word.Text;
    QString qualifier;
    if ((word.Type == HostName || word.Type == IncludedMember || word.Type == ReferencedName)
        && !unknown(word.Identifier))
        name = word.Identifier;
    if (word.Type == HostName || word.Type == IncludedMember) {
        const qsizetype point = name.lastIndexOf(QLatin1Char('.'));
        if (point > 0) {
            qualifier = name.left(point);
            name = name.mid(point + 1);
        }
    }
    if (unknown(name))
        return {};

    const QString ownFile = QStringLiteral("VXFileID = ") + Number(word.FileID);
    const QString notNested = QStringLiteral(" AND VXIcon <> ") + Number(NestedObjectIcon);
    const QString identifierIs = NameIs(QStringLiteral("VXObjectIdentifier"), name, caseSensitive);
    if (name == QLatin1String("self"))
        return {word.FileID, word.ObjectID, 0};

    switch (word.Type) {
    case TableName: {
        for (const int icon : {TableIcon, ViewIcon}) {
            const Target table = FirstObject(db, identifierIs + QStringLiteral(" AND VXIcon = ")
                                                         + Number(icon));
            if (table.Found())
                return table;
        }
        return {};
    }
    case HostName:
    case ReferencedName:
    case IncludedMember: {
        // An included member is never the object that includes it.
        const QString notItself
                = word.Type == IncludedMember
                          ? QStringLiteral(" AND NOT (VXFileID = %1 AND VXObjectID = %2)")
                                    .arg(word.FileID)
                                    .arg(word.ObjectID)
                          : QString();
        QStringList conditions;
        if (!qualifier.isEmpty())
            conditions << identifierIs + QStringLiteral(" AND ")
                                  + NameIs(QStringLiteral("VXScopeOrNamespace"), qualifier,
                                           caseSensitive);
        conditions << ownFile + QStringLiteral(" AND ") + identifierIs << identifierIs;
        for (const QString &condition : std::as_const(conditions)) {
            const Target object = FirstObject(db, condition + notNested + notItself);
            if (object.Found())
                return object;
        }
        return {};
    }
    case CalledName: {
        // A middleware entry word: the entry of the program its identifier names.
        if (!unknown(word.Identifier) && word.Identifier.compare(name, Qt::CaseInsensitive) != 0) {
            const Target program = FirstObject(
                    db, NameIs(QStringLiteral("VXObjectIdentifier"), word.Identifier, caseSensitive)
                                + notNested);
            if (program.Found()) {
                const Target entry = FirstEntry(
                        db, QStringLiteral("VXFileID = %1 AND VXObjectID = %2 AND ")
                                            .arg(program.FileID)
                                            .arg(program.ObjectID)
                                    + NameIs(QStringLiteral("VXEntryName"), name, caseSensitive));
                return entry.Found() ? entry : program;
            }
        }
        // A paragraph or section of the calling object itself, other than the one the
        // call stands in. JCL steps are not called by name: PGM=SORT in the step SORT
        // runs the program.
        if (languageID != JclLanguage) {
            const Target local = FirstEntry(
                    db, ownFile + QStringLiteral(" AND VXObjectID = ") + Number(word.ObjectID)
                                + QStringLiteral(" AND VXEntryID <> ") + Number(word.EntryID)
                                + QStringLiteral(" AND ")
                                + NameIs(QStringLiteral("VXEntryName"), name, caseSensitive));
            if (local.Found())
                return local;
        }
        // A job runs its own in-stream procedures before cataloged ones of the same language.
        if (languageID == JclLanguage && referringType == QLatin1String("JCL_JOB")) {
            const QString jcl = QStringLiteral(" AND VXLanguageID = ") + Number(JclLanguage);
            for (const QString &condition :
                 {ownFile + QStringLiteral(" AND ") + identifierIs + jcl, identifierIs + jcl}) {
                const Target procedure = FirstObject(db, condition + notNested);
                if (procedure.Found())
                    return procedure;
            }
        }
        const Target program = FirstObject(db, identifierIs + notNested);
        if (program.Found())
            return program;
        if (languageID == JclLanguage)
            return {};
        return FirstEntry(
                db,
                NameIs(QStringLiteral("VXEntryName"), name, caseSensitive)
                        + QStringLiteral(
                                  " AND NOT (VXFileID = %1 AND VXObjectID = %2 AND VXEntryID = %3)")
                                  .arg(word.FileID)
                                  .arg(word.ObjectID)
                                  .arg(word.EntryID));
    }
    default:
        return {};
    }
}

void TVXDependencyResolver::ResolveFile(TVXDataAccessInterface *db, int fileID, int languageID)
{
    TVXLanguageDefinitionsInterface *definition = Definition(languageID);
    const bool caseSensitive = definition && definition->CaseSensitive();
    QHash<int, QString> objectTypes;
    for (const QVariantList &row :
         Rows(db, QStringLiteral("SELECT VXObjectID, VXObjectType FROM VXOBJECT WHERE VXFileID = ")
                          + Number(fileID)))
        objectTypes.insert(row[0].toInt(), row[1].toString());

    QList<Word> words;
    for (const QVariantList &row :
         Rows(db, QStringLiteral(
                          "SELECT VXObjectID, VXEntryID, VXRowID, VXWordID, VXWordType, VXWord, "
                          "VXObjectIdentifier FROM VXWORD WHERE VXFileID = %1 AND VXWordType IN "
                          "(%2, %3, %4, %5, %6) ORDER BY VXObjectID, VXEntryID, VXRowID, VXWordID")
                          .arg(fileID)
                          .arg(HostName)
                          .arg(ReferencedName)
                          .arg(TableName)
                          .arg(IncludedMember)
                          .arg(CalledName)))
        words.append({fileID, row[0].toInt(), row[1].toInt(), row[2].toInt(), row[3].toInt(),
                      row[4].toInt(), row[5].toString().trimmed(), row[6].toString().trimmed()});

    m_trace.Write(QStringLiteral("FileDepCheckedFROM_References"));
    int appended = 0;
    for (const Word &word : std::as_const(words)) {
        try {
            const Target target = Resolve(db, word, languageID, caseSensitive,
                                          objectTypes.value(word.ObjectID));
            if (!target.Found()) {
                if (word.Type == CalledName)
                    m_trace.Write(QStringLiteral("CALL NOT FOUND\t") + word.Text);
                continue;
            }
            if (word.Type == CalledName)
                m_trace.Write((target.EntryID > 0
                                       ? QStringLiteral("Added CALL\t")
                                       : QStringLiteral("CALL NOT FOUND, but Target Added\t"))
                              + word.Text);
            db->VXDEPENDENCIES_Append(target.FileID, target.ObjectID, target.EntryID, 0, 0, 0, 0,
                                      word.FileID, word.ObjectID, word.EntryID, word.RowID,
                                      word.WordID);
            ++m_written;
            if (++appended % 50 == 0) {
                db->Commit(false, true);
                m_trace.Write(QStringLiteral("FileDepCheckedFROM_AddDepToDB"));
            }
        } catch (const std::exception &e) {
            throw TVXException(VXMessage(e) + QStringLiteral(" RowID:") + Number(word.RowID)
                               + QStringLiteral(" Call to:") + word.Text);
        }
    }
    db->Commit(false, true);
}

void TVXDependencyResolver::RelinkIncoming(TVXDataAccessInterface *db, int fileID,
                                           QSet<int> &recheck)
{
    QList<QVariantList> replacements;
    const int dependencies = db->GetTable(QStringLiteral("VXDEPENDENCIES"));
    const QList<QVariantList> incoming = Rows(
            db,
            QStringLiteral(
                    "SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, VXInheritsFileID, "
                    "VXInheritsObjectID, VXFromFileID, VXFromObjectID, VXFromEntryID, VXFromRowID, "
                    "VXFromWordID FROM VXDEPENDENCIES WHERE VXFileID = ")
                    + Number(fileID));
    for (const QVariantList &row : incoming) {
        const int fromFile = row[7].toInt();
        if (fromFile == fileID)
            continue;
        const QList<QVariantList> words = Rows(
                db, QStringLiteral(
                            "SELECT VXWord, VXObjectIdentifier FROM VXWORD WHERE VXFileID = %1 AND "
                            "VXObjectID = %2 AND VXEntryID = %3 AND VXRowID = %4 AND VXWordID = %5")
                            .arg(fromFile)
                            .arg(row[8].toInt())
                            .arg(row[9].toInt())
                            .arg(row[10].toInt())
                            .arg(row[11].toInt()));
        const QString text = words.value(0).value(0).toString().trimmed();
        QString identifier = words.value(0).value(1).toString().trimmed();
        if (identifier.isEmpty() || identifier == QLatin1String("?"))
            identifier = text;
        const QString lastPart = identifier.mid(identifier.lastIndexOf(QLatin1Char('.')) + 1);
        const int objectID = row[1].toInt();
        const int entryID = row[2].toInt();
        Target found;
        bool unchanged = false;
        if (entryID > 0) {
            const QString name = NameIs(QStringLiteral("VXEntryName"), text, false);
            unchanged = FirstEntry(
                                db,
                                QStringLiteral(
                                        "VXFileID = %1 AND VXObjectID = %2 AND VXEntryID = %3 AND ")
                                                .arg(fileID)
                                                .arg(objectID)
                                                .arg(entryID)
                                        + name)
                                .Found();
            if (!unchanged)
                found = FirstEntry(db, QStringLiteral("VXFileID = %1 AND ").arg(fileID) + name);
        } else {
            QString names = QStringLiteral("(")
                            + NameIs(QStringLiteral("VXObjectIdentifier"), identifier, false)
                            + QStringLiteral(" OR ")
                            + NameIs(QStringLiteral("VXObjectIdentifier"), lastPart, false)
                            + QStringLiteral(" OR ")
                            + NameIs(QStringLiteral("VXObjectIdentifier"), text, false)
                            + QLatin1Char(')');
            unchanged = FirstObject(db, QStringLiteral("VXFileID = %1 AND VXObjectID = %2 AND ")
                                                        .arg(fileID)
                                                        .arg(objectID)
                                                + names)
                                .Found();
            if (!unchanged)
                found = FirstObject(db, QStringLiteral("VXFileID = %1 AND ").arg(fileID) + names);
        }
        if (unchanged)
            continue;
        m_trace.Write(QStringLiteral("FileDepCheckedTO Delete dependency for:\t") + text);
        if (found.Found())
            m_trace.Write(QStringLiteral("FileDepCheckedTO Add dependency for:\t") + text);
        else
            m_trace.Write(
                    (entryID > 0
                             ? QStringLiteral(
                                     "FileDepCheckedTO: Entry NOT found in referenced File:\t")
                             : QStringLiteral(
                                     "FileDepCheckedTO: Object NOT found in referenced File:\t"))
                    + text);
        QStringList columns;
        static const char *const names[]
                = {"VXFileID",       "VXObjectID",       "VXEntryID",          "VXRowID",
                   "VXWordID",       "VXInheritsFileID", "VXInheritsObjectID", "VXFromFileID",
                   "VXFromObjectID", "VXFromEntryID",    "VXFromRowID",        "VXFromWordID"};
        for (int i = 0; i < 12; ++i)
            columns << QLatin1String(names[i]) + QStringLiteral(" = ") + row[i].toString();
        db->Delete(dependencies, columns.join(QStringLiteral(" AND ")), false);
        if (found.Found()) {
            QVariantList replacement = row;
            replacement[0] = found.FileID;
            replacement[1] = found.ObjectID;
            replacement[2] = found.EntryID;
            replacements.append(replacement);
        } else {
            recheck.insert(fromFile);
        }
    }
    for (const QVariantList &row : std::as_const(replacements)) {
        try {
            db->VXDEPENDENCIES_Append(row[0].toInt(), row[1].toInt(), row[2].toInt(),
                                      row[3].toInt(), row[4].toInt(), row[5].toInt(),
                                      row[6].toInt(), row[7].toInt(), row[8].toInt(),
                                      row[9].toInt(), row[10].toInt(), row[11].toInt());
            ++m_written;
        } catch (const std::exception &) {
            // A replacement that cannot be stored leaves the caller to its next check.
        }
    }
    db->Commit(false, true);
}

void TVXDependencyResolver::UpdateDependencies(const QString &database, TVXDataAccessInterface *db,
                                               TVXLoadProgress &progress, int pass)
{
    try {
        const int files = db->GetTable(QStringLiteral("VXFILE"));
        const int checkedField = db->GetField(files, QStringLiteral("VXDependencyChecked"));
        auto pending = [db] {
            QList<QPair<int, int>> list;
            for (const QVariantList &row :
                 Rows(db, QStringLiteral("SELECT VXFileID, VXLanguageID FROM VXFILE WHERE "
                                         "VXDependencyChecked = 'N' ORDER BY VXFileID")))
                list.append({row[0].toInt(), row[1].toInt()});
            return list;
        };
        auto setState = [&](int fileID, const QString &state) {
            if (db->SelectBegin(files, QStringLiteral("VXFileID = ") + Number(fileID)))
                db->SetFieldValue(files, checkedField, state);
        };

        if (pass == 1)
            TVXMiddlewareCheck(m_middleware).Run(database, db, progress);

        const QList<QPair<int, int>> toCheck = pending();
        const int filesInRepository
                = Rows(db, QStringLiteral("SELECT COUNT(*) FROM VXFILE")).value(0).value(0).toInt();

        const int dependencies = db->GetTable(QStringLiteral("VXDEPENDENCIES"));
        for (const auto &file : std::as_const(toCheck)) {
            db->Delete(dependencies, QStringLiteral("VXFromFileID = ") + Number(file.first), false);
            db->Commit(false, true);
        }

        m_trace.Write(QStringLiteral("DepCheckPrepared"));
        const int count = int(toCheck.size());
        progress.FilesDependencyChecked(0, count);
        int done = 0;
        QSet<int> recheck;
        for (const auto &file : std::as_const(toCheck)) {
            // When every file is checked, all dependencies are rebuilt anyway.
            if (count < filesInRepository) {
                RelinkIncoming(db, file.first, recheck);
                m_trace.Write(QStringLiteral("FileDepCheckedTO"));
            }
            ResolveFile(db, file.first, file.second);
            m_trace.Write(QStringLiteral("FileDepCheckedFROM"));
            progress.FilesDependencyChecked(++done, count);
            setState(file.first, QStringLiteral("Y"));
            db->Commit(true, true);
        }
        db->Commit(false, true);
        // Callers whose target could not be found again are checked in a further pass.
        // Each pass only rechecks callers of files parsed again, so passes come to an end;
        // the limit guards a repository that changes under the run.
        if (!recheck.isEmpty() && pass < 32) {
            for (const int file : std::as_const(recheck))
                setState(file, QStringLiteral("N"));
            db->Commit(false, true);
            UpdateDependencies(database, db, progress, pass + 1);
        }
    } catch (const TVXException &e) {
        if (VXMessage(e).startsWith(QLatin1String("TVXBaseFunctions.UpdateDependencies: ")))
            throw;
        throw TVXException(QStringLiteral("TVXBaseFunctions.UpdateDependencies: ") + VXMessage(e));
    } catch (const std::exception &e) {
        throw TVXException(QStringLiteral("TVXBaseFunctions.UpdateDependencies: ") + VXMessage(e));
    }
}
