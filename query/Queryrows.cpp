// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Queryrows.h"

#include "query/Queryattributes.h"
#include "repository/Dataaccessinterface.h"

#include <QComboBox>
#include <QRadioButton>

TVXQueryRows::TVXQueryRows(Kind kind, TVXDataAccessInterface *db, QWidget *owner)
    : QWidget(owner)
    , m_kind(kind)
    , m_db(db)
{}

TVXQueryRow *TVXQueryRows::AddRow(int attribute, int op, const QString &value, int previousLink)
{
    const int n = int(m_rows.size());
    auto *row = new TVXQueryRow(this);
    row->setObjectName((m_kind == Kind::Find ? QStringLiteral("FindRow") : QStringLiteral("InRow"))
                       + QString::number(n + 1));
    row->move(10, 22 * n);
    const QList<TVXQueryAttribute> &attributes = m_kind == Kind::Find
                                                         ? VXQueryAttributes::FindAttributes()
                                                         : VXQueryAttributes::InAttributes();
    for (const TVXQueryAttribute &entry : attributes) {
        TVXQueryRowChoice choice;
        if (m_db) {
            choice.Table = m_db->GetTable(entry.Table);
            choice.Field = m_db->GetField(choice.Table, entry.Field);
        }
        choice.TypeKey = entry.TypeKey;
        row->AddAttribute(entry.Text, choice);
    }
    for (const TVXQueryOperator &entry : VXQueryAttributes::Operators())
        row->AddOperator(entry.Text, entry.Operator);
    row->cbAttribute->setCurrentIndex(0);
    row->cbOperator->setCurrentIndex(0);
    m_rows << row;
    ShareHistory();
    if (attribute >= 0)
        row->cbAttribute->setCurrentIndex(attribute);
    if (op >= 0)
        row->cbOperator->setCurrentIndex(op);
    if (!value.isEmpty())
        row->cbValue->setEditText(value);
    if (n > 0 && previousLink == 1)
        m_rows[n - 1]->rbAnd->setChecked(true);
    else if (n > 0 && previousLink == 2)
        m_rows[n - 1]->rbOr->setChecked(true);
    for (QRadioButton *button : {row->rbAnd, row->rbOr})
        connect(button, &QRadioButton::clicked, this, [this, row] { Chosen(row, false); });
    connect(row->rbEnd, &QRadioButton::clicked, this, [this, row] { Chosen(row, true); });
    setMinimumSize(TVXQueryRow::RowWidth + 10, 22 * int(m_rows.size()));
    row->show();
    return row;
}

// The value of the row before joins the history of the first row's list, and every row
// offers that list.
void TVXQueryRows::ShareHistory()
{
    if (m_rows.size() < 2)
        return;
    const QString previous = m_rows[m_rows.size() - 2]->Value();
    QComboBox *first = m_rows.first()->cbValue;
    if (!previous.isEmpty() && first->findText(previous) < 0)
        first->addItem(previous);
    QStringList history;
    for (int i = 0; i < first->count(); ++i)
        history << first->itemText(i);
    for (TVXQueryRow *row : std::as_const(m_rows)) {
        if (row == m_rows.first())
            continue;
        const QString typed = row->cbValue->currentText();
        row->cbValue->clear();
        row->cbValue->addItems(history);
        row->cbValue->setEditText(typed);
    }
}

void TVXQueryRows::Chosen(TVXQueryRow *row, bool end)
{
    const qsizetype at = m_rows.indexOf(row);
    if (at < 0)
        return;
    if (end) {
        while (m_rows.size() > at + 1)
            delete m_rows.takeLast();
        setMinimumSize(TVXQueryRow::RowWidth + 10, 22 * int(m_rows.size()));
        return;
    }
    if (at != m_rows.size() - 1)
        return;
    if (!Check()) {
        row->rbEnd->setChecked(true);
        return;
    }
    AddRow();
}

bool TVXQueryRows::Check()
{
    if (m_rows.isEmpty())
        return true;
    const TVXQueryRow *last = m_rows.last();
    QString failure;
    if (last->cbAttribute->currentIndex() < 0)
        failure = QStringLiteral("Attribute is required");
    else if (last->cbOperator->currentIndex() < 0)
        failure = QStringLiteral("Operator is required");
    else if (m_kind == Kind::In && last->Value().isEmpty())
        failure = QStringLiteral("At least one character is required for Value");
    if (failure.isEmpty())
        return true;
    if (Say)
        Say(failure);
    return false;
}

void TVXQueryRows::Clear()
{
    RemoveAll();
    AddRow();
}

void TVXQueryRows::RemoveAll()
{
    qDeleteAll(m_rows);
    m_rows.clear();
    setMinimumSize(TVXQueryRow::RowWidth + 10, 0);
}
