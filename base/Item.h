// SPDX-License-Identifier: GPL-3.0-or-later
// What a node of a View tree stands for, and the selections that windows hand to each
// other. An item is nine repository keys; which of them are set says what kind of thing it
// is. The query, office and diagram windows take the same lists, so they live here.
#pragma once

#include "base/Export.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

class VXCORE_EXPORT TVXItem
{
public:
    TVXItem() = default;
    TVXItem(int fileID, int systemID, int computerID, int applicationID, int packageID,
            int objectID, int entryID, int rowID, int wordID);

    int FileID = 0;
    int SystemID = 0;
    int ComputerID = 0;
    int ApplicationID = 0;
    int PackageID = 0;
    int ObjectID = 0;
    int EntryID = 0;
    int RowID = 0;
    int WordID = 0;

    enum class Kind {
        System,
        Computer,
        Application,
        Word,
        Row,
        Entry,
        Object,
        Package,
        File,
        Unsupported
    };
    // Grouping keys first: an item with a system and a file is a system.
    Kind ItemKind() const;
    // "Variable", "Line of Code", "Entry", ... as the Item Properties dialog shows it.
    QString KindName() const;
    // The nine keys in decimal, separated by ":" (12:0:0:0:0:3:7:0:0).
    QString GetItemID() const;
    std::array<int, 9> Keys() const;
    // The item that GetItemID wrote; false for text of another shape.
    static bool FromItemID(const QString &text, TVXItem &item);

    bool operator==(const TVXItem &other) const { return Keys() == other.Keys(); }
};

// A node of the data flow: two texts (the word and what it is) and the word's place.
class VXCORE_EXPORT TVXDataItem
{
public:
    TVXDataItem() = default;
    TVXDataItem(QString text1, QString text2, int value3, int value4, int value5, int fileID,
                int objectID, int entryID, int rowID, int wordID, int value11);

    QString Text1;
    QString Text2;
    int Value3 = 0;
    int Value4 = 0;
    int Value5 = 0;
    int FileID = 0;
    int ObjectID = 0;
    int EntryID = 0;
    int RowID = 0;
    int WordID = 0;
    int Value11 = 0;

    // The structural item of the data word: its file, object, entry, row and word.
    TVXItem ToItem() const;
};

// Parallel lists describing a selection; index i of every list is the same node.
class VXCORE_EXPORT TVXItems
{
public:
    void AddItem(int fileID, int systemID, int computerID, int applicationID, int packageID,
                 int objectID, int entryID, int rowID, int wordID);
    void AddItem(const TVXItem &item) { m_items.append(item); }
    void AddLevel(int level) { m_levels.append(level); }
    void AddText(const QString &text) { m_texts.append(text); }
    void AddParentText(const QString &text) { m_parentTexts.append(text); }
    void AddParentFileID(int fileID) { m_parentFileIDs.append(fileID); }
    void AddIcon(int icon) { m_icons.append(icon); }

    int Count() const { return int(m_items.size()); }
    const TVXItem &GetItem(int i) const { return m_items.at(i); }
    int GetLevel(int i) const { return m_levels.at(i); }
    const QString &GetText(int i) const { return m_texts.at(i); }
    const QString &GetParentText(int i) const { return m_parentTexts.at(i); }
    int GetParentFileID(int i) const { return m_parentFileIDs.at(i); }
    int GetIcon(int i) const { return m_icons.at(i); }

private:
    QList<TVXItem> m_items;
    QList<int> m_levels;
    QList<QString> m_texts;
    QList<QString> m_parentTexts;
    QList<int> m_parentFileIDs;
    QList<int> m_icons;
};

// What a window hands to another through NewWindow, whose sender is an object: one item
// (a View opened on it) or a selection (a work list, a diagram). The caller keeps it.
class VXCORE_EXPORT TVXItemSender : public QObject
{
    Q_OBJECT
public:
    explicit TVXItemSender(const TVXItem &item, QObject *owner = nullptr)
        : QObject(owner)
        , Item(item)
    {}
    TVXItem Item;
};

class VXCORE_EXPORT TVXItemsSender : public QObject
{
    Q_OBJECT
public:
    explicit TVXItemsSender(TVXItems items, QObject *owner = nullptr)
        : QObject(owner)
        , Items(std::move(items))
    {}
    TVXItems Items;
};
