// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Viewsource.h"

#include "parsing/Globals.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "view/Viewicons.h"

#include <QSet>

#include <limits>
#include <memory>

namespace {

// At most max rows of the statement, read as they come: a root walk stops at its limit
// without the engine sorting or counting the rest.
QList<QVariantList> Read(TVXDataAccessInterface *db, const TVXCondition &statement,
                         int max = std::numeric_limits<int>::max())
{
    QList<QVariantList> rows;
    std::unique_ptr<TVXDataset> dataset(db->GetBoundQuery(nullptr, statement, false));
    for (; dataset && !dataset->Eof() && rows.size() < max; dataset->Next()) {
        QVariantList row;
        for (int i = 0; i < dataset->FieldCount(); ++i)
            row << dataset->Value(i);
        rows << row;
    }
    return rows;
}

TVXCondition Bound(const QString &text, const QVariantList &values)
{
    return TVXCondition(text, values);
}

// " AND (" + condition + ")", or nothing.
TVXCondition AndWithin(const TVXCondition &condition)
{
    if (condition.IsEmpty())
        return {};
    return QStringLiteral(" AND (") + condition + QStringLiteral(")");
}

QString Trimmed(const QVariant &value)
{
    return value.toString().trimmed();
}

const QString NotLoaded = QStringLiteral(" [called source not loaded]");

} // namespace

const QStringList &TVXViewSource::LevelNames()
{
    static const QStringList names{QStringLiteral("System"),      QStringLiteral("Computer"),
                                   QStringLiteral("Application"), QStringLiteral("Package"),
                                   QStringLiteral("Object"),      QStringLiteral("Entry"),
                                   QStringLiteral("Code"),        QStringLiteral("Data")};
    return names;
}

TVXViewSource::Level TVXViewSource::LevelOf(const QString &name)
{
    const qsizetype at = LevelNames().indexOf(name);
    return at < 0 ? Level::System : Level(at);
}

TVXViewSource::TVXViewSource(TVXDataAccessInterface *db)
    : m_db(db)
    , m_files(db->GetTable(QStringLiteral("VXFILE")))
{}

bool TVXViewSource::HoldsFiles()
{
    return !Read(m_db, TVXCondition(QStringLiteral("SELECT VXFileID FROM VXFILE")), 1).isEmpty();
}

QString TVXViewSource::FileName(int file)
{
    if (const auto known = m_fileNames.constFind(file); known != m_fileNames.cend())
        return *known;
    const QString name = Trimmed(Read(m_db,
                                      Bound(QStringLiteral("SELECT VXFileName FROM VXFILE WHERE "
                                                           "VXFileID = ?"),
                                            {file}),
                                      1)
                                         .value(0)
                                         .value(0));
    m_fileNames.insert(file, name);
    return name;
}

QString TVXViewSource::EntryName(int file, int object, int entry)
{
    return Trimmed(Read(m_db,
                        Bound(QStringLiteral("SELECT VXEntryName FROM VXENTRY WHERE VXFileID = ? "
                                             "AND VXObjectID = ? AND VXEntryID = ?"),
                              {file, object, entry}),
                        1)
                           .value(0)
                           .value(0));
}

QList<TVXViewSource::ObjectRow> TVXViewSource::Objects(const TVXCondition &condition, int limit)
{
    // Objects of no known kind are not shown; an object whose file row is gone neither.
    const TVXCondition statement
            = QStringLiteral("SELECT VXFileID, VXObjectID, VXObjectName, VXObjectType, VXIcon "
                             "FROM VXOBJECT WHERE VXObjectID > 0 AND VXIcon <> -1 AND EXISTS "
                             "(SELECT 1 FROM VXFILE f WHERE f.VXFileID = VXOBJECT.VXFileID)")
              + AndWithin(condition) + QStringLiteral(" ORDER BY VXFileID, VXObjectID");
    QList<ObjectRow> objects;
    for (const QVariantList &row : Read(m_db, statement, limit))
        objects.append(
                {row[0].toInt(), row[1].toInt(), Trimmed(row[2]), Trimmed(row[3]), row[4].toInt()});
    return objects;
}

