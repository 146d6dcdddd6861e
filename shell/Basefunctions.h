// SPDX-License-Identifier: GPL-3.0-or-later
// The central service object: function registry, window manager, configuration store.
#pragma once

#include "loading/Loadpipeline.h"
#include "shell/Basefunctionsinterface.h"
#include "shell/Configurationstore.h"
#include "shell/Forminterface.h"

#include <QFile>
#include <QList>
#include <QPointer>

#include <memory>

class TVXLanguageDefinitionsInterface;

class VXCORE_EXPORT TVXBaseFunctions : public TVXBaseFunctionsInterface
{
    Q_OBJECT
public:
    explicit TVXBaseFunctions(QObject *owner = nullptr);
    ~TVXBaseFunctions() override;

    void RegisterFunctionClass(const QString &name) override;
    void InitializeFunctions() override;
    void VXError(const QString &source, const QString &message) override;
    QString NewWindow(const QString &function, const QString &document, const QString &database,
                      QObject *sender, const QString &detail) override;
    void WindowActivated(TVXFormInterface *window) override;
    void ActivateWindow(QAction *item) override;
    void WindowNameChanged(TVXFormInterface *window, const QString &name) override;
    void WindowFontChanged(const QString &fontName, int fontSize) override;
    void WindowClosed(TVXFormInterface *window) override;
    void OpenToolWindow(const QString &name) override;
    QVariant ReadDocParameter(const QString &file, const QString &section, const QString &key,
                              int valueType) override;
    void WriteDocParameter(const QString &file, const QString &section, const QString &key,
                           int valueType, const QVariant &value) override;
    QObject *GetFunction(const QString &name, const QString &database) override;
    TVXDataAccessInterface *ConnectDB(const QString &database) override;
    void LoadDB(const QString &database, bool fromFolders, bool fromRepositories,
                const QString &fromDatabase, const QString &options) override;
    void DeleteFilesInDB(const QString &database, bool flag1, bool flag2,
                         const QString &folder) override;
    QString GetLanguageName(int languageID) override;
    bool GetEditorSettings(int languageID, QString &command, QString &editor,
                           QString &findKey) override;
    QString GetSourceDBName(bool first, bool next, bool isDefault) override;
    int GetSourceDBLastLoaded(const QString &database) override;
    void ExitApplication() override;
    // How the last load run ended (VXLoadStatus).
    int ExitStatus() const override { return m_exitStatus; }
    void SetUnattendedAnswer(bool yes) override { m_unattendedYes = yes; }
    QString LastLoadReport() const override { return m_lastLoadReport; }
    QString FontName() const override { return m_fontName; }
    int FontSize() const override { return m_fontSize; }
    void ShowMessage(TVXMessageKind kind, const QString &text) override;

    QString ShowInEditor(const QString &function, const QString &document, const QString &database,
                         QObject *sender, const QString &detail);
    QString ShowInExcel(const QString &function, const QString &document, const QString &database,
                        QObject *sender, const QString &detail);
    QString ShowInVisio(const QString &function, const QString &document, const QString &database,
                        QObject *sender, const QString &detail);

    // Where messages go: by default a message box where there is a display, standard
    // error where there is none. Tests and the command line put their own here.
    void SetMessageHandler(TVXMessageHandler handler) override
    {
        m_messageHandler = std::move(handler);
    }
    TVXConfigurationStore *ConfigurationStore() override { return &m_configuration; }

    struct TVXFunctionEntry
    {
        QString Name;
        QObject *Object = nullptr;
    };
    const QList<TVXFunctionEntry> &FunctionList() const { return m_functionList; }
    struct TVXWindowEntry
    {
        QString Name;
        TVXFormInterface *Window = nullptr;
    };
    const QList<TVXWindowEntry> &WindowList() const { return m_windowList; }
    TVXFormInterface *CurrentWindow() const { return m_currentWindow; }

    TVXConfigurationStore &Configuration() { return m_configuration; }
    // Open only when VN.ini asks for the load debug log.
    QFile *LoadDebug() { return m_loadDebug.get(); }

    // True when windows can be shown (a GUI application with a display).
    static bool HasDisplay();

    // Language definitions in registry order, created on first use.
    QList<TVXLanguageDefinitionsInterface *> LanguageDefinitions();

private:
    QString WindowName(const QString &function) const;
    QString MissingFunction(const QString &function) const;
    TVXFormInterface *CreateController(const QString &className, const QString &document,
                                       const QString &database, const QString &windowName);
    QWidget *OwnerWidget() const;
    void InitializeDatabases();
    void InitializeLanguages();
    void InitializeOptions();
    void InitializeLoadDebug();
    TVXLoadPipeline::TVXServices LoadServices();

    QList<TVXFunctionEntry> m_functionList;
    QList<TVXWindowEntry> m_windowList;
    QPointer<TVXFormInterface> m_currentWindow;
    TVXFormInterface *m_excelController = nullptr;
    TVXFormInterface *m_visioController = nullptr;
    QString m_fontName = QStringLiteral("MS Sans Serif");
    int m_exitStatus = 0;
    bool m_unattendedYes = false;
    QString m_lastLoadReport;
    int m_fontSize = 8;
    std::unique_ptr<QFile> m_loadDebug;
    TVXConfigurationStore m_configuration;
    int m_sourceDBIterator = -1;
    TVXMessageHandler m_messageHandler;
    bool m_exiting = false;
};
