// SPDX-License-Identifier: GPL-3.0-or-later
// CICS Basic Mapping Support macros (DFHMSD, DFHMDI, DFHMDF) in assembler format.
//
// A mapset is an object named by its label; each map is an object of its own named by its
// label, with the identifier label + "_MAP" that COBOL's EXEC CICS SEND/RECEIVE MAP('x')
// refers to. A map holds its fields' words: the field label as a declared name (1011),
// then DFHMDF and its operands POS=(line,column), LENGTH=n, INITIAL='text', PICOUT='...',
// all kept as words so that the screen preview can replay them.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_BMS : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_BMS(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    // The row being cut has a label in column 1.
    bool m_labelledRow = false;
};
