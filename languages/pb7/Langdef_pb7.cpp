// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/pb7/Langdef_pb7.h"

#include "base/Package.h"

#include "parsing/Keywordtext.h"

#include <QFileInfo>

using namespace VXWordType;
using namespace VXKeyword;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType TypeWord = 99401;
constexpr TWordType EntryWord = 99402;
constexpr TWordType EndWord = 99403;
constexpr TWordType ForwardWord = 99404;
constexpr TWordType BlockWord = 99405;
constexpr TWordType LifeCycle = 99406;
constexpr TWordType DataObjectWord = 99407;
constexpr TWordType SqlWord = 99408;
constexpr TWordType SqlTableClause = 99409;
constexpr TWordType Modifier = 99410;
// "band" and "dbname": what a DataWindow column is, and where its data lies.
constexpr TWordType ColumnSource = 1039;

// Section numbers: the file's global type, a control's type within it, and an entry.
constexpr int FileObject = 10;
constexpr int ControlObject = 20;
constexpr int EntrySection = 30;
constexpr int LoopSection = 310;
// The sections this definition opens it also closes.
constexpr TWordType ManualEnd = EndOfFile;

bool IsBuiltInType(const QString &text)
{
    return IsAnyOf(text, {"integer",
                          "int",
                          "long",
                          "longlong",
                          "string",
                          "boolean",
                          "date",
                          "datetime",
                          "time",
                          "decimal",
                          "dec",
                          "double",
                          "real",
                          "char",
                          "character",
                          "blob",
                          "uint",
                          "ulong",
                          "unsignedinteger",
                          "unsignedlong",
                          "any",
                          "byte",
                          "datastore",
                          "transaction",
                          "powerobject",
                          "graphicobject",
                          "windowobject",
                          "dragobject",
                          "window",
                          "userobject",
                          "menu",
                          "datawindow",
                          "datawindowchild",
                          "n_ds"});
}

// PowerBuilder's own classes, whose descendants take their kind from them.
bool IsSystemClass(const QString &text)
{
    return IsAnyOf(text, {"window",          "userobject",    "nonvisualobject", "function_object",
                          "application",     "menu",          "structure",       "datawindow",
                          "datastore",       "commandbutton", "statictext",      "singlelineedit",
                          "multilineedit",   "checkbox",      "radiobutton",     "listbox",
                          "dropdownlistbox", "picture",       "groupbox",        "tab",
                          "transaction",     "treeview",      "listview"});
}

// The objects a window holds are shown on it; a window's controls are their own objects.
int IconFor(const QString &ancestor)
{
    if (IsAnyOf(ancestor, {"window"}))
        return VXIcon::Form;
    if (IsAnyOf(ancestor, {"datawindow", "datastore"}))
        return VXIcon::DataWindow;
    return VXIcon::DefaultObject;
}

} // namespace

