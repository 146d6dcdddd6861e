// SPDX-License-Identifier: GPL-3.0-or-later
// The line format that the window documents (.vnv, .vnq) share: one value per line, each
// ended by line feed then carriage return, booleans as -1 and 0. The reader names the line
// and the value that do not fit; files are written whole or not at all.
#pragma once

#include "base/Export.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace VXDocumentLines {

VXCORE_EXPORT QString Flag(bool value);
// The lines, each ended; a line end inside a value becomes a blank, or it would cut the
// document.
VXCORE_EXPORT QByteArray Join(const QStringList &lines);
// Written aside and put in place at the end: a failed save leaves the old document. kind
// names the document in the error ("View", "query").
VXCORE_EXPORT void Save(const QString &file, const QByteArray &bytes, const QString &kind);
VXCORE_EXPORT QByteArray Load(const QString &file, const QString &kind);

} // namespace VXDocumentLines

class VXCORE_EXPORT TVXDocumentLines
{
public:
    TVXDocumentLines(const QByteArray &bytes, QString kind);

    bool AtEnd() const { return m_next >= m_lines.size(); }
    const QString &Peek() const { return m_lines[m_next]; }
    QString Next(const char *what);
    bool Flag(const char *what);
    int Number(const char *what);
    // A count written as the index of its last element (-1 for none).
    int Count(const char *what);
    // Names the line read last.
    [[noreturn]] void Fail(const char *what, const QString &why) const;

private:
    [[noreturn]] void FailLine(qsizetype line, const char *what, const QString &why) const;

    QString m_kind;
    QStringList m_lines;
    qsizetype m_next = 0;
};
