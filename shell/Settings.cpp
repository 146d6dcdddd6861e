// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program, its packages and its settings live.
#include "shell/Settings.h"

#include "shell/Inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace VXSettings {

QString WithSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString ExecutableFolder()
{
    if (QCoreApplication::instance())
        return WithSeparator(QCoreApplication::applicationDirPath());
    return WithSeparator(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
}

QString SettingsFolder()
{
    const QString home = qEnvironmentVariable("VELUNOR_HOME");
    return home.isEmpty() ? ExecutableFolder() : WithSeparator(QDir::cleanPath(home));
}

QString ReadIni(const QString &section, const QString &key)
{
    return TVXIniFile(SettingsFolder() + QStringLiteral("VN.ini")).ReadString(section, key);
}

QString PackageFolder()
{
    const QString folder = ReadIni(QStringLiteral("APPLICATION"), QStringLiteral("BPLPATH"));
    return folder.isEmpty() ? ExecutableFolder() : WithSeparator(folder);
}

bool LoadDebug()
{
    return ReadIni(QStringLiteral("APPLICATION"), QStringLiteral("LOAD_DEBUG"))
           == QLatin1String("Yes");
}

} // namespace VXSettings
