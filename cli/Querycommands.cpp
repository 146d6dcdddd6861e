// SPDX-License-Identifier: GPL-3.0-or-later
// velunor-cli query and sql.
#include "base/Exception.h"
#include "cli/Cli.h"

#include "query/Queryattributes.h"
#include "query/Queryengine.h"
#include "query/Searchrows.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "shell/Basefunctionsinterface.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

// A command that ends while its options are read, with this status.
bool Stop(int &exitCode, int code)
{
    exitCode = code;
    return false;
}

// The first word of the statement's lines that would change the repository, or nothing
// when every line only reads. Literals and comment lines are left out of the look.
QString WritingVerb(const QString &statement)
{
    static const QRegularExpression literal(QStringLiteral("'([^']|'')*'|\"[^\"]*\""));
    static const QRegularExpression verbs(
            QStringLiteral(
                    "\\b(INSERT|UPDATE|DELETE|DROP|CREATE|ALTER|REPLACE|UPSERT|MERGE|"
                    "TRUNCATE|ATTACH|DETACH|PRAGMA|VACUUM|REINDEX|ANALYZE|GRANT|REVOKE|"
                    "BEGIN|COMMIT|ROLLBACK|SAVEPOINT|RELEASE|SET|CALL|EXECUTE|COPY|LOCK)\\b"),
            QRegularExpression::CaseInsensitiveOption);
    for (const QString &line : statement.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")) || line.trimmed().isEmpty())
            continue;
        QString text = line;
        text.replace(literal, QStringLiteral("''"));
        if (const QRegularExpressionMatch verb = verbs.match(text); verb.hasMatch())
            return verb.captured(1).toUpper();
        // END ends a transaction when it begins the statement (and a CASE anywhere else).
        if (text.trimmed()
                    .section(QLatin1Char(' '), 0, 0)
                    .compare(QLatin1String("END"), Qt::CaseInsensitive)
            == 0)
            return QStringLiteral("END");
    }
    return {};
}

} // namespace

bool TVXCli::ParseQuery(const QStringList &arguments, QueryRequest &request, int &exitCode)
{
    const QString command = QStringLiteral("query");
    bool nextAnd = true;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help"))
            return Stop(exitCode, Help(command));
        if (argument == QLatin1String("--and") || argument == QLatin1String("--or")) {
            nextAnd = argument == QLatin1String("--and");
        } else if (argument == QLatin1String("--case-sensitive")) {
            request.CaseSensitive = true;
        } else if (argument == QLatin1String("--count")) {
            request.Count = true;
        } else if (argument == QLatin1String("--json")) {
            request.Json = true;
        } else if (argument == QLatin1String("--db") || argument == QLatin1String("--limit")) {
            if (i + 1 >= arguments.size())
                return Stop(exitCode,
                            UsageError(QStringLiteral("%1 needs a value").arg(argument), command));
            const QString value = arguments[++i];
            if (argument == QLatin1String("--db")) {
                request.Database = value;
            } else {
                bool isNumber = false;
                request.Limit = value.toInt(&isNumber);
                if (!isNumber || request.Limit < 1)
                    return Stop(
                            exitCode,
                            UsageError(QStringLiteral("--limit needs a positive number"), command));
            }
        } else if (argument == QLatin1String("--find") || argument == QLatin1String("--in")) {
            TVXSearchRow row;
            row.Find = argument == QLatin1String("--find");
            row.AndPrevious = nextAnd;
            nextAnd = true;
            if (i + 2 >= arguments.size())
                return Stop(exitCode,
                            UsageError(QStringLiteral("%1 needs an attribute and an operator")
                                               .arg(argument),
                                       command));
            row.Attribute = VXQueryAttributes::Find(row.Find ? VXQueryAttributes::FindAttributes()
                                                             : VXQueryAttributes::InAttributes(),
                                                    arguments[++i]);
            if (!row.Attribute)
                return Stop(exitCode, UsageError(QStringLiteral("unknown %1 attribute '%2'")
                                                         .arg(row.Find ? QStringLiteral("find")
                                                                       : QStringLiteral("in"),
                                                              arguments[i]),
                                                 command));
            QString op = arguments[++i];
            op.replace(QLatin1Char('-'), QLatin1Char(' '));
            if (op.compare(QLatin1String("any"), Qt::CaseInsensitive) != 0) {
                if (!VXSearchRows::OperatorOf(op, row.Operator))
                    return Stop(
                            exitCode,
                            UsageError(QStringLiteral("unknown operator '%1'").arg(arguments[i]),
                                       command));
                if (i + 1 >= arguments.size())
                    return Stop(
                            exitCode,
                            UsageError(QStringLiteral("%1 needs a value").arg(argument), command));
                row.Value = arguments[++i];
            }
            request.Rows.append(row);
        } else {
            return Stop(
                    exitCode,
                    UsageError(argument.startsWith(QLatin1Char('-'))
                                       ? QStringLiteral("unknown option '%1'").arg(argument)
                                       : QStringLiteral("unexpected argument '%1'").arg(argument),
                               command));
        }
    }
    if (!VXSearchRows::HasFindRow(request.Rows))
        return Stop(exitCode, UsageError(QStringLiteral("a --find row is needed"), command));
    return true;
}

