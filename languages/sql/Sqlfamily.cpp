// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/sql/Sqlfamily.h"

#include "parsing/Keywordtext.h"

#include <QSet>

using namespace VXWordType;
using namespace VXKeyword;

namespace {

// Codes that only this family gives its keywords.
constexpr TWordType Create = 99401;
constexpr TWordType TableClause = 99402;
constexpr TWordType Declare = 99403;
constexpr TWordType Begin = 99404;
constexpr TWordType End = 99405;
constexpr TWordType Case = 99406;
// WHERE, GROUP, ... end a FROM list.
constexpr TWordType ClauseWord = 99407;
// IF, LOOP, ... after END end no BEGIN.
constexpr TWordType BlockWord = 99408;
constexpr TWordType Select = 99409;
constexpr TWordType Table = 99410;

// Section numbers.
constexpr int Script = 5;
constexpr int CreatedObject = 10;

bool IsRoutineKind(const QString &text)
{
    return IsAnyOf(text, {"PROCEDURE", "PROC", "FUNCTION", "TRIGGER", "PACKAGE"});
}

bool IsObjectKind(const QString &text)
{
    return IsRoutineKind(text)
           || IsAnyOf(text, {"TABLE", "VIEW", "INDEX", "SEQUENCE", "SYNONYM", "TYPE"});
}

// Words between CREATE and the kind of object it makes.
bool IsCreateModifier(const QString &text)
{
    return IsAnyOf(text,
                   {"OR",           "REPLACE",        "ALTER",     "UNIQUE",       "GLOBAL",
                    "LOCAL",        "TEMPORARY",      "TEMP",      "MATERIALIZED", "CLUSTERED",
                    "NONCLUSTERED", "BITMAP",         "RECURSIVE", "FORCE",        "NO",
                    "EDITIONABLE",  "NONEDITIONABLE", "DEFINER",   "SECURE",       "BODY",
                    "VOLATILE",     "MULTISET",       "SET"});
}

// What a column list holds besides columns.
bool IsConstraint(const QString &text)
{
    return IsAnyOf(text, {"CONSTRAINT", "PRIMARY", "FOREIGN", "UNIQUE", "CHECK", "KEY", "INDEX",
                          "PERIOD", "LIKE", "EXCLUDE"});
}

} // namespace

TVXSqlFamily::TVXSqlFamily(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    // CREATE objects lie in the script; when one ends, the script goes on.
    m_nestedObjects = true;
    SetTables();
}

