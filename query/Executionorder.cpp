// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Executionorder.h"

#include "base/Exception.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "repository/Searchqueries.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace {

// Where a statement stands in its object: entry, then the first row of the statement.
std::pair<int, int> Position(int entry, int row)
{
    return {entry, row - row % 1000};
}

} // namespace

TVXExecutionOrder::Node TVXExecutionOrder::Parse(const QString &reference)
{
    const qsizetype colon = reference.indexOf(QLatin1Char(':'));
    const QString caption = colon < 0 ? QString() : reference.mid(colon + 1);
    const qsizetype dot = caption.lastIndexOf(QLatin1Char('.'));
    bool ok = false;
    Node node;
    if (dot >= 0)
        node.Level = caption.mid(dot + 1).toInt(&ok);
    if (!ok)
        throw TVXException(QStringLiteral("Could not find ChildTrackLevel in VNID"));
    const QStringList parts = reference.left(colon).split(QLatin1Char(';'));
    node.File = parts[0].toInt();
    node.Object = parts.value(1).toInt();
    node.Entry = parts.size() > 2 ? parts[2].toInt() : -1;
    return node;
}

TVXExecutionOrder::TVXExecutionOrder(TVXDataAccessInterface *db, QList<Node> track)
    : m_db(db)
    , m_track(std::move(track))
{}

bool TVXExecutionOrder::Holds(const Node &node, const TVXQueryResultRow &row) const
{
    return node.File == row.QRFileID && node.Object == row.QRObjectID
           && (node.Entry < 0 || node.Entry == row.QREntryID);
}

const std::vector<TVXExecutionOrder::Call> &TVXExecutionOrder::Calls(int index)
{
    std::optional<std::vector<Call>> &known = m_callsOf[size_t(index)];
    if (known)
        return *known;
    const Node &node = m_track[index];
    std::vector<Call> calls;
    for (const TVXCallRow &row :
         VXSearchQueries::CallsFrom(m_db, node.File, node.Object, node.Entry))
        calls.push_back(
                {row.FromEntry, row.FromRow, row.FromWord, row.ToFile, row.ToObject, row.ToEntry});
    std::sort(calls.begin(), calls.end(), [](const Call &a, const Call &b) {
        return std::tie(a.Entry, a.Row, a.Word) < std::tie(b.Entry, b.Row, b.Word);
    });
    known = std::move(calls);
    return *known;
}

int TVXExecutionOrder::Target(const Node &from, const Call &call) const
{
    for (int i = 0; i < m_track.size(); ++i) {
        const Node &node = m_track[i];
        // A call that reaches a whole object runs the object's first entry of the track.
        if (node.Level == from.Level + 1 && node.File == call.ToFile && node.Object == call.ToObject
            && (node.Entry < 0 || call.ToEntry <= 0 || node.Entry == call.ToEntry))
            return i;
    }
    return -1;
}

void TVXExecutionOrder::Emit(int hit)
{
    TVXQueryResultRow row = m_hits[hit];
    row.QRExeOrder = int(m_ordered.size()) + 1;
    m_ordered.append(row);
    m_reached[hit] = true;
}

void TVXExecutionOrder::Visit(int node, std::vector<int> &path)
{
    if (std::find(path.begin(), path.end(), node) != path.end())
        return;
    path.push_back(node);
    const std::vector<int> &hits = m_hitsOf[node];
    size_t next = 0;
    for (const Call &call : Calls(node)) {
        const auto at = Position(call.Entry, call.Row);
        // The hits of the calling statement itself run before the call does.
        while (next < hits.size()
               && Position(m_hits[hits[next]].QREntryID, m_hits[hits[next]].QRRowID) <= at)
            Emit(hits[next++]);
        if (m_ordered.size() >= MaximumRows) {
            m_truncated = true;
            break;
        }
        if (const int target = Target(m_track[node], call); target >= 0)
            Visit(target, path);
    }
    while (next < hits.size())
        Emit(hits[next++]);
    path.pop_back();
}

QList<TVXQueryResultRow> TVXExecutionOrder::Number(const QList<TVXQueryResultRow> &hits)
{
    m_hits = hits;
    m_ordered.clear();
    m_truncated = false;
    m_reached.assign(size_t(hits.size()), false);
    if (m_track.isEmpty())
        return hits;

    std::set<int> levels;
    for (const Node &node : std::as_const(m_track))
        levels.insert(node.Level);
    if (*levels.rbegin() - *levels.begin() + 1 != int(levels.size()))
        throw TVXException(QStringLiteral("Could not find NextChildTrackLevel in VNID"));

    m_hitsOf.assign(size_t(m_track.size()), {});
    m_callsOf.assign(size_t(m_track.size()), std::nullopt);
    for (int h = 0; h < hits.size(); ++h)
        for (int n = 0; n < m_track.size(); ++n)
            if (Holds(m_track[n], hits[h])) {
                m_hitsOf[size_t(n)].push_back(h);
                break;
            }
    for (std::vector<int> &list : m_hitsOf)
        std::sort(list.begin(), list.end(), [&](int a, int b) {
            return std::tie(m_hits[a].QREntryID, m_hits[a].QRRowID, m_hits[a].QRWordID)
                   < std::tie(m_hits[b].QREntryID, m_hits[b].QRRowID, m_hits[b].QRWordID);
        });

    std::vector<int> path;
    for (int n = 0; n < m_track.size(); ++n)
        if (m_track[n].Level == *levels.begin())
            Visit(n, path);
    // Hits that no call of the track reaches keep their statement order at the end.
    for (int h = 0; h < hits.size(); ++h)
        if (!m_reached[size_t(h)])
            Emit(h);
    return m_ordered;
}
