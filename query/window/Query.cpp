// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/window/Query.h"

#include "base/Exception.h"
#include "base/Item.h"

#include "query/Queryattributes.h"
#include "query/Queryengine.h"
#include "query/Queryrows.h"
#include "repository/Dataset.h"
#include "repository/Searchqueries.h"
#include "shell/Basefunctionsinterface.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>

namespace {

const QString ExpandResult = QStringLiteral("Click on this bar to expand Result area");
const QString ExpandQuery = QStringLiteral("Click on this bar to expand Query area");
// The grid shows the five name columns and the line of code.
constexpr int VisibleColumns = 6;
constexpr int RowColumn = 5;
const QString DefaultOrder
        = QStringLiteral("QRSystemName;QRComputerName;QRApplicationName;QRObjectName;QREntryName;"
                         "QRRowID");

// The line of code in the colour of its kind of row: hits red, calls blue, rules green,
// other inserted rows orange.
class TVXRowColours : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto *result = qobject_cast<const TVXQueryResultModel *>(index.model());
        if (!result || index.column() != RowColumn || index.row() >= result->RecordCount())
            return;
        option->palette.setColor(QPalette::Text, TVXQuery::RowColour(result->Row(index.row())));
        option->palette.setColor(QPalette::HighlightedText,
                                 TVXQuery::RowColour(result->Row(index.row())).lighter(170));
    }
};

} // namespace

const QString TVXQuery::ResultPlaceholder = QStringLiteral("Result will be displayed in this area");
const QString TVXQuery::DefaultOrderLabel
        = QStringLiteral("Order by: System, Computer, Application, Object, Entry, Statement");

QColor TVXQuery::RowColour(const TVXQueryResultRow &row)
{
    switch (TVXQueryResultModel::KindOf(row)) {
    case TVXQueryResultModel::RowKind::Hit:
        return QColor(0xFF, 0x00, 0x00);
    case TVXQueryResultModel::RowKind::Call:
        return QColor(0x00, 0x00, 0xFF);
    case TVXQueryResultModel::RowKind::Rule:
        return QColor(0x00, 0x80, 0x00);
    case TVXQueryResultModel::RowKind::Inserted:
        break;
    }
    return QColor(0xFF, 0x77, 0x00);
}

TVXQuery::TVXQuery(QWidget *owner, TVXBaseFunctionsInterface *baseFunctions,
                   const QString &document, const QString &sourceDatabase, const QString &title)
    : TVXFormInterface(owner, baseFunctions, document, sourceDatabase, title)
{
    BuildWindow();
    resize(900, 680);
    for (QAction *menu : menuBar()->actions())
        if (menu->text() == QLatin1String("Edit") && menu->menu()) {
            menu->menu()->addSeparator();
            menu->menu()->addAction(QStringLiteral("Clear Query"), this,
                                    &TVXQuery::cbClearAllClick);
        }
}

void TVXQuery::SelectAll1Click()
{
    m_grid->selectAll();
}

void TVXQuery::ClearSelection1Click()
{
    m_grid->clearSelection();
}

TVXQuery::~TVXQuery()
{
    // The engine's thread reads through the connection: it ends first.
    m_engine.reset();
}

void TVXQuery::BuildWindow()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    m_queryArea = BuildControls();
    layout->addWidget(m_queryArea, 1);

    m_bar = new QPushButton(ExpandResult);
    m_bar->setObjectName(QStringLiteral("GreenBar"));
    m_bar->setStyleSheet(QStringLiteral("background-color: #3c9a3c; color: white;"));
    layout->addWidget(m_bar);
    layout->addWidget(BuildResultArea(), 1);
    setCentralWidget(central);
    m_sqlResult = new QStandardItemModel(this);

    auto say = [this](const QString &text) { Say(text); };
    m_findRows->Say = say;
    m_inRows->Say = say;
    m_findRows->AddRow();
    m_inRows->AddRow();
    m_findRows->Row(0)->cbValue->setFocus();
    connect(m_bar, &QPushButton::clicked, this, [this] {
        const bool showQuery = m_queryArea->isHidden();
        m_queryArea->setVisible(showQuery);
        m_bar->setText(showQuery ? ExpandResult : ExpandQuery);
    });
}

