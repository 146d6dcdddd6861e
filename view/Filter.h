// SPDX-License-Identifier: GPL-3.0-or-later
// The root-item filter of a View ("RootItem Filter"): rows of attribute, operator and
// value joined by And or Or, and the conditions they make on the repository's tables.
#pragma once

#include "view/Viewsource.h"

#include <QDialog>
#include <QList>

#include <functional>

class QCheckBox;
class QVBoxLayout;
class TVXQueryRow;

class TVXFilter : public QDialog
{
    Q_OBJECT
public:
    // The attributes a row can name, in the order documents number them.
    enum Attribute {
        SystemsName,
        ComputersName,
        ApplicationsName,
        PackagesName,
        ObjectsName,
        ObjectsType,
        EntrysName,
        LineOfCode,
        VariablesName,
        VariablesType,
        FilesName,
        AttributeCount
    };
    static QString AttributeCaption(int attribute);
    static const QStringList &OperatorCaptions();

    struct Row
    {
        bool AndPrevious = true; // how the row joins the one before it
        int Attribute = -1;
        int Operator = -1;
        QString Value;
    };
    enum class Result { None, Changed, Cleared };

    explicit TVXFilter(QWidget *owner);

    // Offers the attributes of a View By level.
    void InitFilter(const QString &viewBy);
    void AddFilterRow();
    int RowCount() const { return int(m_rows.size()); }
    // The row as the dialog holds it.
    Row GetQueryRow(int i) const;
    void SetRows(const QList<Row> &rows, bool caseSensitive);
    bool CaseSensitive() const;
    // The first failure of a row, or empty.
    QString CheckFilterRow(int i) const;

    void cbApplyClick();
    void cbClearClick();
    void cbCancelClick();
    Result State() const { return m_result; }

    // The rows as conditions on the tables the View reads.
    static TVXRootFilter Conditions(const QList<Row> &rows, bool caseSensitive);
    QList<Row> Rows() const;

    // Where messages go (the service object's channel).
    std::function<void(const QString &)> Say;

private:
    void Connector(int i);

    QList<int> m_offered;
    // The same row frames as the Query window's.
    QList<TVXQueryRow *> m_rows;
    QVBoxLayout *m_area = nullptr;
    QCheckBox *m_caseSensitive = nullptr;
    Result m_result = Result::None;
};
