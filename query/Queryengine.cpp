// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Queryengine.h"

#include "base/Exception.h"

#include "parsing/Globals.h"
#include "query/Executionorder.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "repository/Repositoryqueries.h"
#include "repository/Searchqueries.h"

#include <QThread>

#include <array>
#include <limits>

using namespace VXWordType;

namespace {

QString Number(int value)
{
    return QString::number(value);
}

QString Codes(std::initializer_list<int> codes)
{
    QStringList list;
    for (const int code : codes)
        list << Number(code);
    return list.join(QStringLiteral(", "));
}

// The key of a word inside its statement (words of one statement share it).
int StatementKey(int wordID)
{
    return wordID % 1000;
}

} // namespace

TVXQueryEngine::TVXQueryEngine(TVXDataAccessInterface *db, TVXCallbacks callbacks)
    : m_db(db)
    , m_callbacks(std::move(callbacks))
{
    m_handles.Attribute = m_db->GetTable(QStringLiteral("VXATTRIBUTE"));
    m_handles.File = m_db->GetTable(QStringLiteral("VXFILE"));
    m_handles.Word = m_db->GetTable(QStringLiteral("VXWORD"));
    m_handles.Object = m_db->GetTable(QStringLiteral("VXOBJECT"));
    m_handles.Entry = m_db->GetTable(QStringLiteral("VXENTRY"));
    m_handles.Package = m_db->GetTable(QStringLiteral("VXPACKAGE"));
    m_handles.Row = m_db->GetTable(QStringLiteral("VXROW"));
    m_handles.WordField = m_db->GetField(m_handles.Word, QStringLiteral("VXWord"));
    m_handles.SectionTypeField = m_db->GetField(m_handles.Word, QStringLiteral("VXSectionType"));
}

TVXQueryEngine::~TVXQueryEngine()
{
    AbandonThread();
    for (const auto &thread : m_abandoned)
        thread->wait();
}

int TVXQueryEngine::Table(const QString &name) const
{
    return m_db->GetTable(name);
}

int TVXQueryEngine::Field(int table, const QString &name) const
{
    return m_db->GetField(table, name);
}

void TVXQueryEngine::Say(const QString &message) const
{
    if (m_callbacks.Message)
        m_callbacks.Message(message);
}

QString TVXQueryEngine::WordTypeCondition(int typeKey)
{
    auto notIn = [](std::initializer_list<int> codes) {
        return QStringLiteral("VXWordType NOT IN(") + Codes(codes) + QLatin1Char(')');
    };
    auto in = [](std::initializer_list<int> codes) {
        return QStringLiteral("VXWordType IN(") + Codes(codes) + QLatin1Char(')');
    };
    auto equal = [](int code) { return QStringLiteral("VXWordType = ") + Number(code); };
    switch (typeKey) {
    case AnyExecutableWord:
        return notIn(
                {CommentWord, LineCommentStart, BlockCommentStart, BlockCommentEnd, DataFileWord});
    case DeclarationName:
    case DeclarationType:
    case VariableReference:
    case Constant:
    case MainDelimiter:
    case Operator:
    case LiteralConstant:
        return equal(typeKey);
    case AssignTo:
    case AssignFrom:
        // The bracket ends the OR group; the partner match clause gets the " )".
        return equal(VariableReference) + QLatin1Char(')');
    case ReferencedName:
        return in({HostName, ReferencedName});
    case CommentWord:
        return in({CommentWord, LineCommentStart, BlockCommentStart, BlockCommentEnd});
    case Assigns:
        return in({Assignment, To, SetOrAccept, Initialize, SqlInto, SqlSetList});
    case Comparison:
        return in({Comparison, If, ElseIf, Evaluate, When, LoopKeyword, LoopUntil});
    case AnyWord:
        return QStringLiteral("VXFileID > 0");
    default:
        return equal(typeKey);
    }
}

bool TVXQueryEngine::WordTypeMatches(int typeKey, int wordType)
{
    auto oneOf = [wordType](std::initializer_list<int> codes) {
        return std::find(codes.begin(), codes.end(), wordType) != codes.end();
    };
    switch (typeKey) {
    case AnyExecutableWord:
        return !oneOf(
                {CommentWord, LineCommentStart, BlockCommentStart, BlockCommentEnd, DataFileWord});
    case AssignTo:
    case AssignFrom:
        return wordType == VariableReference;
    case ReferencedName:
        return oneOf({HostName, ReferencedName});
    case CommentWord:
        return oneOf({CommentWord, LineCommentStart, BlockCommentStart, BlockCommentEnd});
    case Assigns:
        return oneOf({To, Assignment, SetOrAccept, Initialize});
    case Comparison:
        return oneOf({Comparison, If, ElseIf, Evaluate, When, LoopKeyword, LoopUntil});
    case AnyWord:
        return true;
    default:
        return wordType == typeKey;
    }
}

