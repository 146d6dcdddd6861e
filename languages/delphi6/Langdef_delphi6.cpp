// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/delphi6/Langdef_delphi6.h"

#include "base/Package.h"

#include "parsing/Keywordtext.h"

#include <QFileInfo>

using namespace VXWordType;
using namespace VXKeyword;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType RoutineWord = 99401;
constexpr TWordType BeginWord = 99402;
constexpr TWordType EndWord = 99403;
constexpr TWordType CodeBlock = 99404;
constexpr TWordType TypeKind = 99405;
constexpr TWordType PartWord = 99406;
constexpr TWordType HeaderWord = 99407;
constexpr TWordType UsesWord = 99408;
constexpr TWordType SectionWord = 99409;
constexpr TWordType Directive = 99410;

// The sections that this definition opens it also closes: their end code is none that a
// word takes before the file's end.
constexpr TWordType ManualEnd = EndOfFile;

// Section numbers.
constexpr int FileObject = 10;
constexpr int TypeSection = 20;
constexpr int RoutineSection = 30;

// Words after which a new statement begins.
bool EndsStatementBefore(const TVXWordElement *word)
{
    return !word || word->WordType == StatementEnd || word->WordType == BeginWord
           || word->WordType == CodeBlock || word->Word == QLatin1String(":")
           || IsAnyOf(word->Word, {"then", "else", "do", "finally", "except", "repeat"});
}

QString EntryKey(int objectID, const QString &name)
{
    return QString::number(objectID) + QLatin1Char('/') + name.toUpper();
}

} // namespace

