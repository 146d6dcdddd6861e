// SPDX-License-Identifier: GPL-3.0-or-later
// What a View shows, read from the repository: the root items of a View By level and the
// children of a node, by containment or by use, in either direction. It holds the table
// and field handles of one connection and builds every condition the View runs; the
// window and its tree model only ask it for nodes.
#pragma once

#include "repository/Condition.h"
#include "view/Viewnode.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class TVXDataAccessInterface;

// What the root items are restricted to, per repository table; an empty condition
// restricts nothing.
struct TVXRootFilter
{
    TVXCondition Attributes; // VXATTRIBUTE
    TVXCondition Packages;   // VXPACKAGE
    TVXCondition Objects;    // VXOBJECT
    TVXCondition Entries;    // VXENTRY
    TVXCondition Rows;       // VXROW
    TVXCondition Words;      // VXWORD
    bool IsEmpty() const
    {
        return Attributes.IsEmpty() && Packages.IsEmpty() && Objects.IsEmpty() && Entries.IsEmpty()
               && Rows.IsEmpty() && Words.IsEmpty();
    }
};

class TVXViewSource
{
public:
    enum class Level { System, Computer, Application, Package, Object, Entry, Code, Data };
    // The files searched for the data flow of one variable, at most.
    static constexpr int MaximumFlowFiles = 200;
    // "System", "Computer", ..., "Data", in the order of the View By list.
    static const QStringList &LevelNames();
    static Level LevelOf(const QString &name);

    // The handles are taken once, here.
    explicit TVXViewSource(TVXDataAccessInterface *db);

    struct Roots
    {
        QList<TVXViewNode> Nodes;
        bool LimitReached = false;
    };
    // Whether any file is loaded.
    bool HoldsFiles();
    Roots RootItems(Level level, bool topDown, bool distribution, int limit,
                    const TVXRootFilter &filter);
    // Sequentially, the calls of a node are listed in the order they run, one node per
    // call; otherwise each target once.
    QList<TVXViewNode> Children(const TVXViewNode &node, bool topDown, bool distribution,
                                bool sequential = false);

    // The language of a file, 0 when it is gone.
    int LanguageOf(int fileID);
    // The filter that shows the item alone, and the level it is shown at.
    TVXRootFilter FilterFor(const TVXItem &item, Level &level);
    // The name an item is known by, and the file it lies in.
    QString NameOf(const TVXItem &item);
    QString FileName(int file);
    // Renames a system, computer or application; false for another item.
    bool RenameGrouping(const TVXItem &item, const QString &name);
    // The lines that call or use the item, each with where it stands.
    QStringList DependentRows(const TVXItem &item);
    // Removes a system, computer or application and its assignments; false for another item.
    bool DeleteGrouping(const TVXItem &item);

private:
    struct ObjectRow
    {
        int File = 0;
        int Object = 0;
        QString Name;
        QString Type;
        int Icon = 0;
    };
    struct DependencyRow
    {
        int File, Object, Entry, Row, Word, InheritsFile, InheritsObject;
        int FromFile, FromObject, FromEntry, FromRow, FromWord;
    };

    QList<ObjectRow> Objects(const TVXCondition &condition, int limit);
    // Object name, followed by " in " + file name for a nested object.
    QString ObjectLabel(const ObjectRow &object);
    TVXViewNode ObjectNode(const ObjectRow &object, bool topDown);
    TVXViewNode EntryNode(int file, int object, int entry, const QString &name, bool topDown);
    std::optional<ObjectRow> Object(int file, int object);
    QString EntryName(int file, int object, int entry);

    QList<TVXViewNode> GroupingRoots(int type, bool topDown, int limit, const TVXCondition &filter,
                                     bool &limitReached);
    QList<TVXViewNode> PackageRoots(bool topDown, int limit, const TVXCondition &filter,
                                    bool &limitReached);
    // The root nodes that a statement per object gives, up to the limit.
    using TStatement = std::function<TVXCondition(const ObjectRow &)>;
    using TMakeNode = std::function<TVXViewNode(const ObjectRow &, const QVariantList &)>;
    QList<TVXViewNode> RowsOfObjects(const TVXRootFilter &filter, int limit, bool &limitReached,
                                     const TStatement &statement, const TMakeNode &makeNode);
    QList<TVXViewNode> EntryRoots(bool topDown, int limit, const TVXRootFilter &filter,
                                  bool &limitReached);
    QList<TVXViewNode> CodeRoots(int limit, const TVXRootFilter &filter, bool &limitReached);
    QList<TVXViewNode> DataRoots(int limit, const TVXRootFilter &filter, bool &limitReached);

    QList<TVXViewNode> Contents(const TVXItem &item);
    QList<TVXViewNode> Containers(const TVXItem &item);
    QList<TVXViewNode> Dependencies(const TVXItem &item, bool topDown, bool sequential = false);
    QList<DependencyRow> GetDependencies(const TVXCondition &condition);
    // Where the variable's values go (TopDown) or come from (BottomUp) within its file, with
    // the line that moves them.
    QList<TVXViewNode> GetDataFlow(int file, const QString &variable, bool topDown);
    QString WordText(const TVXItem &item);
    // The condition on VXFILE of the files a grouping item gathers.
    TVXCondition GroupFiles(const TVXItem &item) const;

    TVXDataAccessInterface *m_db;
    int m_files = 0;
    QHash<int, QString> m_fileNames;
};
