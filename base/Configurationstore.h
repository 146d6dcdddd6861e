// SPDX-License-Identifier: GPL-3.0-or-later
// The four settings tables: source databases, languages, display options, middleware.
#pragma once

#include "base/Configtable.h"

#include <functional>

// Each table lives in one file of the settings folder, with a template file of the same
// name plus "d" that holds the empty table in the current layout.
class VXCORE_EXPORT TVXConfigurationStore
{
public:
    enum Table { Databases, Languages, Options, Middleware };

    explicit TVXConfigurationStore(QString folder);

    TVXConfigTable &Get(Table table) { return *m_tables[table]; }
    const TVXConfigTable &Get(Table table) const { return *m_tables[table]; }
    TVXConfigTable &DatabasesTable() { return Get(Databases); }
    TVXConfigTable &LanguagesTable() { return Get(Languages); }
    TVXConfigTable &OptionsTable() { return Get(Options); }
    TVXConfigTable &MiddlewareTable() { return Get(Middleware); }

    QString FilePath(Table table) const;
    static QString FileName(Table table);
    static QString CorruptionMessage(Table table);

    // Loads one table. A file that is missing, damaged or of another layout is replaced by
    // the empty table; the warning goes out only when an old file was actually deleted.
    void Load(Table table, const std::function<void(const QString &)> &warn);
    void Save(Table table) const;

private:
    QString m_folder;
    std::unique_ptr<TVXConfigTable> m_tables[4];
};
