// SPDX-License-Identifier: GPL-3.0-or-later
// The View's documents: saving the window's state and reading it back.
#include "base/Exception.h"

#include "formpreview/Formshow.h"
#include "shell/Basefunctionsinterface.h"
#include "view/Changeselection.h"
#include "view/Dependentrows.h"
#include "view/Itemproperties.h"
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
#include <QFileDialog>
#include <QFileInfo>
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

void TVXView::SetOptionsQuietly(bool distribution, bool topDown, const QString &level, bool option)
{
    {
        const QSignalBlocker blocks[]
                = {QSignalBlocker(m_distribution), QSignalBlocker(m_dependencies),
                   QSignalBlocker(m_topDown),      QSignalBlocker(m_bottomUp),
                   QSignalBlocker(m_viewBy),       QSignalBlocker(m_option)};
        SetViewType(distribution);
        SetDirection(topDown);
        SetViewBy(level);
        m_option->setChecked(option);
    }
    SyncMenuItems();
    const QString v = m_viewBy->currentText();
    m_option->setText(v == QLatin1String("Entry") ? QStringLiteral("Show Entrys sequentially")
                                                  : QStringLiteral("Show Objects sequentially"));
    m_option->setVisible(!distribution && topDown
                         && (v == QLatin1String("Entry") || v == QLatin1String("Object")));
    SetUserHint();
}

void TVXView::SaveViewDoc(const QString &file)
{
    TVXWaitCursor wait;
    TVXViewDocument document;
    document.Title = Title;
    document.ComposedBy = ComposedBy;
    document.Comments = Comments;
    document.SourceDatabase = SourceDatabase;
    document.Dependencies = !Distribution();
    document.TopDown = TopDown();
    document.ViewBy = m_viewBy->currentText();
    document.Option = m_option->isChecked();
    document.FilterOn = m_filterOn;
    document.Limit = m_limit->text();
    for (const TVXFilter::Row &row : std::as_const(m_filterRows))
        document.Conditions.append({row.AndPrevious, row.Attribute, row.Operator, row.Value});
    if (!document.Conditions.isEmpty())
        document.Conditions.first().AndPrevious = false;
    document.CaseSensitive = m_filterCaseSensitive;
    document.Tracks = m_tracks;
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    int next = 0;
    std::function<void(const QModelIndex &)> walk = [&](const QModelIndex &parent) {
        for (int row = 0; row < m_model->rowCount(parent); ++row) {
            const QModelIndex index = m_model->index(row, 0, parent);
            document.Nodes.append({!parent.isValid() || m_tree->isExpanded(parent),
                                   m_model->Level(index), *m_model->Node(index)});
            if (selected.contains(index))
                document.Selection << next;
            ++next;
            walk(index);
        }
    };
    walk(QModelIndex());
    document.Save(file);
    setWindowTitle(QStringLiteral("Velunor - ") + Title);
}

void TVXView::OpenViewDoc(const QString &file)
{
    TVXWaitCursor wait;
    const TVXViewDocument document = TVXViewDocument::Open(file);
    Title = document.Title;
    ComposedBy = document.ComposedBy;
    Comments = document.Comments;
    SourceDatabase = document.SourceDatabase;
    SetOptionsQuietly(!document.Dependencies, document.TopDown, document.ViewBy, document.Option);
    m_limit->setText(document.Limit);
    {
        const QSignalBlocker block(m_filterOnButton);
        (document.FilterOn ? m_filterOnButton : m_filterOff)->setChecked(true);
        m_filterOn = document.FilterOn;
    }
    m_filterRows.clear();
    for (const TVXViewDocument::Condition &condition : document.Conditions)
        m_filterRows.append({m_filterRows.isEmpty() || condition.AndPrevious, condition.Attribute,
                             condition.Operator, condition.Value});
    m_filterCaseSensitive = document.CaseSensitive;
    m_filter = TVXFilter::Conditions(m_filterRows, m_filterCaseSensitive);
    TVXFrozen frozen(m_tree);
    m_model->Reset({});
    QList<QPersistentModelIndex> parents;
    QList<QPersistentModelIndex> all;
    QList<QModelIndex> toExpand;
    for (const TVXViewDocument::Node &node : document.Nodes) {
        // A level deeper than one below the last node is read as the deepest it can be.
        const int level = std::min(node.Level, int(parents.size()));
        parents.resize(level);
        const QModelIndex parent = level == 0 ? QModelIndex() : QModelIndex(parents.last());
        const QModelIndex index = m_model->AppendChild(parent, node.Data);
        if (level > 0 && node.ParentExpanded && !toExpand.contains(parent))
            toExpand << parent;
        parents << QPersistentModelIndex(index);
        all << QPersistentModelIndex(index);
    }
    for (const QModelIndex &index : std::as_const(toExpand))
        m_tree->expand(index);
    m_tree->clearSelection();
    for (const int at : document.Selection)
        if (at >= 0 && at < all.size())
            m_tree->selectionModel()->select(all[at], QItemSelectionModel::Select);
    m_onlyStatus = std::none_of(document.Nodes.cbegin(), document.Nodes.cend(),
                                [](const TVXViewDocument::Node &node) {
                                    return node.Data.Has != TVXViewNode::Carries::Nothing;
                                });
    ClearTracks();
    for (const TVXViewDocument::Track &track : document.Tracks)
        AppendTrack(track);
    Document = file;
    setWindowTitle(QStringLiteral("Velunor - ") + Title);
    // Nodes opened later ask the repository of the document.
    ConnectToDB();
}

void TVXView::Save1Click()
{
    if (Document.isEmpty()) {
        SaveAs1Click();
        return;
    }
    try {
        SaveViewDoc(Document);
    } catch (const std::exception &e) {
        ShowError(VXMessage(e));
    }
}

bool TVXView::SaveAs(const QString &file)
{
    if (QFileInfo::exists(file)
        && !(AskUser && AskUser(QStringLiteral("Overwrite existing file?"))))
        return false;
    Title = QFileInfo(file).fileName().section(QLatin1Char('.'), 0, 0);
    setWindowTitle(QStringLiteral("Velunor - ") + Title);
    if (BaseFunctions)
        BaseFunctions->WindowNameChanged(this, Title);
    SaveViewDoc(file);
    Document = file;
    return true;
}

void TVXView::SaveAs1Click()
{
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"),
                                                      Title + QStringLiteral(".vnv"),
                                                      QStringLiteral("Velunor View files (*.vnv)"),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (file.isEmpty())
        return;
    try {
        SaveAs(file.endsWith(QLatin1String(".vnv"), Qt::CaseInsensitive)
                       ? file
                       : file + QStringLiteral(".vnv"));
    } catch (const std::exception &e) {
        ShowError(VXMessage(e));
    }
}
