// SPDX-License-Identifier: GPL-3.0-or-later
// The small dialogs of the File and Tools menus: a document's Properties, and Repositories
// and Export, which store nothing yet.
#pragma once

#include "shell/Tooldialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTableWidget;
class TVXFormInterface;

class VXCORE_EXPORT TVXProperties : public TVXToolDialog
{
    Q_OBJECT
public:
    // Edits the document window that owns it.
    TVXProperties(QWidget *owner, TVXBaseFunctions *service);

    QLineEdit *edTitle = nullptr;
    QComboBox *cbSourceDatabase = nullptr;
    QLineEdit *edComposedBy = nullptr;
    QPlainTextEdit *mmoComments = nullptr;
    QLineEdit *edLastLoad = nullptr;
    void SaveClick();

private:
    TVXFormInterface *m_window = nullptr;
};

class VXCORE_EXPORT TVXRepositories : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXRepositories(QWidget *owner, TVXBaseFunctions *service);

    QListWidget *clRepositories = nullptr;
    QTableWidget *grPaths = nullptr;
};

class VXCORE_EXPORT TVXExport : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXExport(QWidget *owner, TVXBaseFunctions *service);

    QLineEdit *edDirectory = nullptr;
    QComboBox *cbSourceDatabase = nullptr;
};
