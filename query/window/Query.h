// SPDX-License-Identifier: GPL-3.0-or-later
// The Query window: a search composed from find rows and in rows (or typed SQL), run by
// the query engine on its thread while the window stays responsive, and its hits in a
// grid.
#pragma once

#include "repository/Connection.h"
#include "shell/Forminterface.h"

#include <memory>

class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class TVXQueryEngine;
class TVXQueryRows;

class TVXQuery : public TVXFormInterface
{
    Q_OBJECT
public:
    TVXQuery(QWidget *owner, TVXBaseFunctionsInterface *baseFunctions, const QString &document,
             const QString &sourceDatabase, const QString &title);
    ~TVXQuery() override;

    void ConnectToDB() override;
    void RefreshContent(TVXDataAccessInterface *connection, QObject *sender,
                        const QString &detail) override;

    void cbSearchClick();
    void cbStopClick();
    void cbClearAllClick();
    void cbClearInClick();

    TVXQueryRows *FindRows() const { return m_findRows; }
    TVXQueryRows *InRows() const { return m_inRows; }
    QTabWidget *Pages() const { return m_pages; }
    QPlainTextEdit *SqlText() const { return m_sql; }
    QTableView *Grid() const { return m_grid; }
    QString HitLabel() const;
    QString OrderLabel() const;
    bool Searching() const { return m_searching; }

    // The grid's popup menu, made for the grid's columns and selection as it opens.
    QMenu *GridMenu();
    void HideColumn(int column, bool hidden);
    void SortOnColumn(int column, bool andSort);
    void CopyHits();

private:
    void BuildWindow();
    void Say(const QString &text);
    bool BuildWhereClause();
    void SearchStatements();
    void SearchSql();
    // More hits when the grid is scrolled to its end.
    void FetchMore();
    // The selected hits (or the current one), in grid order.
    QList<int> SelectedHits() const;
    void HandHits(const QString &function, const QString &detail);
    bool ShowsHits() const;

    TVXConnection m_connection;
    std::unique_ptr<TVXQueryEngine> m_engine;
    bool m_searching = false;
    bool m_stopRequested = false;

    QTabWidget *m_pages = nullptr;
    TVXQueryRows *m_findRows = nullptr;
    TVXQueryRows *m_inRows = nullptr;
    QPlainTextEdit *m_sql = nullptr;
    QCheckBox *m_caseSensitive = nullptr;
    QCheckBox *m_countHits = nullptr;
    QPushButton *m_search = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_bar = nullptr;
    QWidget *m_queryArea = nullptr;
    QLabel *m_hits = nullptr;
    QLabel *m_order = nullptr;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_sqlResult = nullptr;
    QMenu *m_gridMenu = nullptr;
    QString m_indexFields;
    QString m_orderText;
};
