// SPDX-License-Identifier: GPL-3.0-or-later
// What the sources refer to but the repository does not hold: called programs, paragraphs
// and procedures, dynamic calls that no value names, copy members, maps, tables and data
// sets. Each name once, with every reference (file and line).
#pragma once

#include "base/Export.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class TVXDataAccessInterface;
class TVXLanguageDefinitionsInterface;

struct TVXMissingComponent
{
    QString Kind; // "program", "paragraph", "procedure", "dynamic call", "copy member", ...
    QString Name;
    int References = 0;
    QStringList Files;
    QStringList Where; // FILE:LINE of each reference
};

class VXCORE_EXPORT TVXMissingComponents
{
public:
    // The language definition of a language number, or none.
    using TVXDefinitionOf = std::function<TVXLanguageDefinitionsInterface *(int languageID)>;

    // Ordered by kind, then by name.
    static QList<TVXMissingComponent> Report(TVXDataAccessInterface *db,
                                             const TVXDefinitionOf &definitionOf);

private:
    // The kind of a referring word, in the words of its language; empty when the name is
    // none to report.
    static QString Kind(int wordType, const QString &identifier, bool jobControl, QString &name);
};
