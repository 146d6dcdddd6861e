// SPDX-License-Identifier: GPL-3.0-or-later
// One load run: bring a repository up to date with the sources on disk. Runs the
// repository scripts, scans the folders, removes vanished files, parses new, changed and
// failed files (includes first) and hands over to the dependency resolution. Every unit of
// work is committed at once, so an interrupted run loses nothing and the next run goes on.
#pragma once

#include "base/Export.h"

#include "loading/Loadtrace.h"
#include "repository/Loadqueries.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>

class QFile;
class QObject;
class TVXConfigTable;
class TVXDataAccessInterface;
class TVXLanguageDefinitionsInterface;
class TVXLoadProgress;
class TVXParseAhead;
struct TVXParsedFile;

// Extension (with its point, or "." for names without one) to language number, sorted and
// found without regard to case.
using TVXLanguageTable = QList<QPair<QString, int>>;

// How a load run ended, as the program and velunor-cli exit with it.
namespace VXLoadStatus {
inline constexpr int Finished = 0;
// The run stopped (a connection, a full disk, an error outside one file's load).
inline constexpr int Interrupted = 1;
// The run finished, but some files did not load (state "E").
inline constexpr int FilesFailed = 3;
} // namespace VXLoadStatus

class VXCORE_EXPORT TVXLoadPipeline
{
public:
    struct TVXServices
    {
        // The service object's function lookup: drivers ("InMemoryDB") and language
        // definitions ("LangDef_IBMCOB").
        std::function<QObject *(const QString &name, const QString &database)> GetFunction;
        // A new language-definition object of the language ("IBMCOB"), owned by the
        // caller, for a worker thread; null, or no function, parses on the writer alone.
        std::function<TVXLanguageDefinitionsInterface *(const QString &languageName)>
                NewLanguageDefinition;
        // A Yes/No question to the user; unattended runs answer No.
        std::function<bool(const QString &question)> Ask;
        // Keeps the user interface alive between units of work.
        std::function<void()> ProcessEvents;
        // Called at the end of a run that loaded files, to refresh open windows.
        std::function<void(TVXDataAccessInterface *)> RefreshWindows;
        // The dependency resolution of the loaded files; none yet.
        std::function<void(const QString &database, TVXDataAccessInterface *, TVXLoadProgress &)>
                UpdateDependencies;
        // Written to the databases table after VX_DBLASTLOADED changed.
        std::function<void()> SaveDatabases;
        QFile *LoadDebug = nullptr;
    };

    TVXLoadPipeline(TVXConfigTable &databases, TVXConfigTable &languages, TVXServices services,
                    TVXLoadProgress &progress);

    void LoadDB(const QString &database, bool fromFolders, bool fromRepositories,
                const QString &fromDatabase, const QString &options);
    void DeleteFilesInDB(const QString &database, const QString &folder);

    static void PopulateLanguageList(int languageID, const QString &extensions,
                                     TVXLanguageTable &table);
    // The language of a file name, or 0.
    static int LanguageOf(const TVXLanguageTable &table, const QString &fileName);
    // The time stamps the repository keeps: seconds since 1970 (UTC).
    static qint64 FileSystemTime(const QDateTime &time);

    // Counters of the last run, for callers and tests.
    int FilesLoaded() const { return m_loaded; }
    // Loaded, but their parse failed (state "E").
    int FilesFailed() const { return m_failed; }
    int FilesNew() const { return m_newFiles; }
    int FilesRemoved() const { return m_removed; }
    int TruncatedRows() const { return m_truncatedRows; }

private:
    TVXDataAccessInterface *Connect(const QString &database);
    void BuildLanguageTable();
    void RunScripts(TVXDataAccessInterface *db);
    void ScanFolders(TVXDataAccessInterface *db);
    int Attribute(TVXDataAccessInterface *db, int type, const QString &name, int icon);
    int PopulateVXFileTable(int system, int computer, int application, const QString &folder,
                            TVXDataAccessInterface *db, int filesBefore, int found);
    void CheckForChanges(TVXDataAccessInterface *db, QList<int> &queue);
    void DeleteFile(TVXDataAccessInterface *db, int fileID);
    void LoadQueue(TVXDataAccessInterface *db, const QList<int> &queue);
    // 0 when the file was parsed, else the id of an include that must be loaded first.
    int LoadFile(const QString &path, int fileID, int system, int computer, int application,
                 int language, TVXDataAccessInterface *db, bool ignoreIncludes);
    // Stores a file that a worker parsed: 0 when it was stored, the id of an include that
    // must be loaded first, or -1 when the recording no longer holds and the file must be
    // parsed here.
    int StoreParsed(const TVXParsedFile &parsed, const QString &path, TVXDataAccessInterface *db);
    // Workers for the files of the queue, or null when they would not pay.
    std::unique_ptr<TVXParseAhead> ParseAhead(const QList<int> &queue);
    int IsFileLoaded(const QString &name, int fileID, TVXDataAccessInterface *db);
    void ChangeLanguage(const QString &name, TVXLanguageDefinitionsInterface *current);
    TVXLanguageDefinitionsInterface *Definition(int languageID, QString &languageName);
    // Whether the language's objects are folders (test scripts): its files of one folder
    // are parsed again together.
    bool HoldsDirectoryObjects(int languageID);
    void MarkLoaded(TVXDataAccessInterface *db, int fileID, bool failed);
    // The files whose referring words name an object or entry of these files are checked
    // again: a file that was added, came back or recovered may be what they refer to.
    void RecheckReferrers(TVXDataAccessInterface *db, const QList<int> &fileIDs);
    void MarkForCheck(TVXDataAccessInterface *db, const QList<int> &fileIDs);
    // "VXFileID IN (...)" conditions over the ids, a bounded number each.
    static QStringList FileIDLists(const QList<int> &fileIDs);
    // A configured folder without files whose files the repository holds: asks, and fails
    // naming the folder unless the removal is confirmed.
    void ConfirmEmptyFolder(TVXDataAccessInterface *db, const QString &folder);
    void Process();

    TVXConfigTable &m_databases;
    TVXConfigTable &m_languages;
    TVXServices m_services;
    TVXLoadProgress &m_progress;
    TVXLanguageTable m_languageTable;
    TVXLoadTrace m_trace;
    int m_loaded = 0;
    int m_failed = 0;
    int m_newFiles = 0;
    QHash<int, bool> m_directoryObjects;
    int m_removed = 0;
    int m_truncatedRows = 0;
    qint64 m_bytesLoaded = 0;
    int m_queueLength = 0;
    // How long a load waits for another load of the same repository to end.
    // Milliseconds a load waits for another load of the same repository to end:
    // VELUNOR_LOAD_WAIT seconds, 10 when it is not set.
    static int LockWait();
    QSet<int> m_arriving;           // new, come back or failed before this run
    QList<int> m_arrived;           // those of them that loaded
    QSet<QString> m_scannedFolders; // real paths, per configured folder
    // The file rows as the scan began, by folder and name.
    QHash<QString, VXLoadQueries::TVXStoredFile> m_storedFiles;
};
