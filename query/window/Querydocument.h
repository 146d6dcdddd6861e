// SPDX-License-Identifier: GPL-3.0-or-later
// A query document (.vnq) as it is on disk: one value per line, each line ended by line feed
// then carriage return, booleans as -1 and 0, counts as the index of the last element;
// then, when there is one, the result with its hidden columns, and the track the search
// was restricted to. Reading gives back what writing took, or an error that names the line.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct TVXQueryDocument
{
    struct Row
    {
        // Joined to the row before with And (false for the first row and for Or).
        bool AndPrevious = false;
        int Attribute = 0;
        int Operator = 0;
        QString Value;
    };
    struct TrackItem
    {
        QString ItemID;
        QString Text;
        int Level = 0;
        QString ParentText;
    };

    QString Title;
    QString ComposedBy;
    QString Comments;
    QString SourceDatabase;
    bool StatementsPage = true;
    QList<Row> FindRows;
    QList<Row> InRows;
    QStringList SqlLines;
    bool CaseSensitive = false;
    bool CountHits = true;
    bool HasResult = false;
    QStringList HiddenColumns;     // titles
    QList<QStringList> ResultRows; // the display text of every column
    bool HasTrack = false;
    QString InCaption;
    QString OrderLabel;
    bool IncludeRules = false;
    bool Indent = false;
    QList<TrackItem> TrackItems;

    QByteArray Write() const;
    // Throws with the line that does not fit.
    static TVXQueryDocument Read(const QByteArray &bytes);

    void Save(const QString &file) const;
    static TVXQueryDocument Open(const QString &file);
};
