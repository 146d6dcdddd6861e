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
