// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Querythread.h"

#include "base/Exception.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <memory>

TVXQueryThread::TVXQueryThread(TVXDataAccessInterface *db, TVXCondition statement,
                               bool bidirectional)
    : DB(db)
    , Statement(std::move(statement))
    , Bidirectional(bidirectional)
{}

void TVXQueryThread::run()
{
    Finished = false;
    try {
        std::unique_ptr<TVXDataset> dataset(DB->GetBoundQuery(nullptr, Statement, Bidirectional));
        std::vector<Word> batch;
        for (; dataset && !dataset->Eof() && !Abandoned; dataset->Next()) {
            batch.push_back({dataset->Value(0).toInt(), dataset->Value(1).toInt(),
                             dataset->Value(2).toInt(), dataset->Value(3).toInt(),
                             dataset->Value(4).toInt(), dataset->Value(5).toInt()});
            // Small batches first, so that the first page can be shown early.
            if (batch.size() >= 256) {
                QMutexLocker lock(&m_lock);
                m_pending.insert(m_pending.end(), batch.begin(), batch.end());
                batch.clear();
            }
        }
        QMutexLocker lock(&m_lock);
        m_pending.insert(m_pending.end(), batch.begin(), batch.end());
    } catch (const std::exception &e) {
        QMutexLocker lock(&m_lock);
        Error = VXMessage(e);
    }
    DB->ReleaseThreadConnection();
    Finished = true;
}

void TVXQueryThread::Drain(std::vector<Word> &words)
{
    QMutexLocker lock(&m_lock);
    words.insert(words.end(), m_pending.begin(), m_pending.end());
    m_pending.clear();
}
