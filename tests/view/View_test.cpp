// SPDX-License-Identifier: GPL-3.0-or-later
// The explorer over the sample application: root items per level, children both ways by
// containment and by use, status nodes, the options, and the commands that hand items on.
#include "Viewfixture.h"

#include "formpreview/Formshow.h"
#include "query/Rowsaround.h"
#include "query/Rulesforrow.h"
#include "view/Changeselection.h"
#include "view/Dependentrows.h"
#include "view/Filter.h"
#include "view/Itemproperties.h"
#include "view/Tracks.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

namespace {

QAction *Command(TVXView *view, const QString &caption)
{
    for (QAction *action : view->PopupMenu()->findChildren<QAction *>())
        if (action->text() == caption)
            return action;
    for (QMenu *menu : view->PopupMenu()->findChildren<QMenu *>())
        for (QAction *action : menu->actions())
            if (action->text() == caption)
                return action;
    return nullptr;
}

} // namespace

TEST_F(ViewTest, AnEmptyRepositoryShowsOnlyItsStatusNode)
{
    Start();
    TVXView *view = OpenView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Velunor - View [1] on VN_FirstDataBase"));
    EXPECT_EQ(Captions(view),
              QStringList{QStringLiteral("  *** Source Database is empty, choose Tools/Load on the "
                                         "Main Menu to load the Database ***")});
    view->SelectAll1Click();
    view->PopUpActivated();
    for (const char *caption : {"New View", "Editor", "Add to WorkList", "Count Selected Items"})
        EXPECT_FALSE(Command(view, QLatin1String(caption))->isEnabled()) << caption;
}

TEST_F(ViewTest, GroupingLevelsWithoutAssignmentsSayHowToAssignThem)
{
    LoadSamples(false);
    Start();
    TVXView *view = OpenView();
    EXPECT_EQ(Captions(view),
              (QStringList{QStringLiteral("  *** No Hits on System ***"), QString(),
                           QStringLiteral("  *** Choose Tools/Load on the Main Menu to assign "
                                          "System(s), Computer(s) and Application(s) and reload "
                                          "the Database ***")}));
    view->SetViewBy(QStringLiteral("Package"));
    view->RefreshCurrentView();
    EXPECT_EQ(Captions(view), QStringList{QStringLiteral("  *** No Hits on Package ***")});
}

TEST_F(ViewTest, DistributionTopDownWalksFromTheSystemToTheWords)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    EXPECT_EQ(view->UserHint(), QStringLiteral("View: System contains"));
    ASSERT_EQ(Captions(view), QStringList{QStringLiteral("BILLING")});
    EXPECT_EQ(view->Model()->Node(view->Model()->index(0, 0))->Item.SystemID > 0, true);

    const QModelIndex system = view->Model()->index(0, 0);
    const QStringList files = Captions(view, system);
    EXPECT_EQ(files.size(), 19);
    EXPECT_TRUE(std::is_sorted(files.cbegin(), files.cend())) << "files by name";
    const QModelIndex file = Child(view, QStringLiteral("BILL000.cbl"), system);
    EXPECT_EQ(Captions(view, file), QStringList{QStringLiteral("BILL000 [PROGRAM-ID]")});
    const QModelIndex program = Child(view, QStringLiteral("BILL000 [PROGRAM-ID]"), file);
    const QStringList entries = Captions(view, program);
    ASSERT_FALSE(entries.isEmpty());
    const QModelIndex entry = view->Model()->index(0, 0, program);
    const QStringList rows = Captions(view, entry);
    ASSERT_FALSE(rows.isEmpty());
    const QModelIndex row = view->Model()->index(0, 0, entry);
    const QStringList words = Captions(view, row);
    EXPECT_FALSE(words.isEmpty());
    const TVXViewNode *word = view->Model()->Node(view->Model()->index(0, 0, row));
    EXPECT_EQ(word->Item.ItemKind(), TVXItem::Kind::Word);
    EXPECT_FALSE(view->Model()->hasChildren(view->Model()->index(0, 0, row)));

    // Copy: one line per selected node, indented by its level.
    Select(view, {system, file});
    view->Copy1Click();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("    BILLING\n        BILL000.cbl"));
}

TEST_F(ViewTest, DistributionBottomUpClimbsToTheGroupings)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->SetDirection(false);
    view->SetViewBy(QStringLiteral("Object"));
    EXPECT_EQ(view->UserHint(), QStringLiteral("View: Object is part of"));
    view->RefreshCurrentView();
    const QModelIndex copy = Child(view, QStringLiteral("ACCTREC [COPY]"));
    EXPECT_EQ(Captions(view, copy), QStringList{QStringLiteral("ACCTREC.cpy")});
    const QModelIndex file = view->Model()->index(0, 0, copy);
    EXPECT_EQ(Captions(view, file),
              (QStringList{QStringLiteral("BILLING"), QStringLiteral("MVS@PRODUCTION"),
                           QStringLiteral("NIGHTLY-BILLING")}));
    // Icons of BottomUp nodes are the next image index.
    EXPECT_EQ(view->Model()->Node(copy)->Icon, 53);
}