QWidget *TVXQuery::BuildControls()
{
    auto *area = new QWidget;
    auto *upper = new QVBoxLayout(area);
    upper->setContentsMargins(0, 0, 0, 0);
    m_pages = new QTabWidget;
    auto *statements = new QWidget;
    auto *statementsLayout = new QVBoxLayout(statements);
    auto *find = new QGroupBox(QStringLiteral(" Find Statements containing: "));
    auto *findLayout = new QVBoxLayout(find);
    m_findRows = new TVXQueryRows(TVXQueryRows::Kind::Find, nullptr);
    m_findRows->setObjectName(QStringLiteral("frFind"));
    findLayout->addWidget(m_findRows);
    statementsLayout->addWidget(find);
    m_inBox = new QGroupBox(QStringLiteral(" In: "));
    m_inBox->setObjectName(QStringLiteral("gbIn"));
    auto *inLayout = new QVBoxLayout(m_inBox);
    m_inRows = new TVXQueryRows(TVXQueryRows::Kind::In, nullptr);
    m_inRows->setObjectName(QStringLiteral("frIn"));
    inLayout->addWidget(m_inRows);
    auto *clearIn = new QPushButton(QStringLiteral("Clear In"));
    inLayout->addWidget(clearIn, 0, Qt::AlignLeft);
    statementsLayout->addWidget(m_inBox);
    statementsLayout->addStretch();
    m_pages->addTab(statements, QStringLiteral("Query for Statements"));
    m_sql = new QPlainTextEdit;
    m_sql->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pages->addTab(m_sql, QStringLiteral("Query SQL Report"));
    upper->addWidget(m_pages, 1);

    auto *controls = new QHBoxLayout;
    m_caseSensitive = new QCheckBox(QStringLiteral("Case sensitive"));
    m_countHits = new QCheckBox(QStringLiteral("Count No of hits"));
    m_countHits->setChecked(true);
    m_outputToFile = new QCheckBox(QStringLiteral("Output Result to File"));
    m_outputFile = new QLineEdit;
    m_outputFile->setMinimumWidth(180);
    auto *browse = new QPushButton(QStringLiteral("..."));
    browse->setFixedWidth(28);
    m_append = new QCheckBox(QStringLiteral("Append"));
    m_search = new QPushButton(QStringLiteral("Search"));
    m_stop = new QPushButton(QStringLiteral(" Stop"));
    m_stop->hide();
    auto *clearAll = new QPushButton(QStringLiteral("Clear All"));
    for (QWidget *widget : std::initializer_list<QWidget *>{
                 m_caseSensitive, m_countHits, m_outputToFile, m_outputFile, browse, m_append})
        controls->addWidget(widget);
    controls->addStretch();
    controls->addWidget(m_search);
    controls->addWidget(m_stop);
    controls->addWidget(clearAll);
    upper->addLayout(controls);

    connect(m_search, &QPushButton::clicked, this, &TVXQuery::cbSearchClick);
    // Enter in the rows runs the search, as the Search button does.
    for (const QKeyCombination key :
         {QKeyCombination(Qt::Key_Return), QKeyCombination(Qt::Key_Enter)})
        connect(new QShortcut(key, area, nullptr, nullptr, Qt::WidgetWithChildrenShortcut),
                &QShortcut::activated, this, [this] {
                    if (m_pages->currentIndex() == 0)
                        cbSearchClick();
                });
    connect(m_stop, &QPushButton::clicked, this, &TVXQuery::cbStopClick);
    connect(clearAll, &QPushButton::clicked, this, &TVXQuery::cbClearAllClick);
    connect(clearIn, &QPushButton::clicked, this, &TVXQuery::cbClearInClick);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(
                this, QStringLiteral("Result Output File"), m_outputFile->text(), QString(),
                nullptr, QFileDialog::DontConfirmOverwrite);
        if (!file.isEmpty())
            m_outputFile->setText(file);
    });
    return area;
}

