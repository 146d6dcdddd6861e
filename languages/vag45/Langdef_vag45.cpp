// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/vag45/Langdef_vag45.h"

#include "base/Package.h"

#include <algorithm>

using namespace VXWordType;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType MapTag = 99401;
constexpr TWordType CallList = 99402;
constexpr TWordType ReferenceList = 99403;
constexpr TWordType SqlTableTag = 99404;
constexpr TWordType ItemTag = 99405;
constexpr TWordType FieldTag = 99406;
constexpr TWordType NameAttribute = 99407;
constexpr TWordType LogicTag = 99408;

// Section numbers.
constexpr int Part = 10;
constexpr int MapPart = 11;
constexpr int ItemRow = 20;
constexpr int FieldRow = 30;
constexpr int Block = 310;

constexpr std::initializer_list<int> LogicSections = {Part, Block};

const char *const PartTags[]
        = {":program", ":function", ":record", ":table", ":mapgroup", ":mapg", ":item", ":tbl"};
const char *const EndTags[] = {":eprogram", ":efunction", ":erecord", ":etable", ":emapgroup",
                               ":emapg",    ":emap",      ":eitem",   ":etbl"};

} // namespace

TVXLangDef_VAG45::TVXLangDef_VAG45(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 20500;
    m_languageName = QStringLiteral("VAG45");
    m_fileExtensions = QStringLiteral(".esf;");
    m_columnSetting = 5;
    m_packagePerFile = true;

    SetFWhiteSpaceBreaks();
    // The first break word that matches wins: longer tags go before the tags they begin
    // with (:mapgroup before :map, :tables before :table).
    QList<std::pair<QString, TWordType>> tags;
    for (const char *tag : EndTags)
        tags.append({QString::fromLatin1(tag), EndsSection});
    for (const char *tag : PartTags)
        tags.append({QString::fromLatin1(tag), ObjectStart});
    tags.append({QStringLiteral(":map"), MapTag});
    for (const char *tag : {":mainfun", ":callfun", ":flowfun"})
        tags.append({QString::fromLatin1(tag), CallList});
    for (const char *tag : {":workstor", ":tables", ":recdref", ":tableref", ":mapref"})
        tags.append({QString::fromLatin1(tag), ReferenceList});
    tags.append({QStringLiteral(":sqltable"), SqlTableTag});
    tags.append({QStringLiteral(":recditem"), ItemTag});
    for (const char *tag : {":cfield", ":vfield"})
        tags.append({QString::fromLatin1(tag), FieldTag});
    for (const char *tag : {":before", ":after", ":logic", ":ebefore", ":eafter", ":elogic"})
        tags.append({QString::fromLatin1(tag), LogicTag});
    std::stable_sort(tags.begin(), tags.end(),
                     [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    for (const auto &[tag, type] : tags)
        SetFBreakWords(tag, type);
    // Other tags and their ends (:desc, :ecfield) are known words.
    SetFBreakWords(QStringLiteral(":"), KnownWord);
    SetFBreakWords(QStringLiteral("/*"), LineCommentStart);
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    SetFBreakWords(QStringLiteral("\""), SecondaryDelimiter);
    SetFBreakWords(QStringLiteral(";"), StatementEnd);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    // REC.ITEM: the record, then its item.
    SetFBreakWords(QStringLiteral("."), Qualifier);
    for (const char *comparison : {"<=", ">=", "!=", "=", "<", ">"})
        SetFBreakWords(QString::fromLatin1(comparison), Comparison);
    // Names may hold hyphens (CUST-ID): a minus is no break.
    for (const char *op : {"+", "*", "//", "/"})
        SetFBreakWords(QString::fromLatin1(op), Operator);

    const QString none;
    SetFSections(ObjectStart, EndAtSameSectionNumber, VXSectionType::Object, Part, none, true);
    SetFSections(MapTag, EndAtSameSectionNumber, VXSectionType::Object, MapPart, none, true);
    SetFSections(ItemTag, EndWithRow, VXSectionType::DeclarationBlock, ItemRow, none, true);
    SetFSections(FieldTag, EndWithRow, VXSectionType::DeclarationBlock, FieldRow, none, true);
    SetFSections(If, EndOfBlock, VXSectionType::Conditional, Block, none, true);
    SetFSections(LoopKeyword, EndOfBlock, VXSectionType::Loop, Block, none, true);

    for (const int section : LogicSections) {
        SetFWords(QStringLiteral("if"), section, If);
        SetFWords(QStringLiteral("while"), section, LoopKeyword);
        SetFWords(QStringLiteral("else"), section, Else);
        SetFWords(QStringLiteral("end"), section, EndOfBlock);
        for (const char *verb : {"call", "xfer", "dxfr"})
            SetFWords(QString::fromLatin1(verb), section, Call);
        SetFWords(QStringLiteral("to"), section, To);
    }
    SetFWords(QStringLiteral("name"), FieldRow, NameAttribute);
    SetFWords(QStringLiteral("shared"), ItemRow, DeclarationType);
    // The text of a constant field follows a point at the start of its row.
    SetFWords(QStringLiteral("."), MapPart, KnownWord);
    for (const char *word :
         {"move",     "set",       "test",   "and",      "or",       "not",    "ezertn", "ezeclos",
          "ezeflo",   "ezesqlcod", "ezemno", "ezeaid",   "ezeloc",   "ezetst", "ezerpl", "exit",
          "converse", "display",   "print",  "add",      "inquiry",  "update", "scan",   "replace",
          "delete",   "close",     "find",   "nonsys",   "nocommit", "null",   "cursor", "empty",
          "return",   "stop",      "bypass", "modified", "pf1",      "pf2",    "pf3",    "pf12",
          "enter",    "clear",     "in",     "is",       "y",        "n",      "yes",    "no"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    // A part's first attribute names it: :program name=CUSTPGM, or name='CUSTPGM'.
    for (const TWordType tag : {ObjectStart, MapTag}) {
        SetFContexts(3, tag, -1, ObjectName);
        SetFContexts(4, tag, -Part, ObjectName);
        SetFContexts(4, tag, -MapPart, ObjectName);
    }
    SetFContexts(3, CallList, -1, CalledName);
    SetFContexts(3, ReferenceList, -1, ReferencedName);
    SetFContexts(3, SqlTableTag, -1, TableName);
    SetFContexts(3, ItemTag, ItemRow, DeclarationName);
    SetFContexts(2, NameAttribute, FieldRow, DeclarationName);

    for (const int section : LogicSections) {
        // CALL CUSTCALC, XFER 'CUSTMNT2', DXFR CUSTPGM2.
        SetFContexts(1, Call, section, CalledName);
        SetFContexts(2, Call, -section, CalledName);
        // FUNC2(): a function performed.
        SetFContexts(-2, ParenthesisClose, section, CalledName);
        // CUSTREC.ID: the record, then its item.
        SetFContexts(-1, Qualifier, section, ReferencedName);
        SetFContexts(1, Qualifier, section, VariableReference);
        for (const TWordType anchor : {Comparison, Operator, To, Comma}) {
            SetFContexts(-1, anchor, section, VariableReference);
            SetFContexts(1, anchor, section, VariableReference);
        }
        SetFContexts(1, If, section, VariableReference);
        SetFContexts(1, LoopKeyword, section, VariableReference);
    }

    SetFObjectIcons(QString(), QStringLiteral("RECORD"), VXIcon::Record);
    SetFObjectIcons(QString(), QStringLiteral("TABLE"), VXIcon::Table);
    SetFObjectIcons(QString(), QStringLiteral("TBL"), VXIcon::Table);
    SetFObjectIcons(QString(), QStringLiteral("ITEM"), VXIcon::Item);
    SetFObjectIcons(QString(), QStringLiteral("MAPG"), VXIcon::DefaultObject);
    SetFObjectIcons(QString(), QStringLiteral("MAP"), VXIcon::Form);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

bool TVXLangDef_VAG45::IsWordBreak(const QString &row, int position, int &length,
                                   TWordType &wordType, QChar &replacement)
{
    if (position == 1) {
        qsizetype first = 0;
        while (first < row.size() && row[first].isSpace())
            ++first;
        m_tagRow = first < row.size() && row[first] == QLatin1Char(':');
    }
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

bool TVXLangDef_VAG45::GetWordType(const QString &text, TWordType &wordType)
{
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    // Attribute values flow nowhere: type=CHA bytes=8 moves no data.
    if (m_tagRow && (wordType == Comparison || wordType == Qualifier)) {
        wordType = KnownWord;
        return found;
    }
    // MOVE A TO CUSTREC.CUSTID: the name before the point is the record, whatever the
    // words before it made of it.
    if (wordType == Qualifier) {
        TVXWordElement *record = WordAt(LatestIndex() - 1);
        if (record && record->WordType == VariableReference) {
            record->WordType = ReferencedName;
            CheckUpdates(LatestIndex() - 1);
        }
    }
    return found;
}

void TVXLangDef_VAG45::CheckUpdates(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    // SHARED=Y: the item is the shared data item part of its own name.
    if (word->WordType == DeclarationType && !m_declarations.isEmpty()
        && word->Word.compare(QLatin1String("SHARED"), Qt::CaseInsensitive) == 0) {
        TVXDeclaration &declaration = m_declarations.last();
        declaration.Type = declaration.Name;
        word->WordType = ReferencedName;
        word->Word = declaration.Name;
        word->ObjectIdentifier = declaration.Name;
        UpdateLatestVariableDefinition(index, false);
    }
    TVXLanguageDefinitionsInterface::CheckUpdates(index);
    // The tag types the part: :program opens a PROGRAM.
    if ((word->WordType == ObjectStart || word->WordType == MapTag)
        && word->Word.startsWith(QLatin1Char(':'))) {
        if (TVXObjectElement *object = CurrentObject())
            object->ObjectType = word->Word.mid(1).toUpper();
    }
}

VELUNOR_PACKAGE("LangDef_VAG45")
{
    package.RegisterClass<TVXLangDef_VAG45>(QStringLiteral("TVXLangDef_VAG45"));
}
