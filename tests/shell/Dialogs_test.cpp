// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialogs driven through their widgets: every refusal shown, what was saved
// read back from the settings files by a dialog opened afresh.
#include "Testsupport.h"
#include "base/Classregistry.h"

#include "shell/About.h"
#include "shell/Basefunctions.h"
#include "shell/Forminterface.h"
#include "shell/Languages.h"
#include "shell/Middleware.h"
#include "shell/Smalldialogs.h"
#include "shell/Sourcedatabases.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class DialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_packages = std::make_unique<VXTest::PackageFolder>(
                QStringList{QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0520.so")});
        m_session = std::make_unique<VXTest::Session>(m_packages->Path());
    }
    // A dialog as the Tools menu opens it, with its message boxes answered here.
    template<class Dialog>
    std::unique_ptr<Dialog> Open()
    {
        auto dialog = std::make_unique<Dialog>(nullptr, &m_session->Service());
        dialog->Tell = [this](const QString &text) { m_told << text; };
        dialog->AskUser = [this](const QString &question) {
            m_asked << question;
            return m_answer;
        };
        return dialog;
    }
    static QStringList Items(const QListWidget *list)
    {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        return items;
    }

    VXTest::Home m_home;
    std::unique_ptr<VXTest::PackageFolder> m_packages;
    std::unique_ptr<VXTest::Session> m_session;
    QStringList m_told;
    QStringList m_asked;
    bool m_answer = false;
};

TEST_F(DialogsTest, TheToolsMenuFindsEveryDialogByItsName)
{
    for (const char *name :
         {"TVXSourceDatabases", "TVXLanguages", "TVXEditors", "TVXAbout", "TVXProperties",
          "TVXRepositories", "TVXExport", "TVXMiddleWare", "TVXLoad", "TVXWindowChange"})
        EXPECT_TRUE(VXClassRegistry().IsA<TVXToolDialog>(QLatin1String(name))) << name;
    auto about = Open<TVXAbout>();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Velunor"));
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("lbVersion"))->text(),
              QStringLiteral("Version ") + QStringLiteral(VELUNOR_TEST_VERSION));
}

TEST_F(DialogsTest, SourceDatabasesRefuseWhatCannotBeSavedAndKeepOneDefault)
{
    auto dialog = Open<TVXSourceDatabases>();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Source Databases"));
    EXPECT_EQ(Items(dialog->lbDatabases), QStringList{QStringLiteral("VN_FirstDataBase")});
    // Only the loaded drivers' types are offered; the file-based one names a file.
    EXPECT_EQ(dialog->cbType->count(), 1);
    EXPECT_EQ(dialog->cbType->currentText(), QStringLiteral("InMemory"));
    EXPECT_EQ(dialog->lbConnection->text(), QStringLiteral("Database file:"));
    EXPECT_TRUE(dialog->btBrowse->isEnabled());

    dialog->DeleteClick();
    EXPECT_EQ(m_told.last(),
              QStringLiteral("At least one Database need to exist, delete not allowed."));

    dialog->AddClick();
    EXPECT_EQ(dialog->edName->text(), QStringLiteral("UnNamed"));
    dialog->SaveClick();
    EXPECT_EQ(m_told.last(),
              QStringLiteral("The default Name 'UnNamed' is not valid, change the Name."));
    dialog->edName->setText(QStringLiteral("Second"));
    dialog->cbType->setCurrentText(QStringLiteral("InMemory"));
    dialog->edConnection->setText(m_home.File(QStringLiteral("second.sqlite")));
    dialog->SaveClick();
    EXPECT_TRUE(m_told.last().startsWith(
            QStringLiteral("Only one instance of InMemory database allowed")))
            << m_told.last().toStdString();
    EXPECT_EQ(dialog->lbDatabases->count(), 2) << "refused: still the row being added";

    // Closing with the changes unsaved asks; No keeps the dialog open with them.
    dialog->show();
    dialog->CloseClick();
    EXPECT_EQ(m_asked.last(), QStringLiteral("Unsaved changes will be lost. Close anyway?"));
    EXPECT_TRUE(dialog->isVisible());
    dialog->CancelClick();
    EXPECT_EQ(Items(dialog->lbDatabases), QStringList{QStringLiteral("VN_FirstDataBase")});
    dialog->close();

    // What the settings file holds, read by a dialog opened afresh.
    auto again = Open<TVXSourceDatabases>();
    EXPECT_EQ(Items(again->lbDatabases), QStringList{QStringLiteral("VN_FirstDataBase")});
    EXPECT_TRUE(again->chDefault->isChecked());
}

