// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Sourcedatabaserules.h"

#include "base/Classregistry.h"
#include "base/Configurationstore.h"
#include "base/Exception.h"

#include <QFile>
#include <QFileInfo>

const QString TVXSourceDatabaseRules::NewName = QStringLiteral("UnNamed");
const QString TVXSourceDatabaseRules::TemplateFile = QStringLiteral("VN_Empty12.IB");

namespace {

const QString UnNamedRefused
        = QStringLiteral("The default Name 'UnNamed' is not valid, change the Name.");

} // namespace

TVXSourceDatabaseRules::TVXSourceDatabaseRules(TVXConfigurationStore &store,
                                               QStringList availableTypes, QString templateFolder,
                                               QString databaseFolder)
    : m_store(store)
    , m_types(std::move(availableTypes))
    , m_templateFolder(std::move(templateFolder))
    , m_databaseFolder(std::move(databaseFolder))
{}

QStringList TVXSourceDatabaseRules::AvailableTypes()
{
    const QStringList registered = VXClassRegistry().ClassNames();
    QStringList types;
    for (const QString &type :
         {QStringLiteral("InMemory"), QStringLiteral("InterBase"), QStringLiteral("ODBC")})
        if (registered.contains(QStringLiteral("TVX") + type + QStringLiteral("DB")))
            types << type;
    return types;
}

bool TVXSourceDatabaseRules::IsFileBased(const QString &type)
{
    return type == QLatin1String("InterBase") || type == QLatin1String("InMemory");
}

QList<TVXDatabaseSettings> TVXSourceDatabaseRules::List() const
{
    const TVXConfigTable &table = m_store.DatabasesTable();
    QList<TVXDatabaseSettings> list;
    for (int row = 0; row < table.RowCount(); ++row)
        list.append({table.Text(row, QStringLiteral("VX_DBNAME")),
                     table.Text(row, QStringLiteral("VX_DBTYPE")),
                     table.Text(row, QStringLiteral("VX_DBCONNSTRING")),
                     table.Value(row, QStringLiteral("VX_DBDEFAULT")).toBool()});
    return list;
}

int TVXSourceDatabaseRules::RowOf(const QString &name) const
{
    return m_store.DatabasesTable().FindFirst(QStringLiteral("VX_DBNAME"), name);
}

TVXRuleResult TVXSourceDatabaseRules::Save(int row, const TVXDatabaseSettings &settings)
{
    TVXConfigTable &table = m_store.DatabasesTable();
    const QString name = settings.Name.trimmed();
    if (name == NewName)
        return {UnNamedRefused, {}, QStringLiteral("VX_DBNAME")};
    if (name.isEmpty())
        return {QStringLiteral("Name for the database is missing, enter a Name."),
                {},
                QStringLiteral("VX_DBNAME")};
    if (!m_types.contains(settings.Type))
        return {settings.Type.isEmpty()
                        ? QStringLiteral("Type for the database is missing, choose a Type.")
                        : QStringLiteral("The Type '%1' is not available, choose one of: %2.")
                                  .arg(settings.Type, m_types.join(QStringLiteral(", "))),
                {},
                QStringLiteral("VX_DBTYPE")};
    if (settings.Type == QLatin1String("InMemory"))
        for (const int other : table.Find(QStringLiteral("VX_DBTYPE"), settings.Type))
            if (other != row)
                return {QStringLiteral("Only one instance of InMemory database allowed, choose "
                                       "another Type."),
                        {},
                        QStringLiteral("VX_DBTYPE")};
    if (IsFileBased(settings.Type)
        && QFileInfo(settings.Connection.trimmed())
                           .fileName()
                           .compare(TemplateFile, Qt::CaseInsensitive)
                   == 0)
        return {QStringLiteral("This file is your template empty database\rMake a copy of this "
                               "file to create new Databases"),
                {},
                QStringLiteral("VX_DBCONNSTRING")};
    const int same = RowOf(name);
    if (same >= 0 && same != row)
        return {QStringLiteral("Another database allready has this Name, change the given Name."),
                {},
                QStringLiteral("VX_DBNAME")};

    const QVariantMap values{{QStringLiteral("VX_DBNAME"), name},
                             {QStringLiteral("VX_DBTYPE"), settings.Type},
                             {QStringLiteral("VX_DBCONNSTRING"), settings.Connection},
                             {QStringLiteral("VX_DBDEFAULT"), settings.Default}};
    const QList<TVXDatabaseSettings> before = List();
    try {
        if (row < 0)
            row = table.Append(values);
        else
            table.SetValues(row, values);
    } catch (const std::exception &e) {
        return {VXMessage(e), {}, QString()};
    }
    TVXRuleResult result;
    if (settings.Default) {
        for (int other = 0; other < table.RowCount(); ++other)
            if (other != row)
                table.SetValue(other, QStringLiteral("VX_DBDEFAULT"), false);
    } else if (table.Find(QStringLiteral("VX_DBDEFAULT"), true).isEmpty()) {
        table.SetValue(row, QStringLiteral("VX_DBDEFAULT"), true);
        result.Information = QStringLiteral("One database must be default, \r'%1' has been set "
                                            "to Default database")
                                     .arg(name);
    }
    m_store.Save(TVXConfigurationStore::Databases);
    return result;
}

