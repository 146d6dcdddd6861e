// SPDX-License-Identifier: GPL-3.0-or-later
// Visual Basic 6: modules (.bas), forms (.frm), classes (.cls) and user controls (.ctl).
//
// What the repository gets from a file:
//   - the file is one object named by its Attribute VB_Name (by the file otherwise), typed
//     MODULE, FORM, CLASS or USERCONTROL;
//   - Sub, Function and Property Get / Let / Set are entries; Dim, Private, Public, Global,
//     Static and Const declare variables typed by their As clause, and the controls of a
//     form (Begin VB.CommandButton Command1) are declarations typed by their class;
//   - Call X, a statement that begins with the name of a routine (X 1, 2), X(...) when X is
//     not declared, and obj.Method are calls; Declare Function X Lib "dll" calls the
//     routine of the library;
//   - SQL in string literals ("SELECT ... FROM CUSTOMER") names its tables.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Sqlinliterals.h"

class TVXLangDef_VB6 : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_VB6(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    // An If whose Then is followed by a statement on its row ends with the row.
    bool m_singleLineIf = false;
    // SQL in the literals of the statement.
    TVXSqlInLiterals m_sql;
    // The column where the row's text begins (Rem is a comment there only).
    int m_textColumn = 1;
    // The row before ended in " _": the statement goes on.
    bool m_continued = false;
    // The same, as the words of the row see it.
    bool m_continuedStatement = false;
    // What the next word is: the name of a routine, of a routine of a library (Declare),
    // of a declaration, or the type of one (As).
    bool m_routineNameDue = false;
    bool m_externalDue = false;
    bool m_declarationDue = false;
    bool m_typeDue = false;
    // The latest declaration may still take an As clause (Dim a(10) As Long).
    bool m_declaredLast = false;
    // Within a Dim statement, and within the parameters of a routine.
    bool m_dimStatement = false;
    bool m_parameters = false;
};
