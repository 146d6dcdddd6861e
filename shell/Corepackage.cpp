// SPDX-License-Identifier: GPL-3.0-or-later
// The core package registers the service object, by whose name the program creates it.
#include "base/Package.h"

#include "shell/Basefunctions.h"

VELUNOR_PACKAGE("")
{
    package.RegisterClass<TVXBaseFunctions>(QStringLiteral("TVXBaseFunctions"));
}
