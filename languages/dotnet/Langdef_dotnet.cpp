// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/dotnet/Langdef_dotnet.h"

#include "base/Package.h"

#include "parsing/Keywordtext.h"

#include <QFileInfo>

using namespace VXWordType;
using namespace VXKeyword;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType RoutineWord = 99401;
constexpr TWordType TypeWord = 99402;
constexpr TWordType NamespaceWord = 99403;
constexpr TWordType EndWord = 99404;
constexpr TWordType Dim = 99405;
constexpr TWordType As = 99406;
constexpr TWordType DeclarationOnly = 99407;
constexpr TWordType ReferenceWord = 99408;
constexpr TWordType ImportsWord = 99409;
constexpr TWordType Exit = 99410;

// The sections that this definition opens it also closes: their end code is none that a
// word takes before the file's end.
constexpr TWordType ManualEnd = EndOfFile;

// Section numbers.
constexpr int FileObject = 10;
constexpr int TypeSection = 20;
constexpr int RoutineSection = 30;

qint64 NameKey(int rowID, int wordID)
{
    return (qint64(rowID) << 32) | quint32(wordID);
}

// The file name without the folders before it (Forms\Main.vb, ~/Default.aspx.vb).
QString WithoutFolder(const QString &path)
{
    QString name = path;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name.section(QLatin1Char('/'), -1);
}

} // namespace

