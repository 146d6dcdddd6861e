// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every document window.
#include "shell/Forminterface.h"

#include "base/Exception.h"
#include "base/Settings.h"

#include "shell/Basefunctionsinterface.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QShortcut>
#include <QUrl>

namespace {

struct DocumentKind
{
    const char *Caption;
    const char *Function;
    const char *Detail; // for New
    const char *Filter;
};

// The six kinds of document of the File menu's New and Open... submenus.
const DocumentKind DocumentKinds[] = {
        {"View", "View", "", "Velunor View files (*.vnv)"},
        {"Query for Statements", "Query", "", "Velunor Query files (*.vnq)"},
        {"Query SQL Report", "Query", "SQL", "Velunor Report files (*.vnq)"},
        {"WorkList", "WorkList", "New", "Velunor WorkList files (*.xls)"},
        {"BizAnalysis", "BizAnalysis", "New", "Velunor BizAnalysis files (*.xls)"},
        {"Diagram", "Diagram", "New", "Velunor Diagram files (*.vsd)"},
};

} // namespace

TVXFormInterface::TVXFormInterface(QWidget *owner, TVXBaseFunctionsInterface *baseFunctions,
                                   const QString &document, const QString &sourceDatabase,
                                   const QString &title)
    : QMainWindow(owner, Qt::Window)
    , Title(title)
    , SourceDatabase(sourceDatabase)
    , BaseFunctions(baseFunctions)
    , Document(document)
{
    BuildMenus();
    m_saveAction->setEnabled(!Document.isEmpty());
    UpdateCaption();
    ExtendedMode = false;

    AddShortcut(Qt::CTRL | Qt::Key_A, [this] { SelectAll1Click(); });
    AddShortcut(Qt::CTRL | Qt::Key_N, [this] { ClearSelection1Click(); });
    AddShortcut(Qt::CTRL | Qt::Key_C, [this] { Copy1Click(); });
    AddShortcut(Qt::CTRL | Qt::Key_F, [this] { Find1Click(); });
    AddShortcut(Qt::CTRL | Qt::Key_D, [this] { ToggleExtendedMode(); });
    AddShortcut(Qt::CTRL | Qt::Key_Tab, [this] {
        if (BaseFunctions)
            BaseFunctions->OpenToolWindow(QStringLiteral("WindowChange"));
    });
}

QString TVXFormInterface::Identifier() const
{
    return QString::number(reinterpret_cast<quintptr>(this));
}