QWidget *TVXQuery::BuildResultArea()
{
    auto *area = new QWidget;
    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *labels = new QHBoxLayout;
    m_hits = new QLabel(ResultPlaceholder);
    m_order = new QLabel;
    m_order->hide();
    m_includeRules = new QCheckBox(QStringLiteral("Include Rules"));
    m_indent = new QCheckBox(QStringLiteral("Indent"));
    m_includeRules->hide();
    m_indent->hide();
    labels->addWidget(m_hits);
    labels->addStretch();
    labels->addWidget(m_includeRules);
    labels->addWidget(m_indent);
    labels->addWidget(m_order);
    layout->addLayout(labels);
    m_grid = new QTableView;
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One line per hit: the line of code is read across, not wrapped into the row.
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // The fixed column and the headers in the grid's yellow.
    m_grid->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: #ffff66; }"));
    m_grid->setItemDelegate(new TVXRowColours(m_grid));
    m_grid->hide();
    layout->addWidget(m_grid, 1);

    connect(m_includeRules, &QCheckBox::clicked, this, &TVXQuery::cbIncludeRulesClick);
    connect(m_indent, &QCheckBox::clicked, this, &TVXQuery::cbIndentClick);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QTableView::customContextMenuRequested, this,
            [this](const QPoint &at) { GridMenu()->popup(m_grid->viewport()->mapToGlobal(at)); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == m_grid->verticalScrollBar()->maximum())
            FetchMore();
    });
    return area;
}

void TVXQuery::Say(const QString &text)
{
    if (BaseFunctions)
        BaseFunctions->ShowMessage(TVXMessageKind::Warning, text);
}

void TVXQuery::ConnectToDB()
{
    if (m_connection || !BaseFunctions)
        return;
    TVXDataAccessInterface *db = ConnectSourceDatabase();
    m_connection = TVXConnection(db);
    TVXQueryEngine::TVXCallbacks callbacks;
    callbacks.Message = [this](const QString &text) { m_hits->setText(text); };
    callbacks.ProcessEvents = [] { QCoreApplication::processEvents(); };
    callbacks.ShowStop = [this](bool shown) {
        m_stop->setVisible(shown);
        m_search->setEnabled(!shown);
    };
    callbacks.StopRequested = [this] { return m_stopRequested; };
    m_engine = std::make_unique<TVXQueryEngine>(db, callbacks);
}

void TVXQuery::RefreshContent(TVXDataAccessInterface *connection, QObject *sender,
                              const QString &detail)
{
    try {
        if (connection) {
            // A load into this window's repository: the search runs again on what it holds.
            if (m_connection && connection == m_connection.get() && !m_searching)
                cbSearchClick();
            return;
        }
        if (!Document.isEmpty()) {
            OpenQueryDoc(Document);
            return;
        }
        ConnectToDB();
        UpdateCaption();
        if (detail == QLatin1String("SQL"))
            m_pages->setCurrentIndex(1);
        if (const auto *items = qobject_cast<const TVXItemsSender *>(sender))
            SetIn(items->Items, detail);
        else if (const auto *item = qobject_cast<const TVXItemSender *>(sender)) {
            TVXItems one;
            one.AddItem(item->Item);
            one.AddLevel(0);
            one.AddText(QString());
            one.AddParentText(QString());
            SetIn(one, detail);
        }
    } catch (const std::exception &e) {
        if (BaseFunctions)
            BaseFunctions->ShowMessage(TVXMessageKind::Error, VXMessage(e));
    }
}

QString TVXQuery::HitLabel() const
{
    return m_hits->text();
}

QString TVXQuery::OrderLabel() const
{
    return m_order->isHidden() ? QString() : m_order->text();
}

QString TVXQuery::InCaption() const
{
    return m_inBox->title();
}

TVXQueryResultModel *TVXQuery::Result() const
{
    if (m_storedResult)
        return m_storedResult.get();
    return m_engine ? &m_engine->Result() : nullptr;
}

bool TVXQuery::BuildWhereClause()
{
    // A single in row left empty restricts nothing: it is not checked either, or every
    // search without an In would stop at its empty value.
    const bool inUsed = m_inRows->Count() > 1
                        || (m_inRows->Count() == 1 && !m_inRows->Row(0)->Value().isEmpty());
    if (!m_findRows->Check() || (inUsed && !m_inRows->Check()))
        return false;
    TVXWhereClause &clause = m_engine->WhereClause();
    clause.Clear();
    auto add = [&](TVXQueryRows *rows, bool in) {
        const QList<TVXQueryAttribute> &attributes
                = in ? VXQueryAttributes::InAttributes() : VXQueryAttributes::FindAttributes();
        for (int i = 0; i < rows->Count(); ++i) {
            const TVXQueryRow *row = rows->Row(i);
            // In rows without a value restrict nothing.
            if (in && row->Value().isEmpty())
                continue;
            const TVXQueryAttribute *attribute
                    = VXQueryAttributes::Find(attributes, row->cbAttribute->currentText());
            if (!attribute)
                continue;
            const int table = m_engine->Table(attribute->Table);
            const bool andPrevious = i > 0 && rows->Row(i - 1)->rbAnd->isChecked();
            clause.Add(andPrevious, table, m_engine->Field(table, attribute->Field),
                       row->AttributeChoice().TypeKey);
            clause.SetOperator(row->OperatorChoice());
            clause.SetValueString(row->Value());
        }
    };
    add(m_findRows, false);
    if (HasTrackParts())
        AddTrackParts();
    else
        add(m_inRows, true);
    return true;
}

