// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Parseahead.h"

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Rowloop.h"
#include "parsing/Sourcereader.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace {
// Recordings ahead of the writer, per worker: enough to keep a worker busy while the
// writer stores a large file, few enough that memory follows the largest files and not
// the portfolio.
constexpr qsizetype WindowPerWorker = 16;
// Source bytes the workers may hold parsed ahead of the writer: a recording takes some ten
// times its file's size.
constexpr qint64 BytesAhead = 16 << 20;
} // namespace

int TVXParseAhead::ThreadCount()
{
    bool set = false;
    const int configured = qEnvironmentVariableIntValue("VELUNOR_PARSE_THREADS", &set);
    if (set)
        return std::clamp(configured, 0, 64);
    return std::max(0, QThread::idealThreadCount() - 1);
}

TVXParseAhead::TVXParseAhead(int threads, TVXDefinitionFactory factory)
    : m_factory(std::move(factory))
    , m_definitions(size_t(std::max(0, threads)))
    , m_window(WindowPerWorker * std::max(0, threads))
{
    for (int worker = 0; worker < int(m_definitions.size()); ++worker)
        m_threads.emplace_back([this, worker] { Work(worker); });
}

TVXParseAhead::~TVXParseAhead()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

void TVXParseAhead::Add(const QList<TVXParseJob> &jobs)
{
    // New definitions are made before the lock: a worker only looks at its own map under
    // the lock, and a definition's construction reads its tables from disk.
    struct TVXMade
    {
        size_t Worker = 0;
        int LanguageID = 0;
        std::unique_ptr<TVXLanguageDefinitionsInterface> Definition;
    };
    std::vector<TVXMade> made;
    {
        QList<int> known;
        {
            std::lock_guard lock(m_mutex);
            if (!m_definitions.empty())
                for (const auto &entry : m_definitions.front())
                    known.append(entry.first);
        }
        for (const TVXParseJob &job : jobs) {
            if (known.contains(job.LanguageID))
                continue;
            known.append(job.LanguageID);
            for (size_t worker = 0; worker < m_definitions.size(); ++worker)
                made.push_back(
                        {worker, job.LanguageID, m_factory ? m_factory(job.LanguageID) : nullptr});
        }
    }
    {
        std::lock_guard lock(m_mutex);
        for (TVXMade &definition : made)
            m_definitions[definition.Worker].emplace(definition.LanguageID,
                                                     std::move(definition.Definition));
        for (const TVXParseJob &job : jobs) {
            m_indexOf.insert(job.FileID, m_first + qsizetype(m_jobs.size()));
            m_jobs.push_back(job);
            m_slots.emplace_back();
        }
    }
    m_changed.notify_all();
}

qsizetype TVXParseAhead::Ahead() const
{
    std::lock_guard lock(m_mutex);
    return m_first + qsizetype(m_jobs.size()) - m_taken;
}

void TVXParseAhead::Work(int worker)
{
    auto &definitions = m_definitions[size_t(worker)];
    for (;;) {
        TVXParseJob job;
        TVXLanguageDefinitionsInterface *definition = nullptr;
        qsizetype index = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] {
                const qsizetype next = std::max(m_claimed, m_taken);
                return m_stopping
                       || (next < m_first + qsizetype(m_jobs.size()) && next < m_taken + m_window
                           && (m_bytesAhead < BytesAhead || next == m_taken));
            });
            if (m_stopping)
                return;
            // Jobs the writer went past while they waited are not parsed.
            m_claimed = std::max(m_claimed, m_taken);
            if (m_claimed >= m_first + qsizetype(m_jobs.size()))
                continue;
            index = m_claimed++;
            job = m_jobs[size_t(index - m_first)];
            m_bytesAhead += job.Size;
            const auto found = definitions.find(job.LanguageID);
            if (found != definitions.end())
                definition = found->second.get();
        }
        std::unique_ptr<TVXParsedFile> parsed;
        if (definition)
            parsed = Parse(job, *definition);
        {
            std::lock_guard lock(m_mutex);
            if (index >= m_taken) {
                TVXSlot &slot = m_slots[size_t(index - m_first)];
                slot.Done = true;
                slot.Parsed = std::move(parsed);
            }
        }
        m_changed.notify_all();
    }
}

std::unique_ptr<TVXParsedFile> TVXParseAhead::Parse(const TVXParseJob &job,
                                                    TVXLanguageDefinitionsInterface &definition)
{
    try {
        auto parsed = std::make_unique<TVXParsedFile>();
        TVXSourceReader reader(job.Path);
        definition.InitializeForRecording(*parsed, job.Path, job.FileID, job.ApplicationID,
                                          job.ComputerID, job.SystemID);
        QString row;
        while (reader.ReadRow(row)) {
            TVXRowResult result = VXParseRow(definition, row);
            if (result.Truncated)
                ++parsed->TruncatedRows;
            parsed->SwitchToLanguages += result.SwitchToLanguages;
            parsed->Includes += result.SectionNames;
        }
        definition.SaveToDB(true, true);
        return parsed;
    } catch (...) {
        // The writer parses the file again and reports what went wrong, with its dump.
        return nullptr;
    }
}

void TVXParseAhead::PassTo(qsizetype upTo)
{
    for (qsizetype passed = m_taken; passed < std::min(upTo, m_claimed); ++passed)
        m_bytesAhead -= m_jobs[size_t(passed - m_first)].Size;
    m_taken = std::max(m_taken, upTo);
}

std::unique_ptr<TVXParsedFile> TVXParseAhead::Take(const TVXParseJob &job)
{
    std::unique_lock lock(m_mutex);
    const auto found = m_indexOf.constFind(job.FileID);
    if (found == m_indexOf.cend() || *found < m_taken)
        return nullptr;
    const qsizetype index = *found;
    PassTo(index);
    // The writer's wait wakes the workers: the jobs it passed free their places.
    m_changed.notify_all();
    std::unique_ptr<TVXParsedFile> parsed;
    if (!m_threads.empty()) {
        QElapsedTimer waiting;
        waiting.start();
        m_changed.wait(lock, [&] { return m_slots[size_t(index - m_first)].Done; });
        m_waited += waiting.elapsed();
        parsed = std::move(m_slots[size_t(index - m_first)].Parsed);
    }
    const TVXParseJob planned = m_jobs[size_t(index - m_first)];
    PassTo(index + 1);
    while (m_first < m_taken && !m_jobs.empty()) {
        m_indexOf.remove(m_jobs.front().FileID);
        m_jobs.pop_front();
        m_slots.pop_front();
        ++m_first;
    }
    lock.unlock();
    m_changed.notify_all();
    // The file row changed since the job was planned: the recording is of another file.
    if (planned.Path != job.Path || planned.LanguageID != job.LanguageID
        || planned.ApplicationID != job.ApplicationID || planned.ComputerID != job.ComputerID
        || planned.SystemID != job.SystemID)
        return nullptr;
    return parsed;
}
