// SPDX-License-Identifier: GPL-3.0-or-later
// Sources a parser meets in real portfolios: empty, comments only, binary, huge rows, no
// final line end, no PROGRAM-ID, another encoding.
#include "Languagetestsupport.h"

#include <QDir>

namespace {

using BadInputTest = LanguageTest;

TEST_F(BadInputTest, EmptyFileIsAnObjectNamedAfterTheFile)
{
    const int file
            = ParseFile(QStringLiteral("IBMCOB"), WriteSource(QStringLiteral("empty.ibmcob"), ""));
    const QList<StoredRow> objects = Objects(file);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(V(objects[0], "VXOBJECTNAME"), QStringLiteral("EMPTY"));
    EXPECT_TRUE(Words(file).isEmpty());
}

TEST_F(BadInputTest, CommentsOnlyAreStoredAsComments)
{
    const int file
            = Parse(QStringLiteral("IBMCOB"), QStringLiteral("notes.ibmcob"),
                    {Comment(QStringLiteral(" FIRST NOTE")), Comment(QStringLiteral(" SECOND"))});
    EXPECT_EQ(Words(file).size(), Words(file, 1003).size());
    EXPECT_EQ(Select(QStringLiteral("SELECT * FROM VXROW WHERE VXFileID = %1").arg(file)).size(),
              2);
}

TEST_F(BadInputTest, BinaryFileIsRefusedByName)
{
    QByteArray binary("\x7f"
                      "ELF\x02\x01\x01\x00\x00\x00",
                      10);
    const QString path = WriteSource(QStringLiteral("load module.ibmcob"), binary);
    try {
        ParseFile(QStringLiteral("IBMCOB"), path);
        FAIL() << "a binary file was parsed";
    } catch (const std::exception &e) {
        const QString message = VXMessage(e);
        EXPECT_TRUE(message.contains(QStringLiteral("binary"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("load module.ibmcob")))
                << message.toStdString();
    }
}

TEST_F(BadInputTest, MissingFileIsReportedByName)
{
    try {
        ParseFile(QStringLiteral("IBMJCL"), m_folder.filePath(QStringLiteral("gone.jcl")));
        FAIL() << "a missing file was parsed";
    } catch (const std::exception &e) {
        EXPECT_TRUE(VXMessage(e).contains(QStringLiteral("gone.jcl")))
                << VXMessage(e).toStdString();
    }
}

TEST_F(BadInputTest, HugeRowAndNoFinalLineEnd)
{
    QByteArray content
            = "       PROGRAM-ID. BIG1.\n       PROCEDURE DIVISION.\n           DISPLAY ";
    for (int i = 0; i < 10000; ++i)
        content += "ABCDEFGHI ";
    content += "\n           STOP RUN.";
    const int file = ParseFile(QStringLiteral("IBMCOB"),
                               WriteSource(QStringLiteral("big.ibmcob"), content));
    const QList<StoredRow> rows
            = Select(QStringLiteral("SELECT VXRow FROM VXROW WHERE VXFileID = %1 ORDER BY VXRowID")
                             .arg(file));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(V(rows[2], "VXROW").size(), 255);
    EXPECT_TRUE(V(rows[2], "VXROW").endsWith(QStringLiteral("...!!")));
    EXPECT_EQ(V(rows[3], "VXROW"), QStringLiteral("           STOP RUN."));
    EXPECT_EQ(m_lastParse.TruncatedRows, 1);
    // Columns 73 on are one comment word, however long.
    EXPECT_EQ(Words(file, 1003).size(), 1);
}

TEST_F(BadInputTest, ProgramWithoutProgramIdIsACopyMember)
{
    const int file = Parse(QStringLiteral("IBMCOB"), QStringLiteral("noid.ibmcob"),
                           {QStringLiteral("       PROCEDURE DIVISION."),
                            QStringLiteral("           DISPLAY 'NO NAME'.")});
    const QList<StoredRow> objects = Objects(file);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(V(objects[0], "VXOBJECTNAME"), QStringLiteral("NOID"));
    EXPECT_EQ(V(objects[0], "VXOBJECTTYPE"), QStringLiteral("COPY"));
}

TEST_F(BadInputTest, Windows1252AndCrLf)
{
    // "KUNDENÜBERSICHT" in Windows-1252, rows ending CRLF.
    const QByteArray content = "      * KUNDEN\xdc"
                               "BERSICHT \x80\r\n       PROGRAM-ID. EUR1.\r\n";
    const int file = ParseFile(QStringLiteral("IBMCOB"),
                               WriteSource(QStringLiteral("eur.ibmcob"), content));
    const QStringList comments = WordTexts(file, 1003);
    EXPECT_TRUE(comments.contains(QString::fromUtf8("KUNDENÜBERSICHT")))
            << comments.join(' ').toStdString();
    EXPECT_TRUE(comments.contains(QString::fromUtf8("€")));
    EXPECT_EQ(V(Objects(file)[0], "VXOBJECTNAME"), QStringLiteral("EUR1"));
}

TEST_F(BadInputTest, ManyRowsFlushInPartialSavesWithoutLosingWords)
{
    QStringList rows{QStringLiteral("       PROGRAM-ID. MANY1."),
                     QStringLiteral("       DATA DIVISION."),
                     QStringLiteral("       PROCEDURE DIVISION.")};
    for (int i = 0; i < 500; ++i)
        rows << QStringLiteral("           MOVE A%1 TO B%1.").arg(i);
    const int file = Parse(QStringLiteral("IBMCOB"), QStringLiteral("many.ibmcob"), rows);
    EXPECT_GE(m_lastParse.PartialSaves, 9);
    EXPECT_EQ(Select(QStringLiteral("SELECT * FROM VXROW WHERE VXFileID = %1").arg(file)).size(),
              503);
    EXPECT_EQ(
            Select(QStringLiteral("SELECT * FROM VXWORD WHERE VXFileID = %1 AND VXWord LIKE 'B%%'")
                           .arg(file))
                    .size(),
            500);
    EXPECT_EQ(
            Select(QStringLiteral("SELECT * FROM VXDATAFLOW WHERE VXFileID = %1").arg(file)).size(),
            500);
}

} // namespace
