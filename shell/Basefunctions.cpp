// SPDX-License-Identifier: GPL-3.0-or-later
// The central service object.
#include "shell/Basefunctions.h"

#include "loading/Dependencyresolver.h"
#include "loading/Loadprogress.h"
#include "loading/Loadprogresswindow.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Dataaccessinterface.h"
#include "shell/Classregistry.h"
#include "shell/Exception.h"
#include "shell/Forminterface.h"
#include "shell/Inifile.h"
#include "shell/Settings.h"
#include "shell/Tooldialog.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

#include <cstdio>

namespace {

const QString LangDefPrefix = QStringLiteral("LangDef_");
const QString FirstDataBase = QStringLiteral("VN_FirstDataBase");

} // namespace

TVXBaseFunctions::TVXBaseFunctions(QObject *owner)
    : TVXBaseFunctionsInterface(owner)
    , m_configuration(VXSettings::SettingsFolder())
{}

TVXBaseFunctions::~TVXBaseFunctions()
{
    // Windows and function objects come from packages that are unloaded after this
    // object is gone, so they are destroyed here, not left to their owners.
    for (const TVXWindowEntry &entry : std::as_const(m_windowList))
        delete entry.Window;
    m_windowList.clear();
    delete m_excelController;
    delete m_visioController;
    for (const TVXFunctionEntry &entry : std::as_const(m_functionList))
        delete entry.Object;
    m_functionList.clear();
    if (m_loadDebug)
        m_loadDebug->close();
}

bool TVXBaseFunctions::HasDisplay()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

QWidget *TVXBaseFunctions::OwnerWidget() const
{
    return qobject_cast<QWidget *>(parent());
}

void TVXBaseFunctions::ShowMessage(TVXMessageKind kind, const QString &text)
{
    if (m_messageHandler) {
        m_messageHandler(kind, text);
        return;
    }
    if (!HasDisplay()) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    QWidget *anchor = m_currentWindow ? static_cast<QWidget *>(m_currentWindow) : OwnerWidget();
    switch (kind) {
    case TVXMessageKind::Information:
        QMessageBox::information(anchor, QStringLiteral("Velunor"), text);
        break;
    case TVXMessageKind::Warning:
        QMessageBox::warning(anchor, QStringLiteral("Velunor"), text);
        break;
    case TVXMessageKind::Error:
        QMessageBox::critical(anchor, QStringLiteral("Velunor"), text);
        break;
    }
}

// ---- Function registry -------------------------------------------------------------

void TVXBaseFunctions::RegisterFunctionClass(const QString &name)
{
    if (!name.isEmpty())
        m_functionList.append({name, nullptr});
}

QObject *TVXBaseFunctions::GetFunction(const QString &name, const QString &database)
{
    if (name.startsWith(LangDefPrefix)) {
        for (TVXFunctionEntry &entry : m_functionList) {
            if (entry.Name != name)
                continue;
            if (!entry.Object)
                entry.Object = VXClassRegistry().Create<TVXLanguageDefinitionsInterface>(
                        QStringLiteral("TVX") + name, this, VXSettings::SettingsFolder());
            return entry.Object;
        }
        return nullptr;
    }
    if (name.endsWith(QLatin1String("DB"))) {
        const QString instanceName = name + database;
        for (const TVXFunctionEntry &entry : std::as_const(m_functionList))
            if (entry.Name == instanceName && entry.Object)
                return entry.Object;
        const bool registered = std::any_of(m_functionList.cbegin(), m_functionList.cend(),
                                            [&](const auto &e) { return e.Name == name; });
        if (!registered)
            return nullptr;
        TVXDataAccessInterface *driver = nullptr;
        try {
            driver = VXClassRegistry().Create<TVXDataAccessInterface>(QStringLiteral("TVX") + name,
                                                                      this);
        } catch (const std::exception &) {
            return nullptr;
        }
        if (driver)
            m_functionList.append({instanceName, driver});
        return driver;
    }
    return nullptr;
}

