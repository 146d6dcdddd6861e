// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Queryresultmodel.h"

#include <algorithm>

namespace {

QVariant FieldValue(const TVXQueryResultRow &row, int field)
{
    switch (field) {
    case 0:
        return row.QRSystemName;
    case 1:
        return row.QRComputerName;
    case 2:
        return row.QRApplicationName;
    case 3:
        return row.QRObjectName;
    case 4:
        return row.QREntryName;
    case 5:
        return row.QRRow;
    case 6:
        return row.QRLanguageName;
    case 7:
        return row.QRFileID;
    case 8:
        return row.QRObjectID;
    case 9:
        return row.QREntryID;
    case 10:
        return row.QRRowID;
    case 11:
        return row.QRWordID;
    case 12:
        return row.QRLanguageID;
    case 13:
        return row.QRExeOrder;
    case 14:
        return row.QRSectionLevel;
    case 15:
        return row.QRCallToIndex;
    default:
        return {};
    }
}

} // namespace

TVXQueryResultModel::TVXQueryResultModel(QObject *owner)
    : QAbstractTableModel(owner)
{}

const QStringList &TVXQueryResultModel::FieldNames()
{
    static const QStringList names{
            QStringLiteral("QRSystemName"),      QStringLiteral("QRComputerName"),
            QStringLiteral("QRApplicationName"), QStringLiteral("QRObjectName"),
            QStringLiteral("QREntryName"),       QStringLiteral("QRRow"),
            QStringLiteral("QRLanguageName"),    QStringLiteral("QRFileID"),
            QStringLiteral("QRObjectID"),        QStringLiteral("QREntryID"),
            QStringLiteral("QRRowID"),           QStringLiteral("QRWordID"),
            QStringLiteral("QRLanguageID"),      QStringLiteral("QRExeOrder"),
            QStringLiteral("QRSectionLevel"),    QStringLiteral("QRCallToIndex")};
    return names;
}

const QStringList &TVXQueryResultModel::VisibleFields()
{
    static const QStringList names{
            QStringLiteral("QRSystemName"),      QStringLiteral("QRComputerName"),
            QStringLiteral("QRApplicationName"), QStringLiteral("QRObjectName"),
            QStringLiteral("QREntryName"),       QStringLiteral("QRRow")};
    return names;
}

QString TVXQueryResultModel::DisplayLabel(const QString &field)
{
    static const QHash<QString, QString> labels{
            {QStringLiteral("QRSystemName"), QStringLiteral("System")},
            {QStringLiteral("QRComputerName"), QStringLiteral("Computer")},
            {QStringLiteral("QRApplicationName"), QStringLiteral("Application")},
            {QStringLiteral("QRObjectName"), QStringLiteral("Object")},
            {QStringLiteral("QREntryName"), QStringLiteral("Entry")},
            {QStringLiteral("QRRow"), QStringLiteral("Line of Code in Statement")},
            {QStringLiteral("QRLanguageName"), QStringLiteral("Language")}};
    return labels.value(field, field);
}

int TVXQueryResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TVXQueryResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(FieldNames().size());
}

QVariant TVXQueryResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= m_rows.size())
        return {};
    return FieldValue(m_rows[index.row()], index.column());
}

QVariant TVXQueryResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= FieldNames().size())
        return {};
    return DisplayLabel(FieldNames()[section]);
}

QVariant TVXQueryResultModel::Value(int row, const QString &field) const
{
    return FieldValue(m_rows[row], int(FieldNames().indexOf(field)));
}

TVXQueryResultModel::Key TVXQueryResultModel::PrimaryKey(const TVXQueryResultRow &row)
{
    return {row.QRFileID, row.QRObjectID, row.QREntryID, row.QRRowID, row.QRExeOrder};
}

bool TVXQueryResultModel::Less(const TVXQueryResultRow &a, const TVXQueryResultRow &b) const
{
    for (const int f : m_order) {
        const QVariant x = FieldValue(a, f), y = FieldValue(b, f);
        if (x != y)
            return QVariant::compare(x, y) == QPartialOrdering::Less;
    }
    return false;
}

bool TVXQueryResultModel::Append(const TVXQueryResultRow &row)
{
    const Key key = PrimaryKey(row);
    if (m_keys.count(key) > 0)
        return false;
    // Once an order is set, rows fetched later take their place in it, as an index keeps
    // its table.
    const int at = m_indexFieldNames.isEmpty()
                           ? int(m_rows.size())
                           : int(std::upper_bound(
                                         m_rows.begin(), m_rows.end(), row,
                                         [this](const TVXQueryResultRow &a,
                                                const TVXQueryResultRow &b) { return Less(a, b); })
                                 - m_rows.begin());
    beginInsertRows({}, at, at);
    m_keys.insert(key);
    m_rows.insert(at, row);
    endInsertRows();
    return true;
}

void TVXQueryResultModel::Clear()
{
    beginResetModel();
    m_rows.clear();
    m_keys.clear();
    m_indexFieldNames.clear();
    endResetModel();
}

TVXQueryResultModel::RowKind TVXQueryResultModel::KindOf(const TVXQueryResultRow &row)
{
    if (row.QRCallToIndex > 0)
        return RowKind::Call;
    if (row.QRWordID > 1)
        return RowKind::Hit;
    return row.QRWordID == 0 ? RowKind::Rule : RowKind::Inserted;
}

bool TVXQueryResultModel::FromTexts(const QStringList &texts, TVXQueryResultRow &row)
{
    if (texts.size() < FieldNames().size())
        return false;
    row.QRSystemName = texts[0];
    row.QRComputerName = texts[1];
    row.QRApplicationName = texts[2];
    row.QRObjectName = texts[3];
    row.QREntryName = texts[4];
    row.QRRow = texts[5];
    row.QRLanguageName = texts[6];
    bool ok = true;
    for (const auto &[field, column] : {std::pair{&row.QRFileID, 7},
                                        {&row.QRObjectID, 8},
                                        {&row.QREntryID, 9},
                                        {&row.QRRowID, 10},
                                        {&row.QRWordID, 11},
                                        {&row.QRLanguageID, 12},
                                        {&row.QRExeOrder, 13},
                                        {&row.QRSectionLevel, 14},
                                        {&row.QRCallToIndex, 15}}) {
        bool number = false;
        *field = texts[column].toInt(&number);
        ok = ok && number;
    }
    return ok;
}

void TVXQueryResultModel::SetRowText(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].QRRow = text;
    const QModelIndex cell = index(row, 5);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}

int TVXQueryResultModel::RemoveRowsWhere(const std::function<bool(const TVXQueryResultRow &)> &test)
{
    beginResetModel();
    const qsizetype before = m_rows.size();
    m_rows.removeIf([&](const TVXQueryResultRow &row) {
        if (!test(row))
            return false;
        m_keys.erase(PrimaryKey(row));
        return true;
    });
    endResetModel();
    return int(before - m_rows.size());
}

void TVXQueryResultModel::SetIndexFieldNames(const QString &fields)
{
    m_indexFieldNames = fields;
    m_order.clear();
    for (const QString &field : fields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (const int f = int(FieldNames().indexOf(field.trimmed())); f >= 0)
            m_order << f;
    if (m_order.isEmpty())
        m_order = {7, 8, 9, 10, 13}; // the primary index
    beginResetModel();
    std::stable_sort(
            m_rows.begin(), m_rows.end(),
            [this](const TVXQueryResultRow &a, const TVXQueryResultRow &b) { return Less(a, b); });
    endResetModel();
}
