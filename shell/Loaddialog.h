// SPDX-License-Identifier: GPL-3.0-or-later
// The Load dialog: the repository to load into, its load sources (folders with their
// system, computer and application; scripts that run first) kept by the load-source rules
// that velunor-cli applies as well, the run's options, and Load, which runs the load with
// its progress window.
#pragma once

#include "loading/Loadsources.h"
#include "repository/Connection.h"
#include "shell/Tooldialog.h"

#include <QFrame>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// One load source, as the dialog lists it; a new one is editable until it is saved.
class VXCORE_EXPORT TVXLoadRow : public QFrame
{
    Q_OBJECT
public:
    TVXLoadRow(const TVXLoadSource &source, bool editable, QWidget *owner = nullptr);

    QLineEdit *tbLoadFrom = nullptr;
    QComboBox *cbSystemName = nullptr;
    QComboBox *cbComputerType = nullptr;
    QLabel *lblAt = nullptr;
    QComboBox *cbComputerLocation = nullptr;
    QComboBox *cbApplicationName = nullptr;
    QCheckBox *cbDelete = nullptr;

    TVXLoadSource Source() const;

private:
    QString m_type;
};

class VXCORE_EXPORT TVXLoad : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXLoad(QWidget *owner, TVXBaseFunctions *service);
    ~TVXLoad() override;

    QComboBox *ddDATABASE = nullptr;
    QComboBox *ddFROMDB = nullptr;
    QCheckBox *chFolders = nullptr;
    QCheckBox *chScripts = nullptr;
    QCheckBox *chFromDB = nullptr;
    QComboBox *cbOptions = nullptr;

    // The folder and the script choosers; file dialogs unless a test chooses.
    std::function<QString()> ChooseFolder;
    std::function<QString()> ChooseScript;

    enum class Group { Folders, Scripts };
    QList<TVXLoadRow *> Rows(Group group) const;
    QPushButton *SaveButton(Group group) const;
    QPushButton *DeleteButton(Group group) const;

    void ConnectToDB();
    void AddClick(Group group);
    void SaveClick(Group group);
    void CancelClick(Group group);
    void DeleteClick(Group group);
    void LoadClick();
    void CloseClick();

protected:
    void reject() override;

private:
    struct TGroup
    {
        QGroupBox *Box = nullptr;
        QVBoxLayout *Rows = nullptr;
        QList<TVXLoadRow *> List;
        TVXLoadRow *New = nullptr;
        QPushButton *Add = nullptr;
        QPushButton *Save = nullptr;
        QPushButton *Cancel = nullptr;
        QPushButton *Delete = nullptr;
    };
    QWidget *BuildGroup(TGroup &group, Group which, QCheckBox *enabler);
    TGroup &GroupOf(Group group) { return group == Group::Folders ? m_folders : m_scripts; }
    const TGroup &GroupOf(Group group) const
    {
        return group == Group::Folders ? m_folders : m_scripts;
    }
    void RefreshLoadRows();
    void ClearRows(TGroup &group);
    void UpdateButtons();
    bool Unsaved() const { return m_folders.New || m_scripts.New; }

    TVXConnection m_connection;
    TGroup m_folders;
    TGroup m_scripts;
};
