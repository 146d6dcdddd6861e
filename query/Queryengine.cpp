// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Queryengine.h"

#include "base/Exception.h"

#include "parsing/Globals.h"
#include "query/Executionorder.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

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

QList<QVariantList> TVXQueryEngine::Rows(const QString &sql) const
{
    return VXSelectRows(m_db, sql);
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

QString TVXQueryEngine::AppendFilterString(const TVXWhereClause &whereClause, bool caseSensitive,
                                           int index, QString sql) const
{
    const int table = whereClause.GetTable(index);
    const QString column = m_db->GetFieldName(table, whereClause.GetField(index));
    const QString v = whereClause.GetValueString(index);
    if (column.toUpper() == QLatin1String("VXFILEID")) {
        // An item reference: file[;second[;entry]][:caption]. Only digits and ";" reach
        // the SQL, so a caption or a damaged reference cannot change the statement.
        const QString reference = v.section(QLatin1Char(':'), 0, 0);
        auto number = [](const QString &text) { return Number(text.trimmed().toInt()); };
        const QStringList parts = reference.split(QLatin1Char(';'));
        if (parts.size() == 1)
            return sql + QStringLiteral("VXFileID = ") + number(parts[0]);
        sql += QStringLiteral("(VXFileID = ") + number(parts[0]);
        if (parts.size() == 2)
            return sql
                   + (table == m_handles.Package ? QStringLiteral(" AND VXPackageID = ")
                                                 : QStringLiteral(" AND VXObjectID = "))
                   + number(parts[1]) + QLatin1Char(')');
        return sql + QStringLiteral(" AND VXObjectID = ") + number(parts[1])
               + QStringLiteral(" AND VXEntryID = ") + number(parts[2]) + QLatin1Char(')');
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
    switch (whereClause.GetOperator(index)) {
    case VXOperator::Equals:
        return sql + left + QStringLiteral(" = '") + value + QLatin1Char('\'');
    case VXOperator::Contains:
        return sql + left + QStringLiteral(" LIKE '%") + pattern + QStringLiteral("%'") + escape;
    case VXOperator::BeginsWith:
        return sql + left + QStringLiteral(" LIKE '") + pattern + QStringLiteral("%'") + escape;
    case VXOperator::EndsWith:
        return sql + left + QStringLiteral(" LIKE '%") + pattern + QLatin1Char('\'') + escape;
    default:
        return sql;
    }
}

bool TVXQueryEngine::WordMatch(const QString &word, TOperator op, const QString &value) const
{
    // The value arrives quote-doubled, as the SQL needs it; compare with the typed text.
    QString v = value;
    v.replace(QLatin1String("''"), QLatin1String("'"));
    if (!m_caseSensitive)
        v = v.toUpper();
    // Only the five value operators test a word; without one nothing matches.
    return op != VXOperator::None && VXCompareText(m_caseSensitive ? word : word.toUpper(), op, v);
}

void TVXQueryEngine::Build()
{
    ResetResults();
    ChooseOrder();
    m_fileFilter.clear();
    m_subQuery.clear();
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
    const QString condition = AppendFilterString(wc, m_caseSensitive, i, QString())
                              + QStringLiteral(" AND VXAttributeType = ")
                              + Number(wc.GetTypeKey(i));
    const QList<QVariantList> found
            = Rows(QStringLiteral("SELECT VXAttributeID FROM VXATTRIBUTE WHERE ") + condition);
    const QString join = wc.GetAnd_Previous(i) ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
    if (!found.isEmpty()) {
        static const std::array<const char *, 4> columns{"", "VXSystemID IN (", "VXComputerID IN (",
                                                         "VXApplicationID IN ("};
        const int type = wc.GetTypeKey(i);
        QStringList ids;
        for (const QVariantList &row : found)
            ids << row[0].toString();
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
        clause.Value = wc.GetValueString(i);
    }
    if (clause.NeedsMatch) {
        m_matchNeeded = true;
        m_clauses.append(clause);
        return;
    }
    clause.RunSqlText = clause.SqlText;
    if (wc.GetOperator(i) != VXOperator::None) {
        const QString condition = AppendFilterString(wc, m_caseSensitive, i, QString());
        clause.SqlText += condition + QStringLiteral(" AND ");
        clause.RunSqlText += ThroughDistinctWords(condition, wc.GetOperator(i), wc.GetField(i))
                             + QStringLiteral(" AND ");
    }
    clause.SqlText += WordTypeCondition(wc.GetTypeKey(i));
    clause.RunSqlText += WordTypeCondition(wc.GetTypeKey(i));
    m_clauses.append(clause);
    if (wc.GetTypeKey(i) == AssignTo || wc.GetTypeKey(i) == AssignFrom) {
        m_clauses.last().TypeKey = wc.GetTypeKey(i);
        TWordClause partner;
        partner.NeedsMatch = true;
        partner.Partner = true;
        partner.TypeKey = wc.GetTypeKey(i);
        partner.Operator = wc.GetOperator(i);
        partner.Value = wc.GetValueString(i);
        m_clauses.append(partner);
        m_matchNeeded = true;
    }
    m_clauses.last().SqlText += QStringLiteral(" )");
    m_clauses.last().RunSqlText += QStringLiteral(" )");
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
            const QString reference = wc.GetValueString(i).section(QLatin1Char(':'), 0, 0);
            if (!reference.contains(QLatin1Char(';')))
                continue;
            const QString entry
                    = QStringLiteral(" %1,").arg(reference.section(QLatin1Char(';'), 0, 0).toInt());
            if (!files.contains(entry))
                files += entry;
        }
        if (!files.isEmpty())
            m_subQuery
                    = QStringLiteral(" AND (W.VXFileID IN (") + files.chopped(1) + QLatin1Char(')');
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
            const QString start = m_subQuery.isEmpty()    ? QStringLiteral(" AND ( EXISTS (")
                                  : wc.GetAnd_Previous(i) ? QStringLiteral(" AND EXISTS (")
                                                          : QStringLiteral(" OR EXISTS (");
            m_subQuery += start + text + AppendFilterString(wc, m_caseSensitive, i, QString())
                          + QLatin1Char(')');
        }
    }
}

