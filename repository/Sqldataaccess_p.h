// SPDX-License-Identifier: GPL-3.0-or-later
// What the parts of TVXSqlDataAccess share: table handles by name, and small text helpers.
#pragma once

#include "repository/Schema.h"

#include <QSqlError>
#include <QString>

#include <string_view>

namespace VXSqlAccessDetail {

using VXSchema::TableIndex;
using VXSchema::Tables;

inline QString Text(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

inline const char *const DistinctWords = "VXDISTINCTWORD";
// What a file's parse stores, removed before it is parsed again.
inline const char *const FileContentTables[]
        = {"VXOBJECT", "VXENTRY", "VXROW", "VXWORD", "VXPACKAGE", "VXDATAFLOW"};
inline const int LoadTable = TableIndex(VXSchema::VXLOAD);
inline const int FileTable = TableIndex(VXSchema::VXFILE);
inline const int ObjectTable = TableIndex(VXSchema::VXOBJECT);
inline const int EntryTable = TableIndex(VXSchema::VXENTRY);
inline const int RowTable = TableIndex(VXSchema::VXROW);
inline const int WordTable = TableIndex(VXSchema::VXWORD);
inline const int DependencyTable = TableIndex(VXSchema::VXDEPENDENCIES);
inline const int PackageTable = TableIndex(VXSchema::VXPACKAGE);
inline const int AttributeTable = TableIndex(VXSchema::VXATTRIBUTE);
inline const int DataFlowTable = TableIndex(VXSchema::VXDATAFLOW);

inline bool IsFlagField(const QString &name)
{
    return name.compare(QLatin1String("VXCALL"), Qt::CaseInsensitive) == 0
           || name.compare(QLatin1String("VXINPACKAGE"), Qt::CaseInsensitive) == 0;
}

inline QString StandardOrder(const QString &cursorName, int table)
{
    if (cursorName == QLatin1String("TAB_VXOBJECT2"))
        return Text(VXSchema::StandardOrder(VXSchema::VXOBJECT));
    if (table < 0)
        return {};
    return Text(VXSchema::StandardOrder(Tables[table].Name));
}

inline QString EngineMessage(const QSqlError &error)
{
    QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

} // namespace VXSqlAccessDetail
