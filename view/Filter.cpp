// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Filter.h"

#include "query/Queryattributes.h"
#include "query/Queryrow.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

struct Column
{
    const char *Caption;
    const char *Table;
    const char *Field;
};

const Column Columns[TVXFilter::AttributeCount] = {
        {"Systems Name", "VXATTRIBUTE", "VXAttributeName"},
        {"Computers Name", "VXATTRIBUTE", "VXAttributeName"},
        {"Applications Name", "VXATTRIBUTE", "VXAttributeName"},
        {"Packages Name", "VXPACKAGE", "VXPackageName"},
        {"Objects Name", "VXOBJECT", "VXObjectName"},
        {"Objects Type", "VXOBJECT", "VXObjectType"},
        {"Entrys Name", "VXENTRY", "VXEntryName"},
        {"Line of Code", "VXROW", "VXRow"},
        {"Variables Name", "VXWORD", "VXWord"},
        {"Variables Type", "VXWORD", "VXObjectIdentifier"},
        {"Files Name", "VXFILE", "VXFileName"},
};

// column = 'value', LIKE '%value%', 'value%', '%value'; without case both sides upper.
TVXCondition Compare(const QString &field, int op, const QString &value, bool caseSensitive)
{
    const QString column
            = caseSensitive ? field : QStringLiteral("Upper(") + field + QLatin1Char(')');
    const QString v = caseSensitive ? value : value.toUpper();
    switch (op) {
    case 0:
        return TVXCondition(column + QStringLiteral(" = ?"), {v});
    case 1:
        return TVXCondition(column + QStringLiteral(" LIKE ?"),
                            {QLatin1Char('%') + v + QLatin1Char('%')});
    case 2:
        return TVXCondition(column + QStringLiteral(" LIKE ?"), {v + QLatin1Char('%')});
    case 3:
        return TVXCondition(column + QStringLiteral(" LIKE ?"), {QLatin1Char('%') + v});
    default:
        return {};
    }
}

// Both conditions, the first kept whole whatever it joins with OR.
void Within(TVXCondition &into, const TVXCondition &condition)
{
    into = into.IsEmpty() ? condition
                          : QStringLiteral("(") + into + QStringLiteral(") AND ") + condition;
}

void Join(TVXCondition &into, const TVXCondition &condition, bool andPrevious)
{
    if (condition.IsEmpty())
        return;
    into = into.IsEmpty() ? condition
                          : into + (andPrevious ? QStringLiteral(" AND ") : QStringLiteral(" OR "))
                                    + condition;
}

} // namespace

QString TVXFilter::AttributeCaption(int attribute)
{
    return attribute >= 0 && attribute < AttributeCount ? QLatin1String(Columns[attribute].Caption)
                                                        : QString();
}

const QStringList &TVXFilter::OperatorCaptions()
{
    static const QStringList captions{QStringLiteral("equals"), QStringLiteral("contains"),
                                      QStringLiteral("begins with"), QStringLiteral("ends with")};
    return captions;
}

