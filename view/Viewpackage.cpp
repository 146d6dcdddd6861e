// SPDX-License-Identifier: GPL-3.0-or-later
// The views package: the explorer window, created by the function name "View".
#include "base/Package.h"

#include "view/View.h"

VELUNOR_PACKAGE("")
{
    package.RegisterClass<TVXView>(QStringLiteral("TVXView"));
}