TVXLangDef_Delphi6::TVXLangDef_Delphi6(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 30300;
    m_languageName = QStringLiteral("Delphi6");
    m_fileExtensions = QStringLiteral(".pas;.dpk;.dpr;.dfm;");
    m_columnSetting = 2;
    m_nestedObjects = true;
    m_qualifiedCalls = true;
    m_unknownIdentifiers = true;
    m_noIcons = true;
    m_noAssignmentHeuristic = true;
    m_importsByFileName = true;
    m_inheritance = true;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("//"), LineCommentStart);
    SetFBreakWords(QStringLiteral("(*"), BlockCommentStart);
    SetFBreakWords(QStringLiteral("*)"), BlockCommentEnd);
    // Compiler directives ({$R *.dfm}) are comments as well.
    SetFBreakWords(QStringLiteral("{"), BlockCommentStart);
    SetFBreakWords(QStringLiteral("}"), BlockCommentEnd);
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    SetFBreakWords(QStringLiteral(";"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("["), BracketOpen);
    SetFBreakWords(QStringLiteral("]"), BracketClose);
    SetFBreakWords(QStringLiteral(":="), Assignment);
    SetFBreakWords(QStringLiteral(".."), KnownWord);
    SetFBreakWords(QStringLiteral("."), Qualifier);
    SetFBreakWords(QStringLiteral(":"), KnownWord);
    for (const char *comparison : {"<>", "<=", ">=", "=", "<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    for (const char *op : {"+", "-", "*", "/", "^", "@", "#"})
        SetFBreakWords(QString::fromLatin1(op), Operator);

    // Types and routines open where what came before them says they do; their end words
    // close them.
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, FileObject, QString(), true);

    for (const char *word : {"procedure", "function", "constructor", "destructor"})
        SetFWords(QString::fromLatin1(word), -1, RoutineWord);
    SetFWords(QStringLiteral("begin"), -1, BeginWord);
    SetFWords(QStringLiteral("end"), -1, EndWord);
    for (const char *word : {"case", "try", "asm"})
        SetFWords(QString::fromLatin1(word), -1, CodeBlock);
    for (const char *word : {"class", "record", "object", "dispinterface"})
        SetFWords(QString::fromLatin1(word), -1, TypeKind);
    for (const char *word : {"interface", "implementation", "initialization", "finalization"})
        SetFWords(QString::fromLatin1(word), -1, PartWord);
    for (const char *word : {"unit", "program", "library", "package"})
        SetFWords(QString::fromLatin1(word), -1, HeaderWord);
    for (const char *word : {"uses", "requires", "contains"})
        SetFWords(QString::fromLatin1(word), -1, UsesWord);
    for (const char *word : {"type", "var", "const", "threadvar", "resourcestring", "label"})
        SetFWords(QString::fromLatin1(word), -1, SectionWord);
    for (const char *word : {"forward", "external"})
        SetFWords(QString::fromLatin1(word), -1, Directive);
    for (const char *word :
         {"if",          "then",        "else",       "while",       "do",        "for",
          "to",          "downto",      "repeat",     "until",       "with",      "of",
          "in",          "is",          "as",         "and",         "or",        "not",
          "xor",         "div",         "mod",        "shl",         "shr",       "nil",
          "true",        "false",       "self",       "result",      "inherited", "raise",
          "except",      "finally",     "on",         "exit",        "break",     "continue",
          "goto",        "packed",      "array",      "set",         "file",      "string",
          "private",     "protected",   "public",     "published",   "strict",    "automated",
          "property",    "virtual",     "override",   "overload",    "abstract",  "dynamic",
          "reintroduce", "static",      "stdcall",    "cdecl",       "pascal",    "register",
          "safecall",    "message",     "default",    "out",         "integer",   "cardinal",
          "byte",        "word",        "longint",    "longword",    "int64",     "smallint",
          "shortint",    "boolean",     "char",       "widechar",    "ansichar",  "double",
          "single",      "real",        "extended",   "currency",    "variant",   "pointer",
          "pchar",       "ansistring",  "widestring", "shortstring", "tdatetime", "inc",
          "dec",         "length",      "setlength",  "high",        "low",       "ord",
          "chr",         "assigned",    "freeandnil", "inttostr",    "strtoint",  "format",
          "trim",        "uppercase",   "lowercase",  "copy",        "pos",       "delete",
          "insert",      "showmessage", "abs",        "round",       "trunc",     "now",
          "sizeof",      "writeln",     "readln",     "write",       "read",      "new",
          "dispose",     "getmem",      "freemem",    "halt",        "assert",    "index",
          "name",        "absolute",    "at",         "implements",  "stored",    "nodefault"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    SetFObjectIcons(QString(), QStringLiteral("FORM"), VXIcon::Form);
    SetFObjectIcons(QString(), QStringLiteral("RECORD"), VXIcon::Record);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

// ---- Cutting rows ------------------------------------------------------------------------

int TVXLangDef_Delphi6::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    if (from == 1 && m_stateFile != m_fullFileName) {
        ResetFileState();
        m_stateFile = m_fullFileName;
        m_form = m_fileName.endsWith(QLatin1String(".dfm"), Qt::CaseInsensitive);
    }
    // A string ends with its row; Pascal has no other.
    if (from == 1)
        m_inMainLiteral = false;
    return ScanForBreak(row, from, length, wordType, [](int) { return true; });
}

// ---- Words -------------------------------------------------------------------------------

TVXWordElement *TVXLangDef_Delphi6::Find(const Pending &word)
{
    for (int i = LatestIndex(); i >= 0; --i) {
        TVXWordElement &candidate = m_wordBuffer[i];
        if (candidate.RowID == word.RowID && candidate.WordID == word.WordID)
            return &candidate;
        if (candidate.RowID < word.RowID)
            break;
    }
    return nullptr;
}

void TVXLangDef_Delphi6::MoveIntoCurrent(int rowID, int wordID)
{
    // What led to a type or routine (its name, its keyword) belongs to it, rows and all.
    MoveWordsSince(rowID, wordID, m_currentObject, m_currentEntry);
}

bool TVXLangDef_Delphi6::InDeclarations() const
{
    if (m_routineNameDue)
        return false;
    // The parameters of a routine's header; the arguments of a call are code.
    if (m_parentheses > 0)
        return m_routineNameWord.RowID != 0;
    if (!m_blocks.isEmpty())
        return m_blocks.last() == Block::TypeBody;
    return m_sectionKind != 0;
}

void TVXLangDef_Delphi6::DeclarePending(const QString &type)
{
    for (const Pending &typed : std::as_const(m_typed)) {
        if (TVXWordElement *word = Find(typed))
            word->ObjectIdentifier = type;
        for (qsizetype i = m_declarations.size() - 1; i >= 0; --i)
            if (m_declarations[i].RowID == typed.RowID
                && m_declarations[i].WordID == typed.WordID) {
                m_declarations[i].Type = type;
                break;
            }
    }
    m_typed.clear();
}

void TVXLangDef_Delphi6::OpenTypeBody(TVXWordElement &)
{
    bool closed = false;
    const TSection section{TypeKind,    ManualEnd, VXSectionType::Object,
                           TypeSection, QString(), true};
    const TVXObjectElement *unit = FirstObject();
    const QString unitName = unit ? unit->Identifier : QString();
    OpenSection(section, LatestIndex(), false, closed);
    if (TVXObjectElement *object = CurrentObject()) {
        object->Identifier = m_typeName;
        object->Name = unitName.isEmpty() ? m_typeName : unitName + QLatin1Char('.') + m_typeName;
        object->SubObjectParentName = unitName;
        object->ObjectType = m_typeKind.toUpper();
        object->Icon = GetObjectIconByType(object->ObjectType);
        if (object->Icon == 0)
            object->Icon = GetObjectIconDefault();
        object->Inherits = m_ancestor;
    }
    if (TVXWordElement *name = Find(m_typeNameWord))
        name->WordType = ObjectName;
    MoveIntoCurrent(m_typeNameWord.RowID, m_typeNameWord.WordID);
    m_blocks.append(Block::TypeBody);
    m_typeDue = m_ancestors = m_ancestorsDone = false;
    m_ancestor.clear();
    m_pending.clear();
}

void TVXLangDef_Delphi6::CloseTypeBody()
{
    m_blocks.removeLast();
    bool closed = false;
    if (m_sectionStack.size() > 1 && Innermost().SectionID == TypeSection)
        CloseInnermostSection(closed);
}

void TVXLangDef_Delphi6::CloseRoutine()
{
    const Routine routine = m_routines.takeLast();
    bool closed = false;
    if (m_sectionStack.size() > 1 && Innermost().SectionID == RoutineSection)
        CloseInnermostSection(closed);
    if (routine.RestoreObject != 0) {
        // The method's object ends with it: the words up to the next row stay the method's,
        // as the engine keeps them after any object's end.
        m_carryObject = true;
        m_currentObject = routine.RestoreObject;
        m_entryCounter = 0;
        for (const TVXEntryElement &entry : std::as_const(m_entryList))
            if (entry.ObjectID == m_currentObject)
                m_entryCounter = std::max(m_entryCounter, entry.EntryID);
    }
}

void TVXLangDef_Delphi6::EndBlock()
{
    if (m_blocks.isEmpty())
        return;
    const Block block = m_blocks.last();
    if (block == Block::TypeBody) {
        CloseTypeBody();
        return;
    }
    m_blocks.removeLast();
    if (block == Block::Begin && !m_routines.isEmpty() && m_routines.last().BodyBegun
        && m_blocks.size() == m_routines.last().Blocks)
        CloseRoutine();
}

void TVXLangDef_Delphi6::RoutineNameComplete(TVXWordElement &)
{
    m_routineNameDue = false;
    if (m_routineName.isEmpty())
        return;
    const QString name = m_routineName.last();
    const QString owner
            = m_routineName.size() > 1 ? m_routineName[m_routineName.size() - 2] : QString();
    const bool declaresOnly = (!m_blocks.isEmpty() && m_blocks.last() == Block::TypeBody)
                              || m_part == Part::Interface;
    if (declaresOnly) {
        const int entry = AddDeclaredEntry(name);
        if (entry == 0)
            return;
        m_declaredEntries.insert(EntryKey(m_currentObject, name), entry);
        if (TVXWordElement *word = Find(m_routineNameWord))
            word->WordType = EntryName;
        return;
    }
    Routine routine;
    routine.Blocks = m_blocks.size();
    // procedure TForm1.Button1Click: an entry of the class TForm1.
    bool ownerFound = owner.isEmpty();
    if (!owner.isEmpty()) {
        for (const TVXObjectElement &candidate : std::as_const(m_objectList)) {
            if (candidate.Icon != VXObjectIconState::DoNotSave
                && candidate.Identifier.compare(owner, Qt::CaseInsensitive) == 0) {
                routine.RestoreObject = m_currentObject;
                m_currentObject = candidate.ObjectID;
                m_entryCounter = 0;
                for (const TVXEntryElement &entry : std::as_const(m_entryList))
                    if (entry.ObjectID == m_currentObject)
                        m_entryCounter = std::max(m_entryCounter, entry.EntryID);
                ownerFound = true;
                break;
            }
        }
    }
    bool closed = false;
    const TSection section{RoutineWord,    ManualEnd, VXSectionType::Entry,
                           RoutineSection, QString(), true};
    OpenSection(section, LatestIndex(), false, closed);
    if (TVXEntryElement *entry = CurrentEntry()) {
        entry->Name = ownerFound ? name : owner + QLatin1Char('.') + name;
        if (const TVXObjectElement *holder = CurrentObject())
            entry->ObjectIdentifier = holder->Identifier;
        // The declaration made the entry; the definition fills it.
        const QString key = EntryKey(m_currentObject, entry->Name);
        if (const auto declared = m_declaredEntries.constFind(key);
            declared != m_declaredEntries.cend()) {
            const int id = *declared;
            m_declaredEntries.erase(declared);
            m_entryList.removeLast();
            m_currentEntry = id;
            Innermost().EntryID = id;
        }
    }
    MoveIntoCurrent(m_routineStart.RowID, m_routineStart.WordID);
    if (TVXWordElement *word = Find(m_routineNameWord))
        word->WordType = SectionOrParagraphName;
    m_routines.append(routine);
}

bool TVXLangDef_Delphi6::FormWordType(const QString &text, TWordType &wordType,
                                      TVXWordElement &word)
{
    const int latest = LatestIndex();
    const TVXWordElement *before = ReadWordAt(latest - 1);
    const bool firstInRow = !before || before->RowID != word.RowID;
    if (wordType == MainDelimiter || wordType == CommentWord)
        return true;
    // object Button1: TButton, inherited Form2: TForm2, inline Frame1: TFrame1.
    if (firstInRow && IsAnyOf(text, {"object", "inherited", "inline"})) {
        m_componentDue = true;
        wordType = KnownWord;
        return true;
    }
    if (m_componentDue && IsIdentifier(text)) {
        m_componentDue = false;
        m_componentTypeDue = true;
        m_componentName = text;
        m_routineNameWord = {word.RowID, word.WordID};
        return true;
    }
    if (m_componentTypeDue) {
        if (text == QLatin1String(":"))
            return true;
        m_componentTypeDue = false;
        if (!IsIdentifier(text))
            return true;
        TVXWordElement *name = Find(m_routineNameWord);
        if (!m_formNamed) {
            // The form: the file's object, inheriting the form's class.
            m_formNamed = true;
            m_formClass = text;
            if (TVXObjectElement *form = FirstObject()) {
                form->Name = form->Identifier = m_componentName;
                form->Inherits = text;
                form->ObjectType = QStringLiteral("FORM");
            }
            if (name)
                name->WordType = ObjectName;
            word.WordType = wordType = ReferencedName;
            word.ObjectIdentifier = text;
            return true;
        }
        if (name) {
            name->WordType = DeclarationName;
            for (int i = latest; i >= 0; --i)
                if (ReadWordAt(i) == name) {
                    CheckUpdates(i);
                    break;
                }
        }
        // The declaration takes its type from the word (CheckUpdates).
        word.WordType = wordType = DescriptionPart;
        return true;
    }
    // OnClick = Button1Click: the event calls the method of the form's class.
    const TVXWordElement *property = ReadWordAt(latest - 2);
    if (before && before->Word == QLatin1String("=") && property && IsIdentifier(text)
        && property->Word.size() > 2 && property->Word.startsWith(QLatin1String("On"))
        && (!ReadWordAt(latest - 3) || ReadWordAt(latest - 3)->RowID != property->RowID)) {
        word.WordType = wordType = CalledName;
        word.ObjectIdentifier = m_formClass.isEmpty() ? QStringLiteral("?") : m_formClass;
        return true;
    }
    if (wordType == Unknown)
        wordType = KnownWord;
    return true;
}

bool TVXLangDef_Delphi6::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    if (m_form) {
        FormWordType(text, wordType, word);
        return found;
    }
    if (literal)
        return found;
    const TVXWordElement *before = ReadWordAt(latest - 1);
    const TVXWordElement *beforeThat = ReadWordAt(latest - 2);

    // A routine's name: TForm1 . Button1Click, complete at the first other word.
    if (m_routineNameDue) {
        if (wordType == Unknown && IsIdentifier(text)
            && (m_routineName.isEmpty() || (before && before->Word == QLatin1String(".")))) {
            m_routineName << text;
            m_routineNameWord = {word.RowID, word.WordID};
            return found;
        }
        if (text == QLatin1String(".") && !m_routineName.isEmpty())
            return found;
        RoutineNameComplete(word);
    }
    // Name = class (Ancestor): a body follows unless a ";" or "of" does.
    if (m_typeDue) {
        if (m_ancestors) {
            if (wordType == ParenthesisClose) {
                m_ancestors = false;
                m_ancestorsDone = true;
            } else if (m_ancestor.isEmpty() && wordType == Unknown && IsIdentifier(text)) {
                m_ancestor = text;
                word.WordType = wordType = ReferencedName;
                word.ObjectIdentifier = text;
            }
            return found;
        }
        if (!m_ancestorsDone && wordType == ParenthesisOpen) {
            m_ancestors = true;
            return found;
        }
        if (!m_ancestorsDone && (wordType == StatementEnd || Is(text, "of"))) {
            m_typeDue = false;
        } else {
            OpenTypeBody(word);
            // TFoo = class(TBase); has no body of its own.
            if (wordType == StatementEnd) {
                CloseTypeBody();
                return found;
            }
        }
    }
    if (wordType == PartWord && before && before->Word == QLatin1String("="))
        wordType = TypeKind;

    switch (wordType) {
    case HeaderWord:
        if (m_part == Part::Header && m_blocks.isEmpty() && m_routines.isEmpty()) {
            m_fileNameDue = true;
            if (TVXObjectElement *file = FirstObject())
                file->ObjectType = text.toUpper();
            if (Is(text, "program") || Is(text, "library"))
                m_part = Part::Program;
        }
        return found;
    case PartWord:
        m_sectionKind = 0;
        if (Is(text, "interface")) {
            m_part = Part::Interface;
        } else if (Is(text, "implementation")) {
            m_part = Part::Implementation;
        } else {
            // initialization and finalization are code of the unit: entries of their own.
            while (!m_blocks.isEmpty() && m_blocks.last() == Block::Begin && !m_routines.isEmpty())
                EndBlock();
            bool closed = false;
            const TSection section{PartWord,       ManualEnd, VXSectionType::Entry,
                                   RoutineSection, QString(), true};
            OpenSection(section, latest, false, closed);
            if (TVXEntryElement *entry = CurrentEntry()) {
                entry->Name = text.toLower();
                if (const TVXObjectElement *unit = CurrentObject())
                    entry->ObjectIdentifier = unit->Identifier;
            }
            m_routines.append({m_blocks.size(), true, 0});
            m_blocks.append(Block::Begin);
        }
        return found;
    case UsesWord:
        m_usesKind = wordType;
        m_usesListed = Is(text, "contains");
        m_sectionKind = 0;
        return found;
    case SectionWord:
        m_sectionKind = Is(text, "type") || Is(text, "label") ? 0 : wordType;
        m_pending.clear();
        return found;
    case RoutineWord:
        // procedure of object, var P: function: a type, no routine.
        if (before && (before->Word == QLatin1String("=") || before->Word == QLatin1String(":")))
            return found;
        m_routineNameDue = true;
        m_routineName.clear();
        m_routineStart = {word.RowID, word.WordID};
        m_routineNameWord = {};
        m_sectionKind = 0;
        m_pending.clear();
        return found;
    case BeginWord:
        if (!m_routines.isEmpty() && !m_routines.last().BodyBegun
            && m_blocks.size() == m_routines.last().Blocks) {
            m_routines.last().BodyBegun = true;
        } else if (m_routines.isEmpty() && m_blocks.isEmpty() && m_part == Part::Program) {
            // A program's main block: an entry named like the program.
            bool closed = false;
            const TSection section{BeginWord,      ManualEnd, VXSectionType::Entry,
                                   RoutineSection, QString(), true};
            OpenSection(section, latest, false, closed);
            if (TVXEntryElement *entry = CurrentEntry())
                if (const TVXObjectElement *program = CurrentObject())
                    entry->Name = entry->ObjectIdentifier = program->Identifier;
            m_routines.append({0, true, 0});
        }
        m_blocks.append(Block::Begin);
        m_sectionKind = 0;
        return found;
    case CodeBlock:
        // The variant part of a record has no end of its own.
        if (!m_blocks.isEmpty() && m_blocks.last() == Block::TypeBody)
            wordType = KnownWord;
        else
            m_blocks.append(Block::Code);
        return found;
    case EndWord:
        EndBlock();
        return found;
    case Directive:
        // procedure X; forward; and external routines: declared, no body follows.
        if (!m_routines.isEmpty() && !m_routines.last().BodyBegun
            && m_blocks.size() == m_routines.last().Blocks) {
            if (const TVXEntryElement *entry = CurrentEntry())
                m_declaredEntries.insert(EntryKey(entry->ObjectID, entry->Name), entry->EntryID);
            CloseRoutine();
        }
        return found;
    case TypeKind:
        if (before && before->Word == QLatin1String("=") && beforeThat
            && IsIdentifier(beforeThat->Word)) {
            m_typeDue = true;
            m_typeName = beforeThat->Word;
            m_typeKind = Is(text, "dispinterface") ? QStringLiteral("interface") : text;
            m_typeNameWord = {beforeThat->RowID, beforeThat->WordID};
        } else if (before && Is(before->Word, "packed") && beforeThat
                   && beforeThat->Word == QLatin1String("=") && ReadWordAt(latest - 3)) {
            m_typeDue = true;
            m_typeName = ReadWordAt(latest - 3)->Word;
            m_typeKind = text;
            m_typeNameWord = {ReadWordAt(latest - 3)->RowID, ReadWordAt(latest - 3)->WordID};
        }
        wordType = KnownWord;
        return found;
    default:
        break;
    }

    if (m_fileNameDue && wordType == Unknown) {
        m_fileNameDue = false;
        word.WordType = wordType = ObjectName;
        return found;
    }
    // uses A, B in 'B.pas'; contains C: the units the file imports or holds.
    if (m_usesKind != 0) {
        if (wordType == StatementEnd) {
            m_usesKind = 0;
        } else if (wordType == Unknown && IsIdentifier(text)
                   && !(before && Is(before->Word, "in"))) {
            word.WordType = wordType = m_usesListed ? PackageMember : IncludedMember;
            word.ObjectIdentifier = text;
        }
        return found;
    }

    switch (wordType) {
    case ParenthesisOpen:
        ++m_parentheses;
        m_pending.clear();
        return found;
    case ParenthesisClose:
        m_parentheses = std::max(0, m_parentheses - 1);
        m_pending.clear();
        m_declarationTypeDue = false;
        return found;
    case StatementEnd:
        if (m_parentheses == 0)
            m_routineNameWord = {};
        m_pending.clear();
        m_declarationTypeDue = false;
        return found;
    default:
        break;
    }
    if (!InDeclarations())
        return found;

    // Declarations: Name1, Name2: Type; a typed constant; a parameter (var S: string).
    if (m_declarationTypeDue) {
        if (IsAnyOf(text, {"array", "of", "set", "packed", "file", "^", "const"})
            || wordType == BracketOpen || wordType == BracketClose || text == QLatin1String("..")
            || wordType == Constant || !IsIdentifier(text)) {
            if (wordType == Unknown)
                word.WordType = wordType = KnownWord;
            return found;
        }
        m_declarationTypeDue = false;
        DeclarePending(text);
        if (wordType == Unknown) {
            word.WordType = wordType = ReferencedName;
            word.ObjectIdentifier = text;
        }
        return found;
    }
    if (text == QLatin1String(":") && !m_pending.isEmpty()) {
        for (const Pending &pending : std::as_const(m_pending)) {
            for (int i = latest; i >= 0; --i) {
                TVXWordElement *name = WordAt(i);
                if (name->RowID == pending.RowID && name->WordID == pending.WordID) {
                    name->WordType = DeclarationName;
                    CheckUpdates(i);
                    break;
                }
                if (name->RowID < pending.RowID)
                    break;
            }
        }
        m_typed = m_pending;
        m_pending.clear();
        m_declarationTypeDue = true;
        return found;
    }
    if (wordType == Unknown && IsIdentifier(text)) {
        const bool listed = !before || before->WordType == StatementEnd || before->WordType == Comma
                            || before->WordType == ParenthesisOpen
                            || before->WordType == SectionWord || before->WordType == TypeKind
                            || IsAnyOf(before->Word, {"var", "const", "out", "private", "protected",
                                                      "public", "published", "property"})
                            || before->WordType == KnownWord;
        if (listed && !(before && before->Word == QLatin1String(":"))) {
            m_pending.append({word.RowID, word.WordID});
            return found;
        }
        // What stands in a declaration besides names and types (array bounds, defaults).
        word.WordType = wordType = KnownWord;
    }
    return found;
}

// ---- Identifiers -------------------------------------------------------------------------

void TVXLangDef_Delphi6::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word || m_form || word->WordType != Unknown || !IsIdentifier(word->Word))
        return;
    if (LatestDeclarationOf(index) >= 0) {
        word->WordType = VariableReference;
        return;
    }
    if (word->EntryID == 0)
        return;
    const TVXWordElement *before = ReadWordAt(index - 1);
    const TVXWordElement *after = ReadWordAt(index + 1);
    const bool assigned = after && after->WordType == Assignment;
    const bool qualifies = after && after->WordType == Qualifier;
    const bool arguments = after && after->WordType == ParenthesisOpen;
    if (assigned) {
        word->WordType = VariableReference;
        return;
    }
    const TVXObjectElement *holder = ObjectWithID(word->ObjectID);
    if (before && Is(before->Word, "inherited")) {
        // inherited Create(AOwner): the method of the class's ancestor.
        word->WordType = CalledName;
        word->ObjectIdentifier
                = holder && !holder->Inherits.isEmpty() ? holder->Inherits : QStringLiteral("?");
        return;
    }
    if (before && before->WordType == Qualifier) {
        if (qualifies)
            return;
        // The first word of the chain (Form1.Memo1.Lines.Add) tells a statement from an
        // expression.
        int first = index - 2;
        while (ReadWordAt(first - 1) && ReadWordAt(first - 1)->WordType == Qualifier)
            first -= 2;
        const bool statement = EndsStatementBefore(ReadWordAt(first - 1));
        if (!arguments && !statement)
            return;
        const TVXWordElement *receiver = ReadWordAt(index - 2);
        QString type;
        if (receiver && Is(receiver->Word, "Self") && holder)
            type = holder->Identifier;
        else if (receiver && !IsVariableDeclaredAs(index - 2, type) && IsIdentifier(receiver->Word))
            // TCustomer.Create, Unit1.Log: a class or unit named as it is.
            type = receiver->Word;
        word->WordType = CalledName;
        word->ObjectIdentifier = type.isEmpty() ? QStringLiteral("?") : type;
        return;
    }
    if (qualifies)
        return;
    // on E: EConvertError do: the class of the exception the handler takes.
    if (before && before->Word == QLatin1String(":") && ReadWordAt(index - 3)
        && Is(ReadWordAt(index - 3)->Word, "on")) {
        word->WordType = ReferencedName;
        word->ObjectIdentifier = word->Word;
        return;
    }
    if (arguments || EndsStatementBefore(before))
        word->WordType = CalledName;
}

