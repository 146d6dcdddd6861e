// SPDX-License-Identifier: GPL-3.0-or-later
// The source rows around one line: ten before and ten after it, the line marked, and
// PageUp and PageDown to read further through its file.
#pragma once

#include "base/Export.h"
#include "base/Item.h"

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;
class TVXDataAccessInterface;

class VXCORE_EXPORT TVXRowsAround : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RowsShown = 10;
    // Statements are numbered in steps of 1000: one step of 10000 is about ten statements.
    static constexpr int PageStep = 10000;

    // The connection must outlive the window: the owner that holds it also owns the window.
    TVXRowsAround(QWidget *owner, const TVXItem &item, TVXDataAccessInterface *db);

    QPlainTextEdit *mmoRows = nullptr;
    int FirstRow() const { return m_firstRow; }
    int LastRow() const { return m_lastRow; }
    QStringList Lines() const { return m_lines; }

    void PageUp();
    void PageDown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FirstView();
    void AddTopMarker();
    void AddBottomMarker();
    void Show(bool atEnd);

    TVXItem m_item;
    TVXDataAccessInterface *m_db;
    QStringList m_lines;
    int m_firstRow = 0;
    int m_lastRow = 0;
};
