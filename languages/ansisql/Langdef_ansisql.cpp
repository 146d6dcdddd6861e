// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/ansisql/Langdef_ansisql.h"

#include "base/Package.h"

TVXLangDef_AnsiSQL::TVXLangDef_AnsiSQL(QObject *owner, const QString &folder)
    : TVXSqlFamily(owner, folder)
{
    m_languageID = 10310;
    m_languageName = QStringLiteral("AnsiSQL");
    m_fileExtensions = QStringLiteral(".sql;.isql;");
}

VELUNOR_PACKAGE("LangDef_AnsiSQL")
{
    package.RegisterClass<TVXLangDef_AnsiSQL>(QStringLiteral("TVXLangDef_AnsiSQL"));
}
