// SPDX-License-Identifier: GPL-3.0-or-later
// velunor-cli sources, databases, languages and middleware.
#include "base/Configurationstore.h"
#include "base/Exception.h"
#include "base/Ruleresult.h"
#include "base/Settings.h"
#include "cli/Cli.h"

#include "loading/Loadsources.h"
#include "loading/Middlewarecheck.h"
#include "loading/Middlewarerules.h"
#include "repository/Dataaccessinterface.h"
#include "shell/Basefunctionsinterface.h"
#include "shell/Languagerules.h"
#include "shell/Sourcedatabaserules.h"

#include <QDir>
#include <QFileInfo>

int TVXCli::Sources(const Arguments &arguments)
{
    QString database = arguments.Database;
    if (!ConfiguredDatabase(database))
        return Refused;
    const QString action = arguments.Positional.first();
    const QString target = arguments.Positional.value(1);
    const bool yes = arguments.Flags.contains(QStringLiteral("--yes"));
    // The system's texts break lines with a carriage return.
    auto text
            = [](QString message) { return message.replace(QLatin1Char('\r'), QLatin1Char('\n')); };
    auto ask = [&](const QString &question) {
        if (yes)
            return true;
        m_err << text(question) << "\n(answer Yes with --yes)\n";
        m_err.flush();
        return false;
    };
    if (action != QLatin1String("list") && target.isEmpty())
        return UsageError(QStringLiteral("sources %1 needs a folder or program").arg(action),
                          QStringLiteral("sources"));
    try {
        TVXConnection db = Connected(database);
        TVXLoadSources sources(db.get());
        int code = Success;
        if (action == QLatin1String("list")) {
            m_out << "type\tsource\tsystem\tcomputer\tapplication\n";
            for (const TVXLoadSource &source : sources.List()) {
                QString computer = source.ComputerType;
                if (!source.ComputerType.isEmpty() && !source.ComputerLocation.isEmpty())
                    computer += QLatin1Char('@');
                computer += source.ComputerLocation;
                m_out << source.Type << '\t' << source.From << '\t' << source.SystemName << '\t'
                      << computer << '\t' << source.ApplicationName << '\n';
            }
        } else if (action == QLatin1String("add-folder")) {
            TVXLoadSource source{QStringLiteral("FOLDER"),
                                 target,
                                 arguments.Values.value(QStringLiteral("--system")),
                                 arguments.Values.value(QStringLiteral("--computer-type")),
                                 arguments.Values.value(QStringLiteral("--location")),
                                 arguments.Values.value(QStringLiteral("--application"))};
            const QString refused = sources.CheckNewFolder(target);
            const TVXSourceCheck check = TVXLoadSources::CheckFolderNames(source);
            if (!refused.isEmpty())
                code = Fail(refused);
            else if (!check.Error.isEmpty())
                code = Fail(text(check.Error));
            else if (!check.Question.isEmpty() && !ask(check.Question))
                code = Refused;
            else
                sources.Add(source);
        } else if (action == QLatin1String("add-script")) {
            sources.Add({QStringLiteral("REP"), target, {}, {}, {}, {}});
        } else if (action == QLatin1String("remove")) {
            const QString folder = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
            bool isFolder = false;
            for (const TVXLoadSource &source : sources.List())
                isFolder = isFolder
                           || (source.Type == QLatin1String("FOLDER") && source.From == folder);
            if (isFolder) {
                if (!ask(QStringLiteral(
                            "Loaded files from marked Folders will be deleted from your "
                            "DataBase, Continue?"))) {
                    code = Refused;
                } else {
                    db.Release();
                    m_service->DeleteFilesInDB(database, false, false, folder);
                    db = TVXConnection(m_service->ConnectDB(database));
                    TVXLoadSources(db.get()).Remove(QStringLiteral("FOLDER"), folder);
                }
            } else if (!sources.Remove(QStringLiteral("REP"), target)) {
                code = Fail(
                        QStringLiteral("'%1' is not a load source of '%2'").arg(target, database));
            }
        } else {
            code = UsageError(QStringLiteral("unknown sources action '%1'").arg(action),
                              QStringLiteral("sources"));
        }
        db.Release();
        return code;
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}

int TVXCli::Databases(const Arguments &arguments)
{
    const QString action = arguments.Positional.first();
    const QString name = arguments.Positional.value(1);
    if (action != QLatin1String("list") && name.isEmpty())
        return UsageError(QStringLiteral("databases %1 needs a database name").arg(action),
                          QStringLiteral("databases"));
    try {
        TVXSourceDatabaseRules rules(Configuration(), TVXSourceDatabaseRules::AvailableTypes(),
                                     VXSettings::PackageFolder(), VXSettings::SettingsFolder());
        if (action == QLatin1String("list")) {
            m_out << "name\ttype\tconnection\tdefault\n";
            for (const TVXDatabaseSettings &database : rules.List())
                m_out << database.Name << '\t' << database.Type << '\t' << database.Connection
                      << '\t' << (database.Default ? "Default" : "") << '\n';
            return Success;
        }
        if (action == QLatin1String("add")) {
            if (!arguments.Values.contains(QStringLiteral("--type")))
                return UsageError(QStringLiteral("databases add needs --type"),
                                  QStringLiteral("databases"));
            const bool createFile = arguments.Flags.contains(QStringLiteral("--create-file"));
            if (createFile && arguments.Values.contains(QStringLiteral("--connection")))
                return UsageError(
                        QStringLiteral("--connection and --create-file exclude each other"),
                        QStringLiteral("databases"));
            TVXDatabaseSettings settings{name, arguments.Values.value(QStringLiteral("--type")),
                                         arguments.Values.value(QStringLiteral("--connection")),
                                         arguments.Flags.contains(QStringLiteral("--default"))};
            if (rules.RowOf(name) >= 0)
                return Fail(QStringLiteral(
                        "Another database allready has this Name, change the given Name."));
            if (createFile) {
                // The file is made only when the row itself would be accepted.
                TVXRuleResult check = rules.CreateDBFile(name, settings.Type);
                if (!check.Ok())
                    return Outcome(check);
                settings.Connection = check.Information;
            }
            return Outcome(rules.Save(-1, settings));
        }
        const int row = rules.RowOf(name);
        if (action != QLatin1String("remove") && action != QLatin1String("set-default"))
            return UsageError(QStringLiteral("unknown databases action '%1'").arg(action),
                              QStringLiteral("databases"));
        if (row < 0)
            return Fail(QStringLiteral("the source database '%1' is not configured").arg(name));
        return Outcome(action == QLatin1String("remove") ? rules.Delete(row)
                                                         : rules.SetDefault(row));
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}

int TVXCli::Languages(const Arguments &arguments)
{
    const QString action = arguments.Positional.first();
    const QString language = arguments.Positional.value(1);
    try {
        TVXLanguageRules rules(Configuration());
        if (action == QLatin1String("list")) {
            if (arguments.Positional.size() > 1)
                return UsageError(QStringLiteral("unexpected argument '%1'").arg(language),
                                  QStringLiteral("languages"));
            m_out << "id\tname\textensions\teditor\tstart command\tfind key\n";
            for (const TVXLanguageSettings &settings : rules.List())
                m_out << settings.ID << '\t' << settings.Name << '\t'
                      << TVXLanguageRules::JoinExtensions(settings.Extensions) << '\t'
                      << settings.EditorName << '\t' << settings.EditorStartCommand << '\t'
                      << settings.FindShortcutKey << '\n';
            return Success;
        }
        if (action != QLatin1String("extensions") && action != QLatin1String("editor"))
            return UsageError(QStringLiteral("unknown languages action '%1'").arg(action),
                              QStringLiteral("languages"));
        if (language.isEmpty())
            return UsageError(QStringLiteral("languages %1 needs a language").arg(action),
                              QStringLiteral("languages"));
        const int row = rules.RowOf(language);
        if (row < 0)
            return Fail(QStringLiteral("the language '%1' is not known").arg(language));
        if (action == QLatin1String("editor")) {
            if (arguments.Positional.size() > 2)
                return UsageError(
                        QStringLiteral("unexpected argument '%1'").arg(arguments.Positional.last()),
                        QStringLiteral("languages"));
            return Outcome(rules.SaveEditor(row, arguments.Values.value(QStringLiteral("--name")),
                                            arguments.Values.value(QStringLiteral("--command")),
                                            arguments.Values.value(QStringLiteral("--find-key"))));
        }
        if (arguments.Positional.size() < 3)
            return UsageError(QStringLiteral("languages extensions needs the extension list"),
                              QStringLiteral("languages"));
        // Split on ";" keeping empty items, so that an empty extension is refused, not
        // dropped.
        QStringList extensions;
        for (const QString &item : arguments.Positional[2].split(QLatin1Char(';')))
            extensions << item.trimmed();
        if (extensions.size() > 1 && extensions.last().isEmpty())
            extensions.removeLast(); // a trailing ";"
        return Outcome(rules.SaveExtensions(row, extensions));
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}

int TVXCli::Middleware(const Arguments &arguments)
{
    const QString action = arguments.Positional.first();
    const QString name = arguments.Positional.value(1);
    if (action != QLatin1String("list") && name.isEmpty())
        return UsageError(QStringLiteral("middleware %1 needs a definition name").arg(action),
                          QStringLiteral("middleware"));
    try {
        TVXMiddlewareRules rules(Configuration());
        if (action == QLatin1String("list")) {
            m_out << "name\tword\tword type\tobject offset\tentry offset\ttable offset\t"
                     "hardcoded identifier\tscope\tscope name\n";
            for (const TVXMiddlewareSettings &definition : rules.List())
                m_out << definition.Name << '\t' << definition.Word << '\t' << definition.WordType
                      << '\t' << definition.ObjectOffset << '\t' << definition.EntryOffset << '\t'
                      << definition.TableOffset << '\t' << definition.HardIdentifier << '\t'
                      << definition.ScopeKind << '\t' << definition.ScopeName << '\n';
            return Success;
        }
        if (action == QLatin1String("add")) {
            TVXMiddlewareSettings settings = TVXMiddlewareRules::NewDefinition();
            settings.Name = name;
            settings.Word = arguments.Values.value(QStringLiteral("--word"));
            settings.WordType
                    = arguments.Values.value(QStringLiteral("--word-type"), settings.WordType);
            settings.HardIdentifier = arguments.Values.value(QStringLiteral("--hard-identifier"));
            settings.ObjectOffset = arguments.Values.value(QStringLiteral("--object-offset"),
                                                           settings.ObjectOffset);
            settings.EntryOffset = arguments.Values.value(QStringLiteral("--entry-offset"),
                                                          settings.EntryOffset);
            settings.TableOffset = arguments.Values.value(QStringLiteral("--table-offset"),
                                                          settings.TableOffset);
            settings.ScopeName = arguments.Values.value(QStringLiteral("--scope-name"));
            // The scope may be given by its first word, as the check recognises it.
            const QString scope = arguments.Values.value(QStringLiteral("--scope"));
            settings.ScopeKind = scope;
            for (const QString &choice : TVXMiddlewareRules::ScopeChoices())
                if (choice.section(QLatin1Char(' '), 0, 0).compare(scope, Qt::CaseInsensitive) == 0
                    || choice.compare(scope, Qt::CaseInsensitive) == 0)
                    settings.ScopeKind = choice;
            for (const QString &choice : TVXMiddlewareRules::WordTypeChoices())
                if (choice.compare(settings.WordType, Qt::CaseInsensitive) == 0)
                    settings.WordType = choice;
            return Outcome(rules.Save(-1, settings));
        }
        const int row = rules.RowOf(name);
        if (action != QLatin1String("remove") && action != QLatin1String("test"))
            return UsageError(QStringLiteral("unknown middleware action '%1'").arg(action),
                              QStringLiteral("middleware"));
        if (row < 0)
            return Fail(QStringLiteral("there is no middleware definition named '%1'").arg(name));
        if (action == QLatin1String("remove"))
            return Outcome(rules.Delete(row));

        QString database = arguments.Database;
        if (!ConfiguredDatabase(database))
            return Refused;
        TVXConnection db;
        try {
            db = TVXConnection(m_service->ConnectDB(database));
        } catch (const std::exception &e) {
            return Fail(QStringLiteral("Connection to DataBase ") + database
                        + QStringLiteral(" failed: ") + VXMessage(e));
        }
        const TVXMiddlewareTestResult result = TVXMiddlewareCheck(Configuration().MiddlewareTable())
                                                       .Test(row, database, db.get());
        db.Release();
        m_out << "Test of MiddleWare " << name << "\n";
        if (result.Hits.isEmpty()) {
            m_out << result.Message << "\n";
            return Success;
        }
        m_out << "FoundStatement\tFoundObjectIdentifier\tFoundEntryName\tFoundTableIdentifier\n";
        for (const TVXMiddlewareHit &hit : result.Hits)
            m_out << hit.FoundStatement << '\t' << hit.FoundObjectIdentifier << '\t'
                  << hit.FoundEntryName << '\t' << hit.FoundTableIdentifier << '\n';
        return Success;
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}
