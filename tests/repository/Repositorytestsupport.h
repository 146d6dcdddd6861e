// SPDX-License-Identifier: GPL-3.0-or-later
// The drivers under test and a fixture that gives each test an empty repository.
#pragma once

#include "Testsupport.h"

#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

struct DriverCase
{
    const char *Name;
    const char *ClassName;
    // The connection text of an empty repository in the given folder.
    std::function<QString(const QString &folder)> Connection;
    bool RefusesOtherDatabase = false;
    bool SkipsRetainingCommit = false;
    bool NeedsPostgres = false;
};

// Test listings show the driver's name instead of the struct's bytes.
inline void PrintTo(const DriverCase &driver, std::ostream *out)
{
    *out << driver.Name;
}

std::vector<DriverCase> DriverCases();
std::string DriverCaseName(const ::testing::TestParamInfo<DriverCase> &info);

class RepositoryTest : public ::testing::TestWithParam<DriverCase>
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A new driver object, not connected; destroyed before the packages are unloaded.
    TVXDataAccessInterface *NewDriver();
    // A new driver connected to this test's repository.
    TVXDataAccessInterface *Connected();
    QString Connection() const { return m_connection; }
    QString Folder() const { return m_folder.path() + QLatin1Char('/'); }

    // Reads one column of every row of a selection, in reading order.
    static QStringList Column(TVXDataAccessInterface *db, const QString &table,
                              const QString &condition, const QString &field);

    VXTest::Home m_home;
    QTemporaryDir m_folder;
    std::unique_ptr<VXTest::PackageFolder> m_packages;
    std::unique_ptr<TVXPackageLoader> m_loader;
    std::vector<std::unique_ptr<TVXDataAccessInterface>> m_drivers;
    QString m_connection;
};

// The cluster the ODBC tests use; empty when the test run did not start one.
QString PostgresPort();