TVXLangDef_PB7::TVXLangDef_PB7(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 30320;
    m_languageName = QStringLiteral("PB7");
    m_fileExtensions = QStringLiteral(".pb;.sra;.sru;.srs;.srf;.srd;.srw;.srm;.pbg;");
    m_columnSetting = 2;
    m_qualifiedCalls = true;
    m_noIcons = true;
    m_inheritance = true;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("$PBExportHeader$"), LineCommentStart);
    SetFBreakWords(QStringLiteral("$PBExportComments$"), LineCommentStart);
    SetFBreakWords(QStringLiteral("//"), LineCommentStart);
    SetFBreakWords(QStringLiteral("/*"), BlockCommentStart);
    SetFBreakWords(QStringLiteral("*/"), BlockCommentEnd);
    // ~" and ~' are quotes within a string.
    for (const char *escape : {"~\"", "~'", "~~"})
        SetFBreakWords(QString::fromLatin1(escape), KnownWord);
    SetFBreakWords(QStringLiteral("\""), MainDelimiter);
    SetFBreakWords(QStringLiteral("'"), SecondaryDelimiter);
    SetFBreakWords(QStringLiteral(";"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("["), BracketOpen);
    SetFBreakWords(QStringLiteral("]"), BracketClose);
    SetFBreakWords(QStringLiteral("{"), BracketOpen);
    SetFBreakWords(QStringLiteral("}"), BracketClose);
    SetFBreakWords(QStringLiteral("::"), ScopeOperator);
    SetFBreakWords(QStringLiteral("."), Qualifier);
    SetFBreakWords(QStringLiteral("&"), LineContinuation);
    for (const char *assignment : {"+=", "-=", "*=", "/=", "^="})
        SetFBreakWords(QString::fromLatin1(assignment), Assignment);
    for (const char *comparison : {"<>", "<=", ">=", "=", "<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    for (const char *op : {"++", "--", "+", "-", "*", "/", "^"})
        SetFBreakWords(QString::fromLatin1(op), Operator);
    SetFBreakWords(QStringLiteral(":"), KnownWord);

    // The file's global type is its object; controls, entries and loops open where
    // their statements say so.
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, FileObject, QString(), true);
    SetFSections(LoopKeyword, LoopEnd, VXSectionType::Loop, LoopSection, QString(), true);

    SetFWords(QStringLiteral("type"), -1, TypeWord);
    for (const char *word : {"event", "function", "subroutine", "on"})
        SetFWords(QString::fromLatin1(word), -1, EntryWord);
    SetFWords(QStringLiteral("end"), -1, EndWord);
    SetFWords(QStringLiteral("forward"), -1, ForwardWord);
    for (const char *word : {"variables", "prototypes"})
        SetFWords(QString::fromLatin1(word), -1, BlockWord);
    for (const char *word : {"do", "for"})
        SetFWords(QString::fromLatin1(word), -1, LoopKeyword);
    for (const char *word : {"loop", "next"})
        SetFWords(QString::fromLatin1(word), -1, LoopEnd);
    for (const char *word : {"while", "until"})
        SetFWords(QString::fromLatin1(word), -1, LoopUntil);
    for (const char *word : {"create", "destroy"})
        SetFWords(QString::fromLatin1(word), -1, LifeCycle);
    SetFWords(QStringLiteral("dataobject"), -1, DataObjectWord);
    for (const char *word : {"band", "dbname"})
        SetFWords(QString::fromLatin1(word), -1, ColumnSource);
    for (const char *word : {"select", "insert", "update", "delete", "declare"})
        SetFWords(QString::fromLatin1(word), -1, SqlWord);
    for (const char *word : {"from", "into", "join"})
        SetFWords(QString::fromLatin1(word), -1, SqlTableClause);
    for (const char *word : {"global", "public", "private", "protected", "shared", "constant",
                             "privateread", "privatewrite", "protectedread", "protectedwrite",
                             "systemread", "systemwrite", "readonly", "ref"})
        SetFWords(QString::fromLatin1(word), -1, Modifier);
    for (const char *word :
         {"if",        "then",    "else",     "elseif",   "choose",     "case",
          "return",    "exit",    "continue", "goto",     "halt",       "close",
          "this",      "parent",  "super",    "true",     "false",      "and",
          "or",        "not",     "is",       "null",     "within",     "to",
          "step",      "using",   "commit",   "rollback", "connect",    "disconnect",
          "sqlca",     "post",    "trigger",  "dynamic",  "static",     "call",
          "library",   "alias",   "throws",   "try",      "catch",      "finally",
          "throw",     "of",      "set",      "values",   "where",      "cursor",
          "execute",   "fetch",   "prepare",  "describe", "open",       "with",
          "immediate", "release", "table",    "column",   "retrieve",   "messagebox",
          "isvalid",   "isnull",  "len",      "string",   "integer",    "long",
          "boolean",   "date",    "datetime", "decimal",  "double",     "real",
          "char",      "blob",    "time",     "any",      "uint",       "ulong",
          "dec",       "int",     "longlong", "byte",     "setpointer", "hourglass!",
          "arrow!",    "yield",   "upper",    "lower",    "trim",       "mid",
          "left",      "right",   "pos",      "string",   "sqlcode",    "sqlerrtext"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);
}

// ---- Cutting rows ------------------------------------------------------------------------

int TVXLangDef_PB7::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    if (from == 1 && m_stateFile != m_fullFileName) {
        ResetFileState();
        m_stateFile = m_fullFileName;
        const QString extension = QFileInfo(m_fileName).suffix().toLower();
        m_mode = extension == QLatin1String("srd")   ? Mode::DataWindow
                 : extension == QLatin1String("pbg") ? Mode::LibraryList
                                                     : Mode::Script;
    }
    if (from == 1 && m_mode != Mode::DataWindow)
        m_inMainLiteral = m_inSecondaryLiteral = false;
    // A library list's names are whole words: "w_main.srw" "billing.pbl".
    if (m_mode == Mode::LibraryList && InLiteral()) {
        const qsizetype quote = row.indexOf(QLatin1Char('"'), from - 1);
        if (quote < 0)
            return int(row.size()) + 1;
        length = 1;
        wordType = MainDelimiter;
        return int(quote) + 1;
    }
    return ScanForBreak(row, from, length, wordType, [](int) { return true; });
}

// ---- Updates -----------------------------------------------------------------------------

void TVXLangDef_PB7::CheckUpdates(int index)
{
    // dbname="customer.cust_name": the column's data lies in that table.
    const TVXWordElement *word = ReadWordAt(index);
    const TVXWordElement *source = ReadWordAt(index - 3);
    if (word && source && source->WordType == ColumnSource && !m_declarations.isEmpty()
        && ReadWordAt(index - 1) && ReadWordAt(index - 1)->Word == QLatin1String("\"")
        && !word->Word.isEmpty() && word->Word != QLatin1String("\"")) {
        m_declarations.last().Type += QStringLiteral(" in table ") + word->Word;
        UpdateLatestVariableDefinition(index, false);
    }
    TVXLanguageDefinitionsInterface::CheckUpdates(index);
}

void TVXLangDef_PB7::MoveRowInto(int latest)
{
    // A statement that opens an object or entry brings its row with it.
    MoveWordsSince(ReadWordAt(latest)->RowID, 0, m_currentObject, m_currentEntry);
}

void TVXLangDef_PB7::DeclareEntry(const QString &name)
{
    TVXObjectElement *object = CurrentObject();
    if (!object || name.isEmpty())
        return;
    // Declared again by its definition below: the declaration names no entry of its own.
    for (const TVXEntryElement &entry : std::as_const(m_entryList))
        if (entry.ObjectID == object->ObjectID
            && entry.Name.compare(name, Qt::CaseInsensitive) == 0)
            return;
    AddDeclaredEntry(name);
}

void TVXLangDef_PB7::OpenEntry(const QString &name, int latest)
{
    CloseEntry();
    bool closed = false;
    const TSection section{EntryWord,    ManualEnd, VXSectionType::Entry,
                           EntrySection, QString(), true};
    OpenSection(section, latest, false, closed);
    m_entryOpen = true;
    if (TVXEntryElement *entry = CurrentEntry()) {
        entry->Name = name;
        if (const TVXObjectElement *object = CurrentObject())
            entry->ObjectIdentifier = object->Identifier;
        // A prototype declared the entry: its definition is that entry.
        for (qsizetype i = 0; i + 1 < m_entryList.size(); ++i) {
            const TVXEntryElement &declared = m_entryList[i];
            if (declared.ObjectID == entry->ObjectID
                && declared.Name.compare(name, Qt::CaseInsensitive) == 0) {
                const int id = declared.EntryID;
                m_entryList.removeLast();
                m_currentEntry = id;
                Innermost().EntryID = id;
                break;
            }
        }
    }
    MoveRowInto(latest);
}

void TVXLangDef_PB7::CloseEntry()
{
    if (!m_entryOpen)
        return;
    m_entryOpen = false;
    // Loops that an unbalanced script left open end with it.
    bool closed = false;
    while (m_sectionStack.size() > 1 && Innermost().SectionID != EntrySection
           && Innermost().SectionID != FileObject && Innermost().SectionID != ControlObject)
        CloseInnermostSection(closed);
    if (m_sectionStack.size() > 1 && Innermost().SectionID == EntrySection)
        CloseInnermostSection(closed);
}

void TVXLangDef_PB7::TypeLifeCycle(int latest)
{
    // x = CREATE n_customer: the constructor event of that class; DESTROY x: the destructor
    // of x's class.
    TVXWordElement &word = m_wordBuffer[latest];
    TVXWordElement *life = WordAt(latest - 1);
    if (!life || life->WordType != LifeCycle || life->RowID != word.RowID)
        return;
    const TVXWordElement *before = ReadWordAt(latest - 2);
    if (word.WordType == ParenthesisOpen || Is(word.Word, "using"))
        return;
    if (before && before->Word == QLatin1String("=")) {
        life->WordType = CalledName;
        life->ObjectIdentifier = word.Word;
        return;
    }
    if (IsIdentifier(word.Word)) {
        QString type;
        if (!IsVariableDeclaredAs(latest, type) || type.isEmpty())
            type = word.Word;
        life->WordType = CalledName;
        life->ObjectIdentifier = type;
    }
}

void TVXLangDef_PB7::UpdateWordTypesByContext()
{
    TVXLanguageDefinitionsInterface::UpdateWordTypesByContext();
    const int latest = LatestIndex();
    if (latest < 0)
        return;
    switch (m_mode) {
    case Mode::Script:
        TypeScriptWord(latest);
        return;
    case Mode::DataWindow:
        TypeDataWindowWord(latest);
        return;
    case Mode::LibraryList:
        TypeLibraryListWord(latest);
        return;
    }
}

void TVXLangDef_PB7::TypeScriptWord(int latest)
{
    TVXWordElement &word = m_wordBuffer[latest];
    const QString &text = word.Word;
    TVXWordElement *before = WordAt(latest - 1);
    const TVXWordElement *beforeThat = ReadWordAt(latest - 2);
    const bool sameRow = before && before->RowID == word.RowID;

    if (word.WordType == MainDelimiter || word.WordType == SecondaryDelimiter) {
        if (text == QLatin1String("\"") || text == QLatin1String("'"))
            return;
        // dw_1.DataObject = "d_customer": the DataWindow the control shows.
        if (const TVXWordElement *property = ReadWordAt(latest - 3);
            property && property->WordType == DataObjectWord) {
            word.WordType = ReferencedName;
            word.ObjectIdentifier = text;
            return;
        }
        m_sql.Type(word, text);
        return;
    }

    // The statement's first word, after the modifiers before it.
    int first = latest;
    while (ReadWordAt(first - 1) && ReadWordAt(first - 1)->RowID == word.RowID
           && ReadWordAt(first - 1)->WordType != StatementEnd)
        --first;
    while (first < latest && ReadWordAt(first)->WordType == Modifier)
        ++first;
    const bool statementStart = first == latest;

    if (!sameRow || (before && before->WordType == StatementEnd)) {
        m_declarationType.clear();
        m_declarationDue = false;
        if (!sameRow) {
            m_typeDue = TypeDue::Nothing;
            // A header that ended with its row without ";" declared its entry: a
            // prototype, an external function, an event the type declares.
            if (!m_entryKeyword.isEmpty() && !m_entryName.isEmpty() && !m_entryOpen)
                DeclareEntry(m_entryName);
            m_entryKeyword.clear();
            m_entryName.clear();
        }
    }

    // end type, end event, end function, end on, end forward, end variables.
    if (before && sameRow && before->WordType == EndWord) {
        before->WordType = KnownWord;
        if (word.WordType == EntryWord)
            CloseEntry();
        else if (word.WordType == TypeWord)
            m_typeBlock = false;
        else if (word.WordType == ForwardWord)
            m_forward = false;
        else if (word.WordType == BlockWord)
            m_variablesBlock = m_prototypesBlock = false;
        word.WordType = KnownWord;
        return;
    }
    if (word.WordType == EndWord)
        return;

    switch (word.WordType) {
    case ForwardWord:
        if (statementStart)
            m_forward = true;
        return;
    case BlockWord:
        // type variables, forward prototypes, type prototypes.
        if (before && sameRow) {
            if (before->WordType == ForwardWord)
                m_forward = false;
            m_typeDue = TypeDue::Nothing;
            if (Is(text, "variables"))
                m_variablesBlock = true;
            else
                m_prototypesBlock = true;
        }
        word.WordType = KnownWord;
        return;
    case TypeWord:
        if (statementStart && !m_forward)
            m_typeDue = TypeDue::Name;
        return;
    case EntryWord:
        if (m_entryOpen) {
            // this.event ue_refresh(): an event called, no event begun.
            word.WordType = KnownWord;
            return;
        }
        if (statementStart && !m_forward) {
            m_entryKeyword = text.toLower();
            m_entryName.clear();
        }
        return;
    default:
        break;
    }

    // type dw_1 from datawindow within w_main.
    switch (m_typeDue) {
    case TypeDue::Name:
        if (IsIdentifier(text)) {
            m_typeDue = TypeDue::FromOrWithin;
            m_typeBlock = true;
            CloseEntry();
            TVXObjectElement *file = FirstObject();
            const bool global = file && file->ObjectID == m_currentObject
                                && file->Name.contains(QLatin1Char('.'));
            if (!global) {
                // A control of the window, or a further type of the file.
                bool closed = false;
                while (m_sectionStack.size() > 2)
                    CloseInnermostSection(closed);
                const TSection section{TypeWord,      ManualEnd, VXSectionType::Object,
                                       ControlObject, QString(), true};
                OpenSection(section, latest, false, closed);
                MoveRowInto(latest);
            }
            word.WordType = ObjectName;
        }
        return;
    case TypeDue::FromOrWithin:
        if (Is(text, "from"))
            m_typeDue = TypeDue::Ancestor;
        else if (Is(text, "within"))
            m_typeDue = TypeDue::Owner;
        return;
    case TypeDue::Ancestor:
        if (IsIdentifier(text)) {
            m_typeDue = TypeDue::FromOrWithin;
            word.WordType = AncestorName;
            if (TVXObjectElement *object = CurrentObject()) {
                if (object->ObjectType.isEmpty() || object->ObjectType == m_languageName)
                    object->ObjectType
                            = IsSystemClass(text) ? text.toUpper() : QStringLiteral("PB_OBJECT");
                object->Icon = IconFor(text);
            }
        }
        return;
    case TypeDue::Owner:
        if (IsIdentifier(text)) {
            m_typeDue = TypeDue::Nothing;
            word.WordType = ObjectOwnerName;
        }
        return;
    case TypeDue::Nothing:
        break;
    }

    // The name of an event or function: event clicked; function integer wf_save (...);
    if (!m_entryKeyword.isEmpty()) {
        if (m_entryKeyword == QLatin1String("on")) {
            // on w_main.create: the event after the point, begun at once.
            if (IsIdentifier(text)) {
                if (!m_entryOpen)
                    OpenEntry(text, latest);
                else if (TVXEntryElement *entry = CurrentEntry())
                    entry->Name = text;
                for (int i = latest - 1; i >= 0 && ReadWordAt(i)->RowID == word.RowID; --i)
                    if (WordAt(i)->WordType == SectionOrParagraphName)
                        WordAt(i)->WordType = KnownWord;
                word.WordType = SectionOrParagraphName;
            }
            return;
        }
        if (word.WordType == ParenthesisOpen && m_entryName.isEmpty() && before
            && IsIdentifier(before->Word)
            && (before->WordType == Unknown || before->WordType == LifeCycle)) {
            // The name stands before "(": the body follows ";", if one does.
            m_entryName = before->Word;
            before->WordType = EntryName;
        } else if (word.WordType == StatementEnd) {
            if (m_entryName.isEmpty() && before && IsIdentifier(before->Word)) {
                // event open;
                m_entryName = before->Word;
                before->WordType = EntryName;
            }
            for (int i = latest - 1; i >= 0 && ReadWordAt(i)->RowID == word.RowID; --i)
                if (WordAt(i)->WordType == EntryName) {
                    WordAt(i)->WordType = SectionOrParagraphName;
                    break;
                }
            if (!m_entryName.isEmpty())
                OpenEntry(m_entryName, latest);
            m_entryKeyword.clear();
            m_entryName.clear();
        }
        return;
    }

    TypeLifeCycle(latest);

    // Loops: DO ... LOOP UNTIL x, DO WHILE x ... LOOP.
    if (word.WordType == LoopKeyword && before && before->WordType == LoopEnd) {
        word.WordType = LoopUntil;
        if (m_sectionStack.size() > 1)
            Innermost().EndWordType = EndWithRow;
    } else if (word.WordType == LoopUntil && !(before && before->WordType == LoopEnd)) {
        word.WordType = LoopKeyword;
        if (m_sectionStack.size() > 1 && Innermost().SectionID == LoopSection)
            Innermost().EndWordType = ConditionalEnd3;
    }

    // Embedded SQL: SELECT ... INTO :x FROM customer; UPDATE customer SET ...
    if (word.WordType == SqlWord && statementStart) {
        m_sqlStatement = true;
        m_tableDue = Is(text, "update");
        word.WordType = KnownWord;
        return;
    }
    if (m_sqlStatement) {
        if (word.WordType == StatementEnd) {
            m_sqlStatement = m_tableDue = false;
        } else if (word.WordType == SqlTableClause) {
            m_tableDue = true;
            word.WordType = KnownWord;
        } else if (m_tableDue && IsIdentifier(text)) {
            m_tableDue = false;
            word.WordType = TableName;
            word.ObjectIdentifier = text;
        } else if (m_tableDue) {
            m_tableDue = false;
        } else if (before && before->WordType == Qualifier && beforeThat
                   && beforeThat->WordType == TableName && IsIdentifier(text)) {
            // dbo.customer
            word.WordType = TableName;
            word.ObjectIdentifier = beforeThat->ObjectIdentifier + QLatin1Char('.') + text;
            WordAt(latest - 2)->WordType = KnownWord;
        } else if (word.WordType == Unknown) {
            word.WordType = KnownWord;
        }
        return;
    }

    // Declarations: integer li_rc, string ls_a, ls_b, n_customer in_customer, parameters.
    if (m_declarationDue && word.WordType == Unknown && IsIdentifier(text)) {
        m_declarationDue = false;
        word.WordType = DeclarationName;
        CheckUpdates(latest);
        if (!m_declarations.isEmpty()) {
            m_declarations.last().Type = m_declarationType;
            UpdateLatestVariableDefinition(latest, true);
        }
        // n_customer in_customer: the type is a class of the application.
        if (before && before->WordType == Unknown && before->Word == m_declarationType) {
            before->WordType = ReferencedName;
            before->ObjectIdentifier = m_declarationType;
        }
        return;
    }
    if (word.WordType == Comma && !m_declarationType.isEmpty()) {
        m_declarationDue = true;
        return;
    }
    const bool parameterStart
            = before && (before->WordType == ParenthesisOpen || before->WordType == Comma)
              && (!m_entryKeyword.isEmpty() || !m_entryOpen || m_prototypesBlock);
    const bool typePosition
            = statementStart || parameterStart || (before && before->WordType == Modifier);
    if (typePosition && IsIdentifier(text) && (IsBuiltInType(text) || word.WordType == Unknown)) {
        m_declarationType = text;
        m_declarationDue = true;
        return;
    }
    // FileWrite(li_file, ...) began no declaration: what follows the first word decides.
    // decimal{2} amount: the precision stands between the type and the name.
    if (m_declarationDue
        && (word.WordType == BracketOpen || word.WordType == BracketClose
            || (!text.isEmpty() && text.front().isDigit())))
        return;
    if (m_declarationDue && !IsAnyOf(text, {"ref", "readonly"})) {
        m_declarationDue = false;
        if (before && before->Word == m_declarationType)
            m_declarationType.clear();
    }
}

void TVXLangDef_PB7::TypeDataWindowWord(int latest)
{
    TVXWordElement &word = m_wordBuffer[latest];
    const QString &text = word.Word;
    const TVXWordElement *before = ReadWordAt(latest - 1);
    const auto at = [this, latest](int back) { return ReadWordAt(latest - back); };
    if (word.WordType == MainDelimiter) {
        if (text == QLatin1String("\""))
            return;
        // dbname="customer.cust_name": the table of the column.
        if (at(3) && at(3)->WordType == ColumnSource && Is(at(3)->Word, "dbname")) {
            word.WordType = TableName;
            word.ObjectIdentifier = text;
            return;
        }
        // update="customer", and TABLE(NAME=~"customer~") in a PBSELECT.
        if ((at(3) && Is(at(3)->Word, "update") && at(2) && at(2)->Word == QLatin1String("="))
            || (before && before->Word == QLatin1String("~\"") && at(3) && Is(at(3)->Word, "NAME")
                && at(5) && Is(at(5)->Word, "TABLE"))) {
            if (IsIdentifier(text)) {
                word.WordType = TableName;
                word.ObjectIdentifier = text;
            }
            return;
        }
        m_sql.Type(word, text);
        return;
    }
    // column=(type=char(40) ... name=cust_name ...): a column of the DataWindow.
    if (Is(text, "column") && !(before && Is(before->Word, "table")))
        m_columnNameDue = false;
    if (word.WordType == ParenthesisOpen && before && before->Word == QLatin1String("=") && at(2)
        && Is(at(2)->Word, "column"))
        m_columnNameDue = true;
    if (m_columnNameDue && before && before->Word == QLatin1String("=") && at(2)
        && Is(at(2)->Word, "name") && IsIdentifier(text)) {
        m_columnNameDue = false;
        word.WordType = DeclarationName;
        CheckUpdates(latest);
        if (const TVXWordElement *type = nullptr; !m_declarations.isEmpty() && !type) {
            // type=char(40) came first in the group.
            for (int i = latest - 1; i >= 0 && i > latest - 40; --i) {
                if (ReadWordAt(i)->Word == QLatin1String("=") && ReadWordAt(i - 1)
                    && Is(ReadWordAt(i - 1)->Word, "type") && ReadWordAt(i + 1)) {
                    m_declarations.last().Type = ReadWordAt(i + 1)->Word;
                    UpdateLatestVariableDefinition(latest, true);
                    break;
                }
            }
        }
        return;
    }
    if (word.WordType == Unknown || word.WordType == SqlWord || word.WordType == SqlTableClause)
        word.WordType = KnownWord;
}

void TVXLangDef_PB7::TypeLibraryListWord(int latest)
{
    // "w_main.srw" "billing.pbl";: the object and the library that holds it.
    TVXWordElement &word = m_wordBuffer[latest];
    if (word.WordType != MainDelimiter || word.Word == QLatin1String("\"")) {
        if (word.WordType == Unknown)
            word.WordType = KnownWord;
        return;
    }
    const TVXWordElement *object = ReadWordAt(latest - 3);
    if (word.Word.endsWith(QLatin1String(".pbl"), Qt::CaseInsensitive) && object
        && object->WordType == IncludedMember && object->RowID == word.RowID) {
        m_packageList.append(
                {word.Word.section(QLatin1Char('.'), 0, -2), object->ObjectIdentifier, 0, 0});
        return;
    }
    if (word.Word.contains(QLatin1Char('.')) && !word.Word.endsWith(QLatin1String(".pbl"))) {
        word.WordType = IncludedMember;
        word.ObjectIdentifier = word.Word.section(QLatin1Char('.'), 0, -2);
    }
}

// ---- Identifiers -------------------------------------------------------------------------

void TVXLangDef_PB7::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word || m_mode != Mode::Script || word->WordType != Unknown || !IsIdentifier(word->Word))
        return;
    if (LatestDeclarationOf(index) >= 0) {
        word->WordType = VariableReference;
        return;
    }
    if (word->EntryID == 0)
        return;
    const TVXWordElement *before = ReadWordAt(index - 1);
    const TVXWordElement *after = ReadWordAt(index + 1);
    const bool arguments = after && after->WordType == ParenthesisOpen;
    const TVXObjectElement *holder = ObjectWithID(word->ObjectID);
    // open(w_detail), OpenWithParm(w_detail, ...): the window opened.
    if (before && before->WordType == ParenthesisOpen && ReadWordAt(index - 2)
        && IsAnyOf(ReadWordAt(index - 2)->Word,
                   {"open", "openwithparm", "opensheet", "opensheetwithparm"})) {
        word->WordType = CalledName;
        word->ObjectIdentifier = word->Word;
        return;
    }
    const bool event = before && Is(before->Word, "event");
    const int receiverAt = event ? index - 3 : index - 2;
    const TVXWordElement *point = ReadWordAt(receiverAt + 1);
    const bool qualified = point && point->WordType == Qualifier;
    if (!arguments && !event)
        return;
    word->WordType = CalledName;
    if (!qualified && !(before && before->WordType == Qualifier)) {
        // wf_save(), event ue_refresh(): the object's own.
        if (event && holder)
            word->ObjectIdentifier = holder->Identifier;
        return;
    }
    const TVXWordElement *receiver = ReadWordAt(event ? index - 3 : index - 2);
    QString type;
    if (receiver && Is(receiver->Word, "this") && holder)
        type = holder->Identifier;
    else if (receiver && Is(receiver->Word, "parent") && holder)
        type = holder->SubObjectParentName;
    else if (receiver && !IsVariableDeclaredAs(event ? index - 3 : index - 2, type)
             && IsIdentifier(receiver->Word))
        type = receiver->Word;
    word->ObjectIdentifier = type.isEmpty() ? QStringLiteral("?") : type;
}

