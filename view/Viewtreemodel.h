// SPDX-License-Identifier: GPL-3.0-or-later
// The View's tree as a Qt model: nodes fetched from the View source when a node first
// opens, never for the whole tree. A node whose item one of its ancestors carries already
// is not opened again, so that a call cycle does not expand for ever.
#pragma once

#include "view/Viewnode.h"

#include <QAbstractItemModel>

#include <functional>
#include <memory>
#include <vector>

class TVXViewTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // Gives the children of a node; may throw, the node then shows the message.
    using TChildren = std::function<QList<TVXViewNode>(const TVXViewNode &)>;

    explicit TVXViewTreeModel(QObject *owner = nullptr);
    ~TVXViewTreeModel() override;

    void SetChildrenSource(TChildren children) { m_children = std::move(children); }
    // Replaces the whole tree by these root nodes.
    void Reset(const QList<TVXViewNode> &roots);
    // Adds children to a node without asking the source (a document being read); marks
    // the node fetched.
    QModelIndex AppendChild(const QModelIndex &parent, const TVXViewNode &node);
    void MarkFetched(const QModelIndex &index);

    const TVXViewNode *Node(const QModelIndex &index) const;
    // Whether an ancestor of the node carries the same item (CheckRecursion).
    bool IsRecursion(const QModelIndex &index) const;
    bool IsFetched(const QModelIndex &index) const;
    int Level(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    struct TreeNode
    {
        TVXViewNode Data;
        TreeNode *Parent = nullptr;
        std::vector<std::unique_ptr<TreeNode>> Children;
        int Row = 0;
        bool Fetched = false;
    };
    TreeNode *NodeOf(const QModelIndex &index) const;
    void Append(TreeNode *parent, const TVXViewNode &node);

    TreeNode m_root;
    TChildren m_children;
};
