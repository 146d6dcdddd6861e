// SPDX-License-Identifier: GPL-3.0-or-later
// The views package: the explorer window, created by the function name "View", and the
// screen-form preview it opens.
#include "base/Package.h"

#include "formpreview/Formshow.h"
#include "view/View.h"

VELUNOR_PACKAGE("")
{
    package.RegisterClass<TVXView>(QStringLiteral("TVXView"));
    package.RegisterClass<TVXFormShow>(QStringLiteral("TVXFormShow"));
}
