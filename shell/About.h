// SPDX-License-Identifier: GPL-3.0-or-later
// The About box: the product, the version it was built as, and where its settings live.
#pragma once

#include "shell/Tooldialog.h"

class QPlainTextEdit;

class VXCORE_EXPORT TVXAbout : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXAbout(QWidget *owner, TVXBaseFunctions *service);

    static QString Version();
    QPlainTextEdit *mmoAbout = nullptr;
};