TEST_F(ViewTest, DependenciesShowCallsBothWays)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->SetViewType(false);
    view->SetViewBy(QStringLiteral("Object"));
    EXPECT_EQ(view->UserHint(), QStringLiteral("View: Object uses Object(s)"));
    view->RefreshCurrentView();
    const QModelIndex acct010 = Child(view, QStringLiteral("ACCT010 [PROGRAM-ID]"));
    const QStringList calls = Captions(view, acct010);
    for (const char *expected :
         {"ACCTREC [COPY]", "ACCTMAP [MAP]", "ACCT020 [PROGRAM-ID]", "ACCT030 [PROGRAM-ID]"})
        EXPECT_TRUE(calls.contains(QLatin1String(expected)))
                << expected << " in " << calls.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(QStringList(calls).removeDuplicates(), 0) << "each target once";

    // The copy member ACCTREC copies ADDRREC in its turn.
    const QModelIndex acctrec = Child(view, QStringLiteral("ACCTREC [COPY]"), acct010);
    EXPECT_EQ(Captions(view, acctrec), QStringList{QStringLiteral("ADDRREC [COPY]")});

    view->SetDirection(false);
    EXPECT_EQ(view->UserHint(), QStringLiteral("View: Object is used by Object(s)"));
    view->RefreshCurrentView();
    const QModelIndex acct030 = Child(view, QStringLiteral("ACCT030 [PROGRAM-ID]"));
    EXPECT_TRUE(Captions(view, acct030).contains(QStringLiteral("0000-MAIN [ACCT010]")))
            << Captions(view, acct030).join(QStringLiteral(" | ")).toStdString();

    // The call through a variable whose value the parser read is a possible call.
    view->SetDirection(true);
    view->RefreshCurrentView();
    const QModelIndex bill000 = Child(view, QStringLiteral("BILL000 [PROGRAM-ID]"));
    const QStringList fromBill000 = Captions(view, bill000);
    EXPECT_TRUE(fromBill000.contains(QStringLiteral("BILL100 [PROGRAM-ID]")));
    EXPECT_TRUE(fromBill000.contains(QStringLiteral("BILL900 [PROGRAM-ID] [Parser unshure, "
                                                    "therefore possible call]")))
            << fromBill000.join(QStringLiteral(" | ")).toStdString();
}

TEST_F(ViewTest, EveryLevelHasRootItems)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    const std::pair<const char *, const char *> firsts[] = {{"System", "BILLING"},
                                                            {"Computer", "MVS@PRODUCTION"},
                                                            {"Application", "NIGHTLY-BILLING"},
                                                            {"Object", ""},
                                                            {"Entry", ""},
                                                            {"Code", ""},
                                                            {"Data", " "}};
    for (const auto &[level, first] : firsts) {
        view->SetViewBy(QLatin1String(level));
        view->RefreshCurrentView();
        const QStringList roots = Captions(view);
        ASSERT_FALSE(roots.isEmpty()) << level;
        EXPECT_FALSE(roots.first().startsWith(QLatin1String("  ***")))
                << level << ": " << roots.first().toStdString();
        EXPECT_TRUE(roots.first().startsWith(QLatin1String(first))) << level;
    }
    // Entries name their object; variables their type and object.
    view->SetViewBy(QStringLiteral("Entry"));
    view->RefreshCurrentView();
    EXPECT_TRUE(Captions(view).first().endsWith(QLatin1Char(']')));
    view->SetViewBy(QStringLiteral("Data"));
    view->RefreshCurrentView();
    EXPECT_TRUE(Captions(view).first().contains(QLatin1String(" as ")));
}

TEST_F(ViewTest, TheRootItemLimitEndsTheWalkAndAsksAboutTheFilter)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->SetViewBy(QStringLiteral("Object"));
    auto *limit = view->findChild<QLineEdit *>();
    limit->setText(QStringLiteral("5"));
    view->RefreshCurrentView();
    const QStringList roots = Captions(view);
    ASSERT_EQ(roots.size(), 6);
    EXPECT_EQ(roots.last(), QStringLiteral("  *** RootItem Limit reached, only the first 5 hits "
                                           "in the database showed ***"));
    EXPECT_EQ(m_asked, QStringList{QStringLiteral(
                               "This View contains more than 5 RootItems,\ndo You want to use "
                               "Filter?")});

    limit->setText(QStringLiteral("0"));
    EXPECT_FALSE(view->tbLimitChange());
    EXPECT_TRUE(MessageTexts().contains(QStringLiteral("Limit must be greater than 0")));
    limit->setText(QStringLiteral(" 12abc"));
    view->tbLimitChange();
    EXPECT_EQ(limit->text(), QStringLiteral("0")) << "not a number is 0";
}

TEST_F(ViewTest, ChangingAnOptionClearsTheTreeUntilRefresh)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    ASSERT_EQ(Captions(view), QStringList{QStringLiteral("BILLING")});
    view->SetDirection(false);
    EXPECT_EQ(Captions(view), QStringList{QStringLiteral("  *** Click Refresh or choose "
                                                         "View/Refresh on the Main Menu for "
                                                         "Result ***")});
    EXPECT_EQ(view->UserHint(), QStringLiteral("View: System"));

    // The option box belongs to Dependencies TopDown by Entry or Object only.
    auto *option = view->findChild<QCheckBox *>();
    view->SetViewType(false);
    view->SetDirection(true);
    view->SetViewBy(QStringLiteral("Entry"));
    EXPECT_FALSE(option->isHidden());
    EXPECT_EQ(option->text(), QStringLiteral("Show Entrys sequentially"));
    option->setChecked(true);
    EXPECT_EQ(view->UserHint(),
              QStringLiteral("View: Entrys in order of execution, call TO other Entry(s)"));
    view->SetViewBy(QStringLiteral("Data"));
    EXPECT_TRUE(option->isHidden());
    EXPECT_EQ(view->UserHint(),
              QStringLiteral("View: Dataflow TO other Variable(s) and Line of Code where flow is "
                             "executed (persistent storage has green icons)"));
    view->SetViewType(true);
    view->SetViewBy(QStringLiteral("Code"));
    EXPECT_EQ(view->UserHint(),
              QStringLiteral("View: Lines of Code (execution order can not be trusted)"));

    // The View menu shows what the panel shows.
    auto *by = view->findChild<QComboBox *>();
    EXPECT_EQ(by->currentText(), QStringLiteral("Code"));
}

