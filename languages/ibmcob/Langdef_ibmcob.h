// SPDX-License-Identifier: GPL-3.0-or-later
// IBM Enterprise COBOL in fixed format: sequence area, indicator column, areas A and B
// and the identification area, with embedded SQL and CICS.
#pragma once

#include "languages/cobol/Cobolfamily.h"

class TVXLangDef_IBMCOB : public TVXCobolFamily
{
    Q_OBJECT
public:
    TVXLangDef_IBMCOB(QObject *owner, const QString &folder);
};
