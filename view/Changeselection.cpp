// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Changeselection.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TVXChangeSelection::TVXChangeSelection(QWidget *owner,
                                       std::function<void(const QString &, bool)> apply)
    : QDialog(owner)
    , m_apply(std::move(apply))
{
    setWindowTitle(QStringLiteral("Change Selection"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Items Text begins with:")));
    m_text = new QLineEdit;
    layout->addWidget(m_text);
    auto *choice = new QHBoxLayout;
    m_deselect = new QRadioButton(QStringLiteral("Deselect"));
    m_select = new QRadioButton(QStringLiteral("Select"));
    m_deselect->setChecked(true);
    choice->addWidget(m_deselect);
    choice->addWidget(m_select);
    choice->addStretch();
    auto *applyButton = new QPushButton(QStringLiteral("Apply"));
    choice->addWidget(applyButton);
    layout->addLayout(choice);
    connect(applyButton, &QPushButton::clicked, this, &TVXChangeSelection::Apply);
}

void TVXChangeSelection::Apply()
{
    if (m_apply)
        m_apply(m_text->text(), m_select->isChecked());
}
