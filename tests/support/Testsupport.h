// SPDX-License-Identifier: GPL-3.0-or-later
// What the tests share: a private settings folder, package folders assembled from the
// built packages and fixtures, and a recorder for the messages users would see.
#pragma once

#include "base/Exception.h"

#include "shell/Basefunctions.h"
#include "shell/Packageloader.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace VXTest {

// The folder of the built packages (velunor, vxlib0100.so, drivers, languages).
QString PackageDir();
// The folder of the fixture packages built for the tests.
QString FixtureDir();

// A temporary folder that VELUNOR_HOME points at while the object lives.
class Home
{
public:
    Home();
    ~Home();
    QString Path() const; // with trailing separator
    QString File(const QString &name) const { return Path() + name; }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

// A package folder with the core linked in and the named packages: each entry is
// "target=source", source being a file of the package or fixture folder; a bare name
// means the same name from the package folder.
class PackageFolder
{
public:
    explicit PackageFolder(const QStringList &packages);
    QString Path() const; // with trailing separator

private:
    QTemporaryDir m_dir;
};

struct Message
{
    TVXMessageKind Kind;
    QString Text;
};

// A started system without the program around it: packages loaded from a folder, the
// service object created by its class name, descriptions registered, configuration
// loaded. Messages are recorded instead of shown.
class Session
{
public:
    explicit Session(const QString &packageFolder, bool initialize = true);
    ~Session();

    TVXPackageLoader &Loader() { return m_loader; }
    TVXBaseFunctions &Service() { return *m_service; }
    QList<Message> Messages;
    int ExitRequests = 0;

private:
    TVXPackageLoader m_loader;
    TVXBaseFunctions *m_service = nullptr;
};

// What a run of velunor-cli printed and ended with.
struct CliResult
{
    int Code = -1;
    QString Out;
    QString Err;
};
// Runs velunor-cli as a process on the settings folder home.
CliResult RunCli(const QString &home, const QStringList &arguments);

// Writes VN.ini into the settings folder.
void WriteVnIni(const QString &home, const QString &content);

} // namespace VXTest
