// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the program's arguments into the function the service object opens.
#pragma once

#include "base/Export.h"

#include <QString>
#include <QStringList>

struct TVXCommandLineRequest
{
    QString Function;
    QString Document;
    QString Detail;
};

namespace VXCommandLine {

// Only the first three arguments count (the program name excluded). The keyword
// LOAD_INTO_DB_NAMED is tested first, in upper case; then the last three characters of the
// first argument, in lower case, choose the document type; no point is required.
// Throws "Unknown document type" for anything else.
VXCORE_EXPORT TVXCommandLineRequest Parse(const QStringList &arguments);

} // namespace VXCommandLine
