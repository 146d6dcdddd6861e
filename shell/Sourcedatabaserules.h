// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the configured source databases, kept once for the Source Databases dialog
// and for velunor-cli: what may be saved or deleted, which row is the default, and how a
// new database file is made from the empty template.
#pragma once

#include "base/Export.h"
#include "base/Ruleresult.h"

#include <QString>
#include <QStringList>

class TVXConfigurationStore;

struct TVXDatabaseSettings
{
    QString Name;
    QString Type;
    QString Connection;
    bool Default = false;
};

class VXCORE_EXPORT TVXSourceDatabaseRules
{
public:
    static const QString NewName;      // "UnNamed"
    static const QString TemplateFile; // "VN_Empty12.IB"

    // The template is looked for in the template folder (where the program is installed);
    // new database files go to the database folder (the settings folder).
    TVXSourceDatabaseRules(TVXConfigurationStore &store, QStringList availableTypes,
                           QString templateFolder, QString databaseFolder);

    // The driver types a row may take: those of the loaded driver packages, in the order
    // "InMemory", "InterBase", "ODBC".
    static QStringList AvailableTypes();
    // The connection of these types names a database file.
    static bool IsFileBased(const QString &type);

    QList<TVXDatabaseSettings> List() const;
    int RowOf(const QString &name) const; // -1 when not configured

    // Saves the settings into the row (-1 appends a new row) after the checks; the table is
    // written to its file.
    TVXRuleResult Save(int row, const TVXDatabaseSettings &settings);
    TVXRuleResult Delete(int row);
    TVXRuleResult SetDefault(int row);
    // Copies the empty template to a new file for the named database; on success the
    // Information holds the new connection (the file's path).
    TVXRuleResult CreateDBFile(const QString &name, const QString &type) const;

private:
    TVXConfigurationStore &m_store;
    QStringList m_types;
    QString m_templateFolder;
    QString m_databaseFolder;
};