TVXCondition TVXQueryEngine::FilterCondition(const TVXWhereClause &whereClause, bool caseSensitive,
                                             int index) const
{
    const int table = whereClause.GetTable(index);
    const QString column = m_db->GetFieldName(table, whereClause.GetField(index));
    const QString v = whereClause.RawValueString(index);
    if (column.toUpper() == QLatin1String("VXFILEID")) {
        // An item reference: file[;second[;entry]][:caption]. Only its numbers reach the
        // SQL, so a caption or a damaged reference cannot change the statement.
        const QString reference = v.section(QLatin1Char(':'), 0, 0);
        const QStringList parts = reference.split(QLatin1Char(';'));
        QVariantList numbers;
        for (const QString &part : parts)
            numbers << part.trimmed().toInt();
        if (parts.size() == 1)
            return TVXCondition(QStringLiteral("VXFileID = ?"), numbers);
        if (parts.size() == 2)
            return TVXCondition(table == m_handles.Package
                                        ? QStringLiteral("(VXFileID = ? AND VXPackageID = ?)")
                                        : QStringLiteral("(VXFileID = ? AND VXObjectID = ?)"),
                                numbers);
        return TVXCondition(QStringLiteral("(VXFileID = ? AND VXObjectID = ? AND VXEntryID = ?)"),
                            numbers.mid(0, 3));
    }
    const QString left
            = caseSensitive ? column : QStringLiteral("Upper(") + column + QLatin1Char(')');
    const QString value = caseSensitive ? v : v.toUpper();
    // "%" and "_" typed in a value are characters to find, not wildcards.
    QString pattern = value;
    QString escape;
    if (pattern.contains(QLatin1Char('%')) || pattern.contains(QLatin1Char('_'))
        || pattern.contains(QLatin1Char('\\'))) {
        pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        pattern.replace(QLatin1Char('%'), QStringLiteral("\\%"));
        pattern.replace(QLatin1Char('_'), QStringLiteral("\\_"));
        escape = QStringLiteral(" ESCAPE '\\'");
    }
    const QString like = left + QStringLiteral(" LIKE ?") + escape;
    const QChar any = QLatin1Char('%');
    switch (whereClause.GetOperator(index)) {
    case VXOperator::Equals:
        return TVXCondition(left + QStringLiteral(" = ?"), {value});
    case VXOperator::Contains:
        return TVXCondition(like, {any + pattern + any});
    case VXOperator::BeginsWith:
        return TVXCondition(like, {pattern + any});
    case VXOperator::EndsWith:
        return TVXCondition(like, {any + pattern});
    default:
        return {};
    }
}

void TVXQueryEngine::Build()
{
    ResetResults();
    ChooseOrder();
    m_fileFilter.clear();
    m_subQuery = TVXCondition();
    m_matchNeeded = false;
    m_clauses.clear();
    for (int i = 0; i < m_whereClause.Count(); ++i) {
        const int table = m_whereClause.GetTable(i);
        if (table == m_handles.Attribute)
            AddAttributeFilter(i);
        else if (table == m_handles.Word)
            AddWordClause(i);
    }
    BuildSubQuery();
    ComposeStatements();
}

void TVXQueryEngine::ResetResults()
{
    m_result.Clear();
    m_result.SetIndexFieldNames(QString());
    AbandonThread();
    m_words.clear();
    m_next = 0;
    m_pageStart = std::numeric_limits<size_t>::max();
    m_hitCount = -1;
    m_endOfResults = -1;
    m_stopped = false;
    m_hasPrevious = false;
    m_page = {};
    m_attributeNames.clear();
}

// Track searches order their hits by the track's entries or objects.
void TVXQueryEngine::ChooseOrder()
{
    m_trackMode = m_sequentialEntries = m_sequentialObjects = false;
    m_orderLabel.clear();
    if (m_inCaption.contains(QLatin1String("Track"))
        && m_inCaption.contains(QLatin1String("Entry"))) {
        m_trackMode = true;
        m_orderLabel = QStringLiteral("Order by: Entry in Track, Statement");
        if (m_inCaption.contains(QLatin1String("Sequentially"))) {
            m_sequentialEntries = true;
            m_orderLabel = QStringLiteral("Order by: Entry in Track, Statement (execution order)");
        }
    } else if (m_inCaption.contains(QLatin1String("Track"))
               && m_inCaption.contains(QLatin1String("Object"))) {
        m_trackMode = true;
        m_orderLabel = QStringLiteral("Order by: Object in Track, Entry, Statement");
        m_sequentialObjects = m_inCaption.contains(QLatin1String("Sequentially"));
    }
}

