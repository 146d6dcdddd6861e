// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/pl1/Langdef_pl1.h"

#include "base/Package.h"

#include <QFileInfo>
#include <QSet>

using namespace VXWordType;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType Declare = 99401;
constexpr TWordType Procedure = 99402;
constexpr TWordType EntryStatement = 99403;
constexpr TWordType Begin = 99404;
constexpr TWordType Exec = 99405;
constexpr TWordType Colon = 99406;
constexpr TWordType Do = 99407;
constexpr TWordType Cics = 99408;
constexpr TWordType Select = 99409;
constexpr TWordType LoopWord = 99410;

// Section numbers.
constexpr int FileObject = 10;
constexpr int Declaration = 20;
constexpr int ProcedureBlock = 30;
constexpr int SecondaryEntry = 31;
constexpr int Branch = 310;
constexpr int Group = 320;
constexpr int ExecBlock = 340;
constexpr int Sql = 350;
constexpr int SqlSelectList = 351;
constexpr int SqlUpdateList = 352;
constexpr int CicsBlock = 360;

constexpr std::initializer_list<int> StatementSections
        = {FileObject, ProcedureBlock, SecondaryEntry, Branch, Group};

// The code page of Swedish and Finnish installations puts national letters where the
// PL/I character set has these.
QChar NationalCharacter(QChar c)
{
    switch (c.unicode()) {
    case '#':
        return QChar(0x00C4); // Ä
    case '$':
        return QChar(0x00C5); // Å
    case '@':
        return QChar(0x00D6); // Ö
    default:
        return {};
    }
}

constexpr int LastTextColumn = 72;

bool IsCarriageControl(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('0') || c == QLatin1Char('1')
           || c == QLatin1Char('-') || c == QLatin1Char('+');
}

} // namespace

