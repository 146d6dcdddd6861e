// SPDX-License-Identifier: GPL-3.0-or-later
// IBM PL/I in its default margins (program text in columns 2 to 72).
//
// What the repository gets from a PL/I file:
//   - the file is one object named after the file, upper case and without extension: a
//     program ("PROCEDURE") when it holds a procedure, an include member ("INCLUDE")
//     otherwise;
//   - every procedure (label: PROC / PROCEDURE, nested ones too) and every secondary entry
//     point (label: ENTRY) is an entry named by its label;
//   - DECLARE and DCL name declarations, structures with their level numbers and factored
//     lists (DCL (A, B) FIXED) included, each typed by its attributes;
//   - CALL x is a call; %INCLUDE member and %INCLUDE library(member) include the member;
//   - EXEC SQL and EXEC CICS as COBOL has them: tables, host variables, LINK and XCTL
//     PROGRAM('x'), SEND and RECEIVE MAP('x');
//   - DO, BEGIN and SELECT blocks end with END; DO WHILE, UNTIL and iterations are loops.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_PL1 : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_PL1(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    void SetKeywords();
    void SetContexts();
    void SetSections();
    // The declared names of a DECLARE statement, told from the words before them.
    bool DeclaresName(const TVXWordElement *before, const TVXWordElement *beforeThat) const;

    // Within a DECLARE statement: the depth of parentheses, and whether the statement
    // began with a factored list of names.
    int m_declareDepth = 0;
    bool m_factored = false;
    // The first declaration of a factored list, until its attributes are shared.
    int m_factoredFrom = -1;
    void ShareFactoredAttributes();
    // Within the head of a DO group, up to its ";".
    bool m_doHead = false;
};