// A system, computer or application row: the files of the attributes that the row names.
void TVXQueryEngine::AddAttributeFilter(int i)
{
    const TVXWhereClause &wc = m_whereClause;
    const QList<int> found = VXSearchQueries::AttributeIDs(
            m_db, FilterCondition(wc, m_caseSensitive, i), wc.GetTypeKey(i));
    const QString join = wc.GetAnd_Previous(i) ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
    if (!found.isEmpty()) {
        static const std::array<const char *, 4> columns{"", "VXSystemID IN (", "VXComputerID IN (",
                                                         "VXApplicationID IN ("};
        const int type = wc.GetTypeKey(i);
        QStringList ids;
        for (const int id : found)
            ids << Number(id);
        const QString list = QLatin1String(columns[type >= 1 && type <= 3 ? type : 1])
                             + ids.join(QLatin1Char(',')) + QLatin1Char(')');
        m_fileFilter = m_fileFilter.isEmpty() ? list : m_fileFilter + join + list;
    } else {
        m_fileFilter = m_fileFilter.isEmpty()
                               ? QStringLiteral("VXFileID = 0")
                               : m_fileFilter + join + QStringLiteral("(VXFileID = 0)");
    }
}

// A find row: a clause of the statement's SQL, or a match that the hit's statement is
// tested against when it is read.
void TVXQueryEngine::AddWordClause(int i)
{
    const TVXWhereClause &wc = m_whereClause;
    TWordClause clause;
    if (m_clauses.isEmpty()) {
        clause.SqlText = QStringLiteral("( ");
    } else if (wc.GetField(i) == m_handles.SectionTypeField) {
        clause.NeedsMatch = true;
        clause.SectionType = wc.GetTypeKey(i);
    } else if (!wc.GetAnd_Previous(i)) {
        clause.SqlText = QStringLiteral(" OR ( ");
    } else {
        clause.NeedsMatch = true;
        clause.TypeKey = wc.GetTypeKey(i);
        clause.Operator = wc.GetOperator(i);
        clause.Value = wc.RawValueString(i);
    }
    if (clause.NeedsMatch) {
        m_matchNeeded = true;
        m_clauses.append(clause);
        return;
    }
    clause.Run = TVXCondition(clause.SqlText);
    if (wc.GetOperator(i) != VXOperator::None) {
        const TVXCondition condition = FilterCondition(wc, m_caseSensitive, i);
        clause.SqlText += condition.Inlined() + QStringLiteral(" AND ");
        clause.Run = clause.Run + ThroughDistinctWords(condition, wc.GetOperator(i), wc.GetField(i))
                     + QStringLiteral(" AND ");
    }
    clause.SqlText += WordTypeCondition(wc.GetTypeKey(i));
    clause.Run.Then(WordTypeCondition(wc.GetTypeKey(i)));
    m_clauses.append(clause);
    if (wc.GetTypeKey(i) == AssignTo || wc.GetTypeKey(i) == AssignFrom) {
        m_clauses.last().TypeKey = wc.GetTypeKey(i);
        TWordClause partner;
        partner.NeedsMatch = true;
        partner.Partner = true;
        partner.TypeKey = wc.GetTypeKey(i);
        partner.Operator = wc.GetOperator(i);
        partner.Value = wc.RawValueString(i);
        m_clauses.append(partner);
        m_matchNeeded = true;
    }
    m_clauses.last().SqlText += QStringLiteral(" )");
    m_clauses.last().Run.Then(QStringLiteral(" )"));
    for (qsizetype c = m_clauses.size() - 1; c >= 0 && m_clauses[c].RunSqlText.isEmpty(); --c)
        m_clauses[c].RunSqlText = m_clauses[c].Run.Inlined();
}

