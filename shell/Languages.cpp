// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Languages.h"

#include "shell/Basefunctions.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace {

QHBoxLayout *Buttons(QWidget *owner, const QStringList &captions, QList<QPushButton *> &made)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (const QString &caption : captions) {
        auto *button = new QPushButton(caption, owner);
        row->addWidget(button);
        made << button;
    }
    return row;
}

} // namespace

TVXLanguageDialog::TVXLanguageDialog(QWidget *owner, TVXBaseFunctions *service,
                                     const QString &caption, const QString &chooseLabel)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(caption);
    if (service)
        m_rules = std::make_unique<TVXLanguageRules>(service->Configuration());
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    auto *choose = new QLabel(chooseLabel);
    lbLanguages = new QListWidget;
    lbLanguages->setMinimumWidth(160);
    choose->setBuddy(lbLanguages);
    left->addWidget(choose);
    left->addWidget(lbLanguages, 1);
    layout->addLayout(left);
    m_area = new QVBoxLayout;
    layout->addLayout(m_area, 1);
    connect(lbLanguages, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ShowLanguage(row);
    });
}

TVXLanguageDialog::~TVXLanguageDialog() = default;

void TVXLanguageDialog::FillList()
{
    m_languages = m_rules ? m_rules->List() : QList<TVXLanguageSettings>();
    const int current = std::max(0, lbLanguages->currentRow());
    const QSignalBlocker block(lbLanguages);
    lbLanguages->clear();
    for (const TVXLanguageSettings &language : std::as_const(m_languages))
        lbLanguages->addItem(language.Name);
    if (!m_languages.isEmpty()) {
        const int row = std::min(current, int(m_languages.size()) - 1);
        lbLanguages->setCurrentRow(row);
        ShowLanguage(row);
    }
}

void TVXLanguageDialog::CloseClick()
{
    // Close asks as Escape and the window's close button do.
    reject();
}

void TVXLanguageDialog::reject()
{
    if (m_modified && !Ask(QStringLiteral("Unsaved changes will be lost. Close anyway?")))
        return;
    m_modified = false;
    QDialog::reject();
}

TVXLanguages::TVXLanguages(QWidget *owner, TVXBaseFunctions *service)
    : TVXLanguageDialog(owner, service, QStringLiteral("Languages"),
                        QStringLiteral("&Choose language:"))
{
    auto *group = new QGroupBox(QStringLiteral(" Source files Extension: "));
    auto *inside = new QVBoxLayout(group);
    grExtensions = new QTableWidget(0, 1);
    grExtensions->setHorizontalHeaderLabels({QStringLiteral("Extension")});
    grExtensions->horizontalHeader()->setStretchLastSection(true);
    grExtensions->verticalHeader()->hide();
    inside->addWidget(grExtensions, 1);
    QList<QPushButton *> made;
    inside->addLayout(Buttons(group,
                              {QStringLiteral("&Add"), QStringLiteral("De&lete"),
                               QStringLiteral("Cancel"), QStringLiteral("&Save")},
                              made));
    Area()->addWidget(group, 1);
    QList<QPushButton *> closing;
    Area()->addLayout(Buttons(this, {QStringLiteral("Close")}, closing));
    connect(made[0], &QPushButton::clicked, this, &TVXLanguages::AddClick);
    connect(made[1], &QPushButton::clicked, this, &TVXLanguages::DeleteClick);
    connect(made[2], &QPushButton::clicked, this, &TVXLanguages::CancelClick);
    connect(made[3], &QPushButton::clicked, this, &TVXLanguages::SaveClick);
    connect(closing[0], &QPushButton::clicked, this, &TVXLanguages::CloseClick);
    connect(grExtensions, &QTableWidget::itemChanged, this, [this] { Modify(); });
    resize(560, 360);
    FillList();
}

void TVXLanguages::ShowLanguage(int row)
{
    const QSignalBlocker block(grExtensions);
    grExtensions->setRowCount(0);
    for (const QString &extension : m_languages.value(row).Extensions) {
        grExtensions->insertRow(grExtensions->rowCount());
        grExtensions->setItem(grExtensions->rowCount() - 1, 0, new QTableWidgetItem(extension));
    }
    Saved();
}

QStringList TVXLanguages::Extensions() const
{
    QStringList extensions;
    for (int row = 0; row < grExtensions->rowCount(); ++row) {
        const QTableWidgetItem *item = grExtensions->item(row, 0);
        extensions << (item ? item->text().trimmed() : QString());
    }
    return extensions;
}

