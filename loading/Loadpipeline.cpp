// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Loadpipeline.h"

#include "base/Configtable.h"
#include "base/Exception.h"
#include "base/Settings.h"

#include "loading/Loadphase.h"
#include "loading/Loadprogress.h"
#include "loading/Parseahead.h"
#include "parsing/Globals.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Parsedfile.h"
#include "parsing/Rowloop.h"
#include "parsing/Sourcereader.h"
#include "repository/Condition.h"
#include "repository/Connection.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"
#include "repository/Loadqueries.h"
#include "repository/Repositoryqueries.h"
#include "repository/Schema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <memory>
#include <sys/stat.h>

namespace {

const QString FoundText = QStringLiteral("Files found");
const QString CheckedText = QStringLiteral("Files in Database Checked for Change");

struct TVXFileRow
{
    int FileID = 0;
    int LanguageID = 0;
    int SystemID = 0;
    int ComputerID = 0;
    int ApplicationID = 0;
    QString Directory;
    QString FileName;
    qint64 FileSize = 0;
    qint64 LoadTime = 0;
    QString DependencyChecked;

    QString Path() const { return QDir(Directory).filePath(FileName); }
};

// Field handles of one table, looked up once.
class TVXFields
{
public:
    TVXFields(TVXDataAccessInterface *db, const QString &table)
        : m_db(db)
        , m_table(db->GetTable(table))
    {
        if (m_table <= 0)
            throw TVXException(QStringLiteral("the repository has no table ") + table);
    }
    int Table() const { return m_table; }
    int Field(const QString &name)
    {
        auto found = m_fields.constFind(name);
        if (found == m_fields.cend())
            found = m_fields.insert(name, m_db->GetField(m_table, name));
        return *found;
    }
    QVariant Value(const QString &name) { return m_db->GetFieldValue(m_table, Field(name)); }
    void Set(const QString &name, const QVariant &value)
    {
        m_db->SetFieldValue(m_table, Field(name), value);
    }
    bool Select(const QString &condition) { return m_db->SelectBegin(m_table, condition); }
    bool Select(const TVXCondition &condition)
    {
        return m_db->SelectBoundBegin(m_table, condition);
    }
    bool Next() { return m_db->SelectNext(m_table); }

private:
    TVXDataAccessInterface *m_db;
    int m_table;
    QHash<QString, int> m_fields;
};

TVXFileRow ReadFileRow(TVXFields &files)
{
    TVXFileRow row;
    row.FileID = files.Value(QStringLiteral("VXFileID")).toInt();
    row.LanguageID = files.Value(QStringLiteral("VXLanguageID")).toInt();
    row.SystemID = files.Value(QStringLiteral("VXSystemID")).toInt();
    row.ComputerID = files.Value(QStringLiteral("VXComputerID")).toInt();
    row.ApplicationID = files.Value(QStringLiteral("VXApplicationID")).toInt();
    row.Directory = files.Value(QStringLiteral("VXDirectory")).toString();
    row.FileName = files.Value(QStringLiteral("VXFileName")).toString();
    row.FileSize = files.Value(QStringLiteral("VXFileSize")).toLongLong();
    row.LoadTime = files.Value(QStringLiteral("VXLoadTime")).toLongLong();
    row.DependencyChecked = files.Value(QStringLiteral("VXDependencyChecked")).toString().trimmed();
    return row;
}

QList<TVXFileRow> ReadFileRows(TVXFields &files, const QString &condition)
{
    QList<TVXFileRow> rows;
    for (bool found = files.Select(condition); found; found = files.Next())
        rows.append(ReadFileRow(files));
    return rows;
}

// $NAME, ${NAME} and %NAME% are replaced by the environment's values.
QString ExpandEnvironment(QString text)
{
    static const QRegularExpression variable(
            QStringLiteral("\\$\\{([A-Za-z_][A-Za-z0-9_]*)\\}|\\$([A-Za-z_][A-Za-z0-9_]*)|%([A-Za-"
                           "z_][A-Za-z0-9_]*)%"));
    QString result;
    qsizetype last = 0;
    for (auto it = variable.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString name = match.captured(1);
        if (name.isEmpty())
            name = match.captured(2);
        if (name.isEmpty())
            name = match.captured(3);
        result += QStringView(text).mid(last, match.capturedStart() - last);
        result += qEnvironmentVariable(name.toLocal8Bit().constData());
        last = match.capturedEnd();
    }
    result += QStringView(text).mid(last);
    return result;
}

} // namespace

TVXLoadPipeline::TVXLoadPipeline(TVXConfigTable &databases, TVXConfigTable &languages,
                                 TVXServices services, TVXLoadProgress &progress)
    : m_databases(databases)
    , m_languages(languages)
    , m_services(std::move(services))
    , m_progress(progress)
    , m_trace(m_services.LoadDebug)
{}

// ---- Helpers ---------------------------------------------------------------------------

qint64 TVXLoadPipeline::FileSystemTime(const QDateTime &time)
{
    return time.toSecsSinceEpoch();
}

void TVXLoadPipeline::Process()
{
    if (m_services.ProcessEvents)
        m_services.ProcessEvents();
}