// The statement shown (m_sql) and the one run (m_runSql, through the distinct words).
void TVXQueryEngine::ComposeStatements()
{
    auto lines = [this](QString TWordClause::*text) {
        QStringList sql{QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, "
                                       "VXWordID, VXSectionLevel FROM VXWORD W WHERE "),
                        QStringLiteral("(")};
        for (const TWordClause &clause : std::as_const(m_clauses))
            if (!clause.NeedsMatch)
                sql << clause.*text;
        sql << QStringLiteral(")");
        if (!m_fileFilter.isEmpty())
            sql << QStringLiteral(" AND EXISTS (SELECT * FROM VXFILE F WHERE F.VXFileID = "
                                  "W.VXFileID AND (")
                            + m_fileFilter + QStringLiteral("))");
        if (!m_subQuery.isEmpty())
            sql << m_subQuery + QLatin1Char(')');
        sql << QStringLiteral(" ORDER BY VXFileID, VXObjectID, VXEntryID, VXRowID, VXWordID");
        return sql;
    };
    m_sql = lines(&TWordClause::SqlText);
    m_runSql = lines(&TWordClause::RunSqlText);
}

QString TVXQueryEngine::ThroughDistinctWords(const QString &condition, TOperator op,
                                             int field) const
{
    // A pattern cannot use the word index, so every word of the repository would be read.
    const QString table = m_db->DistinctWordTable();
    const qsizetype like = condition.indexOf(QLatin1String(" LIKE "));
    if (table.isEmpty() || field != m_handles.WordField || like < 0
        || (op != VXOperator::BeginsWith && op != VXOperator::EndsWith
            && op != VXOperator::Contains))
        return condition;
    // The condition names VXWORD, which inside the sub-select is the distinct word.
    const QString fitting
            = QStringLiteral(" FROM ") + table + QStringLiteral(" WHERE ") + condition;
    if (Rows(QStringLiteral("SELECT COUNT(*)") + fitting).value(0).value(0).toInt()
        > MaximumPatternWords)
        return condition;
    const QString word = condition.left(like);
    return word + QStringLiteral(" IN (SELECT ") + word + fitting + QLatin1Char(')');
}

