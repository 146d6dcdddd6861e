// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Filter.h"

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
    for (const RowWidgets &row : std::as_const(m_rows))
        delete row.Frame;
    m_rows.clear();
    AddFilterRow();
}

void TVXFilter::AddFilterRow()
{
    RowWidgets row;
    row.Frame = new QWidget;
    auto *line = new QHBoxLayout(row.Frame);
    line->setContentsMargins(0, 0, 0, 0);
    row.Attribute = new QComboBox;
    for (const int attribute : std::as_const(m_offered))
        row.Attribute->addItem(AttributeCaption(attribute), attribute);
    row.Attribute->setCurrentIndex(-1);
    row.Operator = new QComboBox;
    row.Operator->addItems(OperatorCaptions());
    row.Operator->setCurrentIndex(-1);
    row.Value = new QLineEdit;
    row.And = new QRadioButton(QStringLiteral("And"));
    row.Or = new QRadioButton(QStringLiteral("Or"));
    row.End = new QRadioButton(QStringLiteral("End"));
    row.End->setChecked(true);
    line->addWidget(row.Attribute);
    line->addWidget(row.Operator);
    line->addWidget(row.Value, 1);
    line->addWidget(row.And);
    line->addWidget(row.Or);
    line->addWidget(row.End);
    m_area->addWidget(row.Frame);
    const int index = int(m_rows.size());
    for (QRadioButton *button : {row.And, row.Or, row.End})
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
    if (m_rows[i].End->isChecked()) {
        while (m_rows.size() > i + 1)
            delete m_rows.takeLast().Frame;
    } else if (i == m_rows.size() - 1) {
        AddFilterRow();
    }
}

TVXFilter::Row TVXFilter::GetQueryRow(int i) const
{
    const RowWidgets &widgets = m_rows[i];
    Row row;
    row.AndPrevious = i == 0 || m_rows[i - 1].And->isChecked();
    row.Attribute
            = widgets.Attribute->currentIndex() < 0 ? -1 : widgets.Attribute->currentData().toInt();
    row.Operator = widgets.Operator->currentIndex();
    row.Value = widgets.Value->text();
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
        RowWidgets &widgets = m_rows[i];
        widgets.Attribute->setCurrentIndex(widgets.Attribute->findData(rows[i].Attribute));
        widgets.Operator->setCurrentIndex(rows[i].Operator);
        widgets.Value->setText(rows[i].Value);
        if (i > 0) {
            const QSignalBlocker block(m_rows[i - 1].And);
            (rows[i].AndPrevious ? m_rows[i - 1].And : m_rows[i - 1].Or)->setChecked(true);
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