TEST_F(ViewTest, NewViewShowsTheSelectedItemAloneWithTheCurrentOptions)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->SetViewType(false);
    view->SetDirection(false);
    view->SetViewBy(QStringLiteral("Object"));
    view->RefreshCurrentView();
    Select(view, {Child(view, QStringLiteral("ACCT030 [PROGRAM-ID]"))});
    view->PopUpActivated();
    ASSERT_TRUE(Command(view, QStringLiteral("New View"))->isEnabled());
    Command(view, QStringLiteral("New View"))->trigger();

    ASSERT_EQ(Service().WindowList().size(), 2);
    EXPECT_EQ(Service().WindowList().last().Name, QStringLiteral("View [2]"));
    auto *second = dynamic_cast<TVXView *>(Service().WindowList().last().Window);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Captions(second), QStringList{QStringLiteral("ACCT030 [PROGRAM-ID]")});
    EXPECT_EQ(second->UserHint(), QStringLiteral("View: Object is used by Object(s)"));
    EXPECT_TRUE(Captions(second, second->Model()->index(0, 0))
                        .contains(QStringLiteral("0000-MAIN [ACCT010]")));
}

TEST_F(ViewTest, HandOverCommandsNameTheirFunctionAndShowWhatIsMissing)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    const QModelIndex system = view->Model()->index(0, 0);
    const QModelIndex file = Child(view, QStringLiteral("ACCT010.cbl"), system);
    Select(view, {file});
    view->PopUpActivated();
    for (const char *caption : {"Add to WorkList", "Editor", "Add Track to Diagram", "New Query"}) {
        m_session->Messages.clear();
        QAction *command = Command(view, QLatin1String(caption));
        ASSERT_TRUE(command && command->isEnabled()) << caption;
        command->trigger();
        ASSERT_EQ(m_session->Messages.size(), 1) << caption;
        EXPECT_EQ(m_session->Messages.first().Kind, TVXMessageKind::Error);
        EXPECT_TRUE(m_session->Messages.first().Text.contains(QLatin1String("not available")))
                << caption << ": " << m_session->Messages.first().Text.toStdString();
    }
    m_session->Messages.clear();
    Select(view, {system, file});
    view->CountSelectedItems();
    EXPECT_EQ(MessageTexts(), QStringList{QStringLiteral("2 Items is selected")});
}

TEST_F(ViewTest, DeletingASystemClearsItsAssignments)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    const QModelIndex system = Child(view, QStringLiteral("BILLING"));
    const QModelIndex file = Child(view, QStringLiteral("ACCT010.cbl"), system);
    Select(view, {file});
    view->DeleteThisItem();
    EXPECT_TRUE(MessageTexts().contains(QStringLiteral("Delete not possible")));
    Select(view, {Child(view, QStringLiteral("BILLING"))});
    view->PopUpActivated();
    ASSERT_TRUE(Command(view, QStringLiteral("Delete this Item"))->isEnabled());
    view->DeleteThisItem();
    EXPECT_EQ(Captions(view).first(), QStringLiteral("  *** No Hits on System ***"));
    view->SetViewBy(QStringLiteral("Computer"));
    view->RefreshCurrentView();
    EXPECT_EQ(Captions(view), QStringList{QStringLiteral("MVS@PRODUCTION")})
            << "the other groupings stay";
}

TEST_F(ViewTest, FindSelectsTheNextVisibleNodeThatHoldsTheText)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    const QModelIndex system = view->Model()->index(0, 0);
    view->Tree()->expand(system);
    Captions(view, system);
    view->FindText = QStringLiteral("bill");
    view->FindDialog1Find();
    QModelIndexList selected = view->Tree()->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(view->Model()->Node(selected.first())->Caption, QStringLiteral("BILLING"));
    view->FindDialog1Find();
    selected = view->Tree()->selectionModel()->selectedIndexes();
    EXPECT_EQ(view->Model()->Node(selected.first())->Caption, QStringLiteral("BILL000.cbl"));
    view->FindMatchCase = true;
    view->FindDialog1Find();
    EXPECT_TRUE(MessageTexts().contains(QStringLiteral("Cannot find \"bill\"")));

    // The dialog: text, case and direction; Find Next goes on from the last node found.
    view->Find1Click();
    auto *dialog = view->findChild<QDialog *>();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit *>()->setText(QStringLiteral("ACCT0"));
    dialog->findChild<QCheckBox *>()->setChecked(false);
    for (QRadioButton *button : dialog->findChildren<QRadioButton *>())
        if (button->text() == QLatin1String("Up"))
            button->setChecked(true);
    QPushButton *next = nullptr;
    for (QPushButton *button : dialog->findChildren<QPushButton *>())
        if (button->text() == QLatin1String("Find Next"))
            next = button;
    ASSERT_NE(next, nullptr);
    next->click();
    selected = view->Tree()->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(view->Model()->Node(selected.first())->Caption, QStringLiteral("ACCT030.cbl"))
            << "up from BILL000.cbl, the nearest above";
}

namespace {

// A fixed-format COBOL program whose main paragraph calls the given programs.
QByteArray CallingProgram(const QString &name, const QStringList &callees)
{
    QStringList lines{QStringLiteral("IDENTIFICATION DIVISION."),
                      QStringLiteral("PROGRAM-ID. ") + name + QLatin1Char('.'),
                      QStringLiteral("DATA DIVISION."), QStringLiteral("PROCEDURE DIVISION."),
                      QStringLiteral("0000-MAIN.")};
    for (const QString &callee : callees)
        lines << QStringLiteral("    CALL '") + callee + QStringLiteral("'.");
    lines << QStringLiteral("    GOBACK.");
    QByteArray text;
    int number = 100;
    for (const QString &line : std::as_const(lines)) {
        text += QStringLiteral("%1 %2")
                        .arg(number, 6, 10, QLatin1Char('0'))
                        .arg(line, -65)
                        .toLatin1()
                + name.leftJustified(8).toLatin1() + '\n';
        number += 100;
    }
    return text;
}

// Each program as NAME.cbl in the folder, calling its list.
template<size_t N>
bool WritePrograms(const QString &folder, const std::pair<const char *, QStringList> (&programs)[N])
{
    QDir().mkpath(folder);
    for (const auto &[name, callees] : programs) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".cbl"));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(CallingProgram(QLatin1String(name), callees));
    }
    return true;
}

} // namespace

