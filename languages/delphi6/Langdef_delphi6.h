// SPDX-License-Identifier: GPL-3.0-or-later
// Delphi 6 (Object Pascal): units, programs, packages and libraries, and the text form files
// (.dfm) of their forms.
//
// What the repository gets from a file:
//   - the file is one object named by its unit, program, package or library statement;
//   - classes, records and interfaces of its type sections are objects within it
//     (Unit1.TForm1), with their first ancestor; their methods, the routines of the
//     interface part and forward and external routines are entries when declared, and
//     the entry a definition fills in later (procedure TForm1.Button1Click is an entry of
//     TForm1);
//   - a program's main block and a unit's initialization and finalization parts are
//     entries as well;
//   - uses clauses import the units they name (by file name); a package's contains
//     clause makes its units members of the package;
//   - var, const, field and parameter declarations carry their types; statements that
//     begin with a routine's name, f(...), obj.Method and inherited Method are calls;
//   - a form file is an object named by its form, inheriting the form's class; its
//     components are declarations, and its event properties (OnClick = Button1Click) call
//     the methods of the form's class.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

#include <QSet>

class TVXLangDef_Delphi6 : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_Delphi6(QObject *owner, const QString &folder);

    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    enum class Part { Header, Interface, Implementation, Program };
    enum class Block { Begin, Code, TypeBody };
    struct Routine
    {
        // How many blocks were open when the routine began: its body is the next begin.
        qsizetype Blocks = 0;
        bool BodyBegun = false;
        // The object that was current before a method of a class was opened.
        int RestoreObject = 0;
    };
    struct Pending
    {
        int RowID = 0;
        int WordID = 0;
    };

    bool FormWordType(const QString &text, TWordType &wordType, TVXWordElement &word);
    void RoutineNameComplete(TVXWordElement &word);
    void OpenTypeBody(TVXWordElement &word);
    void CloseTypeBody();
    void EndBlock();
    void CloseRoutine();
    void DeclarePending(const QString &type);
    TVXWordElement *Find(const Pending &word);
    void MoveIntoCurrent(int rowID, int wordID);
    bool InDeclarations() const;
    void ResetFileState();

    bool m_form = false;
    Part m_part = Part::Header;
    QList<Block> m_blocks;
    QList<Routine> m_routines;
    // What the next words are: the file's name, units of a uses, requires or contains
    // clause, a routine's name (its parts: TForm1 . Button1Click), a type's body.
    bool m_fileNameDue = false;
    TWordType m_usesKind = 0;
    bool m_usesListed = false;
    bool m_routineNameDue = false;
    QStringList m_routineName;
    Pending m_routineStart;
    Pending m_routineNameWord;
    // Name = class (Ancestor): the type's name, its kind and first ancestor, waiting for
    // the word that shows whether a body follows (not for class; or class of).
    bool m_typeDue = false;
    QString m_typeName;
    QString m_typeKind;
    Pending m_typeNameWord;
    bool m_ancestors = false;
    bool m_ancestorsDone = false;
    QString m_ancestor;
    // A var, const or type section, and declarations waiting for their ":" and type.
    TWordType m_sectionKind = 0;
    int m_parentheses = 0;
    QList<Pending> m_pending;
    bool m_declarationTypeDue = false;
    QList<Pending> m_typed;
    // Entries declared before their definition, by object and name.
    QHash<QString, int> m_declaredEntries;
    // In a form file: the form's class, and the first component.
    QString m_formClass;
    bool m_componentDue = false;
    bool m_componentTypeDue = false;
    QString m_componentName;
    bool m_formNamed = false;
    QString m_stateFile;
};
