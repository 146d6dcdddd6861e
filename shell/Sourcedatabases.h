// SPDX-License-Identifier: GPL-3.0-or-later
// The Source Databases dialog: the configured repositories, each with its name, driver
// type, connection (a database file for the file-based types) and the default mark. The
// checks are the source-database rules that velunor-cli applies as well.
#pragma once

#include "shell/Sourcedatabaserules.h"
#include "shell/Tooldialog.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class VXCORE_EXPORT TVXSourceDatabases : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXSourceDatabases(QWidget *owner, TVXBaseFunctions *service);
    ~TVXSourceDatabases() override;

    QListWidget *lbDatabases = nullptr;
    QLineEdit *edName = nullptr;
    QComboBox *cbType = nullptr;
    QLabel *lbConnection = nullptr;
    QLineEdit *edConnection = nullptr;
    QPushButton *btBrowse = nullptr;
    QCheckBox *chDefault = nullptr;
    bool Modified() const { return m_modified; }

    void AddClick();
    void DeleteClick();
    void SaveClick();
    void CancelClick();
    void CreateDBFileClick();
    // Asks before unsaved changes are lost.
    void CloseClick();

protected:
    void reject() override;

private:
    void Reload(int select);
    void ShowRow(int row);
    void TypeChanged();
    TVXDatabaseSettings Edited() const;
    void Refused(const TVXRuleResult &result);

    std::unique_ptr<TVXSourceDatabaseRules> m_rules;
    QList<TVXDatabaseSettings> m_rows;
    // The row added and not saved yet: saved as a new row.
    int m_newRow = -1;
    bool m_modified = false;
    bool m_filling = false;
};
