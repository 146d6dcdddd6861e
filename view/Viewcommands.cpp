// SPDX-License-Identifier: GPL-3.0-or-later
// The View's commands on the selected nodes, its tracks and its Edit menu.
#include "base/Exception.h"

#include "formpreview/Formshow.h"
#include "query/Rowsaround.h"
#include "query/Rulesforrow.h"
#include "shell/Basefunctionsinterface.h"
#include "shell/Finddialog.h"
#include "view/Changeselection.h"
#include "view/Dependentrows.h"
#include "view/Itemproperties.h"
#include "view/Tracks.h"
#include "view/View.h"
#include "view/Viewdocument.h"
#include "view/Viewtreemodel.h"
#include "view/Waitcursor.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

void TVXView::PopUpActivated()
{
    const QModelIndexList selected = SelectedItems();
    TVXItem item;
    const bool one = SelectedItem(item);
    const TVXItem::Kind kind = item.ItemKind();
    const bool grouping = kind == TVXItem::Kind::System || kind == TVXItem::Kind::Computer
                          || kind == TVXItem::Kind::Application;
    auto enable = [this](const char *caption, bool on) {
        if (QAction *action = m_commands.value(QLatin1String(caption)))
            action->setEnabled(on && !m_onlyStatus);
    };
    enable("New View", one);
    enable("Editor", one && item.FileID > 0);
    enable("FormViewer", one && kind == TVXItem::Kind::Object);
    enable("New Query", !selected.isEmpty());
    enable("Show Dependent Rows", one);
    enable("Show Rows Around", one && item.RowID > 0);
    enable("Show Rules for Row", one && item.RowID > 0);
    enable("Change Selected Items", true);
    enable("Item Properties...", one);
    enable("Count Selected Items", !m_tree->selectionModel()->selectedIndexes().isEmpty());
    enable("Add to WorkList", !selected.isEmpty());
    enable("Add to WorkList as...", !selected.isEmpty());
    enable("Add Track to Diagram", !selected.isEmpty());
    enable("Expand All", !selected.isEmpty());
    enable("Expand All within Object", one && item.ObjectID > 0);
    enable("Expand All within Package", one && kind == TVXItem::Kind::Package);
    enable("Delete this Item", one && grouping);
}

void TVXView::ShowInNewView()
{
    TVXItem item;
    if (!SelectedItem(item))
        return;
    TVXItemSender sender(item);
    Hand(QStringLiteral("View"), &sender,
         (Distribution() ? QStringLiteral("Distribution") : QStringLiteral("Dependencies"))
                 + (TopDown() ? QStringLiteral("TopDown") : QStringLiteral("BottomUp")));
}

void TVXView::ShowInEditor()
{
    TVXItem item;
    if (!SelectedItem(item) || item.FileID <= 0 || !m_source)
        return;
    TVXItemSender sender(item);
    Hand(QStringLiteral("EditorController"), &sender,
         QString::number(m_source->LanguageOf(item.FileID)));
}

TVXFormShow *TVXView::ShowInFormViewer()
{
    TVXItem item;
    QModelIndex index;
    if (!SelectedItem(item, &index) || !m_connection)
        return nullptr;
    try {
        TVXWaitCursor wait;
        auto *form = new TVXFormShow(this, m_connection.get(), item);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->move(pos() + QPoint(100, 100));
        form->setWindowTitle(m_model->Node(index)->Caption);
        form->show();
        return form;
    } catch (const std::exception &e) {
        ShowError(VXMessage(e));
        return nullptr;
    }
}

QList<QModelIndex> TVXView::AllNodes() const
{
    QList<QModelIndex> all;
    std::function<void(const QModelIndex &)> walk = [&](const QModelIndex &parent) {
        for (int row = 0; row < m_model->rowCount(parent); ++row) {
            all << m_model->index(row, 0, parent);
            walk(all.last());
        }
    };
    walk(QModelIndex());
    return all;
}

void TVXView::ClearTracks()
{
    m_tracks.clear();
    for (QAction *action : m_tracksMenu->actions())
        if (action->objectName().startsWith(QLatin1String("Track")))
            m_tracksMenu->removeAction(action);
}

