// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the languages table, kept once for the Languages and Editors dialogs and
// for velunor-cli: the extension list of a language and its editor settings.
#pragma once

#include "base/Export.h"
#include "base/Ruleresult.h"

#include <QList>
#include <QStringList>

class TVXConfigurationStore;

struct TVXLanguageSettings
{
    int ID = 0;
    QString Name;
    QStringList Extensions;
    QString EditorName;
    QString EditorStartCommand;
    QString FindShortcutKey;
};

class VXCORE_EXPORT TVXLanguageRules
{
public:
    explicit TVXLanguageRules(TVXConfigurationStore &store);

    // The stored text is a list separated by ";"; each item is trimmed of blanks.
    static QStringList SplitExtensions(const QString &stored);
    static QString JoinExtensions(const QStringList &extensions);
    // The shortcut choices the Editors dialog offers.
    static QStringList FindShortcutKeys();

    QList<TVXLanguageSettings> List() const;
    // By name (without regard to case) or by id; -1 when unknown.
    int RowOf(const QString &language) const;

    // Deleting the last remaining extension of the grid is refused.
    static TVXRuleResult CheckDelete(const QStringList &extensions);
    static TVXRuleResult CheckExtensions(const QStringList &extensions);
    // Writes the list back to the language row and saves the table after the checks.
    TVXRuleResult SaveExtensions(int row, const QStringList &extensions);
    TVXRuleResult SaveEditor(int row, const QString &editorName, const QString &startCommand,
                             const QString &findShortcutKey);

private:
    TVXConfigurationStore &m_store;
};
