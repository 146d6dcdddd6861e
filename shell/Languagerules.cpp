// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Languagerules.h"

#include "base/Configurationstore.h"
#include "base/Exception.h"

TVXLanguageRules::TVXLanguageRules(TVXConfigurationStore &store)
    : m_store(store)
{}

QStringList TVXLanguageRules::SplitExtensions(const QString &stored)
{
    QStringList extensions;
    for (const QString &item : stored.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!item.trimmed().isEmpty())
            extensions << item.trimmed();
    return extensions;
}

QString TVXLanguageRules::JoinExtensions(const QStringList &extensions)
{
    QStringList trimmed;
    for (const QString &extension : extensions)
        trimmed << extension.trimmed();
    return trimmed.join(QLatin1Char(';'));
}

QStringList TVXLanguageRules::FindShortcutKeys()
{
    return {QStringLiteral("CTRL+F"), QStringLiteral("CTRL+HOME CTRL+F"),
            QStringLiteral("CTRL+F ESCAPE CTRL+HOME CTRL+F"), QStringLiteral("SHIFT+CTRL+F")};
}

QList<TVXLanguageSettings> TVXLanguageRules::List() const
{
    const TVXConfigTable &table = m_store.LanguagesTable();
    QList<TVXLanguageSettings> list;
    for (int row = 0; row < table.RowCount(); ++row)
        list.append({table.Value(row, QStringLiteral("VXLanguageID")).toInt(),
                     table.Text(row, QStringLiteral("VXLanguageName")),
                     SplitExtensions(table.Text(row, QStringLiteral("VXFileExtensions"))),
                     table.Text(row, QStringLiteral("VXEditorName")),
                     table.Text(row, QStringLiteral("VXEditorStartCommand")),
                     table.Text(row, QStringLiteral("VXFindShortcutKey"))});
    return list;
}

int TVXLanguageRules::RowOf(const QString &language) const
{
    const TVXConfigTable &table = m_store.LanguagesTable();
    bool isNumber = false;
    const int id = language.toInt(&isNumber);
    for (int row = 0; row < table.RowCount(); ++row) {
        if (isNumber && table.Value(row, QStringLiteral("VXLanguageID")).toInt() == id)
            return row;
        if (table.Text(row, QStringLiteral("VXLanguageName")).compare(language, Qt::CaseInsensitive)
            == 0)
            return row;
    }
    return -1;
}

TVXRuleResult TVXLanguageRules::CheckDelete(const QStringList &extensions)
{
    if (extensions.size() <= 1)
        return {QStringLiteral("At least one file extension need to exist, delete not allowed."),
                {},
                {}};
    return {};
}

TVXRuleResult TVXLanguageRules::CheckExtensions(const QStringList &extensions)
{
    if (extensions.isEmpty())
        return {QStringLiteral("At least a dot (.) must be entered, change the Extension."),
                {},
                QStringLiteral("VXFileExtensions")};
    for (const QString &extension : extensions) {
        const QString text = extension.trimmed();
        if (text.isEmpty())
            return {QStringLiteral("At least a dot (.) must be entered, change the Extension."),
                    {},
                    QStringLiteral("VXFileExtensions")};
        if (!text.startsWith(QLatin1Char('.')))
            return {QStringLiteral("First character must be a dot (.), change the Extension."),
                    {},
                    QStringLiteral("VXFileExtensions")};
        // The stored list is separated by ";": an extension holding one would come back as two.
        if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char(' ')))
            return {QStringLiteral("An Extension cannot hold a blank or ';', change the "
                                   "Extension."),
                    {},
                    QStringLiteral("VXFileExtensions")};
    }
    return {};
}

TVXRuleResult TVXLanguageRules::SaveExtensions(int row, const QStringList &extensions)
{
    TVXRuleResult check = CheckExtensions(extensions);
    if (!check.Ok())
        return check;
    TVXConfigTable &table = m_store.LanguagesTable();
    try {
        table.SetValue(row, QStringLiteral("VXFileExtensions"), JoinExtensions(extensions));
    } catch (const std::exception &e) {
        return {VXMessage(e), {}, QStringLiteral("VXFileExtensions")};
    }
    m_store.Save(TVXConfigurationStore::Languages);
    return {};
}

TVXRuleResult TVXLanguageRules::SaveEditor(int row, const QString &editorName,
                                           const QString &startCommand,
                                           const QString &findShortcutKey)
{
    try {
        m_store.LanguagesTable().SetValues(
                row, {{QStringLiteral("VXEditorName"), editorName},
                      {QStringLiteral("VXEditorStartCommand"), startCommand},
                      {QStringLiteral("VXFindShortcutKey"), findShortcutKey}});
    } catch (const std::exception &e) {
        return {VXMessage(e), {}, {}};
    }
    m_store.Save(TVXConfigurationStore::Languages);
    return {};
}