TVXLangDef_DotNet::TVXLangDef_DotNet(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 30350;
    m_languageName = QStringLiteral("DotNet");
    m_fileExtensions = QStringLiteral(".vb;.aspx;.vbproj;");
    m_columnSetting = 2;
    m_nestedObjects = true;
    m_qualifiedCalls = true;
    m_noIcons = true;
    m_noAssignmentHeuristic = true;
    m_inheritance = true;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("<!--"), BlockCommentStart);
    SetFBreakWords(QStringLiteral("-->"), BlockCommentEnd);
    SetFBreakWords(QStringLiteral("'"), LineCommentStart);
    SetFBreakWords(QStringLiteral("\""), MainDelimiter);
    SetFBreakWords(QStringLiteral(":"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("."), Qualifier);
    for (const char *markup : {"<%@", "<%", "%>", "</", "/>"})
        SetFBreakWords(QString::fromLatin1(markup), KnownWord);
    for (const char *comparison : {"<>", "<=", ">=", "=", "<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    for (const char *op : {"+=", "-=", "&=", "+", "-", "*", "/", "\\", "^", "&"})
        SetFBreakWords(QString::fromLatin1(op), Operator);

    // Namespaces, types and routines open at their names; End closes them.
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, FileObject, QString(), true);

    for (const char *word : {"sub", "function", "property", "operator"})
        SetFWords(QString::fromLatin1(word), -1, RoutineWord);
    for (const char *word : {"class", "module", "structure", "interface"})
        SetFWords(QString::fromLatin1(word), -1, TypeWord);
    SetFWords(QStringLiteral("namespace"), -1, NamespaceWord);
    SetFWords(QStringLiteral("end"), -1, EndWord);
    for (const char *word : {"dim", "private", "public", "friend", "protected", "shared", "const",
                             "readonly", "static", "withevents", "shadows", "overloads"})
        SetFWords(QString::fromLatin1(word), -1, Dim);
    SetFWords(QStringLiteral("as"), -1, As);
    for (const char *word : {"mustoverride", "declare", "delegate", "event"})
        SetFWords(QString::fromLatin1(word), -1, DeclarationOnly);
    for (const char *word : {"inherits", "implements"})
        SetFWords(QString::fromLatin1(word), -1, ReferenceWord);
    SetFWords(QStringLiteral("imports"), -1, ImportsWord);
    SetFWords(QStringLiteral("exit"), -1, Exit);
    SetFWords(QStringLiteral("call"), -1, Call);
    for (const char *word : {"if",
                             "then",
                             "else",
                             "elseif",
                             "select",
                             "case",
                             "for",
                             "each",
                             "next",
                             "to",
                             "step",
                             "in",
                             "do",
                             "loop",
                             "while",
                             "until",
                             "wend",
                             "with",
                             "try",
                             "catch",
                             "finally",
                             "throw",
                             "return",
                             "using",
                             "synclock",
                             "not",
                             "and",
                             "or",
                             "andalso",
                             "orelse",
                             "xor",
                             "mod",
                             "is",
                             "isnot",
                             "like",
                             "new",
                             "nothing",
                             "true",
                             "false",
                             "me",
                             "mybase",
                             "myclass",
                             "byval",
                             "byref",
                             "optional",
                             "paramarray",
                             "of",
                             "overrides",
                             "overridable",
                             "mustinherit",
                             "notinheritable",
                             "notoverridable",
                             "partial",
                             "default",
                             "get",
                             "set",
                             "let",
                             "lib",
                             "alias",
                             "addressof",
                             "addhandler",
                             "removehandler",
                             "raiseevent",
                             "handles",
                             "option",
                             "strict",
                             "explicit",
                             "on",
                             "off",
                             "integer",
                             "long",
                             "short",
                             "byte",
                             "string",
                             "boolean",
                             "double",
                             "single",
                             "decimal",
                             "date",
                             "char",
                             "object",
                             "ctype",
                             "directcast",
                             "trycast",
                             "cstr",
                             "cint",
                             "clng",
                             "cdbl",
                             "cbool",
                             "cdate",
                             "gettype",
                             "typeof",
                             "narrowing",
                             "widening",
                             "enum",
                             "goto",
                             "resume",
                             "error",
                             "stop",
                             "redim",
                             "preserve",
                             "erase",
                             "continue",
                             "global",
                             "custom",
                             "iterator",
                             "async",
                             "await",
                             "yield",
                             "msgbox",
                             "writeonly"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    SetFObjectIcons(QString(), QStringLiteral("ASPX_PAGE"), VXIcon::Form);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

// ---- Cutting rows ------------------------------------------------------------------------

bool TVXLangDef_DotNet::IsWordBreak(const QString &row, int position, int &length,
                                    TWordType &wordType, QChar &replacement)
{
    if (m_mode == Mode::Source && !InLiteral() && !InComment()) {
        const QChar c = row[position - 1];
        // " _" at the end of a row continues the statement on the next.
        if (c == QLatin1Char('_') && position > 1 && row[position - 2] == QLatin1Char(' ')
            && QStringView(row).mid(position).trimmed().isEmpty()) {
            length = 1;
            wordType = WhiteSpace;
            return true;
        }
        // REM as the first word of a statement comments the rest of the row.
        if (position == m_textColumn
            && QStringView(row).mid(position - 1, 4)
                               .compare(QLatin1String("rem "), Qt::CaseInsensitive)
                       == 0) {
            length = 3;
            wordType = LineCommentStart;
            return true;
        }
    }
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

int TVXLangDef_DotNet::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    if (from == 1 && m_stateFile != m_fullFileName) {
        ResetFileState();
        m_stateFile = m_fullFileName;
        const QString extension = QFileInfo(m_fileName).suffix().toLower();
        m_mode = extension == QLatin1String("aspx")     ? Mode::Page
                 : extension == QLatin1String("vbproj") ? Mode::Project
                                                        : Mode::Source;
    }
    if (from == 1) {
        if (m_mode == Mode::Source) {
            m_inMainLiteral = false;
            m_textColumn = 1;
            while (m_textColumn <= row.size() && row[m_textColumn - 1].isSpace())
                ++m_textColumn;
            m_continuedStatement = m_continued;
            if (m_continued)
                m_continuationRows.insert(m_rowID);
            m_continued = QStringView(row).trimmed().endsWith(QLatin1String(" _"));
        }
    }
    // In markup an attribute's value is one word: a file name, a class, a handler.
    if (m_mode != Mode::Source && InLiteral()) {
        const qsizetype quote = row.indexOf(QLatin1Char('"'), from - 1);
        if (quote < 0)
            return int(row.size()) + 1;
        length = 1;
        wordType = MainDelimiter;
        return int(quote) + 1;
    }
    return ScanForBreak(row, from, length, wordType, [&row, this](int position) {
        return m_mode != Mode::Source
               || (position > 1 && position != m_textColumn
                   && row[position - 1] != QLatin1Char('_'));
    });
}

// ---- Objects and entries -----------------------------------------------------------------

void TVXLangDef_DotNet::OpenType(const QString &kind, const QString &name)
{
    bool closed = false;
    const TSection section{TypeWord,    ManualEnd, VXSectionType::Object,
                           TypeSection, QString(), true};
    OpenSection(section, LatestIndex(), false, closed);
    TVXObjectElement *object = CurrentObject();
    if (!object)
        return;
    object->Name = object->Identifier = name;
    object->ObjectType = kind.toUpper();
    object->Scope = m_namespaces.join(QLatin1Char('.'));
    object->Icon = VXIcon::DefaultObject;
    if (!m_classes.isEmpty()) {
        object->Name = m_classes.last() + QLatin1Char('.') + name;
        object->SubObjectParentName = m_classes.last().section(QLatin1Char('.'), -1);
        object->Icon = VXIcon::NestedObject;
    }
    m_classes << object->Name;
    m_opened << Opened::Type;
}

void TVXLangDef_DotNet::OpenRoutine(const QString &name)
{
    bool closed = false;
    const TSection section{RoutineWord,    ManualEnd, VXSectionType::Entry,
                           RoutineSection, QString(), true};
    OpenSection(section, LatestIndex(), false, closed);
    if (TVXEntryElement *entry = CurrentEntry()) {
        entry->Name = name;
        if (const TVXObjectElement *object = CurrentObject())
            entry->ObjectIdentifier = object->Identifier;
    }
    m_opened << Opened::Routine;
}

void TVXLangDef_DotNet::CloseOpened(Opened kind)
{
    // End Class closes the class, and a routine that an error left open in it.
    const qsizetype at = m_opened.lastIndexOf(kind);
    if (at < 0)
        return;
    while (m_opened.size() > at) {
        const Opened closing = m_opened.takeLast();
        bool closed = false;
        if (m_sectionStack.size() > 1)
            CloseInnermostSection(closed);
        if (closing == Opened::Type && !m_classes.isEmpty())
            m_classes.removeLast();
        if (closing == Opened::Namespace && !m_namespaces.isEmpty())
            m_namespaces.removeLast();
    }
    m_propertyPending = false;
}

void TVXLangDef_DotNet::EndAutomaticProperty(int rowID)
{
    // Property Name As String: no Get or Set followed, no End Property will. The row that
    // showed it belongs to what holds the property.
    if (m_opened.isEmpty() || m_opened.last() != Opened::Routine)
        return;
    CloseOpened(Opened::Routine);
    MoveWordsSince(rowID, 0, m_currentObject, m_currentEntry);
}

// ---- Words -------------------------------------------------------------------------------

bool TVXLangDef_DotNet::MarkupWordType(const QString &text, TWordType &wordType,
                                       TVXWordElement &word)
{
    const int latest = LatestIndex();
    const TVXWordElement *before = ReadWordAt(latest - 1);
    if (before
        && (before->Word == QLatin1String("<") || before->Word == QLatin1String("<%@")
            || before->Word == QLatin1String("</"))) {
        m_element = text;
        wordType = KnownWord;
        if (m_element.contains(QLatin1Char(':')))
            m_element = m_element.section(QLatin1Char(':'), -1);
        return true;
    }
    if (text == QLatin1String(">") || text == QLatin1String("/>") || text == QLatin1String("%>")) {
        // <File RelPath = "Customer.vb" BuildAction = "Compile" />: a compiled file.
        if (Is(m_element, "File") && !m_relativePath.isEmpty())
            m_packageList.append({m_assembly, m_relativePath, 0, 0});
        m_relativePath.clear();
        return true;
    }
    if (wordType == MainDelimiter && text != QLatin1String("\"")) {
        const TVXWordElement *attribute = ReadWordAt(latest - 3);
        const QString name = attribute ? attribute->Word : QString();
        const QString value = text.trimmed();
        if (m_mode == Mode::Page) {
            if (Is(name, "Inherits")) {
                m_pageClass = value.section(QLatin1Char('.'), -1);
                if (TVXObjectElement *page = FirstObject()) {
                    page->Inherits = m_pageClass;
                    page->InheritsParentName = value.section(QLatin1Char('.'), 0, -2);
                }
                word.WordType = wordType = ReferencedName;
                word.ObjectIdentifier = m_pageClass;
            } else if (IsAnyOf(name, {"CodeBehind", "CodeFile", "Src"})) {
                word.WordType = wordType = IncludedMember;
                word.ObjectIdentifier = WithoutFolder(value);
            } else if (name.size() > 2 && name.startsWith(QLatin1String("On"), Qt::CaseInsensitive)
                       && IsIdentifier(value)) {
                // OnClick="btnSave_Click": the handler of the page's class.
                word.WordType = wordType = CalledName;
                word.ObjectIdentifier = m_pageClass.isEmpty() ? QStringLiteral("?") : m_pageClass;
            }
            return true;
        }
        if (Is(name, "AssemblyName")) {
            m_assembly = value;
        } else if (Is(m_element, "Compile") && Is(name, "Include")) {
            const QString file = WithoutFolder(value);
            m_packageList.append({m_assembly, file.section(QLatin1Char('.'), 0, -2), 0, 0});
            word.WordType = wordType = IncludedMember;
            word.ObjectIdentifier = file;
        } else if (Is(m_element, "File") && Is(name, "RelPath")) {
            m_relativePath = WithoutFolder(value).section(QLatin1Char('.'), 0, -2);
            word.WordType = wordType = IncludedMember;
            word.ObjectIdentifier = WithoutFolder(value);
        } else if (Is(m_element, "File") && Is(name, "BuildAction") && !Is(value, "Compile")) {
            m_relativePath.clear();
            m_element.clear();
        }
        return true;
    }
    // <AssemblyName>Billing</AssemblyName>
    if (Is(m_element, "AssemblyName") && before && before->Word == QLatin1String(">")
        && wordType == Unknown)
        m_assembly = text;
    if (wordType == Unknown)
        wordType = KnownWord;
    return true;
}

bool TVXLangDef_DotNet::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    if (m_mode != Mode::Source) {
        MarkupWordType(text, wordType, word);
        return found;
    }
    if (literal) {
        if (text != QLatin1String("\"")) {
            m_sql.Type(word, text);
            if (word.WordType == TableName)
                wordType = TableName;
        }
        return found;
    }
    TVXWordElement *before = WordAt(latest - 1);
    const bool sameRow = before && before->RowID == word.RowID;

    // A statement ends with its row (unless the row ends in " _") or at ":".
    const bool newStatement
            = (!sameRow && !m_continuedStatement) || (before && before->WordType == StatementEnd);
    if (newStatement) {
        m_dimStatement = m_declarationDue = m_typeDue = m_declarationOnly = false;
        m_routineHeader = false;
        m_routineNameDue = m_namespaceDue = m_newDue = false;
        m_parameters = false;
        m_parentheses = 0;
        m_typeKindDue.clear();
        m_referenceDue = 0;
        m_sql.Reset();
        // Property Name As String with no Get or Set after it ended with its row.
        if (m_propertyPending && !sameRow) {
            m_propertyPending = false;
            // Private Set(...): the modifier is not yet the answer; the next word is.
            if (IsAnyOf(text, {"Public", "Private", "Protected", "Friend"}))
                m_propertyModifierRow = word.RowID;
            else if (!Is(text, "Get") && !Is(text, "Set") && text != QLatin1String("<"))
                EndAutomaticProperty(word.RowID);
        }
    } else if (m_propertyModifierRow == word.RowID) {
        m_propertyModifierRow = 0;
        if (!Is(text, "Get") && !Is(text, "Set"))
            EndAutomaticProperty(word.RowID);
    }

    // End Sub, End Class, End Namespace: the block's end; Exit Sub: none.
    if (before && sameRow && before->WordType == EndWord) {
        before->WordType = KnownWord;
        if (wordType == RoutineWord) {
            CloseOpened(Opened::Routine);
            wordType = EndOfBlock;
        } else if (wordType == TypeWord) {
            CloseOpened(Opened::Type);
            wordType = EndOfBlock;
        } else if (wordType == NamespaceWord) {
            CloseOpened(Opened::Namespace);
            wordType = EndOfBlock;
        } else if (wordType == Unknown) {
            wordType = KnownWord;
        }
        return found;
    }
    if (before && sameRow && before->WordType == Exit) {
        if (wordType != Unknown)
            wordType = KnownWord;
        return found;
    }

    switch (wordType) {
    case EndWord:
    case Exit:
        return found;
    case ImportsWord:
        m_namespaceName.clear();
        m_namespaceDue = true;
        return found;
    case NamespaceWord:
        m_namespaceName.clear();
        m_namespaceDue = true;
        m_typeKindDue = QStringLiteral("namespace");
        return found;
    case TypeWord:
        m_typeKindDue = text;
        m_declarationDue = false;
        return found;
    case RoutineWord:
        m_routineNameDue = true;
        m_declarationDue = false;
        m_dimStatement = false;
        m_typeKindDue = text;
        return found;
    case DeclarationOnly:
        m_declarationOnly = true;
        // Event Changed(...) declares as Sub does.
        if (Is(text, "Event")) {
            m_routineNameDue = true;
            m_typeKindDue = QStringLiteral("event");
        }
        return found;
    case ReferenceWord:
        m_referenceDue = Is(text, "Inherits") ? 1 : 2;
        return found;
    case Dim:
        m_declarationDue = true;
        m_dimStatement = true;
        return found;
    case As:
        m_typeDue = before
                    && (before->WordType == DeclarationName
                        || (before->WordType == ParenthesisClose && m_dimStatement));
        m_declarationDue = false;
        return found;
    case ParenthesisOpen:
        m_typeDue = false;
        if (++m_parentheses == 1 && m_parameters)
            m_declarationDue = true;
        return found;
    case ParenthesisClose:
        m_typeDue = false;
        if (--m_parentheses <= 0) {
            m_parentheses = 0;
            m_parameters = false;
        }
        return found;
    case Comma:
        m_typeDue = false;
        if ((m_dimStatement && m_parentheses == 0) || (m_parameters && m_parentheses == 1))
            m_declarationDue = true;
        return found;
    default:
        break;
    }

    // Imports System.Data, Namespace Billing.Core: the name in its parts.
    if (m_namespaceDue) {
        if (text == QLatin1String("."))
            return found;
        if (!IsIdentifier(text)) {
            m_namespaceDue = false;
            return found;
        }
        const bool opening = m_typeKindDue == QLatin1String("namespace");
        m_namespaceName << text;
        const QString full = m_namespaceName.join(QLatin1Char('.'));
        if (opening && m_namespaceName.size() == 1) {
            bool closed = false;
            const TSection section{NamespaceWord, ManualEnd, VXSectionType::Object,
                                   TypeSection,   QString(), true};
            OpenSection(section, latest, false, closed);
            m_namespaces << full;
            m_opened << Opened::Namespace;
            if (TVXObjectElement *object = CurrentObject()) {
                object->ObjectType = QStringLiteral("NAMESPACE");
                object->Icon = VXIcon::DefaultObject;
            }
        }
        if (opening) {
            const QString outer
                    = m_namespaces.mid(0, m_namespaces.size() - 1).join(QLatin1Char('.'));
            const QString name = outer.isEmpty() ? full : outer + QLatin1Char('.') + full;
            m_namespaces.last() = name;
            if (TVXObjectElement *object = CurrentObject())
                object->Name = object->Identifier = name;
            NameWordLater(word);
            return found;
        }
        // Only the last part names the namespace the file imports.
        for (int i = latest - 1; i >= 0 && ReadWordAt(i)->RowID == word.RowID; --i)
            if (WordAt(i)->WordType == IncludedMember)
                WordAt(i)->WordType = KnownWord;
        word.WordType = wordType = IncludedMember;
        word.ObjectIdentifier = full;
        return found;
    }
    // Class Customer, Sub Save, Property Name: the name opens what its keyword begins.
    if (!m_typeKindDue.isEmpty() && (wordType == Unknown || Is(text, "New"))
        && (IsIdentifier(text))) {
        const QString kind = m_typeKindDue;
        m_typeKindDue.clear();
        if (m_routineNameDue) {
            m_routineNameDue = false;
            const bool inInterface = !m_opened.isEmpty() && m_opened.last() == Opened::Type
                                     && CurrentObject()
                                     && CurrentObject()->ObjectType == QLatin1String("INTERFACE");
            if (m_declarationOnly || inInterface) {
                AddDeclaredEntry(text);
                word.WordType = wordType = EntryName;
            } else {
                OpenRoutine(text);
                word.WordType = wordType = SectionOrParagraphName;
                m_propertyPending = Is(kind, "Property");
            }
            m_parameters = true;
            m_routineHeader = true;
            return found;
        }
        OpenType(kind, text);
        NameWordLater(word);
        return found;
    }
    // Inherits Base, Implements IFoo, IBar: what the type builds on.
    if (m_referenceDue != 0 && IsIdentifier(text)) {
        // Sub Save() Implements IPersistent.Save: the interface, not its member.
        if (m_routineHeader && before && before->WordType == Qualifier)
            return found;
        word.WordType = wordType = ReferencedName;
        word.ObjectIdentifier = text;
        if (before && before->WordType == Qualifier) {
            // System.Web.UI.Page: the last part is the class.
            if (TVXWordElement *qualifier = WordAt(latest - 2);
                qualifier && qualifier->WordType == ReferencedName)
                qualifier->WordType = KnownWord;
        }
        if (m_referenceDue == 1 && !m_opened.isEmpty() && m_opened.last() == Opened::Type)
            if (TVXObjectElement *object = CurrentObject())
                object->Inherits = text;
        return found;
    }
    // As [New] Type: the type of what was just declared.
    if (m_typeDue) {
        if (Is(text, "New"))
            return found;
        if (text == QLatin1String("."))
            return found;
        if (IsIdentifier(text)) {
            if (!m_declarations.isEmpty()) {
                m_declarations.last().Type = text;
                UpdateLatestVariableDefinition(latest, false);
            }
            if (wordType == Unknown) {
                word.WordType = wordType = ReferencedName;
                word.ObjectIdentifier = text;
                if (TVXWordElement *qualifier = WordAt(latest - 2);
                    before && before->WordType == Qualifier && qualifier
                    && qualifier->WordType == ReferencedName)
                    qualifier->WordType = KnownWord;
            }
            return found;
        }
        m_typeDue = false;
    }
    if (m_declarationDue && wordType == Unknown && IsIdentifier(text)) {
        m_declarationDue = false;
        word.WordType = wordType = DeclarationName;
        CheckUpdates(latest);
        return found;
    }
    if (m_declarationDue && wordType == KnownWord)
        return found;
    m_declarationDue = false;
    return found;
}

// ---- Identifiers -------------------------------------------------------------------------

void TVXLangDef_DotNet::NameWordLater(const TVXWordElement &word)
{
    // The name of a namespace or type: typed once the checks reach it, so that the engine's
    // own naming (the word's text as the object's name) leaves Billing.Core and Outer.Inner
    // as they were made.
    m_objectNameWords.insert(NameKey(word.RowID, word.WordID));
}

void TVXLangDef_DotNet::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (word && m_objectNameWords.remove(NameKey(word->RowID, word->WordID))) {
        word->WordType = ObjectName;
        return;
    }
    if (!word || m_mode != Mode::Source || word->WordType != Unknown || !IsIdentifier(word->Word))
        return;
    if (LatestDeclarationOf(index) >= 0) {
        word->WordType = VariableReference;
        return;
    }
    if (word->EntryID == 0)
        return;
    const TVXWordElement *before = ReadWordAt(index - 1);
    const TVXWordElement *after = ReadWordAt(index + 1);
    const bool sameRowAfter = after && after->RowID == word->RowID;
    const bool arguments = sameRowAfter && after->WordType == ParenthesisOpen;
    const bool qualifies = sameRowAfter && after->WordType == Qualifier;
    const bool assigned = sameRowAfter && after->Word == QLatin1String("=");
    const TVXObjectElement *holder = ObjectWithID(word->ObjectID);
    const auto startsStatement = [this](const TVXWordElement *previous,
                                        const TVXWordElement *first) {
        return !previous
               || (previous->RowID != first->RowID && !m_continuationRows.contains(first->RowID))
               || previous->WordType == StatementEnd
               || IsAnyOf(previous->Word, {"Then", "Else", "Call"});
    };
    if (before && IsAnyOf(before->Word, {"New", "AddressOf"})) {
        // New Customer(...) makes a Customer; AddressOf OnSave names a handler.
        word->WordType = CalledName;
        word->ObjectIdentifier = Is(before->Word, "New") ? word->Word : QString();
        return;
    }
    if (before && before->WordType == Qualifier) {
        if (qualifies || assigned)
            return;
        int first = index - 2;
        while (ReadWordAt(first - 1) && ReadWordAt(first - 1)->WordType == Qualifier)
            first -= 2;
        const TVXWordElement *chain = ReadWordAt(first);
        if (!chain || (!arguments && !startsStatement(ReadWordAt(first - 1), chain)))
            return;
        const TVXWordElement *receiver = ReadWordAt(index - 2);
        QString type;
        if (receiver && IsAnyOf(receiver->Word, {"Me", "MyClass"}) && holder)
            type = holder->Identifier;
        else if (receiver && Is(receiver->Word, "MyBase") && holder)
            type = holder->Inherits;
        else if (receiver && !IsVariableDeclaredAs(index - 2, type) && IsIdentifier(receiver->Word))
            type = receiver->Word;
        word->WordType = CalledName;
        word->ObjectIdentifier = type.isEmpty() ? QStringLiteral("?") : type;
        return;
    }
    if (qualifies || assigned)
        return;
    if (arguments || startsStatement(before, word))
        word->WordType = CalledName;
}

// ---- Saving ------------------------------------------------------------------------------

void TVXLangDef_DotNet::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    if (TVXObjectElement *file = FirstObject()) {
        file->Name = file->Identifier = m_fileName;
        file->ObjectType = m_mode == Mode::Page      ? QStringLiteral("ASPX_PAGE")
                           : m_mode == Mode::Project ? QStringLiteral("VBPROJ")
                                                     : QStringLiteral("VB_SOURCE");
        file->Icon = GetObjectIconByType(file->ObjectType);
        if (file->Icon == 0)
            file->Icon = GetObjectIconDefault();
    }
    // Members listed before the assembly's name was read belong to it as well.
    const QString package
            = m_assembly.isEmpty() ? QFileInfo(m_fileName).completeBaseName() : m_assembly;
    for (TVXPackageElement &element : m_packageList)
        if (element.PackageName.isEmpty())
            element.PackageName = package;
    ResetFileState();
    m_stateFile.clear();
}

void TVXLangDef_DotNet::ResetFileState()
{
    m_opened.clear();
    m_namespaces.clear();
    m_classes.clear();
    m_typeKindDue.clear();
    m_routineNameDue = m_declarationOnly = m_namespaceDue = m_propertyPending = false;
    m_propertyModifierRow = 0;
    m_namespaceName.clear();
    m_referenceDue = 0;
    m_declarationDue = m_typeDue = m_dimStatement = m_parameters = m_newDue = false;
    m_parentheses = 0;
    m_continued = m_continuedStatement = false;
    m_textColumn = 1;
    m_sql.Reset();
    m_declaredEntries.clear();
    m_objectNameWords.clear();
    m_continuationRows.clear();
    m_routineHeader = false;
    m_element.clear();
    m_attribute.clear();
    m_pageClass.clear();
    m_assembly.clear();
    m_relativePath.clear();
}

VELUNOR_PACKAGE("LangDef_DotNet")
{
    package.RegisterClass<TVXLangDef_DotNet>(QStringLiteral("TVXLangDef_DotNet"));
}
