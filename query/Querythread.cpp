// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Querythread.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "shell/Exception.h"

#include <memory>

TVXQueryThread::TVXQueryThread(TVXDataAccessInterface *db, QStringList sql, bool bidirectional)
    : DB(db)
    , SQL(std::move(sql))
    , Bidirectional(bidirectional)
{}

void TVXQueryThread::run()
{
    Finished = false;
    try {
        std::unique_ptr<TVXDataset> dataset(DB->GetQuery(nullptr, SQL, Bidirectional));
        for (; dataset && !dataset->Eof() && !Abandoned; dataset->Next())
            Result.push_back({dataset->Value(0).toInt(), dataset->Value(1).toInt(),
                              dataset->Value(2).toInt(), dataset->Value(3).toInt(),
                              dataset->Value(4).toInt(), dataset->Value(5).toInt()});
    } catch (const std::exception &e) {
        Error = VXMessage(e);
    }
    DB->ReleaseThreadConnection();
    Finished = true;
}
