// SPDX-License-Identifier: GPL-3.0-or-later
// The progress lines and the load log they leave behind.
#include "Testsupport.h"

#include "loading/Loadprogress.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// The log's lines without their date-time prefix.
QStringList LogLines(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QStringList lines;
    for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.size() > 20 && line[4] == QLatin1Char('-') && line[13] == QLatin1Char(':'))
            line = line.mid(20);
        lines << line;
    }
    return lines;
}

TEST(LoadProgress, NothingToDoEndsWithNoChanges)
{
    VXTest::Home home;
    TVXLoadProgress progress;
    progress.Initialize(QStringLiteral("Sales"), true, false, QString());
    EXPECT_EQ(progress.Lines().first(), QStringLiteral("Loading Sourcefiles from Folders:"));
    progress.FilesChecked(0, QStringLiteral("Files found"), QStringLiteral("/src"));
    progress.FilesChecked(3, QStringLiteral("Files found"), QString());
    progress.FilesChecked(3, QStringLiteral("Files found"), QString());
    progress.FilesLoaded(0, 0, 0);
    EXPECT_FALSE(progress.Finished());
    progress.Finish(0, 0, 0, 0);
    EXPECT_TRUE(progress.Finished());
    EXPECT_EQ(progress.Lines().last(), QStringLiteral("*** No changes to Load ***"));
    const QStringList log = LogLines(home.File(QStringLiteral("LoadLog.txt")));
    EXPECT_TRUE(log.contains(QStringLiteral("  3 Files found in /src")));
    EXPECT_TRUE(log.contains(QStringLiteral("*** No changes to Load ***")));
    EXPECT_TRUE(log.filter(QStringLiteral("*** Load Finished at ")).size() == 1);
    EXPECT_TRUE(log.filter(QStringLiteral("*** Load into Database 'Sales' started at ")).size()
                == 1);
}

TEST(LoadProgress, LoadedLinesAreLoggedEveryTenAndWhenThePhaseEnds)
{
    VXTest::Home home;
    TVXLoadProgress progress;
    progress.Initialize(QStringLiteral("Sales"), true, true, QString());
    progress.FilesLoaded(0, 25, 0);
    for (int i = 1; i <= 25; ++i)
        progress.FilesLoaded(i, 25, 2);
    progress.FilesDependencyChecked(0, 25);
    progress.FilesDependencyChecked(25, 25);
    progress.Error(QStringLiteral("the source file is binary"), QStringLiteral("/src/BAD.cbl"));
    progress.Finish(25, 250000, 40, 9000);
    const QStringList log = LogLines(home.File(QStringLiteral("LoadLog.txt")));
    EXPECT_EQ(log.filter(QStringLiteral("Files Loaded")),
              (QStringList{QStringLiteral("  0 of 25 Files Loaded"),
                           QStringLiteral("  10 of 25 Files Loaded"),
                           QStringLiteral("  20 of 25 Files Loaded"),
                           QStringLiteral("  25 of 25 Files Loaded")}));
    EXPECT_TRUE(log.contains(QStringLiteral(
            "  1 Files did not Load because of Errors, see LoadLog.txt for more information.")));
    EXPECT_TRUE(log.contains(QStringLiteral("  the source file is binary for File: ")));
    EXPECT_TRUE(log.contains(QStringLiteral("  /src/BAD.cbl")));
    EXPECT_TRUE(log.contains(QStringLiteral("  2 sourcerows is longer than 255 characters")));
    EXPECT_TRUE(log.contains(QStringLiteral("  Avarage loaded FileSize is 10 KBytes")));
    EXPECT_TRUE(log.contains(QStringLiteral("  Database now holds 40 Programobjects")));
    EXPECT_TRUE(log.contains(QStringLiteral("  Objects has in avarage 225 Lines Of Code (LOC)")));
    EXPECT_TRUE(progress.Lines().contains(QStringLiteral("Statistics:")));
}

TEST(LoadProgress, EmptyRepositoryReportHasNoDivisionByZero)
{
    VXTest::Home home;
    TVXLoadProgress progress;
    progress.Initialize(QStringLiteral("Sales"), true, false, QString());
    progress.FilesRemoved(1, QStringLiteral("/src/OLD.cbl"));
    progress.Finish(0, 0, 0, 0);
    EXPECT_TRUE(progress.Lines().contains(
            QStringLiteral("  Objects has in avarage 0 Lines Of Code (LOC)")));
    EXPECT_FALSE(progress.Lines().filter(QStringLiteral("1 Files Removed in ")).isEmpty());
}

TEST(LoadProgress, LogIsAppendedAcrossRunsAndDurationsCountDays)
{
    VXTest::Home home;
    for (int run = 0; run < 2; ++run) {
        TVXLoadProgress progress;
        progress.Initialize(QStringLiteral("Sales"), false, false, QStringLiteral("Other"));
        progress.Finish(0, 0, 0, 0);
    }
    const QStringList log = LogLines(home.File(QStringLiteral("LoadLog.txt")));
    EXPECT_EQ(log.filter(QStringLiteral("Updating Source Database from Other:")).size(), 2);
    const QDateTime start(QDate(2026, 1, 1), QTime(8, 0, 0));
    EXPECT_EQ(TVXLoadProgress::Duration(start, start.addSecs(3725)), QStringLiteral("01:02:05"));
    EXPECT_EQ(TVXLoadProgress::Duration(start, start.addSecs(2 * 86400 + 61)),
              QStringLiteral("2 days and 00:01:01"));
}

} // namespace