QList<TVXLanguageDefinitionsInterface *> TVXBaseFunctions::LanguageDefinitions()
{
    QList<TVXLanguageDefinitionsInterface *> definitions;
    for (int i = 0; i < m_functionList.size(); ++i) {
        const QString name = m_functionList[i].Name;
        if (!name.startsWith(LangDefPrefix))
            continue;
        auto definition = qobject_cast<TVXLanguageDefinitionsInterface *>(GetFunction(name, {}));
        if (definition && !definitions.contains(definition))
            definitions.append(definition);
    }
    return definitions;
}

TVXDataAccessInterface *TVXBaseFunctions::ConnectDB(const QString &database)
{
    TVXConfigTable &databases = m_configuration.DatabasesTable();
    const int row = database.isEmpty() ? databases.FindFirst(QStringLiteral("VX_DBDEFAULT"), true)
                                       : databases.FindFirst(QStringLiteral("VX_DBNAME"), database);
    if (row < 0)
        throw TVXException(QStringLiteral("TVXBaseFunctions.ConnectDB: ")
                           + (database.isEmpty()
                                      ? QStringLiteral("no source database is marked as default")
                                      : QStringLiteral("the source database '%1' is not configured")
                                                .arg(database)));
    const QString type = databases.Text(row, QStringLiteral("VX_DBTYPE"));
    const QString name = databases.Text(row, QStringLiteral("VX_DBNAME"));
    auto driver = qobject_cast<TVXDataAccessInterface *>(
            GetFunction(type + QStringLiteral("DB"), name));
    if (!driver)
        throw TVXException(QStringLiteral("TVXBaseFunctions.ConnectDB: no driver package for the "
                                          "database type '%1' of '%2' is loaded")
                                   .arg(type, name));
    driver->Connect(databases.Text(row, QStringLiteral("VX_DBCONNSTRING")));
    return driver;
}

TVXLoadPipeline::TVXServices TVXBaseFunctions::LoadServices()
{
    TVXLoadPipeline::TVXServices services;
    services.GetFunction = [this](const QString &name, const QString &database) {
        return GetFunction(name, database);
    };
    services.Ask = [this](const QString &question) {
        // An unattended load asks nobody and rebuilds nothing, unless told to say Yes.
        if (!HasDisplay())
            return m_unattendedYes;
        QString text = question;
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return QMessageBox::question(nullptr, QStringLiteral("Load"), text) == QMessageBox::Yes;
    };
    services.ProcessEvents = [] { QCoreApplication::processEvents(); };
    services.RefreshWindows = [this](TVXDataAccessInterface *db) {
        for (const TVXWindowEntry &entry : std::as_const(m_windowList))
            if (entry.Window)
                entry.Window->RefreshContent(db, nullptr, QString());
    };
    services.SaveDatabases = [this] { m_configuration.Save(TVXConfigurationStore::Databases); };
    services.UpdateDependencies = [this](const QString &database, TVXDataAccessInterface *db,
                                         TVXLoadProgress &progress) {
        TVXDependencyResolver resolver(
                m_configuration.LanguagesTable(), m_configuration.MiddlewareTable(),
                [this](const QString &name, const QString &database) {
                    return GetFunction(name, database);
                },
                m_loadDebug.get());
        resolver.UpdateDependencies(database, db, progress, 1);
    };
    services.LoadDebug = m_loadDebug.get();
    return services;
}

