// SPDX-License-Identifier: GPL-3.0-or-later
// The usage texts of velunor-cli's commands.
#include "cli/Cli.h"

#include "query/Queryattributes.h"

#include <QHash>

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

} // namespace

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
