// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include "base/Classregistry.h"
#include "base/Configurationstore.h"
#include "base/Exception.h"
#include "base/Settings.h"

#include "loading/Loadpipeline.h"
#include "loading/Loadsources.h"
#include "loading/Middlewarecheck.h"
#include "loading/Middlewarerules.h"
#include "query/Queryattributes.h"
#include "query/Queryengine.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "shell/Basefunctionscore.h"
#include "shell/Languagerules.h"
#include "shell/Packageloader.h"
#include "shell/Sourcedatabaserules.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>

namespace {

const char *const GeneralUsage
        = "usage: velunor-cli <command> [options]\n"
          "\n"
          "commands:\n"
          "  load        load a repository from its configured folders and scripts\n"
          "  status      what a repository holds and when it was last loaded\n"
          "  missing     what the sources refer to but the repository does not hold\n"
          "  sources     the folders and scripts a repository is loaded from\n"
          "  databases   the configured source databases\n"
          "  languages   the languages, their file extensions and editors\n"
          "  middleware  the middleware definitions and their test run\n"
          "  query       the statements that hold words like these, in these places\n"
          "  sql         a free SELECT over the repository\n"
          "  help        this text, or a command's (velunor-cli help <command>)\n";

const char *const LoadUsage
        = "usage: velunor-cli load [--db NAME] [--reload | --rebuild | --no-dependency-rebuild]\n"
          "                        [--yes]\n"
          "\n"
          "Loads the repository NAME (the default source database without --db) from its\n"
          "configured folders and repository scripts, as `velunor LOAD_INTO_DB_NAMED` does, and\n"
          "prints the run's report.\n"
          "  --reload                 parse every file again\n"
          "  --rebuild                resolve every file's dependencies again\n"
          "  --no-dependency-rebuild  never rebuild dependencies because files were added\n"
          "  --yes                    answer the load's questions Yes: rebuild dependencies\n"
          "                           when files were added, remove the files of a folder\n"
          "                           that is now empty (without it they are kept and the\n"
          "                           run stops)\n"
          "Exit status: 0 when the run finished, 1 when it stopped (the load log says where),\n"
          "3 when it finished but some files did not load.\n";

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
          "programs, paragraphs and procedures, calls through a variable that no value names\n"
          "(dynamic call), copy members and included members, maps and objects, tables (with\n"
          "their schema) and data sets. Names declared anywhere in the repository are never\n"
          "missing. Each name is listed once, with the number of references and each\n"
          "referring file and line (FILE:LINE).\n";

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

const char *const DatabasesUsage
        = "usage: velunor-cli databases list\n"
          "       velunor-cli databases add NAME --type TYPE [--connection TEXT | --create-file]\n"
          "                   [--default]\n"
          "       velunor-cli databases remove NAME\n"
          "       velunor-cli databases set-default NAME\n"
          "\n"
          "TYPE is one of the loaded driver types (InMemory, InterBase, ODBC). For the file-based\n"
          "types the connection is the database file; --create-file makes a new one named after\n"
          "the database in the settings folder.\n";

const char *const LanguagesUsage
        = "usage: velunor-cli languages list\n"
          "       velunor-cli languages extensions LANGUAGE \".EXT;.EXT...\"\n"
          "       velunor-cli languages editor LANGUAGE [--name TEXT] [--command TEXT]\n"
          "                   [--find-key KEY]\n"
          "\n"
          "LANGUAGE is a language's name or id. Each extension begins with a dot; the list is\n"
          "separated by \";\". The editor settings name the external editor that shows the\n"
          "language's files; an option left out is cleared.\n";

const char *const MiddlewareUsage
        = "usage: velunor-cli middleware list\n"
          "       velunor-cli middleware add NAME --word WORD --scope KIND --scope-name NAME\n"
          "                   [--word-type TYPE] [--object-offset N] [--entry-offset N]\n"
          "                   [--table-offset N] [--hard-identifier NAME]\n"
          "       velunor-cli middleware remove NAME\n"
          "       velunor-cli middleware test NAME [--db NAME]\n"
          "\n"
          "TYPE is \"Any Executable Word\" (the default), \"Word in String\", \"Word in Comment\"\n"
          "or \"Call\"; KIND is SourceDB, System, Computer or Application. The offsets count\n"
          "words after WORD to the target program, entry or table name (0: not used). The test\n"
          "lists what the definition finds in a repository without changing it.\n";

const char *const QueryUsage
        = "usage: velunor-cli query --find ATTRIBUTE OPERATOR VALUE [--and|--or --find ...]\n"
          "                   [--in ATTRIBUTE OPERATOR VALUE ...] [--case-sensitive] [--count]\n"
          "                   [--limit N] [--json] [--db NAME]\n"
          "\n"
          "Lists the statements that hold a word of the first --find row; further rows joined\n"
          "with --or widen the search, rows joined with --and (the default) must be met by\n"
          "other words of the same statement. --in rows restrict it to systems, computers,\n"
          "applications, packages, objects or entries, or to a kind of section. OPERATOR is\n"
          "equals, contains, begins-with or ends-with (or \"any\" with no VALUE, for a find\n"
          "row that asks only for the kind of word). The hit count goes to standard error;\n"
          "with --count it is counted exactly and printed alone, without the statements.\n"
          "Find attributes:\n%1\nIn attributes:\n%2\n";

const char *const SqlUsage
        = "usage: velunor-cli sql \"STATEMENT\" [--db NAME] [--allow-writes]\n"
          "\n"
          "Runs every line of STATEMENT that does not begin with \"--\" and prints the rows of\n"
          "the last one, tab-separated, under its column names. Only reading statements run\n"
          "(SELECT, WITH, VALUES, EXPLAIN); one that would change or drop anything is refused\n"
          "unless --allow-writes says that the repository may be changed or destroyed.\n";

QString QueryUsageText()
{
    QString find, in;
    for (const TVXQueryAttribute &attribute : VXQueryAttributes::FindAttributes())
        find += QStringLiteral("  \"") + attribute.Text + QStringLiteral("\"\n");
    for (const TVXQueryAttribute &attribute : VXQueryAttributes::InAttributes())
        in += QStringLiteral("  \"") + attribute.Text + QStringLiteral("\"\n");
    find.chop(1);
    in.chop(1);
    return QString::fromLatin1(QueryUsage).arg(find, in);
}

int Count(TVXDataAccessInterface *db, const QString &sql)
{
    std::unique_ptr<TVXDataset> dataset(db->GetQuery(nullptr, {sql}, false));
    return dataset && !dataset->Eof() ? dataset->Value(0).toInt() : 0;
}

// The lines the last run wrote to the load log.

} // namespace

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

