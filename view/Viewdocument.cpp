// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Viewdocument.h"

#include "base/Exception.h"

#include "shell/Documentlines.h"

namespace {

const QString SelectionMark = QStringLiteral("  Selection  ");
const QString TrackListMark = QStringLiteral("  TrackList  ");

using VXDocumentLines::Flag;

// The node line: parent expanded, image, level, the item, the caption (the rest).
QString NodeLine(const TVXViewDocument::Node &node)
{
    QString line = (node.Level == 0 ? QStringLiteral("-1") : Flag(node.ParentExpanded))
                   + QLatin1Char(',') + QString::number(node.Data.Icon) + QLatin1Char(',')
                   + QString::number(node.Level) + QLatin1Char(',');
    switch (node.Data.Has) {
    case TVXViewNode::Carries::Item:
        for (const int key : node.Data.Item.Keys())
            line += QString::number(key) + QLatin1Char(',');
        break;
    case TVXViewNode::Carries::DataItem: {
        const TVXDataItem &data = node.Data.DataItem;
        // The two texts lose their commas: the fields are told apart by them.
        for (QString text : {data.Text1, data.Text2})
            line += text.replace(QLatin1Char(','), QLatin1Char(';')) + QLatin1Char(',');
        for (const int value : {data.Value3, data.Value4, data.Value5, data.FileID, data.ObjectID,
                                data.EntryID, data.RowID, data.WordID, data.Value11})
            line += QString::number(value) + QLatin1Char(',');
        break;
    }
    case TVXViewNode::Carries::Nothing:
        line += QStringLiteral(",,,,,,,,,");
        break;
    }
    return line + node.Data.Caption;
}

bool Integer(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

using TLines = TVXDocumentLines;

TVXViewDocument::Node ReadNode(TLines &lines, const QString &line)
{
    QStringList fields = line.split(QLatin1Char(','));
    if (fields.size() < 13)
        lines.Fail("a tree node", QStringLiteral("too few fields"));
    TVXViewDocument::Node node;
    int flag = 0;
    if (!Integer(fields[0], flag) || !Integer(fields[1], node.Data.Icon)
        || !Integer(fields[2], node.Level) || node.Level < 0)
        lines.Fail("a tree node", QStringLiteral("its flag, image and level are no numbers"));
    node.ParentExpanded = flag != 0;
    std::array<int, 9> keys{};
    bool numbers = true;
    bool empty = true;
    for (int i = 0; i < 9; ++i) {
        empty = empty && fields[3 + i].isEmpty();
        numbers = numbers && Integer(fields[3 + i], keys[size_t(i)]);
    }
    int captionAt = 12;
    if (numbers) {
        node.Data.Has = TVXViewNode::Carries::Item;
        node.Data.Item = TVXItem(keys[0], keys[1], keys[2], keys[3], keys[4], keys[5], keys[6],
                                 keys[7], keys[8]);
        node.Data.CanExpand = true;
    } else if (!empty) {
        // A data item: two texts, then nine numbers.
        if (fields.size() < 15)
            lines.Fail("a data node", QStringLiteral("too few fields"));
        std::array<int, 9> values{};
        for (int i = 0; i < 9; ++i)
            if (!Integer(fields[5 + i], values[size_t(i)]))
                lines.Fail("a data node", QStringLiteral("its values are no numbers"));
        node.Data.Has = TVXViewNode::Carries::DataItem;
        node.Data.DataItem
                = TVXDataItem(fields[3], fields[4], values[0], values[1], values[2], values[3],
                              values[4], values[5], values[6], values[7], values[8]);
        node.Data.CanExpand = true;
        captionAt = 14;
    }
    node.Data.Caption = fields.mid(captionAt).join(QLatin1Char(','));
    return node;
}

} // namespace

QByteArray TVXViewDocument::Write() const
{
    QStringList lines{Title,
                      ComposedBy,
                      Comments,
                      SourceDatabase,
                      Flag(Dependencies),
                      Flag(TopDown),
                      ViewBy,
                      Flag(Option),
                      Flag(FilterOn),
                      Limit,
                      QString::number(Conditions.size())};
    for (const Condition &condition : Conditions)
        lines << Flag(condition.AndPrevious) + QLatin1Char(',')
                         + QString::number(condition.Attribute) + QLatin1Char(',')
                         + QString::number(condition.Operator) + QLatin1Char(',') + condition.Value;
    lines << Flag(CaseSensitive);
    for (const Node &node : Nodes)
        lines << NodeLine(node);
    lines << SelectionMark;
    QString selected;
    for (const int index : Selection)
        selected += QString::number(index) + QLatin1Char(',');
    lines << selected << TrackListMark;
    for (const Track &track : Tracks) {
        lines << track.Name;
        lines << track.Elements;
    }
    return VXDocumentLines::Join(lines);
}

TVXViewDocument TVXViewDocument::Read(const QByteArray &bytes)
{
    TLines lines(bytes, QStringLiteral("View"));
    TVXViewDocument document;
    document.Title = lines.Next("the title");
    document.ComposedBy = lines.Next("composed by");
    document.Comments = lines.Next("the comments");
    document.SourceDatabase = lines.Next("the source database");
    document.Dependencies = lines.Flag("Dependencies chosen");
    document.TopDown = lines.Flag("TopDown chosen");
    document.ViewBy = lines.Next("View By");
    document.Option = lines.Flag("the option box");
    document.FilterOn = lines.Flag("the RootItem Filter");
    document.Limit = lines.Next("the RootItem Limit");
    const int conditions = lines.Number("the number of filter conditions");
    if (conditions < 0)
        lines.Fail("the number of filter conditions", QStringLiteral("it is negative"));
    for (int i = 0; i < conditions; ++i) {
        const QString line = lines.Next("a filter condition");
        const QStringList fields = line.split(QLatin1Char(','));
        Condition condition;
        if (fields.size() < 4 || !Integer(fields[1], condition.Attribute)
            || !Integer(fields[2], condition.Operator))
            lines.Fail("a filter condition", QStringLiteral("it is not connector, attribute, "
                                                            "operator, value"));
        condition.AndPrevious = fields[0] == QLatin1String("-1");
        condition.Value = fields.mid(3).join(QLatin1Char(','));
        document.Conditions << condition;
    }
    document.CaseSensitive = lines.Flag("Case sensitive");
    while (!lines.AtEnd() && lines.Peek() != SelectionMark)
        document.Nodes << ReadNode(lines, lines.Next("a tree node"));
    if (lines.AtEnd())
        lines.Fail("the selection", QStringLiteral("the document ends before it"));
    lines.Next("the selection");
    if (!lines.AtEnd() && lines.Peek() != TrackListMark) {
        for (const QString &index :
             lines.Next("the selection").split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            int value = 0;
            if (!Integer(index, value))
                lines.Fail("the selection",
                           QStringLiteral("\"") + index + QStringLiteral("\" is not a number"));
            document.Selection << value;
        }
    }
    if (!lines.AtEnd() && lines.Next("the track list") != TrackListMark)
        lines.Fail("the track list", QStringLiteral("it does not begin with its mark"));
    while (!lines.AtEnd()) {
        const QString line = lines.Next("a track");
        if (line.isEmpty())
            break;
        if (line.contains(QLatin1String(" - ")))
            document.Tracks << Track{line, {}};
        else if (!document.Tracks.isEmpty())
            document.Tracks.last().Elements << line;
    }
    return document;
}

void TVXViewDocument::Save(const QString &file) const
{
    VXDocumentLines::Save(file, Write(), QStringLiteral("View"));
}

TVXViewDocument TVXViewDocument::Open(const QString &file)
{
    const QByteArray bytes = VXDocumentLines::Load(file, QStringLiteral("View"));
    try {
        return Read(bytes);
    } catch (const TVXException &e) {
        throw TVXException(VXMessage(e) + QStringLiteral(" (") + file + QLatin1Char(')'));
    }
}