TEST_F(ViewTest, ExpandAllStopsWhereACallCycleComesBack)
{
    const QString folder = m_home.File(QStringLiteral("cycle"));
    QDir().mkpath(folder);
    const std::pair<const char *, QStringList> programs[]
            = {{"CYCA", {QStringLiteral("CYCB")}},
               {"CYCB", {QStringLiteral("CYCC"), QStringLiteral("CYCA")}},
               {"CYCC", {}}};
    ASSERT_TRUE(WritePrograms(folder, programs));
    LoadSamples(true, folder);
    Start();
    TVXView *view = OpenView();
    view->SetViewType(false);
    view->SetViewBy(QStringLiteral("Object"));
    view->RefreshCurrentView();
    const QModelIndex cyca = Child(view, QStringLiteral("CYCA [PROGRAM-ID]"));
    Select(view, {cyca});
    view->ExpandAll(TVXView::ExpandScope::All);
    EXPECT_TRUE(view->Tree()->isExpanded(cyca));
    const QModelIndex cycb = Child(view, QStringLiteral("CYCB [PROGRAM-ID]"), cyca);
    EXPECT_TRUE(view->Tree()->isExpanded(cycb));
    EXPECT_EQ(Captions(view, cycb), (QStringList{QStringLiteral("CYCC [PROGRAM-ID]"),
                                                 QStringLiteral("CYCA [PROGRAM-ID]")}));
    const QModelIndex again = Child(view, QStringLiteral("CYCA [PROGRAM-ID]"), cycb);
    EXPECT_TRUE(view->Model()->IsRecursion(again));
    EXPECT_FALSE(view->Model()->hasChildren(again)) << "the cycle is not opened again";
    EXPECT_EQ(view->Model()->rowCount(again), 0);
}

TEST_F(ViewTest, ARepositoryThatIsGoneIsNamedAndTheTreeStaysUsable)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    const QModelIndex system = view->Model()->index(0, 0);
    ASSERT_EQ(Captions(view, system).size(), 19);
    const QModelIndex file = Child(view, QStringLiteral("ACCT010.cbl"), system);
    // The repository file is removed under the open window.
    const QStringList databases = QDir(m_home.Path()).entryList({QStringLiteral("VN_*.sqlite")});
    ASSERT_FALSE(databases.isEmpty());
    for (const QString &name : databases)
        QFile::remove(m_home.File(name));
    const QStringList below = Captions(view, file);
    ASSERT_EQ(below.size(), 1);
    EXPECT_FALSE(below.first().isEmpty());
    // Other nodes still open, and Refresh names the problem rather than crashing.
    view->RefreshCurrentView();
    EXPECT_FALSE(Captions(view).isEmpty());
}

// The fields a form shows, as "top,left,width:text".
QStringList ShownFields(const TVXFormShow *form)
{
    QStringList shown;
    for (QLineEdit *field : form->Fields())
        if (!field->isHidden())
            shown << QStringLiteral("%1,%2,%3:%4")
                             .arg(field->y())
                             .arg(field->x())
                             .arg(field->width())
                             .arg(field->text());
    return shown;
}

TEST_F(ViewTest, TheFormViewerPlacesTheFieldsOfAVisualAgeMap)
{
    LoadSamples(true, QStringLiteral(VELUNOR_SOURCE_DIR "/tests/languages/vag45/parts"));
    Start();
    TVXView *view = OpenView();
    view->SetViewBy(QStringLiteral("Object"));
    view->RefreshCurrentView();
    Select(view, {Child(view, QStringLiteral("CUSTM01 [MAP]"))});
    TVXFormShow *form = view->ShowInFormViewer();
    ASSERT_NE(form, nullptr) << MessageTexts().join(QLatin1Char('|')).toStdString();
    const QStringList shown = ShownFields(form);
    // The constant's text from the row after its tag; the variable field by its name.
    EXPECT_EQ(shown, (QStringList{QStringLiteral("20,20,200:CUSTOMER MAINTENANCE"),
                                  QStringLiteral("60,200,80:CUSTID")}))
            << shown.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(form->Fields()[0]->property("constant").toBool());
    form->close();
}

TEST_F(ViewTest, AClassShowsTheSourceItInheritsWithTheMethodsThere)
{
    LoadSamples(true, QStringLiteral(VELUNOR_SOURCE_DIR "/tests/languages/cpp/classes"));
    Start();
    TVXView *view = OpenView();
    view->SetViewBy(QStringLiteral("Object"));
    view->RefreshCurrentView();
    // Customer as its header declares it: its methods, then what it inherits from Entity.
    QModelIndex customer;
    const QStringList roots = Captions(view);
    for (int row = 0; row < roots.size(); ++row) {
        const QModelIndex candidate = view->Model()->index(row, 0);
        if (roots[row].startsWith(QLatin1String("Customer ["))
            && Captions(view, candidate)
                       .join(QLatin1Char('|'))
                       .contains(QLatin1String("Inherited")))
            customer = candidate;
    }
    ASSERT_TRUE(customer.isValid()) << Captions(view).join(QStringLiteral(" | ")).toStdString();
    const QStringList children = Captions(view, customer);
    EXPECT_TRUE(children.filter(QStringLiteral("save")).size() >= 1)
            << children.join(QStringLiteral(" | ")).toStdString();
    const QModelIndex inherited
            = Child(view, QStringLiteral("--- Inherited source [Entity] ---"), customer);
    const QStringList inheritedMethods = Captions(view, inherited);
    EXPECT_FALSE(inheritedMethods.filter(QStringLiteral("touch")).isEmpty())
            << inheritedMethods.join(QStringLiteral(" | ")).toStdString();
}