std::optional<TVXViewSource::ObjectRow> TVXViewSource::Object(int file, int object)
{
    const QList<ObjectRow> found
            = Objects(Bound(QStringLiteral("VXFileID = ? AND VXObjectID = ?"), {file, object}), 1);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QString TVXViewSource::ObjectLabel(const ObjectRow &object)
{
    if (object.Icon == VXViewIcon::NestedObject)
        return object.Name + QStringLiteral(" in ") + FileName(object.File);
    return object.Name;
}

TVXViewNode TVXViewSource::ObjectNode(const ObjectRow &object, bool topDown)
{
    QString caption = ObjectLabel(object);
    if (!object.Type.isEmpty())
        caption += QStringLiteral(" [") + object.Type + QLatin1Char(']');
    return TVXViewNode::Of(TVXItem(object.File, 0, 0, 0, 0, object.Object, 0, 0, 0), caption,
                           VXViewIcon::ForObject(object.Icon, topDown), object.Type);
}

TVXViewNode TVXViewSource::EntryNode(int file, int object, int entry, const QString &label,
                                     bool topDown)
{
    return TVXViewNode::Of(TVXItem(file, 0, 0, 0, 0, object, entry, 0, 0), label,
                           topDown ? VXViewIcon::Entry : VXViewIcon::EntryUp);
}

TVXViewSource::Roots TVXViewSource::RootItems(Level level, bool topDown, bool distribution,
                                              int limit, const TVXRootFilter &filter)
{
    Roots roots;
    bool reached = false;
    switch (level) {
    case Level::System:
    case Level::Computer:
    case Level::Application:
        roots.Nodes = GroupingRoots(int(level) + 1, topDown, limit, filter.Attributes, reached);
        break;
    case Level::Package:
        roots.Nodes = PackageRoots(topDown, limit, filter.Packages, reached);
        break;
    case Level::Object:
        for (const ObjectRow &object : Objects(filter.Objects, limit))
            roots.Nodes << ObjectNode(object, topDown);
        reached = roots.Nodes.size() >= limit;
        break;
    case Level::Entry:
        roots.Nodes = EntryRoots(topDown, limit, filter, reached);
        break;
    case Level::Code:
        // By use, lines are reached through their entries.
        roots.Nodes = distribution ? CodeRoots(limit, filter, reached)
                                   : EntryRoots(topDown, limit, filter, reached);
        break;
    case Level::Data:
        roots.Nodes = DataRoots(limit, filter, reached);
        break;
    }
    roots.LimitReached = reached;
    return roots;
}

QList<TVXViewNode> TVXViewSource::GroupingRoots(int type, bool topDown, int limit,
                                                const TVXCondition &filter, bool &limitReached)
{
    static const char *const keys[] = {"VXSystemID", "VXComputerID", "VXApplicationID"};
    TVXCondition kind = Bound(QStringLiteral("VXAttributeType = ?"), {type});
    // Common sources stand for the computers and applications a load did not name.
    if (type == VXAttributeType::Application)
        kind = Bound(QStringLiteral("(VXAttributeType = ? OR VXIcon = ?)"),
                     {type, VXViewIcon::CommonSource});
    const TVXCondition statement = QStringLiteral("SELECT VXAttributeID, VXAttributeType, "
                                                  "VXAttributeName, VXIcon FROM VXATTRIBUTE WHERE ")
                                   + kind + AndWithin(filter)
                                   + QStringLiteral(" ORDER BY VXAttributeID");
    QList<TVXViewNode> nodes;
    for (const QVariantList &row : Read(m_db, statement)) {
        if (nodes.size() >= limit) {
            limitReached = true;
            break;
        }
        const int id = row[0].toInt();
        const int rowType = row[1].toInt();
        const int as = type == VXAttributeType::Application && rowType != type
                               ? VXAttributeType::Computer
                               : type;
        // A plain statement, read to its end, rather than a cursor on VXFILE: a cursor left
        // open holds the engine's read snapshot, and the View would not see later loads.
        if (Read(m_db,
                 Bound(QStringLiteral("SELECT VXFileID FROM VXFILE WHERE ")
                               + QLatin1String(keys[as - 1]) + QStringLiteral(" = ?"),
                       {id}),
                 1)
                    .isEmpty())
            continue;
        TVXItem item;
        (as == VXAttributeType::System     ? item.SystemID
         : as == VXAttributeType::Computer ? item.ComputerID
                                           : item.ApplicationID)
                = id;
        Q_UNUSED(topDown);
        nodes << TVXViewNode::Of(item, Trimmed(row[2]), row[3].toInt());
    }
    limitReached = limitReached || nodes.size() >= limit;
    return nodes;
}

QList<TVXViewNode> TVXViewSource::PackageRoots(bool topDown, int limit, const TVXCondition &filter,
                                               bool &limitReached)
{
    const TVXCondition statement
            = QStringLiteral("SELECT VXFileID, VXPackageID, VXPackageName FROM VXPACKAGE WHERE "
                             "VXPackageID > 0 AND EXISTS (SELECT 1 FROM VXFILE f WHERE "
                             "f.VXFileID = VXPACKAGE.VXFileID)")
              + AndWithin(filter) + QStringLiteral(" ORDER BY VXFileID, VXPackageID");
    QList<TVXViewNode> nodes;
    QSet<QPair<int, int>> seen;
    std::unique_ptr<TVXDataset> rows(m_db->GetBoundQuery(nullptr, statement, false));
    for (; rows && !rows->Eof(); rows->Next()) {
        const QPair<int, int> key{rows->Value(0).toInt(), rows->Value(1).toInt()};
        if (seen.contains(key))
            continue;
        if (nodes.size() >= limit) {
            limitReached = true;
            break;
        }
        seen.insert(key);
        nodes << TVXViewNode::Of(TVXItem(key.first, 0, 0, 0, key.second, 0, 0, 0, 0),
                                 Trimmed(rows->Value(2)),
                                 topDown ? VXViewIcon::Package : VXViewIcon::PackageUp);
    }
    limitReached = limitReached || nodes.size() >= limit;
    return nodes;
}

QList<TVXViewNode> TVXViewSource::RowsOfObjects(const TVXRootFilter &filter, int limit,
                                                bool &limitReached, const TStatement &statement,
                                                const TMakeNode &makeNode)
{
    // The objects are read a page at a time in key order, so that a walk that reaches its
    // limit in the first programs does not read every object of the repository.
    constexpr int Page = 200;
    QList<TVXViewNode> nodes;
    int lastFile = 0;
    int lastObject = 0;
    for (;;) {
        TVXCondition after = Bound(QStringLiteral("(VXFileID > ? OR (VXFileID = ? AND "
                                                  "VXObjectID > ?))"),
                                   {lastFile, lastFile, lastObject});
        if (!filter.Objects.IsEmpty())
            after = QStringLiteral("(") + filter.Objects + QStringLiteral(") AND ") + after;
        const QList<ObjectRow> page = Objects(after, Page);
        for (const ObjectRow &object : page) {
            for (const QVariantList &row :
                 Read(m_db, statement(object), limit - int(nodes.size()) + 1)) {
                if (nodes.size() >= limit) {
                    limitReached = true;
                    return nodes;
                }
                nodes << makeNode(object, row);
            }
            if (nodes.size() >= limit) {
                limitReached = true;
                return nodes;
            }
        }
        if (page.size() < Page)
            break;
        lastFile = page.last().File;
        lastObject = page.last().Object;
    }
    return nodes;
}

QList<TVXViewNode> TVXViewSource::EntryRoots(bool topDown, int limit, const TVXRootFilter &filter,
                                             bool &limitReached)
{
    return RowsOfObjects(
            filter, limit, limitReached,
            [&](const ObjectRow &object) {
                return Bound(QStringLiteral("SELECT VXEntryID, VXEntryName FROM VXENTRY WHERE "
                                            "VXFileID = ? AND VXObjectID = ? AND VXEntryID > 0"),
                             {object.File, object.Object})
                       + AndWithin(filter.Entries) + QStringLiteral(" ORDER BY VXEntryID");
            },
            [&](const ObjectRow &object, const QVariantList &row) {
                return EntryNode(object.File, object.Object, row[0].toInt(),
                                 Trimmed(row[1]) + QStringLiteral(" [") + ObjectLabel(object)
                                         + QLatin1Char(']'),
                                 topDown);
            });
}

QList<TVXViewNode> TVXViewSource::CodeRoots(int limit, const TVXRootFilter &filter,
                                            bool &limitReached)
{
    return RowsOfObjects(
            filter, limit, limitReached,
            [&](const ObjectRow &object) {
                return Bound(QStringLiteral("SELECT VXEntryID, VXRowID, VXRow FROM VXROW WHERE "
                                            "VXFileID = ? AND VXObjectID = ?"),
                             {object.File, object.Object})
                       + AndWithin(filter.Rows) + QStringLiteral(" ORDER BY VXEntryID, VXRowID");
            },
            [&](const ObjectRow &object, const QVariantList &row) {
                return TVXViewNode::Of(TVXItem(object.File, 0, 0, 0, 0, object.Object,
                                               row[0].toInt(), row[1].toInt(), 0),
                                       Trimmed(row[2]) + QStringLiteral(" [") + ObjectLabel(object)
                                               + QLatin1Char(']'),
                                       VXViewIcon::Row);
            });
}

QList<TVXViewNode> TVXViewSource::DataRoots(int limit, const TVXRootFilter &filter,
                                            bool &limitReached)
{
    return RowsOfObjects(
            filter, limit, limitReached,
            [&](const ObjectRow &object) {
                return Bound(QStringLiteral("SELECT VXEntryID, VXRowID, VXWordID, VXWord, "
                                            "VXObjectIdentifier FROM VXWORD WHERE VXFileID = ? "
                                            "AND VXObjectID = ? AND VXWordType = ?"),
                             {object.File, object.Object, VXWordType::DeclarationName})
                       + AndWithin(filter.Words)
                       + QStringLiteral(" ORDER BY VXEntryID, VXRowID, VXWordID");
            },
            [&](const ObjectRow &object, const QVariantList &row) {
                // Tables and data windows hold what the application keeps: shown green.
                const int icon
                        = object.Icon == VXViewIcon::Table || object.Icon == VXViewIcon::DataWindow
                                  ? VXViewIcon::PersistentVariable
                                  : VXViewIcon::Variable;
                const int entry = row[0].toInt();
                QString caption = QLatin1Char(' ') + Trimmed(row[3]) + QStringLiteral(" as ")
                                  + Trimmed(row[4]) + QStringLiteral(" [") + ObjectLabel(object);
                if (entry > 0)
                    caption += QLatin1Char('.') + EntryName(object.File, object.Object, entry);
                caption += QLatin1Char(']');
                return TVXViewNode::Of(TVXItem(object.File, 0, 0, 0, 0, object.Object, entry,
                                               row[1].toInt(), row[2].toInt()),
                                       caption, icon);
            });
}

QList<TVXViewNode> TVXViewSource::Children(const TVXViewNode &node, bool topDown, bool distribution,
                                           bool sequential)
{
    TVXItem item;
    if (!node.StructuralItem(item))
        return {};
    // By use, a variable leads to the variables its values flow to or from.
    if (!distribution && node.Has == TVXViewNode::Carries::DataItem)
        return GetDataFlow(item.FileID, node.DataItem.Text1, topDown);
    if (!distribution && item.ItemKind() == TVXItem::Kind::Word)
        return GetDataFlow(item.FileID, WordText(item), topDown);
    if (!distribution)
        return Dependencies(item, topDown, sequential);
    return topDown ? Contents(item) : Containers(item);
}

TVXCondition TVXViewSource::GroupFiles(const TVXItem &item) const
{
    switch (item.ItemKind()) {
    case TVXItem::Kind::System:
        return Bound(QStringLiteral("VXSystemID = ?"), {item.SystemID});
    case TVXItem::Kind::Computer:
        return Bound(QStringLiteral("VXComputerID = ?"), {item.ComputerID});
    case TVXItem::Kind::Application:
        return Bound(QStringLiteral("VXApplicationID = ?"), {item.ApplicationID});
    default:
        return {};
    }
}

// Distribution TopDown: system > files > objects > entries > rows > words.
QList<TVXViewNode> TVXViewSource::Contents(const TVXItem &item)
{
    QList<TVXViewNode> nodes;
    switch (item.ItemKind()) {
    case TVXItem::Kind::System:
    case TVXItem::Kind::Computer:
    case TVXItem::Kind::Application:
        for (const QVariantList &row :
             Read(m_db, QStringLiteral("SELECT VXFileID, VXFileName FROM VXFILE WHERE ")
                                + GroupFiles(item) + QStringLiteral(" ORDER BY VXFileName"))) {
            m_fileNames.insert(row[0].toInt(), Trimmed(row[1]));
            nodes << TVXViewNode::Of(TVXItem(row[0].toInt(), 0, 0, 0, 0, 0, 0, 0, 0),
                                     Trimmed(row[1]), VXViewIcon::File);
        }
        break;
    case TVXItem::Kind::File:
        for (const ObjectRow &object : Objects(Bound(QStringLiteral("VXFileID = ?"), {item.FileID}),
                                               std::numeric_limits<int>::max()))
            nodes << ObjectNode(object, true);
        break;
    case TVXItem::Kind::Package:
        for (const QVariantList &row :
             Read(m_db, Bound(QStringLiteral("SELECT VXObjectName, VXObjectFileID, VXObjectID FROM "
                                             "VXPACKAGE WHERE VXFileID = ? AND VXPackageID = ? "
                                             "ORDER BY VXContentCounter"),
                              {item.FileID, item.PackageID}))) {
            const std::optional<ObjectRow> member
                    = row[1].toInt() > 0 ? Object(row[1].toInt(), row[2].toInt()) : std::nullopt;
            if (member)
                nodes << ObjectNode(*member, true);
            else
                nodes << TVXViewNode::Status(Trimmed(row[0])
                                             + QStringLiteral(" [source not "
                                                              "loaded]"));
        }
        break;
    case TVXItem::Kind::Object: {
        const QList<QVariantList> inherits = Read(
                m_db,
                Bound(QStringLiteral("SELECT VXObjectInherits FROM VXOBJECT WHERE VXFileID = ? "
                                     "AND VXObjectID = ?"),
                      {item.FileID, item.ObjectID}),
                1);
        for (const QVariantList &row :
             Read(m_db, Bound(QStringLiteral("SELECT VXEntryID, VXEntryName FROM VXENTRY WHERE "
                                             "VXFileID = ? AND VXObjectID = ? AND VXEntryID > 0 "
                                             "ORDER BY VXEntryID"),
                              {item.FileID, item.ObjectID})))
            nodes << EntryNode(item.FileID, item.ObjectID, row[0].toInt(), Trimmed(row[1]), true);
        const QString parent = inherits.isEmpty() ? QString() : Trimmed(inherits[0][0]);
        if (!parent.isEmpty()) {
            const QList<ObjectRow> found
                    = Objects(TVXCondition::Equals(QStringLiteral("UPPER(VXObjectIdentifier)"),
                                                   parent.toUpper()),
                              1);
            if (found.isEmpty()) {
                nodes << TVXViewNode::Status(QStringLiteral("--- Inherited source [") + parent
                                             + QStringLiteral("] is missing ---"));
            } else {
                TVXViewNode heading = ObjectNode(found.first(), true);
                heading.Caption = QStringLiteral("--- Inherited source [") + parent
                                  + QStringLiteral("] ---");
                nodes << heading;
            }
        }
        break;
    }
    case TVXItem::Kind::Entry:
        for (const QVariantList &row :
             Read(m_db, Bound(QStringLiteral("SELECT VXRowID, VXRow FROM VXROW WHERE VXFileID = ? "
                                             "AND VXObjectID = ? AND VXEntryID = ? ORDER BY "
                                             "VXRowID"),
                              {item.FileID, item.ObjectID, item.EntryID})))
            nodes << TVXViewNode::Of(TVXItem(item.FileID, 0, 0, 0, 0, item.ObjectID, item.EntryID,
                                             row[0].toInt(), 0),
                                     Trimmed(row[1]), VXViewIcon::Row);
        break;
    case TVXItem::Kind::Row:
        for (const QVariantList &row :
             Read(m_db, Bound(QStringLiteral("SELECT VXWordID, VXWord, VXObjectIdentifier FROM "
                                             "VXWORD WHERE VXFileID = ? AND VXObjectID = ? AND "
                                             "VXEntryID = ? AND VXRowID = ? ORDER BY VXWordID"),
                              {item.FileID, item.ObjectID, item.EntryID, item.RowID}))) {
            const QString identifier = Trimmed(row[2]);
            QString caption = Trimmed(row[1]);
            if (!identifier.isEmpty() && identifier != caption && identifier != QLatin1String("?"))
                caption += QStringLiteral(" as ") + identifier;
            TVXViewNode word = TVXViewNode::Of(TVXItem(item.FileID, 0, 0, 0, 0, item.ObjectID,
                                                       item.EntryID, item.RowID, row[0].toInt()),
                                               caption, VXViewIcon::Word);
            word.CanExpand = false;
            nodes << word;
        }
        break;
    case TVXItem::Kind::Word:
    case TVXItem::Kind::Unsupported:
        break;
    }
    return nodes;
}

// Distribution BottomUp: what holds the item, one level up.
QList<TVXViewNode> TVXViewSource::Containers(const TVXItem &item)
{
    QList<TVXViewNode> nodes;
    switch (item.ItemKind()) {
    case TVXItem::Kind::Word:
    case TVXItem::Kind::Row: {
        const bool word = item.ItemKind() == TVXItem::Kind::Word;
        if (word) {
            for (const QVariantList &row :
                 Read(m_db,
                      Bound(QStringLiteral("SELECT VXRow FROM VXROW WHERE VXFileID = ? AND "
                                           "VXObjectID = ? AND VXEntryID = ? AND VXRowID = ?"),
                            {item.FileID, item.ObjectID, item.EntryID, item.RowID}),
                      1))
                nodes << TVXViewNode::Of(TVXItem(item.FileID, 0, 0, 0, 0, item.ObjectID,
                                                 item.EntryID, item.RowID, 0),
                                         Trimmed(row[0]), VXViewIcon::Row + 1);
            break;
        }
        if (item.EntryID > 0) {
            nodes << EntryNode(item.FileID, item.ObjectID, item.EntryID,
                               EntryName(item.FileID, item.ObjectID, item.EntryID), false);
            break;
        }
        [[fallthrough]];
    }
    case TVXItem::Kind::Entry:
        if (const std::optional<ObjectRow> object = Object(item.FileID, item.ObjectID))
            nodes << ObjectNode(*object, false);
        break;
    case TVXItem::Kind::Object:
    case TVXItem::Kind::Package:
        nodes << TVXViewNode::Of(TVXItem(item.FileID, 0, 0, 0, 0, 0, 0, 0, 0),
                                 FileName(item.FileID), VXViewIcon::File + 1);
        break;
    case TVXItem::Kind::File:
        for (const QVariantList &row :
             Read(m_db,
                  Bound(QStringLiteral("SELECT a.VXAttributeID, a.VXAttributeType, "
                                       "a.VXAttributeName, a.VXIcon FROM VXATTRIBUTE a WHERE "
                                       "a.VXAttributeID IN (SELECT VXSystemID FROM VXFILE WHERE "
                                       "VXFileID = ? UNION SELECT VXComputerID FROM VXFILE WHERE "
                                       "VXFileID = ? UNION SELECT VXApplicationID FROM VXFILE "
                                       "WHERE VXFileID = ?) ORDER BY a.VXAttributeType"),
                        {item.FileID, item.FileID, item.FileID}))) {
            TVXItem grouping;
            const int type = row[1].toInt();
            (type == VXAttributeType::System     ? grouping.SystemID
             : type == VXAttributeType::Computer ? grouping.ComputerID
                                                 : grouping.ApplicationID)
                    = row[0].toInt();
            TVXViewNode node = TVXViewNode::Of(grouping, Trimmed(row[2]), row[3].toInt());
            node.CanExpand = false;
            nodes << node;
        }
        break;
    case TVXItem::Kind::System:
    case TVXItem::Kind::Computer:
    case TVXItem::Kind::Application:
    case TVXItem::Kind::Unsupported:
        break;
    }
    return nodes;
}

QList<TVXViewSource::DependencyRow> TVXViewSource::GetDependencies(const TVXCondition &condition)
{
    QList<DependencyRow> rows;
    for (const QVariantList &row :
         Read(m_db, QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, "
                                   "VXInheritsFileID, VXInheritsObjectID, VXFromFileID, "
                                   "VXFromObjectID, VXFromEntryID, VXFromRowID, VXFromWordID FROM "
                                   "VXDEPENDENCIES WHERE ")
                            + condition
                            + QStringLiteral(" ORDER BY VXFromFileID, VXFromObjectID, "
                                             "VXFromEntryID, VXFromRowID, VXFromWordID")))
        rows.append({row[0].toInt(), row[1].toInt(), row[2].toInt(), row[3].toInt(), row[4].toInt(),
                     row[5].toInt(), row[6].toInt(), row[7].toInt(), row[8].toInt(), row[9].toInt(),
                     row[10].toInt(), row[11].toInt()});
    return rows;
}

