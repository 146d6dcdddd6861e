// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Dependentrows.h"

#include <QBoxLayout>
#include <QListWidget>
#include <QPushButton>

TVXDependentRows::TVXDependentRows(QWidget *owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Dependent Rows"));
    resize(720, 360);
    auto *layout = new QVBoxLayout(this);
    m_rows = new QListWidget;
    m_rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    m_rows->setFont(fixed);
    layout->addWidget(m_rows);
    auto *close = new QPushButton(QStringLiteral("Close"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void TVXDependentRows::AddRow(const QString &text)
{
    m_rows->addItem(text);
}

QStringList TVXDependentRows::Rows() const
{
    QStringList rows;
    for (int i = 0; i < m_rows->count(); ++i)
        rows << m_rows->item(i)->text();
    return rows;
}
