// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Dependencyresolver.h"

#include "base/Configtable.h"
#include "base/Exception.h"

#include "loading/Loadphase.h"
#include "loading/Loadprogress.h"
#include "loading/Middlewarecheck.h"
#include "parsing/Globals.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "repository/Dependencyqueries.h"
#include "repository/Repositoryqueries.h"

#include <QSet>

#include <memory>

namespace {

using namespace VXWordType;
using namespace VXDependencyQueries;

// Objects a CALL, LINK, XCTL or EXEC PGM= may run: no copy member, job, procedure or map.
TVXCondition ProgramKind()
{
    return VXDependencyQueries::KindIsNot(
            VXIcon::IncludedMember,
            {QStringLiteral("JCL_JOB"), QStringLiteral("JCL_PROC"), QStringLiteral("JCL_MEMBER"),
             QStringLiteral("JCL_INCLUDE"), QStringLiteral("MAPSET"), QStringLiteral("MAP")});
}

// A possible call carries this in both inheritance columns, as the entry fan-out does.
constexpr int PossibleMark = -1;

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
TVXCondition NotNested()
{
    return VXDependencyQueries::IconIsNot(VXIcon::NestedObject);
}

// Both conditions; an empty one adds nothing.
TVXCondition Both(TVXCondition left, const TVXCondition &right)
{
    return left.And(right);
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

TVXDependencyResolver::Target TVXDependencyResolver::Remembered(TVXDataAccessInterface *db,
                                                                const TVXCondition &statement,
                                                                bool entry)
{
    // Objects and entries do not change while dependencies are resolved, and most names
    // are looked up for many referring words: each statement runs once.
    // Keyed by a number for the statement's text and its values: the texts are a few dozen
    // long statements, and a key per lookup that held its text made the cache the largest
    // part of a big load's memory.
    auto textID = m_statementIDs.constFind(statement.Text());
    if (textID == m_statementIDs.cend())
        textID = m_statementIDs.insert(statement.Text(), int(m_statementIDs.size()));
    QString sql = QString::number(*textID);
    for (const QVariant &value : statement.Values())
        sql += QChar(0x1f) + value.toString();
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
    return Remembered(db, FirstObjectStatement(condition), false);
}

TVXDependencyResolver::Target TVXDependencyResolver::FirstEntry(TVXDataAccessInterface *db,
                                                                const TVXCondition &condition)
{
    return Remembered(db, FirstEntryStatement(condition), true);
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
    lookup.OwnFile = InFile(word.FileID);
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
    // SQL names tables without regard to case, whatever the language that holds the SQL.
    const bool caseSensitive = false;
    const QString &name = lookup.Name;
    const TVXCondition identifierIs = NameIs(QStringLiteral("VXObjectIdentifier"), name, false);
    // SCHEMA.TABLE: a table of that schema, then any table of that name.
    QList<TVXCondition> conditions;
    const QString qualified = IsUnknownName(word.Identifier) ? name : word.Identifier;
    const qsizetype point = qualified.lastIndexOf(QLatin1Char('.'));
    if (point > 0) {
        const QString table = qualified.mid(point + 1);
        const TVXCondition tableIs
                = NameIs(QStringLiteral("VXObjectIdentifier"), table, caseSensitive);
        conditions << NameIs(QStringLiteral("VXObjectIdentifier"), qualified, caseSensitive)
                   << Both(tableIs, NameIs(QStringLiteral("VXScopeOrNamespace"),
                                           qualified.left(point), caseSensitive))
                   << tableIs;
    } else {
        conditions << identifierIs;
    }
    for (const TVXCondition &condition : std::as_const(conditions))
        for (const int icon : {VXIcon::Table, VXIcon::View}) {
            const Target table = FirstObject(db, Both(condition, IconIs(icon)));
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
    const TVXCondition &ownFile = lookup.OwnFile;
    const QString &qualifier = lookup.Qualifier;
    // An included member is never the object that includes it.
    const TVXCondition notItself
            = word.Type == IncludedMember ? NotObject(word.FileID, word.ObjectID) : TVXCondition();
    QList<TVXCondition> conditions;
    // #include "customer.h" names the header's own object, whose identifier is the file
    // name, before a member CUSTOMER of a library H.
    if (word.Type == IncludedMember && !qualifier.isEmpty())
        conditions << NameIs(QStringLiteral("VXObjectIdentifier"),
                             qualifier + QLatin1Char('.') + lookup.Name, false);
    if (!qualifier.isEmpty())
        conditions << Both(identifierIs,
                           NameIs(QStringLiteral("VXScopeOrNamespace"), qualifier, caseSensitive));
    conditions << Both(ownFile, identifierIs);
    if (!rules.Imported.IsEmpty())
        conditions << Both(identifierIs, rules.Imported);
    // A COBOL program and a PL/I program that include the same name each take the member
    // written in their own language.
    if (word.Type == IncludedMember)
        conditions << Both(identifierIs, LanguageIs(rules.LanguageID));
    conditions << identifierIs;
    // COPY and INCLUDE take a copy member of the name before any other object of it (a
    // mapset and its symbolic-map member share their name).
    QList<TVXCondition> kinds;
    if (word.Type == IncludedMember)
        kinds << IconIs(VXIcon::IncludedMember);
    kinds << TVXCondition();
    for (const TVXCondition &kind : std::as_const(kinds))
        for (const TVXCondition &condition : std::as_const(conditions)) {
            const Target object
                    = FirstObject(db, Both(Both(Both(condition, NotNested()), notItself), kind));
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
    // A paragraph or section of the calling object itself, other than the one the
    // call stands in. JCL steps are not called by name: PGM=SORT in the step SORT
    // runs the program.
    if (rules.CallsNameObjectsOnly)
        return {};
    const TVXCondition entryIs = NameIs(QStringLiteral("VXEntryName"), name, caseSensitive);
    const Target local = FirstEntry(
            db,
            Both(Both(InObject(word.FileID, word.ObjectID), EntryIsNot(word.EntryID)), entryIs));
    if (local.Found())
        return local;
    // A paragraph inside an entry (a name in area A that the flow falls into): the
    // entry that holds it.
    const int paragraph = EntryHoldingWord(db, word.FileID, word.ObjectID,
                                           {ParagraphName, SectionOrParagraphName},
                                           NameIs(QStringLiteral("VXWord"), name, caseSensitive));
    if (paragraph > 0)
        return {word.FileID, word.ObjectID, paragraph};
    // A paragraph of a copy member that the file copies into its procedure division.
    if (!rules.Included.IsEmpty())
        return FirstEntry(db, Both(entryIs, InObjectOf(VXIcon::IncludedMember, rules.Included)));
    return {};
}

// The identifier names another object: a middleware entry word (the entry of that name in
// that program) or a call through a variable whose value the parser read.
TVXDependencyResolver::Target
TVXDependencyResolver::CalledThroughIdentifier(TVXDataAccessInterface *db, const Lookup &lookup,
                                               const TVXCondition &notCaller)
{
    const Word &word = lookup.Referring;
    const bool caseSensitive = lookup.Rules.CaseSensitive;
    const QString &name = lookup.Name;
    const TVXCondition programIs
            = Both(NameIs(QStringLiteral("VXObjectIdentifier"), word.Identifier, caseSensitive),
                   NotNested());
    Target program = FirstObject(db, Both(programIs, ProgramKind()));
    if (!program.Found())
        program = FirstObject(db, Both(programIs, notCaller));
    // A variable of a nested class (Customer::Invoice) names the class itself.
    if (!program.Found())
        program = FirstObject(db, Both(NameIs(QStringLiteral("VXObjectIdentifier"), word.Identifier,
                                              caseSensitive),
                                       IconIs(VXIcon::NestedObject)));
    if (program.Found()) {
        const TVXCondition entryIs = NameIs(QStringLiteral("VXEntryName"), name, caseSensitive);
        const Target entry
                = FirstEntry(db, Both(InObject(program.FileID, program.ObjectID), entryIs));
        if (entry.Found())
            return entry;
        // A class declared in one file and defined in another: the entry of any object of
        // the class's name.
        const Target defined = FirstEntry(db, Both(NameIs(QStringLiteral("VXObjectIdentifier"),
                                                          word.Identifier, caseSensitive),
                                                   entryIs));
        if (defined.Found())
            return defined;
        // A method that the class inherits: the entry of the nearest ancestor that has it.
        if (lookup.Rules.Inheritance) {
            QString holder = word.Identifier;
            for (int depth = 0; depth < 16; ++depth) {
                holder = ObjectInherits(db, holder, caseSensitive);
                if (holder.isEmpty())
                    break;
                Target inherited = FirstEntry(db, Both(NameIs(QStringLiteral("VXObjectIdentifier"),
                                                              holder, caseSensitive),
                                                       entryIs));
                if (inherited.Found()) {
                    inherited.InheritsFileID = program.FileID;
                    inherited.InheritsObjectID = program.ObjectID;
                    return inherited;
                }
            }
        }
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
    const TVXCondition &ownFile = lookup.OwnFile;
    const TVXCondition notNested = NotNested();
    const int languageID = rules.LanguageID;
    const QString &referringType = lookup.ReferringType;
    const TVXCondition notCaller = NotObject(word.FileID, word.ObjectID);
    // A call through a variable that nobody sets before run time: nothing by the
    // variable's name is the target.
    if (word.Identifier == QLatin1String("?") && !rules.QualifiedCalls)
        return {};
    const bool namesProgram = !IsUnknownName(word.Identifier)
                              && word.Identifier.compare(name, Qt::CaseInsensitive) == 0;
    if (!IsUnknownName(word.Identifier) && !namesProgram) {
        if (const Target target = CalledThroughIdentifier(db, lookup, notCaller); target.Found())
            return target;
        // obj.Save() with obj of a class that is not loaded: the method is that class's, no
        // routine of the same name elsewhere.
        if (rules.QualifiedCalls)
            return {};
    }
    // CALL 'X', LINK and XCTL PROGRAM('X') and EXEC PGM=X run a program: programs first.
    if (namesProgram) {
        const Target program = FirstObject(db, Both(Both(identifierIs, notNested), ProgramKind()));
        if (program.Found())
            return program;
    } else {
        const Target local = LocalEntry(db, lookup);
        if (local.Found())
            return local;
    }
    // A job runs its own in-stream procedures before cataloged ones of the same language.
    if (rules.InStreamProcedures && referringType == QLatin1String("JCL_JOB") && !namesProgram) {
        const TVXCondition jcl = LanguageIs(languageID);
        for (const TVXCondition &condition :
             {Both(Both(ownFile, identifierIs), jcl),
              Both(identifierIs, ObjectTypeIs(QStringLiteral("JCL_PROC"))),
              Both(identifierIs, jcl)}) {
            const Target procedure = FirstObject(db, Both(condition, notNested));
            if (procedure.Found())
                return procedure;
        }
    }
    if (!rules.Imported.IsEmpty()) {
        const Target imported = FirstObject(db, Both(identifierIs, rules.Imported));
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
    const Target program = FirstObject(
            db, Both(Both(identifierIs, notNested), namesProgram ? notCaller : TVXCondition()));
    if (program.Found())
        return program;
    // Where a call may reach any entry of its name, the fan-out links them all.
    if (rules.CallsNameObjectsOnly || rules.CallsToEntries)
        return {};
    return FirstEntry(db, Both(NameIs(QStringLiteral("VXEntryName"), name, caseSensitive),
                               NotEntry(word.FileID, word.ObjectID, word.EntryID)));
}

TVXCondition TVXDependencyResolver::ImportedObjects(TVXDataAccessInterface *db, int fileID,
                                                    const QString &fileName)
{
    const QString base = fileName.section(QLatin1Char('.'), 0, 0);
    // The file's own module objects named after it.
    QList<QPair<int, int>> visible = ModuleObjects(db, fileID, base.toUpper());
    // Every object of each file whose name, without extension, an import or include gives.
    const QStringList names = DistinctWords(db, fileID, {LanguageSwitch, IncludedMember});
    for (const QString &name : QSet<QString>(names.cbegin(), names.cend())) {
        if (name.isEmpty())
            continue;
        for (const FileRow &file : FilesNamedLike(db, name + QLatin1Char('%'))) {
            // LIKE also finds longer names; only the name itself, with or without an
            // extension, counts.
            if (file.Name.section(QLatin1Char('.'), 0, 0).toUpper() != name)
                continue;
            for (const int object : ObjectIDs(db, file.File))
                visible.append({file.File, object});
        }
    }
    m_trace.Write(QStringLiteral("FileDepCheckedFROM_Prep"));
    return AnyObjectOf(visible);
}

TVXDependencyResolver::FileRules TVXDependencyResolver::RulesOf(TVXDataAccessInterface *db,
                                                                int fileID, int languageID,
                                                                const QString &fileName)
{
    TVXLanguageDefinitionsInterface *definition = Definition(languageID);
    FileRules rules;
    rules.LanguageID = languageID;
    rules.CaseSensitive = definition && definition->CaseSensitive();
    rules.CallsToEntries = definition && definition->CallsToEntries();
    rules.CallsNameObjectsOnly = definition && definition->CallsNameObjectsOnly();
    rules.InStreamProcedures = definition && definition->InStreamProcedures();
    rules.QualifiedCalls = definition && definition->QualifiedCalls();
    rules.Inheritance = definition && definition->Inheritance();
    QStringList included;
    for (const auto &[identifier, text] : DistinctIdentifiers(db, fileID, IncludedMember)) {
        const QString member
                = identifier.isEmpty() || identifier == QLatin1String("?") ? text : identifier;
        if (!member.isEmpty())
            included << member.toUpper();
    }
    included.removeDuplicates();
    if (!included.isEmpty())
        rules.Included = MemberIdentifierIn(included);
    if (definition && definition->ImportsByFileName())
        rules.Imported = ImportedObjects(db, fileID, fileName);
    return rules;
}

void TVXDependencyResolver::ResolveFile(TVXDataAccessInterface *db, int fileID, int languageID)
{
    const std::optional<FileRow> file = File(db, fileID);
    const QString fileName = file ? file->Name : QString();
    const FileRules rules = RulesOf(db, fileID, languageID, fileName);
    const QHash<int, QString> objectTypes = ObjectTypes(db, fileID);
    QList<Word> words;
    for (const TVXReferringWordRow &row :
         Words(db, fileID, {HostName, ReferencedName, TableName, IncludedMember, CalledName}))
        words.append({fileID, row.Object, row.Entry, row.Row, row.Word, row.Type, row.Text,
                      row.Identifier});

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
            LinkWord(db, word, rules, objectTypes.value(word.ObjectID), counted);
        } catch (const std::exception &e) {
            throw TVXException(VXMessage(e) + QStringLiteral(" RowID:") + Number(word.RowID)
                               + QStringLiteral(" Call to:") + word.Text);
        }
    }
    db->Commit(false, true);
    // Most portfolios hold no packages at all: then there is nothing to complete.
    TVXLanguageDefinitionsInterface *definition = Definition(languageID);
    if (m_hasPackages
        && (!definition || !definition->QualifiedCalls() || definition->Inheritance())) {
        m_trace.Write(QStringLiteral("Start PackageDepCheck for") + fileName);
        CompletePackages(db, fileID);
        m_trace.Write(QStringLiteral("FileDepCheckedFROM_InPackage+Inheritance"));
        db->Commit(false, true);
    }
}

void TVXDependencyResolver::LinkWord(TVXDataAccessInterface *db, const Word &word,
                                     const FileRules &rules, const QString &referringType,
                                     const std::function<void()> &counted)
{
    const Target target = Resolve(db, word, rules, referringType);
    if (!target.Found()) {
        if (word.Type == CalledName) {
            m_trace.Write(QStringLiteral("CALL NOT FOUND\t") + word.Text);
            if (rules.CallsToEntries)
                FanOut(db, word, rules.CaseSensitive, counted);
        }
        return;
    }
    if (word.Type == CalledName)
        m_trace.Write((target.EntryID > 0 ? QStringLiteral("Added CALL\t")
                                          : QStringLiteral("CALL NOT FOUND, but Target Added\t"))
                      + word.Text);
    const int mark = target.Possible ? PossibleMark : 0;
    db->VXDEPENDENCIES_Append(target.FileID, target.ObjectID, target.EntryID, 0, 0,
                              mark != 0 ? mark : target.InheritsFileID,
                              mark != 0 ? mark : target.InheritsObjectID, word.FileID,
                              word.ObjectID, word.EntryID, word.RowID, word.WordID);
    counted();
}

void TVXDependencyResolver::FanOut(TVXDataAccessInterface *db, const Word &word, bool caseSensitive,
                                   const std::function<void()> &counted)
{
    m_trace.Write(QStringLiteral("FileDepCheckedFROM_SetDepToAllEntrys"));
    if (IsUnknownName(word.Text))
        return;
    for (const TVXItemKey &entry :
         Entries(db, NameIs(QStringLiteral("VXEntryName"), word.Text, caseSensitive))) {
        if (entry.File == word.FileID && entry.Object == word.ObjectID
            && entry.Entry == word.EntryID)
            continue; // not the entry the call stands in
        try {
            db->VXDEPENDENCIES_Append(entry.File, entry.Object, entry.Entry, 0, 0, PossibleMark,
                                      PossibleMark, word.FileID, word.ObjectID, word.EntryID,
                                      word.RowID, word.WordID);
            counted();
        } catch (const std::exception &e) {
            // A row that cannot be stored is left out; the others still link the call.
            m_trace.Write(QStringLiteral("FanOut: dependency not stored\t") + word.Text
                          + QLatin1Char('\t') + VXMessage(e));
        }
    }
}

namespace {

QString WithSeparator(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

bool IsBelow(const QString &folder, const QString &parent)
{
    return WithSeparator(folder).startsWith(WithSeparator(parent));
}

} // namespace

// The objects of the member files: files named after the member, with any extension, in
// the package file's folder or below. Objects without a known icon do not count.
QList<QPair<int, int>> TVXDependencyResolver::MemberObjects(TVXDataAccessInterface *db,
                                                            const QString &member,
                                                            const QString &packageFolder)
{
    QList<QPair<int, int>> objects;
    for (const FileRow &file : FilesNamedLike(db, member.toUpper() + QStringLiteral(".%"))) {
        if (!IsBelow(file.Directory, packageFolder))
            continue;
        for (const int object : ObjectIDs(db, file.File, VXIcon::Unknown))
            objects.append({file.File, object});
    }
    return objects;
}

// Records the objects in the rows of one package member: the first row that has none
// takes the first object; objects not recorded yet get rows of their own.
void TVXDependencyResolver::CompleteMember(TVXDataAccessInterface *db, const TVXPackageRow &package,
                                           const QList<QPair<int, int>> &objects,
                                           const QString &appendTrace, const QString &updateTrace)
{
    const QString &member = package.Member;
    QSet<QPair<int, int>> recorded;
    QList<int> open;
    for (const TVXPackageMemberRow &row :
         MemberRows(db, package.File, package.Package, member.toUpper())) {
        if (row.ObjectFile > 0)
            recorded.insert({row.ObjectFile, row.Object});
        else
            open.append(row.ContentCounter);
    }
    for (const auto &object : objects) {
        if (recorded.contains(object))
            continue;
        if (!open.isEmpty()) {
            if (SetMemberObject(db, package.File, package.Package, open.takeFirst(), object.first,
                                object.second))
                m_trace.Write(updateTrace + member);
        } else {
            db->VXPACKAGE_Append(package.File, package.Package, package.PackageName, member,
                                 object.first, object.second);
            m_trace.Write(appendTrace + member);
        }
        recorded.insert(object);
    }
}

void TVXDependencyResolver::CompletePackages(TVXDataAccessInterface *db, int fileID)
{
    const std::optional<FileRow> self = File(db, fileID);
    if (!self)
        return;
    // The packages this file declares.
    for (const TVXPackageRow &package : DeclaredPackages(db, fileID)) {
        if (package.Member.isEmpty())
            continue;
        CompleteMember(db, package, MemberObjects(db, package.Member, self->Directory),
                       QStringLiteral("PACKAGE_Append for PackageFile, appended object:\t"),
                       QStringLiteral("PACKAGE_Update for PackageFile, matched object:\t"));
    }
    m_trace.Write(QStringLiteral("FileDepCheckedFROM_IsPackage"));

    // The packages elsewhere that name this file as a member.
    const QString base = self->Name.section(QLatin1Char('.'), 0, 0);
    if (base.isEmpty())
        return;
    for (const TVXPackageRow &package : PackagesNaming(db, fileID, base.toUpper())) {
        if (!IsBelow(self->Directory, package.Directory))
            continue;
        QList<QPair<int, int>> objects;
        for (const int object : ObjectIDs(db, fileID, VXIcon::Unknown))
            objects.append({fileID, object});
        CompleteMember(db, package, objects,
                       QStringLiteral("PACKAGE_Append for ObjectFile, appended object:\t"),
                       QStringLiteral("PACKAGE_Update for ObjectFile, matched object:\t"));
    }
}

// Whether an incoming dependency row still reaches what it reached; where it does not,
// found holds the target of its name in the file, if there is one.
bool TVXDependencyResolver::StillReached(TVXDataAccessInterface *db, int fileID,
                                         const QVariantList &row, const QString &text,
                                         const QString &identifier, Target &found)
{
    const int objectID = row[1].toInt();
    const int entryID = row[2].toInt();
    if (row[0].toInt() != fileID) {
        // Reached through an object of this file that it inherits from: the row holds
        // while that object is still there.
        const bool unchanged = FirstObject(db, InObject(fileID, row[6].toInt())).Found();
        if (!unchanged)
            m_trace.Write(QStringLiteral("FileDepCheckedTO: Inherited Object NOT found in "
                                         "referenced File:\t")
                          + text);
        return unchanged;
    }
    if (entryID > 0) {
        const TVXCondition name = NameIs(QStringLiteral("VXEntryName"), text, false);
        if (FirstEntry(db, Both(InEntry(fileID, objectID, entryID), name)).Found())
            return true;
        found = FirstEntry(db, Both(InFile(fileID), name));
        return false;
    }
    const QString lastPart = identifier.mid(identifier.lastIndexOf(QLatin1Char('.')) + 1);
    const TVXCondition names
            = AnyOf({NameIs(QStringLiteral("VXObjectIdentifier"), identifier, false),
                     NameIs(QStringLiteral("VXObjectIdentifier"), lastPart, false),
                     NameIs(QStringLiteral("VXObjectIdentifier"), text, false)});
    if (FirstObject(db, Both(InObject(fileID, objectID), names)).Found())
        return true;
    found = FirstObject(db, Both(InFile(fileID), names));
    return false;
}

void TVXDependencyResolver::RelinkIncoming(TVXDataAccessInterface *db, int fileID, bool inheritance,
                                           QSet<int> &recheck)
{
    QList<QVariantList> replacements;
    for (const QVariantList &row : DependenciesTo(db, fileID, inheritance)) {
        const int fromFile = row[7].toInt();
        if (fromFile == fileID)
            continue;
        const auto [text, wordIdentifier] = WordAt(db, fromFile, row[8].toInt(), row[9].toInt(),
                                                   row[10].toInt(), row[11].toInt());
        const QString identifier = wordIdentifier.isEmpty() || wordIdentifier == QLatin1String("?")
                                           ? text
                                           : wordIdentifier;
        Target found;
        if (StillReached(db, fileID, row, text, identifier, found))
            continue;
        m_trace.Write(QStringLiteral("FileDepCheckedTO Delete dependency for:\t") + text);
        if (found.Found())
            m_trace.Write(QStringLiteral("FileDepCheckedTO Add dependency for:\t") + text);
        else
            m_trace.Write(
                    (row[2].toInt() > 0
                             ? QStringLiteral(
                                     "FileDepCheckedTO: Entry NOT found in referenced File:\t")
                             : QStringLiteral(
                                     "FileDepCheckedTO: Object NOT found in referenced File:\t"))
                    + text);
        DeleteDependency(db, row);
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
        } catch (const std::exception &e) {
            // A replacement that cannot be stored leaves the caller to its next check.
            m_trace.Write(QStringLiteral("FileDepCheckedTO: dependency not stored for file ")
                          + row[7].toString() + QLatin1Char('\t') + VXMessage(e));
            recheck.insert(row[7].toInt());
        }
    }
    db->Commit(false, true);
}

void TVXDependencyResolver::UpdateDependencies(const QString &database, TVXDataAccessInterface *db,
                                               TVXLoadProgress &progress, int pass)
{
    static const QString operation = QStringLiteral("TVXBaseFunctions.UpdateDependencies");
    try {
        if (pass == 1) {
            TVXLoadPhase middleware(QStringLiteral("middleware"));
            TVXMiddlewareCheck(m_middleware).Run(database, db, progress);
        }
        TVXLoadPhase phase(QStringLiteral("dependencies pass ") + QString::number(pass));

        const QList<QPair<int, int>> toCheck = FilesToCheck(db);
        m_hasPackages = VXRepositoryQueries::RowCount(db, QStringLiteral("VXPACKAGE")) > 0;
        const int filesInRepository = VXRepositoryQueries::RowCount(db, QStringLiteral("VXFILE"));
        for (const auto &file : std::as_const(toCheck)) {
            DeleteDependenciesFrom(db, file.first);
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
            SetCheckState(db, file.first, QStringLiteral("Y"));
            db->Commit(true, true);
        }
        db->Commit(false, true);
        // Callers whose target could not be found again are checked in a further pass.
        // Each pass only rechecks callers of files parsed again, so passes come to an end;
        // the limit guards a repository that changes under the run.
        if (!recheck.isEmpty() && pass < 32) {
            for (const int file : std::as_const(recheck))
                SetCheckState(db, file, QStringLiteral("N"));
            db->Commit(false, true);
            phase.Stop();
            UpdateDependencies(database, db, progress, pass + 1);
        }
    } catch (const TVXException &e) {
        throw TVXException::Wrapped(operation, e);
    } catch (const std::exception &e) {
        throw TVXException::Raised(operation, VXMessage(e));
    }
}
