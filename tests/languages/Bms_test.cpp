// SPDX-License-Identifier: GPL-3.0-or-later
// BMS maps: mapsets and maps as objects, fields and their operands as the preview reads them.
#include "Languagetestsupport.h"

namespace {

// An assembler row continued in column 72.
QString Continued(const QString &text)
{
    return text.leftJustified(71, QLatin1Char(' '), true) + QLatin1Char('X');
}

class BmsTest : public LanguageTest
{
protected:
    int ParseCustomerMapset()
    {
        return Parse(
                QStringLiteral("BMS"), QStringLiteral("CUSTSET.bms"),
                {QStringLiteral("* CUSTOMER INQUIRY SCREENS"),
                 Continued(QStringLiteral("CUSTSET  DFHMSD TYPE=&SYSPARM,MODE=INOUT,LANG=COBOL,")),
                 QStringLiteral("               CTRL=FREEKB,STORAGE=AUTO,TIOAPFX=YES"),
                 QStringLiteral("CUSTMAP  DFHMDI SIZE=(24,80),LINE=1,COLUMN=1"),
                 QStringLiteral(
                         "         DFHMDF POS=(1,1),LENGTH=10,ATTRB=ASKIP,INITIAL='CUSTOMER NO'"),
                 Continued(
                         QStringLiteral("CUSTNO   DFHMDF POS=(3,10),LENGTH=8,ATTRB=(UNPROT,IC),")),
                 QStringLiteral("               PICOUT='9(8)'").leftJustified(72)
                         + QStringLiteral("00000700"),
                 QStringLiteral("ORDMAP   DFHMDI SIZE=(24,80)"),
                 QStringLiteral("ORDNO    DFHMDF POS=(2,2),LENGTH=6"),
                 QStringLiteral("         DFHMSD TYPE=FINAL"), QStringLiteral("         END")});
    }
};

TEST_F(BmsTest, MapsetAndMapsAreObjects)
{
    const int file = ParseCustomerMapset();
    QStringList objects;
    for (const StoredRow &object : Objects(file))
        objects << V(object, "VXOBJECTNAME") + QLatin1Char(':') + V(object, "VXOBJECTIDENTIFIER")
                           + QLatin1Char(':') + V(object, "VXOBJECTTYPE") + QLatin1Char(':')
                           + V(object, "VXICON");
    EXPECT_EQ(objects, (QStringList{QStringLiteral("CUSTSET:CUSTSET:MAPSET:18"),
                                    QStringLiteral("CUSTMAP:CUSTMAP_MAP:MAP:16"),
                                    QStringLiteral("ORDMAP:ORDMAP_MAP:MAP:16")}));
}

TEST_F(BmsTest, MapHoldsItsFieldsInPreviewOrder)
{
    const int file = ParseCustomerMapset();
    const QList<StoredRow> maps
            = Select(QStringLiteral("SELECT VXObjectID FROM VXOBJECT WHERE VXFileID = %1 AND "
                                    "VXObjectName = 'CUSTMAP'")
                             .arg(file));
    ASSERT_EQ(maps.size(), 1);
    const QList<StoredRow> words = Select(
            QStringLiteral(
                    "SELECT VXWord, VXWordType FROM VXWORD WHERE VXFileID = %1 AND VXObjectID = %2 "
                    "ORDER BY VXRowID, VXWordID")
                    .arg(file)
                    .arg(I(maps[0], "VXOBJECTID")));
    QStringList stream;
    for (const StoredRow &word : words)
        stream << V(word, "VXWORD");
    const QString joined = stream.join(QLatin1Char(' '));
    EXPECT_TRUE(joined.contains(QStringLiteral("DFHMDF POS = ( 1 , 1 ) , LENGTH = 10")))
            << joined.toStdString();
    EXPECT_TRUE(joined.contains(QStringLiteral("INITIAL = ' CUSTOMER NO '")))
            << joined.toStdString();
    EXPECT_TRUE(joined.contains(QStringLiteral("CUSTNO DFHMDF POS = ( 3 , 10 ) , LENGTH = 8")))
            << joined.toStdString();
    EXPECT_TRUE(joined.contains(QStringLiteral("PICOUT = ' 9 ( 8 ) '"))) << joined.toStdString();
    // The continuation mark and the sequence numbers are no words.
    EXPECT_FALSE(stream.contains(QStringLiteral("X")));
    EXPECT_FALSE(joined.contains(QStringLiteral("00000700")));
    for (const StoredRow &word : words) {
        if (V(word, "VXWORD") == QStringLiteral("CUSTNO")) {
            EXPECT_EQ(I(word, "VXWORDTYPE"), 1011);
        }
        if (V(word, "VXWORD") == QStringLiteral("CUSTOMER")) {
            EXPECT_EQ(I(word, "VXWORDTYPE"), 1001);
        }
    }
    // The other map's field is not in this map.
    EXPECT_FALSE(stream.contains(QStringLiteral("ORDNO")));
}

TEST_F(BmsTest, ContinuedMacroKeepsItsStatement)
{
    const int file = ParseCustomerMapset();
    const int first = I(Word(file, QStringLiteral("DFHMSD")), "VXROWID");
    EXPECT_EQ(I(Word(file, QStringLiteral("CTRL")), "VXROWID"), first + 1);
    EXPECT_EQ(I(Word(file, QStringLiteral("CUSTOMER")), "VXWORDTYPE"), 1003);
}

TEST_F(BmsTest, CobolSendMapRefersToTheMapIdentifier)
{
    const int map = ParseCustomerMapset();
    const int program = Parse(
            QStringLiteral("IBMCOB"), QStringLiteral("CUSTINQ.ibmcob"),
            {QStringLiteral("       PROGRAM-ID. CUSTINQ."), QStringLiteral("       DATA DIVISION."),
             QStringLiteral("       PROCEDURE DIVISION."),
             QStringLiteral("           EXEC CICS RECEIVE MAP('ORDMAP') MAPSET('CUSTSET')"),
             QStringLiteral("           END-EXEC."),
             QStringLiteral("           EXEC CICS LINK PROGRAM('ORDPGM') END-EXEC.")});
    const StoredRow reference = Word(program, QStringLiteral("ORDMAP"));
    EXPECT_EQ(I(reference, "VXWORDTYPE"), 1059);
    const QList<StoredRow> targets
            = Select(QStringLiteral("SELECT VXObjectName FROM VXOBJECT WHERE VXFileID = %1 AND "
                                    "VXObjectIdentifier = '%2'")
                             .arg(map)
                             .arg(V(reference, "VXOBJECTIDENTIFIER")));
    ASSERT_EQ(targets.size(), 1);
    EXPECT_EQ(V(targets[0], "VXOBJECTNAME"), QStringLiteral("ORDMAP"));
    EXPECT_EQ(I(Word(program, QStringLiteral("ORDPGM")), "VXWORDTYPE"), 1016);
}

} // namespace
