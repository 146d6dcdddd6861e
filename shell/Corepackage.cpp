// SPDX-License-Identifier: GPL-3.0-or-later
// The core package registers the service object, by whose name the program creates it.
#include "shell/Basefunctions.h"
#include "shell/Package.h"

VELUNOR_PACKAGE("")
{
    package.RegisterClass<TVXBaseFunctions>(QStringLiteral("TVXBaseFunctions"));
}
