// SPDX-License-Identifier: GPL-3.0-or-later
// The service object with its windows: the window manager, the configuration dialogs, the
// controllers and message boxes over the display-free half.
#pragma once

#include "shell/Basefunctionscore.h"
#include "shell/Forminterface.h"

#include <QList>
#include <QPointer>

class VXCORE_EXPORT TVXBaseFunctions : public TVXBaseFunctionsCore
{
    Q_OBJECT
public:
    explicit TVXBaseFunctions(QObject *owner = nullptr);
    ~TVXBaseFunctions() override;

    QString NewWindow(const QString &function, const QString &document, const QString &database,
                      QObject *sender, const QString &detail) override;
    void WindowActivated(TVXFormInterface *window) override;
    void ActivateWindow(QAction *item) override;
    void WindowNameChanged(TVXFormInterface *window, const QString &name) override;
    void WindowFontChanged(const QString &fontName, int fontSize) override;
    void WindowClosed(TVXFormInterface *window) override;
    void OpenToolWindow(const QString &name) override;
    // Where messages go: the message handler when one is set (tests), a message box where
    // there is a display, standard error where there is none.
    void ShowMessage(TVXMessageKind kind, const QString &text) override;

    QString ShowInEditor(const QString &function, const QString &document, const QString &database,
                         QObject *sender, const QString &detail);
    QString ShowInExcel(const QString &function, const QString &document, const QString &database,
                        QObject *sender, const QString &detail);
    QString ShowInVisio(const QString &function, const QString &document, const QString &database,
                        QObject *sender, const QString &detail);

    struct TVXWindowEntry
    {
        QString Name;
        TVXFormInterface *Window = nullptr;
    };
    const QList<TVXWindowEntry> &WindowList() const { return m_windowList; }
    TVXFormInterface *CurrentWindow() const { return m_currentWindow; }

    // True when windows can be shown (a GUI application with a display).
    static bool HasDisplay();

protected:
    std::unique_ptr<TVXLoadRun> NewLoadRun() override;
    bool Ask(const QString &question) override;
    void RefreshWindows(TVXDataAccessInterface *db) override;

private:
    QString WindowName(const QString &function) const;
    TVXFormInterface *CreateController(const QString &className, const QString &document,
                                       const QString &database, const QString &windowName);
    QWidget *OwnerWidget() const;

    QList<TVXWindowEntry> m_windowList;

    // Closed windows waiting for the event loop to destroy them.

    QList<QPointer<TVXFormInterface>> m_closingWindows;
    QPointer<TVXFormInterface> m_currentWindow;
    TVXFormInterface *m_excelController = nullptr;
    TVXFormInterface *m_visioController = nullptr;
};
