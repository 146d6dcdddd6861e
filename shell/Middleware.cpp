// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Middleware.h"

#include "base/Exception.h"

#include "loading/Middlewarecheck.h"
#include "shell/Basefunctions.h"
#include "shell/Sourcedatabaserules.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString Unsaved = QStringLiteral("Unsaved changes will be lost. Close anyway?");

struct TField
{
    const char *Column;
    const char *Label;
};

const TField Fields[] = {
        {"VXMiddleWare", "&Name:"},
        {"VXWord", "&Word:"},
        {"VXOffsetToObjectIdentifier", "Offset to &ObjectIdentifier Word:"},
        {"VXOffsetToEntryName", "Offset to &EntryName Word:"},
        {"VXOffsetToTableIdentifier", "Offset to &TableIdentifier Word:"},
        {"VXHardIdentifier", "&Hardcoded ObjectIdentifier:"},
        {"VXAttributeScope2", "Scope &name:"},
};

} // namespace

TVXMiddleWare::TVXMiddleWare(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(QStringLiteral("MiddleWare"));
    if (service)
        m_rules = std::make_unique<TVXMiddlewareRules>(service->Configuration());
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    auto *choose = new QLabel(QStringLiteral("&Choose middleware:"));
    lbMiddleware = new QListWidget;
    choose->setBuddy(lbMiddleware);
    left->addWidget(choose);
    left->addWidget(lbMiddleware, 1);
    layout->addLayout(left);
    auto *right = new QVBoxLayout;
    auto *group = new QGroupBox(QStringLiteral(" Edit middleware settings: "));
    auto *form = new QFormLayout(group);
    cbWordType = new QComboBox;
    cbWordType->addItems(TVXMiddlewareRules::WordTypeChoices());
    cbScope = new QComboBox;
    cbScope->addItems(TVXMiddlewareRules::ScopeChoices());
    for (const TField &field : Fields) {
        auto *edit = new QLineEdit;
        Edits.insert(QLatin1String(field.Column), edit);
        form->addRow(QLatin1String(field.Label), edit);
        if (QLatin1String(field.Column) == QLatin1String("VXWord"))
            form->addRow(QStringLiteral("Word&Type:"), cbWordType);
        if (QLatin1String(field.Column) == QLatin1String("VXHardIdentifier"))
            form->addRow(QStringLiteral("MiddleWare exists in &Scope:"), cbScope);
        connect(edit, &QLineEdit::textEdited, this, [this] { SetEditing(true); });
    }
    for (QComboBox *box : {cbWordType, cbScope})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                SetEditing(true);
        });
    right->addWidget(group);
    right->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto button = [&](const QString &caption, void (TVXMiddleWare::*click)()) {
        auto *made = new QPushButton(caption);
        buttons->addWidget(made);
        connect(made, &QPushButton::clicked, this, click);
        return made;
    };
    QPushButton *add = button(QStringLiteral("&Add"), &TVXMiddleWare::AddClick);
    QPushButton *remove = button(QStringLiteral("De&lete"), &TVXMiddleWare::DeleteClick);
    QPushButton *cancel = button(QStringLiteral("Cancel"), &TVXMiddleWare::CancelClick);
    QPushButton *save = button(QStringLiteral("&Save"), &TVXMiddleWare::SaveClick);
    QPushButton *close = button(QStringLiteral("Close"), &TVXMiddleWare::CloseClick);
    QPushButton *test = button(QStringLiteral("&Test"), &TVXMiddleWare::TestClick);
    m_idleButtons = {add, remove, close, test};
    m_editButtons = {save, cancel};
    right->addLayout(buttons);
    layout->addLayout(right, 1);
    connect(lbMiddleware, &QListWidget::currentRowChanged, this, &TVXMiddleWare::ShowRow);
    resize(720, 420);
    Reload(0);
}

TVXMiddleWare::~TVXMiddleWare() = default;

