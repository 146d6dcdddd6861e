// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Loaddialog.h"

#include "base/Exception.h"

#include "shell/Basefunctions.h"
#include "shell/Sourcedatabaserules.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>

namespace {

const QString Folder = QStringLiteral("FOLDER");
const QString Script = QStringLiteral("REP");

QComboBox *Names(const QStringList &items, const QString &value, bool editable)
{
    auto *box = new QComboBox;
    box->setEditable(true);
    box->addItems(items);
    box->setEditText(value);
    box->setEnabled(editable);
    box->setMinimumWidth(120);
    return box;
}

} // namespace

TVXLoadRow::TVXLoadRow(const TVXLoadSource &source, bool editable, QWidget *owner)
    : QFrame(owner)
    , m_type(source.Type)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    tbLoadFrom = new QLineEdit(QDir::toNativeSeparators(source.From));
    tbLoadFrom->setReadOnly(true);
    tbLoadFrom->setMinimumWidth(260);
    tbLoadFrom->setToolTip(tbLoadFrom->text());
    cbSystemName = Names({QStringLiteral("MySysName")}, source.SystemName, editable);
    cbSystemName->setToolTip(QStringLiteral("Systems Name:"));
    cbComputerType = Names({QStringLiteral("Client"), QStringLiteral("Server"),
                            QStringLiteral("WorkStation"), QStringLiteral("MainFrame")},
                           source.ComputerType, editable);
    cbComputerType->setToolTip(QStringLiteral("Computers Type and Location:"));
    lblAt = new QLabel(QStringLiteral("@"));
    cbComputerLocation = Names({QStringLiteral("MyCompany")}, source.ComputerLocation, editable);
    cbApplicationName = Names({QStringLiteral("MyAppName")}, source.ApplicationName, editable);
    cbApplicationName->setToolTip(QStringLiteral("Applications Name:"));
    cbDelete = new QCheckBox(QStringLiteral("Delete"));
    cbDelete->setEnabled(!editable);
    layout->addWidget(tbLoadFrom, 2);
    layout->addWidget(cbSystemName, 1);
    layout->addWidget(cbComputerType, 1);
    layout->addWidget(lblAt);
    layout->addWidget(cbComputerLocation, 1);
    layout->addWidget(cbApplicationName, 1);
    layout->addWidget(cbDelete);
}

TVXLoadSource TVXLoadRow::Source() const
{
    return {m_type,
            QDir::fromNativeSeparators(tbLoadFrom->text()),
            cbSystemName->currentText().trimmed(),
            cbComputerType->currentText().trimmed(),
            cbComputerLocation->currentText().trimmed(),
            cbApplicationName->currentText().trimmed()};
}

TVXLoad::TVXLoad(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(QStringLiteral("Load"));
    auto *layout = new QVBoxLayout(this);
    auto *into = new QHBoxLayout;
    ddDATABASE = new QComboBox;
    ddDATABASE->setMinimumWidth(240);
    auto *intoLabel = new QLabel(QStringLiteral("&Into Source Database:"));
    intoLabel->setBuddy(ddDATABASE);
    into->addWidget(intoLabel);
    into->addWidget(ddDATABASE);
    into->addStretch();
    layout->addLayout(into);

    chFolders = new QCheckBox(QStringLiteral("&Folders (including all subfolders):"));
    chFolders->setChecked(true);
    layout->addWidget(chFolders);
    layout->addWidget(BuildGroup(m_folders, Group::Folders, chFolders), 2);
    chScripts = new QCheckBox(
            QStringLiteral("&Repository Get Latest scripts (runs before Load From Folders):"));
    layout->addWidget(chScripts);
    layout->addWidget(BuildGroup(m_scripts, Group::Scripts, chScripts), 1);

    auto *bottom = new QHBoxLayout;
    chFromDB = new QCheckBox(QStringLiteral("&Other Source Database:"));
    ddFROMDB = new QComboBox;
    ddFROMDB->setEnabled(false);
    cbOptions = new QComboBox;
    cbOptions->addItems({QStringLiteral("Autodetect Changes (Default)"),
                         QStringLiteral("Reload all Files"),
                         QStringLiteral("Rebuild all Dependencies"),
                         QStringLiteral("Dependency Rebuild on added/changed files only")});
    auto *load = new QPushButton(QStringLiteral("&Load"));
    auto *close = new QPushButton(QStringLiteral("Close"));
    bottom->addWidget(chFromDB);
    bottom->addWidget(ddFROMDB);
    bottom->addStretch();
    bottom->addWidget(cbOptions);
    bottom->addWidget(load);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    QStringList names;
    if (service)
        for (const TVXDatabaseSettings &database :
             TVXSourceDatabaseRules(service->Configuration(), {}, {}, {}).List())
            names << database.Name;
    // The current database first.
    const QString current = service ? service->GetSourceDBName(false, false, true) : QString();
    if (names.removeOne(current))
        names.prepend(current);
    ddDATABASE->addItems(names);
    ddFROMDB->addItem(QStringLiteral("None"));
    ddFROMDB->addItems(names);
    chScripts->setChecked(false);
    m_scripts.Box->setEnabled(false);

    connect(chFromDB, &QCheckBox::toggled, ddFROMDB, &QWidget::setEnabled);
    connect(ddDATABASE, &QComboBox::currentTextChanged, this, &TVXLoad::ConnectToDB);
    connect(load, &QPushButton::clicked, this, &TVXLoad::LoadClick);
    connect(close, &QPushButton::clicked, this, &TVXLoad::CloseClick);
    ChooseFolder = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Folder to load"));
    };
    ChooseScript = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Script to run before a load"),
                                            QString(), QStringLiteral("Executable (*)"));
    };
    resize(980, 560);
    ConnectToDB();
}

