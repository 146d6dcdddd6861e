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

bool TVXQueryResultModel::Append(const TVXQueryResultRow &row)
{
    const Key key = PrimaryKey(row);
    if (m_keys.count(key) > 0)
        return false;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size()));
    m_keys.insert(key);
    m_rows.append(row);
    endInsertRows();
    return true;
}

void TVXQueryResultModel::Clear()
{
    beginResetModel();
    m_rows.clear();
    m_keys.clear();
    endResetModel();
}

void TVXQueryResultModel::SetIndexFieldNames(const QString &fields)
{
    QList<int> order;
    for (const QString &field : fields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (const int f = int(FieldNames().indexOf(field.trimmed())); f >= 0)
            order << f;
    if (order.isEmpty())
        order = {7, 8, 9, 10, 13}; // the primary index
    beginResetModel();
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [&](const TVXQueryResultRow &a, const TVXQueryResultRow &b) {
                         for (const int f : std::as_const(order)) {
                             const QVariant x = FieldValue(a, f), y = FieldValue(b, f);
                             if (x != y)
                                 return QVariant::compare(x, y) == QPartialOrdering::Less;
                         }
                         return false;
                     });
    endResetModel();
}
