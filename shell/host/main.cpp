// SPDX-License-Identifier: GPL-3.0-or-later
// velunor: the thin host that loads the packages and hands the command line on.
#include "shell/host/Main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include <memory>

namespace {

// Without a display the program runs as a console application, which is all the
// unattended load needs.
bool DisplayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    const bool withDisplay = DisplayAvailable();
    std::unique_ptr<QCoreApplication> application;
    if (withDisplay) {
        auto gui = std::make_unique<QApplication>(argc, argv);
        gui->setQuitOnLastWindowClosed(false);
        application = std::move(gui);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Velunor"));

    TVXMain::Options options;
    options.Arguments = QCoreApplication::arguments().mid(1);
    options.WithDisplay = withDisplay;
    TVXMain main(options);
    if (!main.IsOpen())
        return main.ExitCode();
    if (main.Splash())
        main.Splash()->hide();
    QObject::connect(&main, &TVXMain::Closed, application.get(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QCoreApplication::exec();
    return main.ExitCode();
}