// Sub-queries on packages, objects and entries.
void TVXQueryEngine::BuildSubQuery()
{
    const TVXWhereClause &wc = m_whereClause;
    if (m_trackMode) {
        QString files;
        for (int i = 0; i < wc.Count(); ++i) {
            if (wc.GetTable(i) != m_handles.Object && wc.GetTable(i) != m_handles.Entry)
                continue;
            const QString reference = wc.RawValueString(i).section(QLatin1Char(':'), 0, 0);
            if (!reference.contains(QLatin1Char(';')))
                continue;
            const QString entry
                    = QStringLiteral(" %1,").arg(reference.section(QLatin1Char(';'), 0, 0).toInt());
            if (!files.contains(entry))
                files += entry;
        }
        if (!files.isEmpty())
            m_subQuery = TVXCondition(QStringLiteral(" AND (W.VXFileID IN (") + files.chopped(1)
                                      + QLatin1Char(')'));
    } else {
        for (int i = 0; i < wc.Count(); ++i) {
            const int table = wc.GetTable(i);
            QString text;
            if (table == m_handles.Package)
                text = QStringLiteral(
                        "SELECT * FROM VXPackage P WHERE P.VXObjectFileID = W.VXFileID "
                        "AND P.VXObjectID = W.VXObjectID AND ");
            else if (table == m_handles.Object)
                text = QStringLiteral("SELECT * FROM VXObject O WHERE O.VXFileID = W.VXFileID AND "
                                      "O.VXObjectID = W.VXObjectID AND ");
            else if (table == m_handles.Entry)
                text = QStringLiteral(
                        "SELECT * FROM VXEntry E WHERE E.VXFileID = W.VXFileID AND "
                        "E.VXObjectID = W.VXObjectID AND E.VXEntryID = W.VXEntryID AND ");
            else
                continue;
            const QString start = m_subQuery.IsEmpty()    ? QStringLiteral(" AND ( EXISTS (")
                                  : wc.GetAnd_Previous(i) ? QStringLiteral(" AND EXISTS (")
                                                          : QStringLiteral(" OR EXISTS (");
            m_subQuery = m_subQuery + start + text + FilterCondition(wc, m_caseSensitive, i)
                         + QStringLiteral(")");
        }
    }
}

// The statement shown (m_sql) and the one run (m_runStatement, through the distinct words,
// shown as m_runSql).
void TVXQueryEngine::ComposeStatements()
{
    auto lines = [this](bool run) {
        QList<TVXCondition> sql{
                TVXCondition(QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, "
                                            "VXWordID, VXSectionLevel FROM VXWORD W WHERE ")),
                TVXCondition(QStringLiteral("("))};
        for (const TWordClause &clause : std::as_const(m_clauses))
            if (!clause.NeedsMatch)
                sql << (run ? clause.Run : TVXCondition(clause.SqlText));
        sql << TVXCondition(QStringLiteral(")"));
        // The filter holds attribute ids only.
        if (!m_fileFilter.isEmpty())
            sql << TVXCondition(QStringLiteral(" AND EXISTS (SELECT * FROM VXFILE F WHERE "
                                               "F.VXFileID = W.VXFileID AND (")
                                + m_fileFilter + QStringLiteral("))"));
        if (!m_subQuery.IsEmpty())
            sql << m_subQuery + QStringLiteral(")");
        sql << TVXCondition(
                QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID"));
        return sql;
    };
    m_sql.clear();
    for (const TVXCondition &line : lines(false))
        m_sql << line.Inlined();
    m_runSql.clear();
    m_runStatement = TVXCondition();
    for (const TVXCondition &line : lines(true)) {
        m_runSql << line.Inlined();
        m_runStatement
                = m_runStatement.IsEmpty() ? line : m_runStatement + QStringLiteral("\n") + line;
    }
}

TVXCondition TVXQueryEngine::ThroughDistinctWords(const TVXCondition &condition, TOperator op,
                                                  int field) const
{
    // A pattern cannot use the word index, so every word of the repository would be read.
    const QString table = m_db->DistinctWordTable();
    const qsizetype like = condition.Text().indexOf(QLatin1String(" LIKE "));
    if (table.isEmpty() || field != m_handles.WordField || like < 0
        || (op != VXOperator::BeginsWith && op != VXOperator::EndsWith
            && op != VXOperator::Contains))
        return condition;
    // The condition names VXWORD, which inside the sub-select is the distinct word.
    if (VXRepositoryQueries::RowCount(m_db, table, condition) > MaximumPatternWords)
        return condition;
    const QString word = condition.Text().left(like);
    return QStringLiteral("%1 IN (SELECT %1 FROM %2 WHERE ").arg(word, table) + condition
           + QStringLiteral(")");
}

