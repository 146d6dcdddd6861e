// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Viewtreemodel.h"

#include "base/Exception.h"

#include "view/Viewicons.h"

TVXViewTreeModel::TVXViewTreeModel(QObject *owner)
    : QAbstractItemModel(owner)
{
    m_root.Fetched = true;
}

TVXViewTreeModel::~TVXViewTreeModel() = default;

TVXViewTreeModel::TreeNode *TVXViewTreeModel::NodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<TreeNode *>(index.internalPointer())
                           : const_cast<TreeNode *>(&m_root);
}

void TVXViewTreeModel::Append(TreeNode *parent, const TVXViewNode &node)
{
    auto child = std::make_unique<TreeNode>();
    child->Data = node;
    child->Parent = parent;
    child->Row = int(parent->Children.size());
    parent->Children.push_back(std::move(child));
}

void TVXViewTreeModel::Reset(const QList<TVXViewNode> &roots)
{
    beginResetModel();
    m_root.Children.clear();
    for (const TVXViewNode &node : roots)
        Append(&m_root, node);
    endResetModel();
}

QModelIndex TVXViewTreeModel::AppendChild(const QModelIndex &parent, const TVXViewNode &node)
{
    TreeNode *owner = NodeOf(parent);
    const int row = int(owner->Children.size());
    beginInsertRows(parent, row, row);
    Append(owner, node);
    endInsertRows();
    owner->Fetched = true;
    return index(row, 0, parent);
}

void TVXViewTreeModel::MarkFetched(const QModelIndex &index)
{
    NodeOf(index)->Fetched = true;
}

const TVXViewNode *TVXViewTreeModel::Node(const QModelIndex &index) const
{
    return index.isValid() ? &NodeOf(index)->Data : nullptr;
}

bool TVXViewTreeModel::IsRecursion(const QModelIndex &index) const
{
    const TreeNode *node = NodeOf(index);
    TVXItem item;
    if (!index.isValid() || !node->Data.StructuralItem(item))
        return false;
    // A variable's flow that comes back to a variable already above is not followed again.
    const bool data = node->Data.Has == TVXViewNode::Carries::DataItem;
    for (const TreeNode *above = node->Parent; above && above != &m_root; above = above->Parent) {
        TVXItem other;
        if (above->Data.StructuralItem(other) && other == item)
            return true;
        if (data && above->Data.Has == TVXViewNode::Carries::DataItem
            && above->Data.DataItem.Text1.compare(node->Data.DataItem.Text1, Qt::CaseInsensitive)
                       == 0)
            return true;
    }
    return false;
}

bool TVXViewTreeModel::IsFetched(const QModelIndex &index) const
{
    return NodeOf(index)->Fetched;
}

int TVXViewTreeModel::Level(const QModelIndex &index) const
{
    int level = -1;
    for (const TreeNode *node = NodeOf(index); node && node != &m_root; node = node->Parent)
        ++level;
    return level;
}

QModelIndex TVXViewTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const TreeNode *owner = NodeOf(parent);
    if (column != 0 || row < 0 || row >= int(owner->Children.size()))
        return {};
    return createIndex(row, 0, owner->Children[size_t(row)].get());
}

QModelIndex TVXViewTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    TreeNode *above = NodeOf(child)->Parent;
    if (!above || above == &m_root)
        return {};
    return createIndex(above->Row, 0, above);
}

int TVXViewTreeModel::rowCount(const QModelIndex &parent) const
{
    return int(NodeOf(parent)->Children.size());
}

int TVXViewTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant TVXViewTreeModel::data(const QModelIndex &index, int role) const
{
    const TreeNode *node = NodeOf(index);
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return node->Data.Caption;
    case Qt::DecorationRole:
        if (node->Data.Has == TVXViewNode::Carries::Nothing && node->Data.Icon == 0)
            return {};
        return VXViewIcon::Picture(node->Data.Icon, node->Data.ObjectType);
    default:
        return {};
    }
}

bool TVXViewTreeModel::hasChildren(const QModelIndex &parent) const
{
    const TreeNode *node = NodeOf(parent);
    if (node->Fetched)
        return !node->Children.empty();
    return node->Data.CanExpand && !IsRecursion(parent);
}

bool TVXViewTreeModel::canFetchMore(const QModelIndex &parent) const
{
    const TreeNode *node = NodeOf(parent);
    return parent.isValid() && !node->Fetched && node->Data.CanExpand && !IsRecursion(parent);
}

void TVXViewTreeModel::fetchMore(const QModelIndex &parent)
{
    TreeNode *node = NodeOf(parent);
    if (!canFetchMore(parent) || !m_children)
        return;
    node->Fetched = true;
    QList<TVXViewNode> children;
    try {
        children = m_children(node->Data);
    } catch (const std::exception &e) {
        // A repository that went away or a file removed since: the node says so, the rest
        // of the tree stays usable.
        children = {TVXViewNode::Status(QStringLiteral("*** ") + VXMessage(e)
                                        + QStringLiteral(" ***"))};
    }
    if (children.isEmpty()) {
        // The expander goes away.
        Q_EMIT dataChanged(parent, parent);
        return;
    }
    beginInsertRows(parent, 0, int(children.size()) - 1);
    for (const TVXViewNode &child : std::as_const(children))
        Append(node, child);
    endInsertRows();
}
