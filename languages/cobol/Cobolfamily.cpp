// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/cobol/Cobolfamily.h"

#include "base/Package.h"

#include "parsing/Cardcolumns.h"

#include <QFileInfo>

#include <array>
#include <cstring>

using namespace VXWordType;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType PictureParenthesis = 99401;
constexpr TWordType ProcedureSection = 99402;
constexpr TWordType IntroducesVariable = 99403;
constexpr TWordType FollowsVariable = 99404;
constexpr TWordType Exec = 99405;
constexpr TWordType Compute = 99406;
constexpr TWordType Add = 99407;
constexpr TWordType Sum = 99408;
constexpr TWordType By = 99409;
constexpr TWordType Cics = 99410;

// The catalogue's codes under the names of the COBOL words that carry them.
constexpr TWordType Section = SectionKeyword;
constexpr TWordType Data = DataBlockStart;
constexpr TWordType Perform = Call;
constexpr TWordType Go = GoTo;
constexpr TWordType Exit = Return;
constexpr TWordType ProgramID = ObjectStart;
constexpr TWordType Configuration = ConfigurationStart;
constexpr TWordType EmbeddedSql = EmbeddedSqlStart;
constexpr TWordType SqlSetListEnd = SqlClauseEnd;

// Section numbers.
constexpr int FileObject = 10;
constexpr int Identification = 11;
constexpr int DataDivision = 20;
constexpr int PictureParentheses = 210;
constexpr int ProcedureDivisionSection = 25;
constexpr int Paragraph = 30;
constexpr int Block = 310;
constexpr int ComputeStatement = 320;
constexpr int AddStatement = 330;
constexpr int ExecBlock = 340;
constexpr int Sql = 350;
constexpr int SqlSelectList = 351;
constexpr int SqlUpdateList = 352;
constexpr int CicsBlock = 360;
constexpr int ConfigurationBlock = 991;

constexpr std::initializer_list<int> StatementSections
        = {FileObject, ProcedureDivisionSection, Paragraph, Block};
constexpr std::initializer_list<int> ProcedureSections
        = {ProcedureDivisionSection, Paragraph, Block};

// Words that begin a statement wherever they stand in a row.
bool StartsStatement(const QString &text)
{
    static const QSet<QString> verbs
            = {QStringLiteral("ACCEPT"),  QStringLiteral("ADD"),      QStringLiteral("CALL"),
               QStringLiteral("COMPUTE"), QStringLiteral("CONTINUE"), QStringLiteral("COPY"),
               QStringLiteral("CLOSE"),   QStringLiteral("DISPLAY"),  QStringLiteral("DIVIDE"),
               QStringLiteral("ELSE"),    QStringLiteral("END"),      QStringLiteral("EVALUATE"),
               QStringLiteral("EXEC"),    QStringLiteral("EXIT"),     QStringLiteral("GOBACK"),
               QStringLiteral("GO"),      QStringLiteral("IF"),       QStringLiteral("INITIALIZE"),
               QStringLiteral("INSPECT"), QStringLiteral("MOVE"),     QStringLiteral("MULTIPLY"),
               QStringLiteral("NEXT"),    QStringLiteral("PERFORM"),  QStringLiteral("OPEN"),
               QStringLiteral("SET"),     QStringLiteral("SUBTRACT"), QStringLiteral("STRING"),
               QStringLiteral("WHEN"),    QStringLiteral("WHILE")};
    // Most words are data names: the first letter and the length of the verbs rule them out
    // before the text is folded and hashed.
    static const std::array<quint16, 26> lengthsByLetter = [] {
        std::array<quint16, 26> lengths{};
        for (const QString &verb : verbs)
            lengths[verb.front().unicode() - 'A'] |= quint16(1u << verb.size());
        return lengths;
    }();
    if (text.size() < 2)
        return false;
    if (text.size() > 10)
        return text.startsWith(QLatin1String("END-"), Qt::CaseInsensitive);
    char16_t first = text.front().unicode();
    if (first >= 'a' && first <= 'z')
        first -= 'a' - 'A';
    else if (first >= 0x80)
        first = text.front().toUpper().unicode();
    if (first < 'A' || first > 'Z')
        return false;
    if (first == 'E' && text.startsWith(QLatin1String("END-"), Qt::CaseInsensitive))
        return true;
    if ((lengthsByLetter[first - 'A'] & (1u << text.size())) == 0)
        return false;
    return verbs.contains(TVXLanguageDefinitionsInterface::FoldedCase(text));
}

// The length of the run of blanks that starts at the 0-based index from and ends before
// end at the latest. Fixed-format rows are padded with blanks up to column 72, so the runs
// are long: four characters are compared at a time.
int BlankRun(const QChar *text, int from, int end)
{
    constexpr quint64 fourBlanks = 0x0020002000200020ULL;
    int i = from;
    for (; i + 4 <= end; i += 4) {
        quint64 chars;
        std::memcpy(&chars, text + i, sizeof chars);
        if (chars != fourBlanks)
            break;
    }
    while (i < end && text[i] == QLatin1Char(' '))
        ++i;
    return i - from;
}

} // namespace

