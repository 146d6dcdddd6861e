// SPDX-License-Identifier: GPL-3.0-or-later
// Every source of the golden cases, cut short at many points, as a transfer that broke off
// leaves it: each language parses what is there, stores it and stops.
#include "Languagetestsupport.h"
#include "base/Classregistry.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

class TruncationTest : public LanguageTest
{
};

// Every language that a golden case holds sources of.
constexpr const char *Languages[]
        = {"IBMCOB", "VMSCOB", "UnisysCOB", "PL1",     "IBMJCL", "EzeRetrieve",
           "BMS",    "VAG45",  "IBMOPC",    "AnsiSQL", "MSSQL",  "UnisysSQL",
           "VB6",    "TSL",    "CPP",       "Delphi6", "DotNet", "PB7"};

TEST_F(TruncationTest, EveryGoldenInputCutShortParsesAndStops)
{
    // The language of each extension, as the loader finds it.
    QHash<QString, QString> languageOf;
    for (const char *name : Languages) {
        const TVXLanguageDefinitionsInterface *definition = Language(QLatin1String(name));
        ASSERT_NE(definition, nullptr) << name;
        for (const QString &extension :
             definition->FileExtensions().split(QLatin1Char(';'), Qt::SkipEmptyParts))
            languageOf.insert(extension.mid(1).toLower(), QLatin1String(name));
    }
    QSet<QString> languagesSeen;
    int cuts = 0;
    QDirIterator it(QStringLiteral(VELUNOR_SOURCE_DIR "/tests/languages"), QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo source(it.next());
        const QString language = languageOf.value(source.suffix().toLower());
        if (language.isEmpty())
            continue;
        languagesSeen.insert(language);
        QFile file(source.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        // About 25 cuts per file, and the cuts that end a literal or comment half-way.
        const qsizetype step = std::max<qsizetype>(1, content.size() / 25);
        for (qsizetype length = 1; length < content.size(); length += step) {
            SCOPED_TRACE(QStringLiteral("%1 cut at %2")
                                 .arg(source.filePath())
                                 .arg(length)
                                 .toStdString());
            const int fileID
                    = ParseFile(language, WriteSource(QStringLiteral("cut.") + source.suffix(),
                                                      content.left(length)));
            EXPECT_GE(m_lastParse.Rows, 1);
            // What was cut is stored: the rows up to the cut, each one once.
            EXPECT_EQ(Select(QStringLiteral("SELECT VXRowID FROM VXROW WHERE VXFileID = %1")
                                     .arg(fileID))
                              .size(),
                      m_lastParse.Rows);
            ++cuts;
        }
    }
    EXPECT_EQ(languagesSeen.size(), std::size(Languages))
            << QStringList(languagesSeen.values()).join(QLatin1Char(' ')).toStdString();
    EXPECT_GT(cuts, 300);
}

} // namespace
