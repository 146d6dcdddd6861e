// SPDX-License-Identifier: GPL-3.0-or-later
#include "Rawsqlite.h"

#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

namespace {

const int BatchSize = 5000; // about one source file's words

} // namespace

double VXRawSqliteInsert(const std::vector<TVXBenchWord> &words, const QString &file)
{
    QFile::remove(file);
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr,
                 nullptr);
    sqlite3_exec(db,
                 "CREATE TABLE VXWORD (VXFileID INTEGER, VXObjectID INTEGER, VXEntryID INTEGER, "
                 "VXRowID INTEGER, VXWordID INTEGER, VXLanguageID INTEGER, VXSectionType "
                 "INTEGER, VXSectionLevel INTEGER, VXWord VARCHAR(64), VXWordType INTEGER, "
                 "VXObjectIdentifier VARCHAR(64), PRIMARY KEY (VXFileID, VXObjectID, VXEntryID, "
                 "VXRowID, VXWordID)) WITHOUT ROWID",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO VXWORD VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1, &insert,
                       nullptr);
    QElapsedTimer timer;
    timer.start();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const TVXBenchWord &w = words[i];
        const int numbers[] = {w.File, w.Object, w.Entry, w.Row, w.WordID, 20520, 7, 3};
        for (int n = 0; n < 8; ++n)
            sqlite3_bind_int(insert, n + 1, numbers[n]);
        const QByteArray text = w.Text.toUtf8();
        sqlite3_bind_text(insert, 9, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 10, w.Type);
        sqlite3_bind_text(insert, 11, "", 0, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
        if ((i + 1) % BatchSize == 0) {
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        }
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double seconds = timer.nsecsElapsed() / 1e9;
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return seconds;
}

std::vector<TVXBenchWord> VXStoredWords(const QString &repository)
{
    std::vector<TVXBenchWord> words;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(repository.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        != SQLITE_OK) {
        sqlite3_close(db);
        return words;
    }
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID, VXWordType, "
                       "VXWord FROM VXWORD ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID, "
                       "VXWordID",
                       -1, &select, nullptr);
    while (select && sqlite3_step(select) == SQLITE_ROW) {
        TVXBenchWord word;
        word.File = sqlite3_column_int(select, 0);
        word.Object = sqlite3_column_int(select, 1);
        word.Entry = sqlite3_column_int(select, 2);
        word.Row = sqlite3_column_int(select, 3);
        word.WordID = sqlite3_column_int(select, 4);
        word.Type = sqlite3_column_int(select, 5);
        word.Text
                = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(select, 6)),
                                    sqlite3_column_bytes(select, 6));
        words.push_back(std::move(word));
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return words;
}