// Dependencies: TopDown what the item calls or uses, BottomUp what calls or uses it. A
// target reached several times is shown once, with the reason of its first link.
QList<TVXViewNode> TVXViewSource::Dependencies(const TVXItem &item, bool topDown, bool sequential)
{
    TVXCondition condition;
    const QString from = topDown ? QStringLiteral("VXFrom") : QStringLiteral("VX");
    switch (item.ItemKind()) {
    case TVXItem::Kind::System:
    case TVXItem::Kind::Computer:
    case TVXItem::Kind::Application: {
        // Only the links that leave the group.
        const TVXCondition group = GroupFiles(item);
        const QString inside
                = topDown ? QStringLiteral("VXFromFileID") : QStringLiteral("VXFileID");
        const QString outside
                = topDown ? QStringLiteral("VXFileID") : QStringLiteral("VXFromFileID");
        condition = inside + QStringLiteral(" IN (SELECT VXFileID FROM VXFILE WHERE ") + group
                    + QStringLiteral(") AND ") + outside
                    + QStringLiteral(" NOT IN (SELECT VXFileID FROM VXFILE WHERE ") + group
                    + QStringLiteral(")");
        break;
    }
    case TVXItem::Kind::Package:
        condition = QStringLiteral("EXISTS (SELECT 1 FROM VXPACKAGE p WHERE p.VXObjectFileID = ")
                    + from + QStringLiteral("FileID AND p.VXObjectID = ") + from
                    + QStringLiteral("ObjectID AND ")
                    + Bound(QStringLiteral("p.VXFileID = ? AND p.VXPackageID = ?)"),
                            {item.FileID, item.PackageID});
        break;
    case TVXItem::Kind::File:
        condition = Bound(from + QStringLiteral("FileID = ?"), {item.FileID});
        break;
    case TVXItem::Kind::Object:
        condition = Bound(from + QStringLiteral("FileID = ? AND ") + from
                                  + QStringLiteral("ObjectID = ?"),
                          {item.FileID, item.ObjectID});
        break;
    case TVXItem::Kind::Entry:
    case TVXItem::Kind::Row:
    case TVXItem::Kind::Word:
        condition = Bound(from + QStringLiteral("FileID = ? AND ") + from
                                  + QStringLiteral("ObjectID = ? AND ") + from
                                  + QStringLiteral("EntryID = ?"),
                          {item.FileID, item.ObjectID, item.EntryID});
        // A line calls what its own words call; what is called reaches entries only.
        if (topDown && item.RowID > 0)
            condition = condition + Bound(QStringLiteral(" AND VXFromRowID = ?"), {item.RowID});
        break;
    case TVXItem::Kind::Unsupported:
        return {};
    }
    QList<TVXViewNode> nodes;
    QSet<QString> shown;
    for (const DependencyRow &row : GetDependencies(condition)) {
        const int file = topDown ? row.File : row.FromFile;
        const int object = topDown ? row.Object : row.FromObject;
        const int entry = topDown ? row.Entry : row.FromEntry;
        const QString key = QStringLiteral("%1:%2:%3").arg(file).arg(object).arg(entry);
        if (!sequential && shown.contains(key))
            continue;
        shown.insert(key);
        const std::optional<ObjectRow> target = Object(file, object);
        TVXViewNode node;
        if (!target) {
            node = TVXViewNode::Of(TVXItem(file, 0, 0, 0, 0, object, entry, 0, 0),
                                   QStringLiteral("%1:%2").arg(file).arg(object) + NotLoaded,
                                   VXViewIcon::ForObject(VXViewIcon::Program, topDown));
            node.CanExpand = false;
        } else if (entry > 0) {
            node = EntryNode(file, object, entry,
                             EntryName(file, object, entry) + QStringLiteral(" [")
                                     + ObjectLabel(*target) + QLatin1Char(']'),
                             topDown);
        } else {
            node = ObjectNode(*target, topDown);
        }
        const QString side = topDown ? QStringLiteral("call]") : QStringLiteral("caller]");
        if (row.InheritsFile < 0 || row.InheritsObject < 0) {
            node.Caption += QStringLiteral(" [Parser unshure, therefore possible ") + side;
        } else if (row.InheritsFile > 0) {
            const std::optional<ObjectRow> parent = Object(row.InheritsFile, row.InheritsObject);
            node.Caption += QStringLiteral(" [Inherited from ")
                            + (parent ? parent->Name : FileName(row.InheritsFile))
                            + QStringLiteral(", therefore possible ") + side;
        }
        nodes << node;
    }
    return nodes;
}

