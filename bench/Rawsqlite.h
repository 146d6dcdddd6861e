// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of storing: VXWORD rows inserted through the SQLite C API alone, one
// prepared statement, a transaction per 5,000 rows, into a table of the repository's shape.
#pragma once

#include <QString>

#include <vector>

struct TVXBenchWord
{
    int File = 0, Object = 0, Entry = 0, Row = 0, WordID = 0, Type = 0;
    QString Text;
};

// Seconds taken to insert the words into a new database file.
double VXRawSqliteInsert(const std::vector<TVXBenchWord> &words, const QString &file);

// Every VXWORD row of a repository file, in key order.
std::vector<TVXBenchWord> VXStoredWords(const QString &repository);
