// SPDX-License-Identifier: GPL-3.0-or-later
// The classes one package registered.
#include "base/Package.h"

TVXPackageRegistration::TVXPackageRegistration(QString packageFile)
    : m_packageFile(std::move(packageFile))
{}

TVXPackageRegistration::~TVXPackageRegistration()
{
    UnregisterAll();
}

void TVXPackageRegistration::Add(const QString &className, std::type_index base, std::any factory)
{
    VXClassRegistry().Add(className, base, std::move(factory), m_packageFile);
    m_classNames.append(className);
}

void TVXPackageRegistration::UnregisterAll()
{
    for (const QString &name : std::as_const(m_classNames))
        VXClassRegistry().Remove(name);
    m_classNames.clear();
}
