// SPDX-License-Identifier: GPL-3.0-or-later
// The four settings tables.
#include "base/Configurationstore.h"

#include "base/Exception.h"

#include <QFile>

namespace {

TVXFieldDef Text(const char *name, int size, bool required = false, const char *label = "")
{
    return {QString::fromLatin1(name), TVXFieldType::String, size, required,
            QString::fromLatin1(label)};
}
TVXFieldDef Integer(const char *name, const char *label = "")
{
    return {QString::fromLatin1(name), TVXFieldType::Integer, 0, false, QString::fromLatin1(label)};
}
TVXFieldDef Boolean(const char *name, const char *label = "")
{
    return {QString::fromLatin1(name), TVXFieldType::Boolean, 0, false, QString::fromLatin1(label)};
}

} // namespace

TVXConfigurationStore::TVXConfigurationStore(QString folder)
    : m_folder(std::move(folder))
{
    m_tables[Databases] = std::make_unique<TVXConfigTable>(
            QStringLiteral("CDS_DATABASES"),
            QList<TVXFieldDef>{Text("VX_DBNAME", 20, true, "Name"),
                               Text("VX_DBTYPE", 16, true, "Type"),
                               Text("VX_DBCONNSTRING", 255, false, "Connectionstring"),
                               Boolean("VX_DBDEFAULT", "Default DB"), Integer("VX_DBLASTLOADED")},
            QStringLiteral("VX_DBNAME"));
    m_tables[Languages] = std::make_unique<TVXConfigTable>(
            QStringLiteral("CDS_LANGUAGES"),
            QList<TVXFieldDef>{Integer("VXLanguageID"), Text("VXLanguageName", 20),
                               Text("VXFileExtensions", 255), Text("VXEditorName", 20),
                               Text("VXEditorStartCommand", 255), Text("VXFindShortcutKey", 64)});
    m_tables[Options] = std::make_unique<TVXConfigTable>(
            QStringLiteral("CDS_OPTIONS"),
            QList<TVXFieldDef>{Text("OFontName", 32), Integer("OFontSize")});
    m_tables[Middleware] = std::make_unique<TVXConfigTable>(
            QStringLiteral("CDS_MIDDLEWARE"),
            QList<TVXFieldDef>{Text("VXMiddleWare", 64, true), Text("VXWord", 64, true),
                               Text("VXWordType", 20), Text("VXHardIdentifier", 64),
                               Integer("VXOffsetToObjectIdentifier"),
                               Integer("VXOffsetToEntryName"), Integer("VXOffsetToTableIdentifier"),
                               Text("VXAttributeScope1", 30), Text("VXAttributeScope2", 30)},
            QStringLiteral("VXMiddleWare"));
}

QString TVXConfigurationStore::FileName(Table table)
{
    static const char *const names[]
            = {"VXLIB0110.bin", "VXLIB0120.bin", "VXLIB0130.bin", "VXLIB0140.bin"};
    return QString::fromLatin1(names[table]);
}

QString TVXConfigurationStore::CorruptionMessage(Table table)
{
    static const char *const what[] = {"DataBases", "Languages", "Options", "MiddleWare"};
    return QStringLiteral("The %1 settingsfile is corrupt or incompatible with this version, it "
                          "has been restored to the default settings.")
            .arg(QString::fromLatin1(what[table]));
}

QString TVXConfigurationStore::FilePath(Table table) const
{
    return m_folder + FileName(table);
}

void TVXConfigurationStore::Load(Table table, const std::function<void(const QString &)> &warn)
{
    TVXConfigTable &data = Get(table);
    const QString path = FilePath(table);
    const QString templatePath = path + QLatin1Char('d');

    data.Clear();
    data.SaveToFile(templatePath);
    try {
        data.LoadFromFile(path);
    } catch (const TVXException &) {
        // The damaged file is moved aside rather than deleted, so that settings a user
        // can still read out of it are not gone for good.
        const QString kept = path + QStringLiteral(".damaged");
        QFile::remove(kept);
        if (QFile::exists(path) && (QFile::rename(path, kept) || QFile::remove(path)) && warn)
            warn(CorruptionMessage(table));
        data.LoadFromFile(templatePath);
        // Writing the empty table at once keeps an unreadable file from warning again
        // at every later start.
        data.SaveToFile(path);
    }
}

void TVXConfigurationStore::Save(Table table) const
{
    Get(table).SaveToFile(FilePath(table));
}
