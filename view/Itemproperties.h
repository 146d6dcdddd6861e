// SPDX-License-Identifier: GPL-3.0-or-later
// What a node stands for: its kind, name, file, icon and repository key. The names of
// systems, computers and applications can be changed here.
#pragma once

#include "base/Item.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;
class TVXViewSource;

class TVXItemProperties : public QDialog
{
    Q_OBJECT
public:
    // Messages go through say (the service object's message channel).
    TVXItemProperties(QWidget *owner, const TVXItem &item, TVXViewSource &source, int icon,
                      std::function<void(const QString &)> say);

    QLineEdit *NameBox() const { return m_name; }
    // Saves an edited name; false (and the message) when it cannot.
    bool Save();

private:
    TVXItem m_item;
    TVXViewSource &m_source;
    std::function<void(const QString &)> m_say;
    QLineEdit *m_name = nullptr;
    QPushButton *m_save = nullptr;
};