void TVXView::AppendTrack(const TVXViewDocument::Track &track)
{
    m_tracks << track;
    const QString name = QStringLiteral("Track") + QString::number(m_tracks.size());
    QAction *item = m_tracksMenu->addAction(name);
    item->setObjectName(name);
    item->setStatusTip(track.Name);
    item->setToolTip(track.Name);
    const int number = int(m_tracks.size()) - 1;
    connect(item, &QAction::triggered, this, [this, number] { SelectTrack(number); });
}

QWidget *TVXView::ShowForRow(RowWindow kind)
{
    TVXItem item;
    if (!SelectedItem(item) || item.RowID <= 0 || !m_connection)
        return nullptr;
    QWidget *window = nullptr;
    try {
        // Owned by the View, whose connection they read through.
        if (kind == RowWindow::RowsAround)
            window = new TVXRowsAround(this, item, m_connection.get());
        else
            window = new TVXRulesForRow(this, item, m_connection.get());
        window->show();
    } catch (const std::exception &e) {
        delete window;
        window = nullptr;
        if (BaseFunctions)
            BaseFunctions->ShowMessage(TVXMessageKind::Error, VXMessage(e));
    }
    return window;
}

TVXTracks *TVXView::ShowTracks()
{
    QStringList names;
    for (const TVXViewDocument::Track &track : std::as_const(m_tracks))
        names << track.Name;
    auto *dialog = new TVXTracks(this, names, [this](int number) {
        QList<TVXViewDocument::Track> kept = m_tracks;
        if (number >= 0 && number < kept.size())
            kept.removeAt(number);
        ClearTracks();
        for (const TVXViewDocument::Track &track : std::as_const(kept))
            AppendTrack(track);
    });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

void TVXView::AutoCompleteTrack()
{
    // A track runs from a root item down to the node chosen: the nodes above it join the
    // selection, so that Add Track records the whole path of calls.
    for (const QModelIndex &index : SelectedItems())
        for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
            m_tree->selectionModel()->select(above, QItemSelectionModel::Select);
}

void TVXView::AddTrack()
{
    const QModelIndexList selected = SelectedItems();
    if (selected.isEmpty())
        return;
    auto cut = [](const QString &caption) {
        const qsizetype bracket = caption.indexOf(QLatin1Char('['));
        return (bracket < 0 ? caption : caption.left(bracket)).trimmed();
    };
    TVXViewDocument::Track track;
    track.Name = cut(m_model->Node(selected.first())->Caption) + QStringLiteral(" - ")
                 + cut(m_model->Node(selected.last())->Caption);
    const QList<QModelIndex> all = AllNodes();
    for (const QModelIndex &index : selected) {
        TVXItem item;
        m_model->Node(index)->StructuralItem(item);
        track.Elements << QString::number(all.indexOf(index)) + QLatin1Char(':') + item.GetItemID();
    }
    AppendTrack(track);
}

void TVXView::SelectTrack(int number)
{
    if (number < 0 || number >= m_tracks.size())
        return;
    const QList<QModelIndex> all = AllNodes();
    m_tree->clearSelection();
    for (const QString &element : std::as_const(m_tracks[number].Elements)) {
        const int at = element.section(QLatin1Char(':'), 0, 0).toInt();
        if (at >= 0 && at < all.size())
            m_tree->selectionModel()->select(all[at], QItemSelectionModel::Select);
    }
}

TVXFilter *TVXView::SetRootItemFilter()
{
    auto *dialog = new TVXFilter(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->InitFilter(m_viewBy->currentText());
    dialog->SetRows(m_filterRows, m_filterCaseSensitive);
    dialog->Say = [this](const QString &text) {
        if (BaseFunctions)
            BaseFunctions->ShowMessage(TVXMessageKind::Warning, text);
    };
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        if (dialog->State() == TVXFilter::Result::None)
            return;
        const bool cleared = dialog->State() == TVXFilter::Result::Cleared;
        m_filterRows = cleared ? QList<TVXFilter::Row>() : dialog->Rows();
        m_filterCaseSensitive = dialog->CaseSensitive();
        m_filter = TVXFilter::Conditions(m_filterRows, m_filterCaseSensitive);
        {
            const QSignalBlocker block(m_filterOnButton);
            (cleared ? m_filterOff : m_filterOnButton)->setChecked(true);
        }
        m_filterOn = !cleared;
        RefreshCurrentView();
    });
    dialog->show();
    return dialog;
}

