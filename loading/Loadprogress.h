// SPDX-License-Identifier: GPL-3.0-or-later
// What a load run reports: one line per phase, updated in place, and the load log
// "LoadLog.txt" in the settings folder, the history of every load. A window shows the
// lines when there is a display; an unattended load writes the same log without one.
#pragma once

#include "base/Export.h"

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QStringList>

class VXCORE_EXPORT TVXLoadProgress : public QObject
{
    Q_OBJECT
public:
    explicit TVXLoadProgress(QObject *owner = nullptr);
    ~TVXLoadProgress() override;

    void Initialize(const QString &database, bool fromFolders, bool fromRepositories,
                    const QString &fromDatabase);
    void ScriptRunned(int done, int count, const QString &script);
    void FilesChecked(int count, const QString &text, const QString &folder);
    void FilesAdded(int count, const QString &path);
    void FilesRemoved(int count, const QString &path);
    void FilesLoaded(int count, int total, int truncatedRows);
    void MiddleWareChecked(int done, int count);
    void FilesDependencyChecked(int done, int count);
    void Error(const QString &message, const QString &path);
    void WriteError(const QString &text);
    // A folder entry the scan leaves out (a link back into a folder already scanned, a
    // pipe, a link to nothing), with the reason; the final report counts them.
    void Skipped(const QString &path, const QString &reason);
    void Finish(int loaded, qint64 bytes, int objects, int rows);

    const QStringList &Lines() const { return m_lines; }
    // The run has finished: the window may be closed.
    bool Finished() const { return m_finished; }
    QString LogPath() const { return m_log.fileName(); }
    // What this run wrote into the load log; other runs may write into the same log.
    const QString &RunReport() const { return m_runReport; }

    // The duration text of the report: "HH:MM:SS", with "N days and " before it.
    static QString Duration(const QDateTime &from, const QDateTime &to);

Q_SIGNALS:
    void LinesChanged();
    void RunFinished();

private:
    void Add(const QString &line);
    void ReplaceLast(const QString &line);
    void ReplaceLastContaining(const QString &text, const QString &line);
    void Log(const QString &line);
    void LogRaw(const QString &text);
    // A phase line that was only shown so far is logged before the next phase takes over.
    void LogPending(const QStringList &phases);
    void Report(const QString &line);
    // A phase counted "i of n": its first line is added and logged, later ones replace it
    // and every tenth is logged.
    void CountedPhase(int done, int count, const QString &text, QDateTime *start);

    QDateTime m_start;
    QDateTime m_middlewareStart;
    QDateTime m_dependencyStart;
    QString m_foundSuffix;
    int m_lastChecked = -1;
    int m_added = 0;
    int m_removed = 0;
    int m_dependencyChecked = 0;
    int m_truncatedRows = 0;
    int m_skipped = 0;
    QString m_runReport;
    QStringList m_errors;
    QStringList m_lines;
    QFile m_log;
    bool m_finished = false;
};
