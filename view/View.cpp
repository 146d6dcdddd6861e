// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/View.h"

#include "base/Exception.h"

#include "formpreview/Formshow.h"
#include "shell/Basefunctionsinterface.h"
#include "shell/Tooldialog.h"
#include "view/Changeselection.h"
#include "view/Dependentrows.h"
#include "view/Itemproperties.h"
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
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace {

const QString RefreshNode = QStringLiteral(
        "  *** Click Refresh or choose View/Refresh on the Main Menu for Result ***");
const QString EmptyNode = QStringLiteral("  *** Source Database is empty, choose Tools/Load on the "
                                         "Main Menu to load the Database ***");
const QString NoFilterHits = QStringLiteral("  *** No Hits with current Filter Settings ***");
const QString AssignHint = QStringLiteral("  *** Choose Tools/Load on the Main Menu to assign "
                                          "System(s), Computer(s) and Application(s) and reload "
                                          "the Database ***");

} // namespace

TVXView::TVXView(QWidget *owner, TVXBaseFunctionsInterface *baseFunctions, const QString &document,
                 const QString &sourceDatabase, const QString &title)
    : TVXFormInterface(owner, baseFunctions, document, sourceDatabase, title)
{
    AskUser = [this](const QString &question) {
        return VXAskYesNo(this, QStringLiteral("Velunor"), question);
    };
    BuildPanel();
    BuildMenus();
    SyncMenuItems();
    m_option->hide();
    SetUserHint();
    ShowStatus({RefreshNode});
    if (baseFunctions)
        SetFont(baseFunctions->FontName(), baseFunctions->FontSize());
    resize(900, 640);
}

TVXView::~TVXView() = default;

void TVXView::BuildPanel()
{
    auto *central = new QWidget(this);
    auto *columns = new QHBoxLayout(central);
    auto *panel = new QVBoxLayout;
    columns->addLayout(panel);

    auto group = [&](const QString &caption) {
        auto *box = new QGroupBox(caption, central);
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(6, 4, 6, 4);
        panel->addWidget(box);
        return layout;
    };
    QVBoxLayout *type = group(QStringLiteral("View Type"));
    m_distribution = new QRadioButton(QStringLiteral("Distribution"));
    m_dependencies = new QRadioButton(QStringLiteral("Dependencies"));
    m_distribution->setChecked(true);
    type->addWidget(m_distribution);
    type->addWidget(m_dependencies);

    QVBoxLayout *direction = group(QStringLiteral("View Track Direction"));
    m_topDown = new QRadioButton(QStringLiteral("TopDown"));
    m_bottomUp = new QRadioButton(QStringLiteral("BottomUp"));
    m_topDown->setChecked(true);
    direction->addWidget(m_topDown);
    direction->addWidget(m_bottomUp);

    QVBoxLayout *by = group(QStringLiteral("View By"));
    m_viewBy = new QComboBox;
    m_viewBy->addItems(TVXViewSource::LevelNames());
    by->addWidget(m_viewBy);

    QVBoxLayout *filter = group(QStringLiteral("RootItem Filter"));
    auto *filterRow = new QHBoxLayout;
    m_filterOff = new QRadioButton(QStringLiteral("Off"));
    m_filterOnButton = new QRadioButton(QStringLiteral("On"));
    m_filterOff->setChecked(true);
    m_setFilter = new QPushButton(QStringLiteral("Set"));
    filterRow->addWidget(m_filterOff);
    filterRow->addWidget(m_filterOnButton);
    filterRow->addWidget(m_setFilter);
    filter->addLayout(filterRow);

    QVBoxLayout *limit = group(QStringLiteral("RootItem Limit"));
    m_limit = new QLineEdit(QStringLiteral("100"));
    limit->addWidget(m_limit);

    m_refresh = new QPushButton(QStringLiteral("Refresh"));
    panel->addWidget(m_refresh);
    m_option = new QCheckBox(QStringLiteral("Show Entrys sequentially"));
    panel->addWidget(m_option);
    panel->addStretch();

    auto *right = new QVBoxLayout;
    columns->addLayout(right, 1);
    m_hint = new QLabel;
    m_hint->setObjectName(QStringLiteral("lblUserHint"));
    right->addWidget(m_hint);
    m_tree = new QTreeView;
    m_tree->setObjectName(QStringLiteral("tvMain"));
    m_model = new TVXViewTreeModel(this);
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    right->addWidget(m_tree, 1);
    setCentralWidget(central);

    m_model->SetChildrenSource([this](const TVXViewNode &node) {
        TVXWaitCursor wait;
        if (!m_source)
            return QList<TVXViewNode>();
        return m_source->Children(node, TopDown(), Distribution(),
                                  !m_option->isHidden() && m_option->isChecked());
    });
    for (QRadioButton *button : {m_distribution, m_dependencies, m_topDown, m_bottomUp})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ViewTypeChanged();
        });
    connect(m_viewBy, &QComboBox::currentIndexChanged, this, [this] { ViewTypeChanged(); });
    connect(m_option, &QCheckBox::toggled, this, [this] { ViewTypeChanged(); });
    connect(m_refresh, &QPushButton::clicked, this, [this] { RefreshCurrentView(); });
    connect(m_limit, &QLineEdit::editingFinished, this, [this] { tbLimitChange(); });
    connect(m_setFilter, &QPushButton::clicked, this, [this] { SetRootItemFilter(); });
    connect(m_filterOnButton, &QRadioButton::toggled, this, [this](bool on) {
        m_filterOn = on;
        ViewTypeChanged();
    });
    connect(m_tree, &QTreeView::customContextMenuRequested, this, [this](const QPoint &at) {
        PopUpActivated();
        if (!m_onlyStatus)
            m_popup->popup(m_tree->viewport()->mapToGlobal(at));
    });
}

