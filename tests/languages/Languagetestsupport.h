// SPDX-License-Identifier: GPL-3.0-or-later
// Parses sources written by a test with a language package and reads back what was stored.
#pragma once

#include "Testsupport.h"

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Rowloop.h"
#include "repository/Dataaccessinterface.h"

#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

// One stored row of a query, by upper-case column name.
using StoredRow = QVariantMap;

inline QString V(const StoredRow &row, const char *column)
{
    return row.value(QLatin1String(column)).toString();
}

inline int I(const StoredRow &row, const char *column)
{
    return row.value(QLatin1String(column)).toInt();
}

class LanguageTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The registered definition "TVXLangDef_" + name, created as the loader creates it.
    TVXLanguageDefinitionsInterface *Language(const QString &name);
    // Writes the rows (joined with LF, no final line end unless given) into the test's
    // folder and parses them; returns the new file's id.
    int Parse(const QString &language, const QString &fileName, const QStringList &rows);
    int ParseFile(const QString &language, const QString &path);
    QString WriteSource(const QString &fileName, const QByteArray &content);

    QList<StoredRow> Select(const QString &sql);
    // Words of a file in stored order, optionally only those of one type.
    QList<StoredRow> Words(int fileID, int type = 0);
    QStringList WordTexts(int fileID, int type);
    QList<StoredRow> Objects(int fileID);
    QList<StoredRow> Entries(int fileID);
    // The first word of the file with this text.
    StoredRow Word(int fileID, const QString &text);

    // A fixed-format row: text from column 8 (area A), with a sequence number in 1-6.
    static QString AreaA(const QString &text, int sequence = 0);
    static QString AreaB(const QString &text, int sequence = 0);
    static QString Comment(const QString &text);

    VXTest::Home m_home;
    QTemporaryDir m_folder;
    std::unique_ptr<VXTest::PackageFolder> m_packages;
    std::unique_ptr<TVXPackageLoader> m_loader;
    std::unique_ptr<TVXDataAccessInterface> m_db;
    std::vector<std::unique_ptr<TVXLanguageDefinitionsInterface>> m_languages;
    int m_nextFileID = 1;
    TVXFileParseResult m_lastParse;
};
