// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Queryrow.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QRadioButton>

TVXQueryRow::TVXQueryRow(QWidget *owner)
    : QFrame(owner)
{
    setFixedSize(RowWidth, RowHeight);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    cbAttribute = new QComboBox;
    cbAttribute->setObjectName(QStringLiteral("cbAttribute"));
    cbAttribute->setMaxVisibleItems(9);
    cbOperator = new QComboBox;
    cbOperator->setObjectName(QStringLiteral("cbOperator"));
    cbValue = new QComboBox;
    cbValue->setObjectName(QStringLiteral("cbValue"));
    cbValue->setEditable(true);
    cbValue->setInsertPolicy(QComboBox::NoInsert);
    rbAnd = new QRadioButton(QStringLiteral("And"));
    rbOr = new QRadioButton(QStringLiteral("Or"));
    rbEnd = new QRadioButton(QStringLiteral("End"));
    rbEnd->setChecked(true);
    layout->addWidget(cbAttribute, 3);
    layout->addWidget(cbOperator, 2);
    layout->addWidget(cbValue, 3);
    layout->addWidget(rbAnd);
    layout->addWidget(rbOr);
    layout->addWidget(rbEnd);
}

void TVXQueryRow::AddAttribute(const QString &text, const TVXQueryRowChoice &choice)
{
    cbAttribute->addItem(text);
    m_attributes.push_back(choice);
}

void TVXQueryRow::AddOperator(const QString &text, TOperator op)
{
    cbOperator->addItem(text);
    m_operators.push_back(op);
}

TVXQueryRowChoice TVXQueryRow::AttributeChoice() const
{
    const int at = cbAttribute->currentIndex();
    return at < 0 || size_t(at) >= m_attributes.size() ? TVXQueryRowChoice()
                                                       : m_attributes[size_t(at)];
}

TOperator TVXQueryRow::OperatorChoice() const
{
    const int at = cbOperator->currentIndex();
    return at < 0 || size_t(at) >= m_operators.size() ? VXOperator::None : m_operators[size_t(at)];
}

QString TVXQueryRow::Value() const
{
    return cbValue->currentText();
}
