// SPDX-License-Identifier: GPL-3.0-or-later
// velunor-cli load, status and missing.
#include "base/Exception.h"
#include "cli/Cli.h"

#include "loading/Loadpipeline.h"
#include "loading/Missingcomponents.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Repositoryqueries.h"
#include "shell/Basefunctionsinterface.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

int TVXCli::Load(const Arguments &arguments)
{
    QString database = arguments.Database;
    if (!ConfiguredDatabase(database))
        return Refused;
    QString options;
    if (arguments.Flags.contains(QStringLiteral("--reload")))
        options = QStringLiteral("RELOAD");
    else if (arguments.Flags.contains(QStringLiteral("--rebuild")))
        options = QStringLiteral("REBUILD");
    else if (arguments.Flags.contains(QStringLiteral("--no-dependency-rebuild")))
        options = QStringLiteral("DEPENDENCIES");
    m_service->SetUnattendedAnswer(arguments.Flags.contains(QStringLiteral("--yes")));
    try {
        m_service->LoadDB(database, true, true, QString(), options);
    } catch (const std::exception &e) {
        m_out << m_service->LastLoadReport();
        m_out.flush();
        return Fail(VXMessage(e));
    }
    m_out << m_service->LastLoadReport();
    if (m_service->ExitStatus() == VXLoadStatus::FilesFailed) {
        m_err << "velunor-cli: some files did not load (see the report's Errors and "
                 "LoadLog.txt)\n";
        return FilesFailed;
    }
    return Success;
}

int TVXCli::Status(const Arguments &arguments)
{
    QString database = arguments.Database;
    if (!ConfiguredDatabase(database))
        return Refused;
    QJsonObject status;
    try {
        TVXConnection db = Connected(database);
        const TVXRepositoryCounts counts = VXRepositoryQueries::Counts(db.get());
        db.Release();
        QJsonObject files;
        files.insert(QStringLiteral("total"), counts.Files);
        files.insert(QStringLiteral("N"), counts.FilesToCheck);
        files.insert(QStringLiteral("Y"), counts.FilesChecked);
        files.insert(QStringLiteral("E"), counts.FilesFailed);
        QJsonObject types;
        for (const auto &[type, count] : counts.ObjectsByType)
            types.insert(type, count);
        status.insert(QStringLiteral("database"), database);
        const int lastLoaded = m_service->GetSourceDBLastLoaded(database);
        status.insert(QStringLiteral("lastLoaded"),
                      lastLoaded > 0
                              ? QDateTime::fromSecsSinceEpoch(lastLoaded).toString(Qt::ISODate)
                              : QString());
        status.insert(QStringLiteral("files"), files);
        status.insert(QStringLiteral("objects"), counts.Objects);
        status.insert(QStringLiteral("objectsByType"), types);
        for (const auto &[key, count] :
             {std::pair{"entries", counts.Entries}, std::pair{"rows", counts.Rows},
              std::pair{"words", counts.Words}, std::pair{"dependencies", counts.Dependencies},
              std::pair{"dataFlowLinks", counts.DataFlowLinks},
              std::pair{"packages", counts.Packages}, std::pair{"attributes", counts.Attributes}})
            status.insert(QLatin1String(key), count);
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }

    if (arguments.Flags.contains(QStringLiteral("--json"))) {
        m_out << QJsonDocument(status).toJson(QJsonDocument::Indented);
        return Success;
    }
    const QJsonObject files = status.value(QStringLiteral("files")).toObject();
    m_out << "Database:        " << database << "\n";
    const QString lastLoaded = status.value(QStringLiteral("lastLoaded")).toString();
    m_out << "Last loaded:     " << (lastLoaded.isEmpty() ? QStringLiteral("never") : lastLoaded)
          << "\n";
    m_out << "Files:           " << files.value(QStringLiteral("total")).toInt() << " ("
          << files.value(QStringLiteral("N")).toInt() << " to check, "
          << files.value(QStringLiteral("Y")).toInt() << " checked, "
          << files.value(QStringLiteral("E")).toInt() << " failed)\n";
    m_out << "Objects:         " << status.value(QStringLiteral("objects")).toInt() << "\n";
    const QJsonObject types = status.value(QStringLiteral("objectsByType")).toObject();
    for (auto it = types.begin(); it != types.end(); ++it)
        m_out << "  " << (it.key().isEmpty() ? QStringLiteral("(no type)") : it.key()) << ": "
              << it.value().toInt() << "\n";
    for (const auto &[key, label] :
         {std::pair{"entries", "Entries:         "}, std::pair{"rows", "Rows:            "},
          std::pair{"words", "Words:           "}, std::pair{"dependencies", "Dependencies:    "},
          std::pair{"dataFlowLinks", "Data-flow links: "},
          std::pair{"packages", "Packages:        "}, std::pair{"attributes", "Attributes:      "}})
        m_out << label << status.value(QLatin1String(key)).toInt() << "\n";
    return Success;
}

int TVXCli::Missing(const Arguments &arguments)
{
    QString database = arguments.Database;
    if (!ConfiguredDatabase(database))
        return Refused;
    QList<TVXMissingComponent> missing;
    try {
        TVXConnection db = Connected(database);
        missing = TVXMissingComponents::Report(db.get(), [this](int languageID) {
            return qobject_cast<TVXLanguageDefinitionsInterface *>(m_service->GetFunction(
                    QStringLiteral("LangDef_") + m_service->GetLanguageName(languageID),
                    QString()));
        });
        db.Release();
    } catch (const std::exception &e) {
        return Fail(VXMessage(e));
    }

    if (arguments.Flags.contains(QStringLiteral("--json"))) {
        QJsonArray list;
        for (const TVXMissingComponent &name : std::as_const(missing)) {
            QJsonObject item;
            item.insert(QStringLiteral("kind"), name.Kind);
            item.insert(QStringLiteral("name"), name.Name);
            item.insert(QStringLiteral("references"), name.References);
            item.insert(QStringLiteral("files"), QJsonArray::fromStringList(name.Files));
            item.insert(QStringLiteral("where"), QJsonArray::fromStringList(name.Where));
            list.append(item);
        }
        m_out << QJsonDocument(list).toJson(QJsonDocument::Indented);
        return Success;
    }
    m_out << "kind\tname\treferences\twhere\n";
    for (const TVXMissingComponent &name : std::as_const(missing))
        m_out << name.Kind << '\t' << name.Name << '\t' << name.References << '\t'
              << name.Where.join(QStringLiteral(", ")) << '\n';
    return Success;
}