void TVXBaseFunctions::LoadDB(const QString &database, bool fromFolders, bool fromRepositories,
                              const QString &fromDatabase, const QString &options)
{
    // With a display the window owns the report and closes the log when the user closes
    // it; without one the report lives for the run.
    std::unique_ptr<TVXLoadProgress> unattended;
    TVXLoadProgress *progress = nullptr;
    QPointer<TVXLoadProgressWindow> window;
    if (HasDisplay()) {
        auto *owned = new TVXLoadProgress;
        window = new TVXLoadProgressWindow(*owned, OwnerWidget());
        owned->setParent(window);
        progress = owned;
        window->show();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        unattended = std::make_unique<TVXLoadProgress>();
        progress = unattended.get();
    }
    TVXLoadPipeline pipeline(m_configuration.DatabasesTable(), m_configuration.LanguagesTable(),
                             LoadServices(), *progress);
    // Until the run says otherwise, it did not finish.
    m_exitStatus = VXLoadStatus::Interrupted;
    try {
        pipeline.LoadDB(database, fromFolders, fromRepositories, fromDatabase, options);
        m_exitStatus
                = pipeline.FilesFailed() > 0 ? VXLoadStatus::FilesFailed : VXLoadStatus::Finished;
        m_lastLoadReport = progress->RunReport();
    } catch (const std::exception &) {
        m_lastLoadReport = progress->RunReport();
        if (HasDisplay())
            QApplication::restoreOverrideCursor();
        delete window;
        throw;
    }
    if (HasDisplay())
        QApplication::restoreOverrideCursor();
}

void TVXBaseFunctions::DeleteFilesInDB(const QString &database, bool, bool, const QString &folder)
{
    TVXLoadProgress progress;
    TVXLoadPipeline pipeline(m_configuration.DatabasesTable(), m_configuration.LanguagesTable(),
                             LoadServices(), progress);
    pipeline.DeleteFilesInDB(database, folder);
}

// ---- Configuration store -------------------------------------------------------------

void TVXBaseFunctions::InitializeFunctions()
{
    try {
        auto warn = [this](const QString &text) { ShowMessage(TVXMessageKind::Warning, text); };
        m_configuration.Load(TVXConfigurationStore::Databases, warn);
        InitializeDatabases();
        m_configuration.Load(TVXConfigurationStore::Languages, warn);
        InitializeLanguages();
        m_configuration.Load(TVXConfigurationStore::Options, warn);
        InitializeOptions();
        m_configuration.Load(TVXConfigurationStore::Middleware, warn);
        InitializeLoadDebug();
    } catch (const std::exception &e) {
        throw TVXException(QStringLiteral("TVXBaseFunctions.InitializeFunctions: ") + VXMessage(e));
    }
}

void TVXBaseFunctions::InitializeDatabases()
{
    TVXConfigTable &databases = m_configuration.DatabasesTable();
    if (!databases.IsEmpty())
        return;
    QString chosen;
    for (const QString &type :
         {QStringLiteral("InMemory"), QStringLiteral("InterBase"), QStringLiteral("ODBC")}) {
        if (GetFunction(type + QStringLiteral("DB"), FirstDataBase)) {
            chosen = type;
            break;
        }
    }
    if (chosen.isEmpty())
        throw TVXException(
                QStringLiteral("Default DataBase Connectors are missing, reinstall Velunor."));

    const QString folder = VXSettings::SettingsFolder();
    QString connection;
    if (chosen == QLatin1String("InMemory"))
        connection = folder + FirstDataBase + QStringLiteral(".sqlite");
    else if (chosen == QLatin1String("InterBase"))
        connection = folder + FirstDataBase + QStringLiteral(".IB");
    else
        connection = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + folder
                     + FirstDataBase + QStringLiteral(".mdb;Persist Security Info=False");
    databases.Append({{QStringLiteral("VX_DBNAME"), FirstDataBase},
                      {QStringLiteral("VX_DBTYPE"), chosen},
                      {QStringLiteral("VX_DBCONNSTRING"), connection},
                      {QStringLiteral("VX_DBDEFAULT"), true}});
    m_configuration.Save(TVXConfigurationStore::Databases);
}

