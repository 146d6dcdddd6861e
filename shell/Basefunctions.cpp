// SPDX-License-Identifier: GPL-3.0-or-later
// The service object's window half: windows, dialogs, controllers and message boxes.
#include "shell/Basefunctions.h"

#include "base/Classregistry.h"
#include "base/Exception.h"

#include "loading/Loadprogress.h"
#include "loading/Loadprogresswindow.h"
#include "repository/Connection.h"
#include "repository/Dataaccessinterface.h"
#include "shell/Forminterface.h"
#include "shell/Tooldialog.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

namespace {

// The progress window shows a run's report and stays open after a run that finished; a
// run that failed takes its window with it.
class TVXWindowLoadRun : public TVXBaseFunctionsCore::TVXLoadRun
{
public:
    explicit TVXWindowLoadRun(QWidget *owner)
        : m_progress(new TVXLoadProgress)
        , m_window(new TVXLoadProgressWindow(*m_progress, owner))
    {
        m_progress->setParent(m_window);
        m_window->show();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TVXWindowLoadRun() override
    {
        QApplication::restoreOverrideCursor();
        if (!m_finished)
            delete m_window;
    }
    TVXLoadProgress &Progress() override { return *m_progress; }
    void Finished() override { m_finished = true; }

private:
    QPointer<TVXLoadProgress> m_progress;
    QPointer<TVXLoadProgressWindow> m_window;
    bool m_finished = false;
};

} // namespace

TVXBaseFunctions::TVXBaseFunctions(QObject *owner)
    : TVXBaseFunctionsCore(owner)
{}

TVXBaseFunctions::~TVXBaseFunctions()
{
    // Windows come from packages that are unloaded after this object is gone, so they are
    // destroyed here, not left to their owners.
    for (const TVXWindowEntry &entry : std::as_const(m_windowList))
        delete entry.Window;
    m_windowList.clear();
    // A window closed just before would otherwise be destroyed after its package and its
    // connection's driver are gone.
    for (const QPointer<TVXFormInterface> &window : std::as_const(m_closingWindows))
        delete window.data();
    m_closingWindows.clear();
    delete m_excelController;
    delete m_visioController;
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
    if (HasMessageHandler() || !HasDisplay()) {
        TVXBaseFunctionsCore::ShowMessage(kind, text);
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

// ---- Windows ---------------------------------------------------------------------------

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
    if (function == QLatin1String("Load"))
        return TVXBaseFunctionsCore::NewWindow(function, document, database, sender, detail);
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
        return NeedsDisplay(function);

    try {
        const QString name = WindowName(function);
        TVXFormInterface *window = VXClassRegistry().Create<TVXFormInterface>(
                className, OwnerWidget(), static_cast<TVXBaseFunctionsInterface *>(this), document,
                database, name);
        window->move(m_currentWindow ? m_currentWindow->pos() + QPoint(20, 20) : QPoint(40, 40));
        m_currentWindow = window;
        window->SetFont(FontName(), FontSize());
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

void TVXBaseFunctions::WindowFontChanged(const QString &fontName, int fontSize)
{
    TVXBaseFunctionsCore::WindowFontChanged(fontName, fontSize);
    for (const TVXWindowEntry &entry : std::as_const(m_windowList))
        entry.Window->SetFont(fontName, fontSize);
}

std::unique_ptr<TVXBaseFunctionsCore::TVXLoadRun> TVXBaseFunctions::NewLoadRun()
{
    if (!HasDisplay())
        return TVXBaseFunctionsCore::NewLoadRun();
    return std::make_unique<TVXWindowLoadRun>(OwnerWidget());
}

bool TVXBaseFunctions::Ask(const QString &question)
{
    if (!HasDisplay())
        return TVXBaseFunctionsCore::Ask(question);
    QString text = question;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return QMessageBox::question(nullptr, QStringLiteral("Load"), text) == QMessageBox::Yes;
}

void TVXBaseFunctions::RefreshWindows(TVXDataAccessInterface *db)
{
    for (const TVXWindowEntry &entry : std::as_const(m_windowList))
        if (entry.Window)
            entry.Window->RefreshContent(db, nullptr, QString());
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
    m_closingWindows.removeIf([](const QPointer<TVXFormInterface> &w) { return w.isNull(); });
    m_closingWindows.append(window);
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
        // The editor gets the connection for the call only; it used to stay counted open.
        TVXConnection connection(ConnectDB(database));
        controller->RefreshContent(connection.get(), sender, findKey);
        connection.Release();
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
        TVXConnection connection(ConnectDB(database));
        m_excelController->RefreshContent(connection.get(), sender, command);
        connection.Release();
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
