// SPDX-License-Identifier: GPL-3.0-or-later
// The Load dialog driven through its widgets: folders added with the checks and questions
// in their order, a nested folder refused, a load run from the dialog over the folder, and
// marked folders deleted with their loaded files.
#include "Testsupport.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Repositoryqueries.h"
#include "shell/Basefunctions.h"
#include "shell/Loaddialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LoadDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_packages = std::make_unique<VXTest::PackageFolder>(
                QStringList{QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0520.so")});
        m_session = std::make_unique<VXTest::Session>(m_packages->Path());
        m_sources = m_home.File(QStringLiteral("billing"));
        QDir().mkpath(m_sources + QStringLiteral("/batch"));
        for (int i = 1; i <= 12; ++i) {
            QFile file(m_sources
                       + QStringLiteral("/batch/PGM%1.ibmcob").arg(i, 3, 10, QLatin1Char('0')));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QStringLiteral("000100 IDENTIFICATION DIVISION.\n"
                                      "000200 PROGRAM-ID. PGM%1.\n"
                                      "000300 PROCEDURE DIVISION.\n"
                                      "000400     CALL 'PGM%2'.\n"
                                      "000500     GOBACK.\n")
                               .arg(i, 3, 10, QLatin1Char('0'))
                               .arg(i % 12 + 1, 3, 10, QLatin1Char('0'))
                               .toLatin1());
        }
    }
    std::unique_ptr<TVXLoad> Open()
    {
        auto dialog = std::make_unique<TVXLoad>(nullptr, &m_session->Service());
        dialog->Tell = [this](const QString &text) { m_told << text; };
        dialog->AskUser = [this](const QString &question) {
            m_asked << question;
            return m_answer;
        };
        dialog->ChooseFolder = [this] { return m_chosen; };
        return dialog;
    }
    int Files()
    {
        TVXDataAccessInterface *db = m_session->Service().ConnectDB(QString());
        const int files = VXRepositoryQueries::Counts(db).Files;
        db->DisConnect();
        return files;
    }

    VXTest::Home m_home;
    std::unique_ptr<VXTest::PackageFolder> m_packages;
    std::unique_ptr<VXTest::Session> m_session;
    QString m_sources;
    QString m_chosen;
    QStringList m_told;
    QStringList m_asked;
    bool m_answer = false;
};

