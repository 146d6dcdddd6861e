// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the modal dialogs the Tools and Help menus open by name.
#include "shell/Tooldialog.h"

TVXToolDialog::TVXToolDialog(QWidget *owner, TVXBaseFunctions *service)
    : QDialog(owner)
    , m_service(service)
{}
