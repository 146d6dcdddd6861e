// SPDX-License-Identifier: GPL-3.0-or-later
// Searches over a repository loaded from a generated COBOL portfolio, timed inside the
// process as the Query window runs them, beside ripgrep over the same source files.
//
//   query_bench [lines]
//
// lines defaults to 1,000,000; with QUERY_BENCH_KEEP set the sources and the repository
// stay behind for a look at the query plans. For each search it prints the time to the first page,
// the time to the last page and, where ripgrep has an equivalent, ripgrep's time and the ratio
// (ripgrep's time / ours: above 1 means faster than ripgrep).
#include "Cobolportfolio.h"
#include "base/Classregistry.h"
#include "base/Exception.h"

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Rowloop.h"
#include "query/Queryengine.h"
#include "query/Rulefinder.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "shell/Packageloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

struct Row
{
    bool AndPrevious;
    QString Table;
    QString Field;
    int TypeKey;
    TOperator Operator;
    QString Value;
};

struct Search
{
    const char *Name;
    QList<Row> Rows;
    QStringList Ripgrep; // empty: no equivalent
};

double Ripgrep(const QStringList &arguments)
{
    QElapsedTimer timer;
    timer.start();
    QProcess rg;
    rg.setStandardOutputFile(QProcess::nullDevice());
    rg.start(QStringLiteral("rg"), arguments);
    rg.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e6;
}

