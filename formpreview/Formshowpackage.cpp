// SPDX-License-Identifier: GPL-3.0-or-later
// The screen-form preview on its own, for programs that want it without the views.
#include "base/Package.h"

#include "formpreview/Formshow.h"

VELUNOR_PACKAGE("")
{
    package.RegisterClass<TVXFormShow>(QStringLiteral("TVXFormShow"));
}