// ---- Saving ------------------------------------------------------------------------------

void TVXLangDef_PB7::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    if (TVXObjectElement *file = FirstObject(); file && file->Name.contains(QLatin1Char('.'))) {
        // A DataWindow or a library list has no type statement: it is named after its file.
        file->Name = file->Identifier = QFileInfo(m_fileName).completeBaseName();
        file->ObjectType = m_mode == Mode::DataWindow    ? QStringLiteral("DATAWINDOW")
                           : m_mode == Mode::LibraryList ? QStringLiteral("LIBRARYLIST")
                                                         : QStringLiteral("PB_SCRIPT");
        file->Icon = m_mode == Mode::DataWindow ? VXIcon::DataWindow : VXIcon::DefaultObject;
    }
    for (TVXObjectElement &object : m_objectList)
        if (object.Icon == VXObjectIconState::NotChosen)
            object.Icon = VXIcon::DefaultObject;
    ResetFileState();
    m_stateFile.clear();
}

void TVXLangDef_PB7::ResetFileState()
{
    m_forward = m_typeBlock = m_variablesBlock = m_prototypesBlock = false;
    m_typeDue = TypeDue::Nothing;
    m_entryKeyword.clear();
    m_entryName.clear();
    m_entryOpen = false;
    m_declarationType.clear();
    m_declarationDue = m_sqlStatement = m_tableDue = m_columnNameDue = false;
    m_sql.Reset();
}

VELUNOR_PACKAGE("LangDef_PB7")
{
    package.RegisterClass<TVXLangDef_PB7>(QStringLiteral("TVXLangDef_PB7"));
}