TVXLangDef_PL1::TVXLangDef_PL1(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 20530;
    m_languageName = QStringLiteral("PL1");
    m_fileExtensions = QStringLiteral(".pl1;.pli;");
    m_columnSetting = 5;
    m_unknownIdentifiers = true;
    m_objectsNamedAfterFile = true;
    m_valueSeparators = {QLatin1Char(' ')};

    SetFWhiteSpaceBreaks();
    // Longer break words first: the first one that matches wins.
    SetFBreakWords(QStringLiteral("/*"), BlockCommentStart);
    SetFBreakWords(QStringLiteral("*/"), BlockCommentEnd);
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    SetFBreakWords(QStringLiteral("\""), SecondaryDelimiter);
    SetFBreakWords(QStringLiteral(";"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral(":"), Colon);
    SetFBreakWords(QStringLiteral("->"), KnownWord);
    // A.B names a structure member, 3.14 a number: one word each.
    SetFBreakWords(QStringLiteral("."), Joiner);
    SetFBreakWords(QStringLiteral("%"), KnownWord);
    for (const char *op : {"||", "**", "+", "-", "*", "/"})
        SetFBreakWords(QString::fromLatin1(op), Operator);
    for (const char *comparison :
         {"¬=", "^=", "<=", ">=", "¬<", "¬>", "=", "<", ">", "¬", "^", "&", "|"})
        SetFBreakWords(QString::fromUtf8(comparison), Comparison);

    SetSections();
    SetKeywords();
    SetContexts();
    SetFObjectIcons(QString(), QStringLiteral("INCLUDE"), VXIcon::IncludedMember);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

void TVXLangDef_PL1::SetSections()
{
    const QString none;
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, FileObject, none, true);
    SetFSections(Declare, StatementEnd, VXSectionType::DeclarationBlock, Declaration, none, true);
    SetFSections(Procedure, EndOfBlock, VXSectionType::Entry, ProcedureBlock, none, true);
    // ENTRY is a further way into the procedure around it, whose statements follow.
    SetFSections(EntryStatement, StatementEnd, VXSectionType::Entry, SecondaryEntry, none, true);
    SetFSections(Begin, EndOfBlock, VXSectionType::Inherit, Group, none, true);
    SetFSections(Do, EndOfBlock, VXSectionType::Inherit, Group, none, true);
    SetFSections(Select, EndOfBlock, VXSectionType::Conditional, Group, none, true);
    SetFSections(If, ProcedureDivisionStatementEnd, VXSectionType::Conditional, Branch, none, true);
    SetFSections(Else, ProcedureDivisionStatementEnd, VXSectionType::Conditional, Branch, none,
                 true);
    SetFSections(When, ConditionalEnd5, VXSectionType::Conditional, Branch, none, true);
    SetFSections(Exec, StatementEnd, VXSectionType::Statement, ExecBlock, none, true);
    SetFSections(EmbeddedSqlStart, EndClosesParent, VXSectionType::EmbeddedSql, Sql, none, true);
    SetFSections(SqlSelect, SqlFrom, VXSectionType::EmbeddedSql, SqlSelectList, none, true);
    SetFSections(SqlSetList, SqlClauseEnd, VXSectionType::EmbeddedSql, SqlUpdateList, none, true);
    SetFSections(Cics, EndClosesParent, VXSectionType::Inherit, CicsBlock, none, true);
}

void TVXLangDef_PL1::SetKeywords()
{
    // Words of embedded SQL and CICS first: the first entry that matches a word wins.
    // Embedded SQL.
    SetFWords(QStringLiteral("sql"), ExecBlock, EmbeddedSqlStart);
    SetFWords(QStringLiteral("cics"), ExecBlock, Cics);
    SetFWords(QStringLiteral("dli"), ExecBlock, Cics);
    SetFWords(QStringLiteral("select"), Sql, SqlSelect);
    SetFWords(QStringLiteral("into"), SqlSelectList, SqlInto);
    SetFWords(QStringLiteral("from"), SqlSelectList, SqlFrom);
    for (const char *word : {"from", "update", "into", "join"})
        SetFWords(QString::fromLatin1(word), Sql, SqlTarget);
    SetFWords(QStringLiteral("set"), Sql, SqlSetList);
    SetFWords(QStringLiteral("where"), SqlUpdateList, SqlClauseEnd);
    SetFWords(QStringLiteral("cursor"), Sql, DeclarationType);
    SetFWords(QStringLiteral(";"), Sql, EndClosesParent);
    SetFWords(QStringLiteral(";"), SqlSelectList, ClosesThreeLevels);
    SetFWords(QStringLiteral(";"), SqlUpdateList, ClosesThreeLevels);
    SetFWords(QStringLiteral("include"), Sql, Include);
    for (const char *word :
         {"declare",  "open",     "close", "fetch", "insert", "delete", "values",  "order",
          "group",    "by",       "and",   "or",    "not",    "null",   "is",      "commit",
          "rollback", "distinct", "as",    "for",   "with",   "where",  "having",  "count",
          "sum",      "max",      "min",   "avg",   "in",     "like",   "between", "exists",
          "current",  "of",       "work",  "union", "all",    "desc",   "asc"})
        SetFWords(QString::fromLatin1(word), Sql, KnownWord);

    // Embedded CICS.
    SetFWords(QStringLiteral("map"), CicsBlock, SqlTarget);
    SetFWords(QStringLiteral("program"), CicsBlock, Call);
    SetFWords(QStringLiteral(";"), CicsBlock, EndClosesParent);
    for (const char *word :
         {"send",     "receive",  "mapset", "link",      "xctl",   "return",    "transid",
          "commarea", "length",   "resp",   "resp2",     "handle", "condition", "erase",
          "dataonly", "maponly",  "into",   "from",      "read",   "write",     "rewrite",
          "dataset",  "file",     "ridfld", "keylength", "update", "startbr",   "readnext",
          "endbr",    "nohandle", "set",    "address",   "eib",    "abend"})
        SetFWords(QString::fromLatin1(word), CicsBlock, KnownWord);

    for (const char *word : {"dcl", "declare", "dft", "default"})
        SetFWords(QString::fromLatin1(word), -1, Declare);
    for (const char *word : {"proc", "procedure"})
        SetFWords(QString::fromLatin1(word), -1, Procedure);
    SetFWords(QStringLiteral("entry"), -1, EntryStatement);
    SetFWords(QStringLiteral("begin"), -1, Begin);
    SetFWords(QStringLiteral("do"), -1, Do);
    SetFWords(QStringLiteral("select"), -1, Select);
    SetFWords(QStringLiteral("end"), -1, EndOfBlock);
    SetFWords(QStringLiteral("if"), -1, If);
    SetFWords(QStringLiteral("else"), -1, Else);
    for (const char *word : {"when", "otherwise", "other"})
        SetFWords(QString::fromLatin1(word), -1, When);
    for (const char *word : {"while", "until", "repeat", "to", "by", "upthru", "downthru"})
        SetFWords(QString::fromLatin1(word), Group, LoopWord);
    SetFWords(QStringLiteral("call"), -1, Call);
    for (const char *word : {"include", "xinclude", "inscan", "xinscan"})
        SetFWords(QString::fromLatin1(word), -1, Include);
    SetFWords(QStringLiteral("exec"), -1, Exec);
    for (const char *word : {"return", "stop", "exit"})
        SetFWords(QString::fromLatin1(word), -1, Return);

    // A statement ends its IF, ELSE and WHEN: all of them when they nest without a group.
    SetFWords(QStringLiteral(";"), Branch, ProcedureDivisionStatementEnd);

    // Attributes describe the name they follow.
    for (const char *word :
         {"fixed",         "float",      "bin",       "binary",       "dec",       "decimal",
          "char",          "character",  "varying",   "var",          "varyingz",  "nonvarying",
          "bit",           "graphic",    "widechar",  "pic",          "picture",   "init",
          "initial",       "static",     "automatic", "auto",         "based",     "defined",
          "def",           "external",   "ext",       "internal",     "int",       "builtin",
          "file",          "record",     "input",     "output",       "stream",    "print",
          "pointer",       "ptr",        "entry",     "returns",      "options",   "aligned",
          "unaligned",     "like",       "label",     "area",         "offset",    "condition",
          "controlled",    "ctl",        "keyed",     "sequential",   "update",    "env",
          "environment",   "dim",        "dimension", "constant",     "value",     "byaddr",
          "byvalue",       "complex",    "real",      "signed",       "unsigned",  "format",
          "position",      "pos",        "refer",     "union",        "ordinal",   "handle",
          "direct",        "transient",  "buffered",  "unbuffered",   "generic",   "variable",
          "nonassignable", "assignable", "connected", "nonconnected", "parameter", "align"})
        SetFWords(QString::fromLatin1(word), Declaration, DescriptionPart);

    // Statements, options and built-in functions, which name no data.
    for (const char *word : {"put",
                             "get",
                             "skip",
                             "list",
                             "edit",
                             "data",
                             "read",
                             "write",
                             "rewrite",
                             "locate",
                             "delete",
                             "open",
                             "close",
                             "into",
                             "from",
                             "key",
                             "keyto",
                             "keyfrom",
                             "set",
                             "ignore",
                             "on",
                             "signal",
                             "revert",
                             "endfile",
                             "endpage",
                             "error",
                             "conversion",
                             "zerodivide",
                             "overflow",
                             "underflow",
                             "size",
                             "subscriptrange",
                             "stringrange",
                             "key",
                             "undefinedfile",
                             "finish",
                             "go",
                             "goto",
                             "then",
                             "leave",
                             "iterate",
                             "allocate",
                             "alloc",
                             "free",
                             "fetch",
                             "release",
                             "wait",
                             "delay",
                             "display",
                             "reply",
                             "main",
                             "reorder",
                             "recursive",
                             "reentrant",
                             "sysprint",
                             "sysin",
                             "page",
                             "line",
                             "column",
                             "col",
                             "substr",
                             "length",
                             "index",
                             "verify",
                             "translate",
                             "trim",
                             "addr",
                             "null",
                             "sysnull",
                             "string",
                             "unspec",
                             "mod",
                             "abs",
                             "max",
                             "min",
                             "round",
                             "trunc",
                             "ceil",
                             "floor",
                             "sign",
                             "sqrt",
                             "date",
                             "time",
                             "datetime",
                             "hbound",
                             "lbound",
                             "dimension",
                             "onchar",
                             "onsource",
                             "oncode",
                             "plist",
                             "pliretv",
                             "pliretc",
                             "plidump",
                             "left",
                             "right",
                             "center",
                             "repeat",
                             "copy",
                             "high",
                             "low",
                             "char",
                             "fixed",
                             "float",
                             "binary",
                             "decimal",
                             "bit",
                             "bool",
                             "search",
                             "tally",
                             "lowercase",
                             "uppercase",
                             "sum",
                             "prod",
                             "allocation",
                             "empty",
                             "currentstorage",
                             "storage",
                             "stg",
                             "sysparm",
                             "all",
                             "any",
                             "bx",
                             "title",
                             "linesize",
                             "pagesize",
                             "while",
                             "until",
                             "to",
                             "by",
                             "upthru",
                             "downthru",
                             "forever",
                             "loop",
                             "options"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);
}

void TVXLangDef_PL1::SetContexts()
{
    // Labels name the procedures and entry points they head.
    SetFContexts(-2, Procedure, -1, SectionOrParagraphName);
    SetFContexts(-2, EntryStatement, -1, SectionOrParagraphName);
    // END name closes the named block; the name is no data.
    SetFContexts(1, EndOfBlock, -1, KnownWord);
    SetFContexts(1, Include, -1, IncludedMember);
    // %INCLUDE 'CUSTREC';
    for (const int section : StatementSections)
        SetFContexts(2, Include, -section, IncludedMember);
    for (const int section : StatementSections)
        SetFContexts(1, Call, section, CalledName);

    // Variables of the statements.
    for (const int section : StatementSections) {
        for (const TWordType anchor :
             {Comparison, Operator, Comma, ParenthesisOpen, VariableReference}) {
            SetFContexts(-1, anchor, section, VariableReference);
            SetFContexts(1, anchor, section, VariableReference);
        }
        SetFContexts(1, If, section, VariableReference);
        SetFContexts(1, LoopWord, section, VariableReference);
    }
    SetFContexts(1, LoopWord, Group, VariableReference);

    // Embedded SQL: tables after FROM, INTO, UPDATE and JOIN; host variables after ":".
    for (const int section : {Sql, SqlSelectList, SqlUpdateList}) {
        SetFContexts(1, Colon, section, VariableReference);
        SetFContexts(-1, Qualifier, section, KnownWord);
    }
    SetFContexts(1, SqlTarget, Sql, TableName);
    SetFContexts(1, SqlFrom, Sql, TableName);
    SetFContexts(-1, DeclarationType, Sql, DeclarationName);

    // Embedded CICS: PROGRAM('X') and MAP('X') with their literals.
    SetFContexts(3, Call, -CicsBlock, CalledName);
    SetFContexts(3, SqlTarget, -CicsBlock, HostName);
    SetFContexts(1, Colon, CicsBlock, VariableReference);
}

bool TVXLangDef_PL1::IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                                 QChar &replacement)
{
    // Column 1 is the carriage-control column; from column 73 on sequence numbers stand. A
    // source that starts its text in column 1 (compiled with other margins) keeps it.
    if (position == 1 && IsCarriageControl(row[0])) {
        length = 1;
        wordType = WhiteSpace;
        return true;
    }
    if (position > LastTextColumn) {
        length = int(row.size()) - LastTextColumn;
        wordType = WhiteSpace;
        return true;
    }
    if (InComment() || InLiteral()) {
        const QChar national = NationalCharacter(row[position - 1]);
        if (!national.isNull()) {
            replacement = national;
            return false;
        }
    }
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

int TVXLangDef_PL1::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    // Column 1, the sequence columns and the national letters of comments and literals
    // have rules of their own; every other character is read by the tables alone.
    const bool text = InComment() || InLiteral();
    return ScanForBreak(row, from, length, wordType, [&](int position) {
        return position > 1 && position <= LastTextColumn
               && (!text || NationalCharacter(row[position - 1]).isNull());
    });
}

bool TVXLangDef_PL1::DeclaresName(const TVXWordElement *before,
                                  const TVXWordElement *beforeThat) const
{
    if (!before)
        return false;
    if (before->WordType == Declare)
        return true;
    if (before->Word == QLatin1String("("))
        return beforeThat && beforeThat->WordType == Declare;
    if (before->Word == QLatin1String(","))
        return m_declareDepth == (m_factored ? 1 : 0);
    // A level number: DCL 1 CUSTOMER, 2 NAME CHAR(30).
    if (before->WordType == Constant && !before->Word.isEmpty() && before->Word.front().isDigit())
        return beforeThat
               && (beforeThat->WordType == Declare
                   || (beforeThat->Word == QLatin1String(",") && m_declareDepth == 0));
    return false;
}

bool TVXLangDef_PL1::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter || wordType == SecondaryDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    if (literal)
        return found;
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    const TVXWordElement *before = ReadWordAt(latest - 1);
    const TVXWordElement *beforeThat = ReadWordAt(latest - 2);
    const int section = std::as_const(m_sectionStack).last().SectionID;

    // Two statements in one row: the second has a row id of its own.
    if (before && before->RowID == word.RowID && before->Word == QLatin1String(";")
        && m_wordsInRow > 1) {
        StartNewStatement();
        word.RowID = m_rowID;
        word.WordID = m_wordID;
        m_wordID += 1000;
    }

    // PROCEDURE and ENTRY head a block only after a label; elsewhere they are attributes
    // (DCL X ENTRY) or options.
    const bool labelled = before && before->Word == QLatin1String(":");
    if ((wordType == Procedure || wordType == EntryStatement) && !labelled)
        wordType = section == Declaration ? DescriptionPart : KnownWord;

    if (wordType == Declare) {
        m_declareDepth = 0;
        m_factored = false;
        m_factoredFrom = -1;
    } else if (section == Declaration) {
        if (wordType == ParenthesisOpen) {
            if (before && before->WordType == Declare) {
                m_factored = true;
                m_factoredFrom = int(m_declarations.size());
            }
            ++m_declareDepth;
        } else if (wordType == ParenthesisClose) {
            m_declareDepth = std::max(0, m_declareDepth - 1);
            if (m_declareDepth == 0)
                m_factored = false;
        } else if (wordType == Unknown && !text.front().isDigit()
                   && DeclaresName(before, beforeThat)) {
            wordType = DeclarationName;
        } else if (wordType == StatementEnd && m_factoredFrom >= 0) {
            ShareFactoredAttributes();
        }
    }

    // DO WHILE, DO UNTIL and DO I = 1 TO N repeat the group: a loop.
    if (wordType == Do)
        m_doHead = true;
    else if (wordType == StatementEnd)
        m_doHead = false;
    else if (wordType == LoopWord && m_doHead && section == Group)
        Innermost().SectionType = VXSectionType::Loop;
    return found;
}

