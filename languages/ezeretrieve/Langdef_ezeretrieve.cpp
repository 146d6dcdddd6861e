// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/ezeretrieve/Langdef_ezeretrieve.h"

#include "base/Package.h"

#include <QFileInfo>

using namespace VXWordType;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType Job = 99401;
constexpr TWordType Sort = 99402;
constexpr TWordType Proc = 99403;
constexpr TWordType EndProc = 99404;
constexpr TWordType FileKeyword = 99405;
constexpr TWordType Percent = 99406;
constexpr TWordType ActivityName = 99407;
constexpr TWordType Define = 99408;
constexpr TWordType Program = 99409;

// Section numbers.
constexpr int FileObject = 10;
constexpr int Activity = 30;
constexpr int Procedure = 40;
constexpr int Block = 310;

constexpr std::initializer_list<int> StatementSections = {Activity, Procedure, Block};

constexpr int LastTextColumn = 72;

bool IsFormat(const QString &text)
{
    static const QSet<QString> formats
            = {QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("P"), QStringLiteral("B"),
               QStringLiteral("U"), QStringLiteral("I"), QStringLiteral("K"), QStringLiteral("M")};
    return text.size() == 1 && formats.contains(text.toUpper());
}

bool IsNumber(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (!c.isDigit())
            return false;
    return true;
}

} // namespace

