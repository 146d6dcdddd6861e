// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the modal dialogs the Tools and Help menus open by name.
#include "shell/Tooldialog.h"

#include <QMessageBox>

namespace {

// Messages use CR as their line break.
QString Lines(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

TVXToolDialog::TVXToolDialog(QWidget *owner, TVXBaseFunctions *service)
    : QDialog(owner)
    , m_service(service)
{}

void TVXToolDialog::Say(const QString &text)
{
    if (Tell)
        Tell(text);
    else
        QMessageBox::warning(this, windowTitle(), Lines(text));
}

bool TVXToolDialog::Ask(const QString &question)
{
    if (AskUser)
        return AskUser(question);
    return VXAskYesNo(this, windowTitle(), question);
}

bool VXAskYesNo(QWidget *owner, const QString &title, const QString &question)
{
    return QMessageBox::question(owner, title, Lines(question)) == QMessageBox::Yes;
}
