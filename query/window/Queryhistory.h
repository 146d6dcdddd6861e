// SPDX-License-Identifier: GPL-3.0-or-later
// The Query History dialog: the picture of the searches run, a popup menu to clear a row
// or all of them, and Save and Cancel, both of which close it.
#pragma once

#include "shell/Tooldialog.h"

class QLabel;
class QMenu;

class TVXQueryHistory : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXQueryHistory(QWidget *owner, TVXBaseFunctions *service);

    QMenu *Menu() const { return m_menu; }

private:
    QLabel *m_picture = nullptr;
    QMenu *m_menu = nullptr;
};