void TVXCli::PrintQueryResult(const QueryRequest &request, TVXQueryEngine &engine)
{
    if (request.Count) {
        if (request.Json) {
            QJsonObject answer;
            answer.insert(QStringLiteral("hits"), engine.HitCount());
            answer.insert(QStringLiteral("label"), engine.HitLabel());
            m_out << QJsonDocument(answer).toJson(QJsonDocument::Indented);
        } else {
            m_out << engine.HitLabel() << '\n';
        }
        return;
    }
    const int limit = request.Limit;
    while (engine.MoreRows() && (limit < 0 || engine.Result().RecordCount() < limit))
        engine.Query(false, engine.HitCount() >= 0);
    const TVXQueryResultModel &result = engine.Result();
    const int shown = limit < 0 ? result.RecordCount() : std::min(limit, result.RecordCount());
    if (request.Json) {
        QJsonArray list;
        for (int r = 0; r < shown; ++r) {
            QJsonObject item;
            for (const QString &field : TVXQueryResultModel::FieldNames())
                item.insert(field, QJsonValue::fromVariant(result.Value(r, field)));
            list.append(item);
        }
        QJsonObject answer;
        answer.insert(QStringLiteral("hits"), engine.HitCount());
        answer.insert(QStringLiteral("statements"), result.RecordCount());
        answer.insert(QStringLiteral("complete"), !engine.MoreRows());
        answer.insert(QStringLiteral("label"), engine.HitLabel());
        answer.insert(QStringLiteral("rows"), list);
        m_out << QJsonDocument(answer).toJson(QJsonDocument::Indented);
        return;
    }
    QStringList header;
    for (const QString &field : TVXQueryResultModel::VisibleFields())
        header << TVXQueryResultModel::DisplayLabel(field);
    m_out << header.join(QLatin1Char('\t')) << '\n';
    for (int r = 0; r < shown; ++r) {
        QStringList cells;
        for (const QString &field : TVXQueryResultModel::VisibleFields())
            cells << result.Value(r, field).toString().replace(QLatin1Char('\t'), QLatin1Char(' '));
        m_out << cells.join(QLatin1Char('\t')) << '\n';
    }
    m_err << engine.HitLabel() << '\n';
}

int TVXCli::Query(const QStringList &arguments)
{
    QueryRequest request;
    if (int code = Success; !ParseQuery(arguments, request, code))
        return code;
    if (!Start())
        return Refused;
    if (!ConfiguredDatabase(request.Database))
        return Refused;
    try {
        TVXConnection db = Connected(request.Database);
        {
            // The engine and its reading thread end before the connection they read through.
            TVXQueryEngine engine(db.get());
            engine.SetCaseSensitive(request.CaseSensitive);
            VXSearchRows::BuildWhereClause(engine, request.Rows);
            engine.Query(true, request.Count);
            PrintQueryResult(request, engine);
        }
        db.Release();
        return Success;
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}

int TVXCli::Sql(const QStringList &arguments)
{
    const QString command = QStringLiteral("sql");
    QString database, statement;
    bool allowWrites = false;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--help"))
            return Help(command);
        if (arguments[i] == QLatin1String("--db")) {
            if (i + 1 >= arguments.size())
                return UsageError(QStringLiteral("--db needs a value"), command);
            database = arguments[++i];
        } else if (arguments[i] == QLatin1String("--allow-writes")) {
            allowWrites = true;
        } else if (arguments[i].startsWith(QLatin1String("--"))
                   && !arguments[i].contains(QLatin1Char(' '))
                   && !arguments[i].contains(QLatin1Char('\n'))) {
            // A statement may begin with a comment line; an option is one word.
            return UsageError(QStringLiteral("unknown option '%1'").arg(arguments[i]), command);
        } else if (statement.isEmpty()) {
            statement = arguments[i];
        } else {
            return UsageError(QStringLiteral("unexpected argument '%1'").arg(arguments[i]),
                              command);
        }
    }
    if (statement.trimmed().isEmpty())
        return UsageError(QStringLiteral("a statement is missing"), command);
    if (!allowWrites) {
        if (const QString verb = WritingVerb(statement); !verb.isEmpty()) {
            m_err << "velunor-cli: the statement would change the repository (" << verb
                  << "); only reading statements run unless --allow-writes is given\n";
            return Refused;
        }
    }
    if (!Start())
        return Refused;
    if (!ConfiguredDatabase(database))
        return Refused;
    try {
        TVXConnection db = Connected(database);
        TVXQueryEngine engine(db.get());
        QString label, error;
        std::unique_ptr<TVXDataset> rows;
        const bool ran = engine.SqlReport(statement, label, &error, &rows);
        if (ran && rows) {
            QStringList names;
            for (int f = 0; f < rows->FieldCount(); ++f)
                names << rows->FieldName(f);
            m_out << names.join(QLatin1Char('\t')) << '\n';
            for (; !rows->Eof(); rows->Next()) {
                QStringList cells;
                for (int f = 0; f < rows->FieldCount(); ++f)
                    cells << rows->Value(f).toString();
                m_out << cells.join(QLatin1Char('\t')) << '\n';
            }
        }
        rows.reset();
        db.Release();
        if (!ran)
            return Fail(label + QStringLiteral(": ") + error);
        m_err << label << '\n';
        return Success;
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}
