// SPDX-License-Identifier: GPL-3.0-or-later
// The MiddleWare dialog, which edits the definitions of middleware calls (a marking word,
// where it stands, the offsets of the target's names, the scope), and its test dialog,
// which shows what one definition finds in a repository without writing anything. The
// checks are the middleware rules that velunor-cli applies as well.
#pragma once

#include "loading/Middlewarerules.h"
#include "repository/Connection.h"
#include "shell/Tooldialog.h"

#include <QHash>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

class VXCORE_EXPORT TVXMiddleWare : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXMiddleWare(QWidget *owner, TVXBaseFunctions *service);
    ~TVXMiddleWare() override;

    QListWidget *lbMiddleware = nullptr;
    // The fields by their table column (VXMiddleWare, VXWord, VXOffsetToEntryName, ...).
    QHash<QString, QLineEdit *> Edits;
    QComboBox *cbWordType = nullptr;
    QComboBox *cbScope = nullptr;
    bool Editing() const { return m_editing; }

    void AddClick();
    void DeleteClick();
    void SaveClick();
    void CancelClick();
    void CloseClick();
    // Opens the test of the definition named in the name field.
    void TestClick();
    // The test dialog TestClick opens; a test may look at it before it runs modally.
    std::function<void(TVXToolDialog *)> TestOpened;

protected:
    void reject() override;

private:
    void Reload(int select);
    void ShowRow(int row);
    void SetEditing(bool editing);
    TVXMiddlewareSettings Edited() const;

    std::unique_ptr<TVXMiddlewareRules> m_rules;
    QList<TVXMiddlewareSettings> m_rows;
    int m_newRow = -1;
    bool m_editing = false;
    bool m_filling = false;
    QList<QPushButton *> m_idleButtons; // Add, Delete, Close, Test
    QList<QPushButton *> m_editButtons; // Save, Cancel
};

class VXCORE_EXPORT TVXMiddleWareTest : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXMiddleWareTest(QWidget *owner, TVXBaseFunctions *service, const QString &definition);
    ~TVXMiddleWareTest() override;

    QComboBox *cbDatabase = nullptr;
    QTableWidget *grResult = nullptr;
    QLabel *lbMessage = nullptr;
    // Runs the test on the chosen database.
    void RunTest();

private:
    QString m_definition;
};
