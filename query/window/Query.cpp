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
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

namespace {

const QString ResultPlaceholder = QStringLiteral("Result will be displayed in this area");
const QString ExpandResult = QStringLiteral("Click on this bar to expand Result area");
const QString ExpandQuery = QStringLiteral("Click on this bar to expand Query area");
// The grid shows the five name columns and the line of code.
constexpr int VisibleColumns = 6;

} // namespace

TVXQuery::TVXQuery(QWidget *owner, TVXBaseFunctionsInterface *baseFunctions,
                   const QString &document, const QString &sourceDatabase, const QString &title)
    : TVXFormInterface(owner, baseFunctions, document, sourceDatabase, title)
{
    BuildWindow();
    resize(900, 680);
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
    m_queryArea = new QWidget;
    auto *upper = new QVBoxLayout(m_queryArea);
    upper->setContentsMargins(0, 0, 0, 0);
    m_pages = new QTabWidget;
    auto *statements = new QWidget;
    auto *statementsLayout = new QVBoxLayout(statements);
    auto *find = new QGroupBox(QStringLiteral(" Find Statements containing: "));
    auto *findLayout = new QVBoxLayout(find);
    m_findRows = new TVXQueryRows(TVXQueryRows::Kind::Find, nullptr);
    findLayout->addWidget(m_findRows);
    statementsLayout->addWidget(find);
    auto *in = new QGroupBox(QStringLiteral(" In: "));
    in->setObjectName(QStringLiteral("gbIn"));
    auto *inLayout = new QVBoxLayout(in);
    m_inRows = new TVXQueryRows(TVXQueryRows::Kind::In, nullptr);
    inLayout->addWidget(m_inRows);
    auto *clearIn = new QPushButton(QStringLiteral("Clear In"));
    inLayout->addWidget(clearIn, 0, Qt::AlignLeft);
    statementsLayout->addWidget(in);
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
    m_search = new QPushButton(QStringLiteral("Search"));
    m_stop = new QPushButton(QStringLiteral(" Stop"));
    m_stop->hide();
    auto *clearAll = new QPushButton(QStringLiteral("Clear All"));
    controls->addWidget(m_caseSensitive);
    controls->addWidget(m_countHits);
    controls->addStretch();
    controls->addWidget(m_search);
    controls->addWidget(m_stop);
    controls->addWidget(clearAll);
    upper->addLayout(controls);
    layout->addWidget(m_queryArea, 1);

    m_bar = new QPushButton(ExpandResult);
    m_bar->setStyleSheet(QStringLiteral("background-color: #3c9a3c; color: white;"));
    layout->addWidget(m_bar);

    auto *labels = new QHBoxLayout;
    m_hits = new QLabel(ResultPlaceholder);
    m_order = new QLabel;
    m_order->hide();
    labels->addWidget(m_hits);
    labels->addStretch();
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
    m_grid->hide();
    layout->addWidget(m_grid, 1);
    setCentralWidget(central);
    m_sqlResult = new QStandardItemModel(this);

    auto say = [this](const QString &text) { Say(text); };
    m_findRows->Say = say;
    m_inRows->Say = say;
    m_findRows->AddRow();
    m_inRows->AddRow();
    connect(m_search, &QPushButton::clicked, this, &TVXQuery::cbSearchClick);
    connect(m_stop, &QPushButton::clicked, this, &TVXQuery::cbStopClick);
    connect(clearAll, &QPushButton::clicked, this, &TVXQuery::cbClearAllClick);
    connect(clearIn, &QPushButton::clicked, this, &TVXQuery::cbClearInClick);
    connect(m_bar, &QPushButton::clicked, this, [this] {
        const bool showQuery = m_queryArea->isHidden();
        m_queryArea->setVisible(showQuery);
        m_bar->setText(showQuery ? ExpandResult : ExpandQuery);
    });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QTableView::customContextMenuRequested, this,
            [this](const QPoint &at) { GridMenu()->popup(m_grid->viewport()->mapToGlobal(at)); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == m_grid->verticalScrollBar()->maximum())
            FetchMore();
    });
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

void TVXQuery::RefreshContent(TVXDataAccessInterface *connection, QObject *, const QString &)
{
    try {
        if (!connection) {
            ConnectToDB();
            UpdateCaption();
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

bool TVXQuery::BuildWhereClause()
{
    // A single in row left empty restricts nothing: it is not checked either, or every
    // search without an In would stop at its empty value.
    const bool inUsed = m_inRows->Count() > 1 || !m_inRows->Row(0)->Value().isEmpty();
    if (!m_findRows->Check() || (inUsed && !m_inRows->Check()))
        return false;
    TVXWhereClause &clause = m_engine->WhereClause();
    clause.Clear();
    auto add = [&](TVXQueryRows *rows, bool in) {
        for (int i = 0; i < rows->Count(); ++i) {
            const TVXQueryRow *row = rows->Row(i);
            const TVXQueryRowChoice choice = row->AttributeChoice();
            const QString attribute = row->cbAttribute->currentText();
            // In rows without a value restrict nothing.
            if (in && row->Value().isEmpty())
                continue;
            const int table = m_engine->Table(
                    (in ? VXQueryAttributes::Find(VXQueryAttributes::InAttributes(), attribute)
                        : VXQueryAttributes::Find(VXQueryAttributes::FindAttributes(), attribute))
                            ->Table);
            const QString field
                    = (in ? VXQueryAttributes::Find(VXQueryAttributes::InAttributes(), attribute)
                          : VXQueryAttributes::Find(VXQueryAttributes::FindAttributes(), attribute))
                              ->Field;
            const bool andPrevious = i > 0 && rows->Row(i - 1)->rbAnd->isChecked();
            clause.Add(andPrevious, table, m_engine->Field(table, field), choice.TypeKey);
            clause.SetOperator(row->OperatorChoice());
            clause.SetValueString(row->Value());
        }
    };
    add(m_findRows, false);
    add(m_inRows, true);
    return true;
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
}

void TVXQuery::SearchStatements()
{
    if (!BuildWhereClause()) {
        m_hits->setText(ResultPlaceholder);
        return;
    }
    m_grid->hide();
    m_engine->SetCaseSensitive(m_caseSensitive->isChecked());
    m_grid->setModel(&m_engine->Result());
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_engine->Query(true, m_countHits->isChecked());
        QApplication::restoreOverrideCursor();
    }
    m_grid->show();
    m_hits->setText(m_engine->HitLabel());
    const QString order = m_engine->OrderLabel();
    m_order->setText(order.isEmpty() ? QStringLiteral("Order by: System, Computer, Application, "
                                                      "Object, Entry, Statement")
                                     : order);
    m_order->show();
    m_indexFields.clear();
    m_orderText = m_order->text();
    for (int column = 0; column < m_engine->Result().columnCount(); ++column)
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
    m_grid->resizeColumnsToContents();
    m_grid->show();
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
    qobject_cast<QGroupBox *>(m_inRows->parentWidget())->setTitle(QStringLiteral(" In: "));
    m_inRows->Clear();
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
    return m_engine && m_grid->model() == &m_engine->Result();
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
    const QString title = m_engine->Result().headerData(column, Qt::Horizontal).toString();
    if (andSort && !m_indexFields.isEmpty()) {
        m_indexFields += QLatin1Char(';') + field;
        m_orderText += QStringLiteral(", ") + title;
    } else {
        m_indexFields = field;
        m_orderText = QStringLiteral("Order by: ") + title;
    }
    m_engine->Result().SetIndexFieldNames(m_indexFields);
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
    const TVXQueryResultModel &result = m_engine->Result();
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
