// SPDX-License-Identifier: GPL-3.0-or-later
// What a package file exports: its description string and the entry points that register
// and unregister its classes.
#pragma once

#include "base/Classregistry.h"
#include "base/Exception.h"

// The classes one package registered, so that finalising removes exactly those.
class VXCORE_EXPORT TVXPackageRegistration
{
public:
    explicit TVXPackageRegistration(QString packageFile);
    ~TVXPackageRegistration();

    template<class Derived>
    void RegisterClass(const QString &className)
    {
        using Base = typename Derived::TVXClassBase;
        typename Base::TVXFactory factory
                = [](auto... args) -> Base * { return new Derived(args...); };
        Add(className, typeid(Base), std::move(factory));
    }

    void UnregisterAll();

private:
    void Add(const QString &className, std::type_index base, std::any factory);
    QString m_packageFile;
    QStringList m_classNames;
};

// Entry points resolved by the package loader, with C linkage so every package exports
// the same three names.
extern "C" {
using TVXPackageDescriptionFunction = const char *(*)();
using TVXPackageInitializeFunction = bool (*)(const char *packageFile, QString *error);
using TVXPackageFinalizeFunction = void (*)();
}

// VELUNOR_PACKAGE("ODBCDB") { package.RegisterClass<TVXODBCDB>("TVXODBCDB"); }
// declares a package with its description (empty for window packages) and the body that
// registers its classes. A package loaded twice is initialised once.
#ifdef VELUNOR_NO_PACKAGE_ENTRY_POINTS
// Classes compiled straight into a program (the fuzz targets) need no entry points, and
// several packages in one program would define them twice.
#define VELUNOR_PACKAGE(DESCRIPTION)                                                               \
    [[maybe_unused]] static void vxRegisterPackageClasses(TVXPackageRegistration &package)
#else
#define VELUNOR_PACKAGE(DESCRIPTION)                                                               \
    static void vxRegisterPackageClasses(TVXPackageRegistration &package);                         \
    static TVXPackageRegistration *vxThisPackage = nullptr;                                        \
    static int vxThisPackageUsers = 0;                                                             \
    extern "C" Q_DECL_EXPORT const char *vxPackageDescription()                                    \
    {                                                                                              \
        return DESCRIPTION;                                                                        \
    }                                                                                              \
    extern "C" Q_DECL_EXPORT bool vxPackageInitialize(const char *packageFile, QString *error)     \
    {                                                                                              \
        if (vxThisPackageUsers++ > 0)                                                              \
            return true;                                                                           \
        vxThisPackage = new TVXPackageRegistration(QString::fromUtf8(packageFile));                \
        try {                                                                                      \
            vxRegisterPackageClasses(*vxThisPackage);                                              \
            return true;                                                                           \
        } catch (const std::exception &e) {                                                        \
            delete vxThisPackage;                                                                  \
            vxThisPackage = nullptr;                                                               \
            vxThisPackageUsers = 0;                                                                \
            if (error)                                                                             \
                *error = VXMessage(e);                                                             \
            return false;                                                                          \
        }                                                                                          \
    }                                                                                              \
    extern "C" Q_DECL_EXPORT void vxPackageFinalize()                                              \
    {                                                                                              \
        if (vxThisPackageUsers > 0 && --vxThisPackageUsers == 0) {                                 \
            delete vxThisPackage;                                                                  \
            vxThisPackage = nullptr;                                                               \
        }                                                                                          \
    }                                                                                              \
    static void vxRegisterPackageClasses([[maybe_unused]] TVXPackageRegistration &package)
#endif
