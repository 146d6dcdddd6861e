// SPDX-License-Identifier: GPL-3.0-or-later
// The program's main object.
#include "shell/host/Main.h"

#include "base/Classregistry.h"
#include "base/Exception.h"
#include "base/Settings.h"

#include "shell/Basefunctionsinterface.h"
#include "shell/Commandline.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>

#include <cstdio>

TVXMain::TVXMain(Options options)
    : m_options(std::move(options))
    , m_packages(VXSettings::PackageFolder())
    , m_trace(qEnvironmentVariableIsSet("VELUNOR_STARTUP_TRACE"))
{
    Startup();
}

TVXMain::~TVXMain()
{
    // The service object first, then the splash with every window that a package gave it
    // (the progress window of an unattended load stays open on it), then the packages,
    // first-loaded first: a window must not outlive the code it runs.
    delete m_baseFunctions;
    m_baseFunctions = nullptr;
    m_splash.reset();
    m_packages.UnloadAll();
    m_packageList.clear();
}

void TVXMain::Trace(const char *phase)
{
    if (m_trace)
        std::fprintf(stderr, "velunor: %s at %lld\n", phase,
                     static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
}

void TVXMain::Message(const QString &text)
{
    if (m_options.ShowMessage)
        m_options.ShowMessage(text);
    else if (m_options.WithDisplay)
        QMessageBox::information(nullptr, QStringLiteral("Velunor"), text);
    else
        std::fprintf(stderr, "velunor: %s\n", text.toLocal8Bit().constData());
}

void TVXMain::CreateSplash()
{
    QPixmap picture(449, 273);
    {
        QPainter painter(&picture);
        QLinearGradient sky(0, 0, 0, picture.height());
        sky.setColorAt(0, QColor(18, 38, 74));
        sky.setColorAt(1, QColor(44, 92, 140));
        painter.fillRect(picture.rect(), sky);
        painter.setPen(QColor(120, 170, 210));
        for (int row = 0; row < 12; ++row)
            painter.drawLine(24, 150 + row * 9, 24 + (row * 37) % 190 + 60, 150 + row * 9);
        painter.setPen(Qt::white);
        QFont title(QStringLiteral("Sans Serif"), 34, QFont::Bold);
        painter.setFont(title);
        painter.drawText(QRect(24, 40, 400, 60), Qt::AlignLeft, QStringLiteral("Velunor"));
        painter.setFont(QFont(QStringLiteral("Sans Serif"), 11));
        painter.drawText(QRect(26, 100, 400, 30), Qt::AlignLeft,
                         QStringLiteral("Understanding legacy business applications"));
        painter.drawText(QRect(260, 240, 180, 24), Qt::AlignRight, QStringLiteral("Loading..."));
    }
    m_splash = std::make_unique<QWidget>(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    m_splash->setFixedSize(SplashWidth, SplashHeight);
    auto label = new QLabel(m_splash.get());
    label->setPixmap(picture);
    label->setGeometry(4, 5, 449, 273);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_splash->move(screen->geometry().center() - m_splash->rect().center());
    m_splash->show();
    m_splash->repaint();
    QCoreApplication::processEvents();
}

void TVXMain::Startup()
{
    Trace("start");
    if (m_options.WithDisplay)
        CreateSplash();
    try {
        m_packages.CheckPackages();
        m_packageList = m_packages.PackageList();
        Trace("packages loaded");

        QObject *owner = m_splash ? static_cast<QObject *>(m_splash.get()) : this;
        m_baseFunctions = VXClassRegistry().Create<TVXBaseFunctionsInterface>(
                QStringLiteral("TVXBaseFunctions"), owner);
        if (!m_baseFunctions)
            throw TVXException(QStringLiteral("The core package vxlib0100.so was not found in ")
                               + VXSettings::PackageFolder());
        connect(m_baseFunctions, &TVXBaseFunctionsInterface::ExitRequested, this, &TVXMain::Close);

        for (const QString &entry : std::as_const(m_packageList)) {
            const QString fileName = entry.mid(entry.indexOf(QLatin1Char(':')) + 1);
            m_baseFunctions->RegisterFunctionClass(m_packages.Description(fileName));
        }
        m_baseFunctions->InitializeFunctions();
        Trace("configuration loaded");
        m_baseFunctions->NewWindow(QStringLiteral("Debug"), {}, {}, nullptr, {});

        const TVXCommandLineRequest request = VXCommandLine::Parse(m_options.Arguments);
        const QString error = m_baseFunctions->NewWindow(request.Function, request.Document, {},
                                                         nullptr, request.Detail);
        Trace("first window shown");
        if (!error.isEmpty()) {
            Message(error);
            m_exitCode = 1;
            Close();
        }
    } catch (const std::exception &e) {
        Message(VXMessage(e));
        m_exitCode = 1;
        Close();
    }
}

void TVXMain::Close()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_exitCode == 0 && m_baseFunctions)
        m_exitCode = m_baseFunctions->ExitStatus();
    if (m_splash)
        m_splash->hide();
    Q_EMIT Closed();
}
