// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/unisyssql/Langdef_unisyssql.h"

#include "base/Package.h"

using namespace VXWordType;

TVXLangDef_UnisysSQL::TVXLangDef_UnisysSQL(QObject *owner, const QString &folder)
    : TVXSqlFamily(owner, folder)
{
    m_languageID = 10311;
    m_languageName = QStringLiteral("UnisysSQL");
    m_fileExtensions = QStringLiteral(".usql;");
    for (const char *word :
         {"thread", "qualifier", "use", "unload", "locate", "storage", "area", "areas", "rdms",
          "schema", "mode", "lock", "share", "retrieval", "protected", "exclusive", "ucs", "tip"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);
}

VELUNOR_PACKAGE("LangDef_UnisysSQL")
{
    package.RegisterClass<TVXLangDef_UnisysSQL>(QStringLiteral("TVXLangDef_UnisysSQL"));
}
