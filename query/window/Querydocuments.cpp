// SPDX-License-Identifier: GPL-3.0-or-later
// The Query window's documents: the search, its result and its track written to a .vnq
// file and read back, on the database the document was made against or on the current one.
#include "base/Exception.h"

#include "query/Queryengine.h"
#include "query/Queryrows.h"
#include "query/window/Query.h"
#include "query/window/Querydocument.h"
#include "shell/Basefunctionsinterface.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

namespace {

QList<TVXQueryDocument::Row> DocumentRows(const TVXQueryRows *rows)
{
    QList<TVXQueryDocument::Row> result;
    for (int i = 0; i < rows->Count(); ++i) {
        const TVXQueryRow *row = rows->Row(i);
        result.append({i > 0 && rows->Row(i - 1)->rbAnd->isChecked(),
                       row->cbAttribute->currentIndex(), row->cbOperator->currentIndex(),
                       row->Value()});
    }
    return result;
}

void RestoreRows(TVXQueryRows *rows, const QList<TVXQueryDocument::Row> &stored)
{
    rows->RemoveAll();
    for (qsizetype i = 0; i < stored.size(); ++i)
        rows->AddRow(stored[i].Attribute, stored[i].Operator, stored[i].Value,
                     i == 0 ? -1 : (stored[i].AndPrevious ? 1 : 2));
}

} // namespace

TVXQueryDocument TVXQuery::QueryDocument() const
{
    TVXQueryDocument document;
    document.Title = Title;
    document.ComposedBy = ComposedBy;
    document.Comments = Comments;
    document.SourceDatabase = SourceDatabase;
    document.StatementsPage = m_pages->currentIndex() == 0;
    document.FindRows = DocumentRows(m_findRows);
    document.InRows = DocumentRows(m_inRows);
    const QString sql = m_sql->toPlainText();
    if (!sql.isEmpty())
        document.SqlLines = sql.split(QLatin1Char('\n'));
    document.CaseSensitive = m_caseSensitive->isChecked();
    document.CountHits = m_countHits->isChecked();
    document.HasResult = ShowsHits() && m_grid->isVisible();
    if (document.HasResult) {
        const TVXQueryResultModel *result = Result();
        for (int column = 0; column < result->columnCount(); ++column)
            if (m_grid->isColumnHidden(column))
                document.HiddenColumns << result->headerData(column, Qt::Horizontal).toString();
        for (int row = 0; row < result->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < result->columnCount(); ++column)
                cells << result->index(row, column).data().toString();
            document.ResultRows << cells;
        }
    }
    document.HasTrack = m_inItems.Count() > 0;
    if (document.HasTrack) {
        document.InCaption = m_inBox->title();
        document.OrderLabel = m_order->text();
        document.IncludeRules = m_includeRules->isChecked();
        document.Indent = m_indent->isChecked();
        for (int i = 0; i < m_inItems.Count(); ++i)
            document.TrackItems.append({m_inItems.GetItem(i).GetItemID(), m_inItems.GetText(i),
                                        m_inItems.GetLevel(i), m_inItems.GetParentText(i)});
    }
    return document;
}

void TVXQuery::SaveQueryDoc(const QString &file)
{
    // The grid stays where it was while the rows are read out.
    const QModelIndex current = m_grid->currentIndex();
    m_grid->setUpdatesEnabled(false);
    try {
        QueryDocument().Save(file);
    } catch (...) {
        m_grid->setUpdatesEnabled(true);
        throw;
    }
    m_grid->setUpdatesEnabled(true);
    if (current.isValid())
        m_grid->setCurrentIndex(current);
}

void TVXQuery::Save1Click()
{
    if (Document.isEmpty()) {
        SaveAs1Click();
        return;
    }
    try {
        SaveQueryDoc(Document);
    } catch (const std::exception &e) {
        Say(VXMessage(e));
    }
}

bool TVXQuery::SaveAs(const QString &file)
{
    if (QFileInfo::exists(file) && !Ask(QStringLiteral("Overwrite existing file?")))
        return false;
    Title = QFileInfo(file).fileName().section(QLatin1Char('.'), 0, 0);
    SaveQueryDoc(file);
    UpdateCaption();
    if (BaseFunctions)
        BaseFunctions->WindowNameChanged(this, Title);
    Document = file;
    return true;
}

void TVXQuery::SaveAs1Click()
{
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"),
                                                      Title + QStringLiteral(".vnq"),
                                                      QStringLiteral("Velunor Query files (*.vnq)"),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (file.isEmpty())
        return;
    try {
        SaveAs(file.endsWith(QLatin1String(".vnq"), Qt::CaseInsensitive)
                       ? file
                       : file + QStringLiteral(".vnq"));
    } catch (const std::exception &e) {
        Say(VXMessage(e));
    }
}

