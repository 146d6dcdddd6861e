// SPDX-License-Identifier: GPL-3.0-or-later
// The InterBase repository: a Firebird 3 database file opened by the embedded engine.
#include "repository/interbase/Interbasedb.h"

#include "base/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

#include <ibase.h>

namespace {

QString FirebirdMessage(const ISC_STATUS *status)
{
    QStringList parts;
    char buffer[1024];
    const ISC_STATUS *vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector) > 0)
        parts << QString::fromLocal8Bit(buffer);
    return parts.join(QStringLiteral(" "));
}

} // namespace

TVXInterBaseDB::TVXInterBaseDB(QObject *owner)
    : TVXSqlDataAccess(owner, QStringLiteral("TVXInterBaseDB"), QStringLiteral("QIBASE"))
{}

void TVXInterBaseDB::CreateDatabaseFile(const QString &path)
{
    QString quoted = path;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    const QByteArray sql = "CREATE DATABASE '" + quoted.toUtf8()
                           + "' USER 'SYSDBA' PAGE_SIZE 16384 DEFAULT CHARACTER SET UTF8";
    ISC_STATUS_ARRAY status{};
    isc_db_handle database = 0;
    isc_tr_handle transaction = 0;
    if (isc_dsql_execute_immediate(status, &database, &transaction, 0, sql.constData(), 3, nullptr))
        throw TVXException(
                QStringLiteral("cannot create %1: %2").arg(path, FirebirdMessage(status)));
    isc_detach_database(status, &database);
}

void TVXInterBaseDB::Open(QSqlDatabase &database, const QString &connection)
{
    const QString file = connection.trimmed();
    if (file.isEmpty())
        throw TVXException(QStringLiteral("no database file is named"));
    const QFileInfo info(file);
    if (!info.absoluteDir().exists())
        throw TVXException(QStringLiteral("the folder of the database file does not exist: ")
                           + info.absolutePath());
    if (!info.exists())
        CreateDatabaseFile(info.absoluteFilePath());
    database.setDatabaseName(info.absoluteFilePath());
    database.setUserName(QStringLiteral("SYSDBA"));
    database.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    if (!database.open())
        throw TVXException(database.lastError().text());
}

QString TVXInterBaseDB::DistinctWordInsertSql() const
{
    return QStringLiteral(
            "UPDATE OR INSERT INTO VXDISTINCTWORD (VXWord) VALUES (?) MATCHING (VXWord)");
}

QStringList TVXInterBaseDB::NameIndexes(bool tableCreated) const
{
    if (!tableCreated)
        return {};
    return {QStringLiteral("CREATE INDEX VXOBJECT_UPPERIDENTIFIER ON VXOBJECT COMPUTED BY "
                           "(UPPER(VXObjectIdentifier))"),
            QStringLiteral("CREATE INDEX VXENTRY_UPPERNAME ON VXENTRY COMPUTED BY "
                           "(UPPER(VXEntryName))"),
            QStringLiteral("CREATE INDEX VXFILE_UPPERNAME ON VXFILE COMPUTED BY "
                           "(UPPER(VXFileName))")};
}

QStringList TVXInterBaseDB::WordIndexes(bool tableCreated) const
{
    // Firebird has no "if not exists": the indexes come with a new word table.
    if (!tableCreated)
        return {};
    return {QStringLiteral("CREATE INDEX VXWORD_WORD ON VXWORD (VXWord)"),
            QStringLiteral("CREATE INDEX VXWORD_UPPER ON VXWORD COMPUTED BY (UPPER(VXWord))")};
}
