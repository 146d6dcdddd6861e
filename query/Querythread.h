// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the one SELECT of a search away from the user-interface thread, which polls
// Finished while it keeps the window alive.
#pragma once

#include "base/Export.h"

#include "repository/Condition.h"

#include <QMutex>
#include <QStringList>
#include <QThread>

#include <array>
#include <atomic>
#include <vector>

class TVXDataAccessInterface;

class VXCORE_EXPORT TVXQueryThread : public QThread
{
    Q_OBJECT
public:
    // The key columns of one selected word: file, object, entry, row, word, section level.
    using Word = std::array<int, 6>;

    TVXQueryThread(TVXDataAccessInterface *db, TVXCondition statement, bool bidirectional);

    TVXDataAccessInterface *DB;
    TVXCondition Statement;
    bool Bidirectional;
    std::atomic<bool> Finished{false};
    // Asks the thread to stop reading rows; the SELECT itself runs to its end.
    std::atomic<bool> Abandoned{false};
    QString Error;

    // Moves the rows read since the last call to the end of words. A dataset reads through
    // the connection of the thread that opened it, so the rows are read here and handed
    // over as values while the reading goes on.
    void Drain(std::vector<Word> &words);

protected:
    void run() override;

private:
    QMutex m_lock;
    std::vector<Word> m_pending;
};
