// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Smalldialogs.h"

#include "shell/Basefunctions.h"
#include "shell/Forminterface.h"
#include "shell/Sourcedatabaserules.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

QStringList DatabaseNames(TVXBaseFunctions *service)
{
    QStringList names;
    if (!service)
        return names;
    TVXSourceDatabaseRules rules(service->Configuration(), {}, {}, {});
    for (const TVXDatabaseSettings &database : rules.List())
        names << database.Name;
    return names;
}

// Save (or the dialog's own button) and Cancel, both closing it.
QDialogButtonBox *SaveCancel(QDialog *dialog, const QString &save)
{
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(save, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

TVXProperties::TVXProperties(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
    , m_window(qobject_cast<TVXFormInterface *>(owner))
{
    setWindowTitle(QStringLiteral("Properties"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    edTitle = new QLineEdit;
    edTitle->setMinimumWidth(320);
    cbSourceDatabase = new QComboBox;
    cbSourceDatabase->addItems(DatabaseNames(service));
    edComposedBy = new QLineEdit;
    mmoComments = new QPlainTextEdit;
    edLastLoad = new QLineEdit;
    edLastLoad->setReadOnly(true);
    form->addRow(QStringLiteral("&Title:"), edTitle);
    form->addRow(QStringLiteral("Source &Database:"), cbSourceDatabase);
    form->addRow(QStringLiteral("&Composed by:"), edComposedBy);
    form->addRow(QStringLiteral("Co&mments:"), mmoComments);
    form->addRow(QStringLiteral("Last load:"), edLastLoad);
    layout->addLayout(form);
    QDialogButtonBox *buttons = SaveCancel(this, QStringLiteral("&Save"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TVXProperties::SaveClick);
    layout->addWidget(buttons);
    if (m_window) {
        edTitle->setText(m_window->Title);
        cbSourceDatabase->setCurrentText(m_window->SourceDatabase);
        edComposedBy->setText(m_window->ComposedBy);
        mmoComments->setPlainText(m_window->Comments);
        const int loaded = service ? service->GetSourceDBLastLoaded(m_window->SourceDatabase) : 0;
        // Stored as seconds since the epoch; 0 means never loaded.
        edLastLoad->setText(loaded > 0 ? QDateTime::fromSecsSinceEpoch(loaded).toString(
                                    QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                                       : QString());
    }
}

void TVXProperties::SaveClick()
{
    if (m_window)
        m_window->ApplyProperties(edTitle->text(), edComposedBy->text(), mmoComments->toPlainText(),
                                  cbSourceDatabase->currentText());
    accept();
}

TVXRepositories::TVXRepositories(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(QStringLiteral("Repositories"));
    auto *layout = new QFormLayout(this);
    clRepositories = new QListWidget;
    for (const char *name : {"OMNIS", "PoweBuilder", "PVCS", "Visual SourceSafe"}) {
        auto *item = new QListWidgetItem(QLatin1String(name), clRepositories);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    grPaths = new QTableWidget(1, 1);
    grPaths->setHorizontalHeaderLabels({QStringLiteral("Path")});
    grPaths->horizontalHeader()->setStretchLastSection(true);
    layout->addRow(QStringLiteral("Repository:"), clRepositories);
    layout->addRow(QStringLiteral("Path(s):"), grPaths);
    QDialogButtonBox *buttons = SaveCancel(this, QStringLiteral("&Save"));
    // Nothing is kept yet: Save closes, as Cancel does.
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addRow(buttons);
}

TVXExport::TVXExport(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(QStringLiteral("Export"));
    auto *layout = new QFormLayout(this);
    edDirectory = new QLineEdit(
            QDir::toNativeSeparators(QDir::homePath() + QStringLiteral("/MyExport")));
    edDirectory->setMinimumWidth(320);
    auto *browse = new QPushButton(QStringLiteral("..."));
    browse->setFixedWidth(28);
    auto *directory = new QHBoxLayout;
    directory->addWidget(edDirectory, 1);
    directory->addWidget(browse);
    cbSourceDatabase = new QComboBox;
    cbSourceDatabase->addItem(QStringLiteral("Local"));
    cbSourceDatabase->addItems(DatabaseNames(service));
    auto *directoryLabel = new QLabel(QStringLiteral("To &Directory:"));
    directoryLabel->setBuddy(edDirectory);
    layout->addRow(directoryLabel, directory);
    layout->addRow(QStringLiteral("Source &Database:"), cbSourceDatabase);
    QDialogButtonBox *buttons = SaveCancel(this, QStringLiteral("&Export"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addRow(buttons);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
                this, QStringLiteral("To Directory"), edDirectory->text());
        if (!folder.isEmpty())
            edDirectory->setText(QDir::toNativeSeparators(folder));
    });
}
