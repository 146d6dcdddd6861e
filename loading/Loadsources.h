// SPDX-License-Identifier: GPL-3.0-or-later
// The load sources of a repository (its VXLOAD rows): folders with the system, computer
// and application they belong to, and repository scripts that run before a load. The
// rules live here once, for the load dialog and for velunor-cli.
#pragma once

#include "base/Export.h"

#include <QList>
#include <QString>

class TVXDataAccessInterface;

struct TVXLoadSource
{
    QString Type; // "FOLDER" or "REP"
    QString From;
    QString SystemName;
    QString ComputerType;
    QString ComputerLocation;
    QString ApplicationName;
};

// What saving a folder row needs: nothing, a correction (Error) or a Yes (Question).
struct TVXSourceCheck
{
    QString Error;
    QString Question;
};

class VXCORE_EXPORT TVXLoadSources
{
public:
    explicit TVXLoadSources(TVXDataAccessInterface *db);

    QList<TVXLoadSource> List() const;
    // Empty when the folder may become a source; else why not.
    QString CheckNewFolder(const QString &folder) const;
    QString CheckNewScript(const QString &script) const;
    static TVXSourceCheck CheckFolderNames(const TVXLoadSource &source);
    // Appends and commits; throws with the reason when a rule refuses it.
    void Add(const TVXLoadSource &source);
    // Removes the row (not the loaded files; that is DeleteFilesInDB's work).
    bool Remove(const QString &type, const QString &from);

private:
    TVXDataAccessInterface *m_db;
};