bool TVXQuery::HasTrackParts() const
{
    for (int i = 0; i < m_inItems.Count(); ++i) {
        const TVXItem::Kind kind = m_inItems.GetItem(i).ItemKind();
        if (kind == TVXItem::Kind::Entry || kind == TVXItem::Kind::Object
            || kind == TVXItem::Kind::Package)
            return true;
    }
    return false;
}

// One part per entry, object or package of the track, named by its keys, its parent's text
// and its level, as the engine follows a track.
void TVXQuery::AddTrackParts()
{
    TVXWhereClause &clause = m_engine->WhereClause();
    for (int i = 0; i < m_inItems.Count(); ++i) {
        const TVXItem &item = m_inItems.GetItem(i);
        const QString place = QLatin1Char(':') + m_inItems.GetParentText(i) + QLatin1Char('.')
                              + QString::number(m_inItems.GetLevel(i));
        QString table;
        QString value;
        switch (item.ItemKind()) {
        case TVXItem::Kind::Entry:
            table = QStringLiteral("VXENTRY");
            value = QStringLiteral("%1;%2;%3").arg(item.FileID).arg(item.ObjectID).arg(item.EntryID)
                    + place;
            break;
        case TVXItem::Kind::Object:
            table = QStringLiteral("VXOBJECT");
            value = QStringLiteral("%1;%2").arg(item.FileID).arg(item.ObjectID) + place;
            break;
        case TVXItem::Kind::Package:
            table = QStringLiteral("VXPACKAGE");
            value = QStringLiteral("%1;%2").arg(item.FileID).arg(item.PackageID);
            break;
        default:
            continue;
        }
        clause.Add(false, m_engine->Table(table), 0, 0);
        clause.SetOperator(VXOperator::Equals);
        clause.SetValueString(value);
    }
}

void TVXQuery::cbSearchClick()
{
    if (m_searching)
        return;
    try {
        ConnectToDB();
    } catch (const std::exception &e) {
        Say(VXMessage(e));
        return;
    }
    m_searching = true;
    m_stopRequested = false;
    m_hits->setText(QStringLiteral("Searching..."));
    if (m_pages->currentIndex() == 0)
        SearchStatements();
    else
        SearchSql();
    m_searching = false;
    if (m_outputToFile->isChecked() && m_grid->isVisible())
        OutputToFile();
}

void TVXQuery::SearchStatements()
{
    if (!BuildWhereClause()) {
        m_hits->setText(ResultPlaceholder);
        return;
    }
    m_storedResult.reset();
    m_grid->hide();
    m_engine->SetCaseSensitive(m_caseSensitive->isChecked());
    m_engine->SetInCaption(m_inBox->title());
    m_grid->setModel(&m_engine->Result());
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_engine->Query(true, m_countHits->isChecked());
        QApplication::restoreOverrideCursor();
    }
    m_hits->setText(m_engine->HitLabel());
    TVXQueryResultModel &result = m_engine->Result();
    if (result.IndexFieldNames().isEmpty()) {
        result.SetIndexFieldNames(DefaultOrder);
        const QString order = m_engine->OrderLabel();
        m_order->setText(order.isEmpty() ? DefaultOrderLabel : order);
    }
    m_indexFields.clear();
    m_orderText = m_order->text();
    ShowResultArea(true);
    if (m_includeRules->isVisible() && m_includeRules->isChecked())
        cbIncludeRulesClick();
    // The hits are read next: the arrows walk through them, the menu key explains one.
    if (result.RecordCount() > 0) {
        m_grid->selectRow(0);
        m_grid->setFocus();
    }
}

