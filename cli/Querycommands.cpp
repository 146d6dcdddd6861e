// SPDX-License-Identifier: GPL-3.0-or-later
// velunor-cli query and sql.
#include "base/Exception.h"
#include "cli/Cli.h"

#include "query/Queryattributes.h"
#include "query/Queryengine.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "shell/Basefunctionsinterface.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

int TVXCli::Query(const QStringList &arguments)
{
    struct Row
    {
        bool Find = true;
        bool AndPrevious = true;
        const TVXQueryAttribute *Attribute = nullptr;
        TOperator Operator = VXOperator::None;
        QString Value;
    };
    QList<Row> rows;
    QString database;
    bool caseSensitive = false, count = false, json = false, nextAnd = true;
    int limit = -1;
    const QString command = QStringLiteral("query");
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help"))
            return Help(command);
        if (argument == QLatin1String("--and") || argument == QLatin1String("--or")) {
            nextAnd = argument == QLatin1String("--and");
        } else if (argument == QLatin1String("--case-sensitive")) {
            caseSensitive = true;
        } else if (argument == QLatin1String("--count")) {
            count = true;
        } else if (argument == QLatin1String("--json")) {
            json = true;
        } else if (argument == QLatin1String("--db") || argument == QLatin1String("--limit")) {
            if (i + 1 >= arguments.size())
                return UsageError(QStringLiteral("%1 needs a value").arg(argument), command);
            const QString value = arguments[++i];
            if (argument == QLatin1String("--db")) {
                database = value;
            } else {
                bool isNumber = false;
                limit = value.toInt(&isNumber);
                if (!isNumber || limit < 1)
                    return UsageError(QStringLiteral("--limit needs a positive number"), command);
            }
        } else if (argument == QLatin1String("--find") || argument == QLatin1String("--in")) {
            Row row;
            row.Find = argument == QLatin1String("--find");
            row.AndPrevious = nextAnd;
            nextAnd = true;
            if (i + 2 >= arguments.size())
                return UsageError(
                        QStringLiteral("%1 needs an attribute and an operator").arg(argument),
                        command);
            row.Attribute = VXQueryAttributes::Find(row.Find ? VXQueryAttributes::FindAttributes()
                                                             : VXQueryAttributes::InAttributes(),
                                                    arguments[++i]);
            if (!row.Attribute)
                return UsageError(
                        QStringLiteral("unknown %1 attribute '%2'")
                                .arg(row.Find ? QStringLiteral("find") : QStringLiteral("in"),
                                     arguments[i]),
                        command);
            QString op = arguments[++i];
            op.replace(QLatin1Char('-'), QLatin1Char(' '));
            if (op.compare(QLatin1String("any"), Qt::CaseInsensitive) != 0) {
                bool known = false;
                for (const TVXQueryOperator &choice : VXQueryAttributes::Operators())
                    if (choice.Text.compare(op, Qt::CaseInsensitive) == 0) {
                        row.Operator = choice.Operator;
                        known = true;
                    }
                if (!known)
                    return UsageError(QStringLiteral("unknown operator '%1'").arg(arguments[i]),
                                      command);
                if (i + 1 >= arguments.size())
                    return UsageError(QStringLiteral("%1 needs a value").arg(argument), command);
                row.Value = arguments[++i];
            }
            rows.append(row);
        } else {
            return UsageError(argument.startsWith(QLatin1Char('-'))
                                      ? QStringLiteral("unknown option '%1'").arg(argument)
                                      : QStringLiteral("unexpected argument '%1'").arg(argument),
                              command);
        }
    }
    if (std::none_of(rows.cbegin(), rows.cend(), [](const Row &row) { return row.Find; }))
        return UsageError(QStringLiteral("a --find row is needed"), command);
    if (!Start())
        return Refused;
    if (!ConfiguredDatabase(database))
        return Refused;
    try {
        TVXConnection db = Connected(database);
        // The engine and its reading thread end before the connection they read through.
        auto engineOwner = std::make_unique<TVXQueryEngine>(db.get());
        TVXQueryEngine &engine = *engineOwner;
        engine.SetCaseSensitive(caseSensitive);
        // Find rows first: the first of them opens the SQL's conditions.
        for (const bool find : {true, false})
            for (const Row &row : std::as_const(rows)) {
                if (row.Find != find)
                    continue;
                const int table = engine.Table(row.Attribute->Table);
                engine.WhereClause().Add(row.AndPrevious, table,
                                         engine.Field(table, row.Attribute->Field),
                                         row.Attribute->TypeKey);
                engine.WhereClause().SetOperator(row.Operator);
                engine.WhereClause().SetValueString(row.Value);
            }
        engine.Query(true, count);
        if (count) {
            if (json) {
                QJsonObject answer;
                answer.insert(QStringLiteral("hits"), engine.HitCount());
                answer.insert(QStringLiteral("label"), engine.HitLabel());
                m_out << QJsonDocument(answer).toJson(QJsonDocument::Indented);
            } else {
                m_out << engine.HitLabel() << '\n';
            }
            engineOwner.reset();
            db.Release();
            return Success;
        }
        while (engine.MoreRows() && (limit < 0 || engine.Result().RecordCount() < limit))
            engine.Query(false, engine.HitCount() >= 0);
        const TVXQueryResultModel &result = engine.Result();
        const int shown = limit < 0 ? result.RecordCount() : std::min(limit, result.RecordCount());
        if (json) {
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
        } else {
            QStringList header;
            for (const QString &field : TVXQueryResultModel::VisibleFields())
                header << TVXQueryResultModel::DisplayLabel(field);
            m_out << header.join(QLatin1Char('\t')) << '\n';
            for (int r = 0; r < shown; ++r) {
                QStringList cells;
                for (const QString &field : TVXQueryResultModel::VisibleFields())
                    cells << result.Value(r, field).toString().replace(QLatin1Char('\t'),
                                                                       QLatin1Char(' '));
                m_out << cells.join(QLatin1Char('\t')) << '\n';
            }
            m_err << engine.HitLabel() << '\n';
        }
        engineOwner.reset();
        db.Release();
        return Success;
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}

namespace {

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
