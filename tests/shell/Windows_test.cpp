// SPDX-License-Identifier: GPL-3.0-or-later
// Document windows: names, Window menus, shortcuts, fonts, closing.
#include "Testsupport.h"

#include "repository/Dataaccessinterface.h"
#include "shell/Windowchange.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace VXTest;

namespace {

const QStringList WindowPackages = {QStringLiteral("vxlib1000.so=fx_windows.so"),
                                    QStringLiteral("vxlib0200.so=fx_driver_inmemory.so")};

QStringList Captions(TVXFormInterface *window)
{
    QStringList captions;
    for (QAction *item : window->WindowMenu()->actions())
        captions << item->text();
    return captions;
}

QStringList ItemNames(TVXFormInterface *window)
{
    QStringList names;
    for (QAction *item : window->WindowMenu()->actions())
        names << item->objectName();
    return names;
}

TVXFormInterface *Window(TVXBaseFunctions &service, int index)
{
    return service.WindowList().at(index).Window;
}

QStringList MenuCaptions(QMenu *menu)
{
    QStringList captions;
    for (QAction *action : menu->actions())
        if (!action->isSeparator())
            captions << action->text();
    return captions;
}

QMenu *TopMenu(TVXFormInterface *window, const QString &caption)
{
    for (QAction *action : window->menuBar()->actions())
        if (action->text() == caption)
            return action->menu();
    return nullptr;
}

} // namespace

TEST(Windows, NamesSerialsAndWindowMenusStayInStep)
{
    Home home;
    PackageFolder folder(WindowPackages);
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(
                service.NewWindow(QStringLiteral("View"), {}, QStringLiteral("Prod"), nullptr, {}),
                QString());
    TVXFormInterface *first = Window(service, 0);
    TVXFormInterface *second = Window(service, 1);
    TVXFormInterface *third = Window(service, 2);
    EXPECT_EQ(first->pos(), QPoint(40, 40));
    EXPECT_EQ(second->pos(), QPoint(60, 60));
    EXPECT_EQ(third->windowTitle(), QStringLiteral("Velunor - View [3] on Prod"));
    EXPECT_EQ(third->property("refreshCount").toInt(), 1);
    for (TVXFormInterface *window : {first, second, third})
        EXPECT_EQ(Captions(window),
                  (QStringList{QStringLiteral("View [1]"), QStringLiteral("View [2]"),
                               QStringLiteral("View [3]")}));
    EXPECT_EQ(ItemNames(first).at(2), QStringLiteral("IP") + third->Identifier());

    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(service.WindowList().size(), 2);
    EXPECT_EQ(service.WindowList().at(0).Name, QStringLiteral("View [1]"));
    EXPECT_EQ(service.WindowList().at(1).Name, QStringLiteral("View [3]"));
    for (TVXFormInterface *window : {first, third})
        EXPECT_EQ(Captions(window),
                  (QStringList{QStringLiteral("View [1]"), QStringLiteral("View [3]")}));

    // The serial counts the windows of that function: two are left, so the next is 3 again.
    service.NewWindow(QStringLiteral("View"), {}, QStringLiteral("Prod"), nullptr, {});
    service.NewWindow(QStringLiteral("Query"), {}, QStringLiteral("Prod"), nullptr, {});
    EXPECT_EQ(service.WindowList().at(2).Name, QStringLiteral("View [3]"));
    EXPECT_EQ(service.WindowList().at(3).Name, QStringLiteral("Query [1]"));
    EXPECT_EQ(Captions(Window(service, 3)).size(), 4);

    service.WindowNameChanged(first, QStringLiteral("Customers"));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Captions(Window(service, i)).first(), QStringLiteral("Customers"));
    EXPECT_EQ(service.WindowList().at(0).Name, QStringLiteral("Customers"));
    EXPECT_EQ(session.ExitRequests, 0);
}