TVXDataAccessInterface *TVXLoadPipeline::Connect(const QString &database)
{
    const int row = m_databases.FindFirst(QStringLiteral("VX_DBNAME"), database);
    if (row < 0)
        throw TVXException(
                QStringLiteral("the source database '%1' is not configured").arg(database));
    const QString type = m_databases.Text(row, QStringLiteral("VX_DBTYPE"));
    auto *db = m_services.GetFunction ? qobject_cast<TVXDataAccessInterface *>(
                       m_services.GetFunction(type + QStringLiteral("DB"), database))
                                      : nullptr;
    if (!db)
        throw TVXException(QStringLiteral("no driver package for the database type '%1' of '%2' "
                                          "is loaded")
                                   .arg(type, database));
    if (db->Connect(m_databases.Text(row, QStringLiteral("VX_DBCONNSTRING"))) != 1)
        throw TVXException(
                QStringLiteral("cannot connect to the source database '%1'").arg(database));
    if (!db->ConnectNote().isEmpty())
        m_progress.WriteError(QStringLiteral("Warning: ") + db->ConnectNote());
    return db;
}

// ---- The run ---------------------------------------------------------------------------

void TVXLoadPipeline::LoadDB(const QString &database, bool fromFolders, bool fromRepositories,
                             const QString &fromDatabase, const QString &options)
{
    m_loaded = m_failed = m_newFiles = m_removed = m_truncatedRows = 0;
    m_arriving.clear();
    m_arrived.clear();
    m_bytesLoaded = 0;
    m_progress.Initialize(database, fromFolders, fromRepositories, fromDatabase);
    const QString upperOptions = options.toUpper();
    TVXDataAccessInterface *db = nullptr;
    // One load of a repository at a time; a lock left by a run that died is taken over.
    QString lockName = database;
    lockName.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    QLockFile lock(VXSettings::SettingsFolder() + QStringLiteral("VN_Load_") + lockName
                   + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    TVXConnection connection;
    try {
        if (!lock.tryLock(LockWait())) {
            if (lock.error() == QLockFile::LockFailedError)
                throw TVXException(QStringLiteral("another load of the repository '%1' is "
                                                  "running; try again when it has finished")
                                           .arg(database));
            throw TVXException(QStringLiteral("the load lock cannot be written: ")
                               + lock.fileName());
        }
        connection = TVXConnection(db = Connect(database));
        BuildLanguageTable();
        if (fromRepositories)
            RunScripts(db);
        if (fromFolders) {
            TVXLoadPhase scan(QStringLiteral("scan"));
            ScanFolders(db);
            db->Commit(false, true);
            TVXFields files(db, QStringLiteral("VXFILE"));
            if (upperOptions.startsWith(QLatin1String("RELOAD"))) {
                for (bool found = files.Select(QStringLiteral("VXFileID >= 0 ORDER BY VXFileID"));
                     found; found = files.Next()) {
                    files.Set(QStringLiteral("VXLoadTime"), 0);
                    files.Set(QStringLiteral("VXDependencyChecked"), QStringLiteral("N"));
                }
                db->Commit(false, true);
            }
            QList<int> queue;
            CheckForChanges(db, queue);
            scan.Stop();
            if (!upperOptions.startsWith(QLatin1String("DEPENDENCIES"))) {
                const bool rebuild = upperOptions.startsWith(QLatin1String("REBUILD"))
                                     || (m_newFiles > 0 && m_services.Ask
                                         && m_services.Ask(QStringLiteral(
                                                 "New file(s) has been added. Rebuild all "
                                                 "dependences?\r\rIf any loaded "
                                                 "file has dependencies TO the added file(s)\rand "
                                                 "the loaded file(s) has "
                                                 "NOT changed this must be done\rto resolve the "
                                                 "dependencies.")));
                if (rebuild) {
                    for (bool found = files.Select(QStringLiteral("VXFileID >= 0")); found;
                         found = files.Next())
                        files.Set(QStringLiteral("VXDependencyChecked"), QStringLiteral("N"));
                    db->Commit(false, true);
                }
            }
            m_queueLength = int(queue.size());
            m_progress.FilesLoaded(0, m_queueLength, m_truncatedRows);
            LoadQueue(db, queue);
            {
                TVXLoadPhase referrers(QStringLiteral("referrers of new files"));
                RecheckReferrers(db, m_arrived);
                db->CheckpointLog();
            }
            if (m_services.UpdateDependencies)
                m_services.UpdateDependencies(database, db, m_progress);
            db->CheckpointLog();
        }

        const int row = m_databases.FindFirst(QStringLiteral("VX_DBNAME"), database);
        if (row >= 0) {
            m_databases.SetValue(row, QStringLiteral("VX_DBLASTLOADED"),
                                 FileSystemTime(QDateTime::currentDateTime()));
            if (m_services.SaveDatabases)
                m_services.SaveDatabases();
        }
        m_progress.Finish(m_loaded, m_bytesLoaded,
                          VXRepositoryQueries::RowCount(db, QStringLiteral("VXOBJECT")),
                          VXRepositoryQueries::RowCount(db, QStringLiteral("VXROW")));
        db->Commit(false, false);
        if (m_loaded > 0 && m_services.RefreshWindows)
            m_services.RefreshWindows(db);
        connection.Release();
    } catch (const std::exception &e) {
        const QString message = VXMessage(e);
        m_progress.WriteError(QStringLiteral("LoadError: ") + message);
        m_progress.WriteError(
                QStringLiteral("*** Load interupted at ")
                + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                + QStringLiteral(" ***"));
        connection = TVXConnection();
        throw TVXException(QStringLiteral("LoadError: ") + message);
    }
}

int TVXLoadPipeline::LockWait()
{
    bool number = false;
    const int seconds = qEnvironmentVariableIntValue("VELUNOR_LOAD_WAIT", &number);
    return number && seconds >= 0 ? seconds * 1000 : 10000;
}

void TVXLoadPipeline::RunScripts(TVXDataAccessInterface *db)
{
    TVXFields load(db, QStringLiteral("VXLOAD"));
    QStringList scripts;
    for (bool found = load.Select(QStringLiteral("VXLoadType = 'REP'")); found; found = load.Next())
        scripts << load.Value(QStringLiteral("VXLoadFrom")).toString();
    m_progress.ScriptRunned(0, int(scripts.size()), QString());
    for (int i = 0; i < scripts.size(); ++i) {
        // A script that cannot be started or fails is no reason to stop the load.
        QProcess process;
        process.setProgram(ExpandEnvironment(scripts[i]));
        process.start();
        if (process.waitForStarted(5000)) {
            while (!process.waitForFinished(10))
                Process();
        }
        m_progress.ScriptRunned(i + 1, int(scripts.size()), scripts[i]);
    }
}

int TVXLoadPipeline::Attribute(TVXDataAccessInterface *db, int type, const QString &name, int icon)
{
    TVXFields attributes(db, QStringLiteral("VXATTRIBUTE"));
    const TVXCondition condition
            = TVXCondition::Equals(QStringLiteral("VXAttributeType"), type)
                      .And(TVXCondition::Equals(QStringLiteral("VXAttributeName"), name));
    if (!attributes.Select(condition)) {
        db->VXATTRIBUTE_Append(type, name);
        db->Commit(false, true);
        if (!attributes.Select(condition))
            throw TVXException(QStringLiteral("the attribute '%1' was not stored").arg(name));
        attributes.Set(QStringLiteral("VXIcon"), icon);
        db->Commit(false, true);
    }
    return attributes.Value(QStringLiteral("VXAttributeID")).toInt();
}

void TVXLoadPipeline::ScanFolders(TVXDataAccessInterface *db)
{
    const int filesBefore = VXRepositoryQueries::RowCount(db, QStringLiteral("VXFILE"));
    struct Source
    {
        QString Folder, System, ComputerType, ComputerLocation, Application;
    };
    QList<Source> sources;
    {
        TVXFields load(db, QStringLiteral("VXLOAD"));
        for (bool found = load.Select(QStringLiteral("VXLoadType = 'FOLDER'")); found;
             found = load.Next())
            sources.append({load.Value(QStringLiteral("VXLoadFrom")).toString(),
                            load.Value(QStringLiteral("VXSystemName")).toString(),
                            load.Value(QStringLiteral("VXComputerType")).toString(),
                            load.Value(QStringLiteral("VXComputerLocation")).toString(),
                            load.Value(QStringLiteral("VXApplicationName")).toString()});
    }
    for (const Source &source : sources) {
        m_progress.FilesChecked(0, FoundText, source.Folder);
        const int system = source.System.isEmpty() ? 0 : Attribute(db, 1, source.System, 1);
        QString computerName;
        int computerIcon = 5;
        if (!source.ComputerType.isEmpty() && !source.ComputerLocation.isEmpty())
            computerName = source.ComputerType + QLatin1Char('@') + source.ComputerLocation;
        else if (!source.ComputerType.isEmpty() || !source.ComputerLocation.isEmpty())
            computerName = source.ComputerType + source.ComputerLocation;
        const bool computerNamed = !computerName.isEmpty();
        if (!computerNamed) {
            computerName = QStringLiteral("Common Source for ") + source.System;
            computerIcon = 49;
        }
        const int computer = Attribute(db, 2, computerName, computerIcon);
        int application = 0;
        if (!source.Application.isEmpty())
            application = Attribute(db, 3, source.Application, 9);
        else if (computerNamed)
            application = Attribute(db, 3, QStringLiteral("Common Source for ") + computerName, 49);
        Process();

        if (!QFileInfo(source.Folder).isDir())
            throw TVXException(QStringLiteral("the folder to load from does not exist: ")
                               + source.Folder);
        m_scannedFolders.clear();
        // Read per configured folder: an earlier one of this run may have changed rows.
        m_storedFiles = VXLoadQueries::StoredFiles(db);
        const int found = PopulateVXFileTable(system, computer, application, source.Folder, db,
                                              filesBefore, 0);
        m_storedFiles.clear();
        if (found == 0)
            ConfirmEmptyFolder(db, source.Folder);
        db->Commit(false, true);
        m_progress.FilesChecked(found, FoundText, QString());
    }
}

int TVXLoadPipeline::PopulateVXFileTable(int system, int computer, int application,
                                         const QString &folder, TVXDataAccessInterface *db,
                                         int filesBefore, int found)
{
    try {
        // Links may lead back into a folder already scanned: each real folder once.
        const QString real = QFileInfo(folder).canonicalFilePath();
        if (real.isEmpty() || m_scannedFolders.contains(real)) {
            m_progress.Skipped(folder, real.isEmpty()
                                               ? QStringLiteral("the folder cannot be read")
                                               : QStringLiteral("a link to the folder ") + real
                                                         + QStringLiteral(", scanned already"));
            return found;
        }
        m_scannedFolders.insert(real);
        const QDir dir(folder);
        QStringList subFolders;
        TVXFields files(db, QStringLiteral("VXFILE"));
        const QFileInfoList entries = dir.entryInfoList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo &entry : entries) {
            if (entry.isDir()) {
                subFolders << entry.absoluteFilePath();
                continue;
            }
            const int language = LanguageOf(m_languageTable, entry.fileName());
            // Only regular files are sources: reading a pipe would wait for ever.
            struct stat status
            {
            };
            const bool exists
                    = ::stat(QFile::encodeName(entry.absoluteFilePath()).constData(), &status) == 0;
            if (language != 0 && (!exists || !S_ISREG(status.st_mode))) {
                m_progress.Skipped(entry.absoluteFilePath(),
                                   !exists ? QStringLiteral("a link to nothing")
                                           : QStringLiteral("not a regular file"));
                ++found;
                continue;
            }
            // A path the repository cannot hold is one file that did not load; the others do.
            if (language != 0
                && (folder.size() > VXSchema::DirectoryLength
                    || entry.fileName().size() > VXSchema::FileNameLength)) {
                const QString message
                        = QStringLiteral("the path is too long to be stored (%1 characters for "
                                         "the folder, %2 for the name at most)")
                                  .arg(VXSchema::DirectoryLength)
                                  .arg(VXSchema::FileNameLength);
                ++m_failed;
                m_progress.Error(message, entry.absoluteFilePath());
                m_progress.WriteError(QStringLiteral("LoadError: ") + message);
                m_progress.WriteError(QStringLiteral("  in file: ") + entry.absoluteFilePath());
                ++found;
                continue;
            }
            if (language != 0) {
                // Nanoseconds: an edit within the same second, of the same size, is an edit.
                const qint64 modified
                        = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
                // A loaded file that is as stored has nothing to write: an unchanged reload
                // of a large portfolio reads its file rows once instead of once per file.
                const auto stored = m_storedFiles.constFind(
                        VXLoadQueries::StoredFileKey(folder, entry.fileName()));
                const bool asStored = stored != m_storedFiles.cend() && stored->LoadTime != 0
                                      && stored->FileTime == modified
                                      && stored->FileSize == qint64(status.st_size)
                                      && stored->SystemID == system
                                      && stored->ComputerID == computer
                                      && stored->ApplicationID == application;
                if (!asStored) {
                    db->VXFILE_Append(language, system, computer, application, folder,
                                      entry.fileName(), modified, qint64(status.st_size));
                    const TVXCondition thisFile
                            = TVXCondition::Equals(QStringLiteral("VXDirectory"), folder)
                                      .And(TVXCondition::Equals(QStringLiteral("VXFileName"),
                                                                entry.fileName()));
                    if (files.Select(thisFile)) {
                        const bool isNew
                                = files.Value(QStringLiteral("VXDependencyChecked"))
                                          .toString()
                                          .trimmed()
                                          .isEmpty()
                                  && files.Value(QStringLiteral("VXLoadTime")).toLongLong() == 0;
                        if (filesBefore > 0 && isNew
                            && files.Value(QStringLiteral("VXFileID")).toInt() > 0) {
                            // Marked so that later scans of this run do not count it again.
                            files.Set(QStringLiteral("VXDependencyChecked"), QStringLiteral("N"));
                            ++m_newFiles;
                            m_progress.FilesAdded(m_newFiles, entry.absoluteFilePath());
                        }
                    }
                    db->Commit(false, true);
                    // Test scripts of one folder form one object: when one of them changed,
                    // the whole folder is parsed again together.
                    const bool withoutExtension = !entry.fileName().contains(QLatin1Char('.'));
                    if (withoutExtension && HoldsDirectoryObjects(language)
                        && files.Select(thisFile)
                        && files.Value(QStringLiteral("VXLoadTime")).toLongLong() == 0) {
                        const TVXCondition loadedInFolder
                                = TVXCondition::Equals(QStringLiteral("VXDirectory"), folder)
                                          .And(TVXCondition(QStringLiteral("VXLoadTime <> 0")));
                        for (bool other = files.Select(loadedInFolder); other;
                             other = files.Select(loadedInFolder)) {
                            files.Set(QStringLiteral("VXLoadTime"), 0);
                            db->Commit(false, true);
                        }
                    }
                }
            }
            ++found;
            m_progress.FilesChecked(found, FoundText, QString());
            Process();
        }
        for (const QString &subFolder : std::as_const(subFolders))
            found = PopulateVXFileTable(system, computer, application, subFolder, db, filesBefore,
                                        found);
        return found;
    } catch (const std::exception &e) {
        // Sub-folders are scanned by the same operation: its name once.
        const QString prefix = QStringLiteral("TVXBaseFunctions.PopulateVXFileTable: ");
        const QString message = VXMessage(e);
        throw TVXException(message.startsWith(prefix) ? message : prefix + message);
    }
}

