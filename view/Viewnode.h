// SPDX-License-Identifier: GPL-3.0-or-later
// One node of a View tree as the repository gives it: caption, icon and what it stands
// for. Status and heading nodes carry no item.
#pragma once

#include "base/Item.h"

#include <QString>

struct TVXViewNode
{
    enum class Carries { Nothing, Item, DataItem };

    QString Caption;
    int Icon = 0;
    // What a repository object is (VXObjectType): jobs and programs share an icon number
    // but not a picture.
    QString ObjectType;
    Carries Has = Carries::Nothing;
    TVXItem Item;
    TVXDataItem DataItem;
    // False where nothing can lie below (status nodes, the end of a walk).
    bool CanExpand = false;

    static TVXViewNode Status(const QString &caption)
    {
        TVXViewNode node;
        node.Caption = caption;
        return node;
    }
    static TVXViewNode Of(const TVXItem &item, const QString &caption, int icon,
                          const QString &objectType = QString())
    {
        TVXViewNode node;
        node.Caption = caption;
        node.Icon = icon;
        node.ObjectType = objectType;
        node.Has = Carries::Item;
        node.Item = item;
        node.CanExpand = true;
        return node;
    }
    // The structural item of the node, a data item converted; none for status nodes.
    bool StructuralItem(TVXItem &item) const
    {
        if (Has == Carries::Item)
            item = Item;
        else if (Has == Carries::DataItem)
            item = DataItem.ToItem();
        return Has != Carries::Nothing;
    }
};
