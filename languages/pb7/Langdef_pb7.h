// SPDX-License-Identifier: GPL-3.0-or-later
// PowerBuilder 7 objects as the library painter exports them (.srw windows, .sru user
// objects, .srm menus, .srf functions, .srs structures, .sra applications, .srd
// DataWindows) and the library lists of targets (.pbg).
//
// What the repository gets from a file:
//   - every type statement outside the forward block is an object: global type w_main
//     from window inherits window, type dw_1 from datawindow within w_main is the control
//     w_main.dw_1; the events and functions after a type belong to it, up to the next;
//   - events (event clicked; on w_main.create) and functions and subroutines with a body
//     are entries; forward prototypes, external functions and events a type declares are
//     entries without body;
//   - declarations (integer li_rc, n_customer in_customer, dw_1 dw_1) with their types;
//     calls of functions and events, obj.f() with obj's declared class, parent. and this.,
//     x = CREATE class and DESTROY x as Part of the object's life, open(w_x) of a window;
//     DATAOBJECT = "d_customer" names the DataWindow a control shows;
//   - embedded SQL (SELECT, INSERT, UPDATE, DELETE, DECLARE ... CURSOR) names its tables;
//   - a DataWindow is an object named after its file; its columns are declarations typed
//     with their table (dbname="customer.cust_name"), its retrieve SQL names its tables;
//   - a library list makes its libraries packages of the objects they hold.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Sqlinliterals.h"

class TVXLangDef_PB7 : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_PB7(QObject *owner, const QString &folder);

    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    void CheckUpdates(int index) override;
    void UpdateWordTypesByContext() override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    enum class Mode { Script, DataWindow, LibraryList };

    void TypeScriptWord(int latest);
    void TypeDataWindowWord(int latest);
    void TypeLibraryListWord(int latest);
    void TypeLifeCycle(int latest);
    void OpenEntry(const QString &name, int latest);
    void DeclareEntry(const QString &name);
    void CloseEntry();
    void MoveRowInto(int latest);
    void ResetFileState();

    Mode m_mode = Mode::Script;
    // forward ... end forward: the types there are declared again below.
    bool m_forward = false;
    // Within global type ... end type: the properties, controls and events a type declares.
    bool m_typeBlock = false;
    // type variables ... end variables, forward prototypes ... end prototypes.
    bool m_variablesBlock = false;
    bool m_prototypesBlock = false;
    // type X from Y within Z: the word that comes next.
    enum class TypeDue { Nothing, Name, FromOrWithin, Ancestor, Owner };
    TypeDue m_typeDue = TypeDue::Nothing;
    // An entry's keyword was read: its name is due (event name; function's before "(").
    QString m_entryKeyword;
    QString m_entryName;
    bool m_entryOpen = false;
    // A declaration statement: its type, and whether a name is due.
    QString m_declarationType;
    bool m_declarationDue = false;
    bool m_sqlStatement = false;
    bool m_tableDue = false;
    TVXSqlInLiterals m_sql;
    // DataWindow columns: the latest column's name.
    bool m_columnNameDue = false;
    QString m_stateFile;
};
