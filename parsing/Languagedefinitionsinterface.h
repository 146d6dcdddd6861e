// SPDX-License-Identifier: GPL-3.0-or-later
// The table-driven parser every language definition derives from.
#pragma once

#include "parsing/Globals.h"
#include "shell/Export.h"

#include <QObject>

#include <functional>

// A language definition is registered as "TVXLangDef_" + language name and created once
// per process by the service object, which passes itself and the settings folder.
class VXCORE_EXPORT TVXLanguageDefinitionsInterface : public QObject
{
    Q_OBJECT
public:
    using TVXClassBase = TVXLanguageDefinitionsInterface;
    using TVXFactory =
        std::function<TVXLanguageDefinitionsInterface *(QObject *owner, const QString &folder)>;

    TVXLanguageDefinitionsInterface(QObject *owner, const QString &folder);

    int LanguageID() const { return m_languageID; }
    const QString &LanguageName() const { return m_languageName; }
    // Each extension with a leading point and a trailing ";" (".cbl;.cob;").
    const QString &FileExtensions() const { return m_fileExtensions; }
    const QString &Folder() const { return m_folder; }

protected:
    QString m_folder;
    int m_languageID = 0;
    QString m_languageName;
    QString m_fileExtensions;
};