TEST_F(ViewTest, TheFormViewerPlacesTheFieldsOfABmsMap)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->SetViewBy(QStringLiteral("Object"));
    view->RefreshCurrentView();
    Select(view, {Child(view, QStringLiteral("ACCTMAP [MAP]"))});
    view->PopUpActivated();
    ASSERT_TRUE(Command(view, QStringLiteral("FormViewer"))->isEnabled());
    TVXFormShow *form = view->ShowInFormViewer();
    ASSERT_NE(form, nullptr) << MessageTexts().join(QLatin1Char('|')).toStdString() << "#"
                             << m_session->Messages.size();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("ACCTMAP [MAP]"));
    EXPECT_EQ(form->size(), QSize(870, 640));
    const QStringList shown = ShownFields(form);
    ASSERT_GE(shown.size(), 4) << shown.join(QStringLiteral(" | ")).toStdString();
    // A constant: its literal in button face; a labelled field: its label as text and hint.
    EXPECT_EQ(shown[0].toStdString(), "20,280,240: ACCOUNT INQUIRY - AC01");
    EXPECT_EQ(shown[1].toStdString(), "60,10,110: ACCOUNT NO:");
    EXPECT_EQ(shown[2].toStdString(), "60,130,100:ACCTNO");
    EXPECT_TRUE(form->Fields()[0]->property("constant").toBool());
    EXPECT_EQ(form->Fields()[2]->toolTip(), QStringLiteral("ACCTNO"));
    EXPECT_TRUE(shown.contains(QStringLiteral("460,10,790:MSGLINE")))
            << shown.join(QStringLiteral(" | ")).toStdString();
    form->close();

    // A program is no screen: one box says so.
    Select(view, {Child(view, QStringLiteral("ACCT010 [PROGRAM-ID]"))});
    form = view->ShowInFormViewer();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->Fields().size(), 1);
    EXPECT_EQ(form->Fields()[0]->text(),
              QStringLiteral("FormViewer does not support this objects Language"));
    EXPECT_EQ(form->Fields()[0]->geometry(), QRect(20, 80, 820, 20));
}

TEST_F(ViewTest, DataNodesFollowTheFlowOfTheirValuesBothWays)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->findChild<QLineEdit *>()->setText(QStringLiteral("1000"));
    view->SetViewType(false);
    view->SetViewBy(QStringLiteral("Data"));
    view->RefreshCurrentView();
    const QModelIndex from = Child(view, QStringLiteral(" LS-ACCT-ID as "));
    const QModelIndex to = Child(view, QStringLiteral("INV-ACCT-ID ["), from);
    const TVXViewNode *target = view->Model()->Node(to);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->Has, TVXViewNode::Carries::DataItem);
    EXPECT_TRUE(target->Caption.contains(QLatin1String("MOVE"))) << target->Caption.toStdString();

    view->SetDirection(false);
    view->RefreshCurrentView();
    const QModelIndex edited = Child(view, QStringLiteral(" WS-EDITED as "));
    const QModelIndex source = Child(view, QStringLiteral("LS-AMOUNT ["), edited);
    // Back to a variable already above: not followed again.
    const QStringList further = Captions(view, source);
    for (int row = 0; row < further.size(); ++row) {
        if (further[row].startsWith(QLatin1String("WS-EDITED"))) {
            EXPECT_TRUE(view->Model()->IsRecursion(view->Model()->index(row, 0, source)));
        }
    }
}

TEST_F(ViewTest, TheItemDialogsShowAndChangeWhatTheSelectionHolds)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->SetViewBy(QStringLiteral("Object"));
    view->RefreshCurrentView();

    // Who calls ACCT030: the line of ACCT010 that links to it.
    Select(view, {Child(view, QStringLiteral("ACCT030 [PROGRAM-ID]"))});
    TVXDependentRows *rows = view->ShowDependentRows();
    ASSERT_NE(rows, nullptr);
    const QStringList lines = rows->Rows();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().contains(QLatin1String("ACCT030")));
    EXPECT_TRUE(lines.first().endsWith(QLatin1String("[ACCT010.0000-MAIN]")))
            << lines.first().toStdString();

    // Properties: read-only for an object, a name to edit for a system.
    Select(view, {Child(view, QStringLiteral("ACCT030 [PROGRAM-ID]"))});
    TVXItemProperties *properties = view->ShowItemProperties();
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ(properties->windowTitle(), QStringLiteral("Item Properties"));
    EXPECT_EQ(properties->NameBox()->text(), QStringLiteral("ACCT030"));
    EXPECT_TRUE(properties->NameBox()->isReadOnly());
    QStringList labels;
    for (QLabel *label : properties->findChildren<QLabel *>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Object")));
    EXPECT_TRUE(labels.contains(QStringLiteral("ACCT030.cbl")));
    properties->close();

    view->SetViewBy(QStringLiteral("System"));
    view->RefreshCurrentView();
    Select(view, {view->Model()->index(0, 0)});
    properties = view->ShowItemProperties();
    ASSERT_NE(properties, nullptr);
    EXPECT_FALSE(properties->NameBox()->isReadOnly());
    properties->NameBox()->setText(QStringLiteral("  "));
    EXPECT_FALSE(properties->Save());
    EXPECT_TRUE(MessageTexts().contains(QStringLiteral("Name is required")));
    properties->NameBox()->setText(QStringLiteral("BILLING-NEW"));
    EXPECT_TRUE(properties->Save());
    EXPECT_EQ(Captions(view), QStringList{QStringLiteral("BILLING-NEW")});

    // Change Selection: every node whose caption begins with the text.
    const QModelIndex system = view->Model()->index(0, 0);
    view->Tree()->expand(system);
    Captions(view, system);
    TVXChangeSelection *change = view->ShowChangeSelection();
    change->TextBox()->setText(QStringLiteral("ACCT"));
    change->SelectButton()->setChecked(true);
    change->Apply();
    EXPECT_EQ(view->Tree()->selectionModel()->selectedIndexes().size(), 6)
            << "ACCT010/020/030.cbl, ACCTJOB.jcl, ACCTREC.cpy, ACCTSET.bms";
    for (QRadioButton *button : change->findChildren<QRadioButton *>())
        if (button->text() == QLatin1String("Deselect"))
            button->setChecked(true);
    change->TextBox()->setText(QStringLiteral("ACCT0"));
    change->Apply();
    EXPECT_EQ(view->Tree()->selectionModel()->selectedIndexes().size(), 3);
}

