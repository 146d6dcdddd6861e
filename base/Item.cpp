// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Item.h"

#include <QStringList>

TVXItem::TVXItem(int fileID, int systemID, int computerID, int applicationID, int packageID,
                 int objectID, int entryID, int rowID, int wordID)
    : FileID(fileID)
    , SystemID(systemID)
    , ComputerID(computerID)
    , ApplicationID(applicationID)
    , PackageID(packageID)
    , ObjectID(objectID)
    , EntryID(entryID)
    , RowID(rowID)
    , WordID(wordID)
{}

TVXItem::Kind TVXItem::ItemKind() const
{
    if (SystemID > 0)
        return Kind::System;
    if (ComputerID > 0)
        return Kind::Computer;
    if (ApplicationID > 0)
        return Kind::Application;
    if (WordID > 0)
        return Kind::Word;
    if (RowID > 0)
        return Kind::Row;
    if (EntryID > 0)
        return Kind::Entry;
    if (ObjectID > 0)
        return Kind::Object;
    if (PackageID > 0)
        return Kind::Package;
    if (FileID > 0)
        return Kind::File;
    return Kind::Unsupported;
}

QString TVXItem::KindName() const
{
    switch (ItemKind()) {
    case Kind::System:
        return QStringLiteral("System");
    case Kind::Computer:
        return QStringLiteral("Computer");
    case Kind::Application:
        return QStringLiteral("Application");
    case Kind::Word:
        return QStringLiteral("Variable");
    case Kind::Row:
        return QStringLiteral("Line of Code");
    case Kind::Entry:
        return QStringLiteral("Entry");
    case Kind::Object:
        return QStringLiteral("Object");
    case Kind::Package:
        return QStringLiteral("Package");
    case Kind::File:
    case Kind::Unsupported:
        break;
    }
    // A file node is shown at file level, but the kinds of the item model stop at packages.
    return QStringLiteral("Unsupported Itemtype");
}

std::array<int, 9> TVXItem::Keys() const
{
    return {FileID,   SystemID, ComputerID, ApplicationID, PackageID,
            ObjectID, EntryID,  RowID,      WordID};
}

QString TVXItem::GetItemID() const
{
    QStringList keys;
    for (const int key : Keys())
        keys << QString::number(key);
    return keys.join(QLatin1Char(':'));
}

bool TVXItem::FromItemID(const QString &text, TVXItem &item)
{
    const QStringList keys = text.split(QLatin1Char(':'));
    if (keys.size() != 9)
        return false;
    std::array<int, 9> values{};
    for (int i = 0; i < 9; ++i) {
        bool ok = false;
        values[size_t(i)] = keys[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    item = TVXItem(values[0], values[1], values[2], values[3], values[4], values[5], values[6],
                   values[7], values[8]);
    return true;
}

TVXDataItem::TVXDataItem(QString text1, QString text2, int value3, int value4, int value5,
                         int fileID, int objectID, int entryID, int rowID, int wordID, int value11)
    : Text1(std::move(text1))
    , Text2(std::move(text2))
    , Value3(value3)
    , Value4(value4)
    , Value5(value5)
    , FileID(fileID)
    , ObjectID(objectID)
    , EntryID(entryID)
    , RowID(rowID)
    , WordID(wordID)
    , Value11(value11)
{}

TVXItem TVXDataItem::ToItem() const
{
    return TVXItem(FileID, 0, 0, 0, 0, ObjectID, EntryID, RowID, WordID);
}

void TVXItems::AddItem(int fileID, int systemID, int computerID, int applicationID, int packageID,
                       int objectID, int entryID, int rowID, int wordID)
{
    m_items.append(TVXItem(fileID, systemID, computerID, applicationID, packageID, objectID,
                           entryID, rowID, wordID));
}
