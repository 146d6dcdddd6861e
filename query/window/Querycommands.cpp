// SPDX-License-Identifier: GPL-3.0-or-later
// The Query window's commands on its result: the windows that explain a hit, Find, Print,
// the result file, the track restriction, and the rule rows with their indent.
#include "base/Exception.h"

#include "query/Queryattributes.h"
#include "query/Queryengine.h"
#include "query/Queryrows.h"
#include "query/Rowsaround.h"
#include "query/Rulefinder.h"
#include "query/Rulesforrow.h"
#include "query/window/Query.h"
#include "repository/Searchqueries.h"
#include "shell/Basefunctionsinterface.h"
#include "shell/Tooldialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableView>
#include <QTextDocument>
#include <QTextStream>

#include <map>

namespace {

// The in-row attributes that a track's items become.
int InAttribute(TVXItem::Kind kind)
{
    switch (kind) {
    case TVXItem::Kind::System:
        return 0;
    case TVXItem::Kind::Computer:
        return 1;
    case TVXItem::Kind::Application:
        return 2;
    case TVXItem::Kind::Package:
        return 3;
    case TVXItem::Kind::Object:
        return 4;
    case TVXItem::Kind::Entry:
        return 6;
    default:
        return -1;
    }
}

} // namespace

TVXItem TVXQuery::CurrentHit() const
{
    const QList<int> rows = SelectedHits();
    if (!ShowsHits() || rows.isEmpty())
        return {};
    const TVXQueryResultRow &hit = Result()->Row(rows.first());
    return TVXItem(hit.QRFileID, 0, 0, 0, 0, hit.QRObjectID, hit.QREntryID, hit.QRRowID,
                   hit.QRWordID);
}

QWidget *TVXQuery::ShowRowsAround()
{
    const TVXItem hit = CurrentHit();
    if (hit.RowID <= 0 || !m_connection)
        return nullptr;
    auto *window = new TVXRowsAround(this, hit, m_connection.get());
    window->show();
    return window;
}

QWidget *TVXQuery::ShowRulesForRow()
{
    const TVXItem hit = CurrentHit();
    if (hit.RowID <= 0 || !m_connection)
        return nullptr;
    auto *window = new TVXRulesForRow(this, hit, m_connection.get());
    window->show();
    return window;
}

void TVXQuery::Inform(const QString &text)
{
    if (BaseFunctions)
        BaseFunctions->ShowMessage(TVXMessageKind::Information, text);
}

bool TVXQuery::Ask(const QString &question)
{
    if (AskUser)
        return AskUser(question);
    return VXAskYesNo(this, QStringLiteral("Query"), question);
}

void TVXQuery::Find1Click()
{
    if (m_findDialog) {
        m_findDialog->raise();
        m_findDialog->activateWindow();
        return;
    }
    m_findDialog = new TVXFindDialog(this, FindOptions, [this](const TVXFindOptions &options) {
        FindOptions = options;
        FindDialog1Find();
    });
    m_findDialog->show();
}

// The next row (up or down from the one found last) with a visible cell holding the text.
void TVXQuery::FindDialog1Find()
{
    const QAbstractItemModel *model = m_grid->model();
    if (FindOptions.Text.isEmpty() || !model || m_grid->isHidden())
        return;
    const int count = model->rowCount();
    const Qt::CaseSensitivity cs = FindOptions.MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int from = m_lastFound >= 0 && m_lastFound < count ? m_lastFound : -1;
    for (int step = 1; step <= count; ++step) {
        const int row = FindOptions.Up ? (from < 0 ? count - step : from - step)
                                       : (from < 0 ? step - 1 : from + step);
        if (row < 0 || row >= count)
            break;
        for (int column = 0; column < model->columnCount(); ++column) {
            if (m_grid->isColumnHidden(column)
                || !model->index(row, column).data().toString().contains(FindOptions.Text, cs))
                continue;
            m_lastFound = row;
            m_grid->selectRow(row);
            m_grid->scrollTo(model->index(row, column));
            return;
        }
    }
    Inform(QStringLiteral("Text not found"));
}

