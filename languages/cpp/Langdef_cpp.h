// SPDX-License-Identifier: GPL-3.0-or-later
// C and C++ sources and headers.
//
// What the repository gets from a file:
//   - the file is an object of its own (type "CPP_SOURCE", "CPP_HEADER" or "C_SOURCE"),
//     holding free functions and what lies outside classes;
//   - classes, structs and unions with a body are objects, scoped by their namespace; a
//     class inside a class is a nested object (Outer.Inner); the first base class is the
//     object's ancestor;
//   - function and method definitions are entries: inline ones in their class, A::f out
//     of class in an object A of this file (one for all of A's methods); methods that a
//     class body only declares are entries of the class as well, so that a class read
//     from its header lists what it offers;
//   - f(...), obj.f(...), p->f(...) and A::f(...) are calls (the declared class of obj and p
//     qualifies the call); declarations (Type name) are typed by their type, and the type
//     refers to its class;
//   - #include "file.h" imports the objects of the files of that name; system headers
//     (#include <...>) name nothing of the application;
//   - SQL in string literals ("SELECT ... FROM CUSTOMER") names its tables.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Sqlinliterals.h"

#include <QSet>
#include <QStringList>

class TVXLangDef_CPP : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_CPP(QObject *owner, const QString &folder);

    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    // A word of the statement head: what came since the last ";", "{" or "}" outside
    // function bodies. Kept by value: a partial save may write the words themselves.
    struct HeadWord
    {
        QString Text;
        TWordType Type = 0;
        int RowID = 0;
        int WordID = 0;
        // Within template <...> parameters.
        bool InTemplate = false;
    };
    // What a function head declares: its name, the classes and namespaces before it
    // (A::f), and where the name stands in the head.
    struct Signature
    {
        bool Found = false;
        QString Name;
        QStringList Qualifiers;
        int NameAt = -1;
        // "= 0", "= default", an initialisation before "(": no body follows.
        bool Assigned = false;
    };
    enum class Brace { Block, Namespace, Transparent, Class, Function, Method };

    void AddToHead(const QString &text, TWordType type);
    void OpenBrace(int latest);
    TWordType CloseBrace();
    void EndHeadStatement();
    Signature FunctionSignature() const;
    int ClassKeywordAt() const;
    void OpenClass(int keywordAt, int latest);
    void OpenFunction(const Signature &signature, int latest);
    // An out-of-class method's object continues the file's earlier object of the class:
    // its entry, its section and the words so far move to that object's numbers.
    void ContinueClassObject(TVXObjectElement &object, const QString &entryName);
    void Retype(const HeadWord &word, TWordType type, const QString &identifier = QString());
    TVXWordElement *Find(const HeadWord &word);
    bool InBody() const { return m_functionBraces > 0; }
    QString CurrentClass() const;
    // The type of a declaration whose name stands at index: the type word before it, or an
    // empty string when the words before it are no type.
    int DeclaredTypeAt(int index) const;
    void TypeInclude(int latest);
    void InferAutoType(int index);
    void MoveHeadInto(int objectID, int entryID);
    void ResetFileState();

    QList<HeadWord> m_head;
    int m_templateDepth = 0;
    QList<Brace> m_braces;
    int m_functionBraces = 0;
    QStringList m_namespaces;
    // The classes whose bodies are open, innermost last, as the object names them.
    QStringList m_classes;
    // Entries that a class body declared, by object: a definition later in the file takes
    // the declared entry's number.
    QSet<qint64> m_declaredEntries;
    // The row is a preprocessor directive (or continues one with a trailing backslash).
    bool m_directive = false;
    bool m_directiveContinues = false;
    // #include "...": the buffer index of the opening quote, while its name is read.
    bool m_includeDue = false;
    int m_includeQuote = -1;
    // In a raw string literal: the text that ends it (")delim\"").
    QString m_rawEnd;
    TVXSqlInLiterals m_sql;
    // The file the state above belongs to.
    QString m_stateFile;
};
