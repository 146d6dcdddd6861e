// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Loadsources.h"

#include "base/Exception.h"

#include "repository/Condition.h"
#include "repository/Dataaccessinterface.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Clean(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// One folder equals, contains or lies inside the other.
bool Overlap(const QString &a, const QString &b)
{
    const QString x = Clean(a);
    const QString y = Clean(b);
    return x == y || x.startsWith(y + QLatin1Char('/')) || y.startsWith(x + QLatin1Char('/'));
}

} // namespace

TVXLoadSources::TVXLoadSources(TVXDataAccessInterface *db)
    : m_db(db)
{}

QList<TVXLoadSource> TVXLoadSources::List() const
{
    QList<TVXLoadSource> sources;
    const int table = m_db->GetTable(QStringLiteral("VXLOAD"));
    auto field = [&](const char *name) {
        return m_db->GetFieldValue(table, m_db->GetField(table, QLatin1String(name))).toString();
    };
    for (bool found = m_db->SelectBegin(table, QStringLiteral("VXLoadType IN ('FOLDER', 'REP')"));
         found; found = m_db->SelectNext(table))
        sources.append({field("VXLoadType").trimmed(), field("VXLoadFrom"), field("VXSystemName"),
                        field("VXComputerType"), field("VXComputerLocation"),
                        field("VXApplicationName")});
    return sources;
}

QString TVXLoadSources::CheckNewFolder(const QString &folder) const
{
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("The folder does not exist: ") + folder;
    for (const TVXLoadSource &source : List())
        if (source.Type == QLatin1String("FOLDER") && Overlap(source.From, folder))
            return QStringLiteral(
                    "Folder or subfolder is allready subject to Load, choose other Folder");
    return {};
}

QString TVXLoadSources::CheckNewScript(const QString &script) const
{
    for (const TVXLoadSource &source : List())
        if (source.Type == QLatin1String("REP") && source.From == script)
            return QStringLiteral(
                    "Script is allready subject to Execute before Load, choose other Script");
    return {};
}

TVXSourceCheck TVXLoadSources::CheckFolderNames(const TVXLoadSource &source)
{
    const bool computer = !source.ComputerType.isEmpty() || !source.ComputerLocation.isEmpty();
    if (source.SystemName.isEmpty())
        return {QStringLiteral(
                        "Systems Name is required.\rType in (or choose) the Systems Name that "
                        "this source is part of."),
                {}};
    if (!source.ApplicationName.isEmpty() && !computer)
        return {QStringLiteral(
                        "Computers Type and/or Location is required when Applications Name "
                        "is given.\rType in (or choose) the Computers Type/Location that this "
                        "source is running in."),
                {}};
    if (!computer)
        return {{},
                QStringLiteral("Only Systems Name is given.\rThis source will be loaded as Common "
                               "Source at System Level, Continue Saving?")};
    if (source.ApplicationName.isEmpty())
        return {{},
                QStringLiteral("Applications Name is not given.\rThis source will be loaded as "
                               "Common Source at Computer Level, Continue Saving?")};
    return {};
}

void TVXLoadSources::Add(const TVXLoadSource &source)
{
    const QString refused = source.Type == QLatin1String("FOLDER") ? CheckNewFolder(source.From)
                                                                   : CheckNewScript(source.From);
    if (!refused.isEmpty())
        throw TVXException(refused);
    const QString from = source.Type == QLatin1String("FOLDER") ? Clean(source.From) : source.From;
    m_db->VXLOAD_Append(source.Type, from, source.SystemName, source.ComputerType,
                        source.ComputerLocation, source.ApplicationName);
    m_db->Commit(false, false);
}

bool TVXLoadSources::Remove(const QString &type, const QString &from)
{
    const int table = m_db->GetTable(QStringLiteral("VXLOAD"));
    const TVXCondition condition
            = TVXCondition::Equals(QStringLiteral("VXLoadType"), type)
                      .And(TVXCondition::Equals(QStringLiteral("VXLoadFrom"), from));
    if (!m_db->SelectBoundBegin(table, condition))
        return false;
    // Row by row by its key, so that the names are bound, never written into the SQL.
    do
        m_db->Delete(table, QString(), true);
    while (m_db->SelectBoundBegin(table, condition));
    m_db->Commit(false, false);
    return true;
}