void TVXQuery::ShowResultArea(bool hits)
{
    m_order->setVisible(hits);
    m_grid->show();
    if (hits)
        for (int column = 0; column < m_grid->model()->columnCount(); ++column)
            m_grid->setColumnHidden(column, column >= VisibleColumns);
    m_grid->resizeColumnsToContents();
}

void TVXQuery::SearchSql()
{
    QString label;
    QString error;
    std::unique_ptr<TVXDataset> last;
    const bool ok = m_engine->SqlReport(m_sql->toPlainText(), label, &error, &last);
    m_hits->setText(label);
    if (!ok) {
        Say(error);
        return;
    }
    m_sqlResult->clear();
    if (last) {
        QStringList titles;
        for (int i = 0; i < last->FieldCount(); ++i)
            titles << last->FieldName(i);
        m_sqlResult->setHorizontalHeaderLabels(titles);
        for (; !last->Eof(); last->Next()) {
            QList<QStandardItem *> row;
            for (int i = 0; i < last->FieldCount(); ++i)
                row << new QStandardItem(last->Value(i).toString());
            m_sqlResult->appendRow(row);
        }
    }
    m_grid->setModel(m_sqlResult);
    for (int column = 0; column < m_sqlResult->columnCount(); ++column)
        m_grid->setColumnHidden(column, false);
    ShowResultArea(false);
}

void TVXQuery::FetchMore()
{
    if (m_searching || !m_engine || !m_engine->MoreRows() || m_grid->model() != &m_engine->Result())
        return;
    m_searching = true;
    m_engine->Query(false, false);
    m_hits->setText(m_engine->HitLabel());
    m_searching = false;
}

void TVXQuery::cbStopClick()
{
    m_stopRequested = true;
}

void TVXQuery::cbClearInClick()
{
    m_inRows->Clear();
    m_inBox->setTitle(QStringLiteral(" In: "));
    m_inItems = TVXItems();
    m_includeRules->hide();
    m_indent->hide();
}

void TVXQuery::cbClearAllClick()
{
    m_findRows->Clear();
    cbClearInClick();
    m_hits->setText(ResultPlaceholder);
    m_order->hide();
    m_grid->hide();
}

bool TVXQuery::ShowsHits() const
{
    return Result() && m_grid->model() == Result();
}

QList<int> TVXQuery::SelectedHits() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty() && m_grid->currentIndex().isValid())
        rows << m_grid->currentIndex().row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QMenu *TVXQuery::GridMenu()
{
    delete m_gridMenu;
    m_gridMenu = new QMenu(this);
    QAbstractItemModel *model = m_grid->model();
    const int columns = model ? model->columnCount() : 0;
    auto fieldOf = [](int column) { return TVXQueryResultModel::FieldNames().value(column); };
    auto title
            = [model](int column) { return model->headerData(column, Qt::Horizontal).toString(); };
    QMenu *hide = m_gridMenu->addMenu(QStringLiteral("Hide Column"));
    QMenu *show = m_gridMenu->addMenu(QStringLiteral("Show Column"));
    QMenu *sort = m_gridMenu->addMenu(QStringLiteral("Sort on Column"));
    QMenu *andSort = m_gridMenu->addMenu(QStringLiteral("And sort on Column"));
    for (int column = 0; column < columns; ++column) {
        const QString field = fieldOf(column);
        QMenu *visibility = m_grid->isColumnHidden(column) ? show : hide;
        QAction *action
                = visibility->addAction(title(column), this, [this, column, visibility, show] {
                      HideColumn(column, visibility != show);
                  });
        action->setObjectName((visibility == show ? QStringLiteral("Show") : QStringLiteral("Hide"))
                              + field);
        if (ShowsHits()) {
            sort->addAction(title(column), this, [this, column] {
                    SortOnColumn(column, false);
                })->setObjectName(QStringLiteral("Sort") + field);
            andSort->addAction(title(column), this, [this, column] { SortOnColumn(column, true); })
                    ->setObjectName(QStringLiteral("AndSort") + field);
        }
    }
    QMenu *showIn = m_gridMenu->addMenu(QStringLiteral("Show in"));
    showIn->addAction(QStringLiteral("New View"), this, [this] {
        HandHits(QStringLiteral("View"), QStringLiteral("DependenciesBottomUp"));
    });
    showIn->addAction(QStringLiteral("Editor"), this,
                      [this] { HandHits(QStringLiteral("EditorController"), QString()); });
    showIn->setEnabled(ShowsHits());
    m_gridMenu->addAction(QStringLiteral("Show Rows Around"), this, [this] { ShowRowsAround(); })
            ->setEnabled(ShowsHits());
    m_gridMenu->addAction(QStringLiteral("Show Rules for Row"), this, [this] { ShowRulesForRow(); })
            ->setEnabled(ShowsHits());
    m_gridMenu->addAction(QStringLiteral("Copy                 (Ctrl+C)"), this,
                          [this] { CopyHits(); });
    m_gridMenu->addAction(QStringLiteral("Select All           (Ctrl+A)"), m_grid,
                          &QTableView::selectAll);
    m_gridMenu->addAction(QStringLiteral("Clear Selection  (Ctrl+N)"), m_grid,
                          &QTableView::clearSelection);
    m_gridMenu->addSeparator();
    for (const bool as : {false, true})
        m_gridMenu
                ->addAction(as ? QStringLiteral("Add to WorkList as...")
                               : QStringLiteral("Add to WorkList"),
                            this,
                            [this, as] {
                                HandHits(QStringLiteral("WorkList"),
                                         as ? QStringLiteral("AddToWorkListAs")
                                            : QStringLiteral("AddToWorkList"));
                            })
                ->setEnabled(ShowsHits());
    return m_gridMenu;
}