bool TVXQueryEngine::Run(bool countHits)
{
    // No file passes the filter: a query that returns nothing.
    if (VXSearchQueries::FileCount(m_db, TVXCondition(m_fileFilter)) == 0) {
        m_sql = QStringList{
                QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, "
                               "VXWordID, VXSectionLevel FROM VXWORD WHERE VXFileID = 0")};
        m_runSql = m_sql;
        m_runStatement = TVXCondition(m_sql[0]);
        m_hitCount = 0;
        return true;
    }
    m_thread = std::make_unique<TVXQueryThread>(m_db, m_runStatement, countHits);
    m_thread->start();
    if (m_callbacks.ShowStop)
        m_callbacks.ShowStop(true);
    // Without a count the first page is made as soon as there are rows for it; the rest
    // is read while the user looks at it.
    const size_t enough = countHits ? std::numeric_limits<size_t>::max() : size_t(4 * PageSize);
    while (!m_thread->Finished && m_words.size() < enough) {
        if (m_callbacks.StopRequested && m_callbacks.StopRequested()) {
            // A thread killed inside the database client could leave its locks behind, so
            // the SELECT is left to end on its own and its rows are dropped.
            AbandonThread();
            if (m_callbacks.ShowStop)
                m_callbacks.ShowStop(false);
            m_stopped = true;
            m_endOfResults = 0;
            return false;
        }
        if (!m_thread->wait(countHits ? 50 : 2) && m_callbacks.ProcessEvents)
            m_callbacks.ProcessEvents();
        m_thread->Drain(m_words);
    }
    if (m_callbacks.ShowStop)
        m_callbacks.ShowStop(false);
    ReadMore(false);
    if (countHits) {
        Say(QStringLiteral("Counting Results..."));
        m_hitCount = int(m_words.size());
    }
    return true;
}

bool TVXQueryEngine::ReadMore(bool wait)
{
    if (!m_thread)
        return false;
    const size_t before = m_words.size();
    for (;;) {
        const bool finished = m_thread->Finished;
        m_thread->Drain(m_words);
        if (finished) {
            m_thread->wait();
            const QString error = m_thread->Error;
            m_thread.reset();
            if (!error.isEmpty())
                throw TVXException(error);
            break;
        }
        if (!wait || m_words.size() > before)
            break;
        m_thread->wait(1);
    }
    return m_words.size() > before;
}

void TVXQueryEngine::AbandonThread()
{
    if (!m_thread)
        return;
    m_thread->Abandoned = true;
    m_abandoned.push_back(std::move(m_thread));
}

void TVXQueryEngine::Query(bool newSearch, bool countHits)
{
    if (newSearch) {
        m_timer.start();
        Build();
        if (!Run(countHits)) {
            m_elapsed = m_timer.elapsed() / 1000.0;
            return;
        }
    }
    Say(m_matchNeeded ? QStringLiteral("Matching AND Getting Results...")
                      : QStringLiteral("Getting Results..."));
    Fetch(countHits);
    if (newSearch)
        m_elapsed = m_timer.elapsed() / 1000.0;
}

bool TVXQueryEngine::InTrack(const TVXQueryThread::Word &word) const
{
    for (int i = 0; i < m_whereClause.Count(); ++i) {
        if (m_whereClause.GetTable(i) != m_handles.Object
            && m_whereClause.GetTable(i) != m_handles.Entry)
            continue;
        const QStringList parts = m_whereClause.GetValueString(i)
                                          .section(QLatin1Char(':'), 0, 0)
                                          .split(QLatin1Char(';'));
        if (parts.size() < 2 || parts[0].toInt() != word[0] || parts[1].toInt() != word[1])
            continue;
        if (parts.size() < 3 || parts[2].toInt() == word[2])
            return true;
    }
    return false;
}

namespace {

// The slot of an assignment keyword in a statement scan: to, =, set, initialize, into.
int AssignmentSlot(int type)
{
    switch (type) {
    case To:
        return 0;
    case Assignment:
        return 1;
    case SetOrAccept:
        return 2;
    case Initialize:
        return 3;
    case SqlInto:
        return 4;
    default:
        return -1;
    }
}

} // namespace

int TVXQueryEngine::TStatementScan::Level(int keyword) const
{
    return LevelOf[size_t(AssignmentSlot(keyword))];
}

bool TVXQueryEngine::AssignmentMatched(const TStatementScan &scan,
                                       const TStatementScan::Candidate &candidate) const
{
    if (m_clauses[candidate.Clause].TypeKey == AssignTo)
        return candidate.Level == scan.Level(To) || candidate.Level == scan.Level(Initialize)
               || candidate.Level == scan.Level(SqlInto);
    return candidate.Level == scan.Level(Assignment) || candidate.Level == scan.Level(SetOrAccept);
}

