// SPDX-License-Identifier: GPL-3.0-or-later
// The Change Window switcher of Ctrl+Tab: it shows the window after the current one in the
// Window menu, Tab with Ctrl held moves on, and letting go of Ctrl switches to the window
// shown.
#pragma once

#include "shell/Tooldialog.h"

class QAction;
class QLabel;

class VXCORE_EXPORT TVXWindowChange : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXWindowChange(QWidget *owner, TVXBaseFunctions *service);

    QLabel *lbWindowName = nullptr;
    QString Shown() const;
    void Advance();
    // Switches to the window shown and closes.
    void Choose();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QList<QAction *> m_items;
    int m_at = -1;
};
