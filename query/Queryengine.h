// SPDX-License-Identifier: GPL-3.0-or-later
// Which statements of the loaded sources hold words like these, in these places: the
// where clause becomes one SELECT over VXWORD (run on a thread of its own) and a set of
// match clauses tested against the other words of each selected statement. Qualifying
// statements fill the result table 40 rows at a time. The Query window owns an engine;
// velunor-cli drives one without a window.
#pragma once

#include "base/Export.h"

#include "query/Queryresultmodel.h"
#include "query/Querythread.h"
#include "query/Whereclause.h"
#include "repository/Condition.h"
#include "repository/Searchqueries.h"

#include <QElapsedTimer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class TVXDataAccessInterface;
class TVXDataset;

// One OR group of the SQL, or one condition tested in memory.
struct TWordClause
{
    QString SqlText;
    // What the SELECT runs in its place: the same condition, maybe answered otherwise,
    // with its values bound; RunSqlText shows it with the values written in.
    TVXCondition Run;
    QString RunSqlText;
    bool NeedsMatch = false;
    int TypeKey = 0;
    TOperator Operator = VXOperator::None;
    QString Value;
    int SectionType = 0;
    bool Matched = false;
    // The match clause that goes with an assignment attribute's OR group.
    bool Partner = false;
};

class VXCORE_EXPORT TVXQueryEngine
{
public:
    // What the window does while the engine works; each may be left empty.
    struct TVXCallbacks
    {
        std::function<void(const QString &)> Message; // "Getting Results..." and the like
        std::function<void()> ProcessEvents;
        std::function<void(bool)> ShowStop;
        std::function<bool()> StopRequested;
    };

    static constexpr int PageSize = 40;
    // The find attributes' keys that are not word types of their own.
    static constexpr int AnyExecutableWord = 99600;
    static constexpr int Assigns = 99601;
    static constexpr int AssignTo = 99602;
    static constexpr int AssignFrom = 99603;
    static constexpr int AnyWord = -1;
    // A pattern that fits at most this many distinct words is looked up word by word
    // through the word index; one that fits more reads the words in key order.
    static constexpr int MaximumPatternWords = 200;

    // Fetches the table and field handles once, as the window does when it connects.
    explicit TVXQueryEngine(TVXDataAccessInterface *db, TVXCallbacks callbacks = {});
    ~TVXQueryEngine();
    TVXQueryEngine(const TVXQueryEngine &) = delete;
    TVXQueryEngine &operator=(const TVXQueryEngine &) = delete;

    TVXWhereClause &WhereClause() { return m_whereClause; }
    void SetCaseSensitive(bool caseSensitive) { m_caseSensitive = caseSensitive; }
    // The caption of the "In:" group carries the track mode.
    void SetInCaption(const QString &caption) { m_inCaption = caption; }

    // The handles a where-clause part names.
    int Table(const QString &name) const;
    int Field(int table, const QString &name) const;

    void Query(bool newSearch, bool countHits);
    // The condition of one where-clause part on its table's column.
    TVXCondition FilterCondition(const TVXWhereClause &whereClause, bool caseSensitive,
                                 int index) const;
    // The SQL condition of a find attribute; a key it does not know is taken as a word type.
    static QString WordTypeCondition(int typeKey);
    static bool WordTypeMatches(int typeKey, int wordType);

    const QStringList &SqlLines() const { return m_sql; }
    // The lines the thread runs: the SQL lines, with patterns on words matched against
    // the distinct words first where the repository keeps them.
    const QStringList &RunSqlLines() const { return m_runSql; }
    // The statement that the thread runs, its values bound.
    const TVXCondition &RunStatement() const { return m_runStatement; }
    const QList<TWordClause> &WordClauses() const { return m_clauses; }
    TVXQueryResultModel &Result() { return m_result; }
    int HitCount() const { return m_hitCount; }
    int EndOfResults() const { return m_endOfResults; }
    bool MoreRows() const { return m_endOfResults < 0 && (m_next < m_words.size() || m_thread); }
    bool Stopped() const { return m_stopped; }
    double ElapsedSeconds() const { return m_elapsed; }
    const QString &OrderLabel() const { return m_orderLabel; }
    QString HitLabel() const;