TEST(Filter, RowsBecomeConditionsOnTheTablesOfTheirAttributes)
{
    using Row = TVXFilter::Row;
    const TVXRootFilter filter
            = TVXFilter::Conditions({Row{true, TVXFilter::ObjectsName, 1, QStringLiteral("acct")},
                                     Row{false, TVXFilter::ObjectsType, 0, QStringLiteral("copy")},
                                     Row{true, TVXFilter::EntrysName, 2, QStringLiteral("0000")},
                                     Row{true, TVXFilter::FilesName, 3, QStringLiteral(".cbl")}},
                                    false);
    EXPECT_EQ(filter.Objects.Inlined(),
              QStringLiteral("(Upper(VXObjectName) LIKE '%ACCT%' OR Upper(VXObjectType) = 'COPY') "
                             "AND VXFileID IN (SELECT VXFileID FROM VXFILE WHERE "
                             "Upper(VXFileName) LIKE '%.CBL')"));
    EXPECT_EQ(filter.Entries.Inlined(), QStringLiteral("Upper(VXEntryName) LIKE '0000%'"));
    EXPECT_TRUE(filter.Words.IsEmpty());
    // Case sensitive: the column and the value as they are; a quote stays a value.
    const TVXRootFilter exact = TVXFilter::Conditions(
            {Row{true, TVXFilter::VariablesName, 0, QStringLiteral("O'Brien")}}, true);
    EXPECT_EQ(exact.Words.Text(), QStringLiteral("VXWord = ?"));
    EXPECT_EQ(exact.Words.Inlined(), QStringLiteral("VXWord = 'O''Brien'"));
}

TEST_F(ViewTest, TheRootItemFilterRestrictsTheRootsUntilItIsCleared)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->SetViewBy(QStringLiteral("Object"));
    TVXFilter *filter = view->SetRootItemFilter();
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->windowTitle(), QStringLiteral("RootItem Filter"));
    EXPECT_EQ(filter->CheckFilterRow(0), QStringLiteral("Attribute is required"));
    auto *attribute = filter->findChildren<QComboBox *>().at(0);
    auto *op = filter->findChildren<QComboBox *>().at(1);
    QStringList offered;
    for (int i = 0; i < attribute->count(); ++i)
        offered << attribute->itemText(i);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Objects Name"), QStringLiteral("Objects Type"),
                                    QStringLiteral("Files Name")}));
    attribute->setCurrentIndex(0);
    EXPECT_EQ(filter->CheckFilterRow(0), QStringLiteral("Operator is required"));
    op->setCurrentIndex(2);
    EXPECT_EQ(filter->CheckFilterRow(0),
              QStringLiteral("At least one character is required for Value"));
    filter->cbApplyClick();
    EXPECT_TRUE(MessageTexts().contains(
            QStringLiteral("At least one character is required for Value")));
    filter->findChild<QLineEdit *>()->setText(QStringLiteral("ACCT0"));
    filter->cbApplyClick();
    EXPECT_EQ(Captions(view), (QStringList{QStringLiteral("ACCT010 [PROGRAM-ID]"),
                                           QStringLiteral("ACCT020 [PROGRAM-ID]"),
                                           QStringLiteral("ACCT030 [PROGRAM-ID]")}));

    // The condition travels with the document.
    const QString saved = m_home.File(QStringLiteral("filtered.vnv"));
    view->SaveViewDoc(saved);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    EXPECT_EQ(lines.value(10), QByteArray("\r1"));
    EXPECT_EQ(lines.value(11), QByteArray("\r0,4,2,ACCT0"));

    filter = view->SetRootItemFilter();
    filter->findChild<QLineEdit *>()->setText(QStringLiteral("NOSUCH"));
    filter->cbApplyClick();
    EXPECT_EQ(Captions(view),
              QStringList{QStringLiteral("  *** No Hits with current Filter Settings ***")});
    view->SetRootItemFilter()->cbClearClick();
    EXPECT_GT(Captions(view).size(), 20);
}

