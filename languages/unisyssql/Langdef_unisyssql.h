// SPDX-License-Identifier: GPL-3.0-or-later
// Unisys RDMS SQL: the SQL family with the statements of RDMS (threads, default
// qualifiers, storage areas, UNLOAD), which name no tables of their own.
#pragma once

#include "languages/sql/Sqlfamily.h"

class TVXLangDef_UnisysSQL : public TVXSqlFamily
{
    Q_OBJECT
public:
    TVXLangDef_UnisysSQL(QObject *owner, const QString &folder);
};
