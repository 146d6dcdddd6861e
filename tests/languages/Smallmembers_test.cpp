// SPDX-License-Identifier: GPL-3.0-or-later
// The project-file and data-file members.
#include "Languagetestsupport.h"

namespace {

using SmallMembersTest = LanguageTest;

TEST_F(SmallMembersTest, ProjectFileListsItsSourcesAsPackageMembers)
{
    const int file = Parse(
            QStringLiteral("CPP_MSExt"), QStringLiteral("hello.dsp"),
            {QStringLiteral("# Microsoft Developer Studio Project File - Name=\"hello\" - Package "
                            "Owner=<4>"),
             QStringLiteral(
                     "# Microsoft Developer Studio Generated Build File, Format Version 6.00"),
             QStringLiteral("!IF  \"$(CFG)\" == \"hello - Win32 Release\""),
             QStringLiteral("!ENDIF"), QStringLiteral("# Begin Source File"),
             QStringLiteral("SOURCE=.\\main.cpp"), QStringLiteral("# End Source File"),
             QStringLiteral("# Begin Source File"), QStringLiteral("SOURCE=.\\main.h"),
             QStringLiteral("# End Source File"), QStringLiteral("# Begin Source File"),
             QStringLiteral("SOURCE=.\\greeter.cpp"), QStringLiteral("# End Source File")});
    const QList<StoredRow> packages = Select(
            QStringLiteral("SELECT * FROM VXPACKAGE WHERE VXFileID = %1 ORDER BY VXContentCounter")
                    .arg(file));
    QStringList members;
    for (const StoredRow &package : packages)
        members << V(package, "VXPACKAGENAME") + QLatin1Char(':') + V(package, "VXOBJECTNAME");
    EXPECT_EQ(members,
              (QStringList{QStringLiteral("hello:main"), QStringLiteral("hello:greeter")}));
    ASSERT_EQ(packages.size(), 2);
    EXPECT_EQ(I(packages[0], "VXPACKAGEID"), I(packages[1], "VXPACKAGEID"));
}

TEST_F(SmallMembersTest, DataFileIsOneObjectTypedByItsExtension)
{
    const int table = ParseFile(
            QStringLiteral("DataFiles"),
            WriteSource(QStringLiteral("PAY.RATES.data_TBL"), "RATE 01 0.25\fRATE 02, 0.30\n"));
    const QList<StoredRow> objects = Objects(table);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(V(objects[0], "VXOBJECTNAME"), QStringLiteral("PAY.RATES"));
    EXPECT_EQ(V(objects[0], "VXOBJECTIDENTIFIER"), QStringLiteral("RATES"));
    EXPECT_EQ(V(objects[0], "VXSCOPEORNAMESPACE"), QStringLiteral("PAY"));
    EXPECT_EQ(V(objects[0], "VXOBJECTTYPE"), QStringLiteral("TBL"));
    EXPECT_EQ(I(objects[0], "VXICON"), 20);
    // The form feed separates words; every word is a data word.
    EXPECT_EQ(WordTexts(table, 9999).mid(0, 4),
              (QStringList{QStringLiteral("RATE"), QStringLiteral("01"), QStringLiteral("0"),
                           QStringLiteral(".")}));
    EXPECT_EQ(Words(table).size(), Words(table, 9999).size());

    const int parameters = ParseFile(QStringLiteral("DataFiles"),
                                     WriteSource(QStringLiteral("nightly.parm"), "X=1\n"));
    ASSERT_EQ(Objects(parameters).size(), 1);
    EXPECT_EQ(V(Objects(parameters)[0], "VXOBJECTTYPE"), QStringLiteral("parm"));
    EXPECT_EQ(I(Objects(parameters)[0], "VXICON"), 22);
}

} // namespace

namespace {

// The sample portfolio shipped with the sources parses cleanly, and its program, map and
// job refer to each other by the identifiers the dependency resolution looks for.
TEST_F(SmallMembersTest, SamplePortfolioParsesAndLinksUp)
{
    const QString samples = QStringLiteral(VELUNOR_SOURCE_DIR "/samples/");
    const int program = ParseFile(QStringLiteral("IBMCOB"),
                                  samples + QStringLiteral("ibmcob/CUST010.ibmcob"));
    const int copy = ParseFile(QStringLiteral("IBMCOB"),
                               samples + QStringLiteral("ibmcob/CUSTREC.ibmcob"));
    const int map = ParseFile(QStringLiteral("BMS"), samples + QStringLiteral("bms/CUSTSET.bms"));
    const int job
            = ParseFile(QStringLiteral("IBMJCL"), samples + QStringLiteral("ibmjcl/CUSTJOB.jcl"));

    auto objectWith = [this](int file, const QString &identifier) {
        return Select(QStringLiteral("SELECT * FROM VXOBJECT WHERE VXFileID = %1 AND "
                                     "VXObjectIdentifier = '%2'")
                              .arg(file)
                              .arg(identifier))
                .size();
    };
    EXPECT_EQ(objectWith(copy, V(Word(program, QStringLiteral("CUSTREC")), "VXOBJECTIDENTIFIER")),
              1);
    const QList<StoredRow> hostNames = Words(program, 1059);
    ASSERT_EQ(hostNames.size(), 1);
    EXPECT_EQ(objectWith(map, V(hostNames[0], "VXOBJECTIDENTIFIER")), 1);
    EXPECT_EQ(objectWith(program, V(Word(job, QStringLiteral("CUSTUPD")), "VXOBJECTIDENTIFIER")),
              0);
    EXPECT_EQ(I(Word(job, QStringLiteral("CUSTUPD")), "VXWORDTYPE"), 1016);
    EXPECT_EQ(I(Word(program, QStringLiteral("CUSTUPD")), "VXWORDTYPE"), 1016);
}

} // namespace
