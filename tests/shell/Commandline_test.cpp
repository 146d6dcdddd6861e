// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Exception.h"

#include "shell/Commandline.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    QStringList Arguments;
    const char *Function;
    QString Document;
    QString Detail;
};

} // namespace

TEST(CommandLine, DispatchTable)
{
    const QString load = QStringLiteral("LOAD_INTO_DB_NAMED");
    const Case cases[] = {
            {{}, "View", {}, {}},
            {{load, QStringLiteral("Prod")}, "Load", QStringLiteral("Prod"), {}},
            {{QStringLiteral("load_into_db_named"), QStringLiteral("Prod"),
              QStringLiteral("RELOAD")},
             "Load",
             QStringLiteral("Prod"),
             QStringLiteral("RELOAD")},
            {{load, QStringLiteral("Prod"), QStringLiteral("REBUILD"), QStringLiteral("ignored")},
             "Load",
             QStringLiteral("Prod"),
             QStringLiteral("REBUILD")},
            {{QStringLiteral("docs/a.vnv")}, "View", QStringLiteral("docs/a.vnv"), {}},
            {{QStringLiteral("A.VNQ")}, "Query", QStringLiteral("A.VNQ"), {}},
            {{QStringLiteral("list.vnw")}, "WorkList", QStringLiteral("list.vnw"), {}},
            {{QStringLiteral("biz.vnb")}, "BizAnalysis", QStringLiteral("biz.vnb"), {}},
            {{QStringLiteral("x.vnd")}, "Document", QStringLiteral("x.vnd"), {}},
            {{QStringLiteral("novnv")}, "View", QStringLiteral("novnv"), {}},
            {{QStringLiteral("../rel/q.vnq"), QStringLiteral("second")},
             "Query",
             QStringLiteral("../rel/q.vnq"),
             {}},
    };
    for (const Case &c : cases) {
        const TVXCommandLineRequest request = VXCommandLine::Parse(c.Arguments);
        EXPECT_EQ(request.Function, QLatin1String(c.Function))
                << c.Arguments.join(' ').toStdString();
        EXPECT_EQ(request.Document, c.Document) << c.Arguments.join(' ').toStdString();
        EXPECT_EQ(request.Detail, c.Detail) << c.Arguments.join(' ').toStdString();
    }
}

TEST(CommandLine, OtherArgumentsAreUnknownDocuments)
{
    for (const QString &argument : {QStringLiteral("notes.txt"), QStringLiteral("vn"),
                                    QStringLiteral("LOAD_INTO_DB"), QStringLiteral("")}) {
        try {
            VXCommandLine::Parse({argument});
            ADD_FAILURE() << argument.toStdString();
        } catch (const TVXException &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Unknown document type"));
        }
    }
}
