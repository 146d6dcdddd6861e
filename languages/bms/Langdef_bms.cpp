// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/bms/Langdef_bms.h"

#include "base/Package.h"

#include "parsing/Cardcolumns.h"

#include <QFileInfo>

using namespace VXWordType;

namespace {

constexpr TWordType Mapset = ObjectStart;
constexpr TWordType Map = SecondObjectStart;
constexpr TWordType Field = DeclarationType;
constexpr int MapObject = 10;

} // namespace

TVXLangDef_BMS::TVXLangDef_BMS(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 20525;
    m_languageName = QStringLiteral("BMS");
    m_fileExtensions = QStringLiteral(".bms;");
    m_columnSetting = 5;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("="), KnownWord);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);

    SetFWords(QStringLiteral("dfhmsd"), -1, Mapset);
    SetFWords(QStringLiteral("dfhmdi"), -1, Map);
    SetFWords(QStringLiteral("dfhmdf"), -1, Field);
    for (const char *word :
         {"pos",       "length",  "initial",   "picout",  "picin",   "attrb",   "type",    "mode",
          "lang",      "ctrl",    "storage",   "tioapfx", "size",    "line",    "column",  "color",
          "hilight",   "justify", "occurs",    "grpname", "final",   "map",     "dsect",   "inout",
          "in",        "out",     "cobol",     "auto",    "yes",     "no",      "freekb",  "frset",
          "alarm",     "askip",   "prot",      "unprot",  "num",     "brt",     "norm",    "drk",
          "ic",        "fset",    "end",       "print",   "nogen",   "title",   "blue",    "red",
          "pink",      "green",   "turquoise", "yellow",  "neutral", "default", "reverse", "blink",
          "underline", "extatt",  "dsatts",    "mapatts"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    SetFContexts(-1, Mapset, -1, ObjectName);
    SetFContexts(-1, Map, -1, ObjectName);
    SetFContexts(-1, Field, -1, DeclarationName);

    // Maps follow their mapset one after the other: each starts the next object.
    SetFSections(Mapset, EndAtSameSectionNumber, VXSectionType::Object, MapObject, QString(),
                 false);
    SetFSections(Map, EndAtSameSectionNumber, VXSectionType::Object, MapObject, QString(), false);

    SetFObjectIcons(QString(), QStringLiteral("MAPSET"), VXIcon::DefaultObject);
    SetFObjectIcons(QString(), QStringLiteral("MAP"), VXIcon::Form);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

bool TVXLangDef_BMS::IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                                 QChar &replacement)
{
    if (position == 1)
        m_labelledRow = row[0] != QLatin1Char(' ') && row[0] != QLatin1Char('*');
    if (position == 1 && row.startsWith(QLatin1Char('*'))) {
        length = 1;
        wordType = LineCommentStart;
        return true;
    }
    if (VXCardColumns::SequenceArea(row, position, length, wordType, WhiteSpace)
        || VXCardColumns::ContinuationMark(row, position, InComment(), length, wordType))
        return true;
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

int TVXLangDef_BMS::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    // Column 1, the continuation column and the sequence columns have rules of their own.
    return ScanForBreak(row, from, length, wordType, [](int position) {
        return position > 1 && position < VXCardColumns::ContinuationColumn;
    });
}

bool TVXLangDef_BMS::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    if (literal)
        return found;
    if (m_wordsInRow != 1)
        return found;
    // A label is never a keyword.
    if (m_labelledRow) {
        wordType = Unknown;
        return false;
    }
    // DFHMSD TYPE=FINAL has no label: it ends the mapset, it starts nothing.
    if (wordType == Mapset) {
        bool objectClosed = false;
        while (m_sectionStack.size() > 1 && Innermost().SectionID == MapObject)
            CloseInnermostSection(objectClosed);
        wordType = KnownWord;
    }
    return found;
}

// Labels and operands refer to nothing outside the map.
void TVXLangDef_BMS::CheckIdentifier(int) {}

void TVXLangDef_BMS::OnBeforeSaveToDB(bool final, bool)
{
    if (!final)
        return;
    for (TVXObjectElement &object : m_objectList) {
        if (object.ObjectType.compare(QLatin1String("DFHMSD"), Qt::CaseInsensitive) == 0) {
            object.ObjectType = QStringLiteral("MAPSET");
        } else if (object.ObjectType.compare(QLatin1String("DFHMDI"), Qt::CaseInsensitive) == 0) {
            object.ObjectType = QStringLiteral("MAP");
            if (!object.Name.isEmpty())
                object.Identifier = object.Name + QStringLiteral("_MAP");
        }
    }
}

VELUNOR_PACKAGE("LangDef_BMS")
{
    package.RegisterClass<TVXLangDef_BMS>(QStringLiteral("TVXLangDef_BMS"));
}
