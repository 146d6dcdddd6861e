// SPDX-License-Identifier: GPL-3.0-or-later
// A View document (.vnv) as it is on disk: one value per line, each line ended by line feed
// then carriage return, booleans as -1 and 0, then the tree node by node, the selection
// and the tracks. Reading gives back what writing took, or an error that names the line.
#pragma once

#include "view/Viewnode.h"

#include <QList>
#include <QString>
#include <QStringList>

struct TVXViewDocument
{
    struct Condition
    {
        bool AndPrevious = false;
        int Attribute = 0;
        int Operator = 0;
        QString Value;
    };
    struct Node
    {
        bool ParentExpanded = true;
        int Level = 0;
        TVXViewNode Data;
    };
    struct Track
    {
        QString Name;
        QStringList Elements; // absolute tree index ":" item identifier
    };

    QString Title;
    QString ComposedBy;
    QString Comments;
    QString SourceDatabase;
    bool Dependencies = false;
    bool TopDown = true;
    QString ViewBy = QStringLiteral("System");
    bool Option = false;
    bool FilterOn = false;
    QString Limit = QStringLiteral("100");
    QList<Condition> Conditions;
    bool CaseSensitive = false;
    QList<Node> Nodes;    // in tree order
    QList<int> Selection; // absolute tree indices
    QList<Track> Tracks;

    QByteArray Write() const;
    // Throws with the line that does not fit.
    static TVXViewDocument Read(const QByteArray &bytes);

    void Save(const QString &file) const;
    static TVXViewDocument Open(const QString &file);
};
