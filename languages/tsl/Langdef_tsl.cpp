// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/tsl/Langdef_tsl.h"

#include "base/Package.h"

using namespace VXWordType;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType Function = 99401;
constexpr TWordType CallTest = 99402;
constexpr TWordType LoadModule = 99403;
constexpr TWordType BraceOpen = 99404;
constexpr TWordType Extern = 99405;
// static, auto, const and the parameter modes in, out, inout: a name follows.
constexpr TWordType Declarer = 99406;

// Section numbers.
constexpr int Script = 10;
constexpr int FunctionBody = 30;
constexpr int Block = 310;

// The test a path names: its last folder.
QString TestName(const QString &path)
{
    QString name = path.trimmed();
    while (name.endsWith(QLatin1Char('\\')) || name.endsWith(QLatin1Char('/')))
        name.chop(1);
    const qsizetype slash
            = std::max(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')));
    return slash >= 0 ? name.mid(slash + 1) : name;
}

} // namespace

TVXLangDef_TSL::TVXLangDef_TSL(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 99330;
    m_languageName = QStringLiteral("TSL");
    m_fileExtensions = QStringLiteral(".;");
    m_columnSetting = 2;
    m_directoryObject = true;
    m_qualifiedCalls = true;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("#"), LineCommentStart);
    SetFBreakWords(QStringLiteral("\""), MainDelimiter);
    SetFBreakWords(QStringLiteral(";"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("{"), BraceOpen);
    SetFBreakWords(QStringLiteral("}"), EndOfBlock);
    for (const char *comparison : {"==", "!=", "<=", ">=", "<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    SetFBreakWords(QStringLiteral("="), Assignment);
    for (const char *op : {"++", "--", "+", "-", "*", "/", "%", "&", "!"})
        SetFBreakWords(QString::fromLatin1(op), Operator);

    const QString none;
    // The script's own code is an entry of the test, named after the script.
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Entry, Script, none, true);
    SetFSections(Function, EndOfBlock, VXSectionType::Entry, FunctionBody, none, true);
    SetFSections(BraceOpen, EndOfBlock, VXSectionType::Inherit, Block, none, true);
    SetFSections(If, StatementEnd, VXSectionType::Conditional, Block, none, true);
    SetFSections(LoopStart, StatementEnd, VXSectionType::Loop, Block, none, true);

    SetFWords(QStringLiteral("function"), -1, Function);
    for (const char *word : {"call", "call_close", "call_ex"})
        SetFWords(QString::fromLatin1(word), -1, CallTest);
    for (const char *word : {"load", "reload", "unload"})
        SetFWords(QString::fromLatin1(word), -1, LoadModule);
    SetFWords(QStringLiteral("extern"), -1, Extern);
    for (const char *word : {"static", "auto", "const", "in", "out", "inout"})
        SetFWords(QString::fromLatin1(word), -1, Declarer);
    SetFWords(QStringLiteral("if"), -1, If);
    for (const char *word : {"for", "while", "do"})
        SetFWords(QString::fromLatin1(word), -1, LoopStart);
    // The statements and functions that WinRunner itself provides.
    for (const char *word : {"public",
                             "static",
                             "auto",
                             "const",
                             "in",
                             "out",
                             "inout",
                             "return",
                             "else",
                             "break",
                             "continue",
                             "switch",
                             "case",
                             "default",
                             "set_window",
                             "win_activate",
                             "win_close",
                             "win_exists",
                             "win_wait_info",
                             "button_press",
                             "button_set",
                             "edit_set",
                             "edit_get_text",
                             "edit_type",
                             "list_select_item",
                             "list_get_item",
                             "menu_select_item",
                             "obj_click",
                             "obj_type",
                             "obj_get_text",
                             "obj_wait_info",
                             "type",
                             "wait",
                             "tl_step",
                             "report_msg",
                             "invoke_application",
                             "gui_load",
                             "gui_close",
                             "db_connect",
                             "db_disconnect",
                             "db_execute_query",
                             "db_get_field_value",
                             "ddt_open",
                             "ddt_close",
                             "ddt_get_row_count",
                             "ddt_set_row",
                             "ddt_val",
                             "printf",
                             "sprintf",
                             "length",
                             "substr",
                             "index",
                             "split",
                             "tolower",
                             "toupper",
                             "getvar",
                             "setvar",
                             "texit",
                             "treturn",
                             "pause",
                             "e_ok",
                             "true",
                             "false",
                             "tab_select_item",
                             "check_window",
                             "win_check_bitmap",
                             "obj_check_gui",
                             "date_set_system_date"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    SetFContexts(1, If, -1, VariableReference);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

bool TVXLangDef_TSL::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    const TVXWordElement *before = ReadWordAt(latest - 1);
    if (literal) {
        if (text == QLatin1String("\""))
            return found;
        // call "login" (); load ("flight_lib", 0, 1);
        const TVXWordElement *verb = ReadWordAt(latest - 2);
        const TVXWordElement *loader = ReadWordAt(latest - 3);
        if ((verb && verb->WordType == CallTest) || (loader && loader->WordType == LoadModule)) {
            wordType = CalledName;
            // call "..\\login": the test, not its path, is what the row runs.
            word.ObjectIdentifier = TestName(text);
            word.Word = word.ObjectIdentifier;
        }
        return found;
    }
    // extern function f(...); declares a function of a module: no entry.
    if (wordType == Extern) {
        m_externDeclaration = true;
        return found;
    }
    if (wordType == Function) {
        if (m_externDeclaration) {
            wordType = KnownWord;
        } else {
            m_functionNameDue = true;
            m_bodyBraceDue = true;
        }
        return found;
    }
    if (wordType == StatementEnd)
        m_externDeclaration = false;
    if (m_functionNameDue) {
        m_functionNameDue = false;
        word.WordType = wordType = SectionOrParagraphName;
        return found;
    }
    // static order_no; auto found; function f (in no, out result).
    if (wordType == Unknown && before && before->WordType == Declarer) {
        word.WordType = wordType = DeclarationName;
        return found;
    }
    // The brace of a function's body belongs to the function's own section.
    if (wordType == BraceOpen && m_bodyBraceDue) {
        m_bodyBraceDue = false;
        wordType = KnownWord;
        return found;
    }
    // The brace that ends the block of an if or a loop ends the if or the loop too.
    if (wordType == EndOfBlock && m_sectionStack.size() > 2) {
        const TVXSectionElement &around = m_sectionStack.at(m_sectionStack.size() - 2);
        if (Innermost().SectionID == Block && around.SectionID == Block
            && (around.SectionType == VXSectionType::Conditional
                || around.SectionType == VXSectionType::Loop))
            wordType = ClosesTwoLevels;
    }
    Q_UNUSED(before);
    return found;
}

void TVXLangDef_TSL::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    // A name followed by "(" is a call, a declared one a variable, any other one that is
    // assigned or compared a variable too; the rest (globals set elsewhere) stay names.
    if (word->WordType == Unknown) {
        const TVXWordElement *after = ReadWordAt(index + 1);
        if (after && after->WordType == ParenthesisOpen)
            word->WordType = CalledName;
        else if (LatestDeclarationOf(index) >= 0
                 || (after
                     && (after->WordType == Assignment || after->WordType == Comparison
                         || after->WordType == Operator)))
            word->WordType = VariableReference;
        else
            return;
    }
    if (word->WordType == CalledName && !word->ObjectIdentifier.isEmpty())
        return;
    TVXLanguageDefinitionsInterface::CheckIdentifier(index);
}

void TVXLangDef_TSL::OnBeforeSaveToDB(bool, bool)
{
    for (TVXObjectElement &object : m_objectList)
        if (object.ObjectType.isEmpty() || object.ObjectType == m_languageName)
            object.ObjectType = QStringLiteral("TEST");
}

VELUNOR_PACKAGE("LangDef_TSL")
{
    package.RegisterClass<TVXLangDef_TSL>(QStringLiteral("TVXLangDef_TSL"));
}