TEST_F(LoadDialogTest, AFolderIsCheckedAskedAboutSavedAndLoaded)
{
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Load"));
    EXPECT_EQ(dialog->ddDATABASE->currentText(), QStringLiteral("VN_FirstDataBase"));
    EXPECT_EQ(dialog->ddFROMDB->itemText(0), QStringLiteral("None"));
    EXPECT_FALSE(dialog->ddFROMDB->isEnabled());
    EXPECT_FALSE(dialog->SaveButton(TVXLoad::Group::Folders)->isEnabled());
    EXPECT_EQ(dialog->cbOptions->count(), 4);

    m_chosen = m_sources;
    dialog->AddClick(TVXLoad::Group::Folders);
    ASSERT_EQ(dialog->Rows(TVXLoad::Group::Folders).size(), 1);
    EXPECT_TRUE(dialog->SaveButton(TVXLoad::Group::Folders)->isEnabled());
    TVXLoadRow *row = dialog->Rows(TVXLoad::Group::Folders).first();
    EXPECT_EQ(row->tbLoadFrom->text(), QDir::toNativeSeparators(m_sources));

    // The checks and questions in their order; No keeps the row open.
    dialog->SaveClick(TVXLoad::Group::Folders);
    ASSERT_FALSE(m_told.isEmpty());
    EXPECT_TRUE(m_told.last().startsWith(QStringLiteral("Systems Name is required.\r")));
    row->cbSystemName->setEditText(QStringLiteral("BILLING"));
    row->cbApplicationName->setEditText(QStringLiteral("NIGHTLY"));
    dialog->SaveClick(TVXLoad::Group::Folders);
    EXPECT_TRUE(m_told.last().startsWith(QStringLiteral(
            "Computers Type and/or Location is required when Applications Name is given.")));
    row->cbApplicationName->setEditText(QString());
    dialog->SaveClick(TVXLoad::Group::Folders);
    ASSERT_FALSE(m_asked.isEmpty());
    EXPECT_TRUE(m_asked.last().startsWith(QStringLiteral("Only Systems Name is given.\r")));
    EXPECT_TRUE(dialog->SaveButton(TVXLoad::Group::Folders)->isEnabled()) << "still unsaved";
    m_answer = true;
    dialog->SaveClick(TVXLoad::Group::Folders);
    EXPECT_FALSE(dialog->SaveButton(TVXLoad::Group::Folders)->isEnabled());
    ASSERT_EQ(dialog->Rows(TVXLoad::Group::Folders).size(), 1);
    EXPECT_EQ(dialog->Rows(TVXLoad::Group::Folders).first()->cbSystemName->currentText(),
              QStringLiteral("BILLING"));

    // A folder inside a source is one already.
    m_told.clear();
    m_chosen = m_sources + QStringLiteral("/batch");
    dialog->AddClick(TVXLoad::Group::Folders);
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_EQ(
            m_told.first(),
            QStringLiteral("Folder or subfolder is allready subject to Load, choose other Folder"));
    EXPECT_EQ(dialog->Rows(TVXLoad::Group::Folders).size(), 1);

    // Load runs over the saved folder and the dialog lists its sources again.
    dialog->LoadClick();
    EXPECT_EQ(Files(), 12);
    EXPECT_EQ(dialog->Rows(TVXLoad::Group::Folders).size(), 1);
    QFile log(m_home.File(QStringLiteral("LoadLog.txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("*** Load Finished at "));

    // A marked folder goes, with the files loaded from it, after the question.
    m_asked.clear();
    dialog->Rows(TVXLoad::Group::Folders).first()->cbDelete->setChecked(true);
    EXPECT_TRUE(dialog->DeleteButton(TVXLoad::Group::Folders)->isEnabled());
    dialog->DeleteClick(TVXLoad::Group::Folders);
    EXPECT_EQ(m_asked, QStringList{QStringLiteral(
                               "Loaded files from marked Folders will be deleted from your "
                               "DataBase, Continue?")});
    EXPECT_TRUE(dialog->Rows(TVXLoad::Group::Folders).isEmpty())
            << m_told.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Files(), 0);
}

TEST_F(LoadDialogTest, ClosingWithAnUnsavedFolderAsksFirst)
{
    auto dialog = Open();
    m_chosen = m_sources;
    dialog->AddClick(TVXLoad::Group::Folders);
    dialog->show();
    dialog->CloseClick();
    EXPECT_EQ(m_asked, QStringList{QStringLiteral("Unsaved changes will be lost. Close anyway?")});
    EXPECT_TRUE(dialog->isVisible());
    dialog->CancelClick(TVXLoad::Group::Folders);
    EXPECT_TRUE(dialog->Rows(TVXLoad::Group::Folders).isEmpty());
    dialog->CloseClick();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(m_asked.size(), 1);
}

TEST_F(LoadDialogTest, AFolderThatVanishedBeforeSaveIsNamedAndNothingIsSaved)
{
    auto dialog = Open();
    const QString gone = m_home.File(QStringLiteral("gone"));
    QDir().mkpath(gone);
    m_chosen = gone;
    dialog->AddClick(TVXLoad::Group::Folders);
    ASSERT_EQ(dialog->Rows(TVXLoad::Group::Folders).size(), 1);
    dialog->Rows(TVXLoad::Group::Folders).first()->cbSystemName->setEditText(QStringLiteral("S"));
    dialog->Rows(TVXLoad::Group::Folders)
            .first()
            ->cbComputerType->setEditText(QStringLiteral("Server"));
    dialog->Rows(TVXLoad::Group::Folders)
            .first()
            ->cbApplicationName->setEditText(QStringLiteral("A"));
    ASSERT_TRUE(QDir(gone).removeRecursively());
    dialog->SaveClick(TVXLoad::Group::Folders);
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_EQ(m_told.first(), QStringLiteral("The folder does not exist: ") + gone);
    EXPECT_TRUE(dialog->SaveButton(TVXLoad::Group::Folders)->isEnabled()) << "the row stays open";
    auto again = Open();
    EXPECT_TRUE(again->Rows(TVXLoad::Group::Folders).isEmpty());
}

} // namespace
