// SPDX-License-Identifier: GPL-3.0-or-later
// The four settings tables across starts of the system.
#include "Testsupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace VXTest;

namespace {

const QStringList WithInMemory = {QStringLiteral("vxlib0200.so=fx_driver_inmemory.so"),
                                  QStringLiteral("vxlib0500.so=fx_lang_a.so")};

void Garble(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("this is not a settings table");
}

} // namespace

TEST(ConfigurationStore, FirstStartCreatesDefaultsWithoutWarnings)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib0200.so=fx_driver_inmemory.so"),
                          QStringLiteral("vxlib0210.so=fx_driver_interbase.so"),
                          QStringLiteral("vxlib0500.so=fx_lang_a.so"),
                          QStringLiteral("vxlib0501.so=fx_lang_b.so")});
    {
        Session session(folder.Path());
        EXPECT_TRUE(session.Messages.isEmpty()) << "nothing was deleted, so nothing to warn of";
        EXPECT_EQ(session.Service().FontName(), QStringLiteral("MS Sans Serif"));
        EXPECT_EQ(session.Service().FontSize(), 8);
        EXPECT_EQ(session.Service().LoadDebug(), nullptr);
    }
    for (const char *name :
         {"VXLIB0110.bin", "VXLIB0120.bin", "VXLIB0130.bin", "VXLIB0140.bin", "VXLIB0110.bind",
          "VXLIB0120.bind", "VXLIB0130.bind", "VXLIB0140.bind"})
        EXPECT_TRUE(QFile::exists(home.File(QString::fromLatin1(name)))) << name;

    TVXConfigurationStore store(home.Path());
    store.Load(TVXConfigurationStore::Databases, {});
    store.Load(TVXConfigurationStore::Languages, {});
    store.Load(TVXConfigurationStore::Middleware, {});
    const TVXConfigTable &databases = store.DatabasesTable();
    ASSERT_EQ(databases.RowCount(), 1);
    EXPECT_EQ(databases.Text(0, QStringLiteral("VX_DBNAME")), QStringLiteral("VN_FirstDataBase"));
    EXPECT_EQ(databases.Text(0, QStringLiteral("VX_DBTYPE")), QStringLiteral("InMemory"));
    EXPECT_EQ(databases.Text(0, QStringLiteral("VX_DBCONNSTRING")),
              home.File(QStringLiteral("VN_FirstDataBase.sqlite")))
            << "the default repository is a file, never lost at exit";
    EXPECT_TRUE(databases.Value(0, QStringLiteral("VX_DBDEFAULT")).toBool());
    const TVXConfigTable &languages = store.LanguagesTable();
    ASSERT_EQ(languages.RowCount(), 2);
    EXPECT_EQ(languages.Value(1, QStringLiteral("VXLanguageID")).toInt(), 90002);
    EXPECT_EQ(languages.Text(1, QStringLiteral("VXLanguageName")), QStringLiteral("TESTB"));
    EXPECT_EQ(languages.Text(1, QStringLiteral("VXFileExtensions")), QStringLiteral(".tb;.tbb;"));
    EXPECT_TRUE(store.MiddlewareTable().IsEmpty());
}

TEST(ConfigurationStore, DriverPreferenceForTheFirstDatabase)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib0210.so=fx_driver_interbase.so"),
                          QStringLiteral("vxlib0220.so=fx_driver_odbc.so")});
    Session session(folder.Path());
    const TVXConfigTable &databases = session.Service().Configuration().DatabasesTable();
    EXPECT_EQ(databases.Text(0, QStringLiteral("VX_DBTYPE")), QStringLiteral("InterBase"));
    EXPECT_EQ(databases.Text(0, QStringLiteral("VX_DBCONNSTRING")),
              home.File(QStringLiteral("VN_FirstDataBase.IB")));
}

TEST(ConfigurationStore, NoDriverStopsStartUp)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib0500.so=fx_lang_a.so")});
    try {
        Session session(folder.Path());
        ADD_FAILURE();
    } catch (const TVXException &e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("TVXBaseFunctions.InitializeFunctions: Default "
                                 "DataBase Connectors are missing, reinstall Velunor."));
    }
}

