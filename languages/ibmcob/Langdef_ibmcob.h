// SPDX-License-Identifier: GPL-3.0-or-later
// IBM Enterprise COBOL in fixed format: sequence area, indicator column, areas A and B
// and the identification area, with embedded SQL and CICS.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_IBMCOB : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_IBMCOB(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    void SetBreakWords();
    void SetSections();
    void SetKeywords();
    void SetContexts();
    // One keyword for each of the given sections, in that order.
    void SetFWordsIn(const QString &word, std::initializer_list<int> sections, TWordType type);
    void SetFContextsIn(int offset, TWordType anchor, std::initializer_list<int> sections,
                        TWordType newType);
    void MakeStatementStart();
    static bool IsInlinePerformWord(const QString &text);

    // An EXIT or GOBACK closed a paragraph: the next name in area A, or the next SECTION,
    // starts an entry.
    bool m_sectionNameDue = false;
    // The file the state above belongs to.
    int m_stateFileID = -1;
    QString m_stateFileName;
    void ForgetEarlierFile();
};
