// SPDX-License-Identifier: GPL-3.0-or-later
// Classes registered by name.
#include "base/Classregistry.h"

#include "base/Exception.h"

void TVXClassRegistry::Add(const QString &className, std::type_index base, std::any factory,
                           const QString &package)
{
    auto it = m_classes.constFind(className);
    if (it != m_classes.constEnd())
        throw TVXException(
                QStringLiteral("Class %1 is already registered by %2").arg(className, it->Package));
    // A deep copy: the name may be a literal in the package, which is unloaded later.
    m_classes.insert(QString(className.constData(), className.size()),
                     Entry{base, std::move(factory), package});
}

void TVXClassRegistry::Remove(const QString &className)
{
    m_classes.remove(className);
}

QString TVXClassRegistry::PackageOf(const QString &className) const
{
    return m_classes.value(className).Package;
}

TVXClassRegistry &VXClassRegistry()
{
    static TVXClassRegistry registry;
    return registry;
}
