// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velunor"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    int code = TVXCli::Usage;
    {
        TVXCli cli(out, err);
        code = cli.Run(QCoreApplication::arguments().mid(1));
    }
    out.flush();
    err.flush();
    return code;
}
