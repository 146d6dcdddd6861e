// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Sourcedatabases.h"

#include "base/Settings.h"

#include "shell/Basefunctions.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString Unsaved = QStringLiteral("Unsaved changes will be lost. Close anyway?");

} // namespace

TVXSourceDatabases::TVXSourceDatabases(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(QStringLiteral("Source Databases"));
    if (service)
        m_rules = std::make_unique<TVXSourceDatabaseRules>(
                service->Configuration(), TVXSourceDatabaseRules::AvailableTypes(),
                VXSettings::PackageFolder(), VXSettings::SettingsFolder());
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    auto *choose = new QLabel(QStringLiteral("&Choose database:"));
    lbDatabases = new QListWidget;
    choose->setBuddy(lbDatabases);
    left->addWidget(choose);
    left->addWidget(lbDatabases, 1);
    layout->addLayout(left);

    auto *right = new QVBoxLayout;
    auto *group = new QGroupBox(QStringLiteral(" Edit database settings: "));
    auto *form = new QFormLayout(group);
    edName = new QLineEdit;
    cbType = new QComboBox;
    cbType->addItems(TVXSourceDatabaseRules::AvailableTypes());
    edConnection = new QLineEdit;
    edConnection->setMinimumWidth(360);
    btBrowse = new QPushButton(QStringLiteral("..."));
    btBrowse->setFixedWidth(28);
    auto *connection = new QHBoxLayout;
    connection->addWidget(edConnection, 1);
    connection->addWidget(btBrowse);
    chDefault = new QCheckBox;
    auto *create = new QPushButton(QStringLiteral("CreateDBFile"));
    lbConnection = new QLabel(QStringLiteral("Connection string:"));
    form->addRow(QStringLiteral("&Name:"), edName);
    form->addRow(QStringLiteral("&Type:"), cbType);
    form->addRow(lbConnection, connection);
    form->addRow(QStringLiteral("&Default database:"), chDefault);
    form->addRow(QString(), create);
    right->addWidget(group);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *add = new QPushButton(QStringLiteral("&Add"));
    QPushButton *remove = new QPushButton(QStringLiteral("De&lete"));
    QPushButton *save = new QPushButton(QStringLiteral("&Save"));
    QPushButton *cancel = new QPushButton(QStringLiteral("Cancel"));
    QPushButton *close = new QPushButton(QStringLiteral("Close"));
    for (QPushButton *button : {add, remove, save, cancel, close})
        buttons->addWidget(button);
    right->addStretch();
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    connect(add, &QPushButton::clicked, this, &TVXSourceDatabases::AddClick);
    connect(remove, &QPushButton::clicked, this, &TVXSourceDatabases::DeleteClick);
    connect(save, &QPushButton::clicked, this, &TVXSourceDatabases::SaveClick);
    connect(cancel, &QPushButton::clicked, this, &TVXSourceDatabases::CancelClick);
    connect(close, &QPushButton::clicked, this, &TVXSourceDatabases::CloseClick);
    connect(create, &QPushButton::clicked, this, &TVXSourceDatabases::CreateDBFileClick);
    connect(lbDatabases, &QListWidget::currentRowChanged, this, &TVXSourceDatabases::ShowRow);
    connect(cbType, &QComboBox::currentTextChanged, this, [this] {
        TypeChanged();
        if (!m_filling)
            m_modified = true;
    });
    for (QLineEdit *edit : {edName, edConnection})
        connect(edit, &QLineEdit::textEdited, this, [this] { m_modified = true; });
    connect(chDefault, &QCheckBox::toggled, this, [this] {
        if (!m_filling)
            m_modified = true;
    });
    connect(btBrowse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(
                this, QStringLiteral("Database file"), edConnection->text(),
                QStringLiteral("Database file (*.IB *.sqlite)"), nullptr,
                QFileDialog::DontConfirmOverwrite);
        if (!file.isEmpty()) {
            edConnection->setText(file);
            m_modified = true;
        }
    });
    save->setDefault(true);
    Reload(0);
}

TVXSourceDatabases::~TVXSourceDatabases() = default;