    // Runs every line of the text that does not begin with "--"; false (and "Error in SQL
    // Statement" as the label) when one fails.
    // The last statement's rows stay open in last when it is given.
    bool SqlReport(const QString &text, QString &label, QString *error = nullptr,
                   std::unique_ptr<TVXDataset> *last = nullptr);

private:
    struct Handles
    {
        int Attribute, File, Word, Object, Entry, Package, Row;
        int WordField, SectionTypeField;
    };
    void Build();
    // The steps of Build.
    void ResetResults();
    void ChooseOrder();
    void AddAttributeFilter(int i);
    void AddWordClause(int i);
    void BuildSubQuery();
    void ComposeStatements();
    // The condition of a pattern on VXWord as a lookup of the distinct words that fit it,
    // or the condition itself.
    TVXCondition ThroughDistinctWords(const TVXCondition &condition, TOperator op, int field) const;
    bool Run(bool countHits);
    void Fetch(bool countHits);
    // Takes the rows the thread has read since; with wait, waits for some or for its end.
    // True when rows were added.
    bool ReadMore(bool wait);
    void AbandonThread();
    bool IsHit(const TVXQueryThread::Word &word);
    // What the words of one statement have shown so far: the section levels of the last
    // assignment keywords, the variables that may be assigned, the values to compare.
    struct TStatementScan
    {
        struct Candidate
        {
            int Clause;
            int Level;
        };
        struct Word
        {
            int Type = 0;
            QString Cased;
            int Level = 0;
            int SectionType = 0;
            bool IsHitWord = false;
        };
        std::array<int, 5> LevelOf{-1, -1, -1, -1, -1};
        QList<Candidate> Candidates;
        std::vector<QString> Prepared;
        int Level(int keyword) const;
    };
    void MatchWord(TStatementScan &scan, const TStatementScan::Word &word);
    bool AssignmentMatched(const TStatementScan &scan,
                           const TStatementScan::Candidate &candidate) const;
    // The words of the hit's statement, in order.
    std::unique_ptr<TVXDataset> StatementWords(const TVXQueryThread::Word &hit) const;
    // Whether the match clauses, as the words so far matched them, make the statement a hit.
    bool ClausesMatched() const;
    bool InTrack(const TVXQueryThread::Word &word) const;
    void AppendRow(const TVXQueryThread::Word &word);
    // Appends the hits of a page, their rows, names and attributes read together.
    void AppendRows(const QList<TVXQueryThread::Word> &words);
    void FillAttributeNames(TVXQueryResultRow &row);
    // Renumbers the result in the order the track runs its statements.
    void OrderByExecution();
    void Say(const QString &message) const;

    TVXDataAccessInterface *m_db;
    TVXCallbacks m_callbacks;
    Handles m_handles{};
    TVXWhereClause m_whereClause;
    bool m_caseSensitive = false;
    QString m_inCaption;
    bool m_trackMode = false;
    bool m_sequentialEntries = false;
    bool m_sequentialObjects = false;
    QString m_orderLabel;

    QString m_fileFilter;
    TVXCondition m_subQuery;
    QList<TWordClause> m_clauses;
    bool m_matchNeeded = false;
    QStringList m_sql;
    QStringList m_runSql;
    TVXCondition m_runStatement;
    std::vector<TVXQueryThread::Word> m_words;
    size_t m_next = 0;
    size_t m_pageStart = 0;
    int m_hitCount = -1;
    int m_endOfResults = -1;
    bool m_stopped = false;
    QElapsedTimer m_timer;
    double m_elapsed = 0;
    TVXQueryResultModel m_result;
    std::unique_ptr<TVXQueryThread> m_thread;
    // Stopped searches whose SELECT has not come back yet; waited for at the end.
    std::vector<std::unique_ptr<TVXQueryThread>> m_abandoned;

    // What the previous result row looked up.
    TVXQueryResultRow m_previous;
    bool m_hasPrevious = false;
    // What AppendRows read for the page being appended; AppendRow asks the repository for
    // anything missing.
    struct TPageLookups
    {
        QHash<int, TVXFileAttributes> Files;
        QHash<TVXWordPlace, QString> Objects, Entries, Rows;
    } m_page;
    // Attribute names by id, for the whole search.
    QHash<int, std::optional<QString>> m_attributeNames;
};
