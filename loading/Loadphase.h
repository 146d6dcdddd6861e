// SPDX-License-Identifier: GPL-3.0-or-later
// A phase of a load with its wall-clock time, written to standard error when the
// environment variable VELUNOR_LOAD_TIMINGS is set: where a load's time goes, for the
// benchmarks and for whoever runs a load that takes too long.
#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

class TVXLoadPhase
{
public:
    explicit TVXLoadPhase(QString name)
        : m_name(std::move(name))
        , m_on(qEnvironmentVariableIsSet("VELUNOR_LOAD_TIMINGS"))
    {
        if (m_on)
            m_timer.start();
    }
    ~TVXLoadPhase() { Stop(); }
    TVXLoadPhase(const TVXLoadPhase &) = delete;
    TVXLoadPhase &operator=(const TVXLoadPhase &) = delete;

    // Ends the phase before its scope does.
    void Stop()
    {
        if (!m_on)
            return;
        m_on = false;
        std::fprintf(stderr, "load phase %s: %.3f s\n", qPrintable(m_name),
                     double(m_timer.nsecsElapsed()) / 1e9);
        std::fflush(stderr);
    }

    // A phase measured elsewhere (time summed over many short waits).
    static void Report(const QString &name, double seconds)
    {
        if (!qEnvironmentVariableIsSet("VELUNOR_LOAD_TIMINGS"))
            return;
        std::fprintf(stderr, "load phase %s: %.3f s\n", qPrintable(name), seconds);
        std::fflush(stderr);
    }

private:
    QString m_name;
    bool m_on;
    QElapsedTimer m_timer;
};
