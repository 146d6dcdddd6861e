// SPDX-License-Identifier: GPL-3.0-or-later
// The query package: the Query window, created by the function name "Query".
#include "base/Package.h"

#include "query/window/Query.h"

VELUNOR_PACKAGE("")
{
    package.RegisterClass<TVXQuery>(QStringLiteral("TVXQuery"));
}
