// SPDX-License-Identifier: GPL-3.0-or-later
// What the tests share.
#include "Testsupport.h"

#include "base/Classregistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace VXTest {

QString PackageDir()
{
    return QStringLiteral(VELUNOR_PACKAGE_DIR "/");
}

CliResult RunCli(const QString &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELUNOR_HOME"), home);
    process.setProcessEnvironment(environment);
    process.start(PackageDir() + QStringLiteral("velunor-cli"), arguments);
    if (!process.waitForFinished(120000))
        return {-1, QString(), QStringLiteral("velunor-cli did not end within two minutes")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString FixtureDir()
{
    return QStringLiteral(VELUNOR_FIXTURE_DIR "/");
}

Home::Home()
{
    m_hadPrevious = qEnvironmentVariableIsSet("VELUNOR_HOME");
    m_previous = qgetenv("VELUNOR_HOME");
    qputenv("VELUNOR_HOME", QFile::encodeName(m_dir.path()));
}

Home::~Home()
{
    if (m_hadPrevious)
        qputenv("VELUNOR_HOME", m_previous);
    else
        qunsetenv("VELUNOR_HOME");
}

QString Home::Path() const
{
    return m_dir.path() + QLatin1Char('/');
}

PackageFolder::PackageFolder(const QStringList &packages)
{
    // The core is linked, never copied: a second copy would bring a second class registry.
    QFile::link(PackageDir() + QStringLiteral("vxlib0100.so"),
                Path() + QStringLiteral("vxlib0100.so"));
    for (const QString &entry : packages) {
        const QString target = entry.section(QLatin1Char('='), 0, 0);
        const QString source = entry.contains(QLatin1Char('=')) ? entry.section(QLatin1Char('='), 1)
                                                                : PackageDir() + target;
        const QString from = QFileInfo(source).isAbsolute() ? source : FixtureDir() + source;
        EXPECT_TRUE(QFile::exists(from)) << from.toStdString();
        QFile::link(from, Path() + target);
    }
}

QString PackageFolder::Path() const
{
    return m_dir.path() + QLatin1Char('/');
}

Session::Session(const QString &packageFolder, bool initialize)
    : m_loader(packageFolder)
{
    m_loader.CheckPackages();
    auto created = VXClassRegistry().Create<TVXBaseFunctionsInterface, QObject *>(
            QStringLiteral("TVXBaseFunctions"), nullptr);
    m_service = dynamic_cast<TVXBaseFunctions *>(created);
    if (!m_service)
        throw std::runtime_error("TVXBaseFunctions is not registered");
    m_service->SetMessageHandler([this](TVXMessageKind kind, const QString &text) {
        Messages.append({kind, text});
    });
    QObject::connect(m_service, &TVXBaseFunctionsInterface::ExitRequested,
                     [this] { ++ExitRequests; });
    for (const QString &entry : m_loader.PackageList())
        m_service->RegisterFunctionClass(
                m_loader.Description(entry.mid(entry.indexOf(QLatin1Char(':')) + 1)));
    if (initialize)
        m_service->InitializeFunctions();
}

Session::~Session()
{
    delete m_service;
    m_loader.UnloadAll();
}

void WriteVnIni(const QString &home, const QString &content)
{
    QFile file(home + QStringLiteral("VN.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content.toUtf8());
}

} // namespace VXTest
