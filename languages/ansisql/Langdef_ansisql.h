// SPDX-License-Identifier: GPL-3.0-or-later
// ANSI SQL scripts: the SQL family as the standard has it.
#pragma once

#include "languages/sql/Sqlfamily.h"

class TVXLangDef_AnsiSQL : public TVXSqlFamily
{
    Q_OBJECT
public:
    TVXLangDef_AnsiSQL(QObject *owner, const QString &folder);
};
