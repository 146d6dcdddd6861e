// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every document window: document properties, the shared main menu, the
// window-level shortcuts and the hooks concrete windows override.
#pragma once

#include "base/Export.h"

#include <QMainWindow>

#include <functional>

class QMenu;
class TVXBaseFunctionsInterface;
class TVXDataAccessInterface;

class VXCORE_EXPORT TVXFormInterface : public QMainWindow
{
    Q_OBJECT
public:
    using TVXClassBase = TVXFormInterface;
    using TVXFactory = std::function<TVXFormInterface *(
            QWidget *owner, TVXBaseFunctionsInterface *baseFunctions, const QString &document,
            const QString &sourceDatabase, const QString &title)>;

    TVXFormInterface(QWidget *owner, TVXBaseFunctionsInterface *baseFunctions,
                     const QString &document, const QString &sourceDatabase, const QString &title);

    QString Title;
    QString ComposedBy;
    QString Comments;
    QString SourceDatabase;
    TVXBaseFunctionsInterface *BaseFunctions = nullptr;
    QString Document;
    bool SuppressKeyPress = false;
    bool ExtendedMode = false;

    // The window's identity as it appears in Window-menu item names ("IP" + identifier).
    QString Identifier() const;

    virtual void Open1Click(const QString &function);
    virtual void Save1Click();
    virtual void SaveAs1Click();
    virtual void Print1Click();
    virtual void Edit1Click();
    virtual void Copy1Click();
    virtual void SelectAll1Click();
    virtual void ClearSelection1Click();
    virtual void Find1Click();
    virtual void FindDialog1Find();
    virtual void FindDialog1Close();
    // Throws when the window cannot reach its source database.
    virtual void ConnectToDB();
    virtual void RefreshContent(TVXDataAccessInterface *connection, QObject *sender,
                                const QString &detail);
    virtual void SetFont(const QString &fontName, int fontSize);

    // Window-menu maintenance, called by the service object.
    void AddWindowMenuItem(const QString &name, const QString &caption);
    void DeleteWindowMenuItem(const QString &name);
    void ChangeWindowMenuItem(const QString &name, const QString &caption);
    QMenu *WindowMenu() const { return m_windowMenu; }

    // Asks the service object for a new window of that function on this window's database.
    QString NewWindow(const QString &function);

    // Takes back what the Properties dialog edited; reconnects when the database changed
    // and returns to the old one when the new one cannot be reached.
    void ApplyProperties(const QString &title, const QString &composedBy, const QString &comments,
                         const QString &sourceDatabase);

    // Opens a help document from the program's folder with the desktop's viewer.
    void OpenHelpDocument(const QString &fileName);

    void UpdateCaption();
    void ToggleExtendedMode();

protected:
    // A counted connection to the window's source database, for the window to end; opened
    // without a database (the program's first window), the window takes the default one by
    // name, so that its caption and documents say which repository it shows. Throws when
    // the database cannot be reached.
    TVXDataAccessInterface *ConnectSourceDatabase();
    // Concrete windows put their own menus between Edit and Tools.
    void InsertWindowMenu(QMenu *menu);
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BuildMenus();
    void AddShortcut(QKeyCombination key, const std::function<void()> &handler);
    void ShowError(const QString &text);
    void NewDocument(const QString &function, const QString &detail);
    void OpenDocument(const QString &function);
    void ChooseFont();

    QMenu *m_toolsMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QAction *m_saveAction = nullptr;
};