void TVXFormInterface::BuildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(QStringLiteral("File"));
    QMenu *newMenu = file->addMenu(QStringLiteral("New"));
    QMenu *openMenu = file->addMenu(QStringLiteral("Open..."));
    for (const DocumentKind &kind : DocumentKinds) {
        const QString function = QString::fromLatin1(kind.Function);
        const QString detail = QString::fromLatin1(kind.Detail);
        newMenu->addAction(QString::fromLatin1(kind.Caption), this,
                           [this, function, detail] { NewDocument(function, detail); });
        const QString caption = QString::fromLatin1(kind.Caption);
        openMenu->addAction(caption, this, [this, caption] { Open1Click(caption); });
    }
    m_saveAction = file->addAction(QStringLiteral("Save"), this, [this] { Save1Click(); });
    file->addAction(QStringLiteral("Save As..."), this, [this] { SaveAs1Click(); });
    file->addAction(QStringLiteral("Properties..."), this, [this] {
        if (BaseFunctions)
            BaseFunctions->OpenToolWindow(QStringLiteral("Properties"));
    });
    file->addAction(QStringLiteral("Print Setup..."), this, [this] {
        QPrinter printer;
        QPageSetupDialog(&printer, this).exec();
    });
    file->addAction(QStringLiteral("Print..."), this, [this] { Print1Click(); });
    file->addAction(QStringLiteral("Close"), this, [this] { close(); });
    file->addAction(QStringLiteral("Exit"), this, [this] {
        if (BaseFunctions)
            BaseFunctions->ExitApplication();
    });

    // The shortcut texts are part of the captions, as the users know them; the keys
    // themselves are window-level shortcuts (see the constructor).
    QMenu *edit = bar->addMenu(QStringLiteral("Edit"));
    edit->addAction(QStringLiteral("Cut                                    Ctrl+X"))
            ->setEnabled(false);
    edit->addAction(QStringLiteral("Copy                                  Ctrl+C"), this,
                    [this] { Copy1Click(); });
    edit->addAction(QStringLiteral("Paste                                 Ctrl+V"))
            ->setEnabled(false);
    edit->addAction(QStringLiteral("Select All                            Ctrl+A"), this,
                    [this] { SelectAll1Click(); });
    edit->addAction(QStringLiteral("Clear Selection                  Ctrl+N"), this,
                    [this] { ClearSelection1Click(); });
    edit->addAction(QStringLiteral("Find (in this Window)...     Ctrl+F"), this,
                    [this] { Find1Click(); });

    m_toolsMenu = bar->addMenu(QStringLiteral("Tools"));
    QMenu *settings = m_toolsMenu->addMenu(QStringLiteral("Settings"));
    auto tool = [this](QMenu *menu, const QString &caption, const QString &dialog) {
        menu->addAction(caption, this, [this, dialog] {
            if (BaseFunctions)
                BaseFunctions->OpenToolWindow(dialog);
        });
    };
    tool(settings, QStringLiteral("Source Databases..."), QStringLiteral("SourceDatabases"));
    tool(settings, QStringLiteral("Languages..."), QStringLiteral("Languages"));
    tool(settings, QStringLiteral("Editors..."), QStringLiteral("Editors"));
    tool(settings, QStringLiteral("Middleware..."), QStringLiteral("Middleware"));
    settings->addAction(QStringLiteral("Font"), this, [this] { ChooseFont(); });
    tool(m_toolsMenu, QStringLiteral("Load..."), QStringLiteral("Load"));
    tool(m_toolsMenu, QStringLiteral("Export..."), QStringLiteral("Export"));

    m_windowMenu = bar->addMenu(QStringLiteral("Window"));

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    help->addAction(QStringLiteral("Velunor Manual"), this,
                    [this] { OpenHelpDocument(QStringLiteral("Velunor Manual.pdf")); });
    help->addAction(QStringLiteral("Velunor User Guide"), this,
                    [this] { OpenHelpDocument(QStringLiteral("Velunor User Guide.pdf")); });
    tool(help, QStringLiteral("About..."), QStringLiteral("About"));
}

void TVXFormInterface::InsertWindowMenu(QMenu *menu)
{
    menuBar()->insertMenu(m_toolsMenu->menuAction(), menu);
}

void TVXFormInterface::AddShortcut(QKeyCombination key, const std::function<void()> &handler)
{
    auto shortcut = new QShortcut(QKeySequence(key), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, handler] {
        SuppressKeyPress = true;
        handler();
    });
}

