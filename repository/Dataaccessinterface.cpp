// SPDX-License-Identifier: GPL-3.0-or-later
// The one way into the repository.
#include "repository/Dataaccessinterface.h"

#include "repository/Condition.h"
#include "repository/Dataset.h"

#include <memory>

TVXDataAccessInterface::TVXDataAccessInterface(QObject *owner)
    : QObject(owner)
{}

int TVXDataAccessInterface::Connect(const QString &)
{
    return 0;
}
int TVXDataAccessInterface::DisConnect(bool, bool)
{
    return 0;
}
int TVXDataAccessInterface::GetTable(const QString &)
{
    return 0;
}
int TVXDataAccessInterface::GetField(int, const QString &)
{
    return 0;
}
QString TVXDataAccessInterface::GetFieldName(int, int)
{
    return {};
}
bool TVXDataAccessInterface::SelectBegin(int, const QString &)
{
    return false;
}
// A driver that cannot bind gets the values as literals.
bool TVXDataAccessInterface::SelectBoundBegin(int table, const TVXCondition &condition)
{
    return SelectBegin(table, condition.Inlined());
}
bool TVXDataAccessInterface::SelectNext(int)
{
    return false;
}
bool TVXDataAccessInterface::SelectPrevious(int)
{
    return false;
}
bool TVXDataAccessInterface::Delete(int, const QString &, bool)
{
    return false;
}
QVariant TVXDataAccessInterface::GetFieldValue(int, int)
{
    return {};
}
void TVXDataAccessInterface::SetFieldValue(int, int, const QVariant &) {}
int TVXDataAccessInterface::GetCount(int)
{
    return 0;
}
bool TVXDataAccessInterface::GoToKey(int, const QString &, const QVariantList &, bool)
{
    return false;
}
bool TVXDataAccessInterface::GoToKeyNext(int, const QString &, const QVariantList &, bool)
{
    return false;
}
void TVXDataAccessInterface::Commit(bool, bool) {}
void TVXDataAccessInterface::VXDeleteForFileID(int) {}
void TVXDataAccessInterface::VXLOAD_Append(const QString &, const QString &, const QString &,
                                           const QString &, const QString &, const QString &)
{}
void TVXDataAccessInterface::VXFILE_Append(int, int, int, int, const QString &, const QString &,
                                           qint64, qint64)
{}
void TVXDataAccessInterface::VXOBJECT_Append(int, int, int, bool, const QString &, const QString &,
                                             const QString &, const QString &, int, const QString &,
                                             const QString &, const QString &, int, int, int)
{}
void TVXDataAccessInterface::VXENTRY_Append(int, int, int, int, const QString &, const QString &,
                                            const QString &, int, const QString &)
{}
void TVXDataAccessInterface::VXROW_Append(int, int, int, int, int, const QString &, bool) {}
void TVXDataAccessInterface::VXROW_SetCall(int, int, int, int) {}
void TVXDataAccessInterface::VXWORD_Append(int, int, int, int, int, int, int, int, const QString &,
                                           int, const QString &)
{}
void TVXDataAccessInterface::VXDEPENDENCIES_Append(int, int, int, int, int, int, int, int, int, int,
                                                   int, int)
{}
void TVXDataAccessInterface::VXPACKAGE_Append(int, int, const QString &, const QString &, int, int)
{}
void TVXDataAccessInterface::VXATTRIBUTE_Append(int, const QString &) {}
void TVXDataAccessInterface::VXDATAFLOW_Append(int, int, int, int, int, int) {}
TVXDataset *TVXDataAccessInterface::GetQuery(QObject *, const QStringList &, bool)
{
    return nullptr;
}
TVXDataset *TVXDataAccessInterface::GetBoundQuery(QObject *owner, const TVXCondition &statement,
                                                  bool bidirectional)
{
    return GetQuery(owner, QStringList{statement.Inlined()}, bidirectional);
}

void TVXDataAccessInterface::ReleaseThreadConnection() {}
void TVXDataAccessInterface::SuspendSearchIndexes() {}

void TVXDataAccessInterface::CheckpointLog() {}
void TVXDataAccessInterface::RestoreSearchIndexes() {}
QString TVXDataAccessInterface::DistinctWordTable() const
{
    return {};
}

QString TVXDataAccessInterface::QuotedText(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QList<QVariantList> TVXDataAccessInterface::SelectRows(const TVXCondition &statement)
{
    QList<QVariantList> rows;
    std::unique_ptr<TVXDataset> dataset(GetBoundQuery(nullptr, statement, false));
    for (; dataset && !dataset->Eof(); dataset->Next()) {
        QVariantList row;
        for (int i = 0; i < dataset->FieldCount(); ++i)
            row << dataset->Value(i);
        rows << row;
    }
    return rows;
}
