// SPDX-License-Identifier: GPL-3.0-or-later
// The explorer over one repository: root items of a View By level, their children by
// containment (Distribution) or by use (Dependencies), TopDown or BottomUp, and the
// commands that hand the selected items to other windows.
#pragma once

#include "repository/Connection.h"
#include "shell/Forminterface.h"
#include "view/Filter.h"
#include "view/Viewdocument.h"
#include "view/Viewsource.h"

#include <QHash>
#include <QModelIndex>
#include <QPointer>

#include <functional>
#include <memory>

class QCheckBox;
class QDialog;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTreeView;
class TVXChangeSelection;
class TVXDependentRows;
class TVXFilter;
class TVXFormShow;
class TVXItemProperties;
class TVXTracks;
class TVXViewTreeModel;

class TVXView : public TVXFormInterface
{
    Q_OBJECT
public:
    TVXView(QWidget *owner, TVXBaseFunctionsInterface *baseFunctions, const QString &document,
            const QString &sourceDatabase, const QString &title);
    ~TVXView() override;

    void ConnectToDB() override;
    void RefreshContent(TVXDataAccessInterface *connection, QObject *sender,
                        const QString &detail) override;
    void SetFont(const QString &fontName, int fontSize) override;
    void Copy1Click() override;
    void SelectAll1Click() override;
    void ClearSelection1Click() override;
    void Find1Click() override;
    void FindDialog1Find() override;
    void Save1Click() override;
    void SaveAs1Click() override;

    // The View document: written from the window's state, read back without asking the
    // repository.
    void SaveViewDoc(const QString &file);
    void OpenViewDoc(const QString &file);
    // The Save As steps after the file dialog: false when an existing file is to be kept.
    bool SaveAs(const QString &file);

    // The option panel, as the menus and documents set it.
    void SetViewType(bool distribution);
    void SetDirection(bool topDown);
    void SetViewBy(const QString &level);
    void SetOption(bool ticked);
    // The root-item limit box is left: false (and the message) for a value below 1.
    bool tbLimitChange();
    void ViewTypeChanged();
    void RefreshCurrentView();
    // Records the selected nodes as a track, listed in the Tracks menu; a track item selects
    // its nodes again.
    void AddTrack();
    // The tracks in folders; deleting one there takes it out of the View.
    TVXTracks *ShowTracks();
    // Selects the nodes between the root items and the selected nodes.
    void AutoCompleteTrack();
    void SelectTrack(int number);
    const QList<TVXViewDocument::Track> &Tracks() const { return m_tracks; }
    // The RootItem Filter dialog on the current rows; applied when it closes.
    TVXFilter *SetRootItemFilter();
    // Opened from another window on an item: that item alone is the root item.
    void ActivateFilter(QObject *sender, const QString &detail);

    // Enables the popup commands for the selection.
    void PopUpActivated();
    // The popup commands.
    void ShowInNewView();
    void ShowInEditor();
    // A window on the selected line: the rows around it, or the rules it runs under.
    enum class RowWindow { RowsAround, RulesForRow };
    QWidget *ShowForRow(RowWindow kind);
    // The screen map of the selected object; none when it cannot be built (the error shown).
    TVXFormShow *ShowInFormViewer();
    void CountSelectedItems();
    // The dialogs on the selection; shown and returned, none without a selected item.
    TVXDependentRows *ShowDependentRows();
    TVXChangeSelection *ShowChangeSelection();
    TVXItemProperties *ShowItemProperties();
    // Every node whose caption begins with the text is selected, or deselected.
    void ChangeSelection(const QString &text, bool select);
    void AddToWorkList(bool as);
    void AddTrackToDiagram();
    enum class ExpandScope { All, WithinObject, WithinPackage };
    void ExpandAll(ExpandScope scope);
    void DeleteThisItem();

    QString UserHint() const;
    QTreeView *Tree() const { return m_tree; }
    TVXViewTreeModel *Model() const { return m_model; }
    QMenu *PopupMenu() const { return m_popup; }
    // The captions of the visible nodes, in tree order, indented by level (Copy).
    QStringList VisibleCaptions() const;
    // Questions to the user (the filter hint); a message box unless replaced.
    std::function<bool(const QString &)> AskUser;
    // The text the find dialog searches for, and its options.
    QString FindText;
    bool FindMatchCase = false;
    bool FindUp = false;

private:
    void BuildPanel();
    void BuildMenus();
    void SyncMenuItems();
    void SetUserHint();
    void ShowStatus(const QStringList &lines);
    void HintAboutFilter(int limit);
    // The selected nodes that carry an item, in tree order.
    QModelIndexList SelectedItems() const;
    static void SortInTreeOrder(QModelIndexList &indexes);
    // The selected nodes as a list for another window: item, level, caption, parent.
    TVXItems Selection() const;
    bool SelectedItem(TVXItem &item, QModelIndex *index = nullptr) const;
    void ShowError(const QString &text);
    void Hand(const QString &function, QObject *sender, const QString &detail);
    void ExpandBelow(const QModelIndex &index, const TVXItem &within, ExpandScope scope,
                     int &budget);
    bool Distribution() const;
    // Sets the options without the clearing that a change by the user does.
    // Every node of the tree, in tree order: a node's absolute index is its place here.
    QList<QModelIndex> AllNodes() const;
    void ClearTracks();
    void AppendTrack(const TVXViewDocument::Track &track);
    void SetOptionsQuietly(bool distribution, bool topDown, const QString &level, bool option);
    bool TopDown() const;

    TVXConnection m_connection;
    std::unique_ptr<TVXViewSource> m_source;
    TVXRootFilter m_filter;
    QList<TVXFilter::Row> m_filterRows;
    QList<TVXViewDocument::Track> m_tracks;
    bool m_filterCaseSensitive = false;
    bool m_filterOn = false;
    bool m_onlyStatus = true;
    QModelIndex m_lastFound;
    QPointer<QDialog> m_findDialog;

    QTreeView *m_tree = nullptr;
    TVXViewTreeModel *m_model = nullptr;
    QRadioButton *m_distribution = nullptr;
    QRadioButton *m_dependencies = nullptr;
    QRadioButton *m_topDown = nullptr;
    QRadioButton *m_bottomUp = nullptr;
    QComboBox *m_viewBy = nullptr;
    QRadioButton *m_filterOff = nullptr;
    QRadioButton *m_filterOnButton = nullptr;
    QPushButton *m_setFilter = nullptr;
    QLineEdit *m_limit = nullptr;
    QPushButton *m_refresh = nullptr;
    QCheckBox *m_option = nullptr;
    QLabel *m_hint = nullptr;

    QMenu *m_viewMenu = nullptr;
    QMenu *m_filterMenu = nullptr;
    QMenu *m_tracksMenu = nullptr;
    QMenu *m_popup = nullptr;
    QList<QAction *> m_typeActions;
    QList<QAction *> m_directionActions;
    QList<QAction *> m_levelActions;
    QHash<QString, QAction *> m_commands;
};