void TVXMiddleWare::Reload(int select)
{
    m_rows = m_rules ? m_rules->List() : QList<TVXMiddlewareSettings>();
    m_newRow = -1;
    {
        const QSignalBlocker block(lbMiddleware);
        lbMiddleware->clear();
        for (const TVXMiddlewareSettings &row : std::as_const(m_rows))
            lbMiddleware->addItem(row.Name);
        lbMiddleware->setCurrentRow(std::clamp(select, 0, int(m_rows.size()) - 1));
    }
    ShowRow(lbMiddleware->currentRow());
    SetEditing(false);
}

void TVXMiddleWare::ShowRow(int row)
{
    m_filling = true;
    const TVXMiddlewareSettings settings
            = row >= 0 && row < m_rows.size() ? m_rows[row] : TVXMiddlewareSettings{};
    Edits[QStringLiteral("VXMiddleWare")]->setText(settings.Name);
    Edits[QStringLiteral("VXWord")]->setText(settings.Word);
    Edits[QStringLiteral("VXOffsetToObjectIdentifier")]->setText(settings.ObjectOffset);
    Edits[QStringLiteral("VXOffsetToEntryName")]->setText(settings.EntryOffset);
    Edits[QStringLiteral("VXOffsetToTableIdentifier")]->setText(settings.TableOffset);
    Edits[QStringLiteral("VXHardIdentifier")]->setText(settings.HardIdentifier);
    Edits[QStringLiteral("VXAttributeScope2")]->setText(settings.ScopeName);
    // Stored texts are told apart by how they begin: "Any", "Word in String", "Call",
    // "SourceDB", "System", ...
    for (const auto &[box, stored] :
         {std::pair{cbWordType, settings.WordType}, std::pair{cbScope, settings.ScopeKind}}) {
        int at = box->findText(stored);
        for (int i = 0; at < 0 && i < box->count(); ++i) {
            const QString item = box->itemText(i);
            const int words = item.startsWith(QLatin1String("Word in")) ? 3 : 1;
            if (!stored.isEmpty()
                && stored.startsWith(item.section(QLatin1Char(' '), 0, words - 1)))
                at = i;
        }
        box->setCurrentIndex(std::max(at, 0));
    }
    m_filling = false;
}

void TVXMiddleWare::SetEditing(bool editing)
{
    m_editing = editing;
    lbMiddleware->setEnabled(!editing);
    for (QPushButton *button : std::as_const(m_idleButtons))
        button->setEnabled(!editing);
    for (QPushButton *button : std::as_const(m_editButtons))
        button->setEnabled(editing);
}

TVXMiddlewareSettings TVXMiddleWare::Edited() const
{
    auto text = [this](const char *column) {
        return Edits.value(QLatin1String(column))->text().trimmed();
    };
    return {text("VXMiddleWare"),
            text("VXWord"),
            cbWordType->currentText(),
            text("VXHardIdentifier"),
            text("VXOffsetToObjectIdentifier"),
            text("VXOffsetToEntryName"),
            text("VXOffsetToTableIdentifier"),
            cbScope->currentText(),
            text("VXAttributeScope2")};
}

void TVXMiddleWare::AddClick()
{
    m_rows.append(TVXMiddlewareRules::NewDefinition());
    m_newRow = int(m_rows.size()) - 1;
    {
        const QSignalBlocker block(lbMiddleware);
        lbMiddleware->addItem(m_rows.last().Name);
        lbMiddleware->setCurrentRow(m_newRow);
    }
    ShowRow(m_newRow);
    SetEditing(true);
    Edits[QStringLiteral("VXMiddleWare")]->setFocus();
    Edits[QStringLiteral("VXMiddleWare")]->selectAll();
}

void TVXMiddleWare::DeleteClick()
{
    const int row = lbMiddleware->currentRow();
    if (row < 0 || row >= m_rows.size() || !m_rules)
        return;
    const TVXRuleResult result = m_rules->Delete(m_rules->RowOf(m_rows[row].Name));
    if (!result.Ok())
        Say(result.Error);
    Reload(row);
}

void TVXMiddleWare::SaveClick()
{
    const int row = lbMiddleware->currentRow();
    if (row < 0 || !m_rules)
        return;
    const TVXMiddlewareSettings settings = Edited();
    const int stored = row == m_newRow ? -1 : m_rules->RowOf(m_rows[row].Name);
    const TVXRuleResult result = m_rules->Save(stored, settings);
    if (!result.Ok()) {
        Say(result.Error);
        if (QLineEdit *field = Edits.value(result.Field))
            field->setFocus();
        return;
    }
    Reload(m_rules->RowOf(settings.Name));
}

