// SPDX-License-Identifier: GPL-3.0-or-later
// The rules a line runs under, as a tree: the conditions, branches and loops around it in
// its entry, outermost first, then the statements that call the entry, each of which opens
// to the rules around that call and its own callers, as far up as the user follows.
#pragma once

#include "base/Export.h"
#include "base/Item.h"

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class TVXDataAccessInterface;

class VXCORE_EXPORT TVXRulesForRow : public QWidget
{
    Q_OBJECT
public:
    // The connection must outlive the window: the owner that holds it also owns the window.
    TVXRulesForRow(QWidget *owner, const TVXItem &item, TVXDataAccessInterface *db);

    QTreeWidget *tvRulesForRow = nullptr;

    // The rules of the node's item, added under the node.
    void ShowRules(QTreeWidgetItem *node);
    // The callers of the node's item's entry, added under the node as "Call from" nodes.
    void ShowCallingEntrys(QTreeWidgetItem *node);
    // A "Call from" node fills on its first expansion.
    void NodeExpanded(QTreeWidgetItem *node);

    static TVXItem ItemOf(const QTreeWidgetItem *node);

private:
    TVXItem m_item;
    TVXDataAccessInterface *m_db;
};
