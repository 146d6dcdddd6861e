// SPDX-License-Identifier: GPL-3.0-or-later
// The Query window: a search composed from find rows and in rows (or typed SQL), run by
// the query engine on its thread while the window stays responsive, and its hits in a
// grid.
#pragma once

#include "base/Item.h"

#include "repository/Connection.h"
#include "shell/Finddialog.h"
#include "shell/Forminterface.h"

#include <QPointer>

#include <functional>
#include <memory>

class QCheckBox;
class QColor;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class TVXQueryDocument;
class TVXQueryEngine;
class TVXQueryRows;
class TVXQueryResultModel;
struct TVXQueryResultRow;

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
    void cbIncludeRulesClick();
    void cbIndentClick();

    // Restricts the search to these items (a track of another window); kind says which
    // ("Entry Track", "Sequentially").
    void SetIn(const TVXItems &items, const QString &kind);
    const TVXItems &InItems() const { return m_inItems; }
    QString InCaption() const;

    // The result file: its header lines, then the visible columns of every row. False (and
    // the message shown) when it cannot be written.
    bool OutputToFile();
    QCheckBox *OutputResult() const { return m_outputToFile; }
    QLineEdit *OutputFileName() const { return m_outputFile; }
    QCheckBox *AppendOutput() const { return m_append; }
    QCheckBox *IncludeRules() const { return m_includeRules; }
    QCheckBox *Indent() const { return m_indent; }

    // Query documents.
    void Save1Click() override;
    void SaveAs1Click() override;
    bool SaveAs(const QString &file);
    void SaveQueryDoc(const QString &file);
    void OpenQueryDoc(const QString &file);
    // Yes/No questions; a message box unless a test answers them.
    std::function<bool(const QString &)> AskUser;

    // The Edit menu's commands act on the hits.
    void Copy1Click() override { CopyHits(); }
    void SelectAll1Click() override;
    void ClearSelection1Click() override;

    // Find and Print of the result.
    void Find1Click() override;
    void FindDialog1Find() override;
    TVXFindOptions FindOptions;
    void Print1Click() override;
    // False ("Result is empty" shown) when there is nothing to print.
    bool PrintResult(QPrinter *printer);

    static const QString ResultPlaceholder;
    static const QString DefaultOrderLabel;

    // The colour of a row's line of code in the grid.
    static QColor RowColour(const TVXQueryResultRow &row);

    // The windows that explain the current hit.
    QWidget *ShowRowsAround();
    QWidget *ShowRulesForRow();

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
    QWidget *BuildControls();
    QWidget *BuildResultArea();
    void Say(const QString &text);
    void Inform(const QString &text);
    bool Ask(const QString &question);
    void ShowResultArea(bool hits);
    void AddTrackParts();
    bool HasTrackParts() const;
    void ApplyIndent();
    // The result as the grid shows it: visible titles and, per row, the visible texts.
    QStringList VisibleTitles() const;
    QList<QStringList> VisibleRows() const;
    TVXQueryDocument QueryDocument() const;
    void ApplyDocument(const TVXQueryDocument &document);
    void RestoreResult(const TVXQueryDocument &document);
    TVXQueryResultModel *Result() const;
    TVXItem CurrentHit() const;
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
    QCheckBox *m_outputToFile = nullptr;
    QLineEdit *m_outputFile = nullptr;
    QCheckBox *m_append = nullptr;
    QCheckBox *m_includeRules = nullptr;
    QCheckBox *m_indent = nullptr;
    QGroupBox *m_inBox = nullptr;
    TVXItems m_inItems;
    // A document's stored result, shown instead of the engine's until the next search.
    std::unique_ptr<TVXQueryResultModel> m_storedResult;
    QPointer<QDialog> m_findDialog;
    int m_lastFound = -1;
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
