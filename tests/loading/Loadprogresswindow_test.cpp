// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window follows the report and can be closed only when the run is over.
#include "Testsupport.h"

#include "loading/Loadprogress.h"
#include "loading/Loadprogresswindow.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(LoadProgressWindow, ShowsTheLinesAndClosesAfterFinish)
{
    VXTest::Home home;
    auto *progress = new TVXLoadProgress;
    QPointer<TVXLoadProgressWindow> window = new TVXLoadProgressWindow(*progress);
    progress->setParent(window);
    QPointer<TVXLoadProgress> report = progress;
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("LoadProgress"));
    progress->Initialize(QStringLiteral("Sales"), true, false, QString());
    progress->FilesLoaded(0, 3, 0);
    progress->FilesLoaded(1, 3, 0);
    EXPECT_EQ(window->Lines()->item(window->Lines()->count() - 1)->text(),
              QStringLiteral("  1 of 3 Files Loaded"));
    EXPECT_TRUE(window->Lines()->font().bold());
    EXPECT_FALSE(window->CloseButton()->isEnabled());
    progress->Finish(1, 5000, 1, 100);
    EXPECT_TRUE(window->CloseButton()->isEnabled());
    QTest::mouseClick(window->CloseButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(report.isNull());
}

// A load started where there is a display shows its progress window, which the user may
// close once the run is over.
TEST(LoadProgressWindow, LoadRunShowsItsWindow)
{
    VXTest::Home home;
    VXTest::PackageFolder packages(
            {QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0520.so")});
    VXTest::Session session(packages.Path());
    const QString database = session.Service().Configuration().DatabasesTable().Text(
            0, QStringLiteral("VX_DBNAME"));
    session.Service().LoadDB(database, true, false, QString(), QString());
    TVXLoadProgressWindow *window = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<TVXLoadProgressWindow *>(widget))
            window = found;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->CloseButton()->isEnabled());
    ASSERT_GT(window->Lines()->count(), 0);
    EXPECT_EQ(window->Lines()->item(window->Lines()->count() - 1)->text(),
              QStringLiteral("*** No changes to Load ***"));
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