void TVXLoadPipeline::MarkForCheck(TVXDataAccessInterface *db, const QList<int> &fileIDs)
{
    TVXFields files(db, QStringLiteral("VXFILE"));
    for (const QString &in : FileIDLists(fileIDs)) {
        for (bool found = files.Select(QStringLiteral("VXDependencyChecked = 'Y' AND ") + in);
             found; found = files.Next())
            files.Set(QStringLiteral("VXDependencyChecked"), QStringLiteral("N"));
        db->Commit(false, true);
    }
}

QStringList TVXLoadPipeline::FileIDLists(const QList<int> &fileIDs)
{
    // A statement holds a bounded list on every engine.
    QStringList conditions;
    for (qsizetype at = 0; at < fileIDs.size(); at += 500) {
        QStringList ids;
        for (const int id : fileIDs.mid(at, 500))
            ids << QString::number(id);
        conditions << QStringLiteral("VXFileID IN (") + ids.join(QLatin1Char(','))
                              + QLatin1Char(')');
    }
    return conditions;
}

void TVXLoadPipeline::RecheckReferrers(TVXDataAccessInterface *db, const QList<int> &fileIDs)
{
    // After a first load, a reload or a rebuild every file is checked anyway.
    if (fileIDs.isEmpty() || VXLoadQueries::CheckedFileCount(db) == 0)
        return;
    QSet<QString> names;
    const auto add = [&names](const QString &text) {
        const QString name = text.trimmed().toUpper();
        if (name.isEmpty())
            return;
        names.insert(name);
        // SCHEMA.TABLE and qualified names are referred to by their last part too.
        if (const qsizetype point = name.lastIndexOf(QLatin1Char('.')); point > 0)
            names.insert(name.mid(point + 1));
    };
    for (const QString &name : VXLoadQueries::DeclaredNames(db, fileIDs))
        add(name);
    const QSet<int> loaded(fileIDs.cbegin(), fileIDs.cend());
    QSet<int> referrers;
    const QStringList all(names.cbegin(), names.cend());
    for (qsizetype at = 0; at < all.size(); at += 200) {
        const QStringList chunk = all.mid(at, 200);
        // By the word as written (the word index answers), and by the identifier the
        // parser gave it (a map, a program named by a variable's value).
        using namespace VXWordType;
        for (const int file :
             VXLoadQueries::FilesNaming(
                     db, {CalledName, ReferencedName, HostName, IncludedMember, TableName}, chunk,
                     false)
                     + VXLoadQueries::FilesNaming(
                             db, {CalledName, HostName, IncludedMember, TableName}, chunk, true))
            if (!loaded.contains(file))
                referrers.insert(file);
        Process();
    }
    if (referrers.isEmpty())
        return;
    m_trace.Write(QStringLiteral("RecheckReferrers\t%1").arg(referrers.size()));
    MarkForCheck(db, QList<int>(referrers.cbegin(), referrers.cend()));
}

