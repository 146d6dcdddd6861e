// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program, its packages and its settings live.
#include "base/Settings.h"

#include "base/Inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
    if (!home.isEmpty())
        return WithSeparator(QDir::cleanPath(home));
    const QString beside = ExecutableFolder();
    if (QFileInfo(beside).isWritable())
        return beside;
    // An installed program's folder belongs to root: each user keeps the settings in the
    // user's own configuration folder instead.
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QStringLiteral("/velunor");
    QDir().mkpath(user);
    return WithSeparator(user);
}

QString ReadIni(const QString &section, const QString &key)
{
    return TVXIniFile(SettingsFolder() + QStringLiteral("VN.ini")).ReadString(section, key);
}

QString PackageFolder()
{
    const QString folder = ReadIni(QStringLiteral("APPLICATION"), QStringLiteral("BPLPATH"));
    if (!folder.isEmpty())
        return WithSeparator(folder);
    // The build tree keeps the programs beside the packages; an installation puts the
    // programs in bin/ and the packages in lib/velunor/.
    const QString programs = ExecutableFolder();
    const QString installed = QDir::cleanPath(programs + QStringLiteral("../lib/velunor"));
    if (!QFileInfo::exists(programs + QStringLiteral("vxcore.so"))
        && QFileInfo::exists(installed + QStringLiteral("/vxcore.so")))
        return WithSeparator(installed);
    return programs;
}

bool LoadDebug()
{
    return ReadIni(QStringLiteral("APPLICATION"), QStringLiteral("LOAD_DEBUG"))
           == QLatin1String("Yes");
}

} // namespace VXSettings
