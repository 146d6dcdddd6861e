// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Rulesforrow.h"

#include "query/Rulefinder.h"
#include "repository/Rulequeries.h"
#include "repository/Searchqueries.h"

#include <QBoxLayout>
#include <QTreeWidget>

namespace {

constexpr int ItemRole = Qt::UserRole;
// Marks the child that makes a "Call from" node expandable before it is filled.
constexpr int PlaceholderRole = Qt::UserRole + 1;
const QString Indent = QStringLiteral("    ");
const QString NothingAbove = QStringLiteral("*** No Rules and no Callers ***");

TVXWordPlace PlaceOf(const TVXItem &item)
{
    return {item.FileID, item.ObjectID, item.EntryID, item.RowID};
}

QTreeWidgetItem *AddNode(QTreeWidgetItem *parent, const QString &text, const TVXItem *item)
{
    auto *node = new QTreeWidgetItem(parent, {text});
    if (item)
        node->setData(0, ItemRole, item->GetItemID());
    return node;
}

} // namespace

TVXRulesForRow::TVXRulesForRow(QWidget *owner, const TVXItem &item, TVXDataAccessInterface *db)
    : QWidget(owner, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_item(item)
    , m_db(db)
{
    setWindowTitle(QStringLiteral("Rules for Row"));
    setObjectName(QStringLiteral("TVXRulesForRow"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(697, 477);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tvRulesForRow = new QTreeWidget;
    tvRulesForRow->setObjectName(QStringLiteral("tvRulesForRow"));
    tvRulesForRow->setHeaderHidden(true);
    tvRulesForRow->setIndentation(19);
    tvRulesForRow->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvRulesForRow->setFont(QFont(QStringLiteral("Monospace")));
    layout->addWidget(tvRulesForRow);
    connect(tvRulesForRow, &QTreeWidget::itemExpanded, this, &TVXRulesForRow::NodeExpanded);

    auto *root = new QTreeWidgetItem(tvRulesForRow);
    root->setText(0,
                  QStringLiteral("*** Rules in Entry ")
                          + VXSearchQueries::EntryName(db, item.FileID, item.ObjectID, item.EntryID)
                          + QStringLiteral(" [")
                          + VXSearchQueries::ObjectName(db, item.FileID, item.ObjectID)
                          + QStringLiteral("] ***"));
    root->setData(0, ItemRole, item.GetItemID());
    ShowRules(root);
    ShowCallingEntrys(root);
    root->setExpanded(true);
}

TVXItem TVXRulesForRow::ItemOf(const QTreeWidgetItem *node)
{
    TVXItem item;
    if (node)
        TVXItem::FromItemID(node->data(0, ItemRole).toString(), item);
    return item;
}

void TVXRulesForRow::ShowRules(QTreeWidgetItem *node)
{
    const TVXItem item = ItemOf(node);
    const QList<TVXRule> rules = VXRuleFinder::RulesFor(m_db, PlaceOf(item));
    QString indent;
    for (const TVXRule &rule : rules) {
        const TVXItem ruleItem(item.FileID, 0, 0, 0, 0, item.ObjectID, item.EntryID, rule.Word.Row,
                               rule.Word.Word);
        for (qsizetype line = 0; line < rule.Lines.size(); ++line)
            AddNode(node, indent + rule.Lines[line], line == 0 ? &ruleItem : nullptr);
        indent += Indent;
    }
}

void TVXRulesForRow::ShowCallingEntrys(QTreeWidgetItem *node)
{
    const TVXItem item = ItemOf(node);
    for (const TVXCallerWord &caller : VXRuleQueries::CallersOf(m_db, PlaceOf(item))) {
        const TVXItem from(caller.File, 0, 0, 0, 0, caller.Object, caller.Entry, caller.Row,
                           caller.Word);
        QTreeWidgetItem *call = AddNode(
                node,
                QStringLiteral("Call from ")
                        + VXSearchQueries::EntryName(m_db, caller.File, caller.Object, caller.Entry)
                        + QStringLiteral(" [")
                        + VXSearchQueries::ObjectName(m_db, caller.File, caller.Object)
                        + QLatin1Char(']'),
                &from);
        QTreeWidgetItem *placeholder = AddNode(call, QStringLiteral("..."), nullptr);
        placeholder->setData(0, PlaceholderRole, true);
    }
}

void TVXRulesForRow::NodeExpanded(QTreeWidgetItem *node)
{
    if (!node || node->childCount() != 1 || !node->child(0)->data(0, PlaceholderRole).toBool())
        return;
    delete node->takeChild(0);
    ShowRules(node);
    ShowCallingEntrys(node);
    // An opened node that stays empty would look as if nothing had happened.
    if (node->childCount() == 0)
        AddNode(node, NothingAbove, nullptr);
}