void TVXMiddleWare::CancelClick()
{
    Reload(lbMiddleware->currentRow() == m_newRow ? 0 : lbMiddleware->currentRow());
}

void TVXMiddleWare::CloseClick()
{
    reject();
}

void TVXMiddleWare::reject()
{
    if (m_editing && !Ask(Unsaved))
        return;
    m_editing = false;
    QDialog::reject();
}

void TVXMiddleWare::TestClick()
{
    TVXMiddleWareTest test(this, m_service,
                           Edits[QStringLiteral("VXMiddleWare")]->text().trimmed());
    test.Tell = Tell;
    test.AskUser = AskUser;
    if (TestOpened)
        TestOpened(&test);
    else
        test.exec();
}

TVXMiddleWareTest::TVXMiddleWareTest(QWidget *owner, TVXBaseFunctions *service,
                                     const QString &definition)
    : TVXToolDialog(owner, service)
    , m_definition(definition)
{
    setWindowTitle(QStringLiteral("Test of MiddleWare ") + definition);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    cbDatabase = new QComboBox;
    cbDatabase->setMinimumWidth(220);
    auto *label = new QLabel(QStringLiteral("&Choose Source Database:"));
    label->setBuddy(cbDatabase);
    top->addWidget(label);
    top->addWidget(cbDatabase);
    top->addStretch();
    layout->addLayout(top);
    lbMessage = new QLabel;
    layout->addWidget(lbMessage);
    grResult = new QTableWidget(0, 4);
    grResult->setHorizontalHeaderLabels(
            {QStringLiteral("FoundStatement"), QStringLiteral("FoundObjectIdentifier"),
             QStringLiteral("FoundEntryName"), QStringLiteral("FoundTableIdentifier")});
    grResult->horizontalHeader()->setStretchLastSection(true);
    grResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(grResult, 1);
    auto *close = new QPushButton(QStringLiteral("Close"));
    layout->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    if (service)
        for (const TVXDatabaseSettings &database :
             TVXSourceDatabaseRules(service->Configuration(), {}, {}, {}).List())
            cbDatabase->addItem(database.Name);
    cbDatabase->setCurrentIndex(-1);
    connect(cbDatabase, &QComboBox::currentTextChanged, this, &TVXMiddleWareTest::RunTest);
    resize(820, 420);
}

TVXMiddleWareTest::~TVXMiddleWareTest() = default;

void TVXMiddleWareTest::RunTest()
{
    grResult->setRowCount(0);
    lbMessage->clear();
    const QString database = cbDatabase->currentText();
    if (!m_service || database.isEmpty())
        return;
    TVXConnection connection;
    try {
        connection = TVXConnection(m_service->ConnectDB(database));
    } catch (const std::exception &e) {
        Say(QStringLiteral("Connection to DataBase ") + database + QStringLiteral(" failed: ")
            + VXMessage(e));
        return;
    }
    TVXConfigTable &table = m_service->Configuration().MiddlewareTable();
    const int row = table.FindFirst(QStringLiteral("VXMiddleWare"), m_definition);
    if (row < 0) {
        lbMessage->setText(QStringLiteral("The middleware ") + m_definition
                           + QStringLiteral(" is not saved yet"));
        return;
    }
    try {
        const TVXMiddlewareTestResult result
                = TVXMiddlewareCheck(table).Test(row, database, connection.get());
        lbMessage->setText(result.Message);
        for (const TVXMiddlewareHit &hit : result.Hits) {
            const int at = grResult->rowCount();
            grResult->insertRow(at);
            const QStringList cells{hit.FoundStatement, hit.FoundObjectIdentifier,
                                    hit.FoundEntryName, hit.FoundTableIdentifier};
            for (int column = 0; column < cells.size(); ++column)
                grResult->setItem(at, column, new QTableWidgetItem(cells[column]));
        }
        grResult->resizeColumnsToContents();
    } catch (const std::exception &e) {
        Say(VXMessage(e));
    }
}