bool TVXQueryEngine::Run(bool countHits)
{
    // No file passes the filter: a query that returns nothing.
    const QString files
            = QStringLiteral("SELECT COUNT(*) FROM VXFILE")
              + (m_fileFilter.isEmpty() ? QString() : QStringLiteral(" WHERE ") + m_fileFilter);
    if (Rows(files).value(0).value(0).toInt() == 0) {
        m_sql = QStringList{
                QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXRowID, "
                               "VXWordID, VXSectionLevel FROM VXWORD WHERE VXFileID = 0")};
        m_runSql = m_sql;
        m_hitCount = 0;
        return true;
    }
    m_thread = std::make_unique<TVXQueryThread>(m_db, m_runSql, countHits);
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

bool TVXQueryEngine::IsHit(const TVXQueryThread::Word &hit)
{
    if (m_trackMode && !InTrack(hit))
        return false;
    if (!m_matchNeeded)
        return true;
    const std::unique_ptr<TVXDataset> statement = StatementWords(hit);
    if (!statement || statement->Eof())
        return false;
    for (TWordClause &clause : m_clauses)
        clause.Matched = false;
    // Section levels of the last assignment keywords: to, =, set, initialize, into.
    std::array<int, 5> levelOf{-1, -1, -1, -1, -1};
    auto slot = [](int type) {
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
    };
    auto levels = [&](int type) { return levelOf[size_t(slot(type))]; };
    // The clauses' values as the words are compared: typed text, cased once per search.
    std::vector<QString> prepared;
    prepared.reserve(m_clauses.size());
    for (const TWordClause &clause : std::as_const(m_clauses)) {
        QString value = clause.Value;
        value.replace(QLatin1String("''"), QLatin1String("'"));
        prepared.push_back(m_caseSensitive ? value : value.toUpper());
    }
    struct Candidate
    {
        int Clause;
        int Level;
    };
    QList<Candidate> candidates;
    auto assignmentMatched = [&](const Candidate &candidate) {
        const TWordClause &clause = m_clauses[candidate.Clause];
        if (clause.TypeKey == AssignTo)
            return candidate.Level == levels(To) || candidate.Level == levels(Initialize)
                   || candidate.Level == levels(SqlInto);
        return candidate.Level == levels(Assignment) || candidate.Level == levels(SetOrAccept);
    };
    const int hitKey = StatementKey(hit[4]);
    bool isHit = false;
    for (; !statement->Eof(); statement->Next()) {
        const int row = statement->Value(0).toInt();
        const int wordID = statement->Value(1).toInt();
        const int key = StatementKey(wordID);
        if (key < hitKey)
            continue;
        if (key > hitKey)
            break;
        const int type = statement->Value(2).toInt();
        const QString text = statement->Value(3).toString().trimmed();
        const int level = statement->Value(4).toInt();
        const int sectionType = statement->Value(5).toInt();
        const bool isHitWord = row == hit[3] && wordID == hit[4];
        if (slot(type) >= 0)
            levelOf[size_t(slot(type))] = level;
        const QString cased = m_caseSensitive ? text : text.toUpper();
        for (int c = 0; c < m_clauses.size(); ++c) {
            TWordClause &clause = m_clauses[c];
            if (!clause.NeedsMatch || clause.Matched)
                continue;
            if (clause.SectionType != 0 && clause.TypeKey == 0 && clause.Value.isEmpty()) {
                clause.Matched = !isHitWord && sectionType == clause.SectionType;
                continue;
            }
            const bool valuePasses
                    = clause.Value.isEmpty()
                      || (clause.Operator != VXOperator::None
                          && VXCompareText(cased, clause.Operator, prepared[size_t(c)]));
            if (clause.TypeKey == AssignTo || clause.TypeKey == AssignFrom) {
                if (valuePasses && type == VariableReference) {
                    candidates.append({c, level});
                    clause.Matched = assignmentMatched(candidates.last());
                }
                continue;
            }
            if (!isHitWord && valuePasses && WordTypeMatches(clause.TypeKey, type))
                clause.Matched = true;
        }
        // The keyword may come after the variable (COMPUTE X = ..., ... TO X).
        if (type == To || type == Assignment)
            for (const Candidate &candidate : std::as_const(candidates))
                if (!m_clauses[candidate.Clause].Matched && assignmentMatched(candidate))
                    m_clauses[candidate.Clause].Matched = true;

        isHit = ClausesMatched();
        if (isHit)
            break;
    }
    return isHit;
}