TEST(ConfigurationStore, ADamagedFileWarnsOnceAndIsRestored)
{
    Home home;
    PackageFolder folder(WithInMemory);
    {
        Session first(folder.Path());
        first.Service().WindowFontChanged(QStringLiteral("DejaVu Sans"), 11);
    }
    Garble(home.File(QStringLiteral("VXLIB0120.bin")));
    Garble(home.File(QStringLiteral("VXLIB0130.bin")));
    {
        Session second(folder.Path());
        ASSERT_EQ(second.Messages.size(), 2);
        EXPECT_EQ(second.Messages[0].Kind, TVXMessageKind::Warning);
        EXPECT_EQ(second.Messages[0].Text,
                  QStringLiteral("The Languages settingsfile is corrupt or incompatible with this "
                                 "version, it has been restored to the default settings."));
        EXPECT_EQ(second.Messages[1].Text,
                  QStringLiteral("The Options settingsfile is corrupt or incompatible with this "
                                 "version, it has been restored to the default settings."));
        EXPECT_EQ(second.Service().Configuration().LanguagesTable().RowCount(), 1)
                << "languages are refilled at once";
        EXPECT_EQ(second.Service().FontName(), QStringLiteral("MS Sans Serif"));
        EXPECT_EQ(second.Service().Configuration().DatabasesTable().RowCount(), 1)
                << "an intact table is left alone";
        EXPECT_TRUE(QFile::exists(home.File(QStringLiteral("VXLIB0120.bin.damaged"))))
                << "the damaged settings are kept aside, not destroyed";
    }
    Session third(folder.Path());
    EXPECT_TRUE(third.Messages.isEmpty()) << "the restored files load cleanly";
}

TEST(ConfigurationStore, NewLanguagePackagesAreAppendedAndEditsSurvive)
{
    Home home;
    {
        PackageFolder folder(WithInMemory);
        Session first(folder.Path());
        TVXConfigTable &languages = first.Service().Configuration().LanguagesTable();
        languages.SetValue(0, QStringLiteral("VXFileExtensions"), QStringLiteral(".cbl;.cob;"));
        languages.SetValue(0, QStringLiteral("VXEditorName"), QStringLiteral("vim"));
        // A row of the same name under another id stops the package's row being added.
        languages.Append({{QStringLiteral("VXLanguageID"), 1},
                          {QStringLiteral("VXLanguageName"), QStringLiteral("TESTB")}});
        first.Service().Configuration().Save(TVXConfigurationStore::Languages);
    }
    PackageFolder wider({QStringLiteral("vxlib0200.so=fx_driver_inmemory.so"),
                         QStringLiteral("vxlib0500.so=fx_lang_a.so"),
                         QStringLiteral("vxlib0501.so=fx_lang_b.so")});
    Session second(wider.Path());
    const TVXConfigTable &languages = second.Service().Configuration().LanguagesTable();
    ASSERT_EQ(languages.RowCount(), 2);
    EXPECT_EQ(languages.Text(0, QStringLiteral("VXFileExtensions")), QStringLiteral(".cbl;.cob;"));
    EXPECT_EQ(languages.Text(0, QStringLiteral("VXEditorName")), QStringLiteral("vim"));
    EXPECT_EQ(languages.Value(1, QStringLiteral("VXLanguageID")).toInt(), 1);
}

TEST(ConfigurationStore, FontSurvivesARestart)
{
    Home home;
    PackageFolder folder(WithInMemory);
    {
        Session first(folder.Path());
        first.Service().WindowFontChanged(QStringLiteral("DejaVu Sans Mono"), 12);
    }
    Session second(folder.Path());
    EXPECT_EQ(second.Service().FontName(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(second.Service().FontSize(), 12);
}

TEST(ConfigurationStore, LoadDebugLogWhenVnIniAsks)
{
    Home home;
    WriteVnIni(home.Path(), QStringLiteral("[APPLICATION]\nLOAD_DEBUG=Yes\n"));
    PackageFolder folder(WithInMemory);
    {
        Session session(folder.Path());
        ASSERT_NE(session.Service().LoadDebug(), nullptr);
        EXPECT_TRUE(session.Service().LoadDebug()->isOpen());
        EXPECT_TRUE(QFile::exists(home.File(QStringLiteral("VN_Load_Debug.txt"))));
    }

    Home other;
    WriteVnIni(other.Path(), QStringLiteral("[APPLICATION]\nLOAD_DEBUG=yes\n"));
    Session exact(folder.Path());
    EXPECT_EQ(exact.Service().LoadDebug(), nullptr) << "only the exact value Yes counts";
}
