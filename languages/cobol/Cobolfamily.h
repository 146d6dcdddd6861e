// SPDX-License-Identifier: GPL-3.0-or-later
// What the COBOL dialects share: the tables of the language (divisions, paragraphs and
// sections as entries, CALL and PERFORM, COPY, embedded SQL and CICS) and the column rules
// of a card, whose columns each dialect places where its compiler reads them.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

#include <QHash>
#include <QSet>

// Where a dialect's compiler reads the parts of a fixed-format row (1-based columns).
struct TVXCobolCardLayout
{
    // Columns 1 to SequenceEnd hold sequence numbers (0: none).
    int SequenceEnd = 6;
    // The indicator: "*" and "/" comment the row, "-" continues a literal.
    int Indicator = 7;
    // Where area A begins: a name there heads a paragraph or section.
    int AreaA = 8;
    // The last column of program text; the rest of the row is a comment (0: no limit).
    int TextEnd = 72;
    // The indicator column is one only when it holds an indicator; otherwise area A
    // begins there (terminal format).
    bool IndicatorOnlyWhenMarked = false;
};

class TVXCobolFamily : public TVXLanguageDefinitionsInterface
{
public:
    TVXCobolFamily(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

protected:
    // The layout of the rows of the file being parsed; a dialect that reads two formats
    // chooses per file.
    virtual const TVXCobolCardLayout &Layout() const { return m_layout; }
    // Called when the first row of another file is read, and then with every row before
    // its first column is read.
    virtual void OnNewFile() {}
    virtual void OnNewRow(const QString &row) { Q_UNUSED(row); }
    // The member that COPY names, as its file is stored: COPY "DISK$USER:[LIB]CUSTREC.LIB"
    // and COPY "SYMBOL/CUSTREC" name a file whose member is CUSTREC.
    static QString MemberName(const QString &text);
    // The national characters that stand where the 7-bit code page has these (the
    // Swedish and Finnish variant by default).
    virtual QChar NationalCharacter(QChar c) const;

    // One keyword for each of the given sections, in that order.
    void SetFWordsIn(const QString &word, std::initializer_list<int> sections, TWordType type);
    void SetFContextsIn(int offset, TWordType anchor, std::initializer_list<int> sections,
                        TWordType newType);
    bool InProcedureDivision() const;

    TVXCobolCardLayout m_layout;

private:
    void SetBreakWords();
    void SetSections();
    void SetKeywords();
    void SetContexts();
    void MakeStatementStart();
    static bool IsInlinePerformWord(const QString &text);
    // Before any division: a copy member, whose area-A names followed by a point are the
    // paragraphs it brings into the procedure division that copies it.
    bool InCopyMember();
    bool StartsEntry(QStringView name, bool pointFollows);
    bool IndicatorAt(const QString &row, int position) const;
    bool CopiesFileHere(const QString &row, int position) const;
    bool CopyLiteralOpen() const;
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