QString TVXViewSource::WordText(const TVXItem &item)
{
    return Trimmed(Read(m_db,
                        Bound(QStringLiteral("SELECT VXWord FROM VXWORD WHERE VXFileID = ? AND "
                                             "VXObjectID = ? AND VXEntryID = ? AND VXRowID = ? "
                                             "AND VXWordID = ?"),
                              {item.FileID, item.ObjectID, item.EntryID, item.RowID, item.WordID}),
                        1)
                           .value(0)
                           .value(0));
}

QList<TVXViewNode> TVXViewSource::GetDataFlow(int file, const QString &variable, bool topDown)
{
    if (variable.isEmpty())
        return {};
    // A variable of a copy member moves in the programs that copy it: the files where the
    // name is used are searched too, through the word index.
    QList<int> files{file};
    for (const QVariantList &row :
         Read(m_db,
              Bound(QStringLiteral("SELECT DISTINCT VXFileID FROM VXWORD WHERE UPPER(VXWord) = ? "
                                   "AND VXWordType = ?"),
                    {variable.toUpper(), VXWordType::VariableReference}),
              MaximumFlowFiles))
        if (!files.contains(row[0].toInt()))
            files << row[0].toInt();
    // The link joins two words of one file; "known" is the side named by the variable.
    const QString known = topDown ? QStringLiteral("From") : QString();
    const QString other = topDown ? QString() : QStringLiteral("From");
    const QString sql
            = QStringLiteral("SELECT o.VXWord, o.VXObjectID, o.VXEntryID, o.VXRowID, o.VXWordID, "
                             "r.VXRow, o.VXFileID FROM VXDATAFLOW d JOIN VXWORD k ON k.VXFileID = "
                             "d.VX%1FileID AND k.VXRowID = d.VX%1RowID AND k.VXWordID = "
                             "d.VX%1WordID JOIN VXWORD o ON o.VXFileID = d.VX%2FileID AND "
                             "o.VXRowID = d.VX%2RowID AND o.VXWordID = d.VX%2WordID LEFT JOIN "
                             "VXROW r ON r.VXFileID = o.VXFileID AND r.VXObjectID = o.VXObjectID "
                             "AND r.VXEntryID = o.VXEntryID AND r.VXRowID = o.VXRowID WHERE "
                             "d.VX%1FileID = ? AND UPPER(k.VXWord) = ? ORDER BY o.VXRowID, "
                             "o.VXWordID")
                      .arg(known, other);
    QList<TVXViewNode> nodes;
    QSet<QString> shown;
    for (const int inFile : std::as_const(files))
        for (const QVariantList &row : Read(m_db, Bound(sql, {inFile, variable.toUpper()}))) {
            const QString word = Trimmed(row[0]);
            const QString line = Trimmed(row[5]);
            const QString key = word + QLatin1Char('\n') + line;
            if (shown.contains(key))
                continue;
            shown.insert(key);
            TVXViewNode node;
            node.Caption = word + QStringLiteral(" [") + line + QLatin1Char(']');
            node.Icon = topDown ? VXViewIcon::Variable : VXViewIcon::Variable + 1;
            node.Has = TVXViewNode::Carries::DataItem;
            node.DataItem = TVXDataItem(word, line, 0, 0, 0, row[6].toInt(), row[1].toInt(),
                                        row[2].toInt(), row[3].toInt(), row[4].toInt(), 0);
            node.CanExpand = true;
            nodes << node;
        }
    return nodes;
}