void TVXView::BuildMenus()
{
    m_viewMenu = new QMenu(QStringLiteral("View"), this);
    auto radioGroup = [this](QMenu *menu, const QStringList &captions, QList<QAction *> &actions,
                             const std::function<void(int)> &chosen) {
        auto *group = new QActionGroup(menu);
        for (int i = 0; i < captions.size(); ++i) {
            QAction *action = menu->addAction(captions[i]);
            action->setCheckable(true);
            group->addAction(action);
            connect(action, &QAction::triggered, this, [chosen, i] { chosen(i); });
            actions << action;
        }
    };
    radioGroup(m_viewMenu->addMenu(QStringLiteral("Type")),
               {QStringLiteral("Distribution"), QStringLiteral("Dependencies")}, m_typeActions,
               [this](int i) { SetViewType(i == 0); });
    radioGroup(m_viewMenu->addMenu(QStringLiteral("Track Direction")),
               {QStringLiteral("TopDown"), QStringLiteral("BottomUp")}, m_directionActions,
               [this](int i) { SetDirection(i == 0); });
    radioGroup(m_viewMenu->addMenu(QStringLiteral("By")), TVXViewSource::LevelNames(),
               m_levelActions, [this](int i) { m_viewBy->setCurrentIndex(i); });
    m_viewMenu->addAction(QStringLiteral("Refresh"), this, [this] { RefreshCurrentView(); });
    InsertWindowMenu(m_viewMenu);

    m_filterMenu = new QMenu(QStringLiteral("Filter"), this);
    m_filterMenu->addAction(QStringLiteral("Set RootItem Filter..."), this,
                            [this] { m_filterOnButton->setChecked(true); });
    m_filterMenu->addAction(QStringLiteral("Clear RootItem Filter"), this, [this] {
        m_filter = TVXRootFilter();
        m_filterOff->setChecked(true);
    });
    InsertWindowMenu(m_filterMenu);

    m_tracksMenu = new QMenu(QStringLiteral("Tracks"), this);
    m_tracksMenu->addAction(QStringLiteral("AutoComplete Track"), this,
                            [this] { AutoCompleteTrack(); });
    m_tracksMenu->addAction(QStringLiteral("Add Track"), this, [this] { AddTrack(); });
    m_tracksMenu->addAction(QStringLiteral("Tracks..."), this, [this] { ShowTracks(); });
    m_tracksMenu->addSeparator();
    InsertWindowMenu(m_tracksMenu);

    m_popup = new QMenu(this);
    auto command = [this](QMenu *menu, const QString &caption, const std::function<void()> &run) {
        QAction *action = menu->addAction(caption, this, run);
        m_commands.insert(caption, action);
        return action;
    };
    QMenu *showIn = m_popup->addMenu(QStringLiteral("Show in"));
    command(showIn, QStringLiteral("New View"), [this] { ShowInNewView(); });
    command(showIn, QStringLiteral("Editor"), [this] { ShowInEditor(); });
    command(showIn, QStringLiteral("FormViewer"), [this] { ShowInFormViewer(); });
    command(showIn, QStringLiteral("New Query"), [this] {
        TVXItemsSender sender(Selection());
        Hand(QStringLiteral("Query"), &sender, QString());
    });
    command(m_popup, QStringLiteral("Show Dependent Rows"), [this] { ShowDependentRows(); });
    command(m_popup, QStringLiteral("Show Rows Around"),
            [this] { ShowForRow(RowWindow::RowsAround); });
    command(m_popup, QStringLiteral("Show Rules for Row"),
            [this] { ShowForRow(RowWindow::RulesForRow); });
    m_popup->addSeparator();
    command(m_popup, QStringLiteral("Change Selected Items"), [this] { ShowChangeSelection(); });
    command(m_popup, QStringLiteral("Count Selected Items"), [this] { CountSelectedItems(); });
    command(m_popup, QStringLiteral("Item Properties..."), [this] { ShowItemProperties(); });
    m_popup->addSeparator();
    command(m_popup, QStringLiteral("Add to WorkList"), [this] { AddToWorkList(false); });
    command(m_popup, QStringLiteral("Add to WorkList as..."), [this] { AddToWorkList(true); });
    command(m_popup, QStringLiteral("Add Track to Diagram"), [this] { AddTrackToDiagram(); });
    m_popup->addSeparator();
    command(m_popup, QStringLiteral("Expand All"), [this] { ExpandAll(ExpandScope::All); });
    command(m_popup, QStringLiteral("Expand All within Object"),
            [this] { ExpandAll(ExpandScope::WithinObject); });
    command(m_popup, QStringLiteral("Expand All within Package"),
            [this] { ExpandAll(ExpandScope::WithinPackage); });
    m_popup->addSeparator();
    command(m_popup, QStringLiteral("Delete this Item"), [this] { DeleteThisItem(); });
    connect(m_popup, &QMenu::aboutToShow, this, [this] { PopUpActivated(); });
}

