// SPDX-License-Identifier: GPL-3.0-or-later
// The one way into the repository.
#include "repository/Dataaccessinterface.h"

TVXDataAccessInterface::TVXDataAccessInterface(QObject *owner)
    : QObject(owner)
{}

int TVXDataAccessInterface::Connect(const QString &) { return 0; }
int TVXDataAccessInterface::DisConnect(bool, bool) { return 0; }
int TVXDataAccessInterface::GetTable(const QString &) { return 0; }
int TVXDataAccessInterface::GetField(int, const QString &) { return 0; }
QString TVXDataAccessInterface::GetFieldName(int, int) { return {}; }
bool TVXDataAccessInterface::SelectBegin(int, const QString &) { return false; }
bool TVXDataAccessInterface::SelectNext(int) { return false; }
bool TVXDataAccessInterface::SelectPrevious(int) { return false; }
bool TVXDataAccessInterface::Delete(int, const QString &, bool) { return false; }
QVariant TVXDataAccessInterface::GetFieldValue(int, int) { return {}; }
void TVXDataAccessInterface::SetFieldValue(int, int, const QVariant &) {}
int TVXDataAccessInterface::GetCount(int) { return 0; }
bool TVXDataAccessInterface::GoToKey(int, const QString &, const QVariantList &, bool) { return false; }
bool TVXDataAccessInterface::GoToKeyNext(int, const QString &, const QVariantList &, bool) { return false; }
void TVXDataAccessInterface::Commit(bool, bool) {}
