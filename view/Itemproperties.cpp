// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Itemproperties.h"

#include "view/Viewicons.h"
#include "view/Viewsource.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TVXItemProperties::TVXItemProperties(QWidget *owner, const TVXItem &item, TVXViewSource &source,
                                     int icon, std::function<void(const QString &)> say)
    : QDialog(owner)
    , m_item(item)
    , m_source(source)
    , m_say(std::move(say))
{
    setWindowTitle(QStringLiteral("Item Properties"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral(" Item: "), this);
    auto *form = new QFormLayout(group);
    layout->addWidget(group);

    const TVXItem::Kind kind = item.ItemKind();
    const bool grouping = kind == TVXItem::Kind::System || kind == TVXItem::Kind::Computer
                          || kind == TVXItem::Kind::Application;
    form->addRow(QStringLiteral("Type:"), new QLabel(item.KindName()));
    m_name = new QLineEdit(source.NameOf(item));
    m_name->setReadOnly(!grouping);
    form->addRow(QStringLiteral("Name:"), m_name);
    form->addRow(QStringLiteral("In File:"),
                 new QLabel(item.FileID > 0 ? source.FileName(item.FileID) : QString()));
    auto *picture = new QLabel;
    picture->setPixmap(VXViewIcon::Picture(icon).pixmap(16, 16));
    auto *iconRow = new QHBoxLayout;
    iconRow->addWidget(picture);
    iconRow->addWidget(new QLabel(QString::number(icon)));
    iconRow->addStretch();
    form->addRow(QStringLiteral("Icon:"), iconRow);
    form->addRow(QStringLiteral("VNID in DB:"), new QLabel(item.GetItemID()));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_save = new QPushButton(QStringLiteral("Save"));
    m_save->setEnabled(grouping);
    auto *close = new QPushButton(QStringLiteral("Close"));
    buttons->addWidget(m_save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_save, &QPushButton::clicked, this, [this] { Save(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

bool TVXItemProperties::Save()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        if (m_say)
            m_say(QStringLiteral("Name is required"));
        m_name->setFocus();
        return false;
    }
    if (!m_source.RenameGrouping(m_item, name))
        return false;
    accept();
    return true;
}
