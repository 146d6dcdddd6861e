// SPDX-License-Identifier: GPL-3.0-or-later
// VisualAge Generator 4.5 external source format (.esf), the text form in which the tool
// exports its parts. Every file is a package of the parts it holds:
//   - :program, :function, :record, :table, :map, :mapgroup and :item tags open an object
//     named by the tag's first attribute (name=X) and typed by the tag (PROGRAM, FUNCTION,
//     ...); the part's end tag (:eprogram. ...) closes it;
//   - a program's :mainfun and :callfun lists call its functions, :workstor, :tables and
//     :recdref refer to records and tables, :sqltable names a data base table;
//   - in function logic, CALL x, XFER x and DXFR x call programs, f() performs a function,
//     REC.ITEM refers to the record or table REC;
//   - record items (:recditem) are declarations; SHARED=Y makes one refer to the shared
//     data item part of its name;
//   - map fields (:cfield, :vfield) keep row, column, bytes and name as words, and a
//     constant's text on the row that follows, starting with ".".
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_VAG45 : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_VAG45(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckUpdates(int index) override;

private:
    // The row being cut is a tag row: its "=" gives attributes their values.
    bool m_tagRow = false;
};