bool TVXView::Distribution() const
{
    return m_distribution->isChecked();
}

bool TVXView::TopDown() const
{
    return m_topDown->isChecked();
}

void TVXView::SyncMenuItems()
{
    m_typeActions[Distribution() ? 0 : 1]->setChecked(true);
    m_directionActions[TopDown() ? 0 : 1]->setChecked(true);
    m_levelActions[m_viewBy->currentIndex()]->setChecked(true);
}

void TVXView::SetViewType(bool distribution)
{
    (distribution ? m_distribution : m_dependencies)->setChecked(true);
}

void TVXView::SetDirection(bool topDown)
{
    (topDown ? m_topDown : m_bottomUp)->setChecked(true);
}

void TVXView::SetViewBy(const QString &level)
{
    m_viewBy->setCurrentIndex(int(TVXViewSource::LevelOf(level)));
}

void TVXView::SetOption(bool ticked)
{
    m_option->setChecked(ticked);
}

QString TVXView::UserHint() const
{
    return m_hint->text();
}

void TVXView::SetUserHint()
{
    const QString v = m_viewBy->currentText();
    const bool code = v == QLatin1String("Code");
    const bool data = v == QLatin1String("Data");
    QString text;
    if (Distribution()) {
        if (TopDown())
            text = code   ? QStringLiteral("Lines of Code (execution order can not be trusted)")
                   : data ? QStringLiteral("Variable Declarations (persistent storage has green "
                                           "icons)")
                          : v + QStringLiteral(" contains");
        else
            text = code   ? QStringLiteral("Line of Code is part of")
                   : data ? QStringLiteral("Variable Declaration is part of (persistent storage "
                                           "has green icons)")
                   : v == QLatin1String("System") ? QStringLiteral("System")
                                                  : v + QStringLiteral(" is part of");
    } else if (TopDown()) {
        const bool ticked = !m_option->isHidden() && m_option->isChecked();
        if (ticked && v == QLatin1String("Entry"))
            text = QStringLiteral("Entrys in order of execution, call TO other Entry(s)");
        else if (ticked && v == QLatin1String("Object"))
            text = QStringLiteral("Object uses Object(s), in order of use");
        else if (code)
            text = QStringLiteral("Lines of Code in order of execution, call TO other Entry(s)");
        else if (data)
            text = QStringLiteral("Dataflow TO other Variable(s) and Line of Code where flow is "
                                  "executed (persistent storage has green icons)");
        else
            text = v + QStringLiteral(" uses ") + v + QStringLiteral("(s)");
    } else {
        text = code   ? QStringLiteral("Lines of Code in order of execution, called FROM other "
                                         "Entry(s)")
               : data ? QStringLiteral("Dataflow FROM other Variable(s) and Line of Code where "
                                       "flow is executed (persistent storage has green icons)")
                      : v + QStringLiteral(" is used by ") + v + QStringLiteral("(s)");
    }
    m_hint->setText(QStringLiteral("View: ") + text);
}

