// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the modal dialogs the Tools and Help menus open by name.
#pragma once

#include "base/Export.h"

#include <QDialog>

#include <functional>

class TVXBaseFunctions;

// A Yes/No message box; the question's CR line breaks shown as lines.
VXCORE_EXPORT bool VXAskYesNo(QWidget *owner, const QString &title, const QString &question);

// Registered as "TVX" + dialog class name (TVXSourceDatabases, TVXLoad, ...); the dialog
// takes what it edits from the service object.
class VXCORE_EXPORT TVXToolDialog : public QDialog
{
    Q_OBJECT
public:
    using TVXClassBase = TVXToolDialog;
    using TVXFactory = std::function<TVXToolDialog *(QWidget *owner, TVXBaseFunctions *service)>;

    TVXToolDialog(QWidget *owner, TVXBaseFunctions *service);

    // Message boxes unless a test answers them: a message, and a Yes/No question.
    std::function<void(const QString &)> Tell;
    std::function<bool(const QString &)> AskUser;

protected:
    void Say(const QString &text);
    bool Ask(const QString &question);

    TVXBaseFunctions *m_service;
};
