// SPDX-License-Identifier: GPL-3.0-or-later
// The display-free half of the service object.
#include "shell/Basefunctionscore.h"

#include "base/Classregistry.h"
#include "base/Exception.h"
#include "base/Inifile.h"
#include "base/Settings.h"

#include "loading/Dependencyresolver.h"
#include "loading/Loadprogress.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Dataaccessinterface.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

namespace {

const QString LangDefPrefix = QStringLiteral("LangDef_");
const QString FirstDataBase = QStringLiteral("VN_FirstDataBase");

// An unattended run's report lives as long as the run.
class TVXUnattendedLoadRun : public TVXBaseFunctionsCore::TVXLoadRun
{
public:
    TVXLoadProgress &Progress() override { return m_progress; }

private:
    TVXLoadProgress m_progress;
};

} // namespace

TVXBaseFunctionsCore::TVXBaseFunctionsCore(QObject *owner)
    : TVXBaseFunctionsInterface(owner)
    , m_configuration(VXSettings::SettingsFolder())
{}

TVXBaseFunctionsCore::~TVXBaseFunctionsCore()
{
    // Function objects come from packages that are unloaded after this object is gone,
    // so they are destroyed here, not left to their owners.
    for (const TVXFunctionEntry &entry : std::as_const(m_functionList))
        delete entry.Object;
    m_functionList.clear();
    if (m_loadDebug)
        m_loadDebug->close();
}

