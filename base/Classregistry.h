// SPDX-License-Identifier: GPL-3.0-or-later
// Classes registered by name: how packages offer their windows, drivers and languages.
#pragma once

#include "base/Export.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <any>
#include <functional>
#include <typeindex>

// A registered class is a factory for one base (window, driver, language definition,
// service object). Each base declares `TVXFactory`, the signature of its constructor, so
// Create<Base>(name, args...) constructs exactly as the design's virtual constructor does.
//
// The registry is process-wide because it mirrors the platform's class registration:
// the service object itself is found in it by name. Packages add their classes while they
// initialise and remove them when they finalise (TVXPackageRegistration). Not locked: it
// is touched on the user-interface thread only.
class VXCORE_EXPORT TVXClassRegistry
{
public:
    // Throws when the name is taken, naming the package that holds it.
    void Add(const QString &className, std::type_index base, std::any factory,
             const QString &package);
    void Remove(const QString &className);

    bool Contains(const QString &className) const { return m_classes.contains(className); }
    QString PackageOf(const QString &className) const;
    QStringList ClassNames() const { return m_classes.keys(); }

    // Null when the name is not registered or names a class of another base.
    template<class Base, class... Args>
    Base *Create(const QString &className, Args &&...args) const
    {
        auto it = m_classes.constFind(className);
        if (it == m_classes.constEnd() || it->Base != std::type_index(typeid(Base)))
            return nullptr;
        auto factory = std::any_cast<typename Base::TVXFactory>(&it->Factory);
        return factory ? (*factory)(std::forward<Args>(args)...) : nullptr;
    }

    template<class Base>
    bool IsA(const QString &className) const
    {
        auto it = m_classes.constFind(className);
        return it != m_classes.constEnd() && it->Base == std::type_index(typeid(Base));
    }

private:
    struct Entry
    {
        std::type_index Base = typeid(void);
        std::any Factory;
        QString Package;
    };
    QHash<QString, Entry> m_classes;
};

VXCORE_EXPORT TVXClassRegistry &VXClassRegistry();
