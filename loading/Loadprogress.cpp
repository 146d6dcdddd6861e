// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Loadprogress.h"

#include "base/Settings.h"

namespace {

const QString AddedText = QStringLiteral(" Files Added, see LoadLog.txt for more information");
const QString RemovedText = QStringLiteral(" Files Removed, see LoadLog.txt for more information");
const QString LoadedText = QStringLiteral(" Files Loaded");
const QString MiddlewareText = QStringLiteral(" MiddleWares Checked");
const QString DependencyText = QStringLiteral(" Files Checked for Dependencies");

QString Now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

TVXLoadProgress::TVXLoadProgress(QObject *owner)
    : QObject(owner)
{}

TVXLoadProgress::~TVXLoadProgress() = default;

QString TVXLoadProgress::Duration(const QDateTime &from, const QDateTime &to)
{
    const qint64 seconds = std::max<qint64>(0, from.secsTo(to));
    const qint64 days = seconds / 86400;
    const qint64 rest = seconds % 86400;
    const QString time = QStringLiteral("%1:%2:%3")
                                 .arg(rest / 3600, 2, 10, QLatin1Char('0'))
                                 .arg(rest / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(rest % 60, 2, 10, QLatin1Char('0'));
    return days > 0 ? QString::number(days) + QStringLiteral(" days and ") + time : time;
}

void TVXLoadProgress::Add(const QString &line)
{
    m_lines.append(line);
    Q_EMIT LinesChanged();
}

void TVXLoadProgress::ReplaceLast(const QString &line)
{
    if (m_lines.isEmpty())
        m_lines.append(line);
    else
        m_lines.last() = line;
    Q_EMIT LinesChanged();
}

void TVXLoadProgress::ReplaceLastContaining(const QString &text, const QString &line)
{
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        if (m_lines[i].contains(text)) {
            m_lines[i] = line;
            Q_EMIT LinesChanged();
            return;
        }
    }
    Add(line);
}

void TVXLoadProgress::LogRaw(const QString &text)
{
    m_runReport += text;
    m_runReport += QLatin1Char('\n');
    if (!m_log.isOpen())
        return;
    m_log.write(text.toUtf8());
    m_log.write("\n");
    m_log.flush();
}

void TVXLoadProgress::Log(const QString &line)
{
    LogRaw(Now() + QLatin1Char(' ') + line);
}

void TVXLoadProgress::LogPending(const QStringList &phases)
{
    if (m_lines.isEmpty())
        return;
    for (const QString &phase : phases)
        if (m_lines.last().contains(phase)) {
            Log(m_lines.last());
            return;
        }
}

void TVXLoadProgress::Report(const QString &line)
{
    Add(line);
    LogRaw(line);
}

void TVXLoadProgress::Initialize(const QString &database, bool fromFolders, bool fromRepositories,
                                 const QString &fromDatabase)
{
    m_start = QDateTime::currentDateTime();
    if (m_log.isOpen())
        m_log.close();
    m_log.setFileName(VXSettings::SettingsFolder() + QStringLiteral("LoadLog.txt"));
    // Append opens or creates; a log that cannot be written must not stop the load.
    if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        m_log.open(QIODevice::WriteOnly | QIODevice::Text);
    m_runReport.clear();
    LogRaw(QString());
    LogRaw(QString());
    m_runReport.clear();
    LogRaw(QStringLiteral("*** Load into Database '") + database + QStringLiteral("' started at ")
           + Now() + QStringLiteral(" ***"));
    m_foundSuffix.clear();
    m_lastChecked = -1;
    m_added = m_removed = m_dependencyChecked = m_truncatedRows = m_skipped = 0;
    m_errors.clear();
    m_lines.clear();
    m_finished = false;
    QString header;
    if (fromRepositories)
        header = QStringLiteral("Running Repository Scripts and Loading Sourcefiles from Folders:");
    else if (fromFolders)
        header = QStringLiteral("Loading Sourcefiles from Folders:");
    else if (!fromDatabase.isEmpty())
        header = QStringLiteral("Updating Source Database from ") + fromDatabase + QLatin1Char(':');
    if (!header.isEmpty()) {
        Add(header);
        Log(header);
    }
    Add(QString());
}

void TVXLoadProgress::ScriptRunned(int done, int count, const QString &script)
{
    const QString line
            = QStringLiteral("  %1 of %2 Repository Scripts Runned").arg(done).arg(count);
    if (done == 0)
        Add(line);
    else
        ReplaceLast(line);
    Log(QStringLiteral("Repository Script Runned: ") + script);
}

void TVXLoadProgress::FilesChecked(int count, const QString &text, const QString &folder)
{
    if (count == 0) {
        m_foundSuffix = folder.isEmpty() ? QString() : QStringLiteral(" in ") + folder;
        Add(QStringLiteral("  0 ") + text + m_foundSuffix);
    } else {
        ReplaceLastContaining(text, QStringLiteral("  %1 ").arg(count) + text + m_foundSuffix);
    }
    // A phase reports its final count twice.
    if (count == m_lastChecked)
        Log(m_lines.last());
    m_lastChecked = count;
}

void TVXLoadProgress::FilesAdded(int count, const QString &path)
{
    const QString line = QStringLiteral("  %1").arg(count) + AddedText;
    if (!m_lines.isEmpty() && m_lines.last().contains(QLatin1String("Files Added")))
        ReplaceLast(line);
    else
        Add(line);
    Log(QStringLiteral("Added file: ") + path);
    ++m_added;
}

void TVXLoadProgress::FilesRemoved(int count, const QString &path)
{
    const QString line = QStringLiteral("  %1").arg(count) + RemovedText;
    if (!m_lines.isEmpty() && m_lines.last().contains(QLatin1String("Files Removed")))
        ReplaceLast(line);
    else
        Add(line);
    Log(QStringLiteral("Removed file: ") + path);
    ++m_removed;
}

void TVXLoadProgress::CountedPhase(int done, int count, const QString &text, QDateTime *start)
{
    const QString line = QStringLiteral("  %1 of %2").arg(done).arg(count) + text;
    if (done == 0) {
        if (start)
            *start = QDateTime::currentDateTime();
        Add(line);
        Log(line);
    } else {
        ReplaceLast(line);
        if (done % 10 == 0)
            Log(line);
    }
}

void TVXLoadProgress::FilesLoaded(int count, int total, int truncatedRows)
{
    LogPending({QStringLiteral("Files Removed")});
    m_truncatedRows = truncatedRows;
    CountedPhase(count, total, LoadedText, nullptr);
}

void TVXLoadProgress::MiddleWareChecked(int done, int count)
{
    LogPending({QStringLiteral("Files Removed"), QStringLiteral("Files Loaded")});
    CountedPhase(done, count, MiddlewareText, &m_middlewareStart);
}

void TVXLoadProgress::FilesDependencyChecked(int done, int count)
{
    LogPending({QStringLiteral("MiddleWares Checked"), QStringLiteral("Files Removed"),
                QStringLiteral("Files Loaded")});
    m_dependencyChecked = done;
    CountedPhase(done, count, DependencyText, &m_dependencyStart);
}

void TVXLoadProgress::Error(const QString &message, const QString &path)
{
    m_errors << message + QStringLiteral(" for File: ") << path;
}

void TVXLoadProgress::WriteError(const QString &text)
{
    LogRaw(text);
}

void TVXLoadProgress::Skipped(const QString &path, const QString &reason)
{
    ++m_skipped;
    LogRaw(QStringLiteral("  Skipped ") + path + QStringLiteral(": ") + reason);
}

void TVXLoadProgress::Finish(int loaded, qint64 bytes, int objects, int rows)
{
    LogPending({QStringLiteral("Files Removed"), QStringLiteral("Files Loaded"),
                QStringLiteral("Files Checked for Dependencies")});
    const QDateTime now = QDateTime::currentDateTime();
    const bool loadedBytes = loaded > 0 && bytes > 0;
    if (!m_errors.isEmpty() || loadedBytes || m_dependencyChecked > 0 || m_removed > 0) {
        Report(QString());
        Report(QStringLiteral("*** Load Finished ***"));
        if (!m_errors.isEmpty()) {
            Report(QString());
            Report(QStringLiteral("Errors:"));
            Report(QStringLiteral("  %1 Files did not Load because of Errors, see LoadLog.txt for "
                                  "more information.")
                           .arg(m_errors.size() / 2));
            for (const QString &entry : std::as_const(m_errors))
                LogRaw(QStringLiteral("  ") + entry);
        }
        if (m_truncatedRows > 0 || m_skipped > 0) {
            Report(QString());
            Report(QStringLiteral("Warnings:"));
        }
        if (m_truncatedRows > 0) {
            Report(QStringLiteral("  %1 sourcerows is longer than 255 characters")
                           .arg(m_truncatedRows));
            Report(QStringLiteral("  The rows will be truncated when displayed,"));
            Report(QStringLiteral("  Querys and Dependencies will be OK."));
        }
        if (m_skipped > 0)
            Report(QStringLiteral("  %1 folder entries were skipped, see LoadLog.txt for the "
                                  "reasons.")
                           .arg(m_skipped));
        Report(QString());
        Report(QStringLiteral("Statistics:"));
        if (loadedBytes) {
            Report(QStringLiteral("  %1 Kbytes loaded in ").arg(bytes / 1000)
                   + Duration(m_start, now) + QStringLiteral(" time (HH:MM:SS)"));
            const QDateTime dependencyStart = m_dependencyStart.isValid() ? m_dependencyStart : now;
            Report(QStringLiteral("  of which DependencyCheck of %1 Files took ")
                           .arg(m_dependencyChecked)
                   + Duration(dependencyStart, now) + QStringLiteral(" time (HH:MM:SS)"));
            Report(QStringLiteral("  Avarage loaded FileSize is %1 KBytes")
                           .arg(bytes / loaded / 1000));
        } else if (m_removed > 0) {
            Report(QStringLiteral("  %1 Files Removed in ").arg(m_removed) + Duration(m_start, now)
                   + QStringLiteral(" time (HH:MM:SS)"));
        } else if (m_dependencyChecked > 0) {
            Report(QStringLiteral("  %1 Files DependencyChecked in ").arg(m_dependencyChecked)
                   + Duration(m_start, now) + QStringLiteral(" time (HH:MM:SS)"));
        }
        Report(QStringLiteral("  Database now holds %1 Programobjects").arg(objects));
        Report(QStringLiteral("  with a total of %1 Lines Of Code (LOC)").arg(rows));
        // An empty repository has no average; the division must not fail the report.
        Report(QStringLiteral("  Objects has in avarage %1 Lines Of Code (LOC)")
                       .arg(objects > 0 ? rows / objects : 0));
    } else {
        Report(QStringLiteral("*** No changes to Load ***"));
    }
    Log(QStringLiteral("*** Load Finished at ") + Now() + QStringLiteral(" ***"));
    m_finished = true;
    Q_EMIT RunFinished();
}