void TVXQuery::OpenQueryDoc(const QString &file)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const QString current = SourceDatabase.isEmpty() && BaseFunctions
                                        ? BaseFunctions->GetSourceDBName(false, false, true)
                                        : SourceDatabase;
        m_hits->setText(ResultPlaceholder);
        m_order->hide();
        m_grid->hide();
        const TVXQueryDocument document = TVXQueryDocument::Open(file);
        Title = document.Title;
        ComposedBy = document.ComposedBy;
        Comments = document.Comments;
        QString stored
                = document.SourceDatabase.trimmed().isEmpty() ? current : document.SourceDatabase;
        if (!current.isEmpty() && stored != current
            && Ask(QStringLiteral("Document is created against database ") + stored
                   + QLatin1Char('\r')
                   + QStringLiteral("Do You want to use the document on "
                                    "current database ")
                   + current + QLatin1Char('?')))
            stored = current;
        const qsizetype on = Title.indexOf(QStringLiteral(" on ") + stored);
        if (on >= 0)
            Title.truncate(on);
        // The window's connection and engine belong to the database it was on.
        m_storedResult.reset();
        m_grid->setModel(nullptr);
        m_engine.reset();
        m_connection = TVXConnection();
        SourceDatabase = stored;
        try {
            ConnectToDB();
        } catch (const std::exception &) {
            Say(QStringLiteral("Connection to database ") + stored + QStringLiteral(" failed")
                + QLatin1Char('\r') + QStringLiteral("Connection is changed to current database ")
                + current);
            SourceDatabase = current;
            ConnectToDB();
        }
        ApplyDocument(document);
        UpdateCaption();
        if (BaseFunctions)
            BaseFunctions->WindowNameChanged(this, Title);
        Document = file;
    } catch (const std::exception &e) {
        QApplication::restoreOverrideCursor();
        throw TVXException(QStringLiteral("TVXQuery.OpenQueryDoc: ") + VXMessage(e));
    }
    QApplication::restoreOverrideCursor();
}

void TVXQuery::ApplyDocument(const TVXQueryDocument &document)
{
    m_pages->setCurrentIndex(document.StatementsPage ? 0 : 1);
    RestoreRows(m_findRows, document.FindRows);
    RestoreRows(m_inRows, document.InRows);
    m_sql->setPlainText(document.SqlLines.join(QLatin1Char('\n')));
    m_caseSensitive->setChecked(document.CaseSensitive);
    m_countHits->setChecked(document.CountHits);
    m_inItems = TVXItems();
    m_inBox->setTitle(QStringLiteral(" In: "));
    if (document.HasTrack) {
        m_inBox->setTitle(document.InCaption);
        m_order->setText(document.OrderLabel);
        m_includeRules->setChecked(document.IncludeRules);
        m_indent->setChecked(document.Indent);
        for (const TVXQueryDocument::TrackItem &stored : document.TrackItems) {
            TVXItem item;
            TVXItem::FromItemID(stored.ItemID, item);
            m_inItems.AddItem(item);
            m_inItems.AddLevel(stored.Level);
            m_inItems.AddText(stored.Text);
            m_inItems.AddParentText(stored.ParentText);
        }
    }
    m_includeRules->setVisible(document.HasTrack);
    m_indent->setVisible(document.HasTrack);
    if (document.HasResult)
        RestoreResult(document);
    else if (m_findRows->Count() > 0)
        m_findRows->Row(0)->cbValue->setFocus();
}

// The stored rows, read only: the result as it was, until the next search.
void TVXQuery::RestoreResult(const TVXQueryDocument &document)
{
    m_storedResult = std::make_unique<TVXQueryResultModel>();
    for (const QStringList &cells : document.ResultRows) {
        TVXQueryResultRow row;
        if (TVXQueryResultModel::FromTexts(cells, row))
            m_storedResult->Append(row);
    }
    m_grid->setModel(m_storedResult.get());
    m_grid->show();
    for (int column = 0; column < m_storedResult->columnCount(); ++column)
        m_grid->setColumnHidden(
                column, document.HiddenColumns.contains(
                                m_storedResult->headerData(column, Qt::Horizontal).toString()));
    m_grid->resizeColumnsToContents();
    if (!document.HasTrack)
        m_order->setText(DefaultOrderLabel);
    m_order->show();
    m_hits->setText(QString::number(m_storedResult->RecordCount())
                    + QStringLiteral(" rows of the stored result"));
}