bool TVXQueryEngine::IsHit(const TVXQueryThread::Word &hit)
{
    if (m_trackMode && !InTrack(hit))
        return false;
    if (!m_matchNeeded)
        return true;
    const std::unique_ptr<TVXDataset> statement = StatementWords(hit);
    if (!statement || statement->Eof())
        return false;
    TStatementScan scan;
    // The clauses' values as the words are compared: typed text, cased once per search.
    scan.Prepared.reserve(m_clauses.size());
    for (TWordClause &clause : m_clauses) {
        clause.Matched = false;
        scan.Prepared.push_back(m_caseSensitive ? clause.Value : clause.Value.toUpper());
    }
    const int hitKey = StatementKey(hit[4]);
    for (; !statement->Eof(); statement->Next()) {
        const int row = statement->Value(0).toInt();
        const int wordID = statement->Value(1).toInt();
        const int key = StatementKey(wordID);
        if (key < hitKey)
            continue;
        if (key > hitKey)
            break;
        TStatementScan::Word word;
        word.Type = statement->Value(2).toInt();
        const QString text = statement->Value(3).toString().trimmed();
        word.Cased = m_caseSensitive ? text : text.toUpper();
        word.Level = statement->Value(4).toInt();
        word.SectionType = statement->Value(5).toInt();
        word.IsHitWord = row == hit[3] && wordID == hit[4];
        MatchWord(scan, word);
        if (ClausesMatched())
            return true;
    }
    return false;
}

void TVXQueryEngine::MatchWord(TStatementScan &scan, const TStatementScan::Word &word)
{
    if (const int slot = AssignmentSlot(word.Type); slot >= 0)
        scan.LevelOf[size_t(slot)] = word.Level;
    for (int c = 0; c < m_clauses.size(); ++c) {
        TWordClause &clause = m_clauses[c];
        if (!clause.NeedsMatch || clause.Matched)
            continue;
        if (clause.SectionType != 0 && clause.TypeKey == 0 && clause.Value.isEmpty()) {
            clause.Matched = !word.IsHitWord && word.SectionType == clause.SectionType;
            continue;
        }
        const bool valuePasses
                = clause.Value.isEmpty()
                  || (clause.Operator != VXOperator::None
                      && VXCompareText(word.Cased, clause.Operator, scan.Prepared[size_t(c)]));
        if (clause.TypeKey == AssignTo || clause.TypeKey == AssignFrom) {
            if (valuePasses && word.Type == VariableReference) {
                scan.Candidates.append({c, word.Level});
                clause.Matched = AssignmentMatched(scan, scan.Candidates.last());
            }
            continue;
        }
        if (!word.IsHitWord && valuePasses && WordTypeMatches(clause.TypeKey, word.Type))
            clause.Matched = true;
    }
    // The keyword may come after the variable (COMPUTE X = ..., ... TO X).
    if (word.Type == To || word.Type == Assignment)
        for (const TStatementScan::Candidate &candidate : std::as_const(scan.Candidates))
            if (!m_clauses[candidate.Clause].Matched && AssignmentMatched(scan, candidate))
                m_clauses[candidate.Clause].Matched = true;
}

std::unique_ptr<TVXDataset> TVXQueryEngine::StatementWords(const TVXQueryThread::Word &hit) const
{
    const int base = hit[3] - hit[3] % 1000;
    return VXSearchQueries::StatementWords(m_db, {hit[0], hit[1], hit[2], 0}, base, base + 499);
}

bool TVXQueryEngine::ClausesMatched() const
{
    bool isHit = true;
    bool partnerMatched = false;
    for (int c = 0; c < m_clauses.size(); ++c) {
        const TWordClause &clause = m_clauses[c];
        if (!clause.NeedsMatch)
            continue;
        if (!clause.Partner) {
            if (!clause.Matched)
                return false;
            continue;
        }
        if (clause.Matched) {
            isHit = true;
            partnerMatched = true;
            if (c + 1 >= m_clauses.size() || !m_clauses[c + 1].NeedsMatch)
                break;
        } else if (!partnerMatched) {
            isHit = false;
        }
    }
    return isHit;
}

