// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Dependencyresolver.h"

#include "base/Configtable.h"
#include "base/Exception.h"

#include "loading/Loadprogress.h"
#include "loading/Middlewarecheck.h"
#include "parsing/Globals.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <QSet>

#include <memory>

namespace {

using namespace VXWordType;

// Objects a CALL, LINK, XCTL or EXEC PGM= may run: no copy member, job, procedure or map.
QString ProgramKind()
{
    return QStringLiteral(" AND VXIcon <> %1 AND VXObjectType NOT IN ('JCL_JOB', 'JCL_PROC', "
                          "'JCL_MEMBER', 'JCL_INCLUDE', 'MAPSET', 'MAP')")
            .arg(VXIcon::IncludedMember);
}

// A possible call carries this in both inheritance columns, as the entry fan-out does.
constexpr int PossibleMark = -1;

QList<QVariantList> Rows(TVXDataAccessInterface *db, const QString &sql)
{
    return VXSelectRows(db, sql);
}

QString Number(int value)
{
    return QString::number(value);
}

// A name that names nothing: empty, a value nobody knows, a lone quote.
bool IsUnknownName(const QString &text)
{
    return text.isEmpty() || text == QLatin1String("?") || text == QLatin1String("'");
}

// A nested object (a class in a class, a procedure in a job) is reached through its parent.
QString NotNested()
{
    return QStringLiteral(" AND VXIcon <> ") + Number(VXIcon::NestedObject);
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

TVXCondition TVXDependencyResolver::NameIs(const QString &column, const QString &name,
                                           bool caseSensitive)
{
    return caseSensitive
                   ? TVXCondition::Equals(column, name)
                   : TVXCondition::Equals(QStringLiteral("UPPER(") + column + QLatin1Char(')'),
                                          name.toUpper());
}

TVXDependencyResolver::Target TVXDependencyResolver::Remembered(TVXDataAccessInterface *db,
                                                                const TVXCondition &statement,
                                                                bool entry)
{
    // Objects and entries do not change while dependencies are resolved, and most names
    // are looked up for many referring words: each statement runs once.
    const QString sql = statement.Key();
    if (const auto found = m_lookups.constFind(sql); found != m_lookups.cend())
        return *found;
    const QList<QVariantList> rows = VXSelectRows(db, statement);
    Target target;
    if (!rows.isEmpty())
        target = {rows[0][0].toInt(), rows[0][1].toInt(), entry ? rows[0][2].toInt() : 0};
    if (m_lookups.size() >= 200000)
        m_lookups.clear();
    m_lookups.insert(sql, target);
    return target;
}

TVXDependencyResolver::Target TVXDependencyResolver::FirstObject(TVXDataAccessInterface *db,
                                                                 const TVXCondition &condition)
{
    return Remembered(db,
                      QStringLiteral("SELECT VXFileID, VXObjectID FROM VXOBJECT WHERE ") + condition
                              + QStringLiteral(" ORDER BY VXFileID, VXObjectID"),
                      false);
}

TVXDependencyResolver::Target TVXDependencyResolver::FirstEntry(TVXDataAccessInterface *db,
                                                                const TVXCondition &condition)
{
    return Remembered(db,
                      QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID FROM VXENTRY WHERE ")
                              + condition
                              + QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID"),
                      true);
}

TVXDependencyResolver::Target TVXDependencyResolver::Resolve(TVXDataAccessInterface *db,
                                                             const Word &word,
                                                             const FileRules &rules,
                                                             const QString &referringType)
{
    Lookup lookup{word, rules, referringType, word.Text, {}, {}, {}};
    if ((word.Type == HostName || word.Type == IncludedMember || word.Type == ReferencedName)
        && !IsUnknownName(word.Identifier))
        lookup.Name = word.Identifier;
    if (word.Type == HostName || word.Type == IncludedMember) {
        const qsizetype point = lookup.Name.lastIndexOf(QLatin1Char('.'));
        if (point > 0) {
            lookup.Qualifier = lookup.Name.left(point);
            lookup.Name = lookup.Name.mid(point + 1);
        }
    }
    if (IsUnknownName(lookup.Name))
        return {};
    lookup.OwnFile = QStringLiteral("VXFileID = ") + Number(word.FileID);
    lookup.IdentifierIs
            = NameIs(QStringLiteral("VXObjectIdentifier"), lookup.Name, rules.CaseSensitive);
    if (lookup.Name == QLatin1String("self"))
        return {word.FileID, word.ObjectID, 0};

    switch (word.Type) {
    case TableName:
        return ResolveTable(db, lookup);
    case HostName:
    case ReferencedName:
    case IncludedMember:
        return ResolveReference(db, lookup);
    case CalledName:
        return ResolveCall(db, lookup);
    default:
        return {};
    }
}

TVXDependencyResolver::Target TVXDependencyResolver::ResolveTable(TVXDataAccessInterface *db,
                                                                  const Lookup &lookup)
{
    const Word &word = lookup.Referring;
    const FileRules &rules = lookup.Rules;
    const bool caseSensitive = rules.CaseSensitive;
    const QString &name = lookup.Name;
    const TVXCondition &identifierIs = lookup.IdentifierIs;
    // SCHEMA.TABLE: a table of that schema, then any table of that name.
    QList<TVXCondition> conditions;
    const QString qualified = IsUnknownName(word.Identifier) ? name : word.Identifier;
    const qsizetype point = qualified.lastIndexOf(QLatin1Char('.'));
    if (point > 0) {
        const QString table = qualified.mid(point + 1);
        const TVXCondition tableIs
                = NameIs(QStringLiteral("VXObjectIdentifier"), table, caseSensitive);
        conditions << NameIs(QStringLiteral("VXObjectIdentifier"), qualified, caseSensitive)
                   << tableIs + QStringLiteral(" AND ")
                              + NameIs(QStringLiteral("VXScopeOrNamespace"), qualified.left(point),
                                       caseSensitive)
                   << tableIs;
    } else {
        conditions << identifierIs;
    }
    for (const TVXCondition &condition : std::as_const(conditions))
        for (const int icon : {VXIcon::Table, VXIcon::View}) {
            const Target table
                    = FirstObject(db, condition + QStringLiteral(" AND VXIcon = ") + Number(icon));
            if (table.Found())
                return table;
        }
    return {};
}

TVXDependencyResolver::Target TVXDependencyResolver::ResolveReference(TVXDataAccessInterface *db,
                                                                      const Lookup &lookup)
{
    const Word &word = lookup.Referring;
    const FileRules &rules = lookup.Rules;
    const bool caseSensitive = rules.CaseSensitive;
    const TVXCondition &identifierIs = lookup.IdentifierIs;
    const QString &ownFile = lookup.OwnFile;
    const QString notNested = NotNested();
    const QString &qualifier = lookup.Qualifier;
    // An included member is never the object that includes it.
    const QString notItself
            = word.Type == IncludedMember
                      ? QStringLiteral(" AND NOT (VXFileID = %1 AND VXObjectID = %2)")
                                .arg(word.FileID)
                                .arg(word.ObjectID)
                      : QString();
    QList<TVXCondition> conditions;
    if (!qualifier.isEmpty())
        conditions << identifierIs + QStringLiteral(" AND ")
                              + NameIs(QStringLiteral("VXScopeOrNamespace"), qualifier,
                                       caseSensitive);
    conditions << ownFile + QStringLiteral(" AND ") + identifierIs;
    if (!rules.Imported.isEmpty())
        conditions << identifierIs + QStringLiteral(" AND ") + rules.Imported;
    conditions << identifierIs;
    // COPY and INCLUDE take a copy member of the name before any other object of it (a
    // mapset and its symbolic-map member share their name).
    QStringList kinds;
    if (word.Type == IncludedMember)
        kinds << QStringLiteral(" AND VXIcon = ") + Number(VXIcon::IncludedMember);
    kinds << QString();
    for (const QString &kind : std::as_const(kinds))
        for (const TVXCondition &condition : std::as_const(conditions)) {
            const Target object = FirstObject(db, condition + notNested + notItself + kind);
            if (object.Found())
                return object;
        }
    return {};
}

TVXDependencyResolver::Target TVXDependencyResolver::LocalEntry(TVXDataAccessInterface *db,
                                                                const Lookup &lookup)
{
    const Word &word = lookup.Referring;
    const FileRules &rules = lookup.Rules;
    const bool caseSensitive = rules.CaseSensitive;
    const QString &name = lookup.Name;
    const QString &ownFile = lookup.OwnFile;
    // A paragraph or section of the calling object itself, other than the one the
    // call stands in. JCL steps are not called by name: PGM=SORT in the step SORT
    // runs the program.
    if (rules.CallsNameObjectsOnly)
        return {};
    const Target local
            = FirstEntry(db, ownFile + QStringLiteral(" AND VXObjectID = ") + Number(word.ObjectID)
                                     + QStringLiteral(" AND VXEntryID <> ") + Number(word.EntryID)
                                     + QStringLiteral(" AND ")
                                     + NameIs(QStringLiteral("VXEntryName"), name, caseSensitive));
    if (local.Found())
        return local;
    // A paragraph inside an entry (a name in area A that the flow falls into): the
    // entry that holds it.
    const QList<QVariantList> paragraph = VXSelectRows(
            db, QStringLiteral("SELECT VXEntryID FROM VXWORD WHERE ") + ownFile
                        + QStringLiteral(" AND VXObjectID = ") + Number(word.ObjectID)
                        + QStringLiteral(" AND VXWordType IN (%1, %2) AND ")
                                  .arg(ParagraphName)
                                  .arg(SectionOrParagraphName)
                        + NameIs(QStringLiteral("VXWord"), name, caseSensitive)
                        + QStringLiteral(" ORDER BY VXEntryID, VXRowID, VXWordID"));
    if (!paragraph.isEmpty() && paragraph[0][0].toInt() > 0)
        return {word.FileID, word.ObjectID, paragraph[0][0].toInt()};
    // A paragraph of a copy member that the file copies into its procedure division.
    if (!rules.Included.IsEmpty())
        return FirstEntry(db,
                          NameIs(QStringLiteral("VXEntryName"), name, caseSensitive)
                                  + QStringLiteral(" AND EXISTS (SELECT 1 FROM VXOBJECT o WHERE "
                                                   "o.VXFileID = VXENTRY.VXFileID AND "
                                                   "o.VXObjectID = VXENTRY.VXObjectID AND "
                                                   "o.VXIcon = %1 AND ")
                                            .arg(VXIcon::IncludedMember)
                                  + rules.Included + QStringLiteral(")"));
    return {};
}

// The identifier names another object: a middleware entry word (the entry of that name in
// that program) or a call through a variable whose value the parser read.
TVXDependencyResolver::Target
TVXDependencyResolver::CalledThroughIdentifier(TVXDataAccessInterface *db, const Lookup &lookup,
                                               const QString &notCaller)
{
    const Word &word = lookup.Referring;
    const bool caseSensitive = lookup.Rules.CaseSensitive;
    const QString &name = lookup.Name;
    const QString notNested = NotNested();
    const TVXCondition programIs
            = NameIs(QStringLiteral("VXObjectIdentifier"), word.Identifier, caseSensitive);
    Target program = FirstObject(db, programIs + notNested + ProgramKind());
    if (!program.Found())
        program = FirstObject(db, programIs + notNested + notCaller);
    if (program.Found()) {
        const Target entry = FirstEntry(
                db, QStringLiteral("VXFileID = %1 AND VXObjectID = %2 AND ")
                                    .arg(program.FileID)
                                    .arg(program.ObjectID)
                            + NameIs(QStringLiteral("VXEntryName"), name, caseSensitive));
        if (entry.Found())
            return entry;
        program.Possible = true;
        return program;
    }
    return {};
}

TVXDependencyResolver::Target TVXDependencyResolver::ResolveCall(TVXDataAccessInterface *db,
                                                                 const Lookup &lookup)
{
    const Word &word = lookup.Referring;
    const FileRules &rules = lookup.Rules;
    const bool caseSensitive = rules.CaseSensitive;
    const QString &name = lookup.Name;
    const TVXCondition &identifierIs = lookup.IdentifierIs;
    const QString &ownFile = lookup.OwnFile;
    const QString notNested = NotNested();
    const int languageID = rules.LanguageID;
    const QString &referringType = lookup.ReferringType;
    const QString notCaller = QStringLiteral(" AND NOT (VXFileID = %1 AND VXObjectID = %2)")
                                      .arg(word.FileID)
                                      .arg(word.ObjectID);
    // A call through a variable that nobody sets before run time: nothing by the
    // variable's name is the target.
    if (word.Identifier == QLatin1String("?") && !rules.QualifiedCalls)
        return {};
    const bool namesProgram = !IsUnknownName(word.Identifier)
                              && word.Identifier.compare(name, Qt::CaseInsensitive) == 0;
    if (!IsUnknownName(word.Identifier) && !namesProgram) {
        if (const Target target = CalledThroughIdentifier(db, lookup, notCaller); target.Found())
            return target;
    }
    // CALL 'X', LINK and XCTL PROGRAM('X') and EXEC PGM=X run a program: programs first.
    if (namesProgram) {
        const Target program = FirstObject(db, identifierIs + notNested + ProgramKind());
        if (program.Found())
            return program;
    } else {
        const Target local = LocalEntry(db, lookup);
        if (local.Found())
            return local;
    }
    // A job runs its own in-stream procedures before cataloged ones of the same language.
    if (rules.InStreamProcedures && referringType == QLatin1String("JCL_JOB") && !namesProgram) {
        const QString jcl = QStringLiteral(" AND VXLanguageID = ") + Number(languageID);
        for (const TVXCondition &condition :
             {ownFile + QStringLiteral(" AND ") + identifierIs + jcl,
              identifierIs + QStringLiteral(" AND VXObjectType = 'JCL_PROC'"),
              identifierIs + jcl}) {
            const Target procedure = FirstObject(db, condition + notNested);
            if (procedure.Found())
                return procedure;
        }
    }
    if (!rules.Imported.isEmpty()) {
        const Target imported
                = FirstObject(db, identifierIs + QStringLiteral(" AND ") + rules.Imported);
        if (imported.Found())
            return imported;
    }
    if (namesProgram) {
        const Target local = LocalEntry(db, lookup);
        if (local.Found())
            return local;
    }
    // Another kind of object only when no object of the asked kind exists; a job is
    // never the program it runs.
    const Target program
            = FirstObject(db, identifierIs + notNested + (namesProgram ? notCaller : QString()));
    if (program.Found())
        return program;
    // Where a call may reach any entry of its name, the fan-out links them all.
    if (rules.CallsNameObjectsOnly || rules.CallsToEntries)
        return {};
    return FirstEntry(
            db, NameIs(QStringLiteral("VXEntryName"), name, caseSensitive)
                        + QStringLiteral(
                                  " AND NOT (VXFileID = %1 AND VXObjectID = %2 AND VXEntryID = %3)")
                                  .arg(word.FileID)
                                  .arg(word.ObjectID)
                                  .arg(word.EntryID));
}

QString TVXDependencyResolver::ImportedObjects(TVXDataAccessInterface *db, int fileID,
                                               const QString &fileName)
{
    const QString base = fileName.section(QLatin1Char('.'), 0, 0);
    QList<QPair<int, int>> visible;
    // The file's own module objects named after it.
    for (const QVariantList &row :
         VXSelectRows(db, TVXCondition(QStringLiteral("SELECT VXFileID, VXObjectID FROM VXOBJECT "
                                                      "WHERE VXFileID = %1 AND VXObjectID = 1000 "
                                                      "AND UPPER(VXObjectIdentifier) LIKE ?")
                                               .arg(fileID),
                                       {base.toUpper() + QLatin1Char('%')})))
        visible.append({row[0].toInt(), row[1].toInt()});
    // Every object of each file whose name, without extension, an import or include gives.
    QSet<QString> imported;
    for (const QVariantList &row :
         Rows(db, QStringLiteral("SELECT DISTINCT VXWord FROM VXWORD WHERE VXFileID = %1 AND "
                                 "VXWordType IN (%2, %3)")
                          .arg(fileID)
                          .arg(LanguageSwitch)
                          .arg(IncludedMember)))
        imported.insert(row[0].toString().trimmed().toUpper());
    for (const QString &name : std::as_const(imported)) {
        if (name.isEmpty())
            continue;
        for (const QVariantList &file :
             VXSelectRows(db, TVXCondition(QStringLiteral("SELECT VXFileID, VXFileName FROM VXFILE "
                                                          "WHERE UPPER(VXFileName) LIKE ?"),
                                           {name + QLatin1Char('%')}))) {
            // LIKE also finds longer names; only the name itself, with or without an
            // extension, counts.
            if (file[1].toString().section(QLatin1Char('.'), 0, 0).toUpper() != name)
                continue;
            for (const QVariantList &object :
                 Rows(db, QStringLiteral("SELECT VXFileID, VXObjectID FROM VXOBJECT WHERE "
                                         "VXFileID = ")
                                  + file[0].toString()))
                visible.append({object[0].toInt(), object[1].toInt()});
        }
    }
    m_trace.Write(QStringLiteral("FileDepCheckedFROM_Prep"));
    if (visible.isEmpty())
        return {};
    QStringList pairs;
    for (const auto &[file, object] : std::as_const(visible))
        pairs << QStringLiteral("(VXFileID = %1 AND VXObjectID = %2)").arg(file).arg(object);
    pairs.removeDuplicates();
    return QLatin1Char('(') + pairs.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

void TVXDependencyResolver::ResolveFile(TVXDataAccessInterface *db, int fileID, int languageID)
{
    TVXLanguageDefinitionsInterface *definition = Definition(languageID);
    FileRules rules;
    rules.LanguageID = languageID;
    rules.CaseSensitive = definition && definition->CaseSensitive();
    rules.CallsToEntries = definition && definition->CallsToEntries();
    rules.CallsNameObjectsOnly = definition && definition->CallsNameObjectsOnly();
    rules.InStreamProcedures = definition && definition->InStreamProcedures();
    rules.QualifiedCalls = definition && definition->QualifiedCalls();
    {
        QStringList included;
        for (const QVariantList &row :
             Rows(db, QStringLiteral("SELECT DISTINCT VXObjectIdentifier, VXWord FROM VXWORD "
                                     "WHERE VXFileID = %1 AND VXWordType = %2")
                              .arg(fileID)
                              .arg(IncludedMember))) {
            QString member = row[0].toString().trimmed();
            if (member.isEmpty() || member == QLatin1String("?"))
                member = row[1].toString().trimmed();
            if (!member.isEmpty())
                included << member.toUpper();
        }
        included.removeDuplicates();
        if (!included.isEmpty())
            rules.Included = TVXCondition::In(QStringLiteral("UPPER(o.VXObjectIdentifier)"),
                                              QVariantList(included.cbegin(), included.cend()));
    }
    const QString fileName = Rows(db, QStringLiteral("SELECT VXFileName FROM VXFILE WHERE "
                                                     "VXFileID = ")
                                              + Number(fileID))
                                     .value(0)
                                     .value(0)
                                     .toString();
    if (definition && definition->ImportsByFileName())
        rules.Imported = ImportedObjects(db, fileID, fileName);
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
    auto counted = [&] {
        ++m_written;
        if (++appended % 50 == 0) {
            db->Commit(false, true);
            m_trace.Write(QStringLiteral("FileDepCheckedFROM_AddDepToDB"));
        }
    };
    for (const Word &word : std::as_const(words)) {
        try {
            const Target target = Resolve(db, word, rules, objectTypes.value(word.ObjectID));
            if (!target.Found()) {
                if (word.Type == CalledName) {
                    m_trace.Write(QStringLiteral("CALL NOT FOUND\t") + word.Text);
                    if (rules.CallsToEntries)
                        FanOut(db, word, rules.CaseSensitive, counted);
                }
                continue;
            }
            if (word.Type == CalledName)
                m_trace.Write((target.EntryID > 0
                                       ? QStringLiteral("Added CALL\t")
                                       : QStringLiteral("CALL NOT FOUND, but Target Added\t"))
                              + word.Text);
            const int mark = target.Possible ? PossibleMark : 0;
            db->VXDEPENDENCIES_Append(target.FileID, target.ObjectID, target.EntryID, 0, 0, mark,
                                      mark, word.FileID, word.ObjectID, word.EntryID, word.RowID,
                                      word.WordID);
            counted();
        } catch (const std::exception &e) {
            throw TVXException(VXMessage(e) + QStringLiteral(" RowID:") + Number(word.RowID)
                               + QStringLiteral(" Call to:") + word.Text);
        }
    }
    db->Commit(false, true);
    // Most portfolios hold no packages at all: then there is nothing to complete.
    if (m_hasPackages
        && (!definition || !definition->QualifiedCalls() || definition->Inheritance())) {
        m_trace.Write(QStringLiteral("Start PackageDepCheck for") + fileName);
        CompletePackages(db, fileID);
        m_trace.Write(QStringLiteral("FileDepCheckedFROM_InPackage+Inheritance"));
        db->Commit(false, true);
    }
}

void TVXDependencyResolver::FanOut(TVXDataAccessInterface *db, const Word &word, bool caseSensitive,
                                   const std::function<void()> &counted)
{
    m_trace.Write(QStringLiteral("FileDepCheckedFROM_SetDepToAllEntrys"));
    if (word.Text.isEmpty() || word.Text == QLatin1String("?") || word.Text == QLatin1String("'"))
        return;
    for (const QVariantList &entry : VXSelectRows(
                 db, QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID FROM VXENTRY WHERE ")
                             + NameIs(QStringLiteral("VXEntryName"), word.Text, caseSensitive)
                             + QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID"))) {
        if (entry[0].toInt() == word.FileID && entry[1].toInt() == word.ObjectID
            && entry[2].toInt() == word.EntryID)
            continue; // not the entry the call stands in
        try {
            db->VXDEPENDENCIES_Append(entry[0].toInt(), entry[1].toInt(), entry[2].toInt(), 0, 0,
                                      -1, -1, word.FileID, word.ObjectID, word.EntryID, word.RowID,
                                      word.WordID);
            counted();
        } catch (const std::exception &) {
            // A row that cannot be stored is left out; the others still link the call.
        }
    }
}

void TVXDependencyResolver::CompletePackages(TVXDataAccessInterface *db, int fileID)
{
    const int packages = db->GetTable(QStringLiteral("VXPACKAGE"));
    const int objectFileField = db->GetField(packages, QStringLiteral("VXObjectFileID"));
    const int objectField = db->GetField(packages, QStringLiteral("VXObjectID"));
    const QList<QVariantList> self = Rows(
            db, QStringLiteral("SELECT VXFileName, VXDirectory FROM VXFILE WHERE VXFileID = ")
                        + Number(fileID));
    if (self.isEmpty())
        return;
    const QString fileName = self[0][0].toString();
    const QString directory = self[0][1].toString();
    auto withSeparator = [](QString folder) {
        if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        return folder;
    };
    auto below = [&](const QString &folder, const QString &parent) {
        return withSeparator(folder).startsWith(withSeparator(parent));
    };
    // The objects of the member files: files named after the member, with any extension,
    // in the package file's folder or below. Objects without a known icon do not count.
    auto memberObjects = [&](const QString &member, const QString &packageFolder) {
        QList<QPair<int, int>> objects;
        for (const QVariantList &file : VXSelectRows(
                     db, TVXCondition(QStringLiteral("SELECT VXFileID, VXDirectory FROM VXFILE "
                                                     "WHERE UPPER(VXFileName) LIKE ? ORDER BY "
                                                     "VXFileID"),
                                      {member.toUpper() + QStringLiteral(".%")}))) {
            if (!below(file[1].toString(), packageFolder))
                continue;
            for (const QVariantList &object :
                 Rows(db, QStringLiteral("SELECT VXObjectID FROM VXOBJECT WHERE VXFileID = %1 AND "
                                         "VXIcon <> -1 ORDER BY VXObjectID")
                                  .arg(file[0].toInt())))
                objects.append({file[0].toInt(), object[0].toInt()});
        }
        return objects;
    };
    // Records the objects in the rows of one package member: the first row that has none
    // takes the first object; objects not recorded yet get rows of their own.
    auto complete = [&](int packageFile, int packageID, const QString &packageName,
                        const QString &member, const QList<QPair<int, int>> &objects,
                        const QString &appendTrace, const QString &updateTrace) {
        const QList<QVariantList> rows = VXSelectRows(
                db, TVXCondition(QStringLiteral("SELECT VXContentCounter, VXObjectFileID, "
                                                "VXObjectID FROM VXPACKAGE WHERE VXFileID = %1 "
                                                "AND VXPackageID = %2 AND UPPER(VXObjectName) = ? "
                                                "ORDER BY VXContentCounter")
                                         .arg(packageFile)
                                         .arg(packageID),
                                 {member.toUpper()}));
        QSet<QPair<int, int>> recorded;
        QList<int> open;
        for (const QVariantList &row : rows) {
            if (row[1].toInt() > 0)
                recorded.insert({row[1].toInt(), row[2].toInt()});
            else
                open.append(row[0].toInt());
        }
        for (const auto &object : objects) {
            if (recorded.contains(object))
                continue;
            if (!open.isEmpty()) {
                if (db->SelectBegin(packages,
                                    QStringLiteral("VXFileID = %1 AND VXPackageID = %2 AND "
                                                   "VXContentCounter = %3")
                                            .arg(packageFile)
                                            .arg(packageID)
                                            .arg(open.takeFirst()))) {
                    db->SetFieldValue(packages, objectFileField, object.first);
                    db->SetFieldValue(packages, objectField, object.second);
                    m_trace.Write(updateTrace + member);
                }
            } else {
                db->VXPACKAGE_Append(packageFile, packageID, packageName, member, object.first,
                                     object.second);
                m_trace.Write(appendTrace + member);
            }
            recorded.insert(object);
        }
    };

    // The packages this file declares.
    for (const QVariantList &row :
         Rows(db, QStringLiteral("SELECT DISTINCT VXPackageID, VXPackageName, VXObjectName FROM "
                                 "VXPACKAGE WHERE VXFileID = %1 ORDER BY VXPackageID")
                          .arg(fileID))) {
        const QString member = row[2].toString().trimmed();
        if (member.isEmpty())
            continue;
        complete(fileID, row[0].toInt(), row[1].toString(), member,
                 memberObjects(member, directory),
                 QStringLiteral("PACKAGE_Append for PackageFile, appended object:\t"),
                 QStringLiteral("PACKAGE_Update for PackageFile, matched object:\t"));
    }
    m_trace.Write(QStringLiteral("FileDepCheckedFROM_IsPackage"));

    // The packages elsewhere that name this file as a member.
    const QString base = fileName.section(QLatin1Char('.'), 0, 0);
    if (base.isEmpty())
        return;
    for (const QVariantList &row :
         VXSelectRows(db, TVXCondition(QStringLiteral("SELECT DISTINCT p.VXFileID, p.VXPackageID, "
                                                      "p.VXPackageName, p.VXObjectName, "
                                                      "f.VXDirectory FROM VXPACKAGE p JOIN VXFILE "
                                                      "f ON f.VXFileID = p.VXFileID WHERE "
                                                      "p.VXFileID <> %1 AND UPPER(p.VXObjectName) "
                                                      "= ?")
                                               .arg(fileID),
                                       {base.toUpper()}))) {
        if (!below(directory, row[4].toString()))
            continue;
        QList<QPair<int, int>> objects;
        for (const QVariantList &object :
             Rows(db, QStringLiteral("SELECT VXObjectID FROM VXOBJECT WHERE VXFileID = %1 AND "
                                     "VXIcon <> -1 ORDER BY VXObjectID")
                              .arg(fileID)))
            objects.append({fileID, object[0].toInt()});
        complete(row[0].toInt(), row[1].toInt(), row[2].toString(), row[3].toString().trimmed(),
                 objects, QStringLiteral("PACKAGE_Append for ObjectFile, appended object:\t"),
                 QStringLiteral("PACKAGE_Update for ObjectFile, matched object:\t"));
    }
}

void TVXDependencyResolver::RelinkIncoming(TVXDataAccessInterface *db, int fileID, bool inheritance,
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
                    + Number(fileID)
                    + (inheritance ? QStringLiteral(" OR VXInheritsFileID = ") + Number(fileID)
                                   : QString()));
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
        if (row[0].toInt() != fileID) {
            // Reached through an object of this file that it inherits from: the row holds
            // while that object is still there.
            unchanged = FirstObject(db, TVXCondition(QStringLiteral("VXFileID = %1 AND "
                                                                    "VXObjectID = %2")
                                                             .arg(fileID)
                                                             .arg(row[6].toInt())))
                                .Found();
            if (!unchanged)
                m_trace.Write(QStringLiteral("FileDepCheckedTO: Inherited Object NOT found in "
                                             "referenced File:\t")
                              + text);
        } else if (entryID > 0) {
            const TVXCondition name = NameIs(QStringLiteral("VXEntryName"), text, false);
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
            const TVXCondition names
                    = QStringLiteral("(")
                      + NameIs(QStringLiteral("VXObjectIdentifier"), identifier, false)
                      + QStringLiteral(" OR ")
                      + NameIs(QStringLiteral("VXObjectIdentifier"), lastPart, false)
                      + QStringLiteral(" OR ")
                      + NameIs(QStringLiteral("VXObjectIdentifier"), text, false)
                      + QStringLiteral(")");
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
        m_hasPackages = Rows(db, QStringLiteral("SELECT COUNT(*) FROM VXPACKAGE"))
                                .value(0)
                                .value(0)
                                .toInt()
                        > 0;
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
                TVXLanguageDefinitionsInterface *definition = Definition(file.second);
                RelinkIncoming(db, file.first, definition && definition->Inheritance(), recheck);
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