TEST_F(DialogsTest, ASecondDatabaseTakesTheDefaultAndGivesItBackWhenDeleted)
{
    m_session.reset();
    m_packages = std::make_unique<VXTest::PackageFolder>(
            QStringList{QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0220.so")});
    m_session = std::make_unique<VXTest::Session>(m_packages->Path());
    auto dialog = Open<TVXSourceDatabases>();
    EXPECT_GE(dialog->cbType->findText(QStringLiteral("ODBC")), 0);
    dialog->AddClick();
    dialog->edName->setText(QStringLiteral("Team"));
    dialog->cbType->setCurrentText(QStringLiteral("ODBC"));
    EXPECT_EQ(dialog->lbConnection->text(), QStringLiteral("Connection string:"));
    EXPECT_FALSE(dialog->btBrowse->isEnabled());
    dialog->edConnection->setText(QStringLiteral("DSN=team"));
    dialog->chDefault->setChecked(true);
    dialog->SaveClick();
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();

    auto again = Open<TVXSourceDatabases>();
    EXPECT_EQ(Items(again->lbDatabases),
              (QStringList{QStringLiteral("VN_FirstDataBase"), QStringLiteral("Team")}));
    EXPECT_FALSE(again->chDefault->isChecked()) << "the first row lost the default";
    again->lbDatabases->setCurrentRow(1);
    EXPECT_TRUE(again->chDefault->isChecked());
    EXPECT_EQ(again->edConnection->text(), QStringLiteral("DSN=team"));
    again->DeleteClick();
    EXPECT_EQ(Items(again->lbDatabases), QStringList{QStringLiteral("VN_FirstDataBase")});
    EXPECT_TRUE(again->chDefault->isChecked()) << "the default went back to the row left";
}

TEST_F(DialogsTest, ASettingsFileDamagedWhileTheDialogIsOpenIsWrittenWholeOnSave)
{
    auto dialog = Open<TVXSourceDatabases>();
    const QString file = m_home.File(QStringLiteral("VXLIB0110.bin"));
    ASSERT_TRUE(QFileInfo::exists(file));
    {
        QFile damaged(file);
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("not a settings table");
    }
    dialog->chDefault->setChecked(true);
    dialog->SaveClick();
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();
    // The next start reads the table the dialog held, not the damage.
    m_session.reset();
    m_session = std::make_unique<VXTest::Session>(m_packages->Path());
    auto again = Open<TVXSourceDatabases>();
    EXPECT_EQ(Items(again->lbDatabases), QStringList{QStringLiteral("VN_FirstDataBase")});
    EXPECT_TRUE(again->chDefault->isChecked());
}

TEST_F(DialogsTest, ExtensionsMustBeginWithADotAndOneMustStay)
{
    auto dialog = Open<TVXLanguages>();
    const int cobol = int(Items(dialog->lbLanguages).indexOf(QStringLiteral("IBMCOB")));
    ASSERT_GE(cobol, 0) << Items(dialog->lbLanguages).join(QLatin1Char(',')).toStdString();
    dialog->lbLanguages->setCurrentRow(cobol);
    const QStringList before = dialog->Extensions();
    ASSERT_FALSE(before.isEmpty());

    dialog->AddClick();
    dialog->grExtensions->item(dialog->grExtensions->rowCount() - 1, 0)
            ->setText(QStringLiteral("cob"));
    dialog->SaveClick();
    EXPECT_EQ(m_told.last(),
              QStringLiteral("First character must be a dot (.), change the Extension."));
    dialog->grExtensions->item(dialog->grExtensions->rowCount() - 1, 0)->setText(QString());
    dialog->SaveClick();
    EXPECT_EQ(m_told.last(),
              QStringLiteral("At least a dot (.) must be entered, change the Extension."));
    dialog->grExtensions->item(dialog->grExtensions->rowCount() - 1, 0)
            ->setText(QStringLiteral(".cob"));
    dialog->SaveClick();
    EXPECT_FALSE(dialog->Modified());

    auto again = Open<TVXLanguages>();
    again->lbLanguages->setCurrentRow(cobol);
    EXPECT_EQ(again->Extensions(), before + QStringList{QStringLiteral(".cob")});
    // Down to one extension; that one cannot go.
    while (again->grExtensions->rowCount() > 1) {
        again->grExtensions->setCurrentCell(0, 0);
        again->DeleteClick();
    }
    again->grExtensions->setCurrentCell(0, 0);
    again->DeleteClick();
    EXPECT_EQ(m_told.last(),
              QStringLiteral("At least one file extension need to exist, delete not allowed."));
    EXPECT_EQ(again->grExtensions->rowCount(), 1);
    // Unsaved: Close asks, and Yes closes without saving.
    m_answer = true;
    again->show();
    again->CloseClick();
    EXPECT_EQ(m_asked.last(), QStringLiteral("Unsaved changes will be lost. Close anyway?"));
    EXPECT_FALSE(again->isVisible());
    auto third = Open<TVXLanguages>();
    third->lbLanguages->setCurrentRow(cobol);
    EXPECT_EQ(third->Extensions(), before + QStringList{QStringLiteral(".cob")});
}

TEST_F(DialogsTest, PropertiesEditTheWindowThatOwnsThem)
{
    TVXFormInterface window(nullptr, &m_session->Service(), QString(),
                            QStringLiteral("VN_FirstDataBase"), QStringLiteral("Query [1]"));
    window.ComposedBy = QStringLiteral("Analyst");
    TVXProperties properties(&window, &m_session->Service());
    EXPECT_EQ(properties.windowTitle(), QStringLiteral("Properties"));
    EXPECT_EQ(properties.edTitle->text(), QStringLiteral("Query [1]"));
    EXPECT_EQ(properties.edComposedBy->text(), QStringLiteral("Analyst"));
    EXPECT_EQ(properties.cbSourceDatabase->currentText(), QStringLiteral("VN_FirstDataBase"));
    EXPECT_TRUE(properties.edLastLoad->isReadOnly());
    properties.edTitle->setText(QStringLiteral("Moves"));
    properties.mmoComments->setPlainText(QStringLiteral("who moves what"));
    properties.SaveClick();
    EXPECT_EQ(window.Title, QStringLiteral("Moves"));
    EXPECT_EQ(window.Comments, QStringLiteral("who moves what"));

    TVXRepositories repositories(nullptr, &m_session->Service());
    EXPECT_EQ(repositories.clRepositories->count(), 4);
    TVXExport exporting(nullptr, &m_session->Service());
    EXPECT_EQ(exporting.cbSourceDatabase->itemText(0), QStringLiteral("Local"));
    EXPECT_TRUE(exporting.edDirectory->text().endsWith(QLatin1String("MyExport")));
}

TEST_F(DialogsTest, MiddlewareDefinitionsAreCheckedSavedAndTried)
{
    auto dialog = Open<TVXMiddleWare>();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("MiddleWare"));
    dialog->AddClick();
    EXPECT_TRUE(dialog->Editing());
    EXPECT_FALSE(dialog->lbMiddleware->isEnabled()) << "the list waits while a row is edited";
    EXPECT_EQ(dialog->Edits[QStringLiteral("VXMiddleWare")]->text(), QStringLiteral("UnNamed"));
    EXPECT_EQ(dialog->cbWordType->currentText(), QStringLiteral("Any Executable Word"));
    auto set = [&](const char *column, const char *text) {
        dialog->Edits[QLatin1String(column)]->setText(QLatin1String(text));
    };
    const std::pair<std::pair<const char *, const char *>, const char *> steps[] = {
            {{"VXMiddleWare", "UnNamed"},
             "The default Name 'UnNamed' is not valid, change the Name."},
            {{"VXMiddleWare", "MQ"}, "Word for the middleware is missing, enter a Word."},
            {{"VXWord", "MQPUT"},
             "Hardcoded ObjectIdentifier or at least one Offset must be used (value greater than "
             "0)."},
            {{"VXOffsetToEntryName", "x"}, "Enter a number."},
            {{"VXOffsetToEntryName", "2"}, "Scope for the middleware is missing, enter a Name."},
    };
    for (const auto &[field, message] : steps) {
        set(field.first, field.second);
        dialog->SaveClick();
        ASSERT_FALSE(m_told.isEmpty());
        EXPECT_EQ(m_told.last(), QLatin1String(message)) << field.first;
    }
    set("VXAttributeScope2", "VN_FirstDataBase");
    m_told.clear();
    dialog->SaveClick();
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(dialog->Editing());
    EXPECT_EQ(Items(dialog->lbMiddleware), QStringList{QStringLiteral("MQ")});

    // Tried on the (empty) repository: nothing found, said so.
    TVXMiddleWareTest *test = nullptr;
    dialog->TestOpened = [&](TVXToolDialog *opened) {
        test = qobject_cast<TVXMiddleWareTest *>(opened);
        ASSERT_NE(test, nullptr);
        EXPECT_EQ(test->windowTitle(), QStringLiteral("Test of MiddleWare MQ"));
        test->cbDatabase->setCurrentText(QStringLiteral("VN_FirstDataBase"));
        EXPECT_EQ(test->grResult->rowCount(), 0);
        EXPECT_EQ(
                test->lbMessage->text(),
                QStringLiteral("No hits on Word MQPUT of type Any Executable Word in given Scope"));
        EXPECT_EQ(test->grResult->horizontalHeaderItem(0)->text(),
                  QStringLiteral("FoundStatement"));
    };
    dialog->TestClick();
    EXPECT_NE(test, nullptr);

    auto again = Open<TVXMiddleWare>();
    EXPECT_EQ(Items(again->lbMiddleware), QStringList{QStringLiteral("MQ")});
    EXPECT_EQ(again->Edits[QStringLiteral("VXOffsetToEntryName")]->text(), QStringLiteral("2"));
}

TEST_F(DialogsTest, EditorSettingsAreSavedPerLanguage)
{
    auto dialog = Open<TVXEditors>();
    const int cobol = int(Items(dialog->lbLanguages).indexOf(QStringLiteral("IBMCOB")));
    ASSERT_GE(cobol, 0);
    dialog->lbLanguages->setCurrentRow(cobol);
    EXPECT_GE(dialog->cbFindShortcut->findText(QStringLiteral("SHIFT+CTRL+F")), 0);
    dialog->edEditorName->setText(QStringLiteral("vim"));
    dialog->edStartCommand->setText(QStringLiteral("/usr/bin/vim \"%1\""));
    dialog->cbFindShortcut->setCurrentText(QStringLiteral("CTRL+F"));
    dialog->SaveClick();
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();

    auto again = Open<TVXEditors>();
    again->lbLanguages->setCurrentRow(cobol);
    EXPECT_EQ(again->edEditorName->text(), QStringLiteral("vim"));
    EXPECT_EQ(again->edStartCommand->text(), QStringLiteral("/usr/bin/vim \"%1\""));
    EXPECT_EQ(again->cbFindShortcut->currentText(), QStringLiteral("CTRL+F"));
    EXPECT_FALSE(again->Modified());
}

} // namespace

