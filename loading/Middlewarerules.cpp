// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Middlewarerules.h"

#include "base/Configurationstore.h"
#include "base/Exception.h"

TVXMiddlewareRules::TVXMiddlewareRules(TVXConfigurationStore &store)
    : m_store(store)
{}

QStringList TVXMiddlewareRules::WordTypeChoices()
{
    return {QStringLiteral("Any Executable Word"), QStringLiteral("Word in String"),
            QStringLiteral("Word in Comment"), QStringLiteral("Call")};
}

QStringList TVXMiddlewareRules::ScopeChoices()
{
    return {QStringLiteral("SourceDB named"), QStringLiteral("System named"),
            QStringLiteral("Computer named"), QStringLiteral("Application named")};
}

TVXMiddlewareSettings TVXMiddlewareRules::NewDefinition()
{
    TVXMiddlewareSettings settings;
    settings.Name = QStringLiteral("UnNamed");
    settings.WordType = WordTypeChoices().first();
    settings.ScopeKind = ScopeChoices().first();
    return settings;
}

QList<TVXMiddlewareSettings> TVXMiddlewareRules::List() const
{
    const TVXConfigTable &table = m_store.MiddlewareTable();
    QList<TVXMiddlewareSettings> list;
    auto number = [&](int row, const char *field) {
        return QString::number(table.Value(row, QLatin1String(field)).toInt());
    };
    for (int row = 0; row < table.RowCount(); ++row)
        list.append({table.Text(row, QStringLiteral("VXMiddleWare")),
                     table.Text(row, QStringLiteral("VXWord")),
                     table.Text(row, QStringLiteral("VXWordType")),
                     table.Text(row, QStringLiteral("VXHardIdentifier")),
                     number(row, "VXOffsetToObjectIdentifier"), number(row, "VXOffsetToEntryName"),
                     number(row, "VXOffsetToTableIdentifier"),
                     table.Text(row, QStringLiteral("VXAttributeScope1")),
                     table.Text(row, QStringLiteral("VXAttributeScope2"))});
    return list;
}

int TVXMiddlewareRules::RowOf(const QString &name) const
{
    return m_store.MiddlewareTable().FindFirst(QStringLiteral("VXMiddleWare"), name);
}

