// SPDX-License-Identifier: GPL-3.0-or-later
// The Find dialog of the document windows: a text, match case, up or down, and Find Next,
// which hands the choices to the window that searches its own tree or grid.
#pragma once

#include "base/Export.h"

#include <QDialog>

#include <functional>

struct TVXFindOptions
{
    QString Text;
    bool MatchCase = false;
    bool Up = false;
};

class VXCORE_EXPORT TVXFindDialog : public QDialog
{
    Q_OBJECT
public:
    // Deletes itself when closed.
    TVXFindDialog(QWidget *owner, const TVXFindOptions &options,
                  std::function<void(const TVXFindOptions &)> findNext);
};