// Keyboard users reach every control: each "&" label leads to its field, and Tab from the
// first control visits every enabled one before it comes round again.
template<class Dialog>
void ExpectKeyboardReachesEverything(Dialog &dialog)
{
    SCOPED_TRACE(dialog.windowTitle().toStdString());
    dialog.show();
    QCoreApplication::processEvents();
    for (const QLabel *label : dialog.template findChildren<QLabel *>()) {
        if (label->isVisible() && label->text().contains(QLatin1Char('&'))) {
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        }
    }
    QList<QWidget *> focusable;
    for (QWidget *widget : dialog.template findChildren<QWidget *>()) {
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
            && !widget->focusProxy())
            focusable << widget;
    }
    ASSERT_FALSE(focusable.isEmpty());
    QSet<QWidget *> visited;
    QWidget *widget = focusable.first();
    for (int steps = 0; steps < 10 * focusable.size(); ++steps) {
        if (focusable.contains(widget))
            visited.insert(widget);
        widget = widget->nextInFocusChain();
        if (widget == focusable.first())
            break;
    }
    for (QWidget *widget : focusable)
        EXPECT_TRUE(visited.contains(widget))
                << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    dialog.hide();
}

TEST_F(DialogsTest, EveryDialogCanBeWorkedFromTheKeyboard)
{
    ExpectKeyboardReachesEverything(*Open<TVXSourceDatabases>());
    ExpectKeyboardReachesEverything(*Open<TVXLanguages>());
    ExpectKeyboardReachesEverything(*Open<TVXEditors>());
    ExpectKeyboardReachesEverything(*Open<TVXMiddleWare>());
    ExpectKeyboardReachesEverything(*Open<TVXRepositories>());
    ExpectKeyboardReachesEverything(*Open<TVXExport>());
}
