// SPDX-License-Identifier: GPL-3.0-or-later
// Unisys COBOL (2200 UCOB and MCP COBOL85): the card of IBM COBOL, with the dialect's own
// statements:
//   - COPY name FROM library and COPY "SYMBOL/NAME ON PACK" include the member NAME;
//   - ENTER language routine (ENTER MASM 'ROUTINE') calls the routine as CALL does;
//   - a "$" in the indicator column marks a compiler control row (MCP), kept as a comment.
#pragma once

#include "languages/cobol/Cobolfamily.h"

class TVXLangDef_UnisysCOB : public TVXCobolFamily
{
    Q_OBJECT
public:
    TVXLangDef_UnisysCOB(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
};
