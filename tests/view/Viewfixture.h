// SPDX-License-Identifier: GPL-3.0-or-later
// A View over a repository loaded from the sample application by velunor-cli, as a user
// would have it: the service object of a started system, the window made by NewWindow.
#pragma once

#include "Testsupport.h"
#include "base/Package.h"

#include "repository/Connection.h"
#include "view/View.h"
#include "view/Viewtreemodel.h"

#include <QDir>
#include <QTreeView>

#include <gtest/gtest.h>

#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QList<QString> &texts, std::ostream *out)
{
    *out << '{';
    for (const QString &text : texts)
        *out << " \"" << text.toStdString() << '"';
    *out << " }";
}

class ViewTest : public ::testing::Test
{
protected:
    int Cli(const QStringList &arguments)
    {
        const VXTest::CliResult result = VXTest::RunCli(m_home.Path(), arguments);
        EXPECT_EQ(result.Code, 0) << result.Err.toStdString();
        return result.Code;
    }
    // The sample application, with or without its system, computer and application.
    void LoadSamples(bool assigned,
                     const QString &folder = QStringLiteral(VELUNOR_SOURCE_DIR "/samples/billing"))
    {
        for (const auto &[language, list] : {std::pair{"IBMCOB", ".cbl;.cpy"},
                                             std::pair{"IBMJCL", ".jcl"}, std::pair{"BMS", ".bms"}})
            Cli({QStringLiteral("languages"), QStringLiteral("extensions"), QLatin1String(language),
                 QLatin1String(list)});
        if (!assigned) {
            // The load dialog asks for a system; a repository script or an older load may
            // still leave a folder without one.
            Start();
            TVXConnection db(Service().ConnectDB(QString()));
            db->VXLOAD_Append(QStringLiteral("FOLDER"), folder, QString(), QString(), QString(),
                              QString());
            db->Commit(false, false);
            db.Release();
            Service().LoadDB(QStringLiteral("VN_FirstDataBase"), true, false, QString(), QString());
            return;
        }
        Cli({QStringLiteral("sources"), QStringLiteral("add-folder"), folder,
             QStringLiteral("--system"), QStringLiteral("BILLING"),
             QStringLiteral("--computer-type"), QStringLiteral("MVS"), QStringLiteral("--location"),
             QStringLiteral("PRODUCTION"), QStringLiteral("--application"),
             QStringLiteral("NIGHTLY-BILLING")});
        Cli({QStringLiteral("load")});
    }
    void Start()
    {
        if (m_session)
            return;
        m_packages = std::make_unique<VXTest::PackageFolder>(
                QStringList{QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0520.so"),
                            QStringLiteral("vxlib0521.so"), QStringLiteral("vxlib0525.so")});
        m_registration = std::make_unique<TVXPackageRegistration>(QStringLiteral("view_tests"));
        m_registration->RegisterClass<TVXView>(QStringLiteral("TVXView"));
        m_session = std::make_unique<VXTest::Session>(m_packages->Path());
    }
    void TearDown() override
    {
        m_session.reset();
        m_registration.reset();
    }
    TVXBaseFunctions &Service() { return m_session->Service(); }
    // A new View on the default database, as NewWindow makes it.
    TVXView *OpenView(QObject *sender = nullptr, const QString &detail = QString())
    {
        const QString error
                = Service().NewWindow(QStringLiteral("View"), QString(),
                                      QStringLiteral("VN_FirstDataBase"), sender, detail);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        auto *view = dynamic_cast<TVXView *>(Service().WindowList().last().Window);
        if (view)
            view->AskUser = [this](const QString &question) {
                m_asked << question;
                return false;
            };
        return view;
    }
    static QStringList Captions(TVXView *view, const QModelIndex &parent = {})
    {
        TVXViewTreeModel *model = view->Model();
        if (model->canFetchMore(parent))
            model->fetchMore(parent);
        QStringList captions;
        for (int row = 0; row < model->rowCount(parent); ++row)
            captions << model->Node(model->index(row, 0, parent))->Caption;
        return captions;
    }
    // The child (or root) whose caption begins with the text.
    static QModelIndex Child(TVXView *view, const QString &caption, const QModelIndex &parent = {})
    {
        const QStringList captions = Captions(view, parent);
        for (int row = 0; row < captions.size(); ++row)
            if (captions[row].startsWith(caption))
                return view->Model()->index(row, 0, parent);
        ADD_FAILURE() << "no node " << caption.toStdString() << " among "
                      << captions.join(QStringLiteral(" | ")).toStdString();
        return {};
    }
    static void Select(TVXView *view, const QList<QModelIndex> &indexes)
    {
        view->Tree()->clearSelection();
        for (const QModelIndex &index : indexes)
            view->Tree()->selectionModel()->select(index, QItemSelectionModel::Select);
    }
    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const VXTest::Message &message : m_session->Messages)
            texts << message.Text;
        return texts;
    }

    QStringList m_asked;
    VXTest::Home m_home;
    std::unique_ptr<VXTest::PackageFolder> m_packages;
    std::unique_ptr<TVXPackageRegistration> m_registration;
    std::unique_ptr<VXTest::Session> m_session;
};