// The rules and the rows around each of the first hits of the last search, as the windows
// that explain a hit ask for them, beside one plain read of the hit's entry.
void ExplainHits(TVXDataAccessInterface *db, TVXQueryEngine &engine)
{
    engine.WhereClause().Clear();
    const int word = engine.Table(QStringLiteral("VXWORD"));
    engine.WhereClause().Add(true, word, engine.Field(word, QStringLiteral("VXWord")), -1);
    engine.WhereClause().SetOperator(VXOperator::Equals);
    engine.WhereClause().SetValueString(QStringLiteral("PERFORM"));
    engine.Query(true, false);
    while (engine.MoreRows() && engine.Result().RecordCount() < 200)
        engine.Query(false, false);
    const int hits = std::min(200, engine.Result().RecordCount());
    if (hits == 0)
        return;
    QElapsedTimer timer;
    timer.start();
    int rules = 0;
    for (int i = 0; i < hits; ++i) {
        const TVXQueryResultRow &hit = engine.Result().Row(i);
        rules += int(VXRuleFinder::RulesFor(
                             db, {hit.QRFileID, hit.QRObjectID, hit.QREntryID, hit.QRRowID})
                             .size());
    }
    const double rulesMs = timer.nsecsElapsed() / 1e6 / hits;
    timer.restart();
    for (int i = 0; i < hits; ++i) {
        const TVXQueryResultRow &hit = engine.Result().Row(i);
        const std::unique_ptr<TVXDataset> rows
                = VXRuleQueries::FileRowsFrom(db, hit.QRFileID, hit.QRRowID - 10000);
        for (int n = 0; rows && !rows->Eof() && n < 21; ++n)
            rows->Next();
    }
    const double aroundMs = timer.nsecsElapsed() / 1e6 / hits;
    timer.restart();
    for (int i = 0; i < hits; ++i) {
        const TVXQueryResultRow &hit = engine.Result().Row(i);
        VXSelectRows(db,
                     TVXCondition(QStringLiteral("SELECT VXRowID, VXWordID, VXWordType, "
                                                 "VXSectionLevel FROM VXWORD WHERE VXFileID = ? "
                                                 "AND VXObjectID = ? AND VXEntryID = ?"),
                                  {hit.QRFileID, hit.QRObjectID, hit.QREntryID}));
    }
    const double plainMs = timer.nsecsElapsed() / 1e6 / hits;
    std::printf("%-40s %6.3f ms per hit (%d rules for %d hits), rows around %6.3f ms, one plain "
                "read of the entry's words %6.3f ms, ratio %.2f\n",
                "rules for row", rulesMs, rules, hits, aroundMs, plainMs, plainMs / rulesMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const qint64 lines = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    try {
        TVXPackageLoader loader(QStringLiteral(VELUNOR_PACKAGE_DIR "/"));
        const std::unique_ptr<TVXLanguageDefinitionsInterface> cobol
                = CreateCobolDefinition(loader);
        std::unique_ptr<TVXDataAccessInterface> db(VXClassRegistry().Create<TVXDataAccessInterface>(
                QStringLiteral("TVXInMemoryDB"), static_cast<QObject *>(nullptr)));
        if (!db)
            throw TVXException(QStringLiteral("the InMemory package is missing"));

        QTemporaryDir work;
        if (qEnvironmentVariableIsSet("QUERY_BENCH_KEEP")) {
            work.setAutoRemove(false);
            std::printf("kept in %s\n", work.path().toLocal8Bit().constData());
        }
        const QString portfolio = work.filePath(QStringLiteral("portfolio"));
        QDir().mkpath(portfolio);
        const qint64 written = WritePortfolio(portfolio, lines);
        db->Connect(work.filePath(QStringLiteral("repository.sqlite")));
        QElapsedTimer timer;
        timer.start();
        const QStringList files = QDir(portfolio).entryList(QDir::Files, QDir::Name);
        // As a load of a whole portfolio does: the search indexes are built at the end.
        db->SuspendSearchIndexes();
        int fileID = 0;
        for (const QString &file : files) {
            db->VXFILE_Append(20520, 0, 0, 0, portfolio, file, 1, 1);
            VXParseFile(*cobol, db.get(), portfolio + QLatin1Char('/') + file, {++fileID, 0, 0, 0});
        }
        db->Commit(true, false);
        db->RestoreSearchIndexes();
        std::printf("repository: %lld lines in %d files loaded in %.1f s\n",
                    static_cast<long long>(written), int(files.size()), timer.nsecsElapsed() / 1e9);

        const bool haveRipgrep = !QStandardPaths::findExecutable(QStringLiteral("rg")).isEmpty();
        const QString word = QStringLiteral("VXWORD");
        const QList<Search> searches{
                {"(a) equals, common verb MOVE",
                 {{true, word, QStringLiteral("VXWord"), -1, VXOperator::Equals,
                   QStringLiteral("move")}},
                 {QStringLiteral("-w"), QStringLiteral("-i"), QStringLiteral("move"), portfolio}},
                {"(a) equals, rare identifier CPY-7-F3",
                 {{true, word, QStringLiteral("VXWord"), -1, VXOperator::Equals,
                   QStringLiteral("cpy-7-f3")}},
                 {QStringLiteral("-w"), QStringLiteral("-i"), QStringLiteral("cpy-7-f3"),
                  portfolio}},
                {"(b) contains FIELD-01",
                 {{true, word, QStringLiteral("VXWord"), -1, VXOperator::Contains,
                   QStringLiteral("field-01")}},
                 {QStringLiteral("-i"), QStringLiteral("field-01"), portfolio}},
                {"(c) MOVE and WS-FIELD-1 (use)",
                 {{true, word, QStringLiteral("VXWord"), -1, VXOperator::Equals,
                   QStringLiteral("MOVE")},
                  {true, word, QStringLiteral("VXWord"), 1012, VXOperator::Equals,
                   QStringLiteral("WS-FIELD-1")}},
                 {QStringLiteral("-i"), QStringLiteral("\\bmove\\b.*\\bws-field-1\\b"), portfolio}},
                {"(d) MOVE in object PGM00042",
                 {{true, word, QStringLiteral("VXWord"), -1, VXOperator::Equals,
                   QStringLiteral("MOVE")},
                  {true, QStringLiteral("VXOBJECT"), QStringLiteral("VXObjectName"), 0,
                   VXOperator::Equals, QStringLiteral("PGM00042")}},
                 {}},
        };
        TVXQueryEngine engine(db.get());
        for (const Search &search : searches) {
            engine.WhereClause().Clear();
            for (const Row &row : search.Rows) {
                const int table = engine.Table(row.Table);
                engine.WhereClause().Add(row.AndPrevious, table, engine.Field(table, row.Field),
                                         row.TypeKey);
                engine.WhereClause().SetOperator(row.Operator);
                engine.WhereClause().SetValueString(row.Value);
            }
            // The best of three runs, as a window repeats a search.
            double first = 1e30, last = 1e30;
            for (int run = 0; run < 3; ++run) {
                timer.restart();
                engine.Query(true, false);
                first = std::min(first, timer.nsecsElapsed() / 1e6);
                while (engine.MoreRows())
                    engine.Query(false, false);
                last = std::min(last, timer.nsecsElapsed() / 1e6);
            }
            std::printf("%-40s first page %8.2f ms, all %6d statements %9.2f ms", search.Name,
                        first, engine.Result().RecordCount(), last);
            if (haveRipgrep && !search.Ripgrep.isEmpty()) {
                double rg = 1e30;
                for (int run = 0; run < 3; ++run)
                    rg = std::min(rg, Ripgrep(search.Ripgrep));
                std::printf(", ripgrep %8.2f ms, ratio first page %.2f, all %.2f", rg, rg / first,
                            rg / last);
            }
            std::printf("\n");
        }
        ExplainHits(db.get(), engine);
        db->DisConnect();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "query_bench: %s\n", VXMessage(e).toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
