// SPDX-License-Identifier: GPL-3.0-or-later
#include "parsing/Parsedfile.h"

#include "repository/Dataaccessinterface.h"

void TVXParsedFile::Store(TVXDataAccessInterface &db) const
{
    for (const TVXObjectElement &object : Objects)
        db.VXOBJECT_Append(FileID, object.ObjectID, LanguageID, object.InPackage, object.Name,
                           object.Identifier, object.Inherits, object.ObjectType, object.Icon,
                           object.SubObjectParentName, object.InheritsParentName, object.Scope,
                           ApplicationID, ComputerID, SystemID);
    for (const TVXEntryElement &entry : Entries)
        db.VXENTRY_Append(FileID, entry.ObjectID, entry.EntryID, LanguageID, entry.Name,
                          entry.ObjectIdentifier, entry.ResultType, 0, QString());
    for (const TVXPackageElement &package : Packages)
        db.VXPACKAGE_Append(FileID, -1, package.PackageName, package.ObjectName,
                            package.ObjectFileID, package.ObjectID);
    for (const TVXWordElement &word : Words)
        db.VXWORD_Append(FileID, word.ObjectID, word.EntryID, word.RowID, word.WordID, LanguageID,
                         word.SectionType, word.SectionLevel, word.Word, word.WordType,
                         word.ObjectIdentifier);
    for (const TVXRowElement &row : Rows)
        db.VXROW_Append(FileID, row.ObjectID, row.EntryID, row.RowID, LanguageID, row.Row,
                        row.Call);
    for (const TVXDataFlowLink &link : DataFlow)
        db.VXDATAFLOW_Append(FileID, link.RowID, link.WordID, FileID, link.FromRowID,
                             link.FromWordID);
}