void TVXView::ShowStatus(const QStringList &lines)
{
    QList<TVXViewNode> nodes;
    for (const QString &line : lines)
        nodes << TVXViewNode::Status(line);
    m_model->Reset(nodes);
    m_onlyStatus = true;
    m_lastFound = {};
}

void TVXView::ViewTypeChanged()
{
    SyncMenuItems();
    const QString v = m_viewBy->currentText();
    const bool optionShown = !Distribution() && TopDown()
                             && (v == QLatin1String("Entry") || v == QLatin1String("Object"));
    m_option->setText(v == QLatin1String("Entry") ? QStringLiteral("Show Entrys sequentially")
                                                  : QStringLiteral("Show Objects sequentially"));
    m_option->setVisible(optionShown);
    SetUserHint();
    // Tracks name node positions of the tree that is cleared here.
    ClearTracks();
    ShowStatus({RefreshNode});
}

bool TVXView::tbLimitChange()
{
    const int limit = m_limit->text().trimmed().toInt();
    m_limit->setText(QString::number(limit));
    if (limit >= 1)
        return true;
    if (BaseFunctions)
        BaseFunctions->ShowMessage(TVXMessageKind::Warning,
                                   QStringLiteral("Limit must be greater than 0"));
    m_limit->setFocus();
    return false;
}

void TVXView::ConnectToDB()
{
    if (m_connection || !BaseFunctions)
        return;
    TVXDataAccessInterface *db = ConnectSourceDatabase();
    m_connection = TVXConnection(db);
    m_source = std::make_unique<TVXViewSource>(db);
}

void TVXView::RefreshContent(TVXDataAccessInterface *connection, QObject *sender,
                             const QString &detail)
{
    try {
        if (!connection && !Document.isEmpty()) {
            OpenViewDoc(Document);
        } else if (!connection) {
            ConnectToDB();
            UpdateCaption();
            if (sender)
                ActivateFilter(sender, detail);
            RefreshCurrentView();
        } else if (connection == m_connection.get()) {
            RefreshCurrentView();
        }
    } catch (const std::exception &e) {
        ShowStatus({QStringLiteral("  *** ") + VXMessage(e) + QStringLiteral(" ***")});
        ShowError(VXMessage(e));
    }
    m_tree->setFocus();
}

void TVXView::RefreshCurrentView()
{
    if (!tbLimitChange())
        return;
    TVXWaitCursor wait;
    TVXFrozen frozen(m_tree);
    try {
        ConnectToDB();
        if (!m_source)
            return;
        if (!m_source->HoldsFiles()) {
            ShowStatus({EmptyNode});
            return;
        }
        const int limit = m_limit->text().toInt();
        const QString v = m_viewBy->currentText();
        const TVXViewSource::Roots roots
                = m_source->RootItems(TVXViewSource::LevelOf(v), TopDown(), Distribution(), limit,
                                      m_filterOn ? m_filter : TVXRootFilter());
        if (roots.Nodes.isEmpty()) {
            if (m_filterOn && !m_filter.IsEmpty())
                ShowStatus({NoFilterHits});
            else if (v == QLatin1String("System") || v == QLatin1String("Computer")
                     || v == QLatin1String("Application"))
                ShowStatus({QStringLiteral("  *** No Hits on ") + v + QStringLiteral(" ***"),
                            QString(), AssignHint});
            else
                ShowStatus({QStringLiteral("  *** No Hits on ") + v + QStringLiteral(" ***")});
            return;
        }
        QList<TVXViewNode> nodes = roots.Nodes;
        if (roots.LimitReached)
            nodes << TVXViewNode::Status(QStringLiteral("  *** RootItem Limit reached, only the "
                                                        "first ")
                                         + QString::number(limit)
                                         + QStringLiteral(" hits in the database showed ***"));
        m_model->Reset(nodes);
        m_onlyStatus = false;
        m_lastFound = {};
        if (roots.LimitReached)
            HintAboutFilter(limit);
    } catch (const std::exception &e) {
        ShowStatus({QStringLiteral("  *** ") + VXMessage(e) + QStringLiteral(" ***")});
        ShowError(VXMessage(e));
    }
}