namespace {

int GroupingID(const TVXItem &item)
{
    switch (item.ItemKind()) {
    case TVXItem::Kind::System:
        return item.SystemID;
    case TVXItem::Kind::Computer:
        return item.ComputerID;
    case TVXItem::Kind::Application:
        return item.ApplicationID;
    default:
        return 0;
    }
}

} // namespace

QString TVXViewSource::NameOf(const TVXItem &item)
{
    if (const int grouping = GroupingID(item))
        return Trimmed(Read(m_db,
                            Bound(QStringLiteral("SELECT VXAttributeName FROM VXATTRIBUTE WHERE "
                                                 "VXAttributeID = ?"),
                                  {grouping}),
                            1)
                               .value(0)
                               .value(0));
    switch (item.ItemKind()) {
    case TVXItem::Kind::Word:
        return WordText(item);
    case TVXItem::Kind::Row:
        return Trimmed(
                Read(m_db,
                     Bound(QStringLiteral("SELECT VXRow FROM VXROW WHERE VXFileID = ? AND "
                                          "VXObjectID = ? AND VXEntryID = ? AND VXRowID = ?"),
                           {item.FileID, item.ObjectID, item.EntryID, item.RowID}),
                     1)
                        .value(0)
                        .value(0));
    case TVXItem::Kind::Entry:
        return EntryName(item.FileID, item.ObjectID, item.EntryID);
    case TVXItem::Kind::Object:
        if (const std::optional<ObjectRow> object = Object(item.FileID, item.ObjectID))
            return object->Name;
        return {};
    case TVXItem::Kind::Package:
        return Trimmed(Read(m_db,
                            Bound(QStringLiteral("SELECT VXPackageName FROM VXPACKAGE WHERE "
                                                 "VXFileID = ? AND VXPackageID = ?"),
                                  {item.FileID, item.PackageID}),
                            1)
                               .value(0)
                               .value(0));
    case TVXItem::Kind::File:
        return FileName(item.FileID);
    default:
        return {};
    }
}

