// SPDX-License-Identifier: GPL-3.0-or-later
// Microsoft Developer Studio project files (.dsp): the project is a package whose members
// are the source files it lists.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_CPP_MSExt : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_CPP_MSExt(QObject *owner, const QString &folder);

    void CheckUpdates(int index) override;
};