TEST_F(ViewTest, TracksRecordTheSelectedNodesAndComeBackWithTheDocument)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    view->SetViewType(false);
    view->SetViewBy(QStringLiteral("Object"));
    view->RefreshCurrentView();
    const QModelIndex acct010 = Child(view, QStringLiteral("ACCT010 [PROGRAM-ID]"));
    view->Tree()->expand(acct010);
    const QModelIndex acct030 = Child(view, QStringLiteral("ACCT030 [PROGRAM-ID]"), acct010);
    Select(view, {acct010, acct030});
    view->AddTrack();
    ASSERT_EQ(view->Tracks().size(), 1);
    EXPECT_EQ(view->Tracks()[0].Name, QStringLiteral("ACCT010 - ACCT030"));
    ASSERT_EQ(view->Tracks()[0].Elements.size(), 2);
    EXPECT_TRUE(view->Tracks()[0].Elements[0].endsWith(
            QLatin1Char(':') + view->Model()->Node(acct010)->Item.GetItemID()));
    QStringList items;
    for (QAction *action : view->findChildren<QAction *>())
        if (action->objectName().startsWith(QLatin1String("Track")))
            items << action->text();
    EXPECT_EQ(items, QStringList{QStringLiteral("Track1")});

    const QString saved = m_home.File(QStringLiteral("track.vnv"));
    view->SaveViewDoc(saved);
    ASSERT_TRUE(Service()
                        .NewWindow(QStringLiteral("View"), saved,
                                   QStringLiteral("VN_FirstDataBase"), nullptr, QString())
                        .isEmpty());
    auto *reopened = dynamic_cast<TVXView *>(Service().WindowList().last().Window);
    ASSERT_EQ(reopened->Tracks().size(), 1);
    reopened->Tree()->clearSelection();
    reopened->SelectTrack(0);
    QStringList selected;
    for (const QModelIndex &index : reopened->Tree()->selectionModel()->selectedIndexes())
        selected << reopened->Model()->Node(index)->Caption;
    selected.sort();
    EXPECT_EQ(selected, (QStringList{QStringLiteral("ACCT010 [PROGRAM-ID]"),
                                     QStringLiteral("ACCT030 [PROGRAM-ID]")}));

    // AutoComplete: the path from the root down to a node deep in the tree.
    const QModelIndex acctrec = Child(view, QStringLiteral("ACCTREC [COPY]"), acct010);
    const QModelIndex addrrec = Child(view, QStringLiteral("ADDRREC [COPY]"), acctrec);
    Select(view, {addrrec});
    view->AutoCompleteTrack();
    view->AddTrack();
    ASSERT_EQ(view->Tracks().size(), 2);
    EXPECT_EQ(view->Tracks()[1].Name, QStringLiteral("ACCT010 - ADDRREC"));
    EXPECT_EQ(view->Tracks()[1].Elements.size(), 3);

    // The Tracks dialog: folders of one's own; a track deleted there leaves the View.
    TVXTracks *tracks = view->ShowTracks();
    ASSERT_EQ(tracks->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(tracks->Tree()->topLevelItem(0)->childCount(), 2);
    tracks->NewFolder(QStringLiteral("Billing calls"));
    EXPECT_EQ(tracks->Tree()->topLevelItem(0)->childCount(), 3);
    EXPECT_TRUE(tracks->DeleteFolder());
    EXPECT_EQ(tracks->Tree()->topLevelItem(0)->childCount(), 2);
    tracks->Tree()->setCurrentItem(tracks->Tree()->topLevelItem(0)->child(0));
    EXPECT_TRUE(tracks->DeleteTrack());
    ASSERT_EQ(view->Tracks().size(), 1);
    EXPECT_EQ(view->Tracks()[0].Name, QStringLiteral("ACCT010 - ADDRREC"));
    tracks->close();

    // A changed option clears the tree and the tracks that point into it.
    view->SetDirection(false);
    EXPECT_TRUE(view->Tracks().isEmpty());
}

TEST_F(ViewTest, SequentiallyEveryCallIsListedInTheOrderItRuns)
{
    const QString folder = m_home.File(QStringLiteral("sequence"));
    QDir().mkpath(folder);
    const std::pair<const char *, QStringList> programs[]
            = {{"SEQA", {QStringLiteral("SEQB"), QStringLiteral("SEQC"), QStringLiteral("SEQB")}},
               {"SEQB", {}},
               {"SEQC", {}}};
    ASSERT_TRUE(WritePrograms(folder, programs));
    LoadSamples(true, folder);
    Start();
    TVXView *view = OpenView();
    view->SetViewType(false);
    view->SetViewBy(QStringLiteral("Entry"));
    view->RefreshCurrentView();
    QModelIndex main = Child(view, QStringLiteral("0000-MAIN [SEQA]"));
    EXPECT_EQ(Captions(view, main), (QStringList{QStringLiteral("SEQB [PROGRAM-ID]"),
                                                 QStringLiteral("SEQC [PROGRAM-ID]")}));
    view->SetOption(true);
    EXPECT_EQ(view->UserHint(),
              QStringLiteral("View: Entrys in order of execution, call TO other Entry(s)"));
    view->RefreshCurrentView();
    main = Child(view, QStringLiteral("0000-MAIN [SEQA]"));
    EXPECT_EQ(Captions(view, main),
              (QStringList{QStringLiteral("SEQB [PROGRAM-ID]"), QStringLiteral("SEQC [PROGRAM-ID]"),
                           QStringLiteral("SEQB [PROGRAM-ID]")}));
}

namespace {

// The service as the window sees it, recording what it is asked to open; connections
// come from the real service object.
class TRecordingService : public TVXBaseFunctionsInterface
{
public:
    explicit TRecordingService(TVXBaseFunctions &real)
        : m_real(real)
    {}
    struct Call
    {
        QString Function, Document, Database, Detail;
        QString SenderKind;
        QStringList Texts;
        QList<int> Levels;
        QString ItemID;
    };
    QList<Call> Calls;

    QString NewWindow(const QString &function, const QString &document, const QString &database,
                      QObject *sender, const QString &detail) override
    {
        Call call{function, document, database, detail, {}, {}, {}, {}};
        if (const auto *one = qobject_cast<const TVXItemSender *>(sender)) {
            call.SenderKind = QStringLiteral("item");
            call.ItemID = one->Item.GetItemID();
        } else if (const auto *many = qobject_cast<const TVXItemsSender *>(sender)) {
            call.SenderKind = QStringLiteral("items");
            for (int i = 0; i < many->Items.Count(); ++i) {
                call.Texts << many->Items.GetText(i);
                call.Levels << many->Items.GetLevel(i);
            }
        }
        Calls << call;
        return {};
    }
    TVXDataAccessInterface *ConnectDB(const QString &database) override
    {
        return m_real.ConnectDB(database);
    }
    QString GetSourceDBName(bool first, bool next, bool isDefault) override
    {
        return m_real.GetSourceDBName(first, next, isDefault);
    }

private:
    TVXBaseFunctions &m_real;
};

} // namespace