bool TVXViewSource::RenameGrouping(const TVXItem &item, const QString &name)
{
    const int grouping = GroupingID(item);
    const int attributes = m_db->GetTable(QStringLiteral("VXATTRIBUTE"));
    if (!grouping
        || !m_db->SelectBoundBegin(attributes,
                                   Bound(QStringLiteral("VXAttributeID = ?"), {grouping})))
        return false;
    m_db->SetFieldValue(attributes, m_db->GetField(attributes, QStringLiteral("VXAttributeName")),
                        name);
    m_db->Commit(false, false);
    return true;
}

QStringList TVXViewSource::DependentRows(const TVXItem &item)
{
    QStringList rows;
    TVXCondition condition;
    switch (item.ItemKind()) {
    case TVXItem::Kind::Object:
        condition = Bound(QStringLiteral("VXFileID = ? AND VXObjectID = ?"),
                          {item.FileID, item.ObjectID});
        break;
    case TVXItem::Kind::Entry:
    case TVXItem::Kind::Row:
    case TVXItem::Kind::Word:
        condition = Bound(QStringLiteral("VXFileID = ? AND VXObjectID = ? AND VXEntryID = ?"),
                          {item.FileID, item.ObjectID, item.EntryID});
        break;
    case TVXItem::Kind::File:
        condition = Bound(QStringLiteral("VXFileID = ?"), {item.FileID});
        break;
    default:
        return rows;
    }
    for (const DependencyRow &link : GetDependencies(condition)) {
        const QString line = Trimmed(
                Read(m_db,
                     Bound(QStringLiteral("SELECT VXRow FROM VXROW WHERE VXFileID = ? AND "
                                          "VXObjectID = ? AND VXEntryID = ? AND VXRowID = ?"),
                           {link.FromFile, link.FromObject, link.FromEntry, link.FromRow}),
                     1)
                        .value(0)
                        .value(0));
        const std::optional<ObjectRow> object = Object(link.FromFile, link.FromObject);
        QString where = object ? ObjectLabel(*object) : FileName(link.FromFile);
        if (link.FromEntry > 0)
            where += QLatin1Char('.') + EntryName(link.FromFile, link.FromObject, link.FromEntry);
        rows << line + QStringLiteral(" [") + where + QLatin1Char(']');
    }
    rows.removeDuplicates();
    return rows;
}

