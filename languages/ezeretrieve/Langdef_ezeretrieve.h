// SPDX-License-Identifier: GPL-3.0-or-later
// EzeRetrieve, the Easytrieve-style report language: a library section of files and
// fields, then activities.
//
// What the repository gets from a program:
//   - the file is one object named after the file, upper case and without extension; a
//     macro member (it begins with MACRO) is typed "MACRO" and drawn as a copy member;
//   - FILE f declares a file, each field row (NAME start length format, or NAME W length
//     format for working storage, or DEFINE NAME ...) a field typed by its format;
//   - JOB and SORT activities are entries, named by their NAME parameter ("#" + number
//     without one); PROC ... END-PROC, headed by its label (label. PROC), is an entry;
//   - PERFORM proc runs a procedure, CALL, LINK and TRANSFER run programs; %macro
//     includes the macro member.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_EzeRetrieve : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_EzeRetrieve(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    bool InActivity() const;

    // The row being cut is a field definition (NAME 1 8 A, NAME W 8 P 2).
    bool m_fieldRow = false;
    bool m_defineRow = false;
    // The file begins with MACRO: a macro member.
    bool m_macro = false;
};
