// SPDX-License-Identifier: GPL-3.0-or-later
// Package vxlib0210: the InterBase (Firebird) repository driver.
#include "base/Package.h"

#include "repository/interbase/Interbasedb.h"

VELUNOR_PACKAGE("InterBaseDB")
{
    package.RegisterClass<TVXInterBaseDB>(QStringLiteral("TVXInterBaseDB"));
}
