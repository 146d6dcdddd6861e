// SPDX-License-Identifier: GPL-3.0-or-later
// IBM JCL: jobs, procedures, steps, programs, data sets and includes.
#include "Languagetestsupport.h"

namespace {

class IbmJclTest : public LanguageTest
{
protected:
    int ParsePayrollJob()
    {
        return Parse(QStringLiteral("IBMJCL"), QStringLiteral("PAYJOB1.jcl"),
                     {QStringLiteral("//PAYJOB1  JOB (ACCT),'PAYROLL RUN',CLASS=A,MSGCLASS=X"),
                      QStringLiteral("//* NIGHTLY PAYROLL, EXEC PGM=NOTME"),
                      QStringLiteral("//         JCLLIB ORDER=(PAY.PROCLIB,SYS1.PROCLIB)"),
                      QStringLiteral("//PAYPROC  PROC"),
                      QStringLiteral("//PSTEP    EXEC PGM=PAYUTIL"),
                      QStringLiteral("//         PEND"),
                      QStringLiteral("//STEP01   EXEC PGM=CUST010,PARM='X',"),
                      QStringLiteral("//             REGION=0M"),
                      QStringLiteral("//INPUT    DD DSN=PAY.MASTER.FILE,DISP=SHR"),
                      QStringLiteral("//         INCLUDE MEMBER=COMMONDD"),
                      QStringLiteral("//STEP02   EXEC PAYPROC"),
                      QStringLiteral("//STEP03   EXEC PROC=PAYPROC"),
                      QStringLiteral("//DD       DD DSNAME=PAY.REPORT,DISP=(NEW,CATLG)"),
                      QStringLiteral("//SYSIN    DD *"), QStringLiteral("  EXEC PGM=DATAONLY"),
                      QStringLiteral("/*"), QStringLiteral("//")});
    }
};

TEST_F(IbmJclTest, JobsAndProceduresAreObjects)
{
    const int file = ParsePayrollJob();
    QStringList objects;
    for (const StoredRow &object : Objects(file))
        objects << V(object, "VXOBJECTNAME") + QLatin1Char(':') + V(object, "VXOBJECTTYPE");
    EXPECT_EQ(objects,
              (QStringList{QStringLiteral("PAYJOB1.jcl:JCL_MEMBER"),
                           QStringLiteral("PAYJOB1:JCL_JOB"), QStringLiteral("PAYPROC:JCL_PROC")}));
}

TEST_F(IbmJclTest, StepsAreEntriesOfTheirJobOrProcedure)
{
    const int file = ParsePayrollJob();
    QMap<int, QString> objectNames;
    for (const StoredRow &object : Objects(file))
        objectNames[I(object, "VXOBJECTID")] = V(object, "VXOBJECTNAME");
    QStringList steps;
    for (const StoredRow &entry : Entries(file))
        steps << objectNames.value(I(entry, "VXOBJECTID")) + QLatin1Char('.')
                         + V(entry, "VXENTRYNAME");
    EXPECT_EQ(steps,
              (QStringList{QStringLiteral("PAYJOB1.STEP01"), QStringLiteral("PAYJOB1.STEP02"),
                           QStringLiteral("PAYJOB1.STEP03"), QStringLiteral("PAYPROC.PSTEP")}));
}

TEST_F(IbmJclTest, ProgramsProceduresDataSetsAndIncludes)
{
    const int file = ParsePayrollJob();
    EXPECT_EQ(WordTexts(file, 1016),
              (QStringList{QStringLiteral("PAYUTIL"), QStringLiteral("CUST010"),
                           QStringLiteral("PAYPROC"), QStringLiteral("PAYPROC")}));
    // PGM= names a program in the identifier; EXEC and PROC= name a procedure.
    for (const StoredRow &call : Words(file, 1016))
        EXPECT_EQ(V(call, "VXOBJECTIDENTIFIER"),
                  V(call, "VXWORD") == QLatin1String("PAYPROC") ? QString() : V(call, "VXWORD"));
    // The libraries of JCLLIB are data sets, not members.
    EXPECT_EQ(WordTexts(file, 1072),
              (QStringList{QStringLiteral("PAY.PROCLIB"), QStringLiteral("SYS1.PROCLIB"),
                           QStringLiteral("PAY.MASTER.FILE"), QStringLiteral("PAY.REPORT")}));
    EXPECT_EQ(WordTexts(file, 1065), (QStringList{QStringLiteral("COMMONDD")}));
    // DD names are declarations, also one that looks like a keyword.
    EXPECT_EQ(WordTexts(file, 1011), (QStringList{QStringLiteral("INPUT"), QStringLiteral("DD"),
                                                  QStringLiteral("SYSIN")}));
    // Comments and in-stream data name nothing.
    EXPECT_FALSE(WordTexts(file, 1016).contains(QStringLiteral("NOTME")));
    EXPECT_FALSE(WordTexts(file, 1016).contains(QStringLiteral("DATAONLY")));
}

TEST_F(IbmJclTest, ContinuationRowsShareTheStatement)
{
    const int file = ParsePayrollJob();
    const int step = I(Word(file, QStringLiteral("STEP01")), "VXROWID");
    EXPECT_EQ(I(Word(file, QStringLiteral("REGION")), "VXROWID"), step + 1);
    EXPECT_EQ(I(Word(file, QStringLiteral("INPUT")), "VXROWID") % 1000, 0);
}

TEST_F(IbmJclTest, MemberWithoutJobIsAnIncludeGroup)
{
    const int file = Parse(
            QStringLiteral("IBMJCL"), QStringLiteral("commondd.jcl"),
            {QStringLiteral("//SYSPRINT DD SYSOUT=*"), QStringLiteral("//SYSUDUMP DD SYSOUT=*")});
    const QList<StoredRow> objects = Objects(file);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(V(objects[0], "VXOBJECTIDENTIFIER"), QStringLiteral("COMMONDD"));
    EXPECT_EQ(V(objects[0], "VXOBJECTTYPE"), QStringLiteral("JCL_INCLUDE"));
    EXPECT_EQ(I(objects[0], "VXICON"), 52);
}

TEST_F(IbmJclTest, UnnamedStepsAndTwoJobsInOneMember)
{
    const int file = Parse(
            QStringLiteral("IBMJCL"), QStringLiteral("two.jcl"),
            {QStringLiteral("//JOBA     JOB 1"), QStringLiteral("//         EXEC PGM=PROGA"),
             QStringLiteral("//         EXEC PGM=PROGB"), QStringLiteral("//JOBB     JOB 2"),
             QStringLiteral("//S1       EXEC PGM=PROGC"),
             QStringLiteral("//S2       EXEC PGM=*.S1.SYSLMOD")});
    QStringList entries;
    for (const StoredRow &entry : Entries(file))
        entries << QString::number(I(entry, "VXOBJECTID")) + QLatin1Char(':')
                           + V(entry, "VXENTRYNAME");
    EXPECT_EQ(entries, (QStringList{QStringLiteral("2000:#1"), QStringLiteral("2000:#2"),
                                    QStringLiteral("3000:S1"), QStringLiteral("3000:S2")}));
    EXPECT_EQ(WordTexts(file, 1016), (QStringList{QStringLiteral("PROGA"), QStringLiteral("PROGB"),
                                                  QStringLiteral("PROGC")}));
}

} // namespace