std::unique_ptr<TVXDataset> TVXQueryEngine::StatementWords(const TVXQueryThread::Word &hit) const
{
    const int base = hit[3] - hit[3] % 1000;
    return std::unique_ptr<TVXDataset>(m_db->GetQuery(
            nullptr,
            {QStringLiteral("SELECT VXRowID, VXWordID, VXWordType, VXWord, VXSectionLevel, "
                            "VXSectionType FROM VXWORD WHERE VXFileID = %1 AND VXObjectID = %2 AND "
                            "VXEntryID = %3 AND VXRowID >= %4 AND VXRowID <= %5 ORDER BY VXRowID, "
                            "VXWordID")
                     .arg(hit[0])
                     .arg(hit[1])
                     .arg(hit[2])
                     .arg(base)
                     .arg(base + 499)},
            false));
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

void TVXQueryEngine::AppendRow(const TVXQueryThread::Word &word)
{
    TVXQueryResultRow row;
    row.QRFileID = word[0];
    row.QRObjectID = word[1];
    row.QREntryID = word[2];
    row.QRRowID = word[3];
    row.QRWordID = word[4];
    row.QRSectionLevel = word[5];
    const int base = word[3] - word[3] % 1000;
    if (m_sequentialEntries) {
        const QList<QVariantList> first = Rows(
                QStringLiteral(
                        "SELECT VXSectionLevel FROM VXWORD WHERE VXFileID = %1 AND "
                        "VXObjectID = %2 AND VXEntryID = %3 AND VXRowID = %4 ORDER BY VXWordID")
                        .arg(word[0])
                        .arg(word[1])
                        .arg(word[2])
                        .arg(base));
        if (!first.isEmpty())
            row.QRSectionLevel = first[0][0].toInt();
    }
    if (m_hasPrevious && m_previous.QRFileID == word[0]) {
        row.QRLanguageID = m_previous.QRLanguageID;
        row.QRSystemName = m_previous.QRSystemName;
        row.QRComputerName = m_previous.QRComputerName;
        row.QRApplicationName = m_previous.QRApplicationName;
    } else {
        const QList<QVariantList> file = Rows(
                QStringLiteral(
                        "SELECT VXLanguageID, VXSystemID, VXComputerID, VXApplicationID FROM "
                        "VXFILE WHERE VXFileID = ")
                + Number(word[0]));
        row.QRLanguageID = file.value(0).value(0).toInt();
        static const std::array<const char *, 3> missing{
                "Error: SystemName not found in table VXAttribute",
                "Error: ComputerName not found in table VXAttribute",
                "Error: ApplicationName not found in table VXAttribute"};
        QString *names[] = {&row.QRSystemName, &row.QRComputerName, &row.QRApplicationName};
        for (int i = 0; i < 3; ++i) {
            // Id 0 is "not assigned" (a folder with a system and no application): no name.
            const int id = file.isEmpty() ? -1 : file[0][i + 1].toInt();
            if (id == 0) {
                names[i]->clear();
                continue;
            }
            const QList<QVariantList> attribute
                    = id < 0 ? QList<QVariantList>()
                             : Rows(QStringLiteral("SELECT VXAttributeName FROM VXATTRIBUTE "
                                                   "WHERE VXAttributeID = ")
                                    + Number(id));
            *names[i] = attribute.isEmpty() ? QLatin1String(missing[i])
                                            : attribute[0][0].toString().trimmed();
        }
    }
    // The language id stays 0 in the row, as the window fills names itself.
    const int languageID = row.QRLanguageID;
    row.QRLanguageID = 0;
    // The line is looked up within the hit's entry first, where the key finds it at once;
    // a line that holds several statements is stored under the id of its last one, so the
    // earlier statements take the next line stored.
    const QString inEntry = QStringLiteral("VXFileID = %1 AND VXObjectID = %2 AND VXEntryID = %3")
                                    .arg(word[0])
                                    .arg(word[1])
                                    .arg(word[2]);
    const QString nextRows = QStringLiteral(" AND VXRowID > %1 AND VXRowID < %2 ORDER BY VXRowID")
                                     .arg(word[3])
                                     .arg(word[3] - word[3] % 1000 + 2000);
    QList<QVariantList> text;
    for (const QString &condition :
         {inEntry + QStringLiteral(" AND VXRowID = ") + Number(word[3]), inEntry + nextRows,
          QStringLiteral("VXFileID = %1 AND VXRowID = %2").arg(word[0]).arg(word[3]),
          QStringLiteral("VXFileID = ") + Number(word[0]) + nextRows}) {
        text = Rows(QStringLiteral("SELECT VXRow FROM VXROW WHERE ") + condition);
        if (!text.isEmpty())
            break;
    }
    row.QRRow = text.isEmpty() ? QStringLiteral("Error: Can not find the Row in table VXRow")
                               : text[0][0].toString();
    const bool sameFile = m_hasPrevious && m_previous.QRFileID == word[0];
    auto name = [this](const QString &sql) {
        return Rows(sql).value(0).value(0).toString().trimmed();
    };
    const QString inObject
            = QStringLiteral("WHERE VXFileID = %1 AND VXObjectID = %2").arg(word[0]).arg(word[1]);
    if (word[1] > 0 && !(sameFile && m_previous.QRObjectID == word[1]))
        row.QRObjectName = name(QStringLiteral("SELECT VXObjectName FROM VXOBJECT ") + inObject);
    else if (sameFile)
        row.QRObjectName = m_previous.QRObjectName;
    if (word[2] > 0
        && !(sameFile && m_previous.QRObjectID == word[1] && m_previous.QREntryID == word[2]))
        row.QREntryName = name(QStringLiteral("SELECT VXEntryName FROM VXENTRY ") + inObject
                               + QStringLiteral(" AND VXEntryID = ") + Number(word[2]));
    else if (sameFile && m_previous.QRObjectID == word[1])
        row.QREntryName = m_previous.QREntryName;
    m_result.Append(row);
    m_previous = row;
    m_previous.QRLanguageID = languageID;
    m_hasPrevious = true;
}

void TVXQueryEngine::Fetch(bool countHits)
{
    while (m_next < m_words.size() || ReadMore(true)) {
        const TVXQueryThread::Word word = m_words[m_next];
        if (IsHit(word)) {
            if (!m_trackMode && (m_result.RecordCount() + 1) % PageSize == 0) {
                // The word stays current: the next page starts with it (and is taken
                // then, or every later page would stop at the same word).
                if (m_pageStart != m_next) {
                    m_pageStart = m_next;
                    return;
                }
            }
            AppendRow(word);
        }
        // One hit per statement row.
        ++m_next;
        while ((m_next < m_words.size() || ReadMore(true)) && m_words[m_next][0] == word[0]
               && m_words[m_next][1] == word[1] && m_words[m_next][2] == word[2]
               && m_words[m_next][3] == word[3])
            ++m_next;
    }
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
            track << TVXExecutionOrder::Parse(m_whereClause.GetValueString(i));
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