// The Swedish and Finnish 7-bit code page puts national letters where ASCII has these.
QChar TVXCobolFamily::NationalCharacter(QChar c) const
{
    switch (c.unicode()) {
    case '@':
        return QChar(0x00C9); // É
    case '[':
        return QChar(0x00C4); // Ä
    case '\\':
        return QChar(0x00D6); // Ö
    case ']':
        return QChar(0x00C5); // Å
    case '`':
        return QChar(0x00E9); // é
    case '{':
        return QChar(0x00E4); // ä
    case '|':
        return QChar(0x00F6); // ö
    case '}':
        return QChar(0x00E5); // å
    default:
        return {};
    }
}

TVXCobolFamily::TVXCobolFamily(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_columnSetting = 5;
    m_unknownIdentifiers = true;
    m_valueSeparators = {QLatin1Char(' ')};

    SetBreakWords();
    SetSections();
    SetKeywords();
    SetContexts();
    SetFObjectIcons(QString(), QStringLiteral("copy"), VXIcon::IncludedMember);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

void TVXCobolFamily::SetFWordsIn(const QString &word, std::initializer_list<int> sections,
                                 TWordType type)
{
    for (const int section : sections)
        SetFWords(word, section, type);
}

void TVXCobolFamily::SetFContextsIn(int offset, TWordType anchor,
                                    std::initializer_list<int> sections, TWordType newType)
{
    for (const int section : sections)
        SetFContexts(offset, anchor, section, newType);
}

void TVXCobolFamily::SetBreakWords()
{
    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral(";"), KnownWord);
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    SetFBreakWords(QStringLiteral("\""), SecondaryDelimiter);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("["), BracketOpen);
    SetFBreakWords(QStringLiteral("]"), BracketClose);
    SetFBreakWords(QStringLiteral("?"), KnownWord);
    SetFBreakWords(QStringLiteral(":"), KnownWord);
    for (const char *comparison : {"=", "^", "!", ">=", ">", "<=", "<"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    for (const char *op : {"*", "+", "/"})
        SetFBreakWords(QString::fromLatin1(op), Operator);
    SetFBreakWords(QStringLiteral("."), StatementEnd);
}

void TVXCobolFamily::SetSections()
{
    const QString none;
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, FileObject, none, true);
    SetFSections(ProgramID, EndOfFile, VXSectionType::DeclarationBlock, Identification, none, true);
    SetFSections(Data, ProcedureDivision, VXSectionType::DeclarationBlock, DataDivision, none,
                 true);
    SetFSections(PictureParenthesis, ParenthesisClose, VXSectionType::DeclarationBlock,
                 PictureParentheses, none, true);
    SetFSections(ProcedureDivision, EndOfFile, VXSectionType::Entry, ProcedureDivisionSection, none,
                 true);
    SetFSections(ProcedureSection, EndAtSameSectionNumber, VXSectionType::Statement, Paragraph,
                 none, true);
    SetFSections(Section, EndAtSameSectionNumber, VXSectionType::Entry, Paragraph, none, true);
    SetFSections(SectionOrParagraphName, EndAtSameSectionNumber, VXSectionType::Entry, Paragraph,
                 none, true);
    SetFSections(If, EndOfBlock, VXSectionType::Conditional, Block, none, true);
    SetFSections(Evaluate, EndOfBlock, VXSectionType::Conditional, Block, none, true);
    SetFSections(When, ConditionalEnd5, VXSectionType::Conditional, Block, none, true);
    SetFSections(LoopKeyword, EndOfBlock, VXSectionType::Loop, Block, none, true);
    SetFSections(Compute, Assignment, VXSectionType::Statement, ComputeStatement, none, true);
    SetFSections(Add, Operator, VXSectionType::Statement, AddStatement, none, true);
    SetFSections(Exec, EndAtStatementEnd, VXSectionType::Statement, ExecBlock, none, true);
    SetFSections(EmbeddedSql, EndClosesParent, VXSectionType::EmbeddedSql, Sql, none, true);
    SetFSections(SqlSelect, SqlFrom, VXSectionType::EmbeddedSql, SqlSelectList, none, true);
    SetFSections(SqlSetList, SqlSetListEnd, VXSectionType::EmbeddedSql, SqlUpdateList, none, true);
    SetFSections(Cics, EndClosesParent, VXSectionType::Inherit, CicsBlock, none, true);
    SetFSections(Configuration, StatementEnd, VXSectionType::Inherit, ConfigurationBlock, none,
                 true);
    SetFSections(ParenthesisOpen, ParenthesisClose, VXSectionType::Inherit, Block, none, true);
    SetFSections(BracketOpen, BracketClose, VXSectionType::Inherit, Block, none, true);
}