void TVXView::HintAboutFilter(int limit)
{
    const QString question = QStringLiteral("This View contains more than ")
                             + QString::number(limit) + QStringLiteral(" RootItems,\n")
                             + (m_filterOn && !m_filter.IsEmpty()
                                        ? QStringLiteral("do You want to change the Filter?")
                                        : QStringLiteral("do You want to use Filter?"));
    if (AskUser && AskUser(question))
        SetRootItemFilter();
}

void TVXView::ActivateFilter(QObject *sender, const QString &detail)
{
    const auto *one = qobject_cast<const TVXItemSender *>(sender);
    if (!one || !m_source)
        return;
    TVXViewSource::Level level = TVXViewSource::Level::Object;
    m_filter = m_source->FilterFor(one->Item, level);
    // The filter row names the item, as the dialog and a saved document show it.
    static const std::array<int, 8> attributes{
            TVXFilter::SystemsName,  TVXFilter::ComputersName, TVXFilter::ApplicationsName,
            TVXFilter::PackagesName, TVXFilter::ObjectsName,   TVXFilter::EntrysName,
            TVXFilter::LineOfCode,   TVXFilter::VariablesName};
    m_filterRows = {{true, attributes[size_t(level)], 0, m_source->NameOf(one->Item)}};
    m_filterCaseSensitive = true;
    // The option changes below each clear the tree; the caller refreshes it once at the end.
    const QSignalBlocker blockFilter(m_filterOnButton);
    m_filterOnButton->setChecked(true);
    m_filterOn = true;
    m_viewBy->setCurrentIndex(int(level));
    SetViewType(detail.contains(QLatin1String("Distribution")));
    SetDirection(detail.contains(QLatin1String("TopDown")));
    ViewTypeChanged();
}

void TVXView::SetFont(const QString &fontName, int fontSize)
{
    TVXFormInterface::SetFont(fontName, fontSize);
    QFont font(fontName);
    if (fontSize > 0)
        font.setPointSize(fontSize);
    m_tree->setFont(font);
    m_tree->viewport()->update();
}

QModelIndexList TVXView::SelectedItems() const
{
    QModelIndexList selected;
    for (const QModelIndex &index : m_tree->selectionModel()->selectedIndexes()) {
        const TVXViewNode *node = m_model->Node(index);
        if (node && node->Has != TVXViewNode::Carries::Nothing)
            selected << index;
    }
    SortInTreeOrder(selected);
    return selected;
}

void TVXView::SortInTreeOrder(QModelIndexList &indexes)
{
    // By the rows from the root down: also nodes in closed branches, which have no place
    // on the screen, come in the order of the tree.
    auto path = [](QModelIndex index) {
        QList<int> rows;
        for (; index.isValid(); index = index.parent())
            rows.prepend(index.row());
        return rows;
    };
    std::sort(indexes.begin(), indexes.end(),
              [&](const QModelIndex &a, const QModelIndex &b) { return path(a) < path(b); });
}

bool TVXView::SelectedItem(TVXItem &item, QModelIndex *index) const
{
    const QModelIndexList selected = SelectedItems();
    if (selected.size() != 1)
        return false;
    if (index)
        *index = selected.first();
    return m_model->Node(selected.first())->StructuralItem(item);
}

void TVXView::ShowError(const QString &text)
{
    if (BaseFunctions)
        BaseFunctions->ShowMessage(TVXMessageKind::Error, text);
}

void TVXView::Hand(const QString &function, QObject *sender, const QString &detail)
{
    if (!BaseFunctions)
        return;
    const QString error
            = BaseFunctions->NewWindow(function, QString(), SourceDatabase, sender, detail);
    if (!error.isEmpty())
        ShowError(error);
}
