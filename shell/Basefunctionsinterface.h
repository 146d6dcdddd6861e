// SPDX-License-Identifier: GPL-3.0-or-later
// The abstract service object: everything a package may ask of the running system.
#pragma once

#include "base/Export.h"

#include <QObject>
#include <QVariant>

#include <functional>

class QAction;
class TVXConfigurationStore;
class TVXDataAccessInterface;
class TVXFormInterface;

// Kinds of message a user is shown; where there is no display they go to standard error.
enum class TVXMessageKind { Information, Warning, Error };

// Windows and packages reach the service object only through this class. Every body does
// nothing and returns empty text, zero, false or none; TVXBaseFunctions gives them their
// meaning. All calls come from the user-interface thread.
class VXCORE_EXPORT TVXBaseFunctionsInterface : public QObject
{
    Q_OBJECT
public:
    using TVXClassBase = TVXBaseFunctionsInterface;
    using TVXFactory = std::function<TVXBaseFunctionsInterface *(QObject *owner)>;

    explicit TVXBaseFunctionsInterface(QObject *owner = nullptr);

    virtual void RegisterFunctionClass(const QString &name);
    virtual void InitializeFunctions();
    virtual void VXError(const QString &source, const QString &message);
    // Returns an error text, empty on success.
    virtual QString NewWindow(const QString &function, const QString &document,
                              const QString &database, QObject *sender, const QString &detail);
    virtual void WindowActivated(TVXFormInterface *window);
    virtual void ActivateWindow(QAction *item);
    virtual void WindowNameChanged(TVXFormInterface *window, const QString &name);
    virtual void WindowFontChanged(const QString &fontName, int fontSize);
    virtual void WindowClosed(TVXFormInterface *window);
    virtual void OpenToolWindow(const QString &name);
    // Value type codes: 3 integer, 5 double, 7 date-time, 11 boolean, 256 text.
    virtual QVariant ReadDocParameter(const QString &file, const QString &section,
                                      const QString &key, int valueType);
    virtual void WriteDocParameter(const QString &file, const QString &section, const QString &key,
                                   int valueType, const QVariant &value);
    virtual QObject *GetFunction(const QString &name, const QString &database);
    virtual TVXDataAccessInterface *ConnectDB(const QString &database);
    virtual void LoadDB(const QString &database, bool fromFolders, bool fromRepositories,
                        const QString &fromDatabase, const QString &options);
    virtual void DeleteFilesInDB(const QString &database, bool flag1, bool flag2,
                                 const QString &folder);
    virtual QString GetLanguageName(int languageID);
    virtual bool GetEditorSettings(int languageID, QString &command, QString &editor,
                                   QString &findKey);
    virtual QString GetSourceDBName(bool first, bool next, bool isDefault);
    virtual int GetSourceDBLastLoaded(const QString &database);
    virtual void ExitApplication();
    // The status the program ends with when it ends now: 0, or how the last load run
    // ended (VXLoadStatus).
    virtual int ExitStatus() const;
    // What a load without a display answers to its questions (a rebuild when files were
    // added, the removal of an emptied folder's files): No unless told otherwise.
    virtual void SetUnattendedAnswer(bool yes);
    // The load log lines the last load run wrote.
    virtual QString LastLoadReport() const;

    // Beyond the classic slots: what windows need to preset their font dialog, and the
    // one channel through which every message reaches the user.
    virtual QString FontName() const;
    virtual int FontSize() const;
    virtual void ShowMessage(TVXMessageKind kind, const QString &text);
    // Where messages go instead of a message box (tests, the command line).
    using TVXMessageHandler = std::function<void(TVXMessageKind, const QString &)>;
    virtual void SetMessageHandler(TVXMessageHandler handler);
    // The settings tables, for the rules classes that the dialogs and the command line
    // share; none in this base.
    virtual TVXConfigurationStore *ConfigurationStore();

    // Value type codes of ReadDocParameter / WriteDocParameter.
    static constexpr int vtInteger = 3;
    static constexpr int vtDouble = 5;
    static constexpr int vtDateTime = 7;
    static constexpr int vtBoolean = 11;
    static constexpr int vtString = 256;

Q_SIGNALS:
    // ExitApplication was called: the program's main object closes and the application
    // ends.
    void ExitRequested();
};