void TVXQuery::HideColumn(int column, bool hidden)
{
    m_grid->setColumnHidden(column, hidden);
}

void TVXQuery::SortOnColumn(int column, bool andSort)
{
    if (!ShowsHits())
        return;
    const QString field = TVXQueryResultModel::FieldNames().value(column);
    const QString title = Result()->headerData(column, Qt::Horizontal).toString();
    if (andSort && !m_indexFields.isEmpty()) {
        m_indexFields += QLatin1Char(';') + field;
        m_orderText += QStringLiteral(", ") + title;
    } else {
        m_indexFields = field;
        m_orderText = QStringLiteral("Order by: ") + title;
    }
    Result()->SetIndexFieldNames(m_indexFields);
    m_order->setText(m_orderText);
    m_order->show();
}

void TVXQuery::CopyHits()
{
    QAbstractItemModel *model = m_grid->model();
    if (!model)
        return;
    QStringList lines;
    for (const int row : SelectedHits()) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            if (!m_grid->isColumnHidden(column))
                cells << model->index(row, column).data().toString();
        lines << cells.join(QLatin1Char('\t'));
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void TVXQuery::HandHits(const QString &function, const QString &detail)
{
    if (!ShowsHits() || !BaseFunctions)
        return;
    const QList<int> rows = SelectedHits();
    if (rows.isEmpty())
        return;
    const TVXQueryResultModel &result = *Result();
    QString error;
    if (function == QLatin1String("WorkList")) {
        TVXItems items;
        for (const int row : rows) {
            const TVXQueryResultRow &hit = result.Row(row);
            items.AddItem(hit.QRFileID, 0, 0, 0, 0, hit.QRObjectID, hit.QREntryID, hit.QRRowID,
                          hit.QRWordID);
            items.AddLevel(0);
            items.AddText(hit.QRRow.trimmed());
            items.AddParentText(hit.QRObjectName);
            items.AddParentFileID(hit.QRFileID);
            items.AddIcon(0);
        }
        TVXItemsSender sender(items);
        error = BaseFunctions->NewWindow(function, QString(), SourceDatabase, &sender, detail);
    } else {
        // The View and the editor take the current hit: its entry, or its line.
        const TVXQueryResultRow &hit = result.Row(rows.first());
        const bool view = function == QLatin1String("View");
        TVXItemSender sender(TVXItem(hit.QRFileID, 0, 0, 0, 0, hit.QRObjectID, hit.QREntryID,
                                     view ? 0 : hit.QRRowID, 0));
        QString what = detail;
        if (!view) {
            const std::optional<TVXFileAttributes> file
                    = VXSearchQueries::FileAttributes(m_connection.get(), hit.QRFileID);
            what = QString::number(file ? file->LanguageID : 0);
        }
        error = BaseFunctions->NewWindow(function, QString(), SourceDatabase, &sender, what);
        if (!error.isEmpty() && view)
            error = QStringLiteral("TVXQuery.NewView1Click: ") + error;
    }
    if (!error.isEmpty())
        BaseFunctions->ShowMessage(TVXMessageKind::Error, error);
}
