// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of one group of a search ("Find Statements containing:" or "In:"): rows are
// added with their attribute, operator and value; "End" on a row removes the rows after
// it, "And" or "Or" on the last row adds an empty one once the last row is complete; the
// rows share one history of values.
#pragma once

#include "query/Queryrow.h"

#include <QList>
#include <QWidget>

#include <functional>

class TVXDataAccessInterface;

class VXCORE_EXPORT TVXQueryRows : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { Find, In };

    // The handles of the attributes come from the connection; without one they stay 0.
    TVXQueryRows(Kind kind, TVXDataAccessInterface *db, QWidget *owner = nullptr);

    // previousLink 1 ticks And on the row before, 2 Or; an index below 0 keeps entry 0.
    TVXQueryRow *AddRow(int attribute = -1, int op = -1, const QString &value = QString(),
                        int previousLink = 0);
    int Count() const { return int(m_rows.size()); }
    TVXQueryRow *Row(int i) const { return m_rows.at(i); }
    // Removes every row and adds one empty row.
    void Clear();
    // Removes every row, as a document with no rows is opened.
    void RemoveAll();
    // The rules of the last row: CheckFindRow or CheckInRow. The message goes to Say.
    bool Check();

    // Where the rows' messages go (a message box in the window).
    std::function<void(const QString &)> Say;

private:
    void Chosen(TVXQueryRow *row, bool end);
    void ShareHistory();

    Kind m_kind;
    TVXDataAccessInterface *m_db;
    QList<TVXQueryRow *> m_rows;
};
