// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the middleware definitions, kept once for the middleware dialog and for
// velunor-cli: what a definition must hold before it is saved.
#pragma once

#include "base/Export.h"
#include "base/Ruleresult.h"

#include <QList>
#include <QStringList>

class TVXConfigurationStore;

// A definition as the user typed it: the offsets are texts, because an empty or
// non-numeric offset is refused with its own message.
struct TVXMiddlewareSettings
{
    QString Name;
    QString Word;
    QString WordType;
    QString HardIdentifier;
    QString ObjectOffset = QStringLiteral("0");
    QString EntryOffset = QStringLiteral("0");
    QString TableOffset = QStringLiteral("0");
    QString ScopeKind;
    QString ScopeName;
};

class VXCORE_EXPORT TVXMiddlewareRules
{
public:
    explicit TVXMiddlewareRules(TVXConfigurationStore &store);

    static QStringList WordTypeChoices();
    static QStringList ScopeChoices();
    // What "Add" puts into a new row.
    static TVXMiddlewareSettings NewDefinition();

    QList<TVXMiddlewareSettings> List() const;
    int RowOf(const QString &name) const; // -1 when there is no such definition

    // The checks of Save in their order; the first failure is returned.
    static TVXRuleResult Check(const TVXMiddlewareSettings &settings);
    // Checks, posts into the row (-1 appends) and saves the table to its file.
    TVXRuleResult Save(int row, const TVXMiddlewareSettings &settings);
    TVXRuleResult Delete(int row);

private:
    TVXConfigurationStore &m_store;
};