TVXLangDef_EzeRetrieve::TVXLangDef_EzeRetrieve(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 20522;
    m_languageName = QStringLiteral("EzeRetrieve");
    m_fileExtensions = QStringLiteral(".ezr;");
    m_columnSetting = 5;
    m_objectsNamedAfterFile = true;
    m_valueSeparators = {QLatin1Char(' ')};

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("%"), Percent);
    // A point ends a label (CHECK-BAL. PROC) and separates statements of a row.
    SetFBreakWords(QStringLiteral("."), StatementEnd);
    SetFBreakWords(QStringLiteral(":"), KnownWord);
    for (const char *comparison : {"<=", ">=", "^=", "=", "<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    // Names hold hyphens (CUST-BAL): "-" and "*" are operators between blanks only, and a
    // "*" that begins a statement a comment (IsWordBreak).
    for (const char *op : {"+", "/"})
        SetFBreakWords(QString::fromLatin1(op), Operator);

    const QString none;
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, FileObject, none, true);
    SetFSections(Job, EndAtSameSectionNumber, VXSectionType::Entry, Activity, none, true);
    SetFSections(Sort, EndAtSameSectionNumber, VXSectionType::Entry, Activity, none, true);
    SetFSections(Proc, EndProc, VXSectionType::Entry, Procedure, none, true);
    SetFSections(If, EndOfBlock, VXSectionType::Conditional, Block, none, true);
    SetFSections(When, EndOfBlock, VXSectionType::Conditional, Block, none, true);
    SetFSections(LoopKeyword, EndOfBlock, VXSectionType::Loop, Block, none, true);

    SetFWords(QStringLiteral("job"), -1, Job);
    SetFWords(QStringLiteral("sort"), -1, Sort);
    SetFWords(QStringLiteral("proc"), -1, Proc);
    SetFWords(QStringLiteral("end-proc"), -1, EndProc);
    SetFWords(QStringLiteral("file"), FileObject, FileKeyword);
    SetFWords(QStringLiteral("define"), -1, Define);
    SetFWords(QStringLiteral("perform"), -1, Call);
    for (const char *verb : {"call", "link", "transfer"})
        SetFWords(QString::fromLatin1(verb), -1, Program);
    SetFWords(QStringLiteral("if"), -1, If);
    for (const char *word : {"else-if", "else"})
        SetFWords(QString::fromLatin1(word), -1, Else);
    SetFWords(QStringLiteral("case"), -1, When);
    SetFWords(QStringLiteral("do"), -1, LoopKeyword);
    for (const char *word : {"end-if", "end-do", "end-case"})
        SetFWords(QString::fromLatin1(word), -1, EndOfBlock);
    SetFWords(QStringLiteral("to"), -1, To);
    SetFWords(QStringLiteral("stop"), -1, Return);
    for (const char *word :
         {"input",       "name",       "using",    "print",   "display",  "put",
          "get",         "read",       "write",    "point",   "report",   "title",
          "line",        "heading",    "sequence", "control", "sum",      "linesize",
          "pagesize",    "space",      "noadjust", "spread",  "goto",     "go",
          "move",        "like",       "search",   "parm",    "list",     "on",
          "off",         "value",      "mask",     "reset",   "occurs",   "index",
          "eof",         "first-dup",  "last-dup", "finish",  "start",    "printer",
          "virtual",     "vs",         "sql",      "table",   "instream", "record-length",
          "fb",          "f",          "v",        "vb",      "activity", "end",
          "select",      "dli",        "ims",      "exit",    "level",    "eq",
          "gt",          "lt",         "ge",       "le",      "and",      "or",
          "not",         "sysprint",   "sysin",    "sysout",  "copy",     "macro",
          "mend",        "debug",      "abexit",   "while",   "until",    "when",
          "otherwise",   "w",          "s",        "dec",     "header",   "fill",
          "skip",        "newpage",    "tally",    "null",    "close",    "open",
          "status",      "key",        "update",   "add",     "delete",   "after",
          "before",      "cursor",     "fetch",    "into",    "from",     "where",
          "high-values", "low-values", "spaces",   "zero",    "zeros",    "zeroes",
          "summary",     "dtlctl",     "sumctl",   "tag",     "none",     "all",
          "first",       "last",       "every"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    // Labels head their procedures: CHECK-BAL. PROC.
    SetFContexts(-2, Proc, -1, SectionOrParagraphName);
    SetFContexts(1, ActivityName, -1, SectionOrParagraphName);
    SetFContexts(1, FileKeyword, FileObject, DeclarationName);
    SetFContexts(1, Define, -1, DeclarationName);
    SetFContexts(1, Percent, -1, IncludedMember);
    SetFContexts(1, Call, -1, CalledName);
    SetFContexts(1, Program, -1, CalledName);
    for (const int section : StatementSections) {
        for (const TWordType anchor : {Comparison, Operator, To, Comma}) {
            SetFContexts(-1, anchor, section, VariableReference);
            SetFContexts(1, anchor, section, VariableReference);
        }
        SetFContexts(1, If, section, VariableReference);
        SetFContexts(1, LoopKeyword, section, VariableReference);
    }

    SetFObjectIcons(QString(), QStringLiteral("MACRO"), VXIcon::IncludedMember);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

bool TVXLangDef_EzeRetrieve::InActivity() const
{
    for (const TVXSectionElement &section : SectionStack())
        if (section.SectionID == Activity || section.SectionID == Procedure)
            return true;
    return false;
}

bool TVXLangDef_EzeRetrieve::IsWordBreak(const QString &row, int position, int &length,
                                         TWordType &wordType, QChar &replacement)
{
    if (position == 1)
        m_fieldRow = m_defineRow = false;
    if (position > LastTextColumn) {
        length = int(row.size()) - LastTextColumn;
        wordType = CommentWord;
        return true;
    }
    const QChar c = row[position - 1];
    if (!InLiteral() && !InComment() && (c == QLatin1Char('*') || c == QLatin1Char('-'))) {
        // "*" as the first word of a statement comments the rest of the row.
        qsizetype before = position - 2;
        while (before >= 0 && row[before] == QLatin1Char(' '))
            --before;
        if (c == QLatin1Char('*') && (before < 0 || row[before] == QLatin1Char('.'))) {
            length = 1;
            wordType = LineCommentStart;
            return true;
        }
        const bool spaced = (position == 1 || row[position - 2].isSpace())
                            && (position == row.size() || row[position].isSpace());
        if (spaced) {
            length = 1;
            wordType = Operator;
            return true;
        }
        return false;
    }
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

bool TVXLangDef_EzeRetrieve::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    if (literal)
        return found;
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    TVXWordElement *before = WordAt(latest - 1);
    const bool sameRow = before && before->RowID == word.RowID;

    // A macro member begins with its MACRO statement, before any activity.
    if (m_wordsInRow == 1 && !InActivity()
        && text.compare(QLatin1String("MACRO"), Qt::CaseInsensitive) == 0)
        m_macro = true;

    // JOB INPUT CUSTIN NAME CUSTJOB: NAME names the activity in its own statement.
    if (text.compare(QLatin1String("NAME"), Qt::CaseInsensitive) == 0 && sameRow) {
        for (int i = latest - 1; i >= 0 && ReadWordAt(i)->RowID == word.RowID; --i) {
            const TWordType t = ReadWordAt(i)->WordType;
            if (t == Job || t == Sort) {
                wordType = ActivityName;
                break;
            }
        }
    }

    // A field: its name first in the row, then its start (or W, S for working storage),
    // its length and its format.
    if (!InActivity() && m_wordsInRow == 2 && sameRow && before->WordType == Unknown
        && (IsNumber(text) || text.compare(QLatin1String("W"), Qt::CaseInsensitive) == 0
            || text.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0)) {
        before->WordType = DeclarationName;
        CheckUpdates(latest - 1);
        m_fieldRow = true;
    } else if (m_fieldRow && m_wordsInRow == (m_defineRow ? 5 : 4) && wordType == Unknown
               && IsFormat(text)) {
        wordType = DescriptionPart;
    }
    // DEFINE W-LIMIT W 8 P 2: the same, after DEFINE.
    if (m_wordsInRow == 1 && wordType == Define)
        m_defineRow = m_fieldRow = true;

    // FILE CUSTIN: the file is declared, typed FILE.
    if (wordType == Unknown && before && before->WordType == FileKeyword && sameRow) {
        word.WordType = DeclarationName;
        CheckUpdates(latest);
        if (!m_declarations.isEmpty())
            m_declarations.last().Type = QStringLiteral("FILE");
        UpdateLatestVariableDefinition(latest, true);
        wordType = DeclarationName;
    }
    return found;
}

void TVXLangDef_EzeRetrieve::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    switch (word->WordType) {
    case IncludedMember:
        word->ObjectIdentifier = FoldedCase(word->Word);
        return;
    case CalledName: {
        // PERFORM runs a procedure of the program; CALL, LINK and TRANSFER a program.
        const TVXWordElement *verb = ReadWordAt(index - 1);
        if (verb && verb->WordType == Program)
            word->ObjectIdentifier = FoldedCase(word->Word);
        return;
    }
    case Unknown:
        if (LatestDeclarationOf(index) >= 0)
            word->WordType = VariableReference;
        return;
    default:
        return;
    }
}

void TVXLangDef_EzeRetrieve::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    if (TVXObjectElement *object = FirstObject()) {
        object->Name = object->Identifier = QFileInfo(m_fileName).completeBaseName().toUpper();
        object->ObjectType = m_macro ? QStringLiteral("MACRO") : QStringLiteral("PROGRAM");
    }
    int number = 0;
    for (TVXEntryElement &entry : m_entryList) {
        ++number;
        if (entry.Name.isEmpty() || entry.Name == m_fileName)
            entry.Name = QLatin1Char('#') + QString::number(number);
    }
    m_macro = false;
}

VELUNOR_PACKAGE("LangDef_EzeRetrieve")
{
    package.RegisterClass<TVXLangDef_EzeRetrieve>(QStringLiteral("TVXLangDef_EzeRetrieve"));
}