TVXRuleResult TVXSourceDatabaseRules::Delete(int row)
{
    TVXConfigTable &table = m_store.DatabasesTable();
    if (table.RowCount() <= 1)
        return {QStringLiteral("At least one Database need to exist, delete not allowed."), {}, {}};
    if (row < 0 || row >= table.RowCount())
        return {QStringLiteral("There is no database to delete."), {}, {}};
    const bool wasDefault = table.Value(row, QStringLiteral("VX_DBDEFAULT")).toBool();
    table.Delete(row);
    if (wasDefault)
        table.SetValue(0, QStringLiteral("VX_DBDEFAULT"), true);
    m_store.Save(TVXConfigurationStore::Databases);
    return {};
}

TVXRuleResult TVXSourceDatabaseRules::SetDefault(int row)
{
    TVXConfigTable &table = m_store.DatabasesTable();
    if (row < 0 || row >= table.RowCount())
        return {QStringLiteral("There is no database to make default."), {}, {}};
    for (int other = 0; other < table.RowCount(); ++other)
        table.SetValue(other, QStringLiteral("VX_DBDEFAULT"), other == row);
    m_store.Save(TVXConfigurationStore::Databases);
    return {};
}

TVXRuleResult TVXSourceDatabaseRules::CreateDBFile(const QString &name, const QString &type) const
{
    if (name.trimmed() == NewName)
        return {UnNamedRefused, {}, QStringLiteral("VX_DBNAME")};
    if (name.trimmed().isEmpty())
        return {QStringLiteral("Name for the database is missing, enter a Name."),
                {},
                QStringLiteral("VX_DBNAME")};
    if (type == QLatin1String("InMemory")) {
        // SQLite makes the file, schema included, when it is first connected.
        const QString file = m_databaseFolder + QStringLiteral("VN_") + name.trimmed()
                             + QStringLiteral(".sqlite");
        if (QFileInfo::exists(file))
            return {QStringLiteral("DBFile allready exist"), {}, QStringLiteral("VX_DBCONNSTRING")};
        return {{}, file, {}};
    }
    if (type != QLatin1String("InterBase"))
        return {QStringLiteral("The Type '%1' has no database file.").arg(type),
                {},
                QStringLiteral("VX_DBTYPE")};
    const QString source = m_templateFolder + TemplateFile;
    if (!QFileInfo::exists(source))
        return {QStringLiteral("The template DBfile VN_Empty12.IB is missing in ")
                        + m_templateFolder,
                {},
                {}};
    const QString file
            = m_databaseFolder + QStringLiteral("VN_") + name.trimmed() + QStringLiteral(".IB");
    if (QFileInfo::exists(file))
        return {QStringLiteral("DBFile allready exist"), {}, QStringLiteral("VX_DBCONNSTRING")};
    if (!QFile::copy(source, file))
        return {QStringLiteral("Cannot copy %1 to %2").arg(source, file), {}, {}};
    // The template is installed read-only; the copy must be writable.
    QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                               | QFile::ReadOther);
    return {{}, file, {}};
}
