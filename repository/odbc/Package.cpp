// SPDX-License-Identifier: GPL-3.0-or-later
// Package vxlib0220: the ODBC repository driver.
#include "base/Package.h"

#include "repository/odbc/Odbcdb.h"

VELUNOR_PACKAGE("ODBCDB")
{
    package.RegisterClass<TVXODBCDB>(QStringLiteral("TVXODBCDB"));
}