TVXFilter::TVXFilter(QWidget *owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("RootItem Filter"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral(" Show only: "), this);
    m_area = new QVBoxLayout(group);
    layout->addWidget(group);
    m_caseSensitive = new QCheckBox(QStringLiteral("Case sensitive"));
    layout->addWidget(m_caseSensitive);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *apply = new QPushButton(QStringLiteral("Apply"));
    auto *clear = new QPushButton(QStringLiteral("Clear"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"));
    buttons->addWidget(apply);
    buttons->addWidget(clear);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(apply, &QPushButton::clicked, this, &TVXFilter::cbApplyClick);
    connect(clear, &QPushButton::clicked, this, &TVXFilter::cbClearClick);
    connect(cancel, &QPushButton::clicked, this, &TVXFilter::cbCancelClick);
    InitFilter(QStringLiteral("System"));
}

void TVXFilter::InitFilter(const QString &viewBy)
{
    static const QHash<QString, QList<int>> offered{
            {QStringLiteral("System"), {SystemsName}},
            {QStringLiteral("Computer"), {ComputersName}},
            {QStringLiteral("Application"), {ApplicationsName}},
            {QStringLiteral("Package"), {PackagesName}},
            {QStringLiteral("Object"), {ObjectsName, ObjectsType}},
            {QStringLiteral("Entry"), {ObjectsName, ObjectsType, EntrysName}},
            {QStringLiteral("Code"), {ObjectsName, ObjectsType, EntrysName, LineOfCode}},
            {QStringLiteral("Data"), {ObjectsName, ObjectsType, VariablesName, VariablesType}}};
    m_offered = offered.value(viewBy, {SystemsName});
    m_offered << FilesName;
    qDeleteAll(m_rows);
    m_rows.clear();
    AddFilterRow();
}

void TVXFilter::AddFilterRow()
{
    auto *row = new TVXQueryRow;
    row->setObjectName(QStringLiteral("FilterRow") + QString::number(m_rows.size() + 1));
    for (const int attribute : std::as_const(m_offered)) {
        row->AddAttribute(AttributeCaption(attribute), {});
        row->cbAttribute->setItemData(row->cbAttribute->count() - 1, attribute);
    }
    // The user chooses both: a row left as it came is not a condition.
    row->cbAttribute->setCurrentIndex(-1);
    for (const TVXQueryOperator &entry : VXQueryAttributes::Operators())
        row->AddOperator(entry.Text, entry.Operator);
    row->cbOperator->setCurrentIndex(-1);
    m_area->addWidget(row);
    const int index = int(m_rows.size());
    for (QRadioButton *button : {row->rbAnd, row->rbOr, row->rbEnd})
        connect(button, &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                Connector(index);
        });
    m_rows << row;
}

// And or Or on the last row asks for one more; End drops the rows after it.
void TVXFilter::Connector(int i)
{
    if (i >= m_rows.size())
        return;
    if (m_rows[i]->rbEnd->isChecked()) {
        while (m_rows.size() > i + 1)
            delete m_rows.takeLast();
    } else if (i == m_rows.size() - 1) {
        AddFilterRow();
    }
}

TVXFilter::Row TVXFilter::GetQueryRow(int i) const
{
    const TVXQueryRow *widgets = m_rows[i];
    Row row;
    row.AndPrevious = i == 0 || m_rows[i - 1]->rbAnd->isChecked();
    row.Attribute = widgets->cbAttribute->currentIndex() < 0
                            ? -1
                            : widgets->cbAttribute->currentData().toInt();
    row.Operator = widgets->cbOperator->currentIndex();
    row.Value = widgets->Value();
    return row;
}

QList<TVXFilter::Row> TVXFilter::Rows() const
{
    QList<Row> rows;
    for (int i = 0; i < m_rows.size(); ++i) {
        const Row row = GetQueryRow(i);
        // An untouched last row is no condition.
        if (i > 0 && i == m_rows.size() - 1 && row.Attribute < 0 && row.Value.isEmpty())
            break;
        rows << row;
    }
    return rows;
}

void TVXFilter::SetRows(const QList<Row> &rows, bool caseSensitive)
{
    m_caseSensitive->setChecked(caseSensitive);
    for (int i = 0; i < rows.size(); ++i) {
        if (i >= m_rows.size())
            AddFilterRow();
        TVXQueryRow *widgets = m_rows[i];
        widgets->cbAttribute->setCurrentIndex(widgets->cbAttribute->findData(rows[i].Attribute));
        widgets->cbOperator->setCurrentIndex(rows[i].Operator);
        widgets->cbValue->setEditText(rows[i].Value);
        if (i > 0) {
            TVXQueryRow *previous = m_rows[i - 1];
            const QSignalBlocker block(previous->rbAnd);
            const QSignalBlocker blockOr(previous->rbOr);
            (rows[i].AndPrevious ? previous->rbAnd : previous->rbOr)->setChecked(true);
        }
    }
}

bool TVXFilter::CaseSensitive() const
{
    return m_caseSensitive->isChecked();
}

QString TVXFilter::CheckFilterRow(int i) const
{
    const Row row = GetQueryRow(i);
    if (row.Attribute < 0)
        return QStringLiteral("Attribute is required");
    if (row.Operator < 0)
        return QStringLiteral("Operator is required");
    if (row.Value.isEmpty())
        return QStringLiteral("At least one character is required for Value");
    return {};
}

void TVXFilter::cbApplyClick()
{
    const QList<Row> rows = Rows();
    for (int i = 0; i < rows.size(); ++i)
        if (const QString failure = CheckFilterRow(i); !failure.isEmpty()) {
            if (Say)
                Say(failure);
            return;
        }
    m_result = Result::Changed;
    accept();
}

void TVXFilter::cbClearClick()
{
    InitFilter(QString());
    m_result = Result::Cleared;
    accept();
}

void TVXFilter::cbCancelClick()
{
    m_result = Result::None;
    reject();
}

TVXRootFilter TVXFilter::Conditions(const QList<Row> &rows, bool caseSensitive)
{
    TVXRootFilter filter;
    TVXCondition files;
    for (const Row &row : rows) {
        if (row.Attribute < 0 || row.Attribute >= AttributeCount)
            continue;
        const Column &column = Columns[row.Attribute];
        const TVXCondition condition
                = Compare(QLatin1String(column.Field), row.Operator, row.Value, caseSensitive);
        switch (row.Attribute) {
        case SystemsName:
        case ComputersName:
        case ApplicationsName:
            Join(filter.Attributes, condition, row.AndPrevious);
            break;
        case PackagesName:
            Join(filter.Packages, condition, row.AndPrevious);
            break;
        case ObjectsName:
        case ObjectsType:
            Join(filter.Objects, condition, row.AndPrevious);
            break;
        case EntrysName:
            Join(filter.Entries, condition, row.AndPrevious);
            break;
        case LineOfCode:
            Join(filter.Rows, condition, row.AndPrevious);
            break;
        case VariablesName:
        case VariablesType:
            Join(filter.Words, condition, row.AndPrevious);
            break;
        case FilesName:
            Join(files, condition, row.AndPrevious);
            break;
        }
    }
    if (!files.IsEmpty()) {
        // A file name reaches each level through the files its rows lie in.
        const TVXCondition inFiles
                = QStringLiteral("VXFileID IN (SELECT VXFileID FROM VXFILE WHERE ") + files
                  + QStringLiteral(")");
        const TVXCondition groupings
                = QStringLiteral("(VXAttributeID IN (SELECT VXSystemID FROM VXFILE WHERE ") + files
                  + QStringLiteral(") OR VXAttributeID IN (SELECT VXComputerID FROM VXFILE WHERE ")
                  + files
                  + QStringLiteral(") OR VXAttributeID IN (SELECT VXApplicationID FROM VXFILE "
                                   "WHERE ")
                  + files + QStringLiteral("))");
        Within(filter.Attributes, groupings);
        Within(filter.Packages, inFiles);
        Within(filter.Objects, inFiles);
    }
    return filter;
}
