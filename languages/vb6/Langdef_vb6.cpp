// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/vb6/Langdef_vb6.h"

#include "base/Package.h"

#include "parsing/Keywordtext.h"

#include <QFileInfo>

using namespace VXWordType;
using namespace VXKeyword;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType Routine = 99401;
constexpr TWordType Dim = 99402;
constexpr TWordType As = 99403;
constexpr TWordType DeclareWord = 99404;
constexpr TWordType End = 99405;
constexpr TWordType BlockIf = 99406;
constexpr TWordType LoopWord = 99407;
constexpr TWordType SelectWord = 99408;
constexpr TWordType GroupWord = 99409;
constexpr TWordType Exit = 99410;

// Section numbers.
constexpr int FileObject = 10;
constexpr int Procedure = 30;
constexpr int Block = 310;

} // namespace

TVXLangDef_VB6::TVXLangDef_VB6(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 30400;
    m_languageName = QStringLiteral("VB6");
    m_fileExtensions = QStringLiteral(".bas;.frm;.cls;.ctl;");
    m_columnSetting = 2;
    m_nestedObjects = true;
    m_qualifiedCalls = true;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("'"), LineCommentStart);
    SetFBreakWords(QStringLiteral("\""), MainDelimiter);
    SetFBreakWords(QStringLiteral(":"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("."), Qualifier);
    for (const char *comparison : {"<>", "<=", ">=", "=", "<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    for (const char *op : {"+", "-", "*", "/", "\\", "^", "&"})
        SetFBreakWords(QString::fromLatin1(op), Operator);

    const QString none;
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, FileObject, none, true);
    SetFSections(Routine, EndOfBlock, VXSectionType::Entry, Procedure, none, true);
    SetFSections(BlockIf, EndOfBlock, VXSectionType::Conditional, Block, none, true);
    SetFSections(SelectWord, EndOfBlock, VXSectionType::Conditional, Block, none, true);
    SetFSections(LoopWord, EndOfBlock, VXSectionType::Loop, Block, none, true);
    SetFSections(GroupWord, EndOfBlock, VXSectionType::Inherit, Block, none, true);

    for (const char *word : {"sub", "function", "property"})
        SetFWords(QString::fromLatin1(word), -1, Routine);
    for (const char *word :
         {"dim", "private", "public", "global", "static", "const", "redim", "friend"})
        SetFWords(QString::fromLatin1(word), -1, Dim);
    SetFWords(QStringLiteral("as"), -1, As);
    SetFWords(QStringLiteral("declare"), -1, DeclareWord);
    SetFWords(QStringLiteral("end"), -1, End);
    SetFWords(QStringLiteral("exit"), -1, Exit);
    SetFWords(QStringLiteral("if"), -1, BlockIf);
    for (const char *word : {"for", "do", "while"})
        SetFWords(QString::fromLatin1(word), -1, LoopWord);
    for (const char *word : {"next", "loop", "wend"})
        SetFWords(QString::fromLatin1(word), -1, EndOfBlock);
    SetFWords(QStringLiteral("select"), -1, SelectWord);
    for (const char *word : {"with", "type", "enum"})
        SetFWords(QString::fromLatin1(word), -1, GroupWord);
    SetFWords(QStringLiteral("call"), -1, Call);
    for (const char *word :
         {"then",       "else",     "elseif",       "case",       "is",         "to",
          "step",       "each",     "in",           "until",      "not",        "and",
          "or",         "xor",      "mod",          "new",        "set",        "let",
          "get",        "byval",    "byref",        "optional",   "paramarray", "lib",
          "alias",      "option",   "explicit",     "on",         "error",      "resume",
          "goto",       "gosub",    "return",       "nothing",    "true",       "false",
          "me",         "integer",  "long",         "string",     "boolean",    "double",
          "single",     "currency", "date",         "variant",    "object",     "byte",
          "attribute",  "version",  "begin",        "withevents", "event",      "raiseevent",
          "implements", "msgbox",   "debug",        "print",      "len",        "left$",
          "right$",     "mid$",     "left",         "right",      "mid",        "trim",
          "trim$",      "ucase",    "lcase",        "cstr",       "clng",       "cint",
          "cdbl",       "val",      "str",          "format",     "isnull",     "isempty",
          "nz",         "vbcrlf",   "vbnullstring", "empty",      "null",       "unload",
          "load",       "show",     "hide",         "doevents",   "open",       "close",
          "input",      "output",   "append",       "binary",     "random",     "line",
          "write"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    SetFContexts(1, Call, -1, CalledName);
    // Variables of conditions and assignments.
    for (const TWordType anchor : {Comparison, Operator}) {
        SetFContexts(-1, anchor, Procedure, VariableReference);
        SetFContexts(1, anchor, Procedure, VariableReference);
        SetFContexts(-1, anchor, Block, VariableReference);
        SetFContexts(1, anchor, Block, VariableReference);
    }

    SetFObjectIcons(QString(), QStringLiteral("FORM"), VXIcon::Form);
    SetFObjectIcons(QString(), QStringLiteral("USERCONTROL"), VXIcon::Form);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

bool TVXLangDef_VB6::IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                                 QChar &replacement)
{
    if (position == 1) {
        // A one-row If ended with the row before, unless that row went on.
        if (m_singleLineIf && !m_continued && Innermost().SectionID == Block) {
            bool objectClosed = false;
            CloseInnermostSection(objectClosed);
        }
        if (!m_continued) {
            m_singleLineIf = false;
            m_sql.Reset();
        }
        const QString trimmed = row.trimmed();
        m_continued = trimmed.endsWith(QLatin1String(" _"));
    }
    const QChar c = row[position - 1];
    if (!InLiteral() && !InComment()) {
        // " _" at the end of a row continues the statement on the next.
        if (c == QLatin1Char('_') && position > 1 && row[position - 2] == QLatin1Char(' ')
            && QStringView(row).mid(position).trimmed().isEmpty()) {
            length = 1;
            wordType = WhiteSpace;
            return true;
        }
        // Rem as the first word of a statement comments the rest of the row.
        if ((c == QLatin1Char('R') || c == QLatin1Char('r'))
            && QStringView(row).left(position - 1).trimmed().isEmpty()
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

int TVXLangDef_VB6::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    if (from == 1) {
        m_textColumn = 1;
        while (m_textColumn <= row.size() && row[m_textColumn - 1].isSpace())
            ++m_textColumn;
    }
    // Column 1 sets the row up, the row's first word may be Rem, and " _" continues it.
    return ScanForBreak(row, from, length, wordType, [&row, this](int position) {
        return position > 1 && position != m_textColumn && row[position - 1] != QLatin1Char('_');
    });
}

bool TVXLangDef_VB6::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    TVXWordElement *before = WordAt(latest - 1);
    const TVXWordElement *beforeThat = ReadWordAt(latest - 2);
    const bool sameRow = before && before->RowID == word.RowID;
    if (literal) {
        if (text == QLatin1String("\""))
            return found;
        // Attribute VB_Name = "Customer" names the file's object.
        if (before && beforeThat && ReadWordAt(latest - 3)
            && Is(ReadWordAt(latest - 3)->Word, "VB_Name")) {
            wordType = ObjectName;
            return found;
        }
        m_sql.Type(word, text);
        wordType = word.WordType == TableName ? TableName : wordType;
        return found;
    }

    // A statement ends with its row (unless the row ends in " _") or at ":".
    if (wordType == StatementEnd || (!sameRow && !m_continuedStatement)) {
        m_dimStatement = false;
        m_declaredLast = false;
    }
    m_continuedStatement = m_continued;

    // End Sub, End If, End Select, End With: the block's end.
    if (before && before->WordType == End && sameRow
        && (wordType == Routine || wordType == BlockIf || wordType == SelectWord
            || wordType == GroupWord)) {
        before->WordType = KnownWord;
        wordType = EndOfBlock;
        return found;
    }
    // Exit Sub, Exit For, Do While, Loop Until: no block of their own.
    if (before && sameRow
        && (before->WordType == Exit || before->WordType == DeclareWord
            || (before->WordType == LoopWord && wordType == LoopWord)
            || (before->WordType == EndOfBlock && wordType == LoopWord))) {
        if (before->WordType == DeclareWord && wordType == Routine)
            m_externalDue = true;
        wordType = KnownWord;
        return found;
    }
    if (wordType == Exit || wordType == DeclareWord)
        return found;
    // If ... Then with a statement after Then ends with its row.
    if (before && sameRow && Is(before->Word, "Then") && Innermost().SectionID == Block)
        m_singleLineIf = true;

    if (wordType == Routine) {
        m_routineNameDue = true;
        m_parameters = false;
        m_declarationDue = false;
        return found;
    }
    if (m_routineNameDue && wordType == KnownWord
        && (Is(text, "Get") || Is(text, "Let") || Is(text, "Set")))
        return found;
    if (m_routineNameDue) {
        m_routineNameDue = false;
        word.WordType = wordType = SectionOrParagraphName;
        m_parameters = true;
        return found;
    }
    // Declare Function GetTickCount Lib "kernel32": a routine of the library.
    if (m_externalDue) {
        m_externalDue = false;
        word.WordType = wordType = CalledName;
        word.ObjectIdentifier = text;
        return found;
    }

    if (wordType == Dim) {
        m_declarationDue = true;
        m_dimStatement = true;
        return found;
    }
    if ((wordType == Comma && (m_dimStatement || m_parameters))
        || (wordType == ParenthesisOpen && m_parameters && before
            && before->WordType == SectionOrParagraphName)) {
        m_declarationDue = true;
        return found;
    }
    if (wordType == ParenthesisClose && m_parameters) {
        // The routine's own As clause follows its parameters.
        m_parameters = false;
        m_declaredLast = false;
    }
    // As gives the type of what was just declared, not of a function's result.
    if (wordType == As) {
        m_typeDue = before
                    && (before->WordType == DeclarationName
                        || (before->WordType == ParenthesisClose && m_declaredLast));
        m_declarationDue = false;
        return found;
    }
    if (m_typeDue && Is(text, "New"))
        return found;
    if (m_typeDue) {
        m_typeDue = false;
        word.WordType = wordType = DescriptionPart;
        return found;
    }
    m_typeDue = false;
    if (m_declarationDue && wordType == Unknown) {
        m_declarationDue = false;
        word.WordType = wordType = DeclarationName;
        m_declaredLast = true;
        return found;
    }
    if (m_declarationDue && wordType == KnownWord)
        return found;
    m_declarationDue = false;

    // Begin VB.CommandButton Command1: a control of the form, named by the row's last word.
    const TVXWordElement *first = before;
    for (int i = latest - 1; i >= 0 && ReadWordAt(i)->RowID == word.RowID; --i)
        first = ReadWordAt(i);
    if (wordType == Unknown && first && first != &word && Is(first->Word, "Begin") && before
        && before->WordType == Unknown && before != first) {
        QString type;
        for (int i = latest - 1; i >= 0 && ReadWordAt(i) != first; --i)
            type.prepend(ReadWordAt(i)->Word);
        word.WordType = wordType = DeclarationName;
        CheckUpdates(latest);
        if (!m_declarations.isEmpty())
            m_declarations.last().Type = type;
        UpdateLatestVariableDefinition(latest, true);
    }
    return found;
}

void TVXLangDef_VB6::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    const TVXWordElement *before = ReadWordAt(index - 1);
    const TVXWordElement *after = ReadWordAt(index + 1);
    const bool pointFollows = after && after->WordType == Qualifier && after->RowID == word->RowID;
    // Call obj.Method: the object, then the routine it has.
    if (word->WordType == CalledName && pointFollows) {
        word->WordType = ReferencedName;
        if (TVXWordElement *method = WordAt(index + 2);
            method && method->WordType == Unknown && method->RowID == word->RowID)
            method->WordType = CalledName;
    }
    // Set rs = OpenQuery(...): what is not declared and takes arguments is a function.
    if (word->WordType == VariableReference && after && after->WordType == ParenthesisOpen
        && after->RowID == word->RowID && LatestDeclarationOf(index) < 0)
        word->WordType = CalledName;
    if (word->WordType != Unknown) {
        TVXLanguageDefinitionsInterface::CheckIdentifier(index);
        return;
    }
    if (LatestDeclarationOf(index) >= 0) {
        word->WordType = VariableReference;
        return;
    }
    // obj.Method: the object qualifies the call after the point.
    if (pointFollows && word->EntryID != 0) {
        word->WordType = ReferencedName;
        TVXLanguageDefinitionsInterface::CheckIdentifier(index);
        return;
    }
    if (word->EntryID == 0 || (before && before->WordType == Qualifier))
        return;
    const bool startsStatement = !before || before->RowID != word->RowID
                                 || before->WordType == StatementEnd || Is(before->Word, "Then")
                                 || Is(before->Word, "Else");
    const bool assigned = after && after->RowID == word->RowID && after->WordType == Comparison
                          && after->Word == QLatin1String("=");
    const bool called = after && after->RowID == word->RowID && after->WordType == ParenthesisOpen;
    if ((startsStatement && !assigned) || (called && !startsStatement))
        word->WordType = CalledName;
}

void TVXLangDef_VB6::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    TVXObjectElement *object = FirstObject();
    if (!object)
        return;
    const QFileInfo file(m_fileName);
    if (object->Name.contains(QLatin1Char('.')))
        object->Name = object->Identifier = file.completeBaseName();
    const QString extension = file.suffix().toLower();
    object->ObjectType = extension == QLatin1String("frm")   ? QStringLiteral("FORM")
                         : extension == QLatin1String("cls") ? QStringLiteral("CLASS")
                         : extension == QLatin1String("ctl") ? QStringLiteral("USERCONTROL")
                                                             : QStringLiteral("MODULE");
    object->Icon = GetObjectIconByType(object->ObjectType);
}

VELUNOR_PACKAGE("LangDef_VB6")
{
    package.RegisterClass<TVXLangDef_VB6>(QStringLiteral("TVXLangDef_VB6"));
}
