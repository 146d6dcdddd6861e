// SPDX-License-Identifier: GPL-3.0-or-later
// Package vxlib0200: the embedded SQLite repository driver.
#include "base/Package.h"

#include "repository/inmemory/Inmemorydb.h"

VELUNOR_PACKAGE("InMemoryDB")
{
    package.RegisterClass<TVXInMemoryDB>(QStringLiteral("TVXInMemoryDB"));
}
