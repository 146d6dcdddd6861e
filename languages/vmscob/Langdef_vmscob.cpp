// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/vmscob/Langdef_vmscob.h"

#include "base/Package.h"

using namespace VXWordType;

TVXLangDef_VMSCOB::TVXLangDef_VMSCOB(QObject *owner, const QString &folder)
    : TVXCobolFamily(owner, folder)
{
    m_languageID = 20560;
    m_languageName = QStringLiteral("VMSCOB");
    m_fileExtensions = QStringLiteral(".vmscob;.cop;.fab;.sec;");
    m_terminal.SequenceEnd = 0;
    m_terminal.Indicator = 1;
    m_terminal.AreaA = 1;
    m_terminal.TextEnd = 0;
    m_terminal.IndicatorOnlyWhenMarked = true;

    // The VMS statements and clauses that are no data names.
    for (const char *word :
         {"lib$stop",   "lib$signal", "value",     "descriptor", "giving",  "dictionary",
          "record",     "exclusive",  "allowing",  "readers",    "writers", "updaters",
          "no",         "others",     "lock",      "unlock",     "free",    "all",
          "regardless", "manual",     "automatic", "keep"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);
}

const TVXCobolCardLayout &TVXLangDef_VMSCOB::Layout() const
{
    return m_format == Format::Terminal ? m_terminal : m_layout;
}

void TVXLangDef_VMSCOB::OnNewFile()
{
    m_format = Format::Undecided;
}

void TVXLangDef_VMSCOB::OnNewRow(const QString &row)
{
    if (m_format != Format::Undecided)
        return;
    const qsizetype first = [&row] {
        for (qsizetype i = 0; i < row.size(); ++i)
            if (!row[i].isSpace())
                return i;
        return qsizetype(-1);
    }();
    if (first < 0)
        return;
    // A card holds sequence numbers or blanks in columns 1 to 6 and starts its text in
    // the indicator column or later; a terminal row starts in column 1 or after a tab.
    bool sequenced = first < 6;
    for (qsizetype i = first; i < std::min<qsizetype>(6, row.size()) && sequenced; ++i)
        sequenced = row[i].isDigit() || row[i] == QLatin1Char(' ');
    const bool card = !row.contains(QLatin1Char('\t')) && (first >= 6 || sequenced);
    m_format = card ? Format::Ansi : Format::Terminal;
}

VELUNOR_PACKAGE("LangDef_VMSCOB")
{
    package.RegisterClass<TVXLangDef_VMSCOB>(QStringLiteral("TVXLangDef_VMSCOB"));
}