void TVXBaseFunctionsCore::ShowMessage(TVXMessageKind kind, const QString &text)
{
    if (m_messageHandler) {
        m_messageHandler(kind, text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// ---- Function registry -------------------------------------------------------------

void TVXBaseFunctionsCore::RegisterFunctionClass(const QString &name)
{
    if (!name.isEmpty())
        m_functionList.append({name, nullptr});
}

QObject *TVXBaseFunctionsCore::GetFunction(const QString &name, const QString &database)
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

QList<TVXLanguageDefinitionsInterface *> TVXBaseFunctionsCore::LanguageDefinitions()
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

TVXDataAccessInterface *TVXBaseFunctionsCore::ConnectDB(const QString &database)
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

TVXLoadPipeline::TVXServices TVXBaseFunctionsCore::LoadServices()
{
    TVXLoadPipeline::TVXServices services;
    services.GetFunction = [this](const QString &name, const QString &database) {
        return GetFunction(name, database);
    };
    services.NewLanguageDefinition = [](const QString &languageName) {
        return VXClassRegistry().Create<TVXLanguageDefinitionsInterface>(
                QStringLiteral("TVX") + LangDefPrefix + languageName, nullptr,
                VXSettings::SettingsFolder());
    };
    services.Ask = [this](const QString &question) { return Ask(question); };
    services.ProcessEvents = [] { QCoreApplication::processEvents(); };
    services.RefreshWindows = [this](TVXDataAccessInterface *db) { RefreshWindows(db); };
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

void TVXBaseFunctionsCore::LoadDB(const QString &database, bool fromFolders, bool fromRepositories,
                                  const QString &fromDatabase, const QString &options)
{
    std::unique_ptr<TVXLoadRun> run = NewLoadRun();
    TVXLoadProgress &progress = run->Progress();
    TVXLoadPipeline pipeline(m_configuration.DatabasesTable(), m_configuration.LanguagesTable(),
                             LoadServices(), progress);
    // Until the run says otherwise, it did not finish.
    m_exitStatus = VXLoadStatus::Interrupted;
    try {
        pipeline.LoadDB(database, fromFolders, fromRepositories, fromDatabase, options);
    } catch (const std::exception &) {
        m_lastLoadReport = progress.RunReport();
        throw;
    }
    m_exitStatus = pipeline.FilesFailed() > 0 ? VXLoadStatus::FilesFailed : VXLoadStatus::Finished;
    m_lastLoadReport = progress.RunReport();
    run->Finished();
}

std::unique_ptr<TVXBaseFunctionsCore::TVXLoadRun> TVXBaseFunctionsCore::NewLoadRun()
{
    return std::make_unique<TVXUnattendedLoadRun>();
}

bool TVXBaseFunctionsCore::Ask(const QString &)
{
    // An unattended load asks nobody and rebuilds nothing, unless told to say Yes.
    return m_unattendedYes;
}

void TVXBaseFunctionsCore::DeleteFilesInDB(const QString &database, bool, bool,
                                           const QString &folder)
{
    TVXLoadProgress progress;
    TVXLoadPipeline pipeline(m_configuration.DatabasesTable(), m_configuration.LanguagesTable(),
                             LoadServices(), progress);
    pipeline.DeleteFilesInDB(database, folder);
}

// ---- Configuration store -------------------------------------------------------------

void TVXBaseFunctionsCore::InitializeFunctions()
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

void TVXBaseFunctionsCore::InitializeDatabases()
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

void TVXBaseFunctionsCore::InitializeLanguages()
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

void TVXBaseFunctionsCore::InitializeOptions()
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

void TVXBaseFunctionsCore::InitializeLoadDebug()
{
    if (!VXSettings::LoadDebug())
        return;
    m_loadDebug = std::make_unique<QFile>(VXSettings::SettingsFolder()
                                          + QStringLiteral("VN_Load_Debug.txt"));
    if (!m_loadDebug->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw TVXException(QStringLiteral("Cannot write %1: %2")
                                   .arg(m_loadDebug->fileName(), m_loadDebug->errorString()));
}

QString TVXBaseFunctionsCore::GetLanguageName(int languageID)
{
    const TVXConfigTable &languages = m_configuration.LanguagesTable();
    const int row = languages.FindFirst(QStringLiteral("VXLanguageID"), languageID);
    return row < 0 ? QString() : languages.Text(row, QStringLiteral("VXLanguageName"));
}

bool TVXBaseFunctionsCore::GetEditorSettings(int languageID, QString &command, QString &editor,
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

QString TVXBaseFunctionsCore::GetSourceDBName(bool first, bool next, bool isDefault)
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

int TVXBaseFunctionsCore::GetSourceDBLastLoaded(const QString &database)
{
    const TVXConfigTable &databases = m_configuration.DatabasesTable();
    const int row = databases.FindFirst(QStringLiteral("VX_DBNAME"), database);
    return row < 0 ? 0 : databases.Value(row, QStringLiteral("VX_DBLASTLOADED")).toInt();
}

void TVXBaseFunctionsCore::WindowFontChanged(const QString &fontName, int fontSize)
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
}

QString TVXBaseFunctionsCore::MissingFunction(const QString &function) const
{
    return QStringLiteral("The function '%1' is not available: no loaded package provides "
                          "the class TVX%1.")
            .arg(function);
}

QString TVXBaseFunctionsCore::NeedsDisplay(const QString &function)
{
    return QStringLiteral("The %1 window needs a display; only LOAD_INTO_DB_NAMED runs "
                          "without one.")
            .arg(function);
}

QString TVXBaseFunctionsCore::NewWindow(const QString &function, const QString &document,
                                        const QString &, QObject *, const QString &detail)
{
    if (function != QLatin1String("Load"))
        return NeedsDisplay(function);
    // A scheduled job must not take a run that did not finish for a current repository.
    try {
        LoadDB(document, true, true, QString(), detail);
    } catch (const std::exception &) {
        // The load has logged its failure and left its status; an unattended load ends in
        // any case.
    }
    ExitApplication();
    return {};
}

// ---- Documents -------------------------------------------------------------------------

QVariant TVXBaseFunctionsCore::ReadDocParameter(const QString &file, const QString &section,
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

void TVXBaseFunctionsCore::WriteDocParameter(const QString &file, const QString &section,
                                             const QString &key, int valueType,
                                             const QVariant &value)
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

void TVXBaseFunctionsCore::VXError(const QString &source, const QString &message)
{
    ShowMessage(TVXMessageKind::Error, source + QStringLiteral(": ") + message);
    ExitApplication();
}

void TVXBaseFunctionsCore::ExitApplication()
{
    Q_EMIT ExitRequested();
}