// ---- Saving ------------------------------------------------------------------------------

void TVXLangDef_Delphi6::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    if (TVXObjectElement *file = FirstObject()) {
        // A file without its unit statement is named after the file.
        if (file->Name.contains(QLatin1Char('.'))) {
            file->Name = file->Identifier = QFileInfo(m_fileName).completeBaseName();
            if (file->ObjectType.isEmpty())
                file->ObjectType = m_form ? QStringLiteral("FORM") : QStringLiteral("UNIT");
        }
        file->Icon = GetObjectIconByType(file->ObjectType);
        if (file->Icon == 0)
            file->Icon = GetObjectIconDefault();
    }
    ResetFileState();
    m_stateFile.clear();
}

void TVXLangDef_Delphi6::ResetFileState()
{
    m_part = Part::Header;
    m_blocks.clear();
    m_routines.clear();
    m_fileNameDue = m_routineNameDue = m_typeDue = m_ancestors = m_ancestorsDone = false;
    m_usesKind = 0;
    m_usesListed = false;
    m_routineName.clear();
    m_routineStart = m_routineNameWord = m_typeNameWord = {};
    m_typeName.clear();
    m_typeKind.clear();
    m_ancestor.clear();
    m_sectionKind = 0;
    m_parentheses = 0;
    m_pending.clear();
    m_typed.clear();
    m_declarationTypeDue = false;
    m_declaredEntries.clear();
    m_formClass.clear();
    m_componentDue = m_componentTypeDue = m_formNamed = false;
    m_componentName.clear();
}

VELUNOR_PACKAGE("LangDef_Delphi6")
{
    package.RegisterClass<TVXLangDef_Delphi6>(QStringLiteral("TVXLangDef_Delphi6"));
}