void TVXCobolFamily::SetKeywords()
{
    // Division and declaration words.
    SetFWords(QStringLiteral("program-id"), FileObject, ProgramID);
    SetFWords(QStringLiteral("configuration"), Identification, Configuration);
    SetFWords(QStringLiteral("data"), Identification, Data);
    SetFWords(QStringLiteral("fd"), DataDivision, DeclarationType);
    SetFWords(QStringLiteral("pic"), DataDivision, Picture);
    SetFWords(QStringLiteral("("), DataDivision, PictureParenthesis);
    SetFWords(QStringLiteral("procedure"), DataDivision, ProcedureDivision);
    SetFWords(QStringLiteral("procedure"), FileObject, ProcedureDivision);
    SetFWords(QStringLiteral("section"), ProcedureDivisionSection, ProcedureSection);
    SetFWords(QStringLiteral("section"), FileObject, Section);
    SetFWords(QStringLiteral("section"), Paragraph, Section);

    // Statement verbs.
    for (const char *verb : {"perform", "call", "function"})
        SetFWordsIn(QString::fromLatin1(verb), StatementSections, Perform);
    SetFWordsIn(QStringLiteral("go"), StatementSections, Go);
    SetFWordsIn(QStringLiteral("add"), StatementSections, Add);
    SetFWordsIn(QStringLiteral("to"), StatementSections, To);
    for (const char *verb : {"accept", "set"})
        SetFWordsIn(QString::fromLatin1(verb), StatementSections, SetOrAccept);
    SetFWordsIn(QStringLiteral("initialize"), StatementSections, Initialize);
    for (const char *word : {"using", "display", "into", "in"})
        SetFWordsIn(QString::fromLatin1(word), StatementSections, IntroducesVariable);
    SetFWordsIn(QStringLiteral("compute"), StatementSections, Compute);
    for (const char *word : {"not", "delimited"})
        SetFWordsIn(QString::fromLatin1(word), StatementSections, FollowsVariable);
    SetFWordsIn(QStringLiteral("if"), StatementSections, If);
    SetFWordsIn(QStringLiteral("else"), StatementSections, Else);
    SetFWordsIn(QStringLiteral("evaluate"), StatementSections, Evaluate);
    SetFWordsIn(QStringLiteral("when"), StatementSections, When);
    SetFWordsIn(QStringLiteral("until"), StatementSections, LoopKeyword);
    SetFWordsIn(QStringLiteral("-"), ProcedureSections, Operator);
    SetFWords(QStringLiteral(";"), Block, ProcedureStatementEnd);
    SetFWords(QStringLiteral("."), Block, ProcedureDivisionStatementEnd);
    SetFWords(QStringLiteral("to"), AddStatement, Operator);
    SetFWords(QStringLiteral("="), ComputeStatement, Assignment);
    SetFWords(QStringLiteral("copy"), -1, Include);
    SetFWords(QStringLiteral("exec"), -1, Exec);

    // Embedded SQL.
    SetFWords(QStringLiteral("sql"), ExecBlock, EmbeddedSql);
    SetFWords(QStringLiteral("select"), Sql, SqlSelect);
    SetFWords(QStringLiteral("into"), SqlSelectList, SqlInto);
    SetFWords(QStringLiteral("from"), SqlSelectList, SqlFrom);
    for (const char *word : {",", ".", "update", "into"})
        SetFWords(QString::fromLatin1(word), Sql, SqlTarget);
    for (const char *word : {"columns", "set"})
        SetFWords(QString::fromLatin1(word), Sql, SqlSetList);
    for (const char *word : {")", "where"})
        SetFWords(QString::fromLatin1(word), SqlUpdateList, SqlSetListEnd);
    SetFWords(QStringLiteral("cursor"), Sql, DeclarationType);
    SetFWords(QStringLiteral("sum"), SqlSelectList, Sum);
    SetFWords(QStringLiteral("end-exec"), Sql, EndClosesParent);
    SetFWords(QStringLiteral("end-exec"), CicsBlock, EndClosesParent);
    SetFWords(QStringLiteral("end-exec"), SqlUpdateList, ClosesTwoLevels);
    // EXEC SQL INCLUDE member END-EXEC is a copy by the precompiler.
    SetFWords(QStringLiteral("include"), Sql, Include);
    for (const char *word :
         {"declare", "open", "close", "fetch", "insert", "delete", "values", "order", "group", "by",
          "and", "or", "null", "is", "commit", "distinct", "as", "for", "with"})
        SetFWords(QString::fromLatin1(word), Sql, KnownWord);

    // Embedded CICS.
    SetFWords(QStringLiteral("map"), CicsBlock, SqlTarget);
    SetFWords(QStringLiteral("program"), CicsBlock, Perform);
    for (const char *word :
         {"send", "receive", "mapset", "link", "xctl", "return", "transid", "commarea", "length",
          "resp", "handle", "condition", "erase", "dataonly", "maponly", "into"})
        SetFWords(QString::fromLatin1(word), CicsBlock, KnownWord);
    SetFWords(QStringLiteral("cics"), ExecBlock, Cics);

    // Words valid everywhere; the section-specific entries above come first.
    for (const char *word : {"add", "compute", "divide", "multiply", "subtract"})
        SetFWords(QString::fromLatin1(word), -1, Operator);
    SetFWords(QStringLiteral("equal"), -1, Comparison);
    SetFWords(QStringLiteral("by"), -1, By);
    for (const char *word : {"end-evaluate", "end-perform", "end-if"})
        SetFWords(QString::fromLatin1(word), -1, EndOfBlock);
    for (const char *word : {"exit", "goback"})
        SetFWords(QString::fromLatin1(word), -1, Exit);
    for (const char *word : {"false", "true"})
        SetFWords(QString::fromLatin1(word), -1, Constant);
    for (const char *word : {"space", "spaces", "zero", "zeros", "zeroes"})
        SetFWords(QString::fromLatin1(word), -1, LiteralConstant);
    SetFWords(QStringLiteral("reference"), -1, IntroducesVariable);
    for (const char *word :
         {"and",         "console",    "continue", "content", "date",     "division",  "empty",
          "end-compute", "end-string", "end",      "eject",   "exec",     "from",      "giving",
          "go",          "inspect",    "is",       "move",    "next",     "numeric",   "of",
          "or",          "other",      "occurs",   "program", "printer",  "redefines", "search",
          "sentence",    "size",       "string",   "source",  "tallying", "to",        "thru",
          "upon",        "up",         "value",    "with"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);
}

void TVXCobolFamily::SetContexts()
{
    // Names.
    SetFContexts(2, ProgramID, Identification, ObjectName);
    SetFContextsIn(-1, Section, {FileObject, ProcedureDivisionSection, Paragraph},
                   SectionOrParagraphName);
    SetFContexts(-1, ProcedureSection, ProcedureDivisionSection, KnownWord);
    SetFContexts(1, Include, -1, IncludedMember);
    for (const int section : StatementSections)
        SetFContexts(2, Perform, -section, CalledName);
    SetFContexts(3, Perform, -CicsBlock, CalledName);
    SetFContexts(2, Go, -1, GoToTarget);
    SetFContexts(3, SqlTarget, -CicsBlock, HostName);

    // Declarations.
    SetFContextsIn(1, DeclarationType, {FileObject, DataDivision}, DeclarationName);
    SetFContextsIn(2, DeclarationType, {FileObject, DataDivision}, Picture);
    SetFContextsIn(1, Picture, {FileObject, DataDivision}, DescriptionPart);
    SetFContexts(3, Picture, PictureParentheses, FurtherDescriptionPart);
    SetFContexts(-1, DeclarationType, Sql, DeclarationName);

    // Variables in the procedure division.
    for (const TWordType anchor :
         {Comparison, Operator, By, Comma, ParenthesisOpen, To, VariableReference}) {
        SetFContextsIn(-1, anchor, ProcedureSections, VariableReference);
        SetFContextsIn(1, anchor, ProcedureSections, VariableReference);
    }
    SetFContextsIn(1, MainDelimiter, ProcedureSections, VariableReference);
    for (const TWordType anchor : {If, Evaluate, When, LoopKeyword, Initialize, IntroducesVariable})
        SetFContexts(1, anchor, -1, VariableReference);
    SetFContexts(-1, FollowsVariable, -1, VariableReference);

    // Embedded SQL.
    for (const int section : {Sql, SqlSelectList, SqlUpdateList}) {
        SetFContexts(-1, Qualifier, section, KnownWord);
        SetFContexts(1, Qualifier, section, VariableReference);
    }
    SetFContexts(1, Comma, SqlSelectList, VariableReference);
    SetFContexts(1, SqlInto, SqlSelectList, VariableReference);
    SetFContexts(1, Sum, SqlSelectList, VariableReference);
    SetFContexts(-1, Comparison, SqlUpdateList, VariableReference);
    SetFContexts(1, Operator, SqlSelectList, VariableReference);
    SetFContexts(-1, ParenthesisClose, SqlSelectList, VariableReference);
    SetFContexts(1, SqlTarget, Sql, TableName);
    SetFContexts(1, SqlFrom, Sql, TableName);
    for (const int section : {Sql, SqlSelectList}) {
        SetFContexts(2, SqlTarget, -section, TableName);
        SetFContexts(2, SqlFrom, -section, TableName);
    }
}

// ---- Column rules ----------------------------------------------------------------------

void TVXCobolFamily::ForgetEarlierFile()
{
    if (m_stateFileID == m_fileID && m_stateFileName == m_fullFileName)
        return;
    m_stateFileID = m_fileID;
    m_stateFileName = m_fullFileName;
    OnNewFile();
    m_sectionNameDue = false;
    m_areaASection = false;
    m_values.clear();
    m_movedLiterals.clear();
    m_lastDeclared.clear();
    m_conditionName.clear();
    m_conditions.clear();
    m_lastWord.clear();
    m_valueDue = false;
    m_moveState = 0;
    m_setState = 0;
}

bool TVXCobolFamily::InProcedureDivision() const
{
    for (const TVXSectionElement &section : SectionStack())
        if (section.SectionID == ProcedureDivisionSection)
            return true;
    return false;
}

bool TVXCobolFamily::InCopyMember()
{
    for (const TVXSectionElement &section : SectionStack())
        if (section.SectionID == Identification || section.SectionID == DataDivision
            || section.SectionID == ProcedureDivisionSection)
            return false;
    // The object is named after the file until a PROGRAM-ID names it.
    const TVXObjectElement *object = FirstObject();
    return object && object->Name.contains(QLatin1Char('.'));
}

bool TVXCobolFamily::StartsEntry(QStringView name, bool pointFollows)
{
    // Area A also holds these, which name no paragraph: division and identification
    // headers, the environment division's paragraphs, file descriptions and directives.
    static const QSet<QString> notParagraphs = [] {
        QSet<QString> words;
        for (const char *word : {"DECLARATIVES",
                                 "END",
                                 "PROGRAM-ID",
                                 "ID",
                                 "AUTHOR",
                                 "INSTALLATION",
                                 "DATE-WRITTEN",
                                 "DATE-COMPILED",
                                 "SECURITY",
                                 "REMARKS",
                                 "FD",
                                 "SD",
                                 "RD",
                                 "CD",
                                 "COPY",
                                 "EXEC",
                                 "EJECT",
                                 "SKIP1",
                                 "SKIP2",
                                 "SKIP3",
                                 "IDENTIFICATION",
                                 "ENVIRONMENT",
                                 "DATA",
                                 "PROCEDURE",
                                 "FILE-CONTROL",
                                 "I-O-CONTROL",
                                 "SPECIAL-NAMES",
                                 "SOURCE-COMPUTER",
                                 "OBJECT-COMPUTER",
                                 "REPOSITORY"})
            words.insert(QLatin1String(word));
        return words;
    }();
    const QString text = name.toString();
    // A statement that sloppy code starts in area A is no paragraph either.
    if (text.isEmpty() || notParagraphs.contains(text.toUpper()) || StartsStatement(text))
        return false;
    if (InProcedureDivision())
        return true;
    return pointFollows && InCopyMember();
}

bool TVXCobolFamily::IndicatorAt(const QString &row, int position) const
{
    const TVXCobolCardLayout &layout = Layout();
    if (position != layout.Indicator)
        return false;
    if (!layout.IndicatorOnlyWhenMarked)
        return true;
    const QChar c = row[position - 1];
    return c == QLatin1Char('*') || c == QLatin1Char('/') || c == QLatin1Char('-');
}

QString TVXCobolFamily::MemberName(const QString &text)
{
    QString name = text.trimmed();
    const qsizetype folderEnd
            = std::max({name.lastIndexOf(QLatin1Char(']')), name.lastIndexOf(QLatin1Char('>')),
                        name.lastIndexOf(QLatin1Char(':')), name.lastIndexOf(QLatin1Char('/'))});
    if (folderEnd >= 0)
        name = name.mid(folderEnd + 1);
    const qsizetype point = name.indexOf(QLatin1Char('.'));
    if (point > 0)
        name.truncate(point);
    const qsizetype version = name.indexOf(QLatin1Char(';'));
    if (version > 0)
        name.truncate(version);
    return name.compare(text, Qt::CaseSensitive) == 0 ? text : name.toUpper();
}

bool TVXCobolFamily::CopiesFileHere(const QString &row, int position) const
{
    // The file name that COPY gives in a literal is one word up to its blank or quote.
    const TVXCobolCardLayout &layout = Layout();
    if (position <= layout.Indicator || position > row.size()
        || (layout.TextEnd > 0 && position > layout.TextEnd) || !CopyLiteralOpen())
        return false;
    const QChar c = row[position - 1];
    return c != QLatin1Char('"') && c != QLatin1Char('\'') && !c.isSpace();
}

bool TVXCobolFamily::CopyLiteralOpen() const
{
    if (!InLiteral())
        return false;
    const TVXWordElement *quote = ReadWordAt(LatestIndex());
    const TVXWordElement *copy = ReadWordAt(LatestIndex() - 1);
    return quote && copy && copy->WordType == Include
           && (quote->Word == QLatin1String("\"") || quote->Word == QLatin1String("'"));
}

bool TVXCobolFamily::IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                                 QChar &replacement)
{
    if (CopiesFileHere(row, position))
        return false;
    if (position == 1) {
        ForgetEarlierFile();
        OnNewRow(row);
        m_areaASection = false;
    }
    const TVXCobolCardLayout &layout = Layout();
    // Sequence area.
    if (position <= layout.SequenceEnd) {
        length = 1;
        wordType = WhiteSpace;
        return true;
    }
    // Indicator.
    if (IndicatorAt(row, position)) {
        const QChar indicator = row[position - 1];
        length = 1;
        wordType = WhiteSpace;
        // "/" is a comment that also ejects a page on the listing.
        if (!InComment() && (indicator == QLatin1Char('*') || indicator == QLatin1Char('/'))) {
            wordType = LineCommentStart;
            StartNewStatement();
        } else if (indicator == QLatin1Char('-') && InLiteral()) {
            // The literal goes on from the quote that opens the continuation.
            m_rowID = m_lastRowID + 1;
            m_inMainLiteral = m_inSecondaryLiteral = false;
        }
        return true;
    }
    // Identification area.
    if (layout.TextEnd > 0 && position > layout.TextEnd) {
        length = int(row.size()) - layout.TextEnd;
        wordType = CommentWord;
        return true;
    }
    const QChar c = row[position - 1];
    const int areaA = layout.AreaA;
    const int textEnd = layout.TextEnd > 0 ? layout.TextEnd : int(row.size());
    // Area A: paragraph and section names.
    // A digit in area A usually starts a level number (01, 77); a name such as 1000-READ
    // that merely begins with digits is a paragraph or section name all the same.
    auto levelNumber = [&] {
        for (qsizetype i = areaA - 1; i < std::min<qsizetype>(row.size(), textEnd); ++i) {
            if (row[i] == QLatin1Char(' ') || row[i] == QLatin1Char('.'))
                return true;
            if (!row[i].isDigit())
                return false;
        }
        return true;
    };
    if (position == areaA && !InComment() && !InLiteral() && c > QLatin1Char(' ')
        && (!c.isDigit() || !levelNumber())) {
        StartNewStatement();
        if (!row.toUpper().contains(QLatin1String(" SECTION"))) {
            const QStringView area = QStringView(row).mid(areaA - 1, textEnd - areaA + 1);
            qsizetype end = area.indexOf(QLatin1Char(' '));
            if (end < 0)
                end = area.size();
            const qsizetype point = area.left(end).indexOf(QLatin1Char('.'));
            if (point >= 0)
                end = point;
            const QStringView name = area.left(end).trimmed();
            length = std::max(1, int(name.size()));
            wordType = ParagraphName;
            // Every paragraph of a procedure division is an entry: a PERFORM runs it, and
            // CICS programs end their paragraphs in EXEC CICS RETURN, never in EXIT.
            if (m_sectionNameDue || StartsEntry(name, point >= 0)) {
                wordType = SectionOrParagraphName;
                m_sectionNameDue = false;
            }
            return true;
        }
        m_areaASection = InProcedureDivision();
    }
    const bool inText = InComment() || InLiteral();
    // Letters and digits of area B: most characters of a program end here.
    if (!inText && StartsNoBreak(c))
        return false;
    if (inText) {
        const QChar national = NationalCharacter(c);
        if (!national.isNull()) {
            replacement = national;
            QString replaced = row;
            replaced[position - 1] = national;
            return TVXLanguageDefinitionsInterface::IsWordBreak(replaced, position, length,
                                                                wordType, replacement);
        }
    }
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

int TVXCobolFamily::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    // Names, numbers and blanks make up most of a program: in area B, outside comments
    // and literals, a character that starts no break word is no break, a character that is
    // a break word by itself breaks alone, and the blanks after a blank are white space of
    // their own, as are the sequence columns (IsWordBreak says the same, one call per
    // character); the row loop passes over white space however long. Inside comments and
    // literals, from area A on, the same holds for every character that stands for no
    // national letter.
    // A dialect may choose the layout on the first row of a file.
    if (from == 1) {
        ForgetEarlierFile();
        OnNewRow(row);
    }
    const TVXCobolCardLayout &layout = Layout();
    const int size = int(row.size());
    const int areaA = layout.AreaA;
    const int areaBEnd = layout.TextEnd > 0 ? std::min(size, layout.TextEnd) : size;
    const int sequenceEnd = layout.SequenceEnd;
    // The indicator is read by IsWordBreak, also inside a literal that it may continue.
    const int textStart = std::max(areaA, layout.Indicator + 1);
    // Read through a constant pointer: the row's own operator[] checks for sharing on
    // every character. A replacement written by IsWordBreak keeps the row's buffer.
    const QChar *text = row.constData();
    for (int i = from; i <= size; ++i) {
        const bool inText = InComment() || InLiteral();
        const bool plain = i >= areaA + 1 && i <= areaBEnd && !inText;
        // In comments and literals a national character is replaced before the break words
        // are matched, so only the others take the quick way.
        const bool quickText = inText && i >= textStart && i <= areaBEnd && !CopyLiteralOpen();
        if (plain || quickText) {
            auto quick = [&](QChar c) { return plain || NationalCharacter(c).isNull(); };
            while (i <= areaBEnd && StartsNoBreak(text[i - 1]) && quick(text[i - 1]))
                ++i;
            if (i > size)
                break;
            if (i <= areaBEnd && quick(text[i - 1]) && BreaksAlone(text[i - 1], wordType)) {
                length = 1;
                if (wordType == WhiteSpace && text[i - 1] == QLatin1Char(' '))
                    length += BlankRun(text, i, areaBEnd);
                return i;
            }
        }
        if (!BreakAt(row, i, length, wordType))
            continue;
        text = row.constData();
        // The sequence area is white space column by column. A blank indicator and the
        // blanks that follow it are white space too, and a blank asks no column rule for
        // anything, so most rows reach their first word in one step.
        if (i <= sequenceEnd) {
            length = std::min(sequenceEnd, size) - i + 1;
            const int indicator = layout.Indicator;
            if (i + length == indicator && size >= indicator
                && text[indicator - 1] == QLatin1Char(' ')) {
                ++length;
                if (size >= areaA && text[areaA - 1] == QLatin1Char(' '))
                    length += BlankRun(text, areaA - 1, areaBEnd);
            }
        } else if (plain && wordType == WhiteSpace && text[i - 1] == QLatin1Char(' '))
            length += BlankRun(text, i + length - 1, areaBEnd);
        return i;
    }
    return size + 1;
}