TVXRuleResult TVXMiddlewareRules::Check(const TVXMiddlewareSettings &settings)
{
    if (settings.Name.trimmed().isEmpty())
        return {QStringLiteral("Name for the middleware is missing, enter a Name."),
                {},
                QStringLiteral("VXMiddleWare")};
    if (settings.Name.trimmed() == QLatin1String("UnNamed"))
        return {QStringLiteral("The default Name 'UnNamed' is not valid, change the Name."),
                {},
                QStringLiteral("VXMiddleWare")};
    if (settings.Word.trimmed().isEmpty())
        return {QStringLiteral("Word for the middleware is missing, enter a Word."),
                {},
                QStringLiteral("VXWord")};
    const std::pair<const QString *, const char *> offsets[]{
            {&settings.ObjectOffset, "VXOffsetToObjectIdentifier"},
            {&settings.EntryOffset, "VXOffsetToEntryName"},
            {&settings.TableOffset, "VXOffsetToTableIdentifier"}};
    int value[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool isNumber = false;
        value[i] = offsets[i].first->trimmed().toInt(&isNumber);
        if (!isNumber)
            return {QStringLiteral("Enter a number."), {}, QLatin1String(offsets[i].second)};
    }
    for (int i = 0; i < 3; ++i)
        if (value[i] < 0)
            return {QStringLiteral("Offset must be 0 (not used) or positive."),
                    {},
                    QLatin1String(offsets[i].second)};
    const int object = value[0], entry = value[1], table = value[2];
    const bool hard = !settings.HardIdentifier.trimmed().isEmpty();
    if (hard && object > 0)
        return {QStringLiteral("Hardcoded ObjectIdentifier and Offset to ObjectIdentifier can not "
                               "be used together."),
                {},
                QStringLiteral("VXHardIdentifier")};
    if ((hard && table > 0) || (object > 0 && table > 0))
        return {QStringLiteral("ObjectIdentifier and TableIdentifier can not be used together."),
                {},
                QStringLiteral("VXOffsetToTableIdentifier")};
    if (entry > 0 && table > 0)
        return {QStringLiteral("EntryName and TableIdentifier can not be used together, set one "
                               "of them to 0 (not used)."),
                {},
                QStringLiteral("VXOffsetToTableIdentifier")};
    if (!hard && object == 0 && entry == 0 && table == 0)
        return {QStringLiteral("Hardcoded ObjectIdentifier or at least one Offset must be used "
                               "(value greater than 0)."),
                {},
                QStringLiteral("VXOffsetToObjectIdentifier")};
    if (settings.ScopeName.trimmed().isEmpty())
        return {QStringLiteral("Scope for the middleware is missing, enter a Name."),
                {},
                QStringLiteral("VXAttributeScope2")};
    // The check recognises the choices by how they begin; anything else would never apply.
    auto begins = [](const QString &text, std::initializer_list<const char *> prefixes) {
        for (const char *prefix : prefixes)
            if (text.startsWith(QLatin1String(prefix)))
                return true;
        return false;
    };
    const bool knownType
            = begins(settings.WordType, {"Any", "Word in String", "Word in Comment", "Call"});
    const bool knownScope
            = begins(settings.ScopeKind, {"SourceDB", "System", "Computer", "Application"});
    if (!knownType)
        return {QStringLiteral("WordType must be one of: %1.")
                        .arg(WordTypeChoices().join(QStringLiteral(", "))),
                {},
                QStringLiteral("VXWordType")};
    if (!knownScope)
        return {QStringLiteral("Scope must be one of: %1.")
                        .arg(ScopeChoices().join(QStringLiteral(", "))),
                {},
                QStringLiteral("VXAttributeScope1")};
    return {};
}

TVXRuleResult TVXMiddlewareRules::Save(int row, const TVXMiddlewareSettings &settings)
{
    TVXRuleResult check = Check(settings);
    if (!check.Ok())
        return check;
    TVXConfigTable &table = m_store.MiddlewareTable();
    const QVariantMap values{
            {QStringLiteral("VXMiddleWare"), settings.Name.trimmed()},
            {QStringLiteral("VXWord"), settings.Word.trimmed()},
            {QStringLiteral("VXWordType"), settings.WordType},
            {QStringLiteral("VXHardIdentifier"), settings.HardIdentifier.trimmed()},
            {QStringLiteral("VXOffsetToObjectIdentifier"), settings.ObjectOffset.trimmed().toInt()},
            {QStringLiteral("VXOffsetToEntryName"), settings.EntryOffset.trimmed().toInt()},
            {QStringLiteral("VXOffsetToTableIdentifier"), settings.TableOffset.trimmed().toInt()},
            {QStringLiteral("VXAttributeScope1"), settings.ScopeKind},
            {QStringLiteral("VXAttributeScope2"), settings.ScopeName.trimmed()}};
    const int same = RowOf(settings.Name.trimmed());
    if (same >= 0 && same != row)
        return {QStringLiteral("Another middleware allready has this Name, change the given Name."),
                {},
                QStringLiteral("VXMiddleWare")};
    try {
        if (row < 0)
            table.Append(values);
        else
            table.SetValues(row, values);
    } catch (const std::exception &e) {
        return {VXMessage(e), {}, {}};
    }
    m_store.Save(TVXConfigurationStore::Middleware);
    return {};
}

TVXRuleResult TVXMiddlewareRules::Delete(int row)
{
    TVXConfigTable &table = m_store.MiddlewareTable();
    if (row < 0 || row >= table.RowCount())
        return {QStringLiteral("There is no middleware to delete."), {}, {}};
    table.Delete(row);
    m_store.Save(TVXConfigurationStore::Middleware);
    return {};
}