int TVXViewSource::LanguageOf(int fileID)
{
    return Read(m_db,
                Bound(QStringLiteral("SELECT VXLanguageID FROM VXFILE WHERE VXFileID = ?"),
                      {fileID}),
                1)
            .value(0)
            .value(0)
            .toInt();
}

TVXRootFilter TVXViewSource::FilterFor(const TVXItem &item, Level &level)
{
    TVXRootFilter filter;
    switch (item.ItemKind()) {
    case TVXItem::Kind::System:
        level = Level::System;
        filter.Attributes = Bound(QStringLiteral("VXAttributeID = ?"), {item.SystemID});
        break;
    case TVXItem::Kind::Computer:
        level = Level::Computer;
        filter.Attributes = Bound(QStringLiteral("VXAttributeID = ?"), {item.ComputerID});
        break;
    case TVXItem::Kind::Application:
        level = Level::Application;
        filter.Attributes = Bound(QStringLiteral("VXAttributeID = ?"), {item.ApplicationID});
        break;
    case TVXItem::Kind::Package:
        level = Level::Package;
        filter.Packages = Bound(QStringLiteral("VXFileID = ? AND VXPackageID = ?"),
                                {item.FileID, item.PackageID});
        break;
    case TVXItem::Kind::File:
        level = Level::Object;
        filter.Objects = Bound(QStringLiteral("VXFileID = ?"), {item.FileID});
        break;
    case TVXItem::Kind::Object:
        level = Level::Object;
        filter.Objects = Bound(QStringLiteral("VXFileID = ? AND VXObjectID = ?"),
                               {item.FileID, item.ObjectID});
        break;
    case TVXItem::Kind::Entry:
        level = Level::Entry;
        filter.Objects = Bound(QStringLiteral("VXFileID = ? AND VXObjectID = ?"),
                               {item.FileID, item.ObjectID});
        filter.Entries = Bound(QStringLiteral("VXEntryID = ?"), {item.EntryID});
        break;
    case TVXItem::Kind::Row:
        level = Level::Code;
        filter.Objects = Bound(QStringLiteral("VXFileID = ? AND VXObjectID = ?"),
                               {item.FileID, item.ObjectID});
        filter.Rows = Bound(QStringLiteral("VXEntryID = ? AND VXRowID = ?"),
                            {item.EntryID, item.RowID});
        filter.Entries = Bound(QStringLiteral("VXEntryID = ?"), {item.EntryID});
        break;
    case TVXItem::Kind::Word:
        level = Level::Data;
        filter.Objects = Bound(QStringLiteral("VXFileID = ? AND VXObjectID = ?"),
                               {item.FileID, item.ObjectID});
        filter.Words
                = Bound(QStringLiteral("VXRowID = ? AND VXWordID = ?"), {item.RowID, item.WordID});
        break;
    case TVXItem::Kind::Unsupported:
        break;
    }
    return filter;
}