// ---- Classification --------------------------------------------------------------------

void TVXCobolFamily::MakeStatementStart()
{
    StartNewStatement();
    TVXWordElement &word = m_wordBuffer.last();
    word.RowID = m_rowID;
    word.WordID = m_wordID;
    m_wordID += 1000;
}

bool TVXCobolFamily::GetWordType(const QString &text, TWordType &wordType)
{
    // Every row with words passed IsWordBreak at column 1 first, which forgot the previous
    // file's state.
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    TVXWordElement *before = WordAt(latest - 1);
    const bool quote = text == QLatin1String("'") || text == QLatin1String("\"");
    if (literal) {
        if (!quote) {
            NoteValues(text, true);
            // COPY 'MEMBER' and COPY "MEMBER" name the member as a literal.
            const TVXWordElement *copy = ReadWordAt(latest - 2);
            if (before && before->RowID == word.RowID && copy && copy->WordType == Include)
                wordType = IncludedMember;
        }
        return found;
    }
    NoteValues(text, false);
    const int section = std::as_const(m_sectionStack).last().SectionID;
    const int level = int(m_sectionStack.size()) - 1;

    // A level number and the name it declares: 05 CUSTOMER-NAME PIC X(30).
    if (wordType == Unknown && m_wordsInRow == 2 && before && before->WordType == Constant
        && before->RowID == word.RowID && (section == DataDivision || section == FileObject)) {
        // The name first, so that the level number types this declaration.
        word.WordType = wordType = DeclarationName;
        CheckUpdates(latest);
        before->WordType = DeclarationType;
        CheckUpdates(latest - 1);
        NoteValues(text, false);
        return found;
    }

    // A program without a data division goes from its identification straight to its
    // procedure division, which the keyword table knows only after DATA.
    if (section == Identification && (wordType == ParagraphName || wordType == Unknown)
        && text.compare(QLatin1String("PROCEDURE"), Qt::CaseInsensitive) == 0)
        wordType = ProcedureDivision;

    // GO TO and EQUAL TO move no data.
    if (text.size() == 2 && text.compare(QLatin1String("TO"), Qt::CaseInsensitive) == 0 && before
        && (before->Word.compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0
            || before->Word.compare(QLatin1String("EQUAL"), Qt::CaseInsensitive) == 0))
        wordType = KnownWord;

    if (wordType == Exit
        && ((section == ProcedureDivisionSection && level == 3)
            || (section == Paragraph && level == 4)))
        m_sectionNameDue = true;
    else if (wordType == ProcedureSection && (m_sectionNameDue || m_areaASection)) {
        wordType = Section;
        m_sectionNameDue = m_areaASection = false;
    }

    // Inside EXEC CICS the options' parentheses stay in the block, so that the literals
    // in MAP('...') and PROGRAM('...') are seen as CICS literals.
    if (wordType == ParenthesisOpen && section == CicsBlock)
        wordType = KnownWord;

    // PERFORM names the paragraph or section it runs, unless it opens an inline loop.
    if (wordType == Unknown && before && before->WordType == Perform
        && before->Word.compare(QLatin1String("PERFORM"), Qt::CaseInsensitive) == 0
        && !IsInlinePerformWord(text))
        word.WordType = wordType = CalledName;

    // PERFORM A THRU B runs B as well.
    if (wordType == Unknown && before
        && (before->Word.compare(QLatin1String("THRU"), Qt::CaseInsensitive) == 0
            || before->Word.compare(QLatin1String("THROUGH"), Qt::CaseInsensitive) == 0)) {
        const TVXWordElement *first = ReadWordAt(latest - 2);
        if (first && first->WordType == CalledName)
            word.WordType = wordType = CalledName;
    }

    // CALL through a variable, and LINK or XCTL PROGRAM(variable): the program its value
    // names, when the program says so; "?" when nobody can tell before run time.
    const TVXWordElement *verb = ReadWordAt(latest - 2);
    const bool cicsProgram = section == CicsBlock && before && verb
                             && before->Word == QLatin1String("(") && verb->WordType == Perform;
    if ((wordType == Unknown || wordType == VariableReference) && before
        && ((before->WordType == Perform
             && before->Word.compare(QLatin1String("CALL"), Qt::CaseInsensitive) == 0)
            || cicsProgram)) {
        word.WordType = wordType = CalledName;
        const QString value = StaticValue(text);
        word.ObjectIdentifier = value.isEmpty() ? QStringLiteral("?") : value;
    }

    if (m_wordsInRow > 1 && StartsStatement(text))
        MakeStatementStart();
    return found;
}

