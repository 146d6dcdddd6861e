// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/cli/Cli.h"

#include "loading/Loadsources.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "shell/Basefunctionsinterface.h"
#include "shell/Classregistry.h"
#include "shell/Exception.h"
#include "shell/Packageloader.h"
#include "shell/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace {

const char *const GeneralUsage
        = "usage: velunor-cli <command> [options]\n"
          "\n"
          "commands:\n"
          "  load     load a repository from its configured folders and scripts\n"
          "  status   what a repository holds and when it was last loaded\n"
          "  missing  what the sources refer to but the repository does not hold\n"
          "  sources  the folders and scripts a repository is loaded from\n"
          "  help     this text, or a command's (velunor-cli help <command>)\n";

const char *const LoadUsage
        = "usage: velunor-cli load [--db NAME] [--reload | --rebuild | --no-dependency-rebuild]\n"
          "\n"
          "Loads the repository NAME (the default source database without --db) from its\n"
          "configured folders and repository scripts, as `velunor LOAD_INTO_DB_NAMED` does, and\n"
          "prints the run's report.\n"
          "  --reload                 parse every file again\n"
          "  --rebuild                resolve every file's dependencies again\n"
          "  --no-dependency-rebuild  never rebuild dependencies because files were added\n";

const char *const StatusUsage
        = "usage: velunor-cli status [--db NAME] [--json]\n"
          "\n"
          "Counts the files by state (N to check, Y checked, E failed), the objects by type, the\n"
          "entries, rows, words, dependencies, data-flow links, packages and attributes of the\n"
          "repository NAME (the default source database without --db), and its last load time.\n";

const char *const MissingUsage
        = "usage: velunor-cli missing [--db NAME] [--json]\n"
          "\n"
          "Lists the names that referring words give but that resolved to nothing: called\n"
          "programs, copy members and included members, maps and objects, tables and data sets.\n"
          "Each name is listed once, with the number of references and the referring files.\n";

const char *const SourcesUsage
        = "usage: velunor-cli sources list [--db NAME]\n"
          "       velunor-cli sources add-folder FOLDER --system NAME [--computer-type TYPE]\n"
          "                   [--location LOCATION] [--application NAME] [--yes] [--db NAME]\n"
          "       velunor-cli sources add-script PROGRAM [--db NAME]\n"
          "       velunor-cli sources remove FOLDER-OR-PROGRAM [--yes] [--db NAME]\n"
          "\n"
          "Folders are loaded with all their subfolders; scripts run before the folders are\n"
          "loaded. Removing a folder deletes its loaded files from the repository. A question is\n"
          "answered Yes with --yes; without it the command stops and prints the question.\n";

int Count(TVXDataAccessInterface *db, const QString &sql)
{
    std::unique_ptr<TVXDataset> dataset(db->GetQuery(nullptr, {sql}, false));
    return dataset && !dataset->Eof() ? dataset->Value(0).toInt() : 0;
}

