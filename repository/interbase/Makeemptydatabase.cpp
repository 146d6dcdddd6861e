// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: writes the empty InterBase repository that new databases are copied from.
#include "base/Exception.h"

#include "repository/interbase/Interbasedb.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <database file>\n", argv[0]);
        return 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    QFile::remove(path);
    try {
        TVXInterBaseDB database(nullptr);
        database.Connect(path);
        database.DisConnect();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", VXMessage(e).toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
