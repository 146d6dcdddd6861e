// SPDX-License-Identifier: GPL-3.0-or-later
// .NET in Visual Basic: source files (.vb), ASP.NET pages (.aspx) and project files
// (.vbproj).
//
// What the repository gets from a file:
//   - a source file is an object of its own (type "VB_SOURCE") holding its Imports;
//     namespaces are objects named in full (Billing.Core), and the classes, modules,
//     structures and interfaces in them objects scoped by the namespace, with the class
//     they inherit (Inherits) and references to what they implement; a class inside a
//     class is a nested object (Outer.Inner);
//   - Sub, Function, Property and Operator blocks are entries; what an interface or a
//     MustOverride, Declare, Delegate or Event statement declares is an entry without
//     body;
//   - Dim and the member modifiers declare variables with their As types, as parameters
//     do; New X, AddressOf X, X(...), a statement that begins with a routine's name and
//     obj.Method (with the declared class of obj) are calls; SQL in string literals names
//     its tables;
//   - a page is an object named after its file, inheriting the class its Page directive
//     names, including its code-behind file; its controls' event attributes
//     (OnClick="btnSave_Click") call the methods of that class;
//   - a project file lists its compiled files as the members of a package named by its
//     assembly.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Sqlinliterals.h"

#include <QSet>

class TVXLangDef_DotNet : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_DotNet(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    enum class Mode { Source, Page, Project };
    enum class Opened { Namespace, Type, Routine };

    bool MarkupWordType(const QString &text, TWordType &wordType, TVXWordElement &word);
    void OpenType(const QString &kind, const QString &name);
    void OpenRoutine(const QString &name);
    void CloseOpened(Opened kind);
    void ResetFileState();
    void NameWordLater(const TVXWordElement &word);
    void EndAutomaticProperty(int rowID);

    Mode m_mode = Mode::Source;
    // The blocks that End closes, innermost last.
    QList<Opened> m_opened;
    QStringList m_namespaces;
    QStringList m_classes;
    // Class Customer, Sub Save: the kind whose name is next; the statement's modifiers
    // (MustOverride, Declare, Delegate, Event) that make a routine a declaration only.
    QString m_typeKindDue;
    bool m_routineNameDue = false;
    bool m_declarationOnly = false;
    bool m_namespaceDue = false;
    QStringList m_namespaceName;
    // A Property's header row ended: a Get or Set must follow, else the property was an
    // automatic one without End Property.
    bool m_propertyPending = false;
    int m_propertyModifierRow = 0;
    // Inherits Base and Implements IFoo, for the innermost type.
    TWordType m_referenceDue = 0;
    // Declarations: the next word is a name, or its type (As); in a Dim statement or the
    // parameters of a routine.
    bool m_declarationDue = false;
    bool m_typeDue = false;
    bool m_dimStatement = false;
    bool m_parameters = false;
    int m_parentheses = 0;
    bool m_newDue = false;
    // The row before ended in " _".
    bool m_continued = false;
    bool m_continuedStatement = false;
    int m_textColumn = 1;
    TVXSqlInLiterals m_sql;
    QSet<QString> m_declaredEntries;
    // Words that name a namespace or type, by row and word id, and the rows that go on
    // from the row before.
    QSet<qint64> m_objectNameWords;
    QSet<int> m_continuationRows;
    // Within the header row of a routine (Sub Save() Implements IPersistent.Save).
    bool m_routineHeader = false;
    // Markup: the element and attribute whose value a literal holds.
    QString m_element;
    QString m_attribute;
    QString m_pageClass;
    QString m_assembly;
    QString m_relativePath;
    QString m_stateFile;
};
