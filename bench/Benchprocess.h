// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one of the product's programs as a process on a settings folder, as a user's
// script would, and reports a failure with its output.
#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>

inline int VXBenchRun(const QString &program, const QStringList &arguments, const QString &home,
                      QByteArray *output = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELUNOR_HOME"), home);
    environment.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(-1);
    const QByteArray text = process.readAll();
    if (output)
        *output = text;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        std::fprintf(stderr, "%s %s: exit %d\n%s\n", qPrintable(program),
                     qPrintable(arguments.join(QLatin1Char(' '))), process.exitCode(),
                     text.constData());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

#ifdef VELUNOR_SOURCE_DIR
// Starts the throwaway PostgreSQL cluster the tests use in folder; its port, or nothing
// when no server could be started.
inline QString VXBenchStartPostgres(const QString &folder)
{
    const QString script
            = QStringLiteral(VELUNOR_SOURCE_DIR "/tests/repository/postgres-cluster.sh");
    if (QProcess::execute(script, {QStringLiteral("start"), folder}) != 0)
        return {};
    QFile portFile(folder + QStringLiteral("/port"));
    if (!portFile.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(portFile.readAll()).trimmed();
}

inline void VXBenchStopPostgres(const QString &folder)
{
    QProcess::execute(QStringLiteral(VELUNOR_SOURCE_DIR "/tests/repository/postgres-cluster.sh"),
                      {QStringLiteral("stop"), folder});
}
#endif