void TVXLangDef_PL1::ShareFactoredAttributes()
{
    // DCL (A, B) FIXED: the attributes after the list describe every name in it, each
    // declared before them.
    const qsizetype last = m_declarations.size() - 1;
    if (m_factoredFrom < 0 || last <= m_factoredFrom) {
        m_factoredFrom = -1;
        return;
    }
    const QString type = m_declarations.at(last).Type;
    QSet<QString> names;
    for (qsizetype i = m_factoredFrom; i < last; ++i) {
        m_declarations[i].Type = type;
        names.insert(Folded(m_declarations.at(i).Name));
    }
    for (qsizetype i = m_wordBuffer.size() - 1; i >= 0 && !names.isEmpty(); --i) {
        TVXWordElement &word = m_wordBuffer[i];
        if (word.WordType == Declare)
            break;
        if (word.WordType == DeclarationName && names.contains(Folded(word.Word)))
            word.ObjectIdentifier = type;
    }
    m_factoredFrom = -1;
}

void TVXLangDef_PL1::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    const QString &w = word->Word;
    switch (word->WordType) {
    case IncludedMember: {
        // %INCLUDE SYSLIB(CUSTIO): the library, then the member in parentheses.
        const TVXWordElement *open = ReadWordAt(index + 1);
        TVXWordElement *member = WordAt(index + 2);
        const TVXWordElement *close = ReadWordAt(index + 3);
        if (open && member && close && open->Word == QLatin1String("(")
            && close->Word == QLatin1String(")") && open->RowID == word->RowID) {
            word->WordType = KnownWord;
            member->WordType = IncludedMember;
            return;
        }
        word->ObjectIdentifier = FoldedCase(w);
        return;
    }
    case HostName: {
        const TVXWordElement *map = ReadWordAt(index - 3);
        word->ObjectIdentifier
                = map && map->Word.compare(QLatin1String("MAP"), Qt::CaseInsensitive) == 0
                          ? w + QStringLiteral("_MAP")
                          : w;
        return;
    }
    case CalledName: {
        // CALL x finds an internal procedure first; LINK and XCTL PROGRAM('X') run a
        // program, which the identifier names.
        const TVXWordElement *verb = ReadWordAt(index - 1);
        if (!(verb && verb->Word.compare(QLatin1String("CALL"), Qt::CaseInsensitive) == 0))
            word->ObjectIdentifier = w;
        return;
    }
    case TableName:
        word->ObjectIdentifier = w;
        return;
    case Unknown:
        if (LatestDeclarationOf(index) >= 0)
            word->WordType = VariableReference;
        return;
    default:
        return;
    }
}

void TVXLangDef_PL1::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    TVXObjectElement *object = FirstObject();
    if (!object)
        return;
    object->Name = object->Identifier = QFileInfo(m_fileName).completeBaseName().toUpper();
    bool procedures = false;
    for (const TVXEntryElement &entry : std::as_const(m_entryList))
        procedures = procedures || entry.ObjectID == object->ObjectID;
    object->ObjectType = procedures ? QStringLiteral("PROCEDURE") : QStringLiteral("INCLUDE");
}

VELUNOR_PACKAGE("LangDef_PL1")
{
    package.RegisterClass<TVXLangDef_PL1>(QStringLiteral("TVXLangDef_PL1"));
}