TVXDependentRows *TVXView::ShowDependentRows()
{
    TVXItem item;
    if (!SelectedItem(item) || !m_source)
        return nullptr;
    try {
        TVXWaitCursor wait;
        auto *dialog = new TVXDependentRows(this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        for (const QString &row : m_source->DependentRows(item))
            dialog->AddRow(row);
        dialog->show();
        return dialog;
    } catch (const std::exception &e) {
        ShowError(VXMessage(e));
        return nullptr;
    }
}

TVXChangeSelection *TVXView::ShowChangeSelection()
{
    auto *dialog = new TVXChangeSelection(
            this, [this](const QString &text, bool select) { ChangeSelection(text, select); });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

void TVXView::ChangeSelection(const QString &text, bool select)
{
    std::function<void(const QModelIndex &)> walk = [&](const QModelIndex &parent) {
        for (int row = 0; row < m_model->rowCount(parent); ++row) {
            const QModelIndex index = m_model->index(row, 0, parent);
            if (m_model->Node(index)->Caption.startsWith(text))
                m_tree->selectionModel()->select(index, select ? QItemSelectionModel::Select
                                                               : QItemSelectionModel::Deselect);
            walk(index);
        }
    };
    walk(QModelIndex());
}

TVXItemProperties *TVXView::ShowItemProperties()
{
    TVXItem item;
    QModelIndex index;
    if (!SelectedItem(item, &index) || !m_source)
        return nullptr;
    auto *dialog = new TVXItemProperties(
            this, item, *m_source, m_model->Node(index)->Icon, [this](const QString &text) {
                if (BaseFunctions)
                    BaseFunctions->ShowMessage(TVXMessageKind::Warning, text);
            });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // A saved name shows at the next Refresh.
    connect(dialog, &QDialog::accepted, this, [this] { RefreshCurrentView(); });
    dialog->show();
    return dialog;
}

void TVXView::CountSelectedItems()
{
    if (BaseFunctions)
        BaseFunctions->ShowMessage(
                TVXMessageKind::Information,
                QString::number(m_tree->selectionModel()->selectedIndexes().size())
                        + QStringLiteral(" Items is selected"));
}

TVXItems TVXView::Selection() const
{
    TVXItems items;
    for (const QModelIndex &index : SelectedItems()) {
        const TVXViewNode *node = m_model->Node(index);
        TVXItem item;
        node->StructuralItem(item);
        items.AddItem(item);
        items.AddLevel(m_model->Level(index));
        items.AddText(node->Caption);
        const TVXViewNode *parent = m_model->Node(index.parent());
        items.AddParentText(parent ? parent->Caption : QString());
        TVXItem parentItem;
        items.AddParentFileID(parent && parent->StructuralItem(parentItem) ? parentItem.FileID : 0);
        items.AddIcon(node->Icon);
    }
    return items;
}

void TVXView::AddToWorkList(bool as)
{
    TVXItemsSender sender(Selection());
    if (sender.Items.Count() > 0)
        Hand(QStringLiteral("WorkList"), &sender,
             as ? QStringLiteral("AddToWorkListAs") : QStringLiteral("AddToWorkList"));
}

void TVXView::AddTrackToDiagram()
{
    TVXItemsSender sender(Selection());
    if (sender.Items.Count() > 0)
        Hand(QStringLiteral("Diagram"), &sender, QStringLiteral("AddTrack"));
}

void TVXView::ExpandBelow(const QModelIndex &index, const TVXItem &within, ExpandScope scope,
                          int &budget)
{
    if (budget <= 0 || m_model->IsRecursion(index))
        return;
    const TVXViewNode *node = m_model->Node(index);
    TVXItem item;
    if (!node || !node->StructuralItem(item))
        return;
    if (scope == ExpandScope::WithinObject
        && (item.FileID != within.FileID || item.ObjectID != within.ObjectID))
        return;
    --budget;
    m_tree->expand(index);
    if (m_model->canFetchMore(index))
        m_model->fetchMore(index);
    for (int row = 0; row < m_model->rowCount(index); ++row)
        ExpandBelow(m_model->index(row, 0, index), within, scope, budget);
}

void TVXView::ExpandAll(ExpandScope scope)
{
    TVXWaitCursor wait;
    // Beyond this many nodes a call tree of a whole portfolio would take the window away
    // for minutes; the user is told and can expand further by hand.
    int budget = 5000;
    for (const QModelIndex &index : SelectedItems()) {
        TVXItem within;
        m_model->Node(index)->StructuralItem(within);
        ExpandBelow(index, within, scope, budget);
    }
    if (budget <= 0 && BaseFunctions)
        BaseFunctions->ShowMessage(TVXMessageKind::Information,
                                   QStringLiteral("Expand All stopped after 5000 nodes."));
}

void TVXView::DeleteThisItem()
{
    TVXItem item;
    if (!SelectedItem(item) || !m_source)
        return;
    try {
        if (!m_source->DeleteGrouping(item)) {
            if (BaseFunctions)
                BaseFunctions->ShowMessage(TVXMessageKind::Information,
                                           QStringLiteral("Delete not possible"));
            return;
        }
    } catch (const std::exception &e) {
        ShowError(VXMessage(e));
        return;
    }
    RefreshCurrentView();
}

QStringList TVXView::VisibleCaptions() const
{
    QStringList captions;
    for (QModelIndex index = m_model->index(0, 0); index.isValid();
         index = m_tree->indexBelow(index))
        captions << QString(4 * (m_model->Level(index) + 1), QLatin1Char(' '))
                            + m_model->Node(index)->Caption;
    return captions;
}

void TVXView::Copy1Click()
{
    QStringList lines;
    QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    SortInTreeOrder(selected);
    for (const QModelIndex &index : std::as_const(selected))
        lines << QString(4 * (m_model->Level(index) + 1), QLatin1Char(' '))
                         + m_model->Node(index)->Caption;
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void TVXView::SelectAll1Click()
{
    const QModelIndex first = m_model->index(0, 0);
    if (!first.isValid())
        return;
    QModelIndex last = first;
    for (QModelIndex next = m_tree->indexBelow(last); next.isValid();
         next = m_tree->indexBelow(next))
        last = next;
    QItemSelection range;
    for (QModelIndex index = first; index.isValid(); index = m_tree->indexBelow(index))
        range.select(index, index);
    m_tree->selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
}

void TVXView::ClearSelection1Click()
{
    m_tree->clearSelection();
}

void TVXView::Find1Click()
{
    // One find dialog per window, kept while it is open so that Find Next goes on from the
    // node found last.
    if (m_findDialog) {
        m_findDialog->raise();
        m_findDialog->activateWindow();
        return;
    }
    auto *dialog = new TVXFindDialog(this, {FindText, FindMatchCase, FindUp},
                                     [this](const TVXFindOptions &options) {
                                         FindText = options.Text;
                                         FindMatchCase = options.MatchCase;
                                         FindUp = options.Up;
                                         FindDialog1Find();
                                     });
    m_findDialog = dialog;
    dialog->show();
}

void TVXView::FindDialog1Find()
{
    if (FindText.isEmpty())
        return;
    QModelIndexList visible;
    for (QModelIndex index = m_model->index(0, 0); index.isValid();
         index = m_tree->indexBelow(index))
        visible << index;
    const qsizetype at = m_lastFound.isValid() ? visible.indexOf(m_lastFound) : -1;
    const Qt::CaseSensitivity cs = FindMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const qsizetype count = visible.size();
    for (qsizetype step = 1; step <= count; ++step) {
        const qsizetype i
                = FindUp ? (at < 0 ? count - step : at - step) : (at < 0 ? step - 1 : at + step);
        if (i < 0 || i >= count)
            break;
        if (m_model->Node(visible[i])->Caption.contains(FindText, cs)) {
            m_lastFound = visible[i];
            m_tree->selectionModel()->select(visible[i], QItemSelectionModel::ClearAndSelect);
            m_tree->scrollTo(visible[i]);
            return;
        }
    }
    if (BaseFunctions)
        BaseFunctions->ShowMessage(TVXMessageKind::Information, QStringLiteral("Cannot find \"")
                                                                        + FindText
                                                                        + QStringLiteral("\""));
}
