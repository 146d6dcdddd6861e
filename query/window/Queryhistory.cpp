// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/window/Queryhistory.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

TVXQueryHistory::TVXQueryHistory(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(QStringLiteral("Query History"));
    auto *layout = new QVBoxLayout(this);
    m_picture = new QLabel;
    m_picture->setObjectName(QStringLiteral("imgHistory"));
    m_picture->setMinimumSize(400, 240);
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_picture->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_picture, 1);
    m_menu = new QMenu(this);
    // The history keeps no rows yet: clearing has nothing to remove.
    m_menu->addAction(QStringLiteral("Clear this row"));
    m_menu->addAction(QStringLiteral("Clear all rows"));
    connect(m_picture, &QLabel::customContextMenuRequested, this,
            [this](const QPoint &at) { m_menu->popup(m_picture->mapToGlobal(at)); });
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("Save"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
