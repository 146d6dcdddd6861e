// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/cppmsext/Langdef_cpp_msext.h"

#include "base/Package.h"

using namespace VXWordType;

namespace {
constexpr TWordType ProjectName = ProjectStart;
constexpr TWordType SourceList = FileListStart;
constexpr TWordType SourceExtension = MemberFileKind;
constexpr int ProjectSection = 9;
constexpr int FileListSection = 91;
} // namespace

TVXLangDef_CPP_MSExt::TVXLangDef_CPP_MSExt(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 30900;
    m_languageName = QStringLiteral("CPP_MSExt");
    m_fileExtensions = QStringLiteral(".dsp;");
    m_columnSetting = 2;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("\""), MainDelimiter);
    SetFBreakWords(QStringLiteral("'"), SecondaryDelimiter);
    SetFBreakWords(QStringLiteral("!"), LineCommentStart);
    // main.cpp is cut into main and ".cpp", .\main.cpp into ".\", main and ".cpp".
    for (const char *mark : {"#", ".\\", ".cpp", ".hpj", ".h"})
        SetFBreakWords(QString::fromLatin1(mark), KnownWord);

    SetFWords(QStringLiteral("name="), 0, ProjectName);
    SetFWords(QStringLiteral("#"), ProjectSection, LineCommentStart);
    SetFWords(QStringLiteral("source="), ProjectSection, SourceList);
    SetFWords(QStringLiteral(".cpp"), FileListSection, SourceExtension);
    SetFWords(QStringLiteral(".h"), FileListSection, SourceExtension);

    SetFContexts(2, ProjectName, -ProjectSection, PackageName);
    SetFContexts(-1, SourceExtension, FileListSection, PackageMember);

    SetFSections(ProjectName, EndOfFile, VXSectionType::Project, ProjectSection, QString(), false);
    SetFSections(SourceList, EndWithRow, VXSectionType::Project, FileListSection, QString(), false);
}

void TVXLangDef_CPP_MSExt::CheckUpdates(int index)
{
    const TVXWordElement *word = ReadWordAt(index);
    if (word && word->WordType == PackageMember) {
        for (const TVXPackageElement &package : m_packageList)
            if (SameText(package.ObjectName, word->Word))
                return;
    }
    TVXLanguageDefinitionsInterface::CheckUpdates(index);
}

VELUNOR_PACKAGE("LangDef_CPP_MSExt")
{
    package.RegisterClass<TVXLangDef_CPP_MSExt>(QStringLiteral("TVXLangDef_CPP_MSExt"));
}
