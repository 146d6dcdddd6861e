// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/unisyscob/Langdef_unisyscob.h"

#include "base/Package.h"

using namespace VXWordType;

TVXLangDef_UnisysCOB::TVXLangDef_UnisysCOB(QObject *owner, const QString &folder)
    : TVXCobolFamily(owner, folder)
{
    m_languageID = 20510;
    m_languageName = QStringLiteral("UnisysCOB");
    m_fileExtensions = QStringLiteral("._sym;.cobp_sym;");
    for (const char *word : {"enter", "masm", "fortran", "algol", "symbolic", "library", "on"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);
}

bool TVXLangDef_UnisysCOB::IsWordBreak(const QString &row, int position, int &length,
                                       TWordType &wordType, QChar &replacement)
{
    // $ SET LIST: options for the compiler, no statement.
    if (position == 7 && row[6] == QLatin1Char('$') && !InComment() && !InLiteral()) {
        length = 1;
        wordType = LineCommentStart;
        StartNewStatement();
        return true;
    }
    return TVXCobolFamily::IsWordBreak(row, position, length, wordType, replacement);
}

bool TVXLangDef_UnisysCOB::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXCobolFamily::GetWordType(text, wordType);
    const int latest = LatestIndex();
    TVXWordElement &word = m_wordBuffer[latest];
    const bool quote = text == QLatin1String("'") || text == QLatin1String("\"");
    if (quote)
        return found;
    // ENTER MASM ROUTINE and ENTER MASM 'ROUTINE': the routine, two words on (three with
    // the quote), in the same statement.
    const TVXWordElement *enter = ReadWordAt(latest - (literal ? 3 : 2));
    const TVXWordElement *language = ReadWordAt(latest - (literal ? 2 : 1));
    if (enter && language && enter->RowID == word.RowID
        && enter->Word.compare(QLatin1String("ENTER"), Qt::CaseInsensitive) == 0
        && language->Word != QLatin1String(".") && (literal || wordType == Unknown)) {
        word.WordType = wordType = CalledName;
        word.ObjectIdentifier = FoldedCase(text);
        return found;
    }
    return found;
}

VELUNOR_PACKAGE("LangDef_UnisysCOB")
{
    package.RegisterClass<TVXLangDef_UnisysCOB>(QStringLiteral("TVXLangDef_UnisysCOB"));
}
