// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the run-time packages by file name.
#include "shell/Packageloader.h"

#include "base/Exception.h"
#include "base/Package.h"

#include <QDir>
#include <QLibrary>

#include <dlfcn.h>

TVXPackageLoader::TVXPackageLoader(QString packageFolder)
    : m_folder(std::move(packageFolder))
{}

TVXPackageLoader::~TVXPackageLoader()
{
    UnloadAll();
}

QStringList TVXPackageLoader::NamedPackages()
{
    return {QStringLiteral("vxlib1000.so"), QStringLiteral("vxlib2000.so"),
            QStringLiteral("vxlib3000.so"), QStringLiteral("vxlib4000.so"),
            QStringLiteral("vxlib9999.so")};
}

void TVXPackageLoader::CheckPackages(TVXPackageSet set)
{
    const bool withWindows = set == AllPackages;
    for (const QString &name : withWindows ? NamedPackages() : QStringList()) {
        if (!QFileInfo::exists(m_folder + name))
            continue;
        QString ignored;
        Load(name, &ignored);
    }
    // Sorted by name rather than in directory order, so every machine loads (and
    // registers languages) in the same order.
    const QStringList found = QDir(m_folder).entryList(
            {QStringLiteral("vxlib0*.so")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : found) {
        if (!withWindows && name == WindowCorePackage())
            continue;
        QString error;
        if (!Load(name, &error))
            throw TVXException(QStringLiteral("CheckPackages: ") + error);
    }
}

bool TVXPackageLoader::Load(const QString &fileName, QString *error)
{
    TVXPackageRecord record;
    record.FileName = fileName;
    record.Path = m_folder + fileName;
    auto fail = [&](const QString &cause) {
        record.Status = TVXPackageRecord::Failed;
        record.Error = record.Path + QStringLiteral(": ") + cause;
        *error = record.Error;
        m_records.append(record);
        return false;
    };

    auto library = std::make_unique<QLibrary>(record.Path);
    if (!library->load())
        return fail(library->errorString());
    auto initialize = reinterpret_cast<TVXPackageInitializeFunction>(
            library->resolve("vxPackageInitialize"));
    // A library without entry points of its own would otherwise find the core's through
    // its dependencies.
    Dl_info where{};
    if (initialize
        && (!dladdr(reinterpret_cast<void *>(initialize), &where) || !where.dli_fname
            || QFileInfo(QFile::decodeName(where.dli_fname)).canonicalFilePath()
                       != QFileInfo(record.Path).canonicalFilePath()))
        initialize = nullptr;
    if (!initialize) {
        library->unload();
        return fail(QStringLiteral("not a Velunor package (it exports no vxPackageInitialize)"));
    }
    QString cause;
    if (!initialize(fileName.toUtf8().constData(), &cause)) {
        // The text may live in the package's own memory, which unloading releases.
        const QString copied(cause.constData(), cause.size());
        library->unload();
        return fail(QStringLiteral("initialisation failed: ") + copied);
    }
    if (auto describe
        = reinterpret_cast<TVXPackageDescriptionFunction>(library->resolve("vxPackageDescription")))
        record.Description = QString::fromUtf8(describe());

    // The platform loader's handle: asking again for a loaded library returns it.
    void *handle = dlopen(QFile::encodeName(record.Path).constData(), RTLD_LAZY | RTLD_NOLOAD);
    record.Handle = reinterpret_cast<quintptr>(handle);
    if (handle)
        dlclose(handle);

    record.Status = TVXPackageRecord::Loaded;
    m_records.append(record);
    m_loaded.push_back(std::move(library));
    return true;
}

QStringList TVXPackageLoader::PackageList() const
{
    QStringList list;
    for (const TVXPackageRecord &record : m_records)
        if (record.Status == TVXPackageRecord::Loaded)
            list << QString::number(record.Handle) + QLatin1Char(':') + record.FileName;
    return list;
}

QString TVXPackageLoader::Description(const QString &fileName) const
{
    for (const TVXPackageRecord &record : m_records)
        if (record.Status == TVXPackageRecord::Loaded && record.FileName == fileName)
            return record.Description;
    return {};
}

void TVXPackageLoader::UnloadAll()
{
    for (auto &library : m_loaded) {
        try {
            if (auto finalize = reinterpret_cast<TVXPackageFinalizeFunction>(
                        library->resolve("vxPackageFinalize")))
                finalize();
            library->unload();
        } catch (...) {
            // An error in one package must not keep the others loaded.
        }
    }
    m_loaded.clear();
    for (TVXPackageRecord &record : m_records)
        if (record.Status == TVXPackageRecord::Loaded)
            record.Status = TVXPackageRecord::Unloaded;
}