void TVXBaseFunctions::InitializeLanguages()
{
    TVXConfigTable &languages = m_configuration.LanguagesTable();
    for (TVXLanguageDefinitionsInterface *definition : LanguageDefinitions()) {
        if (languages.FindFirst(QStringLiteral("VXLanguageName"), definition->LanguageName()) >= 0)
            continue;
        languages.Append({{QStringLiteral("VXLanguageID"), definition->LanguageID()},
                          {QStringLiteral("VXLanguageName"), definition->LanguageName()},
                          {QStringLiteral("VXFileExtensions"), definition->FileExtensions()}});
    }
    m_configuration.Save(TVXConfigurationStore::Languages);
}

void TVXBaseFunctions::InitializeOptions()
{
    TVXConfigTable &options = m_configuration.OptionsTable();
    m_fontName = QStringLiteral("MS Sans Serif");
    m_fontSize = 8;
    if (options.IsEmpty()) {
        options.Append({{QStringLiteral("OFontName"), m_fontName},
                        {QStringLiteral("OFontSize"), m_fontSize}});
        m_configuration.Save(TVXConfigurationStore::Options);
    }
    m_fontName = options.Text(0, QStringLiteral("OFontName"));
    m_fontSize = options.Value(0, QStringLiteral("OFontSize")).toInt();
}