void TVXLoadPipeline::ConfirmEmptyFolder(TVXDataAccessInterface *db, const QString &folder)
{
    // An unmounted share looks like an empty folder: its files stay unless the user says so.
    const QString prefix = QDir::cleanPath(folder);
    int held = 0;
    for (const auto &[stored, files] : VXLoadQueries::FilesByDirectory(db)) {
        const QString directory = QDir::cleanPath(stored);
        if (directory == prefix || directory.startsWith(prefix + QLatin1Char('/')))
            held += files;
    }
    if (held == 0)
        return;
    const QString question
            = QStringLiteral("The folder %1 holds no files any more, but the repository holds "
                             "%2 files from it.\r\rRemove them from the repository?")
                      .arg(folder)
                      .arg(held);
    if (m_services.Ask && m_services.Ask(question))
        return;
    throw TVXException(QStringLiteral("the folder to load from is empty, but the repository holds "
                                      "%1 files from it; they are kept (confirm their removal "
                                      "to remove them): ")
                               .arg(held)
                       + folder);
}

void TVXLoadPipeline::DeleteFile(TVXDataAccessInterface *db, int fileID)
{
    // What referred to the file may find another object of the name.
    QList<int> referrers = VXLoadQueries::FilesReferringTo(db, fileID);
    referrers.removeAll(fileID);
    db->VXDeleteForFileID(fileID);
    db->Commit(false, true);
    VXLoadQueries::DeleteFileAndLinks(db, fileID);
    MarkForCheck(db, referrers);
}

