// SPDX-License-Identifier: GPL-3.0-or-later
// Names of the repository's ten tables and their columns, in column order.
#pragma once

#include <array>
#include <string_view>

// SQL text spells columns in mixed case (VXFileID); field lists of the data access
// interface upper-case them (VXFILEID). Both name the same column.
namespace VXSchema {

inline constexpr std::string_view VXLOAD = "VXLOAD";
inline constexpr std::string_view VXFILE = "VXFILE";
inline constexpr std::string_view VXOBJECT = "VXOBJECT";
inline constexpr std::string_view VXENTRY = "VXENTRY";
inline constexpr std::string_view VXROW = "VXROW";
inline constexpr std::string_view VXWORD = "VXWORD";
inline constexpr std::string_view VXDEPENDENCIES = "VXDEPENDENCIES";
inline constexpr std::string_view VXPACKAGE = "VXPACKAGE";
inline constexpr std::string_view VXATTRIBUTE = "VXATTRIBUTE";
inline constexpr std::string_view VXDATAFLOW = "VXDATAFLOW";

enum class ColumnType { Integer, SmallInteger, BigInteger, String, FixedString };

struct Column
{
    std::string_view Name;
    ColumnType Type;
    int Size; // characters, for strings
};

struct Table
{
    std::string_view Name;
    const Column *Columns;
    int ColumnCount;
    std::string_view Key; // key columns separated by ";", empty when the table has none
};

// Paths and file names are stored whole: a cut path would make a later load believe the
// file vanished. File times are 64-bit so they survive 2038.
inline constexpr int DirectoryLength = 1024;
inline constexpr int FileNameLength = 255;
inline constexpr int WordLength = 64;
inline constexpr int RowLength = 255;

inline constexpr Column LoadColumns[] = {
        {"VXLoadType", ColumnType::String, 8},
        {"VXLoadFrom", ColumnType::String, DirectoryLength},
        {"VXSystemName", ColumnType::String, 64},
        {"VXComputerType", ColumnType::String, 31},
        {"VXComputerLocation", ColumnType::String, 31},
        {"VXApplicationName", ColumnType::String, 64},
};

inline constexpr Column FileColumns[] = {
        {"VXFileID", ColumnType::Integer, 0},
        {"VXLanguageID", ColumnType::Integer, 0},
        {"VXSystemID", ColumnType::Integer, 0},
        {"VXComputerID", ColumnType::Integer, 0},
        {"VXApplicationID", ColumnType::Integer, 0},
        {"VXDirectory", ColumnType::String, DirectoryLength},
        {"VXFileName", ColumnType::String, FileNameLength},
        {"VXFileTime", ColumnType::BigInteger, 0},
        {"VXFileSize", ColumnType::BigInteger, 0},
        {"VXLoadTime", ColumnType::BigInteger, 0},
        {"VXDependencyChecked", ColumnType::FixedString, 1},
};

inline constexpr Column ObjectColumns[] = {
        {"VXFileID", ColumnType::Integer, 0},
        {"VXObjectID", ColumnType::Integer, 0},
        {"VXLanguageID", ColumnType::Integer, 0},
        {"VXInPackage", ColumnType::SmallInteger, 0},
        {"VXObjectName", ColumnType::String, 64},
        {"VXObjectIdentifier", ColumnType::String, 64},
        {"VXObjectInherits", ColumnType::String, 64},
        {"VXObjectType", ColumnType::String, 64},
        {"VXIcon", ColumnType::Integer, 0},
        {"VXSubObjectParentName", ColumnType::String, 64},
        {"VXInheritsParentName", ColumnType::String, 64},
        {"VXScopeOrNamespace", ColumnType::String, 64},
        {"VXApplicationID", ColumnType::Integer, 0},
        {"VXComputerID", ColumnType::Integer, 0},
        {"VXSystemID", ColumnType::Integer, 0},
};

inline constexpr Column EntryColumns[] = {
        {"VXFileID", ColumnType::Integer, 0},
        {"VXObjectID", ColumnType::Integer, 0},
        {"VXEntryID", ColumnType::Integer, 0},
        {"VXLanguageID", ColumnType::Integer, 0},
        {"VXEntryName", ColumnType::String, 64},
        {"VXObjectIdentifier", ColumnType::String, 64},
        {"VXEntryResultType", ColumnType::String, 64},
        {"VXScope", ColumnType::Integer, 0},
        {"VXParameterTypes", ColumnType::String, 64},
};

inline constexpr Column RowColumns[] = {
        {"VXFileID", ColumnType::Integer, 0},     {"VXObjectID", ColumnType::Integer, 0},
        {"VXEntryID", ColumnType::Integer, 0},    {"VXRowID", ColumnType::Integer, 0},
        {"VXLanguageID", ColumnType::Integer, 0}, {"VXRow", ColumnType::String, RowLength},
        {"VXCall", ColumnType::SmallInteger, 0},
};

inline constexpr Column WordColumns[] = {
        {"VXFileID", ColumnType::Integer, 0},           {"VXObjectID", ColumnType::Integer, 0},
        {"VXEntryID", ColumnType::Integer, 0},          {"VXRowID", ColumnType::Integer, 0},
        {"VXWordID", ColumnType::Integer, 0},           {"VXLanguageID", ColumnType::Integer, 0},
        {"VXSectionType", ColumnType::Integer, 0},      {"VXSectionLevel", ColumnType::Integer, 0},
        {"VXWord", ColumnType::String, WordLength},     {"VXWordType", ColumnType::Integer, 0},
        {"VXObjectIdentifier", ColumnType::String, 64},
};

inline constexpr Column DependencyColumns[] = {
        {"VXFileID", ColumnType::Integer, 0},
        {"VXObjectID", ColumnType::Integer, 0},
        {"VXEntryID", ColumnType::Integer, 0},
        {"VXRowID", ColumnType::Integer, 0},
        {"VXWordID", ColumnType::Integer, 0},
        {"VXInheritsFileID", ColumnType::Integer, 0},
        {"VXInheritsObjectID", ColumnType::Integer, 0},
        {"VXFromFileID", ColumnType::Integer, 0},
        {"VXFromObjectID", ColumnType::Integer, 0},
        {"VXFromEntryID", ColumnType::Integer, 0},
        {"VXFromRowID", ColumnType::Integer, 0},
        {"VXFromWordID", ColumnType::Integer, 0},
};

inline constexpr Column PackageColumns[] = {
        {"VXFileID", ColumnType::Integer, 0},         {"VXPackageID", ColumnType::Integer, 0},
        {"VXContentCounter", ColumnType::Integer, 0}, {"VXPackageName", ColumnType::String, 64},
        {"VXObjectName", ColumnType::String, 64},     {"VXObjectFileID", ColumnType::Integer, 0},
        {"VXObjectID", ColumnType::Integer, 0},
};

inline constexpr Column AttributeColumns[] = {
        {"VXAttributeID", ColumnType::Integer, 0},   {"VXAttributeType", ColumnType::Integer, 0},
        {"VXAttributeName", ColumnType::String, 64}, {"VXIcon", ColumnType::Integer, 0},
        {"VXDescription", ColumnType::String, 255},
};

inline constexpr Column DataFlowColumns[] = {
        {"VXFileID", ColumnType::Integer, 0},    {"VXRowID", ColumnType::Integer, 0},
        {"VXWordID", ColumnType::Integer, 0},    {"VXFromFileID", ColumnType::Integer, 0},
        {"VXFromRowID", ColumnType::Integer, 0}, {"VXFromWordID", ColumnType::Integer, 0},
};

template<std::size_t N>
constexpr Table MakeTable(std::string_view name, const Column (&columns)[N], std::string_view key)
{
    return Table{name, columns, int(N), key};
}

inline constexpr std::array<Table, 10> Tables = {
        MakeTable(VXLOAD, LoadColumns, ""),
        MakeTable(VXFILE, FileColumns, "VXFileID"),
        MakeTable(VXOBJECT, ObjectColumns, "VXFileID;VXObjectID"),
        MakeTable(VXENTRY, EntryColumns, "VXFileID;VXObjectID;VXEntryID"),
        MakeTable(VXROW, RowColumns, "VXFileID;VXObjectID;VXEntryID;VXRowID"),
        MakeTable(VXWORD, WordColumns, "VXFileID;VXObjectID;VXEntryID;VXRowID;VXWordID"),
        MakeTable(VXDEPENDENCIES, DependencyColumns, ""),
        MakeTable(VXPACKAGE, PackageColumns, "VXFileID;VXPackageID;VXContentCounter"),
        MakeTable(VXATTRIBUTE, AttributeColumns, "VXAttributeID"),
        MakeTable(VXDATAFLOW, DataFlowColumns, ""),
};

constexpr int TableIndex(std::string_view name)
{
    for (int i = 0; i < int(Tables.size()); ++i)
        if (Tables[i].Name == name)
            return i;
    return -1;
}

// The reading order a table gets when a condition brings none of its own.
constexpr std::string_view StandardOrder(std::string_view table)
{
    if (table == VXFILE)
        return " ORDER BY VXFileID";
    if (table == VXOBJECT)
        return " ORDER BY VXFileID, VXObjectID";
    if (table == VXENTRY)
        return " ORDER BY VXFileID, VXObjectID, VXEntryID";
    if (table == VXROW)
        return " ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID";
    if (table == VXWORD)
        return " ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID";
    return "";
}

} // namespace VXSchema
