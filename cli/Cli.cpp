// SPDX-License-Identifier: GPL-3.0-or-later
// velunor-cli: start-up, the command dispatch and what the commands share.
#include "cli/Cli.h"

#include "base/Configurationstore.h"
#include "base/Exception.h"
#include "base/Ruleresult.h"
#include "base/Settings.h"

#include "repository/Dataaccessinterface.h"
#include "shell/Basefunctionscore.h"
#include "shell/Packageloader.h"

TVXCli::TVXCli(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{}

TVXCli::~TVXCli()
{
    m_service.reset();
    if (m_packages)
        m_packages->UnloadAll();
}

int TVXCli::Fail(const QString &message)
{
    m_err << "velunor-cli: " << message << "\n";
    m_err.flush();
    return Refused;
}

int TVXCli::UsageError(const QString &message, const QString &command)
{
    const QString usage = UsageText(command);
    m_err << "velunor-cli: " << message << "\n" << (usage.isEmpty() ? UsageText(QString()) : usage);
    m_err.flush();
    return Usage;
}

int TVXCli::Help(const QString &command)
{
    const QString usage = UsageText(command);
    if (usage.isEmpty())
        return UsageError(QStringLiteral("unknown command '%1'").arg(command), QString());
    m_out << usage;
    return Success;
}

int TVXCli::Run(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return UsageError(QStringLiteral("a command is missing"), QString());
    const QString command = arguments.first();
    if (command == QLatin1String("help") || command == QLatin1String("--help"))
        return Help(arguments.value(1));
    // Their rows take several values each, so they read their own arguments.
    if (command == QLatin1String("query"))
        return Query(arguments.mid(1));
    if (command == QLatin1String("sql"))
        return Sql(arguments.mid(1));

    // What each command accepts.
    struct Grammar
    {
        QStringList Flags;
        QStringList Values;
        int MinPositional = 0;
        int MaxPositional = 0;
    };
    const QStringList db{QStringLiteral("--db")};
    const QHash<QString, Grammar> grammar{
            {QStringLiteral("load"),
             {{QStringLiteral("--reload"), QStringLiteral("--rebuild"),
               QStringLiteral("--no-dependency-rebuild"), QStringLiteral("--yes")},
              db}},
            {QStringLiteral("status"), {{QStringLiteral("--json")}, db}},
            {QStringLiteral("missing"), {{QStringLiteral("--json")}, db}},
            {QStringLiteral("sources"),
             {{QStringLiteral("--yes")},
              {QStringLiteral("--db"), QStringLiteral("--system"),
               QStringLiteral("--computer-type"), QStringLiteral("--location"),
               QStringLiteral("--application")},
              1,
              2}},
            {QStringLiteral("databases"),
             {{QStringLiteral("--create-file"), QStringLiteral("--default")},
              {QStringLiteral("--type"), QStringLiteral("--connection")},
              1,
              2}},
            {QStringLiteral("languages"),
             {{},
              {QStringLiteral("--name"), QStringLiteral("--command"), QStringLiteral("--find-key")},
              1,
              3}},
            {QStringLiteral("middleware"),
             {{},
              {QStringLiteral("--db"), QStringLiteral("--word"), QStringLiteral("--word-type"),
               QStringLiteral("--object-offset"), QStringLiteral("--entry-offset"),
               QStringLiteral("--table-offset"), QStringLiteral("--hard-identifier"),
               QStringLiteral("--scope"), QStringLiteral("--scope-name")},
              1,
              2}},
    };
    const auto rules = grammar.constFind(command);
    if (rules == grammar.cend())
        return UsageError(QStringLiteral("unknown command '%1'").arg(command), QString());

    Arguments parsed;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help"))
            return Help(command);
        const QString option = argument.section(QLatin1Char('='), 0, 0);
        if (rules->Values.contains(option)) {
            QString value;
            if (argument.contains(QLatin1Char('=')))
                value = argument.section(QLatin1Char('='), 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            else
                return UsageError(QStringLiteral("%1 needs a value").arg(option), command);
            parsed.Values.insert(option, value);
            if (option == QLatin1String("--db"))
                parsed.Database = value;
        } else if (rules->Flags.contains(argument)) {
            parsed.Flags << argument;
        } else if (argument.startsWith(QLatin1Char('-'))) {
            return UsageError(QStringLiteral("unknown option '%1'").arg(argument), command);
        } else {
            parsed.Positional << argument;
        }
    }
    if (parsed.Positional.size() < rules->MinPositional)
        return UsageError(QStringLiteral("an argument is missing"), command);
    if (parsed.Positional.size() > rules->MaxPositional)
        return UsageError(QStringLiteral("unexpected argument '%1'").arg(parsed.Positional.last()),
                          command);
    if (command == QLatin1String("load") && parsed.Flags.size() > 1)
        return UsageError(QStringLiteral("--reload, --rebuild and --no-dependency-rebuild "
                                         "exclude each other"),
                          command);
    if (!Start())
        return Refused;
    if (command == QLatin1String("load"))
        return Load(parsed);
    if (command == QLatin1String("sources"))
        return Sources(parsed);
    if (command == QLatin1String("databases"))
        return Databases(parsed);
    if (command == QLatin1String("languages"))
        return Languages(parsed);
    if (command == QLatin1String("middleware"))
        return Middleware(parsed);
    return command == QLatin1String("status") ? Status(parsed) : Missing(parsed);
}

bool TVXCli::Start()
{
    try {
        m_packages = std::make_unique<TVXPackageLoader>(VXSettings::PackageFolder());
        m_packages->CheckPackages(TVXPackageLoader::DisplayFreePackages);
        m_service = std::make_unique<TVXBaseFunctionsCore>();
        for (const QString &entry : m_packages->PackageList())
            m_service->RegisterFunctionClass(
                    m_packages->Description(entry.mid(entry.indexOf(QLatin1Char(':')) + 1)));
        // A settings file that had to be restored stops the command: an unattended job must
        // not go on with settings the user did not make (a load into another database).
        QStringList repaired;
        m_service->SetMessageHandler([this, &repaired](TVXMessageKind kind, const QString &text) {
            if (kind == TVXMessageKind::Warning)
                repaired << text;
            else
                m_err << "velunor-cli: " << text << "\n";
        });
        m_service->InitializeFunctions();
        m_service->SetMessageHandler([this](TVXMessageKind, const QString &text) {
            m_err << "velunor-cli: " << text << "\n";
            m_err.flush();
        });
        if (!repaired.isEmpty()) {
            for (const QString &message : std::as_const(repaired))
                Fail(message
                     + QStringLiteral(" The damaged file was kept with the ending "
                                      "\".damaged\" in ")
                     + VXSettings::SettingsFolder() + QStringLiteral("; run the command again."));
            return false;
        }
        return true;
    } catch (const std::exception &e) {
        Fail(VXMessage(e));
        return false;
    }
}

bool TVXCli::IsConfigured(const QString &database)
{
    for (QString name = m_service->GetSourceDBName(true, false, false); !name.isEmpty();
         name = m_service->GetSourceDBName(false, true, false))
        if (name == database)
            return true;
    return false;
}

bool TVXCli::ConfiguredDatabase(QString &database)
{
    if (database.isEmpty())
        database = m_service->GetSourceDBName(false, false, true);
    if (IsConfigured(database))
        return true;
    Fail(QStringLiteral("the source database '%1' is not configured").arg(database));
    return false;
}

TVXConnection TVXCli::Connected(const QString &database)
{
    TVXConnection db(m_service->ConnectDB(database));
    if (!db || db->ConnectionCount() == 0)
        throw TVXException(
                QStringLiteral("cannot connect to the source database '%1'").arg(database));
    return db;
}

TVXConfigurationStore &TVXCli::Configuration()
{
    // The rules classes work on the service object's own tables, as the dialogs do.
    TVXConfigurationStore *store = m_service->ConfigurationStore();
    if (!store)
        throw TVXException(QStringLiteral("the service object holds no configuration store"));
    return *store;
}

int TVXCli::Outcome(const TVXRuleResult &result)
{
    auto text
            = [](QString message) { return message.replace(QLatin1Char('\r'), QLatin1Char('\n')); };
    if (!result.Ok())
        return Fail(text(result.Error));
    if (!result.Information.isEmpty())
        m_out << text(result.Information) << "\n";
    return Success;
}
