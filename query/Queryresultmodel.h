// SPDX-License-Identifier: GPL-3.0-or-later
// The result table of a search: one row per qualifying statement, unique over file,
// object, entry, row and execution order, shown by the Query window and printed by
// velunor-cli. Fields are addressed by their names, as the window's documents store them.
#pragma once

#include "base/Export.h"

#include <QAbstractTableModel>
#include <QSet>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <set>
#include <tuple>

struct TVXQueryResultRow
{
    QString QRSystemName;
    QString QRComputerName;
    QString QRApplicationName;
    QString QRObjectName;
    QString QREntryName;
    QString QRRow;
    QString QRLanguageName;
    int QRFileID = 0;
    int QRObjectID = 0;
    int QREntryID = 0;
    int QRRowID = 0;
    int QRWordID = 0;
    int QRLanguageID = 0;
    int QRExeOrder = 0;
    int QRSectionLevel = 0;
    int QRCallToIndex = 0;
};

class VXCORE_EXPORT TVXQueryResultModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Hits, calls that a sequential track inserted, rule rows that Include Rules inserted,
    // and other inserted rows.
    enum class RowKind { Hit, Call, Rule, Inserted };
    static RowKind KindOf(const TVXQueryResultRow &row);
    // A row from the display texts of every column in field order, as a query document
    // stores it; false when a number column does not hold a number.
    static bool FromTexts(const QStringList &texts, TVXQueryResultRow &row);

    explicit TVXQueryResultModel(QObject *owner = nullptr);

    static const QStringList &FieldNames();
    // The columns a user sees, with their labels.
    static const QStringList &VisibleFields();
    static QString DisplayLabel(const QString &field);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    int RecordCount() const { return int(m_rows.size()); }
    const TVXQueryResultRow &Row(int row) const { return m_rows[row]; }
    const QList<TVXQueryResultRow> &Rows() const { return m_rows; }
    QVariant Value(int row, const QString &field) const;
    // False (and nothing added) when the primary index already holds the statement.
    bool Append(const TVXQueryResultRow &row);
    void Clear();
    // Orders the rows by the fields named, separated by ";" (as index field names are).
    void SetIndexFieldNames(const QString &fields);
    const QString &IndexFieldNames() const { return m_indexFieldNames; }
    void SetRowText(int row, const QString &text);
    // Removes the rows the test holds for; returns how many.
    int RemoveRowsWhere(const std::function<bool(const TVXQueryResultRow &)> &test);

private:
    using Key = std::tuple<int, int, int, int, int>;
    static Key PrimaryKey(const TVXQueryResultRow &row);
    bool Less(const TVXQueryResultRow &a, const TVXQueryResultRow &b) const;

    QList<TVXQueryResultRow> m_rows;
    std::set<Key> m_keys;
    QString m_indexFieldNames;
    QList<int> m_order{7, 8, 9, 10, 13};
};
