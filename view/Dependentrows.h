// SPDX-License-Identifier: GPL-3.0-or-later
// The lines that depend on an item, read-only, one per row.
#pragma once

#include <QDialog>

class QListWidget;

class TVXDependentRows : public QDialog
{
    Q_OBJECT
public:
    explicit TVXDependentRows(QWidget *owner);

    void AddRow(const QString &text);
    QStringList Rows() const;

private:
    QListWidget *m_rows = nullptr;
};
