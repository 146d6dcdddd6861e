// SPDX-License-Identifier: GPL-3.0-or-later
// A repository loaded through the service object from COBOL sources that a test writes.
#pragma once

#include "Testsupport.h"

#include "repository/Dataaccessinterface.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace VXQueryTest {

// Fixed-format COBOL: the text from column 8 on, sequence numbers added.
inline QByteArray Cobol(const QStringList &lines)
{
    QByteArray text;
    int number = 0;
    for (const QString &line : lines) {
        const QString indicator
                = line.startsWith(QLatin1Char('*')) ? QString() : QStringLiteral(" ");
        text += QStringLiteral("%1%2%3\n")
                        .arg(number += 100, 6, 10, QLatin1Char('0'))
                        .arg(indicator, line)
                        .toLatin1();
    }
    return text;
}

// Paragraphs that perform each other, with ifs, an evaluate, an else and a loop around the
// statements; LEVEL-TWO also performs itself.
inline QByteArray RulesProgram()
{
    return Cobol({QStringLiteral("IDENTIFICATION DIVISION."),
                  QStringLiteral("PROGRAM-ID. RUL001."),
                  QStringLiteral("DATA DIVISION."),
                  QStringLiteral("WORKING-STORAGE SECTION."),
                  QStringLiteral("01  WS-A                PIC 9(5)."),
                  QStringLiteral("01  WS-B                PIC 9(5)."),
                  QStringLiteral("01  WS-C                PIC X."),
                  QStringLiteral("PROCEDURE DIVISION."),
                  QStringLiteral("MAIN-PARA."),
                  QStringLiteral("    IF WS-A > 10"),
                  QStringLiteral("       AND WS-B < 5"),
                  QStringLiteral("       PERFORM LEVEL-ONE"),
                  QStringLiteral("    END-IF."),
                  QStringLiteral("    GOBACK."),
                  QStringLiteral("LEVEL-ONE."),
                  QStringLiteral("    MOVE 1 TO WS-A."),
                  QStringLiteral("    EVALUATE WS-C"),
                  QStringLiteral("       WHEN 'X'"),
                  QStringLiteral("          MOVE 2 TO WS-A"),
                  QStringLiteral("       WHEN 'Y'"),
                  QStringLiteral("          IF WS-B = 3"),
                  QStringLiteral("             PERFORM LEVEL-TWO"),
                  QStringLiteral("          ELSE"),
                  QStringLiteral("             MOVE 4 TO WS-B"),
                  QStringLiteral("          END-IF"),
                  QStringLiteral("    END-EVALUATE."),
                  QStringLiteral("LEVEL-TWO."),
                  QStringLiteral("    PERFORM VARYING WS-A FROM 1 BY 1 UNTIL WS-A > 5"),
                  QStringLiteral("       IF WS-B > 1"),
                  QStringLiteral("          MOVE 9 TO WS-C"),
                  QStringLiteral("       END-IF"),
                  QStringLiteral("    END-PERFORM."),
                  QStringLiteral("    IF WS-C = 'Z'"),
                  QStringLiteral("       PERFORM LEVEL-TWO"),
                  QStringLiteral("    END-IF."),
                  QStringLiteral("    DISPLAY 'DONE'.")});
}

using TSources = QList<std::pair<QString, QByteArray>>;

class CobolRepository
{
public:
    explicit CobolRepository(const TSources &sources)
        : m_packages(QStringList{QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0520.so")})
        , m_session(std::make_unique<VXTest::Session>(m_packages.Path()))
    {
        const QString folder = m_home.File(QStringLiteral("sources"));
        QDir().mkpath(folder);
        for (const auto &[name, content] : sources) {
            QFile file(folder + QLatin1Char('/') + name);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
            file.write(content);
        }
        TVXDataAccessInterface *db = m_session->Service().ConnectDB(QString());
        db->VXLOAD_Append(QStringLiteral("FOLDER"), folder, QStringLiteral("BILLING"), QString(),
                          QString(), QString());
        db->Commit(false, false);
        db->DisConnect();
        m_session->Service().LoadDB(QStringLiteral("VN_FirstDataBase"), true, false, QString(),
                                    QString());
        m_db = m_session->Service().ConnectDB(QString());
    }
    ~CobolRepository()
    {
        if (m_db)
            m_db->DisConnect();
    }
    CobolRepository(const CobolRepository &) = delete;
    CobolRepository &operator=(const CobolRepository &) = delete;

    TVXDataAccessInterface *Db() const { return m_db; }
    VXTest::Session &Session() { return *m_session; }
    const VXTest::Home &Home() const { return m_home; }

private:
    VXTest::Home m_home;
    VXTest::PackageFolder m_packages;
    std::unique_ptr<VXTest::Session> m_session;
    TVXDataAccessInterface *m_db = nullptr;
};

} // namespace VXQueryTest
