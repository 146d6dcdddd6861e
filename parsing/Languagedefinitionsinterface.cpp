// SPDX-License-Identifier: GPL-3.0-or-later
// The table-driven parser every language definition derives from.
#include "parsing/Languagedefinitionsinterface.h"

TVXLanguageDefinitionsInterface::TVXLanguageDefinitionsInterface(QObject *owner,
                                                                 const QString &folder)
    : QObject(owner)
    , m_folder(folder)
{}
