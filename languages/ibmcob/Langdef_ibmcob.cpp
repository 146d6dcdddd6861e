// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/ibmcob/Langdef_ibmcob.h"

#include "base/Package.h"

TVXLangDef_IBMCOB::TVXLangDef_IBMCOB(QObject *owner, const QString &folder)
    : TVXCobolFamily(owner, folder)
{
    m_languageID = 20520;
    m_languageName = QStringLiteral("IBMCOB");
    m_fileExtensions = QStringLiteral(".ibmcob;");
}

VELUNOR_PACKAGE("LangDef_IBMCOB")
{
    package.RegisterClass<TVXLangDef_IBMCOB>(QStringLiteral("TVXLangDef_IBMCOB"));
}
