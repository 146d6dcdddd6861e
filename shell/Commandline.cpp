// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the program's arguments into the function the service object opens.
#include "shell/Commandline.h"

#include "base/Exception.h"

namespace VXCommandLine {

TVXCommandLineRequest Parse(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return {QStringLiteral("View"), {}, {}};
    const QString first = arguments.value(0);
    if (first.toUpper() == QLatin1String("LOAD_INTO_DB_NAMED"))
        return {QStringLiteral("Load"), arguments.value(1), arguments.value(2)};

    static const struct
    {
        const char *Extension;
        const char *Function;
    } documentTypes[] = {{"vnv", "View"},
                         {"vnq", "Query"},
                         {"vnw", "WorkList"},
                         {"vnb", "BizAnalysis"},
                         {"vnd", "Document"}};
    const QString extension = first.right(3).toLower();
    for (const auto &type : documentTypes)
        if (extension == QLatin1String(type.Extension))
            return {QString::fromLatin1(type.Function), first, {}};
    throw TVXException(QStringLiteral("Unknown document type"));
}

} // namespace VXCommandLine