// The usage text of a command; empty for a command that does not exist.
QString TVXCli::UsageText(const QString &command)
{
    static const QHash<QString, const char *> texts{{QStringLiteral("load"), LoadUsage},
                                                    {QStringLiteral("status"), StatusUsage},
                                                    {QStringLiteral("missing"), MissingUsage},
                                                    {QStringLiteral("sources"), SourcesUsage},
                                                    {QStringLiteral("databases"), DatabasesUsage},
                                                    {QStringLiteral("languages"), LanguagesUsage},
                                                    {QStringLiteral("middleware"), MiddlewareUsage},
                                                    {QStringLiteral("sql"), SqlUsage}};
    if (command.isEmpty())
        return QString::fromLatin1(GeneralUsage);
    if (command == QLatin1String("query"))
        return QueryUsageText();
    const auto text = texts.constFind(command);
    return text == texts.cend() ? QString() : QString::fromLatin1(*text);
}

int TVXCli::UsageError(const QString &message, const QString &command)
{
    const QString usage = UsageText(command);
    m_err << "velunor-cli: " << message << "\n"
          << (usage.isEmpty() ? QString::fromLatin1(GeneralUsage) : usage);
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

TVXDataAccessInterface *TVXCli::Connected(const QString &database)
{
    TVXDataAccessInterface *db = m_service->ConnectDB(database);
    if (!db || db->ConnectionCount() == 0)
        throw TVXException(
                QStringLiteral("cannot connect to the source database '%1'").arg(database));
    return db;
}

int TVXCli::Load(const Arguments &arguments)
{
    QString database = arguments.Database;
    if (!ConfiguredDatabase(database))
        return Refused;
    QString options;
    if (arguments.Flags.contains(QStringLiteral("--reload")))
        options = QStringLiteral("RELOAD");
    else if (arguments.Flags.contains(QStringLiteral("--rebuild")))
        options = QStringLiteral("REBUILD");
    else if (arguments.Flags.contains(QStringLiteral("--no-dependency-rebuild")))
        options = QStringLiteral("DEPENDENCIES");
    m_service->SetUnattendedAnswer(arguments.Flags.contains(QStringLiteral("--yes")));
    try {
        m_service->LoadDB(database, true, true, QString(), options);
    } catch (const std::exception &e) {
        m_out << m_service->LastLoadReport();
        m_out.flush();
        return Fail(VXMessage(e));
    }
    m_out << m_service->LastLoadReport();
    if (m_service->ExitStatus() == VXLoadStatus::FilesFailed) {
        m_err << "velunor-cli: some files did not load (see the report's Errors and "
                 "LoadLog.txt)\n";
        return FilesFailed;
    }
    return Success;
}

int TVXCli::Status(const Arguments &arguments)
{
    QString database = arguments.Database;
    if (!ConfiguredDatabase(database))
        return Refused;
    QJsonObject status;
    try {
        TVXDataAccessInterface *db = Connected(database);
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
    QString database = arguments.Database;
    if (!ConfiguredDatabase(database))
        return Refused;
    struct Name
    {
        QString Kind;
        QString Text;
        int References = 0;
        QStringList Files;
        QStringList Where; // file:line of each reference
    };
    QMap<QString, Name> names;
    try {
        TVXDataAccessInterface *db = Connected(database);
        // What the repository declares is never missing, whatever kind the referring
        // word asked for: a paragraph of a copy member, a map of a mapset.
        QSet<QString> objects;
        QSet<QString> entries;
        for (auto [sql, names] :
             {std::pair{"SELECT DISTINCT UPPER(VXObjectIdentifier) FROM VXOBJECT", &objects},
              std::pair{"SELECT DISTINCT UPPER(VXEntryName) FROM VXENTRY", &entries}}) {
            std::unique_ptr<TVXDataset> rows(db->GetQuery(nullptr, {QLatin1String(sql)}, false));
            for (; rows && !rows->Eof(); rows->Next())
                names->insert(rows->Value(0).toString().trimmed());
        }
        {
            // A row takes the number of the statement it ends in, its words that of the
            // statement they began: the line of a word is one after the rows numbered below it.
            std::unique_ptr<TVXDataset> words(db->GetQuery(
                    nullptr,
                    {QStringLiteral(
                            "SELECT w.VXWordType, w.VXWord, w.VXObjectIdentifier, f.VXFileName, "
                            "f.VXLanguageID, 1 + (SELECT COUNT(*) FROM VXROW r WHERE r.VXFileID = "
                            "w.VXFileID AND r.VXRowID < w.VXRowID) "
                            "FROM VXWORD w JOIN VXFILE f ON f.VXFileID = w.VXFileID "
                            "LEFT JOIN VXDEPENDENCIES d ON d.VXFromFileID = w.VXFileID AND "
                            "d.VXFromObjectID = w.VXObjectID AND d.VXFromEntryID = w.VXEntryID AND "
                            "d.VXFromRowID = w.VXRowID AND d.VXFromWordID = w.VXWordID "
                            "WHERE w.VXWordType IN (1016, 1032, 1059, 1065, 1072) AND "
                            "d.VXFromFileID IS NULL "
                            "ORDER BY f.VXFileName, w.VXRowID, w.VXWordID")},
                    false));
            for (; words && !words->Eof(); words->Next()) {
                const int type = words->Value(0).toInt();
                const QString text = words->Value(1).toString().trimmed();
                const QString identifier = words->Value(2).toString().trimmed();
                const int language = words->Value(4).toInt();
                const bool jcl = language == 20521;
                // Called names are looked up by their text; the other references by the
                // identifier their language gave them.
                QString name
                        = type == 1016 || identifier.isEmpty() || identifier == QLatin1String("?")
                                  ? text
                                  : identifier;
                if (name.isEmpty() || name == QLatin1String("?") || name == QLatin1String("'"))
                    continue;
                // Temporary and symbolic data set names (&&TEMP, &ENV..X) name nothing that
                // could be loaded.
                if (type == 1072 && name.startsWith(QLatin1Char('&')))
                    continue;
                QString kind;
                switch (type) {
                case 1016:
                    if (identifier == QLatin1String("?"))
                        kind = QStringLiteral("dynamic call");
                    else if (identifier.isEmpty())
                        kind = jcl ? QStringLiteral("procedure") : QStringLiteral("paragraph");
                    else
                        kind = QStringLiteral("program");
                    break;
                case 1065:
                    kind = jcl ? QStringLiteral("member") : QStringLiteral("copy member");
                    break;
                case 1072:
                    kind = jcl ? QStringLiteral("data set") : QStringLiteral("table");
                    break;
                default:
                    if (name.endsWith(QLatin1String("_MAP"), Qt::CaseInsensitive)) {
                        kind = QStringLiteral("map");
                        name.chop(4);
                    } else {
                        kind = QStringLiteral("object");
                    }
                    break;
                }
                // A paragraph is declared as an entry, everything else as an object (a JCL
                // step named SORT declares no program SORT).
                if (kind != QLatin1String("dynamic call")
                    && (objects.contains(name.toUpper())
                        || (kind == QLatin1String("paragraph")
                            && entries.contains(name.toUpper()))))
                    continue;
                Name &entry = names[kind + QLatin1Char('\t') + name.toUpper()];
                entry.Kind = kind;
                entry.Text = name;
                ++entry.References;
                const QString file = words->Value(3).toString();
                if (!entry.Files.contains(file))
                    entry.Files << file;
                entry.Where << file + QLatin1Char(':') + words->Value(5).toString();
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
            item.insert(QStringLiteral("where"), QJsonArray::fromStringList(name.Where));
            list.append(item);
        }
        m_out << QJsonDocument(list).toJson(QJsonDocument::Indented);
        return Success;
    }
    m_out << "kind\tname\treferences\twhere\n";
    for (const Name &name : std::as_const(names))
        m_out << name.Kind << '\t' << name.Text << '\t' << name.References << '\t'
              << name.Where.join(QStringLiteral(", ")) << '\n';
    return Success;
}

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
        TVXDataAccessInterface *db = Connected(database);
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
        TVXDataAccessInterface *db = nullptr;
        try {
            db = m_service->ConnectDB(database);
        } catch (const std::exception &e) {
            return Fail(QStringLiteral("Connection to DataBase ") + database
                        + QStringLiteral(" failed: ") + VXMessage(e));
        }
        const TVXMiddlewareTestResult result
                = TVXMiddlewareCheck(Configuration().MiddlewareTable()).Test(row, database, db);
        db->DisConnect();
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

int TVXCli::Query(const QStringList &arguments)
{
    struct Row
    {
        bool Find = true;
        bool AndPrevious = true;
        const TVXQueryAttribute *Attribute = nullptr;
        TOperator Operator = VXOperator::None;
        QString Value;
    };
    QList<Row> rows;
    QString database;
    bool caseSensitive = false, count = false, json = false, nextAnd = true;
    int limit = -1;
    const QString command = QStringLiteral("query");
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help"))
            return Help(command);
        if (argument == QLatin1String("--and") || argument == QLatin1String("--or")) {
            nextAnd = argument == QLatin1String("--and");
        } else if (argument == QLatin1String("--case-sensitive")) {
            caseSensitive = true;
        } else if (argument == QLatin1String("--count")) {
            count = true;
        } else if (argument == QLatin1String("--json")) {
            json = true;
        } else if (argument == QLatin1String("--db") || argument == QLatin1String("--limit")) {
            if (i + 1 >= arguments.size())
                return UsageError(QStringLiteral("%1 needs a value").arg(argument), command);
            const QString value = arguments[++i];
            if (argument == QLatin1String("--db")) {
                database = value;
            } else {
                bool isNumber = false;
                limit = value.toInt(&isNumber);
                if (!isNumber || limit < 1)
                    return UsageError(QStringLiteral("--limit needs a positive number"), command);
            }
        } else if (argument == QLatin1String("--find") || argument == QLatin1String("--in")) {
            Row row;
            row.Find = argument == QLatin1String("--find");
            row.AndPrevious = nextAnd;
            nextAnd = true;
            if (i + 2 >= arguments.size())
                return UsageError(
                        QStringLiteral("%1 needs an attribute and an operator").arg(argument),
                        command);
            row.Attribute = VXQueryAttributes::Find(row.Find ? VXQueryAttributes::FindAttributes()
                                                             : VXQueryAttributes::InAttributes(),
                                                    arguments[++i]);
            if (!row.Attribute)
                return UsageError(
                        QStringLiteral("unknown %1 attribute '%2'")
                                .arg(row.Find ? QStringLiteral("find") : QStringLiteral("in"),
                                     arguments[i]),
                        command);
            QString op = arguments[++i];
            op.replace(QLatin1Char('-'), QLatin1Char(' '));
            if (op.compare(QLatin1String("any"), Qt::CaseInsensitive) != 0) {
                bool known = false;
                for (const TVXQueryOperator &choice : VXQueryAttributes::Operators())
                    if (choice.Text.compare(op, Qt::CaseInsensitive) == 0) {
                        row.Operator = choice.Operator;
                        known = true;
                    }
                if (!known)
                    return UsageError(QStringLiteral("unknown operator '%1'").arg(arguments[i]),
                                      command);
                if (i + 1 >= arguments.size())
                    return UsageError(QStringLiteral("%1 needs a value").arg(argument), command);
                row.Value = arguments[++i];
            }
            rows.append(row);
        } else {
            return UsageError(argument.startsWith(QLatin1Char('-'))
                                      ? QStringLiteral("unknown option '%1'").arg(argument)
                                      : QStringLiteral("unexpected argument '%1'").arg(argument),
                              command);
        }
    }
    if (std::none_of(rows.cbegin(), rows.cend(), [](const Row &row) { return row.Find; }))
        return UsageError(QStringLiteral("a --find row is needed"), command);
    if (!Start())
        return Refused;
    if (!ConfiguredDatabase(database))
        return Refused;
    try {
        TVXDataAccessInterface *db = Connected(database);
        // The engine and its reading thread end before the connection they read through.
        auto engineOwner = std::make_unique<TVXQueryEngine>(db);
        TVXQueryEngine &engine = *engineOwner;
        engine.SetCaseSensitive(caseSensitive);
        // Find rows first: the first of them opens the SQL's conditions.
        for (const bool find : {true, false})
            for (const Row &row : std::as_const(rows)) {
                if (row.Find != find)
                    continue;
                const int table = engine.Table(row.Attribute->Table);
                engine.WhereClause().Add(row.AndPrevious, table,
                                         engine.Field(table, row.Attribute->Field),
                                         row.Attribute->TypeKey);
                engine.WhereClause().SetOperator(row.Operator);
                engine.WhereClause().SetValueString(row.Value);
            }
        engine.Query(true, count);
        if (count) {
            if (json) {
                QJsonObject answer;
                answer.insert(QStringLiteral("hits"), engine.HitCount());
                answer.insert(QStringLiteral("label"), engine.HitLabel());
                m_out << QJsonDocument(answer).toJson(QJsonDocument::Indented);
            } else {
                m_out << engine.HitLabel() << '\n';
            }
            engineOwner.reset();
            db->DisConnect();
            return Success;
        }
        while (engine.MoreRows() && (limit < 0 || engine.Result().RecordCount() < limit))
            engine.Query(false, engine.HitCount() >= 0);
        const TVXQueryResultModel &result = engine.Result();
        const int shown = limit < 0 ? result.RecordCount() : std::min(limit, result.RecordCount());
        if (json) {
            QJsonArray list;
            for (int r = 0; r < shown; ++r) {
                QJsonObject item;
                for (const QString &field : TVXQueryResultModel::FieldNames())
                    item.insert(field, QJsonValue::fromVariant(result.Value(r, field)));
                list.append(item);
            }
            QJsonObject answer;
            answer.insert(QStringLiteral("hits"), engine.HitCount());
            answer.insert(QStringLiteral("statements"), result.RecordCount());
            answer.insert(QStringLiteral("complete"), !engine.MoreRows());
            answer.insert(QStringLiteral("label"), engine.HitLabel());
            answer.insert(QStringLiteral("rows"), list);
            m_out << QJsonDocument(answer).toJson(QJsonDocument::Indented);
        } else {
            QStringList header;
            for (const QString &field : TVXQueryResultModel::VisibleFields())
                header << TVXQueryResultModel::DisplayLabel(field);
            m_out << header.join(QLatin1Char('\t')) << '\n';
            for (int r = 0; r < shown; ++r) {
                QStringList cells;
                for (const QString &field : TVXQueryResultModel::VisibleFields())
                    cells << result.Value(r, field).toString().replace(QLatin1Char('\t'),
                                                                       QLatin1Char(' '));
                m_out << cells.join(QLatin1Char('\t')) << '\n';
            }
            m_err << engine.HitLabel() << '\n';
        }
        engineOwner.reset();
        db->DisConnect();
        return Success;
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}

namespace {

// The first word of the statement's lines that would change the repository, or nothing
// when every line only reads. Literals and comment lines are left out of the look.
QString WritingVerb(const QString &statement)
{
    static const QRegularExpression literal(QStringLiteral("'([^']|'')*'|\"[^\"]*\""));
    static const QRegularExpression verbs(
            QStringLiteral(
                    "\\b(INSERT|UPDATE|DELETE|DROP|CREATE|ALTER|REPLACE|UPSERT|MERGE|"
                    "TRUNCATE|ATTACH|DETACH|PRAGMA|VACUUM|REINDEX|ANALYZE|GRANT|REVOKE|"
                    "BEGIN|COMMIT|ROLLBACK|SAVEPOINT|RELEASE|SET|CALL|EXECUTE|COPY|LOCK)\\b"),
            QRegularExpression::CaseInsensitiveOption);
    for (const QString &line : statement.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")) || line.trimmed().isEmpty())
            continue;
        QString text = line;
        text.replace(literal, QStringLiteral("''"));
        if (const QRegularExpressionMatch verb = verbs.match(text); verb.hasMatch())
            return verb.captured(1).toUpper();
        // END ends a transaction when it begins the statement (and a CASE anywhere else).
        if (text.trimmed()
                    .section(QLatin1Char(' '), 0, 0)
                    .compare(QLatin1String("END"), Qt::CaseInsensitive)
            == 0)
            return QStringLiteral("END");
    }
    return {};
}

} // namespace

int TVXCli::Sql(const QStringList &arguments)
{
    const QString command = QStringLiteral("sql");
    QString database, statement;
    bool allowWrites = false;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--help"))
            return Help(command);
        if (arguments[i] == QLatin1String("--db")) {
            if (i + 1 >= arguments.size())
                return UsageError(QStringLiteral("--db needs a value"), command);
            database = arguments[++i];
        } else if (arguments[i] == QLatin1String("--allow-writes")) {
            allowWrites = true;
        } else if (arguments[i].startsWith(QLatin1String("--"))
                   && !arguments[i].contains(QLatin1Char(' '))
                   && !arguments[i].contains(QLatin1Char('\n'))) {
            // A statement may begin with a comment line; an option is one word.
            return UsageError(QStringLiteral("unknown option '%1'").arg(arguments[i]), command);
        } else if (statement.isEmpty()) {
            statement = arguments[i];
        } else {
            return UsageError(QStringLiteral("unexpected argument '%1'").arg(arguments[i]),
                              command);
        }
    }
    if (statement.trimmed().isEmpty())
        return UsageError(QStringLiteral("a statement is missing"), command);
    if (!allowWrites) {
        if (const QString verb = WritingVerb(statement); !verb.isEmpty()) {
            m_err << "velunor-cli: the statement would change the repository (" << verb
                  << "); only reading statements run unless --allow-writes is given\n";
            return Refused;
        }
    }
    if (!Start())
        return Refused;
    if (!ConfiguredDatabase(database))
        return Refused;
    try {
        TVXDataAccessInterface *db = Connected(database);
        TVXQueryEngine engine(db);
        QString label, error;
        std::unique_ptr<TVXDataset> rows;
        const bool ran = engine.SqlReport(statement, label, &error, &rows);
        if (ran && rows) {
            QStringList names;
            for (int f = 0; f < rows->FieldCount(); ++f)
                names << rows->FieldName(f);
            m_out << names.join(QLatin1Char('\t')) << '\n';
            for (; !rows->Eof(); rows->Next()) {
                QStringList cells;
                for (int f = 0; f < rows->FieldCount(); ++f)
                    cells << rows->Value(f).toString();
                m_out << cells.join(QLatin1Char('\t')) << '\n';
            }
        }
        rows.reset();
        db->DisConnect();
        if (!ran)
            return Fail(label + QStringLiteral(": ") + error);
        m_err << label << '\n';
        return Success;
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }
}