QStringList TVXQuery::VisibleTitles() const
{
    QStringList titles;
    const QAbstractItemModel *model = m_grid->model();
    for (int column = 0; model && column < model->columnCount(); ++column)
        if (!m_grid->isColumnHidden(column))
            titles << model->headerData(column, Qt::Horizontal).toString();
    return titles;
}

QList<QStringList> TVXQuery::VisibleRows() const
{
    QList<QStringList> rows;
    const QAbstractItemModel *model = m_grid->model();
    for (int row = 0; model && row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            if (!m_grid->isColumnHidden(column))
                cells << model->index(row, column).data().toString();
        rows << cells;
    }
    return rows;
}

void TVXQuery::Print1Click()
{
    if (m_grid->isHidden() || !m_grid->model() || m_grid->model()->rowCount() == 0) {
        Inform(QStringLiteral("Result is empty"));
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintResult(&printer);
}

bool TVXQuery::PrintResult(QPrinter *printer)
{
    if (m_grid->isHidden() || !m_grid->model() || m_grid->model()->rowCount() == 0) {
        Inform(QStringLiteral("Result is empty"));
        return false;
    }
    // A table of the visible columns under the window's title and hit label.
    QString html
            = QStringLiteral("<h3>") + windowTitle().toHtmlEscaped() + QStringLiteral("</h3><p>")
              + m_hits->text().toHtmlEscaped()
              + QStringLiteral("</p><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>");
    for (const QString &title : VisibleTitles())
        html += QStringLiteral("<th>") + title.toHtmlEscaped() + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (const QStringList &row : VisibleRows()) {
        html += QStringLiteral("<tr>");
        for (const QString &cell : row)
            html += QStringLiteral("<td><pre>") + cell.toHtmlEscaped()
                    + QStringLiteral("</pre></td>");
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    QTextDocument document;
    document.setHtml(html);
    document.print(printer);
    return true;
}

bool TVXQuery::OutputToFile()
{
    const QString name = m_outputFile->text().trimmed();
    if (name.isEmpty()) {
        Say(QStringLiteral("Could not write Result Output File, filename is missing"));
        return false;
    }
    QFile file(name);
    const QIODevice::OpenMode mode
            = QIODevice::WriteOnly | QIODevice::Text
              | (m_append->isChecked() ? QIODevice::Append : QIODevice::Truncate);
    if (!file.open(mode)) {
        Say(QStringLiteral("Could not open Result Output File: ") + name);
        return false;
    }
    QTextStream out(&file);
    out << '\n'
        << QStringLiteral("Result from ") << windowTitle() << QStringLiteral(" at ")
        << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) << '\n'
        << '\n'
        << VisibleTitles().join(QLatin1Char('\t')) << '\n';
    for (const QStringList &row : VisibleRows())
        out << row.join(QLatin1Char('\t')) << '\n';
    out.flush();
    if (file.error() != QFileDevice::NoError) {
        Say(QStringLiteral("Could not write Result Output File: ") + name + QStringLiteral(" (")
            + file.errorString() + QLatin1Char(')'));
        return false;
    }
    return true;
}

void TVXQuery::SetIn(const TVXItems &items, const QString &kind)
{
    ConnectToDB();
    m_inItems = TVXItems();
    m_inRows->RemoveAll();
    TVXDataAccessInterface *db = m_connection.get();
    for (int i = 0; i < items.Count(); ++i) {
        const TVXItem &item = items.GetItem(i);
        m_inItems.AddItem(item);
        m_inItems.AddLevel(items.GetLevel(i));
        m_inItems.AddText(items.GetText(i));
        m_inItems.AddParentText(items.GetParentText(i));
        const TVXItem::Kind itemKind = item.ItemKind();
        const int attribute = InAttribute(itemKind);
        if (attribute < 0)
            continue;
        QString name;
        switch (itemKind) {
        case TVXItem::Kind::System:
            name = VXSearchQueries::AttributeName(db, item.SystemID).value_or(QString());
            break;
        case TVXItem::Kind::Computer:
            name = VXSearchQueries::AttributeName(db, item.ComputerID).value_or(QString());
            break;
        case TVXItem::Kind::Application:
            name = VXSearchQueries::AttributeName(db, item.ApplicationID).value_or(QString());
            break;
        case TVXItem::Kind::Object:
            name = VXSearchQueries::ObjectName(db, item.FileID, item.ObjectID);
            break;
        case TVXItem::Kind::Entry:
            name = VXSearchQueries::EntryName(db, item.FileID, item.ObjectID, item.EntryID);
            break;
        case TVXItem::Kind::Package:
            name = VXSearchQueries::PackageName(db, item.FileID, item.PackageID);
            break;
        default:
            break;
        }
        m_inRows->AddRow(attribute, 0, name.trimmed(), m_inRows->Count() > 0 ? 2 : -1);
    }
    if (m_inRows->Count() == 0)
        m_inRows->AddRow();
    if (items.Count() > 0) {
        const QString span
                = items.GetText(0) + QStringLiteral(" - ") + items.GetText(items.Count() - 1);
        QString caption = (kind.contains(QLatin1String("Entry Track"))
                                   ? QStringLiteral(" In Entry Track ")
                                   : QStringLiteral(" In Object Track "))
                          + span;
        if (kind.contains(QLatin1String("Sequentially")))
            caption += QStringLiteral(" Sequentially");
        m_inBox->setTitle(caption + QStringLiteral(": "));
    }
    m_includeRules->setVisible(items.Count() > 0);
    m_indent->setVisible(items.Count() > 0);
}

void TVXQuery::cbIncludeRulesClick()
{
    TVXQueryResultModel *result = Result();
    if (!ShowsHits() || !m_connection)
        return;
    if (!m_includeRules->isChecked()) {
        result->RemoveRowsWhere([](const TVXQueryResultRow &row) { return row.QRWordID <= 1; });
        ApplyIndent();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_hits->setText(QStringLiteral("Getting Rules for Results..."));
    result->SetIndexFieldNames(QStringLiteral("QRExeOrder;QRRowID"));
    // The rules of each hit: those since the hit before it in the same entry, in the same
    // run through the track.
    QList<TVXQueryResultRow> hits;
    for (const TVXQueryResultRow &row : result->Rows())
        if (row.QRWordID > 1)
            hits << row;
    std::map<std::tuple<int, int, int, int>, int> previousHit;
    for (const TVXQueryResultRow &hit : std::as_const(hits)) {
        const auto entry = std::tuple{hit.QRExeOrder, hit.QRFileID, hit.QRObjectID, hit.QREntryID};
        const int previous = previousHit.count(entry) ? previousHit[entry] : 0;
        previousHit[entry] = hit.QRRowID;
        for (const TVXRuleRow &rule : VXRuleFinder::RulesBetween(
                     m_connection.get(), {hit.QRFileID, hit.QRObjectID, hit.QREntryID, hit.QRRowID},
                     previous, hit.QRSectionLevel)) {
            TVXQueryResultRow row = hit;
            row.QRRow = rule.Text;
            row.QRRowID = rule.Row;
            row.QRWordID = 0;
            row.QRSectionLevel = rule.Level;
            row.QRCallToIndex = 0;
            result->Append(row);
        }
    }
    m_hits->setText(m_storedResult ? m_hits->text() : m_engine->HitLabel());
    QApplication::restoreOverrideCursor();
    ApplyIndent();
}

void TVXQuery::cbIndentClick()
{
    ApplyIndent();
}

void TVXQuery::ApplyIndent()
{
    TVXQueryResultModel *result = Result();
    if (!ShowsHits())
        return;
    const bool indent = m_indent->isChecked() && m_indent->isVisible();
    for (int row = 0; row < result->RecordCount(); ++row) {
        const TVXQueryResultRow &line = result->Row(row);
        const QString text = line.QRRow.trimmed();
        result->SetRowText(
                row, indent ? QStringLiteral("  ").repeated(std::max(0, line.QRSectionLevel)) + text
                            : text);
    }
}
