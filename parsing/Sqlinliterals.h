// SPDX-License-Identifier: GPL-3.0-or-later
// SQL that a host program keeps in its string literals ("SELECT ... FROM CUSTOMER"): the
// words of one statement's literals, one at a time, and the tables they name.
#pragma once

#include "parsing/Parseelements.h"

#include <QString>

class TVXSqlInLiterals
{
public:
    // A new host statement: what earlier literals began does not go on.
    void Reset() { m_statement = m_tableDue = false; }

    // A word that names no table where one was due (a format argument).
    void Skip() { m_tableDue = false; }

    // Types the literal word as a table reference when the SQL before it asks for a table.
    void Type(TVXWordElement &word, const QString &text)
    {
        if (Is(text, "SELECT") || Is(text, "INSERT") || Is(text, "DELETE") || Is(text, "UPDATE")
            || Is(text, "MERGE"))
            m_statement = true;
        if (!m_statement)
            return;
        if (Is(text, "FROM") || Is(text, "JOIN") || Is(text, "INTO") || Is(text, "UPDATE")) {
            m_tableDue = true;
            return;
        }
        if (m_tableDue && !text.isEmpty()
            && (text.front().isLetter() || text.front() == QLatin1Char('['))) {
            word.WordType = VXWordType::TableName;
            word.ObjectIdentifier = text;
            m_tableDue = false;
        }
    }

private:
    static bool Is(const QString &text, const char *keyword)
    {
        const QLatin1String word(keyword);
        return text.size() == word.size() && text.compare(word, Qt::CaseInsensitive) == 0;
    }

    bool m_statement = false;
    bool m_tableDue = false;
};