void TVXCobolFamily::NoteValues(const QString &text, bool inLiteral)
{
    const int section = std::as_const(m_sectionStack).last().SectionID;
    const TVXWordElement &word = std::as_const(m_wordBuffer).last();
    // Every word passes here: most differ from the keywords in length already.
    const auto is = [&text](const char *keyword) {
        const QLatin1String word(keyword);
        return text.size() == word.size() && text.compare(word, Qt::CaseInsensitive) == 0;
    };
    if (inLiteral) {
        const QString literal = text.trimmed().toUpper();
        if (m_valueDue && !m_lastDeclared.isEmpty()) {
            // A condition name's value is what SET ... TO TRUE moves into its item.
            if (!m_conditionName.isEmpty())
                m_conditions.insert(m_conditionName, {m_lastDeclared, literal});
            else
                m_values.insert(m_lastDeclared, literal);
            m_valueDue = false;
        }
        if (m_moveState == 1) {
            m_movedLiteral = literal;
            m_moveState = 2;
        } else if (m_moveState == 2) {
            m_moveState = 0; // a literal of several words names no program
        }
        return;
    }
    if (section == DataDivision || section == FileObject || section == PictureParentheses) {
        if (word.WordType == DeclarationName) {
            const TVXWordElement *level = ReadWordAt(LatestIndex() - 1);
            if (level && level->Word == QLatin1String("88")) {
                m_conditionName = FoldedCase(text);
            } else {
                m_lastDeclared = FoldedCase(text);
                m_conditionName.clear();
            }
            m_valueDue = false;
        } else if (is("VALUE") || is("VALUES")
                   || (is("AS")
                       && m_lastWord.compare(QLatin1String("CONSTANT"), Qt::CaseInsensitive)
                                  == 0)) {
            m_valueDue = true;
        } else if (m_valueDue && !is("IS") && !is("ARE") && text != QLatin1String("'")
                   && text != QLatin1String("\"")) {
            m_valueDue = false;
        }
        m_lastWord = text;
        return;
    }
    if (text == QLatin1String("'") || text == QLatin1String("\""))
        return;
    // SET condition-name TO TRUE.
    if (is("SET")) {
        m_setState = 1;
    } else if (m_setState == 1) {
        m_setCondition = FoldedCase(text);
        m_setState = 2;
    } else if (m_setState == 2 && is("TO")) {
        m_setState = 3;
    } else if (m_setState == 3 && is("TRUE")) {
        if (const auto condition = m_conditions.constFind(m_setCondition);
            condition != m_conditions.cend())
            m_movedLiterals[condition->first].insert(condition->second);
        m_setState = 0;
    } else {
        m_setState = 0;
    }
    if (is("MOVE")) {
        m_moveState = 1;
    } else if (m_moveState == 2 && is("TO")) {
        m_moveState = 3;
    } else if (m_moveState == 3) {
        m_movedLiterals[FoldedCase(text)].insert(m_movedLiteral);
        m_moveState = 0;
    } else {
        m_moveState = 0;
    }
}