bool TVXViewSource::DeleteGrouping(const TVXItem &item)
{
    const char *column = nullptr;
    int id = 0;
    switch (item.ItemKind()) {
    case TVXItem::Kind::System:
        column = "VXSystemID";
        id = item.SystemID;
        break;
    case TVXItem::Kind::Computer:
        column = "VXComputerID";
        id = item.ComputerID;
        break;
    case TVXItem::Kind::Application:
        column = "VXApplicationID";
        id = item.ApplicationID;
        break;
    default:
        return false;
    }
    const int attributes = m_db->GetTable(QStringLiteral("VXATTRIBUTE"));
    m_db->Delete(attributes, QStringLiteral("VXAttributeID = ") + QString::number(id), false);
    const int field = m_db->GetField(m_files, QLatin1String(column));
    const QList<QVariantList> carriers
            = Read(m_db, Bound(QStringLiteral("SELECT VXFileID FROM VXFILE WHERE ")
                                       + QLatin1String(column) + QStringLiteral(" = ?"),
                               {id}));
    for (const QVariantList &file : carriers)
        if (m_db->SelectBoundBegin(m_files, Bound(QStringLiteral("VXFileID = ?"), {file[0]})))
            m_db->SetFieldValue(m_files, field, 0);
    m_db->Commit(false, false);
    return true;
}
