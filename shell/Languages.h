// SPDX-License-Identifier: GPL-3.0-or-later
// The Languages dialog (the file extensions of each language) and the Editors dialog (the
// editor each language's sources open in), over the language rules that velunor-cli
// applies as well.
#pragma once

#include "shell/Languagerules.h"
#include "shell/Tooldialog.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QListWidget;
class QTableWidget;
class QVBoxLayout;

// What both dialogs share: the list of languages, the rules, and the question on Close.
class VXCORE_EXPORT TVXLanguageDialog : public TVXToolDialog
{
    Q_OBJECT
public:
    TVXLanguageDialog(QWidget *owner, TVXBaseFunctions *service, const QString &caption,
                      const QString &chooseLabel);
    ~TVXLanguageDialog() override;

    QListWidget *lbLanguages = nullptr;
    bool Modified() const { return m_modified; }
    void CloseClick();

protected:
    void reject() override;
    virtual void ShowLanguage(int row) = 0;
    void Modify() { m_modified = true; }
    void Saved() { m_modified = false; }
    // The layout the dialog's own area goes into, right of the list.
    QVBoxLayout *Area() const { return m_area; }
    void FillList();

    std::unique_ptr<TVXLanguageRules> m_rules;
    QList<TVXLanguageSettings> m_languages;

private:
    QVBoxLayout *m_area = nullptr;
    bool m_modified = false;
};

class VXCORE_EXPORT TVXLanguages : public TVXLanguageDialog
{
    Q_OBJECT
public:
    TVXLanguages(QWidget *owner, TVXBaseFunctions *service);

    QTableWidget *grExtensions = nullptr;
    QStringList Extensions() const;
    void AddClick();
    void DeleteClick();
    void SaveClick();
    void CancelClick();

protected:
    void ShowLanguage(int row) override;
};

class VXCORE_EXPORT TVXEditors : public TVXLanguageDialog
{
    Q_OBJECT
public:
    TVXEditors(QWidget *owner, TVXBaseFunctions *service);

    QLineEdit *edEditorName = nullptr;
    QLineEdit *edStartCommand = nullptr;
    QComboBox *cbFindShortcut = nullptr;
    void SaveClick();
    void CancelClick();

protected:
    void ShowLanguage(int row) override;
};
