// SPDX-License-Identifier: GPL-3.0-or-later
// Microsoft SQL Server (T-SQL) scripts: the SQL family with batches ended by GO,
// [bracketed] names, @variables and parameters, #temporary tables, EXEC and EXECUTE of
// procedures, CREATE OR ALTER.
#pragma once

#include "languages/sql/Sqlfamily.h"

class TVXLangDef_MSSQL : public TVXSqlFamily
{
    Q_OBJECT
public:
    TVXLangDef_MSSQL(QObject *owner, const QString &folder);
};