void TVXBaseFunctions::InitializeLoadDebug()
{
    if (!VXSettings::LoadDebug())
        return;
    m_loadDebug = std::make_unique<QFile>(VXSettings::SettingsFolder()
                                          + QStringLiteral("VN_Load_Debug.txt"));
    if (!m_loadDebug->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw TVXException(QStringLiteral("Cannot write %1: %2")
                                   .arg(m_loadDebug->fileName(), m_loadDebug->errorString()));
}

QString TVXBaseFunctions::GetLanguageName(int languageID)
{
    const TVXConfigTable &languages = m_configuration.LanguagesTable();
    const int row = languages.FindFirst(QStringLiteral("VXLanguageID"), languageID);
    return row < 0 ? QString() : languages.Text(row, QStringLiteral("VXLanguageName"));
}

bool TVXBaseFunctions::GetEditorSettings(int languageID, QString &command, QString &editor,
                                         QString &findKey)
{
    const TVXConfigTable &languages = m_configuration.LanguagesTable();
    const int row = languages.FindFirst(QStringLiteral("VXLanguageID"), languageID);
    if (row < 0)
        return false;
    command = languages.Text(row, QStringLiteral("VXEditorStartCommand"));
    editor = languages.Text(row, QStringLiteral("VXEditorName"));
    findKey = languages.Text(row, QStringLiteral("VXFindShortcutKey"));
    return true;
}

QString TVXBaseFunctions::GetSourceDBName(bool first, bool next, bool isDefault)
{
    const TVXConfigTable &databases = m_configuration.DatabasesTable();
    if (isDefault) {
        const int row = databases.FindFirst(QStringLiteral("VX_DBDEFAULT"), true);
        return row < 0 ? QString() : databases.Text(row, QStringLiteral("VX_DBNAME"));
    }
    if (first)
        m_sourceDBIterator = 0;
    else if (next && m_sourceDBIterator >= 0)
        ++m_sourceDBIterator;
    else
        return {};
    if (m_sourceDBIterator >= databases.RowCount()) {
        m_sourceDBIterator = databases.RowCount();
        return {};
    }
    return databases.Text(m_sourceDBIterator, QStringLiteral("VX_DBNAME"));
}

int TVXBaseFunctions::GetSourceDBLastLoaded(const QString &database)
{
    const TVXConfigTable &databases = m_configuration.DatabasesTable();
    const int row = databases.FindFirst(QStringLiteral("VX_DBNAME"), database);
    return row < 0 ? 0 : databases.Value(row, QStringLiteral("VX_DBLASTLOADED")).toInt();
}

void TVXBaseFunctions::WindowFontChanged(const QString &fontName, int fontSize)
{
    m_fontName = fontName;
    m_fontSize = fontSize;
    TVXConfigTable &options = m_configuration.OptionsTable();
    if (options.IsEmpty())
        options.Append({});
    options.SetValue(0, QStringLiteral("OFontName"), fontName);
    options.SetValue(0, QStringLiteral("OFontSize"), fontSize);
    try {
        m_configuration.Save(TVXConfigurationStore::Options);
    } catch (const std::exception &e) {
        ShowMessage(TVXMessageKind::Error, VXMessage(e));
    }
    for (const TVXWindowEntry &entry : std::as_const(m_windowList))
        entry.Window->SetFont(fontName, fontSize);
}

// ---- Windows ---------------------------------------------------------------------------

QString TVXBaseFunctions::MissingFunction(const QString &function) const
{
    return QStringLiteral("The function '%1' is not available: no loaded package provides "
                          "the class TVX%1.")
            .arg(function);
}

QString TVXBaseFunctions::WindowName(const QString &function) const
{
    const auto serial = std::count_if(m_windowList.cbegin(), m_windowList.cend(),
                                      [&](const TVXWindowEntry &entry) {
                                          return entry.Name.startsWith(function);
                                      })
                        + 1;
    return function + QStringLiteral(" [") + QString::number(serial) + QLatin1Char(']');
}

QString TVXBaseFunctions::NewWindow(const QString &function, const QString &document,
                                    const QString &database, QObject *sender, const QString &detail)
{
    if (function == QLatin1String("Load")) {
        // A scheduled job must not take a run that did not finish for a current repository.
        try {
            LoadDB(document, true, true, QString(), detail);
        } catch (const std::exception &) {
            // The load has logged its failure and left its status; an unattended load
            // ends in any case.
        }
        ExitApplication();
        return {};
    }
    if (function == QLatin1String("EditorController"))
        return ShowInEditor(function, document, database, sender, detail);
    if (function == QLatin1String("WorkList") || function == QLatin1String("BizAnalysis")
        || function == QLatin1String("Report"))
        return ShowInExcel(function, document, database, sender, detail);
    if (function == QLatin1String("Diagram"))
        return ShowInVisio(function, document, database, sender, detail);

    const QString className = QStringLiteral("TVX") + function;
    if (!VXClassRegistry().IsA<TVXFormInterface>(className))
        return MissingFunction(function);
    if (!HasDisplay())
        return QStringLiteral("The %1 window needs a display; only LOAD_INTO_DB_NAMED runs "
                              "without one.")
                .arg(function);

    try {
        const QString name = WindowName(function);
        TVXFormInterface *window = VXClassRegistry().Create<TVXFormInterface>(
                className, OwnerWidget(), static_cast<TVXBaseFunctionsInterface *>(this), document,
                database, name);
        window->move(m_currentWindow ? m_currentWindow->pos() + QPoint(20, 20) : QPoint(40, 40));
        m_currentWindow = window;
        window->SetFont(m_fontName, m_fontSize);
        window->show();
        m_windowList.append({name, window});
        for (const TVXWindowEntry &entry : std::as_const(m_windowList))
            if (entry.Window != window)
                window->AddWindowMenuItem(QStringLiteral("IP") + entry.Window->Identifier(),
                                          entry.Name);
        for (const TVXWindowEntry &entry : std::as_const(m_windowList))
            entry.Window->AddWindowMenuItem(QStringLiteral("IP") + window->Identifier(), name);
        window->RefreshContent(nullptr, sender, detail);
    } catch (const std::exception &e) {
        VXError(QStringLiteral("TVXBaseFunctions.NewWindow"), VXMessage(e));
    }
    return {};
}

void TVXBaseFunctions::WindowActivated(TVXFormInterface *window)
{
    m_currentWindow = window;
}

void TVXBaseFunctions::WindowNameChanged(TVXFormInterface *window, const QString &name)
{
    m_currentWindow = window;
    for (TVXWindowEntry &entry : m_windowList)
        if (entry.Window == window)
            entry.Name = name;
    const QString item = QStringLiteral("IP") + window->Identifier();
    for (const TVXWindowEntry &entry : std::as_const(m_windowList))
        entry.Window->ChangeWindowMenuItem(item, name);
}

void TVXBaseFunctions::WindowClosed(TVXFormInterface *window)
{
    m_currentWindow = window;
    const auto found = std::find_if(m_windowList.begin(), m_windowList.end(),
                                    [&](const TVXWindowEntry &e) { return e.Window == window; });
    if (found == m_windowList.end())
        return;
    const QString item = QStringLiteral("IP") + window->Identifier();
    m_windowList.erase(found);
    // Destroyed once its close event has completed.
    window->deleteLater();
    for (const TVXWindowEntry &entry : std::as_const(m_windowList))
        entry.Window->DeleteWindowMenuItem(item);
    if (m_windowList.isEmpty())
        ExitApplication();
}

void TVXBaseFunctions::ActivateWindow(QAction *item)
{
    if (!item)
        return;
    const QString identifier = item->objectName().mid(2);
    for (const TVXWindowEntry &entry : std::as_const(m_windowList)) {
        if (entry.Window->Identifier() != identifier)
            continue;
        entry.Window->show();
        if (entry.Window->isMinimized())
            entry.Window->showNormal();
        entry.Window->raise();
        entry.Window->activateWindow();
        return;
    }
}

void TVXBaseFunctions::OpenToolWindow(const QString &name)
{
    static const QHash<QString, QString> dialogs = {
            {QStringLiteral("SourceDatabases"), QStringLiteral("TVXSourceDatabases")},
            {QStringLiteral("Languages"), QStringLiteral("TVXLanguages")},
            {QStringLiteral("Middleware"), QStringLiteral("TVXMiddleWare")},
            {QStringLiteral("Repositories"), QStringLiteral("TVXRepositories")},
            {QStringLiteral("Editors"), QStringLiteral("TVXEditors")},
            {QStringLiteral("Load"), QStringLiteral("TVXLoad")},
            {QStringLiteral("Export"), QStringLiteral("TVXExport")},
            {QStringLiteral("About"), QStringLiteral("TVXAbout")},
            {QStringLiteral("Properties"), QStringLiteral("TVXProperties")},
            {QStringLiteral("WindowChange"), QStringLiteral("TVXWindowChange")},
    };
    const QString className = dialogs.value(name);
    if (className.isEmpty() || !HasDisplay())
        return;
    std::unique_ptr<TVXToolDialog> dialog(
            VXClassRegistry().Create<TVXToolDialog>(className, m_currentWindow.data(), this));
    if (!dialog)
        return;
    if (m_currentWindow)
        dialog->move(m_currentWindow->pos() + QPoint(100, 100));
    dialog->exec();
}

// ---- Controllers -----------------------------------------------------------------------

TVXFormInterface *TVXBaseFunctions::CreateController(const QString &className,
                                                     const QString &document,
                                                     const QString &database,
                                                     const QString &windowName)
{
    if (!HasDisplay())
        throw TVXException(QStringLiteral("The %1 needs a display").arg(className.mid(3)));
    return VXClassRegistry().Create<TVXFormInterface>(
            className, OwnerWidget(), static_cast<TVXBaseFunctionsInterface *>(this), document,
            database, windowName);
}

QString TVXBaseFunctions::ShowInEditor(const QString &function, const QString &,
                                       const QString &database, QObject *sender,
                                       const QString &detail)
{
    const QString className = QStringLiteral("TVX") + function;
    if (!VXClassRegistry().IsA<TVXFormInterface>(className))
        return MissingFunction(function);
    QString command, editor, findKey;
    if (!GetEditorSettings(detail.toInt(), command, editor, findKey))
        return QStringLiteral("LanguageID ") + detail + QStringLiteral(" not found");
    try {
        std::unique_ptr<TVXFormInterface> controller(
                CreateController(className, command, database, editor));
        controller->RefreshContent(ConnectDB(database), sender, findKey);
    } catch (const std::exception &e) {
        return VXMessage(e);
    }
    return {};
}

QString TVXBaseFunctions::ShowInExcel(const QString &function, const QString &document,
                                      const QString &database, QObject *sender,
                                      const QString &detail)
{
    const QString className = QStringLiteral("TVXExcelController");
    if (!VXClassRegistry().IsA<TVXFormInterface>(className))
        return MissingFunction(QStringLiteral("ExcelController"));
    try {
        if (!m_excelController)
            m_excelController = CreateController(className, document, database, QString());
        QString command = detail;
        if (detail == QLatin1String("New"))
            command = QStringLiteral("New") + function;
        else if (detail == QLatin1String("Open"))
            command = QStringLiteral("Open") + function + document;
        TVXDataAccessInterface *connection = ConnectDB(database);
        m_excelController->RefreshContent(connection, sender, command);
        connection->DisConnect(false, false);
    } catch (const std::exception &e) {
        return VXMessage(e);
    }
    return {};
}

QString TVXBaseFunctions::ShowInVisio(const QString &, const QString &, const QString &database,
                                      QObject *sender, const QString &detail)
{
    const QString className = QStringLiteral("TVXVisioController");
    if (!VXClassRegistry().IsA<TVXFormInterface>(className))
        return MissingFunction(QStringLiteral("VisioController"));
    try {
        if (!m_visioController)
            m_visioController = CreateController(className, QString(), database, QString());
        m_visioController->RefreshContent(nullptr, sender, detail);
    } catch (const std::exception &e) {
        return VXMessage(e);
    }
    return {};
}

// ---- Documents -------------------------------------------------------------------------

QVariant TVXBaseFunctions::ReadDocParameter(const QString &file, const QString &section,
                                            const QString &key, int valueType)
{
    const TVXIniFile ini(file);
    if (!ini.ValueExists(section, key))
        return QString();
    const QString text = ini.ReadString(section, key);
    bool ok = false;
    switch (valueType) {
    case vtBoolean: {
        const int number = text.toInt(&ok);
        return ok && number != 0;
    }
    case vtString:
        return text;
    case vtDateTime: {
        const QDateTime value = QDateTime::fromString(text, Qt::ISODate);
        return value.isValid() ? value : QDateTime::currentDateTime();
    }
    case vtInteger: {
        const int number = text.toInt(&ok);
        return ok ? number : 0;
    }
    case vtDouble: {
        const double number = text.toDouble(&ok);
        return ok ? number : 0.0;
    }
    default:
        return QString();
    }
}

void TVXBaseFunctions::WriteDocParameter(const QString &file, const QString &section,
                                         const QString &key, int valueType, const QVariant &value)
{
    TVXIniFile ini(file);
    if (!ini.ValueExists(section, key))
        return;
    QString text;
    switch (valueType) {
    case vtBoolean:
        text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        break;
    case vtString:
        text = value.toString();
        break;
    case vtDateTime:
        text = value.toDateTime().toString(Qt::ISODate);
        break;
    case vtInteger:
        text = QString::number(value.toInt());
        break;
    case vtDouble:
        text = QString::number(value.toDouble(), 'g', 17);
        break;
    default:
        return;
    }
    ini.WriteString(section, key, text);
    ini.Save();
}

// ---- Ending ----------------------------------------------------------------------------

void TVXBaseFunctions::VXError(const QString &source, const QString &message)
{
    ShowMessage(TVXMessageKind::Error, source + QStringLiteral(": ") + message);
    ExitApplication();
}

void TVXBaseFunctions::ExitApplication()
{
    Q_EMIT ExitRequested();
}
