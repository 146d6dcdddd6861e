// SPDX-License-Identifier: GPL-3.0-or-later
// The explorer over a generated CICS and batch application loaded by `velunor-cli load`:
// the root items of every View By level, the opening of a program node and of the node
// with the most children, each beside a plain SELECT of as many rows over the same file.
//
//   view_bench [scale] [--keep folder]
//
// scale 1 is about 240 files and 5,500 lines; 180 is about 1,000,000 lines.
#include "Benchprocess.h"
#include "Mainframeapplication.h"
#include "base/Classregistry.h"

#include "repository/Dataaccessinterface.h"
#include "shell/Packageloader.h"
#include "view/Viewsource.h"
#include "view/Viewtreemodel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

double Milliseconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The yardstick: the same number of rows read straight through Qt's SQLite driver.
double PlainSelect(const QString &file, const QString &sql)
{
    double best = 1e30;
    {
        QSqlDatabase db
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("yardstick"));
        db.setDatabaseName(file);
        db.open();
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer timer;
            timer.start();
            QSqlQuery query(db);
            query.exec(sql);
            while (query.next())
                ;
            best = std::min(best, Milliseconds(timer));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("yardstick"));
    return best;
}

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    QString keep;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--keep")); at >= 0) {
        keep = arguments.value(at + 1);
        arguments.remove(at, 2);
    }
    const int scale = arguments.isEmpty() ? 20 : arguments.first().toInt();
    QTemporaryDir temporary;
    const QString root = keep.isEmpty() ? temporary.path() : QDir(keep).absolutePath();
    const QString sources = root + QStringLiteral("/src");
    const QString home = root + QStringLiteral("/home/");
    const QString repository = home + QStringLiteral("VN_FirstDataBase.sqlite");
    QDir().mkpath(home);
    const QString cli = QStringLiteral(VELUNOR_PACKAGE_DIR "/velunor-cli");
    if (!QFile::exists(repository)) {
        const VXTest::GeneratedApplication app = VXTest::WriteMainframeApplication(sources, scale);
        std::printf("files %d, lines %lld\n", app.Files, static_cast<long long>(app.Lines));
        QElapsedTimer load;
        load.start();
        if (VXBenchRun(cli,
                       {QStringLiteral("languages"), QStringLiteral("extensions"),
                        QStringLiteral("IBMCOB"), QStringLiteral(".ibmcob;.cbl;.cpy")},
                       home)
                    != 0
            || VXBenchRun(cli,
                          {QStringLiteral("sources"), QStringLiteral("add-folder"), sources,
                           QStringLiteral("--system"), QStringLiteral("BENCH"),
                           QStringLiteral("--yes")},
                          home)
                       != 0
            || VXBenchRun(cli, {QStringLiteral("load")}, home) != 0)
            return 1;
        std::printf("loaded by velunor-cli in %.1f s\n", load.nsecsElapsed() / 1e9);
    }

    TVXPackageLoader loader(QStringLiteral(VELUNOR_PACKAGE_DIR "/"));
    loader.CheckPackages(TVXPackageLoader::DisplayFreePackages);
    std::unique_ptr<TVXDataAccessInterface> db(VXClassRegistry().Create<TVXDataAccessInterface>(
            QStringLiteral("TVXInMemoryDB"), static_cast<QObject *>(nullptr)));
    if (!db) {
        std::fprintf(stderr, "the InMemory package is missing\n");
        return 1;
    }
    db->Connect(repository);
    const long residentBefore = ResidentKiB();

    TVXViewSource source(db.get());
    TVXViewTreeModel model;
    const int limit = 100;
    std::printf("root items, limit %d (best of three):\n", limit);
    for (const QString &level : TVXViewSource::LevelNames())
        for (const bool distribution : {true, false}) {
            double best = 1e30;
            qsizetype count = 0;
            for (int run = 0; run < 3; ++run) {
                QElapsedTimer timer;
                timer.start();
                const TVXViewSource::Roots roots = source.RootItems(TVXViewSource::LevelOf(level),
                                                                    true, distribution, limit, {});
                model.Reset(roots.Nodes);
                best = std::min(best, Milliseconds(timer));
                count = roots.Nodes.size();
            }
            std::printf("  %-12s %-13s %4lld nodes %8.1f ms\n", qPrintable(level),
                        distribution ? "Distribution" : "Dependencies",
                        static_cast<long long>(count), best);
        }
    const double yardstick = PlainSelect(
            repository, QStringLiteral("SELECT VXFileID, VXObjectID, VXObjectName, VXObjectType, "
                                       "VXIcon FROM VXOBJECT LIMIT 100"));
    std::printf("  yardstick: 100 objects by a plain SELECT: %.2f ms\n", yardstick);

    // A program: its paragraphs, and what it calls.
    const TVXViewSource::Roots objects
            = source.RootItems(TVXViewSource::Level::Object, true, true, limit, {});
    model.Reset(objects.Nodes);
    for (const bool distribution : {true, false}) {
        QModelIndex program;
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.Node(model.index(row, 0))->Caption.contains(QLatin1String("PROGRAM"))) {
                program = model.index(row, 0);
                break;
            }
        if (!program.isValid())
            break;
        model.SetChildrenSource(
                [&](const TVXViewNode &node) { return source.Children(node, true, distribution); });
        QElapsedTimer timer;
        timer.start();
        model.fetchMore(program);
        std::printf("open %s (%s): %d children in %.1f ms\n",
                    qPrintable(model.Node(program)->Caption),
                    distribution ? "Distribution" : "Dependencies", model.rowCount(program),
                    Milliseconds(timer));
        model.Reset(objects.Nodes);
    }

    // The system: every file of the application under one node.
    const TVXViewSource::Roots systems
            = source.RootItems(TVXViewSource::Level::System, true, true, limit, {});
    model.Reset(systems.Nodes);
    model.SetChildrenSource(
            [&](const TVXViewNode &node) { return source.Children(node, true, true); });
    QElapsedTimer timer;
    timer.start();
    model.fetchMore(model.index(0, 0));
    const double open = Milliseconds(timer);
    const int children = model.rowCount(model.index(0, 0));
    std::printf("open the system: %d children in %.1f ms\n", children, open);
    std::printf("  yardstick: %d files by a plain SELECT: %.2f ms\n", children,
                PlainSelect(repository,
                            QStringLiteral("SELECT VXFileID, VXFileName FROM VXFILE ORDER BY "
                                           "VXFileName")));
    std::printf("resident memory: %ld KiB after connecting, %ld KiB with the system open\n",
                residentBefore, ResidentKiB());
    if (!keep.isEmpty())
        std::printf("kept in %s\n", qPrintable(root));
    db->DisConnect();
    return 0;
}
