// SPDX-License-Identifier: GPL-3.0-or-later
// The query package: the Query window, created by the function name "Query", and the
// Query History dialog.
#include "base/Package.h"

#include "query/window/Query.h"
#include "query/window/Queryhistory.h"

VELUNOR_PACKAGE("")
{
    package.RegisterClass<TVXQuery>(QStringLiteral("TVXQuery"));
    package.RegisterClass<TVXQueryHistory>(QStringLiteral("TVXQueryHistory"));
}
