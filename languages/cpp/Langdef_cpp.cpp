// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/cpp/Langdef_cpp.h"

#include "base/Package.h"

#include "parsing/Keywordtext.h"

#include <QFileInfo>

using namespace VXWordType;
using VXKeyword::IsIdentifier;

namespace {

// Codes that only this language gives its words.
constexpr TWordType BraceOpen = 99401;
constexpr TWordType BraceClose = 99402;
constexpr TWordType ClassEnd = 99403;
constexpr TWordType FunctionEnd = 99404;
constexpr TWordType MethodEnd = 99405;
constexpr TWordType TypeKeyword = 99406;
constexpr TWordType Hash = 99407;

// Section numbers.
constexpr int FileObject = 10;
constexpr int ClassSection = 20;
constexpr int FunctionSection = 30;

bool IsAnyOf(const QString &text, std::initializer_list<const char *> words)
{
    for (const char *word : words)
        if (text == QLatin1String(word))
            return true;
    return false;
}

bool IsAccess(const QString &text)
{
    return IsAnyOf(text,
                   {"public", "protected", "private", "signals", "slots", "Q_SIGNALS", "Q_SLOTS"});
}

// Words that may stand before a declaration's type.
bool IsSpecifier(const QString &text)
{
    return IsAnyOf(text,
                   {"const",    "static",   "extern",   "inline",    "virtual",      "mutable",
                    "volatile", "unsigned", "signed",   "struct",    "class",        "union",
                    "enum",     "typename", "register", "constexpr", "thread_local", "friend",
                    "long",     "short",    "explicit"});
}

// Pointers that name the class they point to in their template argument.
bool IsSmartPointer(const QString &text)
{
    return IsAnyOf(text, {"unique_ptr", "shared_ptr", "weak_ptr", "auto_ptr", "QPointer",
                          "QSharedPointer", "QScopedPointer", "QWeakPointer", "CComPtr"});
}

qint64 EntryKey(int objectID, int entryID)
{
    return (qint64(objectID) << 32) | quint32(entryID);
}

} // namespace

