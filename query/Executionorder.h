// SPDX-License-Identifier: GPL-3.0-or-later
// The hits of a search in a track, put in the order the program runs them: the hits of
// the track's first entry (or object) up to a call, then the hits of what that call reaches
// on the next level of the track, then on after the call. A callee reached twice shows its
// hits twice, under two execution orders.
#pragma once

#include "base/Export.h"

#include "query/Queryresultmodel.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

class TVXDataAccessInterface;

class VXCORE_EXPORT TVXExecutionOrder
{
public:
    // One entry (or, with Entry -1, one object) of the track and its level in it.
    struct Node
    {
        int File = 0;
        int Object = 0;
        int Entry = -1;
        int Level = 0;
    };

    // A walk that would write more rows than this stops descending; the hits not yet
    // numbered follow in statement order.
    static constexpr int MaximumRows = 100000;

    // Reads a track item's reference, file;object[;entry]:caption.level. Throws
    // "Could not find ChildTrackLevel in VNID" when the level is missing.
    static Node Parse(const QString &reference);

    TVXExecutionOrder(TVXDataAccessInterface *db, QList<Node> track);

    // The rows in execution order, numbered from 1 in QRExeOrder. Throws
    // "Could not find NextChildTrackLevel in VNID" when the track skips a level.
    QList<TVXQueryResultRow> Number(const QList<TVXQueryResultRow> &hits);
    bool Truncated() const { return m_truncated; }

private:
    struct Call
    {
        int Entry, Row, Word;
        int ToFile, ToObject, ToEntry;
    };
    bool Holds(const Node &node, const TVXQueryResultRow &row) const;
    // The calls out of a track node, read once per walk.
    const std::vector<Call> &Calls(int node);
    int Target(const Node &from, const Call &call) const;
    void Visit(int node, std::vector<int> &path);
    void Emit(int hit);

    TVXDataAccessInterface *m_db;
    QList<Node> m_track;
    bool m_entries = true;
    QList<TVXQueryResultRow> m_hits;
    // The hits of each track node, in statement order.
    std::vector<std::vector<int>> m_hitsOf;
    std::vector<std::optional<std::vector<Call>>> m_callsOf;
    std::vector<bool> m_reached;
    QList<TVXQueryResultRow> m_ordered;
    bool m_truncated = false;
};