TEST(Windows, CtrlTabShowsTheNextWindowAndCtrlReleaseSwitchesToIt)
{
    Home home;
    PackageFolder folder(WindowPackages);
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    service.NewWindow(QStringLiteral("View"), {}, QStringLiteral("Prod"), nullptr, {});
    {
        // A single window: the switcher shows its own name.
        TVXWindowChange alone(Window(service, 0), &service);
        EXPECT_EQ(alone.windowTitle(), QStringLiteral("Change Window"));
        EXPECT_EQ(alone.Shown(), QStringLiteral("View [1]"));
    }
    service.NewWindow(QStringLiteral("View"), {}, QStringLiteral("Prod"), nullptr, {});
    service.NewWindow(QStringLiteral("View"), {}, QStringLiteral("Prod"), nullptr, {});
    TVXWindowChange change(Window(service, 2), &service);
    // After the last window comes the first again; Tab with Ctrl held goes on.
    EXPECT_EQ(change.Shown(), QStringLiteral("View [1]"));
    QTest::keyClick(&change, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(change.Shown(), QStringLiteral("View [2]"));
    change.show();
    QTest::keyRelease(&change, Qt::Key_Control);
    EXPECT_EQ(change.result(), QDialog::Accepted);
    EXPECT_FALSE(change.isVisible());
}

TEST(Windows, ClosingTheLastWindowEndsTheApplication)
{
    Home home;
    PackageFolder folder(WindowPackages);
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    service.NewWindow(QStringLiteral("View"), {}, {}, nullptr, {});
    service.NewWindow(QStringLiteral("Query"), {}, {}, nullptr, {});
    Window(service, 1)->close();
    EXPECT_EQ(session.ExitRequests, 0);
    Window(service, 0)->close();
    EXPECT_EQ(session.ExitRequests, 1);
    EXPECT_TRUE(service.WindowList().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(Windows, ActivateWindowByMenuItem)
{
    Home home;
    PackageFolder folder(WindowPackages);
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    service.NewWindow(QStringLiteral("View"), {}, {}, nullptr, {});
    service.NewWindow(QStringLiteral("View"), {}, {}, nullptr, {});
    TVXFormInterface *first = Window(service, 0);
    first->showMinimized();
    QAction *item = Window(service, 1)->WindowMenu()->actions().at(0);
    item->trigger();
    EXPECT_FALSE(first->isMinimized());
    EXPECT_TRUE(first->isVisible());
}

TEST(Windows, MenusShortcutsAndSave)
{
    Home home;
    PackageFolder folder(WindowPackages);
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    service.NewWindow(QStringLiteral("View"), {}, {}, nullptr, {});
    service.NewWindow(QStringLiteral("View"), home.File(QStringLiteral("a.vnv")), {}, nullptr, {});
    TVXFormInterface *plain = Window(service, 0);
    TVXFormInterface *withDocument = Window(service, 1);

    QStringList tops;
    for (QAction *action : plain->menuBar()->actions())
        tops << action->text();
    EXPECT_EQ(tops,
              (QStringList{QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("Tools"),
                           QStringLiteral("Window"), QStringLiteral("Help")}));
    QMenu *file = TopMenu(plain, QStringLiteral("File"));
    EXPECT_EQ(MenuCaptions(file),
              (QStringList{QStringLiteral("New"), QStringLiteral("Open..."), QStringLiteral("Save"),
                           QStringLiteral("Save As..."), QStringLiteral("Properties..."),
                           QStringLiteral("Print Setup..."), QStringLiteral("Print..."),
                           QStringLiteral("Close"), QStringLiteral("Exit")}));
    auto save = [](TVXFormInterface *window) {
        return TopMenu(window, QStringLiteral("File"))->actions().at(2);
    };
    EXPECT_FALSE(save(plain)->isEnabled());
    EXPECT_TRUE(save(withDocument)->isEnabled());
    QMenu *edit = TopMenu(plain, QStringLiteral("Edit"));
    EXPECT_FALSE(edit->actions().at(0)->isEnabled()) << "Cut";
    EXPECT_FALSE(edit->actions().at(2)->isEnabled()) << "Paste";
    EXPECT_EQ(edit->actions().at(5)->text(), QStringLiteral("Find (in this Window)...     Ctrl+F"));
    EXPECT_EQ(MenuCaptions(TopMenu(plain, QStringLiteral("Help"))),
              (QStringList{QStringLiteral("Velunor Manual"), QStringLiteral("Velunor User Guide"),
                           QStringLiteral("About...")}));

    plain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(plain));
    EXPECT_FALSE(plain->ExtendedMode);
    QTest::keyClick(plain, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(plain->ExtendedMode);
    QTest::keyClick(plain, Qt::Key_D, Qt::ControlModifier);
    EXPECT_FALSE(plain->ExtendedMode) << "Ctrl+D twice leaves the mode as it was";
    QTest::keyClick(plain, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(plain->property("selectAllCount").toInt(), 1);
    EXPECT_EQ(service.CurrentWindow(), plain) << "activation makes a window current";
}

TEST(Windows, FontChangeReachesEveryWindow)
{
    Home home;
    PackageFolder folder(WindowPackages);
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    service.NewWindow(QStringLiteral("View"), {}, {}, nullptr, {});
    service.NewWindow(QStringLiteral("Query"), {}, {}, nullptr, {});
    EXPECT_EQ(Window(service, 1)->property("fontName").toString(), QStringLiteral("MS Sans Serif"))
            << "new windows start in the document font";
    service.WindowFontChanged(QStringLiteral("DejaVu Serif"), 14);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Window(service, i)->property("fontName").toString(),
                  QStringLiteral("DejaVu Serif"));
        EXPECT_EQ(Window(service, i)->property("fontSize").toInt(), 14);
    }
}

TEST(Windows, HelpDocumentThatIsMissingIsReported)
{
    Home home;
    PackageFolder folder(WindowPackages);
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    service.NewWindow(QStringLiteral("View"), {}, {}, nullptr, {});
    Window(service, 0)->OpenHelpDocument(QStringLiteral("Velunor Manual.pdf"));
    ASSERT_EQ(session.Messages.size(), 1);
    EXPECT_TRUE(session.Messages[0].Text.startsWith(QStringLiteral("Could not open ")));
    EXPECT_TRUE(session.Messages[0].Text.endsWith(QStringLiteral("/Velunor Manual.pdf")));
}

TEST(Windows, PropertiesRenameTheWindowEverywhere)
{
    Home home;
    PackageFolder folder(WindowPackages);
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    service.NewWindow(QStringLiteral("View"), {}, QStringLiteral("Prod"), nullptr, {});
    service.NewWindow(QStringLiteral("View"), {}, QStringLiteral("Prod"), nullptr, {});
    TVXFormInterface *first = Window(service, 0);
    first->ApplyProperties(QStringLiteral("Billing"), QStringLiteral("Ann"), QStringLiteral("c"),
                           QStringLiteral("Test"));
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Velunor - Billing on Test"));
    EXPECT_EQ(first->ComposedBy, QStringLiteral("Ann"));
    EXPECT_EQ(Captions(Window(service, 1)).first(), QStringLiteral("Billing"));
    EXPECT_EQ(first->property("refreshCount").toInt(), 2);
}

TEST(Windows, TheEditorRouteLeavesNoConnectionOpen)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib1000.so=fx_windows.so"),
                          QStringLiteral("vxlib0200.so=fx_driver_inmemory.so"),
                          QStringLiteral("vxlib0500.so=fx_lang_a.so")});
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    const QString language = service.Configuration()
                                     .LanguagesTable()
                                     .Value(0, QStringLiteral("VXLanguageID"))
                                     .toString();
    ASSERT_FALSE(language.isEmpty());
    TVXDataAccessInterface *db = service.ConnectDB(QString());
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->ConnectionCount(), 1);
    EXPECT_EQ(
            service.NewWindow(QStringLiteral("EditorController"), {}, QString(), nullptr, language),
            QString());
    EXPECT_EQ(db->ConnectionCount(), 1) << "the editor's connection ends with the call";
    db->DisConnect();
}
