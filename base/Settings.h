// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program, its packages and its settings live, and the two keys of VN.ini.
#pragma once

#include "base/Export.h"

#include <QString>

// Folders are returned with a trailing separator, because the design concatenates them
// directly with file names and patterns.
namespace VXSettings {

// The folder of the running executable.
VXCORE_EXPORT QString ExecutableFolder();

// VN.ini, the configuration store, logs and error dumps: VELUNOR_HOME when it is set, else
// the executable's folder, else (an installed program's folder that the user cannot write)
// the user's configuration folder, $XDG_CONFIG_HOME/velunor.
VXCORE_EXPORT QString SettingsFolder();

// VN.ini [APPLICATION] BPLPATH, else the executable's folder, or ../lib/velunor beside it
// in an installation.
VXCORE_EXPORT QString PackageFolder();

// VN.ini [APPLICATION] LOAD_DEBUG is exactly "Yes".
VXCORE_EXPORT bool LoadDebug();

// Reads [section] key from VN.ini in the settings folder; empty when missing.
VXCORE_EXPORT QString ReadIni(const QString &section, const QString &key);

VXCORE_EXPORT QString WithSeparator(const QString &folder);

} // namespace VXSettings
