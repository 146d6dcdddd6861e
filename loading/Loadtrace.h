// SPDX-License-Identifier: GPL-3.0-or-later
// The load debug log (VN_Load_Debug.txt, open only when VN.ini asks for it): each line
// starts with the milliseconds since the previous one.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>

class TVXLoadTrace
{
public:
    explicit TVXLoadTrace(QFile *log = nullptr)
        : m_log(log)
    {
        m_timer.start();
    }
    bool IsOpen() const { return m_log != nullptr; }
    void Write(const QString &text)
    {
        if (!m_log)
            return;
        m_log->write(
                (QString::number(m_timer.restart()) + QLatin1Char('\t') + text + QLatin1Char('\n'))
                        .toUtf8());
        m_log->flush();
    }

private:
    QFile *m_log;
    QElapsedTimer m_timer;
};