// The file's language and the names of its system, computer and application.
void TVXQueryEngine::FillAttributeNames(TVXQueryResultRow &row)
{
    const auto known = m_page.Files.constFind(row.QRFileID);
    const std::optional<TVXFileAttributes> file
            = known != m_page.Files.cend() ? std::optional<TVXFileAttributes>(*known)
                                           : VXSearchQueries::FileAttributes(m_db, row.QRFileID);
    if (file)
        row.QRLanguageID = file->LanguageID;
    static const std::array<const char *, 3> missing{
            "Error: SystemName not found in table VXAttribute",
            "Error: ComputerName not found in table VXAttribute",
            "Error: ApplicationName not found in table VXAttribute"};
    QString *names[] = {&row.QRSystemName, &row.QRComputerName, &row.QRApplicationName};
    const int ids[] = {file ? file->SystemID : -1, file ? file->ComputerID : -1,
                       file ? file->ApplicationID : -1};
    for (int i = 0; i < 3; ++i) {
        // Id 0 is "not assigned" (a folder with a system and no application): no name.
        if (ids[i] == 0) {
            names[i]->clear();
            continue;
        }
        std::optional<QString> name;
        if (ids[i] >= 0) {
            auto cached = m_attributeNames.find(ids[i]);
            if (cached == m_attributeNames.end())
                cached = m_attributeNames.insert(ids[i],
                                                 VXSearchQueries::AttributeName(m_db, ids[i]));
            name = *cached;
        }
        *names[i] = name ? *name : QLatin1String(missing[i]);
    }
}

void TVXQueryEngine::AppendRow(const TVXQueryThread::Word &word)
{
    TVXQueryResultRow row;
    row.QRFileID = word[0];
    row.QRObjectID = word[1];
    row.QREntryID = word[2];
    row.QRRowID = word[3];
    row.QRWordID = word[4];
    row.QRSectionLevel = word[5];
    const TVXWordPlace place{word[0], word[1], word[2], word[3]};
    if (m_sequentialEntries) {
        TVXWordPlace first = place;
        first.Row = word[3] - word[3] % 1000;
        if (const std::optional<int> level = VXSearchQueries::FirstSectionLevel(m_db, first))
            row.QRSectionLevel = *level;
    }
    const bool sameFile = m_hasPrevious && m_previous.QRFileID == word[0];
    if (sameFile) {
        row.QRLanguageID = m_previous.QRLanguageID;
        row.QRSystemName = m_previous.QRSystemName;
        row.QRComputerName = m_previous.QRComputerName;
        row.QRApplicationName = m_previous.QRApplicationName;
    } else {
        FillAttributeNames(row);
    }
    // The language id stays 0 in the row, as the window fills names itself.
    const int languageID = row.QRLanguageID;
    row.QRLanguageID = 0;
    const auto knownRow = m_page.Rows.constFind(place);
    const std::optional<QString> text = knownRow != m_page.Rows.cend()
                                                ? std::optional<QString>(*knownRow)
                                                : VXSearchQueries::RowText(m_db, place);
    row.QRRow = text ? *text : QStringLiteral("Error: Can not find the Row in table VXRow");
    if (word[1] > 0 && !(sameFile && m_previous.QRObjectID == word[1])) {
        const auto known = m_page.Objects.constFind({word[0], word[1], 0, 0});
        row.QRObjectName = known != m_page.Objects.cend()
                                   ? *known
                                   : VXSearchQueries::ObjectName(m_db, word[0], word[1]);
    } else if (sameFile) {
        row.QRObjectName = m_previous.QRObjectName;
    }
    if (word[2] > 0
        && !(sameFile && m_previous.QRObjectID == word[1] && m_previous.QREntryID == word[2])) {
        const auto known = m_page.Entries.constFind({word[0], word[1], word[2], 0});
        row.QREntryName = known != m_page.Entries.cend()
                                  ? *known
                                  : VXSearchQueries::EntryName(m_db, word[0], word[1], word[2]);
    } else if (sameFile && m_previous.QRObjectID == word[1])
        row.QREntryName = m_previous.QREntryName;
    m_result.Append(row);
    m_previous = row;
    m_previous.QRLanguageID = languageID;
    m_hasPrevious = true;
}

void TVXQueryEngine::AppendRows(const QList<TVXQueryThread::Word> &words)
{
    if (words.isEmpty())
        return;
    // One statement per kind for the page instead of one per hit: a common word has hits
    // in most files of a portfolio.
    QList<int> files;
    QList<TVXWordPlace> objects, entries, rows;
    for (const TVXQueryThread::Word &word : words) {
        if (files.isEmpty() || files.last() != word[0])
            files << word[0];
        // Hits follow each other within an object and entry: each is asked for once.
        const TVXWordPlace object{word[0], word[1], 0, 0};
        if (word[1] > 0 && (objects.isEmpty() || !(objects.last() == object)))
            objects << object;
        const TVXWordPlace entry{word[0], word[1], word[2], 0};
        if (word[2] > 0 && (entries.isEmpty() || !(entries.last() == entry)))
            entries << entry;
        rows << TVXWordPlace{word[0], word[1], word[2], word[3]};
    }
    m_page.Files = VXSearchQueries::FileAttributesOf(m_db, files);
    m_page.Objects = VXSearchQueries::ObjectNames(m_db, objects);
    m_page.Entries = VXSearchQueries::EntryNames(m_db, entries);
    m_page.Rows = VXSearchQueries::RowTexts(m_db, rows);
    for (const TVXQueryThread::Word &word : words)
        AppendRow(word);
    m_page = {};
}

