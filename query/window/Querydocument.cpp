// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/window/Querydocument.h"

#include "base/Exception.h"

#include "shell/Documentlines.h"

namespace {

const QString TrackMark = QStringLiteral("  TrackItems  ");
const QChar Tab = QLatin1Char('\t');
using VXDocumentLines::Flag;
using TLines = TVXDocumentLines;

void WriteRows(QStringList &lines, const QList<TVXQueryDocument::Row> &rows)
{
    lines << QString::number(rows.size() - 1);
    for (const TVXQueryDocument::Row &row : rows)
        lines << Flag(row.AndPrevious) + QLatin1Char(',') + QString::number(row.Attribute)
                         + QLatin1Char(',') + QString::number(row.Operator) + QLatin1Char(',')
                         + row.Value;
}

QList<TVXQueryDocument::Row> ReadRows(TLines &lines, const char *what)
{
    QList<TVXQueryDocument::Row> rows;
    for (int count = lines.Count(what); count > 0; --count) {
        const QString line = lines.Next(what);
        // The value is the rest of the line: it may hold commas.
        const QStringList parts = line.split(QLatin1Char(','));
        bool attribute = false;
        bool op = false;
        TVXQueryDocument::Row row;
        if (parts.size() >= 4) {
            row.AndPrevious = parts[0] == QLatin1String("-1");
            row.Attribute = parts[1].toInt(&attribute);
            row.Operator = parts[2].toInt(&op);
            row.Value = line.section(QLatin1Char(','), 3);
        }
        if (parts.size() < 4 || !attribute || !op
            || (parts[0] != QLatin1String("-1") && parts[0] != QLatin1String("0")))
            lines.Fail(what, QStringLiteral("\"") + line
                                     + QStringLiteral("\" is not link,attribute,operator,value"));
        rows << row;
    }
    return rows;
}

QStringList Cells(const QString &line)
{
    QStringList cells = line.split(Tab);
    // Every cell is followed by a tab.
    if (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells;
}

} // namespace

QByteArray TVXQueryDocument::Write() const
{
    QStringList lines{Title, ComposedBy, Comments, SourceDatabase,
                      StatementsPage ? QStringLiteral("Statements") : QStringLiteral("SQLReport")};
    WriteRows(lines, FindRows);
    WriteRows(lines, InRows);
    lines << QString::number(SqlLines.size() - 1) << SqlLines;
    lines << Flag(CaseSensitive) << Flag(CountHits) << Flag(HasResult);
    if (HasResult) {
        lines << HiddenColumns.join(Tab);
        for (const QStringList &row : ResultRows) {
            QString line;
            for (const QString &cell : row)
                line += cell + Tab;
            lines << line;
        }
    }
    if (HasTrack) {
        lines << TrackMark << InCaption << OrderLabel << Flag(IncludeRules) << Flag(Indent);
        for (const TrackItem &item : TrackItems)
            lines << item.ItemID << item.Text << QString::number(item.Level) << item.ParentText;
    }
    return VXDocumentLines::Join(lines);
}

TVXQueryDocument TVXQueryDocument::Read(const QByteArray &bytes)
{
    TLines lines(bytes, QStringLiteral("query"));
    TVXQueryDocument document;
    document.Title = lines.Next("title");
    document.ComposedBy = lines.Next("composed by");
    document.Comments = lines.Next("comments");
    document.SourceDatabase = lines.Next("source database");
    const QString page = lines.Next("page");
    if (page != QLatin1String("Statements") && page != QLatin1String("SQLReport"))
        lines.Fail("page", QStringLiteral("\"") + page
                                   + QStringLiteral("\" is neither Statements nor SQLReport"));
    document.StatementsPage = page == QLatin1String("Statements");
    document.FindRows = ReadRows(lines, "find rows");
    document.InRows = ReadRows(lines, "in rows");
    for (int count = lines.Count("SQL line count"); count > 0; --count)
        document.SqlLines << lines.Next("SQL line");
    document.CaseSensitive = lines.Flag("case sensitive");
    document.CountHits = lines.Flag("count hits");
    document.HasResult = lines.Flag("result");
    if (document.HasResult) {
        document.HiddenColumns = lines.Next("hidden columns").split(Tab, Qt::SkipEmptyParts);
        while (!lines.AtEnd() && lines.Peek() != TrackMark)
            document.ResultRows << Cells(lines.Next("result row"));
    }
    if (!lines.AtEnd()) {
        if (lines.Next("track") != TrackMark)
            lines.Fail("track", QStringLiteral("more lines than a query document holds"));
        document.HasTrack = true;
        document.InCaption = lines.Next("in caption");
        document.OrderLabel = lines.Next("order label");
        document.IncludeRules = lines.Flag("include rules");
        document.Indent = lines.Flag("indent");
        while (!lines.AtEnd() && !lines.Peek().isEmpty()) {
            TrackItem item;
            item.ItemID = lines.Next("track item");
            item.Text = lines.Next("track item text");
            item.Level = lines.Number("track item level");
            item.ParentText = lines.Next("track item parent text");
            document.TrackItems << item;
        }
    }
    return document;
}

void TVXQueryDocument::Save(const QString &file) const
{
    VXDocumentLines::Save(file, Write(), QStringLiteral("query"));
}

TVXQueryDocument TVXQueryDocument::Open(const QString &file)
{
    const QByteArray bytes = VXDocumentLines::Load(file, QStringLiteral("query"));
    try {
        return Read(bytes);
    } catch (const std::exception &e) {
        throw TVXException(VXMessage(e) + QStringLiteral(" (") + file + QLatin1Char(')'));
    }
}
