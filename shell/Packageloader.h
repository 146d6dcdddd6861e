// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the run-time packages by file name and keeps a record of every attempt.
#pragma once

#include "base/Export.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QLibrary;

struct TVXPackageRecord
{
    enum State { Found, Loaded, Failed, Unloaded };
    QString FileName; // bare name, as entered in the package list
    QString Path;
    State Status = Found;
    QString Description;
    QString Error; // names the file and the cause
    quintptr Handle = 0;
};

// Start-up loads, in this order: the named window packages (vxlib1000, 2000, 3000, 4000 and
// the optional 9999), each skipped silently when missing or broken; then every "vxlib0*"
// file of the package folder, where a failure aborts start-up with "CheckPackages: ".
// Unloading goes first-loaded first, as the design asks. One loader per process: Qt shares
// a library between QLibrary objects, so a second loader's unloading would pull the
// packages away from the first.
class VXCORE_EXPORT TVXPackageLoader
{
public:
    // A program without windows (velunor-cli) loads the display-free packages only: not the
    // window packages, nor the core's window half vxlib0100, so it needs no widget library.
    enum TVXPackageSet { AllPackages, DisplayFreePackages };

    explicit TVXPackageLoader(QString packageFolder);
    ~TVXPackageLoader();

    void CheckPackages(TVXPackageSet set = AllPackages);

    // One "handle:file name" entry per loaded package, in load order.
    QStringList PackageList() const;
    QString Description(const QString &fileName) const;
    const QList<TVXPackageRecord> &Records() const { return m_records; }

    // Finalises and unloads every package, first-loaded first; errors are ignored
    // package by package.
    void UnloadAll();

    static QStringList NamedPackages();
    // The core package: the service object's window half.
    static QString WindowCorePackage() { return QStringLiteral("vxlib0100.so"); }

private:
    bool Load(const QString &fileName, QString *error);

    QString m_folder;
    QList<TVXPackageRecord> m_records;
    std::vector<std::unique_ptr<QLibrary>> m_loaded; // parallel to the loaded records
};
