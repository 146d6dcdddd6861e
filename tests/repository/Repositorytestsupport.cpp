// SPDX-License-Identifier: GPL-3.0-or-later
#include "Repositorytestsupport.h"

#include "base/Classregistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString CreatePostgresDatabase()
{
    static int serial = 0;
    const QString name
            = QStringLiteral("vx_%1_%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    const QString server = QStringLiteral("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;"
                                          "Uid=postgres;Pwd=;")
                                   .arg(PostgresPort());
    {
        QSqlDatabase admin
                = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("pgadmin"));
        admin.setDatabaseName(server + QStringLiteral("Database=postgres;"));
        EXPECT_TRUE(admin.open()) << admin.lastError().text().toStdString();
        QSqlQuery create(admin);
        EXPECT_TRUE(create.exec(QStringLiteral("CREATE DATABASE ") + name))
                << create.lastError().text().toStdString();
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pgadmin"));
    return server + QStringLiteral("Database=") + name + QLatin1Char(';');
}

} // namespace

QString PostgresPort()
{
    QFile file(QStringLiteral(VELUNOR_PG_FOLDER "/port"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).trimmed();
}

std::vector<DriverCase> DriverCases()
{
    return {
            {"InMemory", "TVXInMemoryDB",
             [](const QString &folder) { return folder + QStringLiteral("repository.sqlite"); },
             true},
            {"InterBase", "TVXInterBaseDB",
             [](const QString &folder) { return folder + QStringLiteral("repository.fdb"); }, true},
            {"OdbcSqlite", "TVXODBCDB",
             [](const QString &folder) {
                 return QStringLiteral("Driver={SQLite3};Database=") + folder
                        + QStringLiteral("odbc.sqlite;");
             },
             false, true},
            {"OdbcPostgres", "TVXODBCDB", [](const QString &) { return CreatePostgresDatabase(); },
             false, true, true},
    };
}

std::string DriverCaseName(const ::testing::TestParamInfo<DriverCase> &info)
{
    return info.param.Name;
}

void RepositoryTest::SetUp()
{
    if (GetParam().NeedsPostgres && PostgresPort().isEmpty())
        GTEST_SKIP() << "no PostgreSQL cluster: run through ctest, which starts one";
    m_packages = std::make_unique<VXTest::PackageFolder>(
            QStringList{QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0210.so"),
                        QStringLiteral("vxlib0220.so")});
    m_loader = std::make_unique<TVXPackageLoader>(m_packages->Path());
    m_loader->CheckPackages();
    m_connection = GetParam().Connection(Folder());
}

void RepositoryTest::TearDown()
{
    m_drivers.clear();
    if (m_loader)
        m_loader->UnloadAll();
}

TVXDataAccessInterface *RepositoryTest::NewDriver()
{
    auto driver = VXClassRegistry().Create<TVXDataAccessInterface>(
            QString::fromLatin1(GetParam().ClassName), static_cast<QObject *>(nullptr));
    EXPECT_NE(driver, nullptr);
    m_drivers.emplace_back(driver);
    return driver;
}

TVXDataAccessInterface *RepositoryTest::Connected()
{
    TVXDataAccessInterface *driver = NewDriver();
    EXPECT_EQ(driver->Connect(m_connection), 1);
    return driver;
}

QStringList RepositoryTest::Column(TVXDataAccessInterface *db, const QString &table,
                                   const QString &condition, const QString &field)
{
    QStringList values;
    const int handle = db->GetTable(table);
    const int index = db->GetField(handle, field);
    for (bool found = db->SelectBegin(handle, condition); found; found = db->SelectNext(handle))
        values << db->GetFieldValue(handle, index).toString();
    return values;
}
