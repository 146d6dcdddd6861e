// SPDX-License-Identifier: GPL-3.0-or-later
// The program's main object: splash, packages, service object, command line.
#pragma once

#include "shell/Packageloader.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;
class TVXBaseFunctionsInterface;

// Start-up runs in the constructor, shutdown in the destructor. Where there is no display
// there is no splash and messages go to standard error, so the unattended load runs on a
// server.
class TVXMain : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QStringList Arguments; // without the program name
        bool WithDisplay = true;
        // Where start-up messages go; by default a message box or standard error.
        std::function<void(const QString &)> ShowMessage;
    };

    explicit TVXMain(Options options);
    ~TVXMain() override;

    // False once start-up failed or the application was asked to end.
    bool IsOpen() const { return m_open; }
    int ExitCode() const { return m_exitCode; }

    const QStringList &PackageList() const { return m_packageList; }
    TVXBaseFunctionsInterface *BaseFunctions() const { return m_baseFunctions; }
    QWidget *Splash() const { return m_splash.get(); }

    static constexpr int SplashWidth = 457;
    static constexpr int SplashHeight = 283;

Q_SIGNALS:
    void Closed();

private:
    void Startup();
    void CreateSplash();
    void Close();
    void Message(const QString &text);
    void Trace(const char *phase);

    Options m_options;
    std::unique_ptr<QWidget> m_splash;
    TVXPackageLoader m_packages;
    QStringList m_packageList;
    TVXBaseFunctionsInterface *m_baseFunctions = nullptr;
    bool m_open = true;
    int m_exitCode = 0;
    bool m_trace = false;
};