TVXLoad::~TVXLoad() = default;

QWidget *TVXLoad::BuildGroup(TGroup &group, Group which, QCheckBox *enabler)
{
    group.Box = new QGroupBox;
    auto *layout = new QVBoxLayout(group.Box);
    // Captions over the rows' columns, stretched as the rows are.
    auto *captions = new QHBoxLayout;
    captions->setContentsMargins(4, 0, 4, 0);
    const std::pair<QString, int> columns[]
            = {{which == Group::Folders ? QStringLiteral("Folder") : QStringLiteral("Script"), 2},
               {QStringLiteral("Systems Name:"), 1},
               {QStringLiteral("Computers Type and Location:"), 2},
               {QStringLiteral("Applications Name:"), 1}};
    for (const auto &[caption, stretch] : columns)
        captions->addWidget(new QLabel(caption), stretch);
    captions->addSpacing(70);
    layout->addLayout(captions);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto *inside = new QWidget;
    group.Rows = new QVBoxLayout(inside);
    group.Rows->setContentsMargins(0, 0, 0, 0);
    group.Rows->addStretch();
    scroll->setWidget(inside);
    layout->addWidget(scroll, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    group.Add = new QPushButton(QStringLiteral("Add"));
    group.Save = new QPushButton(QStringLiteral("Save"));
    group.Cancel = new QPushButton(QStringLiteral("Cancel"));
    group.Delete = new QPushButton(QStringLiteral("Delete"));
    for (QPushButton *button : {group.Add, group.Save, group.Cancel, group.Delete})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    connect(group.Add, &QPushButton::clicked, this, [this, which] { AddClick(which); });
    connect(group.Save, &QPushButton::clicked, this, [this, which] { SaveClick(which); });
    connect(group.Cancel, &QPushButton::clicked, this, [this, which] { CancelClick(which); });
    connect(group.Delete, &QPushButton::clicked, this, [this, which] { DeleteClick(which); });
    connect(enabler, &QCheckBox::toggled, group.Box, &QWidget::setEnabled);
    return group.Box;
}

QList<TVXLoadRow *> TVXLoad::Rows(Group group) const
{
    QList<TVXLoadRow *> rows = GroupOf(group).List;
    if (GroupOf(group).New)
        rows << GroupOf(group).New;
    return rows;
}

QPushButton *TVXLoad::SaveButton(Group group) const
{
    return GroupOf(group).Save;
}

QPushButton *TVXLoad::DeleteButton(Group group) const
{
    return GroupOf(group).Delete;
}

void TVXLoad::ConnectToDB()
{
    ClearRows(m_folders);
    ClearRows(m_scripts);
    m_connection = TVXConnection();
    const QString name = ddDATABASE->currentText();
    if (!m_service || name.isEmpty()) {
        UpdateButtons();
        return;
    }
    try {
        m_connection = TVXConnection(m_service->ConnectDB(name));
        RefreshLoadRows();
    } catch (const std::exception &e) {
        m_connection = TVXConnection();
        Say(QStringLiteral("Connection to DataBase ") + name + QStringLiteral(" failed: ")
            + VXMessage(e));
    }
    UpdateButtons();
}

void TVXLoad::ClearRows(TGroup &group)
{
    qDeleteAll(group.List);
    group.List.clear();
    delete group.New;
    group.New = nullptr;
}

void TVXLoad::RefreshLoadRows()
{
    ClearRows(m_folders);
    ClearRows(m_scripts);
    if (!m_connection)
        return;
    for (const TVXLoadSource &source : TVXLoadSources(m_connection.get()).List()) {
        TGroup &group = source.Type == Script ? m_scripts : m_folders;
        auto *row = new TVXLoadRow(source, false);
        group.Rows->insertWidget(group.Rows->count() - 1, row);
        group.List << row;
        connect(row->cbDelete, &QCheckBox::toggled, this, &TVXLoad::UpdateButtons);
    }
    UpdateButtons();
}

void TVXLoad::UpdateButtons()
{
    for (TGroup *group : {&m_folders, &m_scripts}) {
        const bool pending = group->New != nullptr;
        group->Add->setEnabled(!pending && m_connection);
        group->Save->setEnabled(pending);
        group->Cancel->setEnabled(pending);
        group->Delete->setEnabled(
                std::any_of(group->List.cbegin(), group->List.cend(),
                            [](const TVXLoadRow *row) { return row->cbDelete->isChecked(); }));
    }
}

void TVXLoad::AddClick(Group which)
{
    TGroup &group = GroupOf(which);
    if (group.New || !m_connection)
        return;
    const QString chosen = which == Group::Folders ? ChooseFolder() : ChooseScript();
    if (chosen.isEmpty())
        return;
    const QString from = QDir::fromNativeSeparators(chosen);
    const TVXLoadSources sources(m_connection.get());
    const QString refused
            = which == Group::Folders ? sources.CheckNewFolder(from) : sources.CheckNewScript(from);
    if (!refused.isEmpty()) {
        Say(refused);
        return;
    }
    group.New = new TVXLoadRow({which == Group::Folders ? Folder : Script, from, {}, {}, {}, {}},
                               true);
    group.Rows->insertWidget(group.Rows->count() - 1, group.New);
    group.New->cbSystemName->setFocus();
    UpdateButtons();
}

void TVXLoad::SaveClick(Group which)
{
    TGroup &group = GroupOf(which);
    if (!group.New || !m_connection)
        return;
    const TVXLoadSource source = group.New->Source();
    const TVXSourceCheck check = TVXLoadSources::CheckFolderNames(source);
    if (!check.Error.isEmpty()) {
        Say(check.Error);
        (source.SystemName.isEmpty() ? group.New->cbSystemName : group.New->cbComputerType)
                ->setFocus();
        return;
    }
    if (!check.Question.isEmpty() && !Ask(check.Question))
        return;
    try {
        TVXLoadSources(m_connection.get()).Add(source);
    } catch (const std::exception &e) {
        Say(VXMessage(e));
        return;
    }
    RefreshLoadRows();
}

void TVXLoad::CancelClick(Group which)
{
    TGroup &group = GroupOf(which);
    delete group.New;
    group.New = nullptr;
    UpdateButtons();
}

void TVXLoad::DeleteClick(Group which)
{
    TGroup &group = GroupOf(which);
    QList<TVXLoadSource> marked;
    for (const TVXLoadRow *row : std::as_const(group.List))
        if (row->cbDelete->isChecked())
            marked << row->Source();
    if (marked.isEmpty() || !m_connection)
        return;
    if (which == Group::Folders
        && !Ask(QStringLiteral("Loaded files from marked Folders will be deleted from your "
                               "DataBase, Continue?")))
        return;
    const QString database = ddDATABASE->currentText();
    try {
        for (const TVXLoadSource &source : std::as_const(marked)) {
            if (which == Group::Folders) {
                // The deletion is a run of its own and wants the repository to itself.
                m_connection = TVXConnection();
                m_service->DeleteFilesInDB(database, true, true, source.From);
                m_connection = TVXConnection(m_service->ConnectDB(database));
            }
            TVXLoadSources(m_connection.get()).Remove(source.Type, source.From);
        }
    } catch (const std::exception &e) {
        Say((which == Group::Folders ? QStringLiteral("cbDelete_FOLDERClick: ")
                                     : QStringLiteral("cbDelete_REPClick: "))
            + VXMessage(e));
    }
    ConnectToDB();
}

void TVXLoad::LoadClick()
{
    if (!m_service || ddDATABASE->currentText().isEmpty())
        return;
    if (Unsaved() && !Ask(QStringLiteral("Unsaved changes will be lost. Close anyway?")))
        return;
    const QString database = ddDATABASE->currentText();
    const QString other = chFromDB->isChecked() && ddFROMDB->currentIndex() > 0
                                  ? ddFROMDB->currentText()
                                  : QString();
    // The run reaches the repository through connections of its own.
    m_connection = TVXConnection();
    ClearRows(m_folders);
    ClearRows(m_scripts);
    try {
        m_service->LoadDB(database, chFolders->isChecked(), chScripts->isChecked(), other,
                          cbOptions->currentText());
    } catch (const std::exception &e) {
        Say(VXMessage(e));
    }
    ConnectToDB();
}

void TVXLoad::CloseClick()
{
    // Close asks as Escape and the window's close button do.
    reject();
}

void TVXLoad::reject()
{
    if (Unsaved() && !Ask(QStringLiteral("Unsaved changes will be lost. Close anyway?")))
        return;
    CancelClick(Group::Folders);
    CancelClick(Group::Scripts);
    QDialog::reject();
}