void TVXSqlFamily::SetTables()
{
    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("--"), LineCommentStart);
    SetFBreakWords(QStringLiteral("/*"), BlockCommentStart);
    SetFBreakWords(QStringLiteral("*/"), BlockCommentEnd);
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    // "Quoted names" are names, read as literals whose words the rules below still type.
    SetFBreakWords(QStringLiteral("\""), SecondaryDelimiter);
    SetFBreakWords(QStringLiteral(";"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("."), KnownWord);
    for (const char *comparison : {"<>", "!=", "<=", ">=", "=", "<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    for (const char *op : {"||", "+", "-", "*", "/", "%"})
        SetFBreakWords(QString::fromLatin1(op), Operator);

    const QString none;
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, Script, none, true);
    // The word that names a table, view or index opens it, and the statement's end ends
    // it; a routine's name opens the routine, which lasts to its last END, to the next
    // CREATE or to the end of its batch.
    SetFSections(ObjectName, StatementEnd, VXSectionType::Object, CreatedObject, none, true);
    SetFSections(ObjectAndEntryName, EndAtSameSectionNumber, VXSectionType::ObjectAndEntry,
                 CreatedObject, none, true);

    SetFWords(QStringLiteral("create"), -1, Create);
    for (const char *word : {"from", "join", "into", "update", "using", "references"})
        SetFWords(QString::fromLatin1(word), -1, TableClause);
    SetFWords(QStringLiteral("call"), -1, Call);
    SetFWords(QStringLiteral("declare"), -1, Declare);
    SetFWords(QStringLiteral("begin"), -1, Begin);
    SetFWords(QStringLiteral("end"), -1, End);
    SetFWords(QStringLiteral("case"), -1, Case);
    for (const char *word : {"where", "group", "order", "having", "union", "except", "intersect",
                             "set", "values", "on", "limit"})
        SetFWords(QString::fromLatin1(word), -1, ClauseWord);
    for (const char *word : {"if", "loop", "while", "repeat", "for"})
        SetFWords(QString::fromLatin1(word), -1, BlockWord);
    SetFWords(QStringLiteral("select"), -1, Select);
    SetFWords(QStringLiteral("table"), -1, Table);
    for (const char *word :
         {"select",    "insert",     "delete",    "merge",     "truncate",     "table",
          "view",      "index",      "where",     "group",     "order",        "by",
          "having",    "union",      "all",       "distinct",  "as",           "on",
          "and",       "or",         "not",       "null",      "is",           "in",
          "exists",    "between",    "like",      "set",       "values",       "inner",
          "left",      "right",      "full",      "outer",     "cross",        "natural",
          "when",      "then",       "else",      "matched",   "primary",      "foreign",
          "key",       "constraint", "unique",    "check",     "default",      "with",
          "alter",     "drop",       "add",       "column",    "grant",        "revoke",
          "to",        "commit",     "rollback",  "procedure", "function",     "trigger",
          "returns",   "return",     "language",  "if",        "while",        "loop",
          "for",       "each",       "row",       "after",     "before",       "instead",
          "of",        "limit",      "offset",    "fetch",     "first",        "next",
          "rows",      "only",       "asc",       "desc",      "count",        "sum",
          "min",       "max",        "avg",       "coalesce",  "cast",         "extract",
          "substring", "trim",       "upper",     "lower",     "current_date", "current_timestamp",
          "integer",   "int",        "smallint",  "bigint",    "decimal",      "numeric",
          "char",      "varchar",    "character", "varying",   "date",         "time",
          "timestamp", "boolean",    "real",      "double",    "precision",    "float",
          "text",      "blob",       "clob",      "except",    "intersect",    "cursor",
          "open",      "close",      "signal",    "leave",     "iterate",      "repeat",
          "until",     "do",         "exit",      "handler",   "continue",     "sqlexception",
          "replace",   "temporary",  "sequence",  "cascade",   "restrict",     "action",
          "no",        "true",       "false",     "over",      "partition",    "lateral",
          "recursive"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    // Variables of conditions and assignments.
    for (const TWordType anchor : {Comparison, Operator}) {
        SetFContexts(-1, anchor, -1, VariableReference);
        SetFContexts(1, anchor, -1, VariableReference);
    }

    SetFObjectIcons(QString(), QStringLiteral("TABLE"), VXIcon::Table);
    SetFObjectIcons(QString(), QStringLiteral("VIEW"), VXIcon::View);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

int TVXSqlFamily::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    // SQL has no column rules: the tables read every character.
    return ScanForBreak(row, from, length, wordType, [](int) { return true; });
}

void TVXSqlFamily::EndStatement()
{
    m_expect = Expect::Nothing;
    m_creating.clear();
    m_parentheses.clear();
    m_fromDepth = -1;
    m_columns = false;
    m_parameters = false;
    m_declaring = false;
    m_temporary = false;
    m_columnsRead = false;
}

void TVXSqlFamily::CloseDownToScript()
{
    bool objectClosed = false;
    while (m_sectionStack.size() > 2)
        CloseInnermostSection(objectClosed);
    m_beginDepth = 0;
    m_caseDepth = 0;
    m_bodyBegun = false;
}

bool TVXSqlFamily::InFromList() const
{
    return m_fromDepth >= 0 && m_fromDepth == m_parentheses.size();
}

int TVXSqlFamily::NextName(int index) const
{
    int next = index + 1;
    while (ReadWordAt(next) && ReadWordAt(next)->Word == QLatin1String("\""))
        ++next;
    return next;
}

void TVXSqlFamily::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    switch (word->WordType) {
    case TableName: {
        // SCHEMA.TABLE and DATABASE.SCHEMA.TABLE: the last part is the table, named with
        // the parts before it.
        if (word->ObjectIdentifier.isEmpty())
            word->ObjectIdentifier = word->Word;
        const int point = NextName(index);
        const int name = NextName(point);
        TVXWordElement *table = WordAt(name);
        if (ReadWordAt(point) && ReadWordAt(point)->Word == QLatin1String(".") && table
            && (table->WordType == Unknown || table->WordType == VariableReference
                || table->WordType == MainDelimiter)
            && !table->Word.isEmpty() && table->Word != QLatin1String(".")) {
            table->WordType = TableName;
            table->ObjectIdentifier = word->ObjectIdentifier + QLatin1Char('.') + table->Word;
            word->WordType = KnownWord;
            word->ObjectIdentifier.clear();
        }
        return;
    }
    case Unknown:
    case MainDelimiter: {
        // The name after SCHEMA. when the schema was typed first ("SCHEMA"."TABLE").
        int point = index - 1;
        while (ReadWordAt(point) && ReadWordAt(point)->Word == QLatin1String("\""))
            --point;
        int schema = point - 1;
        while (ReadWordAt(schema) && ReadWordAt(schema)->Word == QLatin1String("\""))
            --schema;
        TVXWordElement *qualifier = WordAt(schema);
        if (ReadWordAt(point) && ReadWordAt(point)->Word == QLatin1String(".") && qualifier
            && qualifier->WordType == TableName && word->Word != QLatin1String("\"")) {
            word->WordType = TableName;
            word->ObjectIdentifier
                    = (qualifier->ObjectIdentifier.isEmpty() ? qualifier->Word
                                                             : qualifier->ObjectIdentifier)
                      + QLatin1Char('.') + word->Word;
            qualifier->WordType = KnownWord;
            qualifier->ObjectIdentifier.clear();
            return;
        }
        // Columns and aliases are no calls: only what is declared becomes a variable.
        if (word->WordType == Unknown && LatestDeclarationOf(index) >= 0)
            word->WordType = VariableReference;
        return;
    }
    default:
        TVXLanguageDefinitionsInterface::CheckIdentifier(index);
        return;
    }
}

void TVXSqlFamily::MakeTableReference(TVXWordElement &word, int)
{
    // Temporary tables and table variables belong to the batch: no table of the
    // repository.
    if (m_transactSql
        && (word.Word.startsWith(QLatin1Char('#')) || word.Word.startsWith(QLatin1Char('@')))) {
        word.WordType = VariableReference;
        return;
    }
    word.WordType = TableName;
    word.ObjectIdentifier = word.Word;
}

bool TVXSqlFamily::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    const bool quote = text == QLatin1String("\"") || text == QLatin1String("'");
    if (quote)
        return found;
    // Quoted names stand where names do; quoted strings ('...') are values.
    const bool quotedName = literal && ReadWordAt(latest - 1)
                            && ReadWordAt(latest - 1)->Word == QLatin1String("\"");
    if (literal && !quotedName)
        return found;
    // The word before, passing over the quote of a quoted name.
    auto earlier = [this](int index) -> TVXWordElement * {
        TVXWordElement *before = WordAt(index);
        while (before && before->Word == QLatin1String("\""))
            before = WordAt(--index);
        return before;
    };
    int beforeIndex = latest - 1;
    while (ReadWordAt(beforeIndex) && ReadWordAt(beforeIndex)->Word == QLatin1String("\""))
        --beforeIndex;
    TVXWordElement *before = earlier(latest - 1);
    TVXWordElement *beforeThat = before ? earlier(beforeIndex - 1) : nullptr;
    const bool qualified = before && before->Word == QLatin1String(".") && beforeThat;

    // GO ends the batch.
    if (m_goBatches && m_wordsInRow == 1 && Is(text, "GO")) {
        CloseDownToScript();
        EndStatement();
        wordType = KnownWord;
        return found;
    }

    switch (wordType) {
    case StatementEnd:
        // A routine whose body began ends with the END that closes it.
        if (m_bodyBegun && m_beginDepth == 0 && Innermost().SectionID == CreatedObject) {
            bool objectClosed = false;
            CloseInnermostSection(objectClosed);
            m_bodyBegun = false;
        }
        EndStatement();
        return found;
    case ParenthesisOpen:
        m_parentheses.append(false);
        // The first parentheses after the table's name hold its columns; later ones its
        // options (STORAGE AREAS (...)).
        if (m_creating.compare(QLatin1String("TABLE"), Qt::CaseInsensitive) == 0
            && m_parentheses.size() == 1 && !m_temporary && !m_columnsRead) {
            m_columns = true;
            m_expect = Expect::ColumnName;
        }
        return found;
    case ParenthesisClose:
        if (!m_parentheses.isEmpty())
            m_parentheses.removeLast();
        if (m_parentheses.size() < m_fromDepth)
            m_fromDepth = -1;
        if (m_columns && m_parentheses.isEmpty()) {
            m_columns = false;
            m_columnsRead = true;
            m_expect = Expect::Nothing;
        }
        return found;
    case Comma:
        if (m_columns && m_parentheses.size() == 1)
            m_expect = Expect::ColumnName;
        else if (InFromList())
            m_expect = Expect::TableName;
        return found;
    case Create:
        CloseDownToScript();
        // The columns and parameters of the objects before are theirs alone: a dump of
        // thousands of tables keeps no more in memory than one.
        if (const TVXObjectElement *script = FirstObject())
            DropDeclarations([script](const TVXDeclaration &declaration) {
                return declaration.ObjectID != script->ObjectID;
            });
        EndStatement();
        m_expect = Expect::ObjectKind;
        return found;
    case Begin:
        ++m_beginDepth;
        if (Innermost().SectionID == CreatedObject)
            m_bodyBegun = true;
        return found;
    case Case:
        ++m_caseDepth;
        return found;
    case End:
        if (m_caseDepth > 0)
            --m_caseDepth;
        else if (m_beginDepth > 0)
            --m_beginDepth;
        return found;
    default:
        break;
    }
    // END IF, END LOOP, END WHILE: the END closed no BEGIN.
    if (wordType == BlockWord && before && before->WordType == End && m_caseDepth == 0)
        ++m_beginDepth;
    if (wordType == Select && before && before->WordType == ParenthesisOpen
        && !m_parentheses.isEmpty())
        m_parentheses.last() = true;
    if (wordType == ClauseWord)
        m_fromDepth = -1;

    switch (m_expect) {
    case Expect::ObjectKind:
        if (IsObjectKind(text)) {
            m_creating = text.toUpper();
            if (m_creating == QLatin1String("PROC"))
                m_creating = QStringLiteral("PROCEDURE");
            m_expect = Expect::ObjectName;
            wordType = KnownWord;
            return found;
        }
        if (!IsCreateModifier(text))
            m_expect = Expect::Nothing;
        return found;
    case Expect::ObjectName:
        if (IsAnyOf(text, {"IF", "NOT", "EXISTS"}))
            return found;
        m_expect = Expect::Nothing;
        // A quoted name cannot open the object it names: its words are a literal's.
        if (quotedName)
            return found;
        m_temporary = m_transactSql && text.startsWith(QLatin1Char('#'));
        if (m_temporary) {
            word.WordType = wordType = DeclarationName;
            return found;
        }
        wordType = IsRoutineKind(m_creating) ? ObjectAndEntryName : ObjectName;
        // The section that the name opens makes the next object.
        m_objectTypes.insert(m_objectCounter + 1000, m_creating);
        m_parameters = m_transactSql && IsRoutineKind(m_creating);
        m_bodyBegun = false;
        m_beginDepth = 0;
        return found;
    case Expect::TableName:
        if (wordType == Unknown || quotedName) {
            m_expect = Expect::Nothing;
            MakeTableReference(word, latest);
            wordType = word.WordType;
            return found;
        }
        if (!IsAnyOf(text, {"TABLE", "ONLY", "LATERAL"}))
            m_expect = Expect::Nothing;
        return found;
    case Expect::ColumnName:
        m_expect = Expect::Nothing;
        if (IsConstraint(text))
            return found;
        word.WordType = wordType = DeclarationName;
        m_expect = Expect::ColumnType;
        return found;
    case Expect::ColumnType:
        m_expect = Expect::Nothing;
        word.WordType = wordType = DescriptionPart;
        return found;
    default:
        break;
    }

    // SCHEMA.NAME: the name after the point, with the schema before it.
    if (qualified && (wordType == Unknown || quotedName)) {
        if (beforeThat->WordType == CalledName) {
            word.WordType = wordType = CalledName;
            word.ObjectIdentifier = text;
            beforeThat->WordType = KnownWord;
            beforeThat->ObjectIdentifier.clear();
            return found;
        }
        if ((beforeThat->WordType == ObjectName || beforeThat->WordType == ObjectAndEntryName)
            && beforeThat->ObjectID == CurrentObjectID()) {
            if (TVXObjectElement *object = CurrentObject()) {
                object->Scope = beforeThat->Word;
                object->Name = object->Identifier = text;
            }
            word.WordType = wordType = ObjectIdentifierName;
            return found;
        }
    }

    if (wordType == TableClause) {
        const bool ofStatement = !(
                Is(text, "INTO") && before && !IsAnyOf(before->Word, {"INSERT", "MERGE", "SELECT"})
                && before->WordType != Unknown && before->WordType != VariableReference);
        // FROM within a function call (EXTRACT(YEAR FROM X), TRIM(' ' FROM X)) names no table.
        const bool inCall = !m_parentheses.isEmpty() && !m_parentheses.last();
        if (ofStatement && !inCall) {
            m_expect = Expect::TableName;
            if (Is(text, "FROM"))
                m_fromDepth = int(m_parentheses.size());
        }
        wordType = KnownWord;
        return found;
    }
    // TRUNCATE TABLE X, and the table of CREATE INDEX ... ON X and CREATE TRIGGER ... ON X.
    if ((wordType == Table && before && Is(before->Word, "TRUNCATE"))
        || (wordType == ClauseWord && Is(text, "ON")
            && (m_creating == QLatin1String("INDEX") || m_creating == QLatin1String("TRIGGER")))) {
        m_expect = Expect::TableName;
        return found;
    }
    if (wordType == Call)
        return found;
    if (wordType == Unknown && before && before->WordType == Call
        && !(m_transactSql && text.startsWith(QLatin1Char('@')))) {
        word.WordType = wordType = CalledName;
        word.ObjectIdentifier = text;
        return found;
    }
    // EXEC @rc = dbo.PROC
    if (wordType == Unknown && m_transactSql && before && before->Word == QLatin1String("=")
        && ReadWordAt(latest - 3) && ReadWordAt(latest - 3)->WordType == Call) {
        word.WordType = wordType = CalledName;
        word.ObjectIdentifier = text;
        return found;
    }
    if (wordType == Unknown && before && before->WordType == Declare) {
        word.WordType = wordType = DeclarationName;
        m_expect = Expect::ColumnType;
        return found;
    }
    if (m_transactSql && wordType == Unknown && text.startsWith(QLatin1Char('@'))) {
        // Parameters of a routine, and the further variables of one DECLARE.
        const bool declared
                = before
                  && (before->WordType == ObjectAndEntryName
                      || before->WordType == ObjectIdentifierName
                      || ((before->Word == QLatin1String(",") || before->Word == QLatin1String("("))
                          && (m_parameters || m_declaring)));
        word.WordType = wordType = declared ? DeclarationName : VariableReference;
        if (declared)
            m_expect = Expect::ColumnType;
        return found;
    }
    if (wordType == Declare)
        m_declaring = true;
    if (m_parameters && IsAnyOf(text, {"AS", "BEGIN", "RETURNS", "WITH"}))
        m_parameters = false;
    return found;
}

void TVXSqlFamily::OnBeforeSaveToDB(bool final, bool)
{
    for (TVXObjectElement &object : m_objectList) {
        if (!object.ObjectType.isEmpty() && object.ObjectType != m_languageName)
            continue;
        object.ObjectType = m_objectTypes.value(object.ObjectID, QStringLiteral("SQL_SCRIPT"));
    }
    if (final)
        m_objectTypes.clear();
    // A routine's body is its entry, named like the routine.
    for (TVXEntryElement &entry : m_entryList) {
        if (!entry.Name.isEmpty() && entry.Name != m_fileName)
            continue;
        for (const TVXObjectElement &object : std::as_const(m_objectList))
            if (object.ObjectID == entry.ObjectID)
                entry.Name = object.Name;
    }
}
