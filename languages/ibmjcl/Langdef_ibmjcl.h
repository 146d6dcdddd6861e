// SPDX-License-Identifier: GPL-3.0-or-later
// IBM z/OS job control language.
//
// What the repository gets from a JCL member:
//   - the member itself is an object; a member without JOB or PROC (an INCLUDE group) is
//     named after the file, upper case and without extension, and typed "JCL_INCLUDE";
//   - each job (JOB) is an object of type "JCL_JOB", each procedure (PROC ... PEND, in-stream
//     or cataloged) an object of type "JCL_PROC", both named by their label;
//   - each step (EXEC) is an entry named by its label ("#" + its number when it has none);
//   - EXEC PGM=X, EXEC PROC=X and EXEC X make X a called name (1016);
//   - DD labels are declarations of type "DD"; DSN= and DSNAME= values are data-set
//     words of type 1072 with the data-set name as identifier;
//   - INCLUDE MEMBER=X and the libraries of JCLLIB ORDER= are included members (1065);
//   - rows that do not start with "//" or "/*" are in-stream data, kept as one comment word.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_IBMJCL : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_IBMJCL(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    bool PreviousRowContinues() const;
    // Closes open sections down to (not including) the first one with this number.
    void CloseDownTo(int sectionID);

    // The row being cut: a statement ("//"), and whether it has a label in column 3.
    bool m_statementRow = false;
    bool m_labelledRow = false;
};
