// SPDX-License-Identifier: GPL-3.0-or-later
#include "Testsupport.h"
#include "base/Classregistry.h"
#include "base/Exception.h"

#include "shell/Packageloader.h"

#include <gtest/gtest.h>

using VXTest::PackageFolder;

namespace {

QStringList FileNames(const QStringList &packageList)
{
    QStringList names;
    for (const QString &entry : packageList) {
        bool numeric = false;
        entry.section(QLatin1Char(':'), 0, 0).toULongLong(&numeric);
        EXPECT_TRUE(numeric) << entry.toStdString();
        names << entry.section(QLatin1Char(':'), 1);
    }
    return names;
}

QString CheckPackagesError(const QStringList &packages)
{
    PackageFolder folder(packages);
    TVXPackageLoader loader(folder.Path());
    try {
        loader.CheckPackages();
    } catch (const TVXException &e) {
        return e.Message();
    }
    return {};
}

} // namespace

TEST(PackageLoader, NamedPackagesFirstThenTheCoreFamilyByName)
{
    PackageFolder folder({QStringLiteral("vxlib9999.so=fx_lang_b.so"),
                          QStringLiteral("vxlib1000.so=fx_windows.so"),
                          QStringLiteral("vxlib2000.so=fx_failinit.so"),
                          QStringLiteral("vxlib0500.so=fx_lang_a.so"),
                          QStringLiteral("vxlib0220.so=fx_driver_odbc.so"),
                          QStringLiteral("vxlib5000.so=fx_driver_interbase.so"),
                          QStringLiteral("other.so=fx_noentry.so")});
    TVXPackageLoader loader(folder.Path());
    loader.CheckPackages();

    // vxlib2000 fails to initialise and is skipped without a word; vxlib5000 and other.so
    // are neither named nor of the vxlib0 family.
    EXPECT_EQ(FileNames(loader.PackageList()),
              (QStringList{QStringLiteral("vxlib1000.so"), QStringLiteral("vxlib9999.so"),
                           QStringLiteral("vxlib0100.so"), QStringLiteral("vxlib0220.so"),
                           QStringLiteral("vxlib0500.so")}));
    const auto failed
            = std::find_if(loader.Records().cbegin(), loader.Records().cend(),
                           [](const auto &r) { return r.Status == TVXPackageRecord::Failed; });
    ASSERT_NE(failed, loader.Records().cend()) << "the skipped package still leaves a record";
    EXPECT_EQ(failed->FileName, QStringLiteral("vxlib2000.so"));
    EXPECT_TRUE(failed->Error.contains(QStringLiteral("the fixture refuses to start")));

    EXPECT_EQ(loader.Description(QStringLiteral("vxlib0220.so")), QStringLiteral("ODBCDB"));
    EXPECT_EQ(loader.Description(QStringLiteral("vxlib0500.so")), QStringLiteral("LangDef_TESTA"));
    EXPECT_EQ(loader.Description(QStringLiteral("vxlib1000.so")), QString());

    EXPECT_TRUE(VXClassRegistry().Contains(QStringLiteral("TVXView")));
    EXPECT_TRUE(VXClassRegistry().Contains(QStringLiteral("TVXODBCDB")));
    EXPECT_EQ(VXClassRegistry().PackageOf(QStringLiteral("TVXODBCDB")),
              QStringLiteral("vxlib0220.so"));
    loader.UnloadAll();
    EXPECT_FALSE(VXClassRegistry().Contains(QStringLiteral("TVXView")))
            << "unloading a package removes its classes";
    EXPECT_FALSE(VXClassRegistry().Contains(QStringLiteral("TVXBaseFunctions")));
    EXPECT_TRUE(loader.PackageList().isEmpty());
}

TEST(PackageLoader, AFailingCorePackageAbortsStartUp)
{
    const QString failing = CheckPackagesError({QStringLiteral("vxlib0300.so=fx_failinit.so")});
    EXPECT_TRUE(failing.startsWith(QStringLiteral("CheckPackages: "))) << failing.toStdString();
    EXPECT_TRUE(failing.contains(QStringLiteral("vxlib0300.so"))) << failing.toStdString();
    EXPECT_TRUE(failing.contains(QStringLiteral("the fixture refuses to start")));

    const QString noEntry = CheckPackagesError({QStringLiteral("vxlib0301.so=fx_noentry.so")});
    EXPECT_TRUE(noEntry.startsWith(QStringLiteral("CheckPackages: "))) << noEntry.toStdString();
    EXPECT_TRUE(noEntry.contains(QStringLiteral("not a Velunor package"))) << noEntry.toStdString();

    const QString duplicate = CheckPackagesError({QStringLiteral("vxlib0302.so=fx_duplicate.so")});
    EXPECT_TRUE(duplicate.contains(
            QStringLiteral("Class TVXBaseFunctions is already registered by vxlib0100.so")))
            << duplicate.toStdString();

    const QString missing = CheckPackagesError({QStringLiteral("vxlib0303.so=fx_missingdep.so")});
    EXPECT_TRUE(missing.startsWith(QStringLiteral("CheckPackages: ")));
    EXPECT_TRUE(missing.contains(QStringLiteral("fx_absent"))) << missing.toStdString();

    EXPECT_FALSE(VXClassRegistry().Contains(QStringLiteral("TVXBaseFunctions")))
            << "an aborted start leaves nothing registered once the loader is gone";
}

TEST(PackageLoader, AnEmptyFolderLoadsNothing)
{
    QTemporaryDir empty;
    TVXPackageLoader loader(empty.path() + QLatin1Char('/'));
    EXPECT_NO_THROW(loader.CheckPackages());
    EXPECT_TRUE(loader.PackageList().isEmpty());
}