TVXLangDef_CPP::TVXLangDef_CPP(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 30340;
    m_languageName = QStringLiteral("CPP");
    m_fileExtensions = QStringLiteral(".c;.cc;.cpp;.h;.hh;.hpp;");
    m_columnSetting = 2;
    // Customer customer; is the commonest declaration there is: C++ names differ by case.
    m_caseSensitive = true;
    m_nestedObjects = true;
    m_languageSwitching = true;
    m_qualifiedCalls = true;
    m_unknownIdentifiers = true;
    m_noIcons = true;
    m_importsByFileName = true;
    m_inheritance = true;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("//"), LineCommentStart);
    SetFBreakWords(QStringLiteral("/*"), BlockCommentStart);
    SetFBreakWords(QStringLiteral("*/"), BlockCommentEnd);
    // Escapes first, so that an escaped quote ends no literal.
    SetFBreakWords(QStringLiteral("\\\\"), KnownWord);
    SetFBreakWords(QStringLiteral("\\\""), KnownWord);
    SetFBreakWords(QStringLiteral("\\'"), KnownWord);
    SetFBreakWords(QStringLiteral("\""), MainDelimiter);
    SetFBreakWords(QStringLiteral("'"), SecondaryDelimiter);
    SetFBreakWords(QStringLiteral(";"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("{"), BraceOpen);
    SetFBreakWords(QStringLiteral("}"), BraceClose);
    SetFBreakWords(QStringLiteral("["), BracketOpen);
    SetFBreakWords(QStringLiteral("]"), BracketClose);
    SetFBreakWords(QStringLiteral("#"), Hash);
    SetFBreakWords(QStringLiteral("::"), ScopeOperator);
    SetFBreakWords(QStringLiteral("->"), Qualifier);
    SetFBreakWords(QStringLiteral("."), Qualifier);
    for (const char *comparison : {"==", "!=", "<=", ">="})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    for (const char *assignment :
         {"<<=", ">>=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "="})
        SetFBreakWords(QString::fromLatin1(assignment), Assignment);
    for (const char *op : {"<<", ">>", "&&", "||", "++", "--"})
        SetFBreakWords(QString::fromLatin1(op), Operator);
    for (const char *comparison : {"<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    for (const char *op : {"+", "-", "*", "/", "%", "&", "|", "^", "!", "~", "?"})
        SetFBreakWords(QString::fromLatin1(op), Operator);
    SetFBreakWords(QStringLiteral(":"), KnownWord);

    // Classes and functions open at their braces once what stood before the brace says
    // which it is (OpenBrace); their closing braces end them.
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, FileObject, QString(), true);

    for (const char *word :
         {"void",    "bool",    "char",     "wchar_t",   "char8_t",  "char16_t", "char32_t",
          "short",   "int",     "long",     "float",     "double",   "signed",   "unsigned",
          "auto",    "size_t",  "ssize_t",  "ptrdiff_t", "int8_t",   "int16_t",  "int32_t",
          "int64_t", "uint8_t", "uint16_t", "uint32_t",  "uint64_t", "intptr_t", "uintptr_t",
          "BOOL",    "DWORD",   "WORD",     "BYTE",      "LPSTR",    "LPCSTR",   "HANDLE",
          "HWND",    "LONG",    "UINT",     "LPVOID",    "HRESULT",  "TCHAR",    "LPCTSTR",
          "qint64",  "quint64", "qint32",   "quint32",   "qreal",    "FILE"})
        SetFWords(QString::fromLatin1(word), -1, TypeKeyword);
    for (const char *word : {"if",           "else",         "for",        "while",
                             "do",           "switch",       "case",       "default",
                             "break",        "continue",     "return",     "goto",
                             "try",          "catch",        "throw",      "new",
                             "delete",       "sizeof",       "this",       "nullptr",
                             "NULL",         "true",         "false",      "public",
                             "private",      "protected",    "virtual",    "override",
                             "final",        "static",       "const",      "constexpr",
                             "consteval",    "constinit",    "inline",     "extern",
                             "mutable",      "volatile",     "register",   "explicit",
                             "friend",       "operator",     "typedef",    "typename",
                             "template",     "using",        "namespace",  "class",
                             "struct",       "union",        "enum",       "decltype",
                             "static_cast",  "dynamic_cast", "const_cast", "reinterpret_cast",
                             "noexcept",     "alignas",      "alignof",    "static_assert",
                             "thread_local", "co_await",     "co_return",  "co_yield",
                             "concept",      "requires",     "typeid",     "asm",
                             "std",          "printf",       "fprintf",    "sprintf",
                             "snprintf",     "scanf",        "sscanf",     "puts",
                             "fputs",        "fgets",        "fopen",      "fclose",
                             "fread",        "fwrite",       "fflush",     "malloc",
                             "calloc",       "realloc",      "free",       "memcpy",
                             "memmove",      "memset",       "memcmp",     "strcpy",
                             "strncpy",      "strcat",       "strncat",    "strcmp",
                             "strncmp",      "strlen",       "strchr",     "strrchr",
                             "strstr",       "atoi",         "atol",       "atof",
                             "strtol",       "strtoul",      "strtod",     "exit",
                             "abort",        "assert",       "qsort",      "getenv",
                             "time",         "isdigit",      "isalpha",    "isspace",
                             "toupper",      "tolower",      "va_start",   "va_end",
                             "va_arg",       "offsetof",     "defined",    "signals",
                             "slots",        "emit",         "Q_OBJECT",   "Q_EMIT",
                             "Q_SIGNALS",    "Q_SLOTS",      "tr"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    SetFObjectIcons(QString(), QStringLiteral("CPP_HEADER"), VXIcon::IncludedMember);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

// ---- Cutting rows ------------------------------------------------------------------------

int TVXLangDef_CPP::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    if (from == 1 && m_stateFile != m_fullFileName) {
        ResetFileState();
        m_stateFile = m_fullFileName;
    }
    if (from == 1) {
        // Literals end with their row (a stray apostrophe, 1'000 digit separators); raw
        // strings go on until their delimiter.
        if (m_rawEnd.isEmpty()) {
            m_inMainLiteral = false;
            m_inSecondaryLiteral = false;
        }
        const QStringView trimmed = QStringView(row).trimmed();
        m_directive = m_directiveContinues || trimmed.startsWith(QLatin1Char('#'));
        m_directiveContinues = m_directive && trimmed.endsWith(QLatin1Char('\\'));
        m_includeDue = false;
        m_includeQuote = -1;
    }
    if (!m_rawEnd.isEmpty()) {
        const qsizetype end = row.indexOf(m_rawEnd, from - 1);
        if (end < 0)
            return int(row.size()) + 1;
        length = int(m_rawEnd.size());
        wordType = MainDelimiter;
        m_rawEnd.clear();
        return int(end) + 1;
    }
    const int at = ScanForBreak(row, from, length, wordType, [](int) { return true; });
    // R"delim( opens a raw string: nothing inside it is a break until )delim".
    if (at <= row.size() && at > 1 && wordType == MainDelimiter && !InLiteral() && !InComment()
        && row[at - 2] == QLatin1Char('R')) {
        const qsizetype open = row.indexOf(QLatin1Char('('), at);
        const QStringView delimiter = QStringView(row).mid(at, open - at);
        if (open >= 0 && delimiter.size() <= 16
            && std::none_of(delimiter.cbegin(), delimiter.cend(),
                            [](QChar c) { return c.isSpace() || c == QLatin1Char('"'); })) {
            m_rawEnd = QLatin1Char(')') + delimiter.toString() + QLatin1Char('"');
            length = int(open) - at + 2;
        }
    }
    return at;
}

// ---- Words -------------------------------------------------------------------------------

TVXWordElement *TVXLangDef_CPP::Find(const HeadWord &word)
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

void TVXLangDef_CPP::Retype(const HeadWord &word, TWordType type, const QString &identifier)
{
    if (TVXWordElement *found = Find(word)) {
        found->WordType = type;
        found->ObjectIdentifier = identifier;
    }
}

void TVXLangDef_CPP::AddToHead(const QString &text, TWordType type)
{
    const TVXWordElement &word = std::as_const(m_wordBuffer).last();
    HeadWord head{text, type, word.RowID, word.WordID, false};
    if (!m_head.isEmpty() && m_head.first().Text == QLatin1String("template")) {
        if (text == QLatin1String("<"))
            ++m_templateDepth;
        head.InTemplate = m_templateDepth > 0;
        if (text == QLatin1String(">"))
            m_templateDepth = std::max(0, m_templateDepth - 1);
        else if (text == QLatin1String(">>"))
            m_templateDepth = std::max(0, m_templateDepth - 2);
    }
    // A head that keeps growing is no declaration (a macro list, an initialiser table).
    if (m_head.size() < 400)
        m_head.append(head);
}

int TVXLangDef_CPP::ClassKeywordAt() const
{
    int depth = 0;
    for (int i = 0; i < m_head.size(); ++i) {
        const HeadWord &word = m_head[i];
        if (word.InTemplate)
            continue;
        if (word.Type == ParenthesisOpen)
            ++depth;
        else if (word.Type == ParenthesisClose)
            --depth;
        else if (depth == 0 && IsAnyOf(word.Text, {"class", "struct", "union"})
                 && !(i > 0 && m_head[i - 1].Text == QLatin1String("enum")))
            return i;
    }
    return -1;
}

TVXLangDef_CPP::Signature TVXLangDef_CPP::FunctionSignature() const
{
    Signature signature;
    int depth = 0;
    int open = -1;
    int close = -1;
    for (int i = 0; i < m_head.size(); ++i) {
        const HeadWord &word = m_head[i];
        if (word.InTemplate)
            continue;
        if (word.Type == ParenthesisOpen) {
            if (depth == 0 && open < 0)
                open = i;
            ++depth;
        } else if (word.Type == ParenthesisClose) {
            if (--depth == 0 && close < 0 && open >= 0)
                close = i;
        } else if (depth == 0 && word.Type == Assignment
                   && !(i > 0 && m_head[i - 1].Text == QLatin1String("operator"))) {
            if (open < 0)
                return signature;
            signature.Assigned = true;
        }
    }
    if (open <= 0)
        return signature;
    int nameAt = open - 1;
    QString name = m_head[nameAt].Text;
    int operatorAt = -1;
    for (int i = 0; i < open; ++i)
        if (m_head[i].Text == QLatin1String("operator"))
            operatorAt = i;
    if (operatorAt >= 0) {
        // operator== and the call operator operator()(...).
        name = QStringLiteral("operator");
        for (int i = operatorAt + 1; i < open; ++i)
            name += m_head[i].Text;
        if (operatorAt + 1 == open && open + 2 < m_head.size()
            && m_head[open + 1].Type == ParenthesisClose
            && m_head[open + 2].Type == ParenthesisOpen)
            name = QStringLiteral("operator()");
        nameAt = operatorAt;
    } else {
        if (!IsIdentifier(name) || m_head[nameAt].Type != Unknown)
            return signature;
        if (nameAt > 0 && m_head[nameAt - 1].Text == QLatin1String("~")) {
            name.prepend(QLatin1Char('~'));
            --nameAt;
        }
    }
    signature.NameAt = operatorAt >= 0 || name.startsWith(QLatin1Char('~')) ? nameAt + 1 : nameAt;
    // A::f, ns::A::f, A<T>::f: the names before the function's own.
    for (int q = nameAt - 1; q >= 1 && m_head[q].Type == ScopeOperator;) {
        int r = q - 1;
        if (m_head[r].Text == QLatin1String(">")) {
            int angles = 0;
            for (; r >= 0; --r) {
                if (m_head[r].Text == QLatin1String(">"))
                    ++angles;
                else if (m_head[r].Text == QLatin1String("<") && --angles == 0)
                    break;
            }
            --r;
        }
        if (r < 0 || !IsIdentifier(m_head[r].Text))
            break;
        signature.Qualifiers.prepend(m_head[r].Text);
        q = r - 1;
    }
    signature.Found = true;
    signature.Name = name;
    Q_UNUSED(close);
    return signature;
}

QString TVXLangDef_CPP::CurrentClass() const
{
    return m_classes.isEmpty() ? QString() : m_classes.last();
}

void TVXLangDef_CPP::MoveHeadInto(int objectID, int entryID)
{
    // The head (class X : public Base, int f(int a)) belongs to what it opens, rows and all.
    if (!m_head.isEmpty())
        MoveWordsSince(m_head.first().RowID, m_head.first().WordID, objectID, entryID);
}

void TVXLangDef_CPP::OpenClass(int keywordAt, int latest)
{
    QString name;
    int nameAt = -1;
    int i = keywordAt + 1;
    for (; i < m_head.size(); ++i) {
        const HeadWord &word = m_head[i];
        if (word.Text == QLatin1String(":"))
            break;
        if (word.Text == QLatin1String("<") || word.Type == ParenthesisOpen) {
            // class X<int> (a specialisation), alignas(8), __declspec(dllexport).
            const QString opening = word.Text;
            const QString closing
                    = opening == QLatin1String("<") ? QStringLiteral(">") : QStringLiteral(")");
            for (int depth = 0; i < m_head.size(); ++i) {
                if (m_head[i].Text == opening)
                    ++depth;
                else if (m_head[i].Text == closing && --depth == 0)
                    break;
            }
            continue;
        }
        if (IsIdentifier(word.Text) && word.Type == Unknown) {
            name = word.Text;
            nameAt = i;
        }
    }
    if (name.isEmpty()) {
        // An anonymous struct or union: its members belong to what holds it.
        m_braces.append(Brace::Block);
        return;
    }
    // The first base class, with the names that qualify it.
    QStringList base;
    int baseAt = -1;
    for (++i; i < m_head.size(); ++i) {
        const HeadWord &word = m_head[i];
        if (IsAccess(word.Text) || word.Text == QLatin1String("virtual")
            || word.Type == ScopeOperator)
            continue;
        if (word.Text == QLatin1String("<") || word.Type == Comma)
            break;
        if (!IsIdentifier(word.Text))
            break;
        base << word.Text;
        baseAt = i;
    }

    const QString outer = CurrentClass();
    bool closed = false;
    const TSection section{BraceOpen,    ClassEnd,  VXSectionType::Object,
                           ClassSection, QString(), true};
    OpenSection(section, latest, false, closed);
    m_braces.append(Brace::Class);
    TVXObjectElement *object = CurrentObject();
    if (!object)
        return;
    object->Identifier = name;
    object->Name = name;
    object->ObjectType = m_head[keywordAt].Text.toUpper();
    object->Icon = VXIcon::DefaultObject;
    if (!outer.isEmpty()) {
        object->Name = outer + QLatin1Char('.') + name;
        object->SubObjectParentName = outer.section(QLatin1Char('.'), -1);
        object->Icon = VXIcon::NestedObject;
    }
    if (!base.isEmpty()) {
        object->Inherits = base.last();
        object->InheritsParentName
                = QStringList(base.mid(0, base.size() - 1)).join(QLatin1String("::"));
        Retype(m_head[baseAt], ReferencedName, base.last());
    }
    m_classes.append(object->Name);
    Retype(m_head[nameAt], ObjectName);
    MoveHeadInto(object->ObjectID, 0);
}

void TVXLangDef_CPP::ContinueClassObject(TVXObjectElement &object, const QString &entryName)
{
    const int ownID = object.ObjectID;
    const QString name = object.Identifier;
    int earlierID = 0;
    for (const TVXObjectElement &earlier : std::as_const(m_objectList)) {
        if (earlier.ObjectID == ownID || earlier.Icon == VXObjectIconState::DoNotSave)
            continue;
        if (earlier.Identifier == name
            && (earlier.Name == name || earlier.Name.endsWith(QLatin1Char('.') + name))) {
            earlierID = earlier.ObjectID;
            break;
        }
    }
    if (earlierID == 0)
        return;
    // The class's object goes on; this one was only opened for the method.
    m_objectList.removeIf([ownID](const TVXObjectElement &o) { return o.ObjectID == ownID; });
    m_currentObject = earlierID;
    int entryID = 0;
    int latestEntry = 0;
    for (const TVXEntryElement &entry : std::as_const(m_entryList)) {
        if (entry.ObjectID != earlierID)
            continue;
        latestEntry = std::max(latestEntry, entry.EntryID);
        if (entryID == 0 && entry.Name == entryName
            && m_declaredEntries.contains(EntryKey(earlierID, entry.EntryID)))
            entryID = entry.EntryID;
    }
    if (entryID != 0) {
        // The class body declared the method: its definition is that entry.
        m_declaredEntries.remove(EntryKey(earlierID, entryID));
        m_entryList.removeLast();
    } else {
        entryID = latestEntry + 1000;
        TVXEntryElement &entry = m_entryList.last();
        entry.ObjectID = earlierID;
        entry.EntryID = entryID;
    }
    m_currentEntry = entryID;
    m_entryCounter = std::max(latestEntry, entryID);
    Innermost().ObjectID = earlierID;
    Innermost().EntryID = entryID;
}

void TVXLangDef_CPP::OpenFunction(const Signature &signature, int latest)
{
    bool closed = false;
    if (!signature.Qualifiers.isEmpty() && m_classes.isEmpty()) {
        const TSection method{BraceOpen,    MethodEnd, VXSectionType::ObjectAndEntry,
                              ClassSection, QString(), true};
        OpenSection(method, latest, false, closed);
        m_braces.append(Brace::Method);
        if (TVXObjectElement *object = CurrentObject()) {
            object->Name = object->Identifier = signature.Qualifiers.last();
            object->ObjectType = QStringLiteral("CLASS");
            object->Icon = VXIcon::DefaultObject;
            QStringList scope = m_namespaces;
            scope << signature.Qualifiers.mid(0, signature.Qualifiers.size() - 1);
            scope.removeAll(QString());
            object->Scope = scope.join(QLatin1String("::"));
            if (TVXEntryElement *entry = CurrentEntry()) {
                entry->Name = signature.Name;
                entry->ObjectIdentifier = object->Identifier;
            }
            ContinueClassObject(*object, signature.Name);
        }
    } else {
        const TSection function{BraceOpen,       FunctionEnd, VXSectionType::Entry,
                                FunctionSection, QString(),   true};
        OpenSection(function, latest, false, closed);
        m_braces.append(Brace::Function);
        if (TVXEntryElement *entry = CurrentEntry()) {
            entry->Name = signature.Name;
            if (const TVXObjectElement *object = CurrentObject())
                entry->ObjectIdentifier = object->Identifier;
        }
    }
    ++m_functionBraces;
    Retype(m_head[signature.NameAt], SectionOrParagraphName);
    MoveHeadInto(m_currentObject, m_currentEntry);
}

void TVXLangDef_CPP::OpenBrace(int latest)
{
    if (InBody() || m_head.isEmpty()) {
        m_braces.append(Brace::Block);
        return;
    }
    const QString &first = m_head.first().Text;
    for (int i = 0; i < m_head.size(); ++i) {
        if (m_head[i].Text != QLatin1String("namespace"))
            continue;
        // namespace a::b {, and the anonymous namespace, which names no scope.
        QStringList parts;
        for (int j = i + 1; j < m_head.size(); ++j)
            if (IsIdentifier(m_head[j].Text))
                parts << m_head[j].Text;
        m_namespaces << parts.join(QLatin1String("::"));
        QStringList scope = m_namespaces;
        scope.removeAll(QString());
        m_namespace = scope.join(QLatin1String("::"));
        m_braces.append(Brace::Namespace);
        return;
    }
    if (first == QLatin1String("extern") && m_head.size() == 1) {
        // extern "C" { ... }: its declarations belong to what holds it.
        m_braces.append(Brace::Transparent);
        return;
    }
    if (first == QLatin1String("enum") || first == QLatin1String("typedef")) {
        m_braces.append(Brace::Block);
        return;
    }
    const Signature signature = FunctionSignature();
    const int keyword = ClassKeywordAt();
    if (keyword >= 0 && (!signature.Found || signature.NameAt < keyword)) {
        if (std::none_of(m_head.cbegin(), m_head.cend(),
                         [](const HeadWord &w) { return w.Type == Assignment && !w.InTemplate; })) {
            OpenClass(keyword, latest);
            return;
        }
    }
    if (signature.Found && !signature.Assigned) {
        OpenFunction(signature, latest);
        return;
    }
    // A constructor's initialisers (A() : b{1}, c{2} {) open no body until the last.
    m_braces.append(Brace::Block);
}

TWordType TVXLangDef_CPP::CloseBrace()
{
    if (m_braces.isEmpty())
        return BraceClose;
    const Brace brace = m_braces.takeLast();
    switch (brace) {
    case Brace::Class:
        if (!m_classes.isEmpty())
            m_classes.removeLast();
        return ClassEnd;
    case Brace::Function:
        --m_functionBraces;
        return FunctionEnd;
    case Brace::Method:
        --m_functionBraces;
        return MethodEnd;
    case Brace::Namespace: {
        if (!m_namespaces.isEmpty())
            m_namespaces.removeLast();
        QStringList scope = m_namespaces;
        scope.removeAll(QString());
        m_namespace = scope.join(QLatin1String("::"));
        return BraceClose;
    }
    default:
        return BraceClose;
    }
}

void TVXLangDef_CPP::EndHeadStatement()
{
    // A method that the class body declares without its definition.
    if (m_classes.isEmpty() || m_head.isEmpty()
        || IsAnyOf(m_head.first().Text, {"typedef", "using", "friend", "static_assert"}))
        return;
    const Signature signature = FunctionSignature();
    if (!signature.Found || ClassKeywordAt() >= 0)
        return;
    const int entry = AddDeclaredEntry(signature.Name);
    if (entry == 0)
        return;
    m_declaredEntries.insert(EntryKey(m_currentObject, entry));
    Retype(m_head[signature.NameAt], EntryName);
}

void TVXLangDef_CPP::TypeInclude(int latest)
{
    // #include "dir/name.h": the file name without its folder is the member; the file's
    // objects are imported by the name without extension.
    int point = -1;
    for (int i = latest - 1; i > m_includeQuote; --i)
        if (ReadWordAt(i)->Word == QLatin1String(".")) {
            point = i;
            break;
        }
    const int nameAt = point > m_includeQuote + 1 ? point - 1 : latest - 1;
    TVXWordElement *name = WordAt(nameAt);
    if (!name || nameAt <= m_includeQuote || !IsIdentifier(name->Word))
        return;
    QString file = name->Word;
    for (int i = nameAt + 1; i < latest; ++i)
        file += ReadWordAt(i)->Word;
    name->WordType = IncludedMember;
    name->ObjectIdentifier = file;
}

bool TVXLangDef_CPP::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    if (literal) {
        if (m_includeDue && text == QLatin1String("\"")) {
            if (m_includeQuote < 0) {
                m_includeQuote = latest;
            } else {
                TypeInclude(latest);
                m_includeDue = false;
            }
            return found;
        }
        const TVXWordElement *before = ReadWordAt(latest - 1);
        if (before && before->Word == QLatin1String("%")) {
            // "... FROM %s": the table is a format argument.
            m_sql.Skip();
        } else if (!m_directive) {
            m_sql.Type(word, text);
            if (word.WordType == TableName)
                wordType = TableName;
        }
        return found;
    }
    if (m_directive) {
        const TVXWordElement *before = ReadWordAt(latest - 1);
        if (before && before->WordType == Hash
            && (text == QLatin1String("include") || text == QLatin1String("import")))
            m_includeDue = true;
        // A macro names nothing that the program calls or declares.
        if (wordType == Unknown)
            wordType = KnownWord;
        return found;
    }

    switch (wordType) {
    case BraceOpen:
        OpenBrace(latest);
        m_head.clear();
        m_templateDepth = 0;
        m_sql.Reset();
        return found;
    case BraceClose:
        wordType = CloseBrace();
        m_head.clear();
        m_templateDepth = 0;
        m_sql.Reset();
        return found;
    case StatementEnd:
        if (!InBody())
            EndHeadStatement();
        m_head.clear();
        m_templateDepth = 0;
        m_sql.Reset();
        return found;
    default:
        break;
    }
    if (InBody())
        return found;
    // public:, private: and the like end what came before them.
    if (text == QLatin1String(":") && m_head.size() == 1 && IsAccess(m_head.first().Text)) {
        m_head.clear();
        return found;
    }
    AddToHead(text, wordType);
    return found;
}

// ---- Identifiers -------------------------------------------------------------------------

int TVXLangDef_CPP::DeclaredTypeAt(int index) const
{
    const auto at = [this](int i) { return ReadWordAt(i); };
    int i = index - 1;
    bool indirect = false;
    while (at(i) && IsAnyOf(at(i)->Word, {"*", "&", "&&", "const"})) {
        indirect = indirect || at(i)->Word != QLatin1String("const");
        --i;
    }
    if (at(i) && at(i)->Word == QLatin1String(">")) {
        int angles = 0;
        int k = i;
        for (; k >= 0 && k > i - 40; --k) {
            if (at(k)->Word == QLatin1String(">"))
                ++angles;
            else if (at(k)->Word == QLatin1String(">>"))
                angles += 2;
            else if (at(k)->Word == QLatin1String("<") && --angles == 0)
                break;
        }
        if (k < 0 || angles != 0)
            return -1;
        i = k - 1;
    }
    const TVXWordElement *type = at(i);
    if (!type || !IsIdentifier(type->Word)
        || !(type->WordType == TypeKeyword || type->WordType == Unknown
             || type->WordType == ReferencedName))
        return -1;
    const int typeAt = i;
    --i;
    while (at(i) && at(i)->WordType == ScopeOperator && at(i - 1) && IsIdentifier(at(i - 1)->Word))
        i -= 2;
    while (at(i) && IsSpecifier(at(i)->Word))
        --i;
    const TVXWordElement *boundary = at(i);
    if (!boundary)
        return typeAt;
    const QString &b = boundary->Word;
    if (boundary->WordType == StatementEnd || boundary->WordType == BraceOpen
        || boundary->WordType == BraceClose || boundary->WordType == ClassEnd
        || boundary->WordType == FunctionEnd || boundary->WordType == MethodEnd
        || boundary->WordType == Comma || b == QLatin1String(":")
        || boundary->WordType == ObjectName || boundary->WordType == SectionOrParagraphName)
        return typeAt;
    if (boundary->WordType == ParenthesisOpen) {
        // (a * b) and (a & b) are expressions: a parameter list or a condition that
        // declares follows a name, and its type is no variable.
        const TVXWordElement *opener = at(i - 1);
        if (indirect && opener && opener->Word != QLatin1String("for")
            && !(opener->WordType == Unknown || opener->WordType == CalledName
                 || opener->WordType == SectionOrParagraphName || opener->WordType == EntryName
                 || opener->WordType == ParenthesisClose))
            return -1;
        return typeAt;
    }
    return -1;
}

void TVXLangDef_CPP::InferAutoType(int index)
{
    // auto p = new Customer(...), auto p = std::make_unique<Customer>(...): p is a Customer.
    const TVXWordElement *made = ReadWordAt(index);
    if (m_declarations.isEmpty() || m_declarations.last().Type != QLatin1String("auto"))
        return;
    TVXDeclaration &declaration = m_declarations.last();
    for (int i = index - 1; i >= 0 && i >= index - 8; --i) {
        TVXWordElement *declaring = WordAt(i);
        if (declaring->RowID == declaration.RowID && declaring->WordID == declaration.WordID) {
            declaration.Type = made->Word;
            declaring->ObjectIdentifier = made->Word;
            return;
        }
    }
}

void TVXLangDef_CPP::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word || word->WordType != Unknown || !IsIdentifier(word->Word))
        return;
    const TVXWordElement *before = ReadWordAt(index - 1);
    const TVXWordElement *maker = ReadWordAt(index - 2);
    if (before
        && (before->Word == QLatin1String("new")
            || (before->Word == QLatin1String("<") && maker
                && IsAnyOf(maker->Word, {"make_unique", "make_shared"}))))
        InferAutoType(index);
    const TVXWordElement *after = ReadWordAt(index + 1);
    const bool inBody = word->EntryID != 0;
    const bool callFollows = after && after->WordType == ParenthesisOpen;
    const bool declarationFollows
            = after
              && (after->WordType == StatementEnd || after->WordType == Assignment
                  || after->WordType == Comma || after->WordType == ParenthesisClose
                  || after->WordType == BracketOpen || after->WordType == BraceOpen
                  || after->Word == QLatin1String(":") || (callFollows && inBody));
    if (declarationFollows) {
        const int typeAt = DeclaredTypeAt(index);
        if (typeAt >= 0) {
            TVXWordElement *type = WordAt(typeAt);
            QString typeName = type->Word;
            // unique_ptr<Customer> p: p points to a Customer.
            if (IsSmartPointer(typeName) && ReadWordAt(typeAt + 2)
                && IsIdentifier(ReadWordAt(typeAt + 2)->Word))
                typeName = ReadWordAt(typeAt + 2)->Word;
            word->WordType = DeclarationName;
            // The check runs a few words late: the declaration belongs where its word
            // stands, not to what opened since (a class closed by the next brace).
            const int currentObject = m_currentObject;
            const int currentEntry = m_currentEntry;
            m_currentObject = word->ObjectID;
            m_currentEntry = word->EntryID;
            CheckUpdates(index);
            m_currentObject = currentObject;
            m_currentEntry = currentEntry;
            if (!m_declarations.isEmpty()) {
                m_declarations.last().Type = typeName;
                UpdateLatestVariableDefinition(index, true);
            }
            const TVXWordElement *qualifier = ReadWordAt(typeAt - 2);
            const bool standard = ReadWordAt(typeAt - 1)
                                  && ReadWordAt(typeAt - 1)->WordType == ScopeOperator && qualifier
                                  && qualifier->Word == QLatin1String("std");
            if (type->WordType == Unknown && !standard) {
                type->WordType = ReferencedName;
                type->ObjectIdentifier = type->Word;
            }
            return;
        }
    }
    if (LatestDeclarationOf(index) >= 0) {
        word->WordType = VariableReference;
        return;
    }
    if (!inBody)
        return;
    if (before && before->Word == QLatin1String("new")) {
        // new Customer(...): the class is made.
        word->WordType = CalledName;
        word->ObjectIdentifier = word->Word;
        return;
    }
    if (!callFollows)
        return;
    word->WordType = CalledName;
    if (before && before->WordType == Qualifier) {
        // obj.f(), p->f(), this->f(): the declared class of what is before the point.
        const TVXWordElement *receiver = ReadWordAt(index - 2);
        QString type;
        if (receiver && receiver->Word == QLatin1String("this")) {
            if (const TVXObjectElement *object = ObjectWithID(word->ObjectID))
                type = object->Identifier;
        } else if (receiver) {
            IsVariableDeclaredAs(index - 2, type);
            if (type == QLatin1String("auto"))
                type.clear();
        }
        word->ObjectIdentifier = type.isEmpty() ? QStringLiteral("?") : type;
    } else if (before && before->WordType == ScopeOperator) {
        const TVXWordElement *qualifier = ReadWordAt(index - 2);
        if (qualifier && qualifier->Word == QLatin1String("std")) {
            word->WordType = KnownWord;
            return;
        }
        word->ObjectIdentifier = qualifier && IsIdentifier(qualifier->Word) ? qualifier->Word
                                                                            : QStringLiteral("?");
    }
}

// ---- Saving ------------------------------------------------------------------------------

void TVXLangDef_CPP::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    TVXObjectElement *object = FirstObject();
    if (object) {
        // The file's own object is named with its extension: a class is named like its file.
        const QString extension = QFileInfo(m_fileName).suffix().toLower();
        object->Name = object->Identifier = m_fileName;
        object->ObjectType = extension.startsWith(QLatin1Char('h')) ? QStringLiteral("CPP_HEADER")
                             : extension == QLatin1String("c")      ? QStringLiteral("C_SOURCE")
                                                                    : QStringLiteral("CPP_SOURCE");
        object->Icon = GetObjectIconByType(object->ObjectType);
        if (object->Icon == 0)
            object->Icon = GetObjectIconDefault();
    }
    ResetFileState();
    m_stateFile.clear();
}

void TVXLangDef_CPP::ResetFileState()
{
    m_head.clear();
    m_braces.clear();
    m_functionBraces = 0;
    m_namespaces.clear();
    m_classes.clear();
    m_declaredEntries.clear();
    m_rawEnd.clear();
    m_directive = m_directiveContinues = false;
    m_templateDepth = 0;
}

VELUNOR_PACKAGE("LangDef_CPP")
{
    package.RegisterClass<TVXLangDef_CPP>(QStringLiteral("TVXLangDef_CPP"));
}