QString TVXCobolFamily::StaticValue(const QString &variable) const
{
    const QString name = variable.toUpper();
    const QString value = m_values.value(name);
    const QSet<QString> moved = m_movedLiterals.value(name);
    // A VALUE clause and the literals moved in must all agree: one program, or none.
    QSet<QString> all = moved;
    if (!value.isEmpty())
        all.insert(value);
    all.remove(QString());
    if (all.size() != 1)
        return {};
    const QString program = *all.cbegin();
    // SPACES, a number or a text with blanks names no program.
    if (program.contains(QLatin1Char(' ')) || program.front().isDigit())
        return {};
    return program;
}

bool TVXCobolFamily::IsInlinePerformWord(const QString &text)
{
    for (const char *option : {"VARYING", "WITH", "TEST", "FOREVER", "UNTIL", "TIMES"})
        if (text.compare(QLatin1String(option), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void TVXCobolFamily::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    const QString &w = word->Word;
    switch (word->WordType) {
    case HostName: {
        const TVXWordElement *map = ReadWordAt(index - 3);
        if (map && map->Word.compare(QLatin1String("MAP"), Qt::CaseInsensitive) == 0)
            word->ObjectIdentifier = w + QStringLiteral("_MAP");
        else
            word->ObjectIdentifier = w;
        return;
    }
    case IncludedMember:
        word->ObjectIdentifier = MemberName(w);
        return;
    case CalledName: {
        if (!word->ObjectIdentifier.isEmpty())
            return;
        // PERFORM and THRU name a paragraph or section; CALL 'X', LINK PROGRAM('X') and
        // XCTL PROGRAM('X') name a program, which the identifier says.
        const TVXWordElement *verb = ReadWordAt(index - 1);
        const bool paragraph
                = verb
                  && (verb->Word.compare(QLatin1String("PERFORM"), Qt::CaseInsensitive) == 0
                      || verb->Word.compare(QLatin1String("THRU"), Qt::CaseInsensitive) == 0
                      || verb->Word.compare(QLatin1String("THROUGH"), Qt::CaseInsensitive) == 0);
        if (!paragraph)
            word->ObjectIdentifier = w;
        return;
    }
    case TableName: {
        // SCHEMA.TABLE is one table: the schema qualifies the name after the point.
        const TVXWordElement *point = ReadWordAt(index + 1);
        TVXWordElement *table = WordAt(index + 2);
        const TVXWordElement *before = ReadWordAt(index - 1);
        const TVXWordElement *schema = ReadWordAt(index - 2);
        if (before && schema && before->Word == QLatin1String(".") && before->RowID == word->RowID
            && schema->WordType == KnownWord && schema->ObjectIdentifier == QLatin1String(".")) {
            word->ObjectIdentifier = schema->Word + QLatin1Char('.') + w;
            WordAt(index - 2)->ObjectIdentifier.clear();
        } else if (point && table && point->Word == QLatin1String(".")
                   && point->RowID == word->RowID && table->RowID == word->RowID
                   && !table->Word.isEmpty() && table->Word.front().isLetter()) {
            word->WordType = KnownWord;
            // Remembered for the table name that follows.
            word->ObjectIdentifier = QStringLiteral(".");
        } else {
            word->ObjectIdentifier = w;
        }
        return;
    }
    case Unknown:
        if (LatestDeclarationOf(index) >= 0)
            word->WordType = VariableReference;
        return;
    case CommentWord: {
        // A module header names the program: "* MODULE NAME: CUST010".
        if (word->RowID >= 20000)
            return;
        const TVXWordElement *colon = ReadWordAt(index - 1);
        const TVXWordElement *name = ReadWordAt(index - 2);
        const TVXWordElement *module = ReadWordAt(index - 3);
        if (colon && name && module && colon->WordType == CommentWord
            && name->WordType == CommentWord && module->WordType == CommentWord
            && colon->Word == QLatin1String(":")
            && name->Word.compare(QLatin1String("NAME"), Qt::CaseInsensitive) == 0
            && module->Word.compare(QLatin1String("MODULE"), Qt::CaseInsensitive) == 0) {
            if (TVXObjectElement *object = FirstObject())
                object->Name = object->Identifier = w;
        }
        return;
    }
    default:
        return;
    }
}

void TVXCobolFamily::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    TVXObjectElement *object = FirstObject();
    // Named after the file because no PROGRAM-ID followed: a copy member.
    if (object && object->Name.contains(QLatin1Char('.'))) {
        object->Name = object->Identifier = QFileInfo(m_fileName).completeBaseName().toUpper();
        object->ObjectType = QStringLiteral("COPY");
    }
}
