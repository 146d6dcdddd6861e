// SPDX-License-Identifier: GPL-3.0-or-later
// The abstract service object.
#include "shell/Basefunctionsinterface.h"

TVXBaseFunctionsInterface::TVXBaseFunctionsInterface(QObject *owner)
    : QObject(owner)
{}

void TVXBaseFunctionsInterface::RegisterFunctionClass(const QString &) {}
void TVXBaseFunctionsInterface::InitializeFunctions() {}
void TVXBaseFunctionsInterface::VXError(const QString &, const QString &) {}
QString TVXBaseFunctionsInterface::NewWindow(const QString &, const QString &, const QString &,
                                             QObject *, const QString &)
{
    return {};
}
void TVXBaseFunctionsInterface::WindowActivated(TVXFormInterface *) {}
void TVXBaseFunctionsInterface::ActivateWindow(QAction *) {}
void TVXBaseFunctionsInterface::WindowNameChanged(TVXFormInterface *, const QString &) {}
void TVXBaseFunctionsInterface::WindowFontChanged(const QString &, int) {}
void TVXBaseFunctionsInterface::WindowClosed(TVXFormInterface *) {}
void TVXBaseFunctionsInterface::OpenToolWindow(const QString &) {}
QVariant TVXBaseFunctionsInterface::ReadDocParameter(const QString &, const QString &,
                                                     const QString &, int)
{
    return QString();
}
void TVXBaseFunctionsInterface::WriteDocParameter(const QString &, const QString &, const QString &,
                                                  int, const QVariant &)
{}
QObject *TVXBaseFunctionsInterface::GetFunction(const QString &, const QString &)
{
    return nullptr;
}
TVXDataAccessInterface *TVXBaseFunctionsInterface::ConnectDB(const QString &)
{
    return nullptr;
}
void TVXBaseFunctionsInterface::LoadDB(const QString &, bool, bool, const QString &,
                                       const QString &)
{}
void TVXBaseFunctionsInterface::DeleteFilesInDB(const QString &, bool, bool, const QString &) {}
QString TVXBaseFunctionsInterface::GetLanguageName(int)
{
    return {};
}
bool TVXBaseFunctionsInterface::GetEditorSettings(int, QString &, QString &, QString &)
{
    return false;
}
QString TVXBaseFunctionsInterface::GetSourceDBName(bool, bool, bool)
{
    return {};
}
int TVXBaseFunctionsInterface::GetSourceDBLastLoaded(const QString &)
{
    return 0;
}
void TVXBaseFunctionsInterface::ExitApplication() {}

int TVXBaseFunctionsInterface::ExitStatus() const
{
    return 0;
}

void TVXBaseFunctionsInterface::SetUnattendedAnswer(bool) {}

QString TVXBaseFunctionsInterface::LastLoadReport() const
{
    return {};
}
QString TVXBaseFunctionsInterface::FontName() const
{
    return {};
}
int TVXBaseFunctionsInterface::FontSize() const
{
    return 0;
}
void TVXBaseFunctionsInterface::ShowMessage(TVXMessageKind, const QString &) {}

void TVXBaseFunctionsInterface::SetMessageHandler(TVXMessageHandler) {}

TVXConfigurationStore *TVXBaseFunctionsInterface::ConfigurationStore()
{
    return nullptr;
}
