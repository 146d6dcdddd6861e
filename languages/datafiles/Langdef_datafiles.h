// SPDX-License-Identifier: GPL-3.0-or-later
// Data and parameter files: no syntax, every word is kept so that it can be searched, and
// the file is one object named and typed by its file name.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_DataFiles : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_DataFiles(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;
};