void TVXLoadPipeline::CheckForChanges(TVXDataAccessInterface *db, QList<int> &queue)
{
    m_progress.FilesChecked(0, CheckedText, QString());
    TVXFields files(db, QStringLiteral("VXFILE"));
    const QList<TVXFileRow> rows
            = ReadFileRows(files, QStringLiteral("VXFileID >= 0 ORDER BY VXFileID"));
    int checked = 0;
    for (const TVXFileRow &row : rows) {
        m_progress.FilesChecked(++checked, CheckedText, QString());
        const QString path = row.Path();
        if (!QFileInfo::exists(path)) {
            DeleteFile(db, row.FileID);
            ++m_removed;
            m_progress.FilesRemoved(m_removed, path);
        } else if (row.LoadTime == 0 || row.DependencyChecked == QLatin1String("E")) {
            queue.append(row.FileID);
            // New, back or failed before: what refers to it may never have found it. A file
            // that merely changed keeps the links into it by name.
            if (row.DependencyChecked != QLatin1String("Y"))
                m_arriving.insert(row.FileID);
        }
        Process();
    }
    db->Commit(false, true);
    m_progress.FilesChecked(checked, CheckedText, QString());
}

// ---- Loading files ---------------------------------------------------------------------

void TVXLoadPipeline::MarkLoaded(TVXDataAccessInterface *db, int fileID, bool failed)
{
    TVXFields files(db, QStringLiteral("VXFILE"));
    if (files.Select(TVXCondition::Equals(QStringLiteral("VXFileID"), fileID))) {
        files.Set(QStringLiteral("VXLoadTime"), FileSystemTime(QDateTime::currentDateTime()));
        files.Set(QStringLiteral("VXDependencyChecked"),
                  failed ? QStringLiteral("E") : QStringLiteral("N"));
        if (!failed)
            m_bytesLoaded += files.Value(QStringLiteral("VXFileSize")).toLongLong();
    }
    ++m_loaded;
    if (failed)
        ++m_failed;
    else if (m_arriving.contains(fileID))
        m_arrived.append(fileID);
    m_progress.FilesLoaded(m_loaded, m_queueLength, m_truncatedRows);
    db->Commit(false, true);
    if (m_loaded % 200 == 0)
        db->CheckpointLog();
}