void TVXSourceDatabases::Reload(int select)
{
    m_rows = m_rules ? m_rules->List() : QList<TVXDatabaseSettings>();
    m_newRow = -1;
    const QSignalBlocker block(lbDatabases);
    lbDatabases->clear();
    for (const TVXDatabaseSettings &row : std::as_const(m_rows))
        lbDatabases->addItem(row.Name);
    const int row = std::clamp(select, 0, int(m_rows.size()) - 1);
    lbDatabases->setCurrentRow(row);
    ShowRow(row);
}

void TVXSourceDatabases::ShowRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_filling = true;
    const TVXDatabaseSettings &settings = m_rows[row];
    edName->setText(settings.Name);
    cbType->setCurrentIndex(cbType->findText(settings.Type));
    edConnection->setText(settings.Connection);
    chDefault->setChecked(settings.Default);
    TypeChanged();
    m_filling = false;
    m_modified = row == m_newRow;
}

void TVXSourceDatabases::TypeChanged()
{
    const bool file = TVXSourceDatabaseRules::IsFileBased(cbType->currentText());
    lbConnection->setText(file ? QStringLiteral("Database file:")
                               : QStringLiteral("Connection string:"));
    btBrowse->setEnabled(file);
}

TVXDatabaseSettings TVXSourceDatabases::Edited() const
{
    return {edName->text().trimmed(), cbType->currentText(), edConnection->text().trimmed(),
            chDefault->isChecked()};
}

void TVXSourceDatabases::Refused(const TVXRuleResult &result)
{
    Say(result.Error);
    if (result.Field == QLatin1String("VX_DBNAME"))
        edName->setFocus();
    else if (result.Field == QLatin1String("VX_DBTYPE"))
        cbType->setFocus();
    else if (result.Field == QLatin1String("VX_DBCONNSTRING"))
        edConnection->setFocus();
}

void TVXSourceDatabases::AddClick()
{
    if (m_newRow >= 0) {
        lbDatabases->setCurrentRow(m_newRow);
        return;
    }
    m_rows.append({TVXSourceDatabaseRules::NewName, QString(), QString(), false});
    m_newRow = int(m_rows.size()) - 1;
    lbDatabases->addItem(TVXSourceDatabaseRules::NewName);
    lbDatabases->setCurrentRow(m_newRow);
    edName->setFocus();
    edName->selectAll();
}

void TVXSourceDatabases::DeleteClick()
{
    const int row = lbDatabases->currentRow();
    if (row < 0 || !m_rules)
        return;
    if (row == m_newRow) {
        Reload(row - 1);
        return;
    }
    const TVXRuleResult result = m_rules->Delete(m_rules->RowOf(m_rows[row].Name));
    if (!result.Ok()) {
        Refused(result);
        return;
    }
    Reload(row);
}

void TVXSourceDatabases::SaveClick()
{
    const int row = lbDatabases->currentRow();
    if (row < 0 || !m_rules)
        return;
    const TVXDatabaseSettings settings = Edited();
    const int stored = row == m_newRow ? -1 : m_rules->RowOf(m_rows[row].Name);
    const TVXRuleResult result = m_rules->Save(stored, settings);
    if (!result.Ok()) {
        Refused(result);
        return;
    }
    if (!result.Information.isEmpty())
        Say(result.Information);
    Reload(m_rules->RowOf(settings.Name));
}

void TVXSourceDatabases::CancelClick()
{
    Reload(lbDatabases->currentRow() == m_newRow ? 0 : lbDatabases->currentRow());
}

void TVXSourceDatabases::CreateDBFileClick()
{
    if (!m_rules)
        return;
    const TVXRuleResult result = m_rules->CreateDBFile(edName->text(), cbType->currentText());
    if (!result.Ok()) {
        Refused(result);
        return;
    }
    edConnection->setText(result.Information);
    m_modified = true;
}

void TVXSourceDatabases::CloseClick()
{
    // Close asks as Escape and the window's close button do.
    reject();
}

void TVXSourceDatabases::reject()
{
    // Escape and the window's close button ask as Close does.
    if (m_modified && !Ask(Unsaved))
        return;
    m_modified = false;
    QDialog::reject();
}