void TVXLanguages::AddClick()
{
    grExtensions->insertRow(grExtensions->rowCount());
    auto *item = new QTableWidgetItem(QStringLiteral("."));
    grExtensions->setItem(grExtensions->rowCount() - 1, 0, item);
    grExtensions->setCurrentItem(item);
    grExtensions->editItem(item);
    Modify();
}

void TVXLanguages::DeleteClick()
{
    const int row = grExtensions->currentRow();
    if (row < 0)
        return;
    if (const TVXRuleResult result = TVXLanguageRules::CheckDelete(Extensions()); !result.Ok()) {
        Say(result.Error);
        return;
    }
    grExtensions->removeRow(row);
    Modify();
}

void TVXLanguages::SaveClick()
{
    const int row = lbLanguages->currentRow();
    if (row < 0 || !m_rules)
        return;
    const TVXRuleResult result
            = m_rules->SaveExtensions(m_rules->RowOf(m_languages[row].Name), Extensions());
    if (!result.Ok()) {
        Say(result.Error);
        return;
    }
    FillList();
}

void TVXLanguages::CancelClick()
{
    ShowLanguage(lbLanguages->currentRow());
}

TVXEditors::TVXEditors(QWidget *owner, TVXBaseFunctions *service)
    : TVXLanguageDialog(owner, service, QStringLiteral("Editors"),
                        QStringLiteral("&Choose Language:"))
{
    auto *group = new QGroupBox(QStringLiteral(" Edit editor settings: "));
    auto *form = new QFormLayout(group);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    edEditorName = new QLineEdit;
    edStartCommand = new QLineEdit;
    edStartCommand->setMinimumWidth(360);
    auto *browse = new QPushButton(QStringLiteral("..."));
    browse->setFixedWidth(28);
    auto *command = new QHBoxLayout;
    command->addWidget(edStartCommand, 1);
    command->addWidget(browse);
    cbFindShortcut = new QComboBox;
    cbFindShortcut->setEditable(true);
    cbFindShortcut->addItems(TVXLanguageRules::FindShortcutKeys());
    form->addRow(QStringLiteral("&Name as part of WindowTitle (optional):"), edEditorName);
    // A row of a field and its button has no buddy of its own: the label names the field.
    auto *commandLabel
            = new QLabel(QStringLiteral("Start &command (overrides filetype default app):"));
    commandLabel->setBuddy(edStartCommand);
    form->addRow(commandLabel, command);
    form->addRow(QStringLiteral("Shortcut &key for 'Find' (optional):"), cbFindShortcut);
    Area()->addWidget(group);
    Area()->addStretch();
    QList<QPushButton *> made;
    Area()->addLayout(Buttons(
            this, {QStringLiteral("&Save"), QStringLiteral("Cancel"), QStringLiteral("Close")},
            made));
    connect(made[0], &QPushButton::clicked, this, &TVXEditors::SaveClick);
    connect(made[1], &QPushButton::clicked, this, &TVXEditors::CancelClick);
    connect(made[2], &QPushButton::clicked, this, &TVXEditors::CloseClick);
    for (QLineEdit *edit : {edEditorName, edStartCommand})
        connect(edit, &QLineEdit::textEdited, this, [this] { Modify(); });
    connect(cbFindShortcut, &QComboBox::currentTextChanged, this, [this] { Modify(); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Start command"),
                                                          edStartCommand->text(),
                                                          QStringLiteral("Executable (*)"));
        if (!file.isEmpty()) {
            edStartCommand->setText(file);
            Modify();
        }
    });
    resize(620, 320);
    FillList();
}

void TVXEditors::ShowLanguage(int row)
{
    const TVXLanguageSettings language = m_languages.value(row);
    edEditorName->setText(language.EditorName);
    edStartCommand->setText(language.EditorStartCommand);
    {
        const QSignalBlocker block(cbFindShortcut);
        cbFindShortcut->setCurrentText(language.FindShortcutKey);
    }
    Saved();
}

void TVXEditors::SaveClick()
{
    const int row = lbLanguages->currentRow();
    if (row < 0 || !m_rules)
        return;
    const TVXRuleResult result
            = m_rules->SaveEditor(m_rules->RowOf(m_languages[row].Name), edEditorName->text(),
                                  edStartCommand->text(), cbFindShortcut->currentText());
    if (!result.Ok()) {
        Say(result.Error);
        return;
    }
    FillList();
}

void TVXEditors::CancelClick()
{
    ShowLanguage(lbLanguages->currentRow());
}