void TVXLoadPipeline::LoadQueue(TVXDataAccessInterface *db, const QList<int> &queue)
{
    // A load of most of the repository builds the search indexes once, after the words.
    struct SearchIndexes
    {
        TVXDataAccessInterface *Db = nullptr;
        ~SearchIndexes()
        {
            if (!Db)
                return;
            try {
                Db->RestoreSearchIndexes();
            } catch (const std::exception &) {
                // The next connection makes them again.
            }
        }
    } searchIndexes;
    const int inRepository = VXRepositoryQueries::RowCount(db, QStringLiteral("VXFILE"));
    if (queue.size() >= 50 && queue.size() * 2 >= inRepository) {
        db->SuspendSearchIndexes();
        searchIndexes.Db = db;
    }
    TVXLoadPhase parse(QStringLiteral("parse and store"));
    TVXFields files(db, QStringLiteral("VXFILE"));
    QSet<int> failedThisRun;
    auto fileRow = [&files](int id, bool pendingOnly, TVXFileRow &row) {
        TVXCondition condition = TVXCondition::Equals(QStringLiteral("VXFileID"), id);
        if (pendingOnly)
            condition.Then(QStringLiteral(" AND (VXLoadTime = 0 OR VXDependencyChecked = 'E')"));
        if (!files.Select(condition))
            return false;
        row = ReadFileRow(files);
        return true;
    };
    std::unique_ptr<TVXParseAhead> ahead = ParseAhead(queue);
    qsizetype planned = 0;
    auto planAhead = [&] {
        // A few hundred files at a time: the plan holds paths, and a portfolio has many.
        while (ahead && planned < queue.size() && ahead->Ahead() < 2 * ahead->Window()) {
            const QList<int> chunk = queue.mid(planned, 256);
            planned += chunk.size();
            QHash<int, TVXFileRow> rows;
            for (const QString &ids : FileIDLists(chunk))
                for (const TVXFileRow &row :
                     ReadFileRows(files, ids
                                                 + QStringLiteral(" AND (VXLoadTime = 0 OR "
                                                                  "VXDependencyChecked = 'E')")))
                    rows.insert(row.FileID, row);
            QList<TVXParseJob> jobs;
            for (const int id : chunk) {
                const auto row = rows.constFind(id);
                if (row != rows.cend() && row->FileSize <= TVXParseAhead::LargestFile
                    && !HoldsDirectoryObjects(row->LanguageID))
                    jobs.append({id, row->Path(), row->LanguageID, row->ApplicationID,
                                 row->ComputerID, row->SystemID, row->FileSize});
            }
            ahead->Add(jobs);
        }
    };
    for (const int id : queue) {
        planAhead();
        std::unique_ptr<TVXParsedFile> parsed;
        // Each round loads at least one include, so the rounds end; the cap guards a
        // repository that changes under the run.
        for (int round = 0; round < 10000; ++round) {
            TVXFileRow row;
            if (failedThisRun.contains(id) || !fileRow(id, true, row))
                break;
            m_trace.Write(QStringLiteral("Check LoadFile %1").arg(id));
            int loading = id;
            QString loadingPath = row.Path();
            bool again = false;
            try {
                if (ahead && round == 0)
                    parsed = ahead->Take({id, loadingPath, row.LanguageID, row.ApplicationID,
                                          row.ComputerID, row.SystemID});
                int include = parsed ? StoreParsed(*parsed, loadingPath, db) : -1;
                if (include < 0) {
                    parsed.reset();
                    include = LoadFile(loadingPath, id, row.SystemID, row.ComputerID,
                                       row.ApplicationID, row.LanguageID, db, false);
                }
                m_trace.Write(QStringLiteral("FileLoaded\t%1\t%2").arg(id).arg(loadingPath));
                if (include == 0) {
                    MarkLoaded(db, id, false);
                    break;
                }
                QStringList visited;
                while (include > 0) {
                    TVXFileRow first;
                    if (!fileRow(include, false, first))
                        break;
                    loading = include;
                    loadingPath = first.Path();
                    const int next
                            = LoadFile(loadingPath, include, first.SystemID, first.ComputerID,
                                       first.ApplicationID, first.LanguageID, db, false);
                    m_trace.Write(
                            QStringLiteral("FileLoaded_First\t%1\t%2").arg(id).arg(loadingPath));
                    if (next == 0) {
                        MarkLoaded(db, include, false);
                        break;
                    }
                    if (visited.contains(loadingPath)) {
                        // Files that include each other: this one goes in without its includes.
                        if (LoadFile(loadingPath, include, first.SystemID, first.ComputerID,
                                     first.ApplicationID, first.LanguageID, db, true)
                            != 0)
                            throw TVXException(
                                    QStringLiteral("Can not solve recursive includes in file: ")
                                    + loadingPath);
                        MarkLoaded(db, include, false);
                        break;
                    }
                    visited << loadingPath;
                    include = next;
                }
                again = true;
            } catch (const std::exception &e) {
                const QString message = VXMessage(e);
                MarkLoaded(db, loading, true);
                failedThisRun.insert(loading);
                m_progress.Error(message, loadingPath);
                m_progress.WriteError(QStringLiteral("LoadError: ") + message);
                m_progress.WriteError(QStringLiteral("  in file: ") + loadingPath);
                db->Commit(false, true);
                // A failed include leaves the file that asked for it to be tried again.
                again = loading != id;
            }
            Process();
            if (!again)
                break;
        }
    }
    if (ahead)
        TVXLoadPhase::Report(QStringLiteral("writer waiting for parsers"),
                             double(ahead->WaitedMilliseconds()) / 1e3);
    ahead.reset();
    parse.Stop();
    if (searchIndexes.Db) {
        TVXLoadPhase indexes(QStringLiteral("search indexes"));
        searchIndexes.Db = nullptr;
        db->RestoreSearchIndexes();
    }
}