TEST_F(ViewTest, HandOverCommandsGiveTheFunctionSenderAndDetail)
{
    LoadSamples(true);
    Start();
    TRecordingService service(Service());
    TVXView view(nullptr, &service, QString(), QStringLiteral("VN_FirstDataBase"),
                 QStringLiteral("View [7]"));
    view.AskUser = [](const QString &) { return false; };
    view.RefreshContent(nullptr, nullptr, QString());
    const QModelIndex system = view.Model()->index(0, 0);
    const QModelIndex file = Child(&view, QStringLiteral("ACCT010.cbl"), system);
    const QModelIndex program = Child(&view, QStringLiteral("ACCT010 [PROGRAM-ID]"), file);
    const QString programID = view.Model()->Node(program)->Item.GetItemID();

    view.SetViewType(false);
    view.SetDirection(false);
    view.SetViewType(true); // back to Distribution, BottomUp kept
    view.RefreshCurrentView();
    const QModelIndex systemAgain = view.Model()->index(0, 0);
    Select(&view, {systemAgain});
    view.ShowInNewView();
    ASSERT_EQ(service.Calls.size(), 1);
    EXPECT_EQ(service.Calls[0].Function, QStringLiteral("View"));
    EXPECT_EQ(service.Calls[0].Document, QString());
    EXPECT_EQ(service.Calls[0].Database, QStringLiteral("VN_FirstDataBase"));
    EXPECT_EQ(service.Calls[0].Detail, QStringLiteral("DistributionBottomUp"));
    EXPECT_EQ(service.Calls[0].SenderKind, QStringLiteral("item"));

    view.SetDirection(true);
    view.RefreshCurrentView();
    const QModelIndex root = view.Model()->index(0, 0);
    const QModelIndex acctFile = Child(&view, QStringLiteral("ACCT010.cbl"), root);
    const QModelIndex acct010 = Child(&view, QStringLiteral("ACCT010 [PROGRAM-ID]"), acctFile);
    Select(&view, {acct010});
    view.ShowInEditor();
    EXPECT_EQ(service.Calls.last().Function, QStringLiteral("EditorController"));
    EXPECT_EQ(service.Calls.last().Detail, QStringLiteral("20520")) << "the file's language";
    EXPECT_EQ(service.Calls.last().ItemID, programID);

    Select(&view, {acctFile, acct010});
    view.AddToWorkList(false);
    EXPECT_EQ(service.Calls.last().Function, QStringLiteral("WorkList"));
    EXPECT_EQ(service.Calls.last().Detail, QStringLiteral("AddToWorkList"));
    EXPECT_EQ(service.Calls.last().Texts,
              (QStringList{QStringLiteral("ACCT010.cbl"), QStringLiteral("ACCT010 [PROGRAM-ID]")}));
    EXPECT_EQ(service.Calls.last().Levels, (QList<int>{1, 2}));
    view.AddToWorkList(true);
    EXPECT_EQ(service.Calls.last().Detail, QStringLiteral("AddToWorkListAs"));
    view.AddTrackToDiagram();
    EXPECT_EQ(service.Calls.last().Function, QStringLiteral("Diagram"));

    // A line of code opens the rows around it and the rules it runs under.
    ASSERT_FALSE(Captions(&view, acct010).isEmpty());
    const QModelIndex entry = view.Model()->index(0, 0, acct010);
    ASSERT_FALSE(Captions(&view, entry).isEmpty());
    const QModelIndex line = view.Model()->index(0, 0, entry);
    const TVXItem lineItem = view.Model()->Node(line)->Item;
    ASSERT_TRUE(lineItem.RowID > 0);
    Select(&view, {line});
    view.PopUpActivated();
    ASSERT_TRUE(Command(&view, QStringLiteral("Show Rows Around"))->isEnabled());
    Command(&view, QStringLiteral("Show Rows Around"))->trigger();
    auto *rows = view.findChild<TVXRowsAround *>();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->Lines().filter(QRegularExpression(QStringLiteral("^---> "))).size(), 1);
    Command(&view, QStringLiteral("Show Rules for Row"))->trigger();
    auto *rules = view.findChild<TVXRulesForRow *>();
    ASSERT_NE(rules, nullptr);
    EXPECT_TRUE(rules->tvRulesForRow->topLevelItem(0)->text(0).startsWith(
            QStringLiteral("*** Rules in Entry ")));
    EXPECT_EQ(TVXRulesForRow::ItemOf(rules->tvRulesForRow->topLevelItem(0)), lineItem);
}

TEST_F(ViewTest, ANodeWhoseFileALaterLoadRemovedOpensEmpty)
{
    const QString folder = m_home.File(QStringLiteral("removed"));
    const std::pair<const char *, QStringList> programs[]
            = {{"REMA", {QStringLiteral("REMB")}}, {"REMB", {}}};
    ASSERT_TRUE(WritePrograms(folder, programs));
    LoadSamples(true, folder);
    Start();
    TVXView *view = OpenView();
    const QModelIndex system = view->Model()->index(0, 0);
    const QModelIndex file = Child(view, QStringLiteral("REMB.cbl"), system);
    // Another run loads the folder without the file while the window is open.
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/REMB.cbl")));
    Cli({QStringLiteral("load"), QStringLiteral("--yes")});
    EXPECT_TRUE(Captions(view, file).isEmpty());
    view->RefreshCurrentView();
    EXPECT_EQ(Captions(view, view->Model()->index(0, 0)), QStringList{QStringLiteral("REMA.cbl")});
}
