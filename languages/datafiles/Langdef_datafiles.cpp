// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/datafiles/Langdef_datafiles.h"

#include "base/Package.h"

using namespace VXWordType;

namespace {
constexpr TWordType DataWord = DataFileWord;
constexpr TIcon DataFileIcon = 22;
} // namespace

TVXLangDef_DataFiles::TVXLangDef_DataFiles(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 99999;
    m_languageName = QStringLiteral("DataFiles");
    m_fileExtensions = QStringLiteral(".data;.parm;");
    m_columnSetting = 2;

    SetFWhiteSpaceBreaks();
    for (const char *mark : {".", ",", ":", ";"})
        SetFBreakWords(QString::fromLatin1(mark), KnownWord);
    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, 10, QString(), false);
    SetFObjectIcons(QString(), QString(), DataFileIcon);
}

bool TVXLangDef_DataFiles::IsWordBreak(const QString &row, int position, int &length,
                                       TWordType &wordType, QChar &replacement)
{
    if (row[position - 1] == QLatin1Char('\f')) {
        replacement = QLatin1Char(' ');
        QString blank = row;
        blank[position - 1] = replacement;
        return TVXLanguageDefinitionsInterface::IsWordBreak(blank, position, length, wordType,
                                                            replacement);
    }
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

bool TVXLangDef_DataFiles::GetWordType(const QString &, TWordType &wordType)
{
    wordType = DataWord;
    return false;
}

void TVXLangDef_DataFiles::CheckIdentifier(int) {}

void TVXLangDef_DataFiles::OnBeforeSaveToDB(bool final, bool)
{
    TVXObjectElement *object = FirstObject();
    if (!final || !object)
        return;
    const qsizetype lastPoint = m_fileName.lastIndexOf(QLatin1Char('.'));
    const QString name = lastPoint < 0 ? m_fileName : m_fileName.left(lastPoint);
    const QString extension = lastPoint < 0 ? QString() : m_fileName.mid(lastPoint + 1);
    object->Name = object->Identifier = name;
    const qsizetype underscore = extension.indexOf(QLatin1Char('_'));
    object->ObjectType = underscore < 0 ? extension : extension.mid(underscore + 1);
    const QString upper = extension.toUpper();
    if (upper.contains(QLatin1String("_PGM")))
        object->Icon = VXIcon::DefaultObject;
    else if (upper.contains(QLatin1String("_TBL")))
        object->Icon = VXIcon::Table;
    else if (upper.contains(QLatin1String("_CPY")))
        object->Icon = VXIcon::IncludedMember;
    else
        object->Icon = DataFileIcon;
    // PAYROLL.CUST.data: the qualifier is the scope.
    const qsizetype qualifier = name.lastIndexOf(QLatin1Char('.'));
    if (qualifier >= 0) {
        object->Scope = name.left(qualifier);
        object->Identifier = name.mid(qualifier + 1);
    }
}

VELUNOR_PACKAGE("LangDef_DataFiles")
{
    package.RegisterClass<TVXLangDef_DataFiles>(QStringLiteral("TVXLangDef_DataFiles"));
}