std::unique_ptr<TVXParseAhead> TVXLoadPipeline::ParseAhead(const QList<int> &queue)
{
    const int threads = TVXParseAhead::ThreadCount();
    if (threads <= 0 || queue.size() < 2 || !m_services.NewLanguageDefinition)
        return nullptr;
    return std::make_unique<TVXParseAhead>(
            threads, [this](int languageID) -> std::unique_ptr<TVXLanguageDefinitionsInterface> {
                const int row = m_languages.FindFirst(QStringLiteral("VXLanguageID"), languageID);
                if (row < 0)
                    return nullptr;
                return std::unique_ptr<TVXLanguageDefinitionsInterface>(
                        m_services.NewLanguageDefinition(
                                m_languages.Text(row, QStringLiteral("VXLanguageName"))));
            });
}

int TVXLoadPipeline::StoreParsed(const TVXParsedFile &parsed, const QString &path,
                                 TVXDataAccessInterface *db)
{
    try {
        QString languageName;
        TVXLanguageDefinitionsInterface *definition = Definition(parsed.LanguageID, languageName);
        for (const QString &switchTo : parsed.SwitchToLanguages)
            ChangeLanguage(switchTo, definition);
    } catch (const std::exception &) {
        // Parsed here, the file fails at the row that asks for the language.
        return -1;
    }
    try {
        for (const QString &include : parsed.Includes) {
            const int first = IsFileLoaded(include, parsed.FileID, db);
            if (first > 0)
                return first;
        }
        // The worker's parse took every such search to find nothing.
        for (const TVXParsedFile::TVXLookup &lookup : parsed.Lookups) {
            int id = 0;
            if (TVXLanguageDefinitionsInterface::FindDeclarationInOtherFile(
                        *db, lookup.Identifier, lookup.ObjectID, parsed.FileID, id))
                return -1;
        }
        db->VXDeleteForFileID(parsed.FileID);
        parsed.Store(*db);
    } catch (const std::exception &e) {
        throw TVXException(QStringLiteral("TVXBaseFunctions.LoadFile: ") + VXMessage(e));
    }
    m_truncatedRows += parsed.TruncatedRows;
    if (parsed.TruncatedRows > 0)
        m_progress.WriteError(QStringLiteral("  %1 rows longer than 255 characters in %2")
                                      .arg(parsed.TruncatedRows)
                                      .arg(path));
    Process();
    return 0;
}

