// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/mssql/Langdef_mssql.h"

#include "base/Package.h"

using namespace VXWordType;

TVXLangDef_MSSQL::TVXLangDef_MSSQL(QObject *owner, const QString &folder)
    : TVXSqlFamily(owner, folder)
{
    m_languageID = 10312;
    m_languageName = QStringLiteral("MSSQL");
    m_fileExtensions = QStringLiteral(".mssql;");
    m_goBatches = true;
    m_transactSql = true;
    for (const char *word : {"exec", "execute"})
        SetFWords(QString::fromLatin1(word), -1, Call);
    // [dbo].[Customer] is dbo.Customer.
    SetFBreakWords(QStringLiteral("["), WhiteSpace);
    SetFBreakWords(QStringLiteral("]"), WhiteSpace);
    for (const char *word : {"go",        "nocount",     "output",          "out",
                             "top",       "nolock",      "identity",        "print",
                             "raiserror", "try",         "catch",           "throw",
                             "tran",      "transaction", "openquery",       "sysname",
                             "nvarchar",  "nchar",       "datetime",        "datetime2",
                             "bit",       "money",       "uniqueidentifier"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);
}

VELUNOR_PACKAGE("LangDef_MSSQL")
{
    package.RegisterClass<TVXLangDef_MSSQL>(QStringLiteral("TVXLangDef_MSSQL"));
}