// The lines the last run wrote to the load log.
QString LastRunReport()
{
    QFile log(VXSettings::SettingsFolder() + QStringLiteral("LoadLog.txt"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(log.readAll());
    const qsizetype start = text.lastIndexOf(QLatin1String("*** Load into Database '"));
    return start < 0 ? text : text.mid(start);
}

} // namespace

TVXCli::TVXCli(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{}

TVXCli::~TVXCli()
{
    delete m_service;
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
    m_err << "velunor-cli: " << message << "\n";
    m_err << (command == QLatin1String("load")      ? LoadUsage
              : command == QLatin1String("status")  ? StatusUsage
              : command == QLatin1String("missing") ? MissingUsage
              : command == QLatin1String("sources") ? SourcesUsage
                                                    : GeneralUsage);
    m_err.flush();
    return Usage;
}

int TVXCli::Help(const QString &command)
{
    if (command.isEmpty())
        m_out << GeneralUsage;
    else if (command == QLatin1String("load"))
        m_out << LoadUsage;
    else if (command == QLatin1String("status"))
        m_out << StatusUsage;
    else if (command == QLatin1String("missing"))
        m_out << MissingUsage;
    else if (command == QLatin1String("sources"))
        m_out << SourcesUsage;
    else
        return UsageError(QStringLiteral("unknown command '%1'").arg(command), QString());
    return Success;
}

int TVXCli::Run(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return UsageError(QStringLiteral("a command is missing"), QString());
    const QString command = arguments.first();
    if (command == QLatin1String("help") || command == QLatin1String("--help"))
        return Help(arguments.value(1));

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
               QStringLiteral("--no-dependency-rebuild")},
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
    return command == QLatin1String("status") ? Status(parsed) : Missing(parsed);
}

bool TVXCli::Start()
{
    try {
        m_packages = std::make_unique<TVXPackageLoader>(VXSettings::PackageFolder());
        m_packages->CheckPackages();
        m_service = VXClassRegistry().Create<TVXBaseFunctionsInterface, QObject *>(
                QStringLiteral("TVXBaseFunctions"), nullptr);
        if (!m_service) {
            throw TVXException(QStringLiteral("the core package vxlib0100.so was not found in ")
                               + VXSettings::PackageFolder());
        }
        for (const QString &entry : m_packages->PackageList())
            m_service->RegisterFunctionClass(
                    m_packages->Description(entry.mid(entry.indexOf(QLatin1Char(':')) + 1)));
        m_service->InitializeFunctions();
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

QString TVXCli::DatabaseOrDefault(const QString &name)
{
    if (!name.isEmpty())
        return name;
    return m_service->GetSourceDBName(false, false, true);
}

int TVXCli::Load(const Arguments &arguments)
{
    const QString database = DatabaseOrDefault(arguments.Database);
    if (!IsConfigured(database))
        return Fail(QStringLiteral("the source database '%1' is not configured").arg(database));
    QString options;
    if (arguments.Flags.contains(QStringLiteral("--reload")))
        options = QStringLiteral("RELOAD");
    else if (arguments.Flags.contains(QStringLiteral("--rebuild")))
        options = QStringLiteral("REBUILD");
    else if (arguments.Flags.contains(QStringLiteral("--no-dependency-rebuild")))
        options = QStringLiteral("DEPENDENCIES");
    try {
        m_service->LoadDB(database, true, true, QString(), options);
    } catch (const std::exception &e) {
        m_out << LastRunReport();
        m_out.flush();
        return Fail(VXMessage(e));
    }
    m_out << LastRunReport();
    return Success;
}

int TVXCli::Status(const Arguments &arguments)
{
    const QString database = DatabaseOrDefault(arguments.Database);
    if (!IsConfigured(database))
        return Fail(QStringLiteral("the source database '%1' is not configured").arg(database));
    QJsonObject status;
    try {
        TVXDataAccessInterface *db = m_service->ConnectDB(database);
        if (!db || db->ConnectionCount() == 0)
            return Fail(QStringLiteral("cannot connect to the source database '%1'").arg(database));
        QJsonObject files;
        files.insert(QStringLiteral("total"),
                     Count(db, QStringLiteral("SELECT COUNT(*) FROM VXFILE")));
        for (const char *state : {"N", "Y", "E"})
            files.insert(
                    QLatin1String(state),
                    Count(db,
                          QStringLiteral(
                                  "SELECT COUNT(*) FROM VXFILE WHERE VXDependencyChecked = '%1'")
                                  .arg(QLatin1String(state))));
        QJsonObject types;
        {
            std::unique_ptr<TVXDataset> byType(db->GetQuery(
                    nullptr,
                    {QStringLiteral(
                            "SELECT VXObjectType, COUNT(*) FROM VXOBJECT GROUP BY VXObjectType "
                            "ORDER BY VXObjectType")},
                    false));
            for (; byType && !byType->Eof(); byType->Next())
                types.insert(byType->Value(0).toString(), byType->Value(1).toInt());
        }
        status.insert(QStringLiteral("database"), database);
        const int lastLoaded = m_service->GetSourceDBLastLoaded(database);
        status.insert(QStringLiteral("lastLoaded"),
                      lastLoaded > 0
                              ? QDateTime::fromSecsSinceEpoch(lastLoaded).toString(Qt::ISODate)
                              : QString());
        status.insert(QStringLiteral("files"), files);
        status.insert(QStringLiteral("objects"),
                      Count(db, QStringLiteral("SELECT COUNT(*) FROM VXOBJECT")));
        status.insert(QStringLiteral("objectsByType"), types);
        for (const auto &[key, table] :
             {std::pair{"entries", "VXENTRY"}, std::pair{"rows", "VXROW"},
              std::pair{"words", "VXWORD"}, std::pair{"dependencies", "VXDEPENDENCIES"},
              std::pair{"dataFlowLinks", "VXDATAFLOW"}, std::pair{"packages", "VXPACKAGE"},
              std::pair{"attributes", "VXATTRIBUTE"}})
            status.insert(QLatin1String(key), Count(db, QStringLiteral("SELECT COUNT(*) FROM ")
                                                                + QLatin1String(table)));
        db->DisConnect();
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }

    if (arguments.Flags.contains(QStringLiteral("--json"))) {
        m_out << QJsonDocument(status).toJson(QJsonDocument::Indented);
        return Success;
    }
    const QJsonObject files = status.value(QStringLiteral("files")).toObject();
    m_out << "Database:        " << database << "\n";
    const QString lastLoaded = status.value(QStringLiteral("lastLoaded")).toString();
    m_out << "Last loaded:     " << (lastLoaded.isEmpty() ? QStringLiteral("never") : lastLoaded)
          << "\n";
    m_out << "Files:           " << files.value(QStringLiteral("total")).toInt() << " ("
          << files.value(QStringLiteral("N")).toInt() << " to check, "
          << files.value(QStringLiteral("Y")).toInt() << " checked, "
          << files.value(QStringLiteral("E")).toInt() << " failed)\n";
    m_out << "Objects:         " << status.value(QStringLiteral("objects")).toInt() << "\n";
    const QJsonObject types = status.value(QStringLiteral("objectsByType")).toObject();
    for (auto it = types.begin(); it != types.end(); ++it)
        m_out << "  " << (it.key().isEmpty() ? QStringLiteral("(no type)") : it.key()) << ": "
              << it.value().toInt() << "\n";
    for (const auto &[key, label] :
         {std::pair{"entries", "Entries:         "}, std::pair{"rows", "Rows:            "},
          std::pair{"words", "Words:           "}, std::pair{"dependencies", "Dependencies:    "},
          std::pair{"dataFlowLinks", "Data-flow links: "},
          std::pair{"packages", "Packages:        "}, std::pair{"attributes", "Attributes:      "}})
        m_out << label << status.value(QLatin1String(key)).toInt() << "\n";
    return Success;
}

int TVXCli::Missing(const Arguments &arguments)
{
    const QString database = DatabaseOrDefault(arguments.Database);
    if (!IsConfigured(database))
        return Fail(QStringLiteral("the source database '%1' is not configured").arg(database));
    struct Name
    {
        QString Kind;
        QString Text;
        int References = 0;
        QStringList Files;
    };
    QMap<QString, Name> names;
    try {
        TVXDataAccessInterface *db = m_service->ConnectDB(database);
        if (!db || db->ConnectionCount() == 0)
            return Fail(QStringLiteral("cannot connect to the source database '%1'").arg(database));
        {
            std::unique_ptr<TVXDataset> words(db->GetQuery(
                    nullptr,
                    {QStringLiteral(
                            "SELECT w.VXWordType, w.VXWord, w.VXObjectIdentifier, f.VXFileName, "
                            "f.VXLanguageID "
                            "FROM VXWORD w JOIN VXFILE f ON f.VXFileID = w.VXFileID "
                            "LEFT JOIN VXDEPENDENCIES d ON d.VXFromFileID = w.VXFileID AND "
                            "d.VXFromObjectID = w.VXObjectID AND d.VXFromEntryID = w.VXEntryID AND "
                            "d.VXFromRowID = w.VXRowID AND d.VXFromWordID = w.VXWordID "
                            "WHERE w.VXWordType IN (1016, 1032, 1059, 1065, 1072) AND "
                            "d.VXFromFileID IS NULL")},
                    false));
            for (; words && !words->Eof(); words->Next()) {
                const int type = words->Value(0).toInt();
                const QString text = words->Value(1).toString().trimmed();
                const QString identifier = words->Value(2).toString().trimmed();
                // Called names are looked up by their text; the other references by the
                // identifier their language gave them.
                QString name
                        = type == 1016 || identifier.isEmpty() || identifier == QLatin1String("?")
                                  ? text
                                  : identifier;
                if (name.isEmpty() || name == QLatin1String("?") || name == QLatin1String("'"))
                    continue;
                QString kind;
                switch (type) {
                case 1016:
                    kind = QStringLiteral("program");
                    break;
                case 1065:
                    kind = QStringLiteral("member");
                    break;
                case 1072:
                    kind = words->Value(4).toInt() == 20521 ? QStringLiteral("data set")
                                                            : QStringLiteral("table");
                    break;
                default:
                    kind = QStringLiteral("object");
                    break;
                }
                Name &entry = names[kind + QLatin1Char('\t') + name.toUpper()];
                entry.Kind = kind;
                entry.Text = name;
                ++entry.References;
                const QString file = words->Value(3).toString();
                if (!entry.Files.contains(file))
                    entry.Files << file;
            }
        }
        db->DisConnect();
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }

    if (arguments.Flags.contains(QStringLiteral("--json"))) {
        QJsonArray list;
        for (const Name &name : std::as_const(names)) {
            QJsonObject item;
            item.insert(QStringLiteral("kind"), name.Kind);
            item.insert(QStringLiteral("name"), name.Text);
            item.insert(QStringLiteral("references"), name.References);
            item.insert(QStringLiteral("files"), QJsonArray::fromStringList(name.Files));
            list.append(item);
        }
        m_out << QJsonDocument(list).toJson(QJsonDocument::Indented);
        return Success;
    }
    m_out << "kind\tname\treferences\tfiles\n";
    for (const Name &name : std::as_const(names))
        m_out << name.Kind << '\t' << name.Text << '\t' << name.References << '\t'
              << name.Files.join(QStringLiteral(", ")) << '\n';
    return Success;
}

int TVXCli::Sources(const Arguments &arguments)
{
    const QString database = DatabaseOrDefault(arguments.Database);
    if (!IsConfigured(database))
        return Fail(QStringLiteral("the source database '%1' is not configured").arg(database));
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
        TVXDataAccessInterface *db = m_service->ConnectDB(database);
        if (!db || db->ConnectionCount() == 0)
            return Fail(QStringLiteral("cannot connect to the source database '%1'").arg(database));
        TVXLoadSources sources(db);
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
                    db->DisConnect();
                    m_service->DeleteFilesInDB(database, false, false, folder);
                    db = m_service->ConnectDB(database);
                    TVXLoadSources(db).Remove(QStringLiteral("FOLDER"), folder);
                }
            } else if (!sources.Remove(QStringLiteral("REP"), target)) {
                code = Fail(
                        QStringLiteral("'%1' is not a load source of '%2'").arg(target, database));
            }
        } else {
            code = UsageError(QStringLiteral("unknown sources action '%1'").arg(action),
                              QStringLiteral("sources"));
        }
        if (db && db->ConnectionCount() > 0)
            db->DisConnect();
        return code;
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}
