// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing ahead of the writer: worker threads parse the files of a load queue into
// recordings while the one writer stores the files before them, in queue order. Each
// worker has its own language-definition objects, so nothing of a parse is shared; the
// writer decides for each recording whether it still holds (see TVXParsedFile) and parses
// the file itself when it does not, so the repository ends as a load on one thread leaves it.
#pragma once

#include "parsing/Parsedfile.h"

#include <QHash>
#include <QList>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

class TVXLanguageDefinitionsInterface;

struct TVXParseJob
{
    int FileID = 0;
    QString Path;
    int LanguageID = 0;
    int ApplicationID = 0;
    int ComputerID = 0;
    int SystemID = 0;
    qint64 Size = 0; // bytes of the source
};

class TVXParseAhead
{
public:
    // A new definition object of the language, owned by the caller; null when the
    // language cannot be parsed away from the writer.
    using TVXDefinitionFactory
            = std::function<std::unique_ptr<TVXLanguageDefinitionsInterface>(int languageID)>;

    TVXParseAhead(int threads, TVXDefinitionFactory factory);
    ~TVXParseAhead();
    TVXParseAhead(const TVXParseAhead &) = delete;
    TVXParseAhead &operator=(const TVXParseAhead &) = delete;

    // Plans more files, in queue order. On the writer's thread: the factory runs here for
    // each worker and new language.
    void Add(const QList<TVXParseJob> &jobs);
    // Planned files the writer has not reached yet; the writer keeps this above Window().
    qsizetype Ahead() const;
    qsizetype Window() const { return m_window; }

    // The recording of the file's job once its worker is done with it; null when the file
    // has no job, was passed already, or its parse failed (the writer parses it itself and
    // reports the failure where it happens). Jobs before it that were not taken are dropped.
    std::unique_ptr<TVXParsedFile> Take(const TVXParseJob &job);

    // Milliseconds the writer waited for recordings.
    qint64 WaitedMilliseconds() const { return m_waited; }

    // Larger files are parsed by the writer, which saves a file's words while it reads
    // them: a recording holds all of them until it is stored.
    static constexpr qint64 LargestFile = 8 << 20;

    // Worker threads for a load: VELUNOR_PARSE_THREADS when it is set (0 parses on the
    // writer alone), else one less than the processor's threads.
    static int ThreadCount();

private:
    struct TVXSlot
    {
        bool Done = false;
        std::unique_ptr<TVXParsedFile> Parsed;
    };
    void Work(int worker);
    // The writer is past the jobs before upTo. Under the lock.
    void PassTo(qsizetype upTo);
    static std::unique_ptr<TVXParsedFile> Parse(const TVXParseJob &job,
                                                TVXLanguageDefinitionsInterface &definition);

    TVXDefinitionFactory m_factory;
    // Jobs and their slots from m_first on; the ones the writer passed are let go.
    std::deque<TVXParseJob> m_jobs;
    std::deque<TVXSlot> m_slots;
    qsizetype m_first = 0;
    QHash<int, qsizetype> m_indexOf;
    // Per worker, by language id; null for a language that only the writer parses.
    std::vector<std::unordered_map<int, std::unique_ptr<TVXLanguageDefinitionsInterface>>>
            m_definitions;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    qsizetype m_claimed = 0; // the next job a worker takes
    qsizetype m_taken = 0;   // the writer's next job
    qsizetype m_window = 0;  // how far the workers may run ahead of the writer
    qint64 m_bytesAhead = 0; // of the jobs claimed that the writer has not reached
    bool m_stopping = false;
    qint64 m_waited = 0;
    std::vector<std::thread> m_threads;
};
