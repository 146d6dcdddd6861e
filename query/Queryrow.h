// SPDX-License-Identifier: GPL-3.0-or-later
// One row of a search as the user composes it: an attribute, an operator and a value, and
// how the next row joins it (And, Or) or that it is the last (End). Every entry of the
// attribute and operator lists carries its choice: the data access handles and type key an
// attribute stands for, or the operator.
#pragma once

#include "base/Export.h"

#include "parsing/Globals.h"

#include <QFrame>

#include <vector>

class QComboBox;
class QRadioButton;

struct TVXQueryRowChoice
{
    int Table = 0;
    int Field = 0;
    int TypeKey = 0;
    TOperator Operator = VXOperator::None;
};

class VXCORE_EXPORT TVXQueryRow : public QFrame
{
    Q_OBJECT
public:
    static constexpr int RowWidth = 618;
    static constexpr int RowHeight = 21;

    explicit TVXQueryRow(QWidget *owner = nullptr);

    QComboBox *cbAttribute = nullptr;
    QComboBox *cbOperator = nullptr;
    QComboBox *cbValue = nullptr;
    QRadioButton *rbAnd = nullptr;
    QRadioButton *rbOr = nullptr;
    QRadioButton *rbEnd = nullptr;

    // Fills a list with its texts and the choice behind each.
    void AddAttribute(const QString &text, const TVXQueryRowChoice &choice);
    void AddOperator(const QString &text, TOperator op);
    // The choices of the selected entries; none (all zero) without a selection.
    TVXQueryRowChoice AttributeChoice() const;
    TOperator OperatorChoice() const;
    QString Value() const;

private:
    std::vector<TVXQueryRowChoice> m_attributes;
    std::vector<TOperator> m_operators;
};
