// SPDX-License-Identifier: GPL-3.0-or-later
// What the SQL dialects share. A script is an object named after its file (type
// "SQL_SCRIPT"); in it:
//   - CREATE TABLE / VIEW / INDEX / SEQUENCE / PROCEDURE / FUNCTION / TRIGGER / PACKAGE
//     (also CREATE OR REPLACE, CREATE OR ALTER, IF NOT EXISTS) is an object of that type,
//     named by its name with the schema as its scope; a table's columns are declarations
//     typed by their data type; a routine's body is its entry;
//   - the tables that SELECT ... FROM and JOIN, INSERT INTO, UPDATE, DELETE FROM, MERGE
//     INTO / USING, TRUNCATE TABLE, REFERENCES and ON (of an index or trigger) name are
//     table references (1072) whose identifier is the qualified name;
//   - CALL p calls the procedure p; DECLARE names a variable or cursor.
// A dialect adds its statements to the tables and switches on what it has in addition:
// batches ended by GO, @variables, #temporary tables, EXEC of procedures.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

#include <QHash>
#include <QList>

class TVXSqlFamily : public TVXLanguageDefinitionsInterface
{
public:
    TVXSqlFamily(QObject *owner, const QString &folder);

    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

protected:
    // A row that holds GO alone ends a batch: every statement and object of it.
    bool m_goBatches = false;
    // EXEC and EXECUTE call a procedure; names that begin with "@" are variables and
    // parameters, names that begin with "#" temporary tables.
    bool m_transactSql = false;

private:
    void SetTables();
    void EndStatement();
    void CloseDownToScript();
    // The word names a table of the statement: typed, and joined with its schema.
    void MakeTableReference(TVXWordElement &word, int index);
    bool InFromList() const;
    // The index of the next word that is no quote of a quoted name.
    int NextName(int index) const;

    enum class Expect { Nothing, ObjectKind, ObjectName, TableName, ColumnName, ColumnType };
    Expect m_expect = Expect::Nothing;
    // The object kind that CREATE named (TABLE, VIEW, ...), until the statement ends.
    QString m_creating;
    // Parentheses of the statement: whether each one opened a subquery.
    QList<bool> m_parentheses;
    // Within a FROM list (at this depth of parentheses), where "," brings another table.
    int m_fromDepth = -1;
    // Within the column list of CREATE TABLE, and after it.
    bool m_columns = false;
    bool m_columnsRead = false;
    // The declaration of @variables and parameters before the body of a T-SQL routine, and
    // the variables of one DECLARE.
    bool m_parameters = false;
    bool m_declaring = false;
    // CREATE TABLE #name: a temporary table of the batch, declared, no object.
    bool m_temporary = false;
    // The routine being read: its BEGIN ... END nesting (CASE ... END apart), and whether
    // its body began.
    int m_beginDepth = 0;
    int m_caseDepth = 0;
    bool m_bodyBegun = false;
    // The kind each CREATE made, by object number.
    QHash<int, QString> m_objectTypes;
};
