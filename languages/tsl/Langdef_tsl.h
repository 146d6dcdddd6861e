// SPDX-License-Identifier: GPL-3.0-or-later
// TSL, the test script language of WinRunner. A test is a folder whose scripts have no
// extension; the folder is the object (the directory-object rule of the load).
//   - each script's code is an entry named after the script, each function (public,
//     static) an entry of its own; extern declarations are no entries;
//   - call "test" () and call_close run another test (the object of that folder), load
//     and reload a compiled module; name(...) calls a function.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_TSL : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_TSL(QObject *owner, const QString &folder);

    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;

private:
    // After "function": its name, then the brace that begins its body.
    bool m_functionNameDue = false;
    bool m_bodyBraceDue = false;
    bool m_externDeclaration = false;
};
