// SPDX-License-Identifier: GPL-3.0-or-later
// The hourglass, and a widget that does not repaint, for the length of one operation
// whichever way it ends.
#pragma once

#include <QApplication>
#include <QWidget>

// The hourglass for the length of one operation, whichever way it ends.
struct TVXWaitCursor
{
    TVXWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TVXWaitCursor() { QApplication::restoreOverrideCursor(); }
    TVXWaitCursor(const TVXWaitCursor &) = delete;
    TVXWaitCursor &operator=(const TVXWaitCursor &) = delete;
};

// Repainting of the tree stops while it is rebuilt.
struct TVXFrozen
{
    explicit TVXFrozen(QWidget *widget)
        : Widget(widget)
    {
        Widget->setUpdatesEnabled(false);
    }
    ~TVXFrozen() { Widget->setUpdatesEnabled(true); }
    TVXFrozen(const TVXFrozen &) = delete;
    TVXFrozen &operator=(const TVXFrozen &) = delete;
    QWidget *Widget;
};
