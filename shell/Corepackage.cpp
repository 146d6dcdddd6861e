// SPDX-License-Identifier: GPL-3.0-or-later
// The core package registers the service object, by whose name the program creates it,
// and the settings dialogs that the Tools and Help menus open by name.
#include "base/Package.h"

#include "shell/About.h"
#include "shell/Basefunctions.h"
#include "shell/Languages.h"
#include "shell/Loaddialog.h"
#include "shell/Middleware.h"
#include "shell/Smalldialogs.h"
#include "shell/Sourcedatabases.h"
#include "shell/Windowchange.h"

VELUNOR_PACKAGE("")
{
    package.RegisterClass<TVXBaseFunctions>(QStringLiteral("TVXBaseFunctions"));
    package.RegisterClass<TVXSourceDatabases>(QStringLiteral("TVXSourceDatabases"));
    package.RegisterClass<TVXLanguages>(QStringLiteral("TVXLanguages"));
    package.RegisterClass<TVXEditors>(QStringLiteral("TVXEditors"));
    package.RegisterClass<TVXAbout>(QStringLiteral("TVXAbout"));
    package.RegisterClass<TVXProperties>(QStringLiteral("TVXProperties"));
    package.RegisterClass<TVXRepositories>(QStringLiteral("TVXRepositories"));
    package.RegisterClass<TVXExport>(QStringLiteral("TVXExport"));
    package.RegisterClass<TVXWindowChange>(QStringLiteral("TVXWindowChange"));
    package.RegisterClass<TVXLoad>(QStringLiteral("TVXLoad"));
    package.RegisterClass<TVXMiddleWare>(QStringLiteral("TVXMiddleWare"));
}
