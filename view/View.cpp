// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/View.h"

#include "base/Exception.h"

#include "formpreview/Formshow.h"
#include "shell/Basefunctionsinterface.h"
#include "view/Changeselection.h"
#include "view/Dependentrows.h"
#include "view/Itemproperties.h"
#include "view/Viewdocument.h"
#include "view/Viewtreemodel.h"

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
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
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

// The hourglass for the length of one operation, whichever way it ends.
struct TWaitCursor
{
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

// Repainting of the tree stops while it is rebuilt.
struct TFrozen
{
    explicit TFrozen(QWidget *widget)
        : Widget(widget)
    {
        Widget->setUpdatesEnabled(false);
    }
    ~TFrozen() { Widget->setUpdatesEnabled(true); }
    TFrozen(const TFrozen &) = delete;
    TFrozen &operator=(const TFrozen &) = delete;
    QWidget *Widget;
};

} // namespace

TVXView::TVXView(QWidget *owner, TVXBaseFunctionsInterface *baseFunctions, const QString &document,
                 const QString &sourceDatabase, const QString &title)
    : TVXFormInterface(owner, baseFunctions, document, sourceDatabase, title)
{
    AskUser = [this](const QString &question) {
        return QMessageBox::question(this, QStringLiteral("Velunor"), question) == QMessageBox::Yes;
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
        TWaitCursor wait;
        if (!m_source)
            return QList<TVXViewNode>();
        return m_source->Children(node, TopDown(), Distribution());
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
    m_tracksMenu->addAction(QStringLiteral("AutoComplete Track"))->setEnabled(false);
    m_tracksMenu->addAction(QStringLiteral("Add Track"), this, [this] { AddTrack(); });
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
        const bool ticked = m_option->isVisible() && m_option->isChecked();
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
    // Opened without a database (the program's first window): the default one, by name, so
    // that the caption and the documents say which repository it shows.
    if (SourceDatabase.isEmpty())
        SourceDatabase = BaseFunctions->GetSourceDBName(false, false, true);
    TVXDataAccessInterface *db = BaseFunctions->ConnectDB(SourceDatabase);
    if (!db)
        throw TVXException(QStringLiteral("The source database ") + SourceDatabase
                           + QStringLiteral(" cannot be reached"));
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
    TWaitCursor wait;
    TFrozen frozen(m_tree);
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
    std::sort(selected.begin(), selected.end(), [this](const QModelIndex &a, const QModelIndex &b) {
        return m_tree->visualRect(a).top() < m_tree->visualRect(b).top();
    });
    return selected;
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
        TWaitCursor wait;
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
        TWaitCursor wait;
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
    TWaitCursor wait;
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
    std::sort(selected.begin(), selected.end(), [this](const QModelIndex &a, const QModelIndex &b) {
        return m_tree->visualRect(a).top() < m_tree->visualRect(b).top();
    });
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
    bool ok = false;
    const QString text
            = QInputDialog::getText(this, QStringLiteral("Find"), QStringLiteral("Find what:"),
                                    QLineEdit::Normal, FindText, &ok);
    if (!ok)
        return;
    FindText = text;
    FindDialog1Find();
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
    TWaitCursor wait;
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
    TWaitCursor wait;
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
    TFrozen frozen(m_tree);
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