void TVXQueryEngine::Fetch(bool countHits)
{
    QList<TVXQueryThread::Word> page;
    while (m_next < m_words.size() || ReadMore(true)) {
        const TVXQueryThread::Word word = m_words[m_next];
        if (IsHit(word)) {
            if (!m_trackMode && (m_result.RecordCount() + page.size() + 1) % PageSize == 0) {
                // The word stays current: the next page starts with it (and is taken
                // then, or every later page would stop at the same word).
                if (m_pageStart != m_next) {
                    m_pageStart = m_next;
                    AppendRows(page);
                    return;
                }
            }
            page << word;
            // Track searches and long pages are appended in pieces.
            if (page.size() >= PageSize) {
                AppendRows(page);
                page.clear();
            }
        }
        // One hit per statement row.
        ++m_next;
        while ((m_next < m_words.size() || ReadMore(true)) && m_words[m_next][0] == word[0]
               && m_words[m_next][1] == word[1] && m_words[m_next][2] == word[2]
               && m_words[m_next][3] == word[3])
            ++m_next;
    }
    AppendRows(page);
    if (countHits && m_matchNeeded)
        m_hitCount = -1;
    m_db->Commit(true, true);
    // A callee reached twice adds rows, so the marker counts the table after the walk.
    if (m_sequentialEntries || m_sequentialObjects)
        OrderByExecution();
    m_endOfResults = m_result.RecordCount() == 0 ? 0 : m_result.RecordCount() + 1;
    if (m_trackMode)
        m_result.SetIndexFieldNames(QStringLiteral("QRExeOrder;QRRowID"));
}

void TVXQueryEngine::OrderByExecution()
{
    Say(QStringLiteral("Getting execution order..."));
    QList<TVXExecutionOrder::Node> track;
    const int nodeTable = m_sequentialEntries ? m_handles.Entry : m_handles.Object;
    for (int i = 0; i < m_whereClause.Count(); ++i)
        if (m_whereClause.GetTable(i) == nodeTable)
            track << TVXExecutionOrder::Parse(m_whereClause.RawValueString(i));
    TVXExecutionOrder order(m_db, track);
    const QList<TVXQueryResultRow> rows = order.Number(m_result.Rows());
    m_result.Clear();
    for (const TVXQueryResultRow &row : rows)
        m_result.Append(row);
    if (order.Truncated())
        Say(QStringLiteral("The execution order stops after %1 statements; the other hits "
                           "follow in statement order.")
                    .arg(TVXExecutionOrder::MaximumRows));
    m_db->Commit(true, true);
}

QString TVXQueryEngine::HitLabel() const
{
    const int rows = m_result.RecordCount();
    QString label;
    if (m_hitCount < 0)
        label = m_endOfResults == 0
                        ? QStringLiteral("0 hits")
                        : QStringLiteral(">= ") + Number(rows) + QStringLiteral(" hits");
    else
        label = Number(m_hitCount) + QStringLiteral(" hits");
    label += (m_endOfResults < 0 ? QStringLiteral(" in more than ") : QStringLiteral(" in "))
             + Number(rows) + QStringLiteral(" Statements");
    label += QStringLiteral(" (") + QString::number(m_elapsed, 'f', 2) + QStringLiteral(" sec)");
    return label;
}

bool TVXQueryEngine::SqlReport(const QString &text, QString &label, QString *error,
                               std::unique_ptr<TVXDataset> *last)
{
    QElapsedTimer timer;
    timer.start();
    try {
        for (const QString &line : text.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("--")) || line.trimmed().isEmpty())
                continue;
            std::unique_ptr<TVXDataset> dataset(m_db->GetQuery(nullptr, {line}, true));
            if (last)
                *last = std::move(dataset);
        }
    } catch (const std::exception &e) {
        label = QStringLiteral("Error in SQL Statement");
        if (error)
            *error = VXMessage(e);
        return false;
    }
    label = QStringLiteral("(") + QString::number(timer.elapsed() / 1000.0, 'f', 2)
            + QStringLiteral(" sec)");
    return true;
}
