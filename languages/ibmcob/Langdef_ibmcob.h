// SPDX-License-Identifier: GPL-3.0-or-later
// IBM Enterprise COBOL in fixed format: sequence area, indicator column, areas A and B
// and the identification area, with embedded SQL and CICS.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

#include <QHash>
#include <QSet>

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
    bool InProcedureDivision() const;
    // Before any division: a copy member, whose area-A names followed by a point are the
    // paragraphs it brings into the procedure division that copies it.
    bool InCopyMember();
    bool StartsEntry(QStringView name, bool pointFollows);
    // Remembers VALUE clauses and MOVEs of literals, so that a CALL through a variable can
    // name the program it most likely runs.
    void NoteValues(const QString &text, bool inLiteral);
    QString StaticValue(const QString &variable) const;

    // An EXIT or GOBACK closed a paragraph: the next name in area A, or the next SECTION,
    // starts an entry.
    bool m_sectionNameDue = false;
    // The row began in area A with a name and holds SECTION: a section header.
    bool m_areaASection = false;
    // Static values: VALUE clauses of the data division, and the literals moved into each
    // variable so far.
    QHash<QString, QString> m_values;
    QHash<QString, QSet<QString>> m_movedLiterals;
    QString m_lastDeclared;
    // Level 88: the condition name being declared, and each one's item and value.
    QString m_conditionName;
    QHash<QString, std::pair<QString, QString>> m_conditions;
    QString m_lastWord;
    bool m_valueDue = false;
    // SET condition TO TRUE: 1 after SET, 2 after the name, 3 after TO.
    int m_setState = 0;
    QString m_setCondition;
    // MOVE 'literal' TO name: 1 after MOVE, 2 after its literal, 3 after TO.
    int m_moveState = 0;
    QString m_movedLiteral;
    // The file the state above belongs to.
    int m_stateFileID = -1;
    QString m_stateFileName;
    void ForgetEarlierFile();
};
