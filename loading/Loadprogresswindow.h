// SPDX-License-Identifier: GPL-3.0-or-later
// The window of a load run: the progress lines in bold and a Close button that is enabled
// once the run has finished.
#pragma once

#include "base/Export.h"

#include <QWidget>

class QListWidget;
class QPushButton;
class TVXLoadProgress;

class VXCORE_EXPORT TVXLoadProgressWindow : public QWidget
{
    Q_OBJECT
public:
    TVXLoadProgressWindow(TVXLoadProgress &progress, QWidget *owner = nullptr);

    QListWidget *Lines() const { return m_lbProgress; }
    QPushButton *CloseButton() const { return m_cbClose; }

private:
    void ShowLines();

    TVXLoadProgress &m_progress;
    QListWidget *m_lbProgress;
    QPushButton *m_cbClose;
};
