// SPDX-License-Identifier: GPL-3.0-or-later
// The display-free half of the service object: the function registry, repository
// connections, loading, the configuration store and document parameters. velunor-cli runs
// on it alone; TVXBaseFunctions adds the windows.
#pragma once

#include "base/Configurationstore.h"

#include "loading/Loadpipeline.h"
#include "shell/Basefunctionsinterface.h"

#include <QFile>
#include <QList>

#include <memory>

class TVXLanguageDefinitionsInterface;
class TVXLoadProgress;

class VXCORE_EXPORT TVXBaseFunctionsCore : public TVXBaseFunctionsInterface
{
    Q_OBJECT
public:
    explicit TVXBaseFunctionsCore(QObject *owner = nullptr);
    ~TVXBaseFunctionsCore() override;

    void RegisterFunctionClass(const QString &name) override;
    void InitializeFunctions() override;
    void VXError(const QString &source, const QString &message) override;
    // Without windows only the unattended load runs; every other function answers that it
    // needs a display.
    QString NewWindow(const QString &function, const QString &document, const QString &database,
                      QObject *sender, const QString &detail) override;
    void WindowFontChanged(const QString &fontName, int fontSize) override;
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
    // The message handler when one is set, standard error otherwise.
    void ShowMessage(TVXMessageKind kind, const QString &text) override;
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

    TVXConfigurationStore &Configuration() { return m_configuration; }
    // Open only when VN.ini asks for the load debug log.
    QFile *LoadDebug() { return m_loadDebug.get(); }

    // Language definitions in registry order, created on first use.
    QList<TVXLanguageDefinitionsInterface *> LanguageDefinitions();

    // What a load run reports to while it runs. Without windows the report lives for the
    // run; the window half shows it in the progress window, which stays open after a run
    // that finished.
    class TVXLoadRun
    {
    public:
        virtual ~TVXLoadRun() = default;
        virtual TVXLoadProgress &Progress() = 0;
        // The run finished; a run that is destroyed unfinished failed.
        virtual void Finished() {}
    };

protected:
    virtual std::unique_ptr<TVXLoadRun> NewLoadRun();
    // A load's Yes/No question: unattended, the answer set by SetUnattendedAnswer.
    virtual bool Ask(const QString &question);
    // Open windows show what a load changed; none here.
    virtual void RefreshWindows(TVXDataAccessInterface *) {}
    // Whether a message handler takes the messages instead of the default channel.
    bool HasMessageHandler() const { return static_cast<bool>(m_messageHandler); }
    QString MissingFunction(const QString &function) const;
    static QString NeedsDisplay(const QString &function);

private:
    void InitializeDatabases();
    void InitializeLanguages();
    void InitializeOptions();
    void InitializeLoadDebug();
    TVXLoadPipeline::TVXServices LoadServices();

    QList<TVXFunctionEntry> m_functionList;
    QString m_fontName = QStringLiteral("MS Sans Serif");
    int m_fontSize = 8;
    int m_exitStatus = 0;
    bool m_unattendedYes = false;
    QString m_lastLoadReport;
    std::unique_ptr<QFile> m_loadDebug;
    TVXConfigurationStore m_configuration;
    int m_sourceDBIterator = -1;
    TVXMessageHandler m_messageHandler;
};