void TVXFormInterface::keyPressEvent(QKeyEvent *event)
{
    // The character of a key combination handled as a shortcut is swallowed.
    if (SuppressKeyPress) {
        SuppressKeyPress = false;
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TVXFormInterface::ToggleExtendedMode()
{
    ExtendedMode = !ExtendedMode;
    QApplication::beep();
}

void TVXFormInterface::UpdateCaption()
{
    setWindowTitle(QStringLiteral("Velunor - ") + Title + QStringLiteral(" on ") + SourceDatabase);
}

void TVXFormInterface::ShowError(const QString &text)
{
    if (BaseFunctions)
        BaseFunctions->ShowMessage(TVXMessageKind::Error, text);
}

QString TVXFormInterface::NewWindow(const QString &function)
{
    if (!BaseFunctions)
        return {};
    return BaseFunctions->NewWindow(function, QString(), SourceDatabase, nullptr, QString());
}

void TVXFormInterface::NewDocument(const QString &function, const QString &detail)
{
    if (!BaseFunctions)
        return;
    const QString error
            = BaseFunctions->NewWindow(function, QString(), SourceDatabase, nullptr, detail);
    if (!error.isEmpty())
        ShowError(error);
}

void TVXFormInterface::Open1Click(const QString &caption)
{
    for (const DocumentKind &kind : DocumentKinds) {
        if (caption != QLatin1String(kind.Caption))
            continue;
        const QString path = QFileDialog::getOpenFileName(this, caption, QString(),
                                                          QString::fromLatin1(kind.Filter));
        if (path.isEmpty() || !BaseFunctions)
            return;
        const QString function = QString::fromLatin1(kind.Function);
        const bool office = function == QLatin1String("WorkList")
                            || function == QLatin1String("BizAnalysis")
                            || function == QLatin1String("Diagram");
        const QString error = BaseFunctions->NewWindow(function, path, SourceDatabase, nullptr,
                                                       office ? QStringLiteral("Open") : QString());
        if (!error.isEmpty())
            ShowError(error);
        return;
    }
}

void TVXFormInterface::Save1Click() {}
void TVXFormInterface::SaveAs1Click() {}
void TVXFormInterface::Print1Click() {}
void TVXFormInterface::Edit1Click() {}
void TVXFormInterface::Copy1Click() {}
void TVXFormInterface::SelectAll1Click() {}
void TVXFormInterface::ClearSelection1Click() {}
void TVXFormInterface::Find1Click() {}
void TVXFormInterface::FindDialog1Find() {}
void TVXFormInterface::FindDialog1Close() {}
TVXDataAccessInterface *TVXFormInterface::ConnectSourceDatabase()
{
    if (!BaseFunctions)
        throw TVXException(QStringLiteral("The window has no service object to connect through"));
    if (SourceDatabase.isEmpty())
        SourceDatabase = BaseFunctions->GetSourceDBName(false, false, true);
    TVXDataAccessInterface *db = BaseFunctions->ConnectDB(SourceDatabase);
    if (!db)
        throw TVXException(QStringLiteral("The source database ") + SourceDatabase
                           + QStringLiteral(" cannot be reached"));
    return db;
}

void TVXFormInterface::ConnectToDB() {}
void TVXFormInterface::RefreshContent(TVXDataAccessInterface *, QObject *, const QString &) {}

void TVXFormInterface::SetFont(const QString &fontName, int fontSize)
{
    QFont font(fontName);
    if (fontSize > 0)
        font.setPointSize(fontSize);
    setFont(font);
}

void TVXFormInterface::ChooseFont()
{
    if (!BaseFunctions)
        return;
    bool ok = false;
    QFont preset(BaseFunctions->FontName());
    if (BaseFunctions->FontSize() > 0)
        preset.setPointSize(BaseFunctions->FontSize());
    const QFont chosen = QFontDialog::getFont(&ok, preset, this);
    if (ok)
        BaseFunctions->WindowFontChanged(chosen.family(), chosen.pointSize());
}

void TVXFormInterface::OpenHelpDocument(const QString &fileName)
{
    const QString path = VXSettings::ExecutableFolder() + fileName;
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ShowError(QStringLiteral("Could not open ") + path);
}

void TVXFormInterface::ApplyProperties(const QString &title, const QString &composedBy,
                                       const QString &comments, const QString &sourceDatabase)
{
    Title = title;
    ComposedBy = composedBy;
    Comments = comments;
    if (sourceDatabase != SourceDatabase) {
        const QString previous = SourceDatabase;
        SourceDatabase = sourceDatabase;
        try {
            ConnectToDB();
        } catch (const std::exception &e) {
            ShowError(VXMessage(e)
                      + QStringLiteral("\nDatabase NOT changed\n"
                                       "Close windows with other database and try again"));
            SourceDatabase = previous;
            try {
                ConnectToDB();
            } catch (const std::exception &again) {
                ShowError(VXMessage(again));
            }
        }
    }
    RefreshContent(nullptr, nullptr, QString());
    UpdateCaption();
    if (BaseFunctions)
        BaseFunctions->WindowNameChanged(this, Title);
}

void TVXFormInterface::AddWindowMenuItem(const QString &name, const QString &caption)
{
    QAction *item = m_windowMenu->addAction(caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, [this, item] {
        if (BaseFunctions)
            BaseFunctions->ActivateWindow(item);
    });
}

void TVXFormInterface::DeleteWindowMenuItem(const QString &name)
{
    for (QAction *item : m_windowMenu->actions())
        if (item->objectName() == name) {
            m_windowMenu->removeAction(item);
            item->deleteLater();
        }
}

void TVXFormInterface::ChangeWindowMenuItem(const QString &name, const QString &caption)
{
    for (QAction *item : m_windowMenu->actions())
        if (item->objectName() == name)
            item->setText(caption);
}

void TVXFormInterface::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && BaseFunctions)
        BaseFunctions->WindowActivated(this);
    QMainWindow::changeEvent(event);
}

void TVXFormInterface::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (BaseFunctions)
        BaseFunctions->WindowClosed(this);
}