int TVXLoadPipeline::IsFileLoaded(const QString &name, int fileID, TVXDataAccessInterface *db)
{
    try {
        TVXFields files(db, QStringLiteral("VXFILE"));
        int result = 0;
        if (files.Select(TVXCondition::Equals(QStringLiteral("UPPER(VXFileName)"), name.toUpper())
                                 .Then(QStringLiteral(" ORDER BY VXFileID")))
            && files.Value(QStringLiteral("VXLoadTime")).toLongLong() == 0)
            result = files.Value(QStringLiteral("VXFileID")).toInt();
        files.Select(TVXCondition::Equals(QStringLiteral("VXFileID"), fileID));
        return result == fileID ? 0 : result;
    } catch (const std::exception &e) {
        throw TVXException(QStringLiteral("TVXBaseFunctions.IsFileLoaded: ") + VXMessage(e));
    }
}

int TVXLoadPipeline::LoadFile(const QString &path, int fileID, int system, int computer,
                              int application, int language, TVXDataAccessInterface *db,
                              bool ignoreIncludes)
{
    TVXLanguageDefinitionsInterface *definition = nullptr;
    // Until the definition holds this file, its words are another file's.
    bool parsing = false;
    int truncated = 0;
    try {
        QString languageName;
        definition = Definition(language, languageName);
        db->VXDeleteForFileID(fileID);
        TVXSourceReader reader(path);
        definition->InitializeForNewFile(db, path, fileID, application, computer, system);
        parsing = true;
        QString row;
        int rows = 0;
        while (reader.ReadRow(row)) {
            const TVXRowResult result = VXParseRow(*definition, row);
            if (result.Truncated) {
                ++m_truncatedRows;
                ++truncated;
            }
            for (const QString &switchTo : result.SwitchToLanguages)
                ChangeLanguage(switchTo, definition);
            if (!ignoreIncludes) {
                for (const QString &include : result.SectionNames) {
                    const int first = IsFileLoaded(include, fileID, db);
                    if (first > 0)
                        return first;
                }
            }
            // Pending window messages, without paying for them on every row.
            if (++rows % 64 == 0)
                Process();
        }
        definition->SaveToDB(true, true);
        if (truncated > 0)
            m_progress.WriteError(QStringLiteral("  %1 rows longer than 255 characters in %2")
                                          .arg(truncated)
                                          .arg(path));
        return 0;
    } catch (const std::exception &e) {
        QString message = VXMessage(e);
        if (definition && parsing) {
            try {
                message += QStringLiteral(" (words dumped to ") + definition->DumpAtError()
                           + QLatin1Char(')');
            } catch (const std::exception &) {
                // Without a dump the error itself is still reported.
            }
        }
        throw TVXException(QStringLiteral("TVXBaseFunctions.LoadFile: ") + message);
    }
}

// ---- Removing a folder -----------------------------------------------------------------

void TVXLoadPipeline::DeleteFilesInDB(const QString &database, const QString &folder)
{
    TVXDataAccessInterface *db = nullptr;
    TVXConnection connection;
    try {
        connection = TVXConnection(db = Connect(database));
        TVXFields files(db, QStringLiteral("VXFILE"));
        const QString prefix = QDir::cleanPath(folder);
        for (const TVXFileRow &row :
             ReadFileRows(files, QStringLiteral("VXFileID >= 0 ORDER BY VXFileID"))) {
            const QString directory = QDir::cleanPath(row.Directory);
            if (directory == prefix || directory.startsWith(prefix + QLatin1Char('/')))
                DeleteFile(db, row.FileID);
        }
        db->Commit(false, true);
        TVXFields attributes(db, QStringLiteral("VXATTRIBUTE"));
        QList<QPair<int, int>> unused;
        for (bool found = attributes.Select(QStringLiteral("VXAttributeType IN (%1, %2, %3)")
                                                    .arg(VXAttributeType::System)
                                                    .arg(VXAttributeType::Computer)
                                                    .arg(VXAttributeType::Application));
             found; found = attributes.Next()) {
            const int id = attributes.Value(QStringLiteral("VXAttributeID")).toInt();
            const int type = attributes.Value(QStringLiteral("VXAttributeType")).toInt();
            unused.append({id, type});
        }
        for (const auto &[id, type] : unused) {
            const char *column = type == VXAttributeType::System     ? "VXSystemID"
                                 : type == VXAttributeType::Computer ? "VXComputerID"
                                                                     : "VXApplicationID";
            if (!files.Select(QLatin1String(column) + QStringLiteral(" = ") + QString::number(id)))
                db->Delete(attributes.Table(),
                           QStringLiteral("VXAttributeID = ") + QString::number(id), false);
        }
        db->Commit(false, false);
        connection.Release();
    } catch (const std::exception &e) {
        connection = TVXConnection();
        throw TVXException(QStringLiteral("DeleteFilesInDB: ") + VXMessage(e));
    }
}
