// SPDX-License-Identifier: GPL-3.0-or-later
// A small in-memory table of settings that saves itself to a file.
#include "base/Configtable.h"

#include "base/Exception.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

namespace {
constexpr quint32 FileMagic = 0x56584354; // "VXCT"
constexpr quint16 FileFormat = 1;
} // namespace

TVXConfigTable::TVXConfigTable(QString name, QList<TVXFieldDef> fields, QString uniqueField)
    : m_name(std::move(name))
    , m_fields(std::move(fields))
{
    if (!uniqueField.isEmpty())
        m_uniqueField = FieldIndex(uniqueField);
}

int TVXConfigTable::FieldIndex(const QString &field) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].Name.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant TVXConfigTable::Value(int row, const QString &field) const
{
    const int f = FieldIndex(field);
    if (row < 0 || row >= m_rows.size() || f < 0)
        return {};
    return m_rows[row][f];
}

QVariant TVXConfigTable::Checked(int field, const QVariant &value) const
{
    const TVXFieldDef &def = m_fields[field];
    if (value.isNull() || (def.Type == TVXFieldType::String && value.toString().isEmpty()))
        return def.Type == TVXFieldType::String ? QVariant(QString()) : QVariant();
    switch (def.Type) {
    case TVXFieldType::String: {
        const QString text = value.toString();
        if (def.Size > 0 && text.size() > def.Size)
            throw TVXException(
                    QStringLiteral("%1: the value of %2 is longer than %3 characters: %4")
                            .arg(m_name, def.Name)
                            .arg(def.Size)
                            .arg(text));
        return text;
    }
    case TVXFieldType::Integer: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok)
            throw TVXException(QStringLiteral("%1: %2 is not a number: %3")
                                       .arg(m_name, def.Name, value.toString()));
        return number;
    }
    case TVXFieldType::Boolean:
        return value.toBool();
    }
    return value;
}

void TVXConfigTable::CheckRow(int row) const
{
    const QList<QVariant> &values = m_rows[row];
    for (int f = 0; f < m_fields.size(); ++f)
        if (m_fields[f].Required && (values[f].isNull() || values[f].toString().isEmpty()))
            throw TVXException(QStringLiteral("%1: Field '%2' must have a value")
                                       .arg(m_name, m_fields[f].Name));
    if (m_uniqueField < 0)
        return;
    for (int other = 0; other < m_rows.size(); ++other)
        if (other != row && m_rows[other][m_uniqueField] == values[m_uniqueField])
            throw TVXException(QStringLiteral("%1: Key violation, %2 '%3' exists already")
                                       .arg(m_name, m_fields[m_uniqueField].Name,
                                            values[m_uniqueField].toString()));
}

int TVXConfigTable::Append(const QVariantMap &values)
{
    QList<QVariant> row;
    row.reserve(m_fields.size());
    for (int f = 0; f < m_fields.size(); ++f)
        row.append(Checked(f, values.value(m_fields[f].Name)));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (FieldIndex(it.key()) < 0)
            throw TVXException(QStringLiteral("%1: unknown field %2").arg(m_name, it.key()));
    m_rows.append(row);
    try {
        CheckRow(int(m_rows.size()) - 1);
    } catch (...) {
        m_rows.removeLast();
        throw;
    }
    return int(m_rows.size()) - 1;
}

void TVXConfigTable::SetValue(int row, const QString &field, const QVariant &value)
{
    const int f = FieldIndex(field);
    if (f < 0)
        throw TVXException(QStringLiteral("%1: unknown field %2").arg(m_name, field));
    if (row < 0 || row >= m_rows.size())
        throw TVXException(QStringLiteral("%1: no row %2").arg(m_name).arg(row));
    const QVariant old = m_rows[row][f];
    m_rows[row][f] = Checked(f, value);
    try {
        CheckRow(row);
    } catch (...) {
        m_rows[row][f] = old;
        throw;
    }
}

void TVXConfigTable::SetValues(int row, const QVariantMap &values)
{
    if (row < 0 || row >= m_rows.size())
        throw TVXException(QStringLiteral("%1: no row %2").arg(m_name).arg(row));
    const QList<QVariant> old = m_rows[row];
    try {
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const int f = FieldIndex(it.key());
            if (f < 0)
                throw TVXException(QStringLiteral("%1: unknown field %2").arg(m_name, it.key()));
            m_rows[row][f] = Checked(f, it.value());
        }
        CheckRow(row);
    } catch (...) {
        m_rows[row] = old;
        throw;
    }
}

void TVXConfigTable::Delete(int row)
{
    if (row >= 0 && row < m_rows.size())
        m_rows.removeAt(row);
}

QList<int> TVXConfigTable::Find(const QString &field, const QVariant &value) const
{
    QList<int> rows;
    const int f = FieldIndex(field);
    if (f < 0)
        return rows;
    const QVariant wanted = Checked(f, value);
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r][f] == wanted)
            rows.append(r);
    return rows;
}

int TVXConfigTable::FindFirst(const QString &field, const QVariant &value) const
{
    const QList<int> rows = Find(field, value);
    return rows.isEmpty() ? -1 : rows.first();
}

void TVXConfigTable::SaveToFile(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TVXException(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    out << FileMagic << FileFormat << m_name << qint32(m_fields.size());
    for (const TVXFieldDef &def : m_fields)
        out << def.Name << qint32(def.Type) << qint32(def.Size) << def.Required;
    out << qint32(m_rows.size());
    for (const QList<QVariant> &row : m_rows)
        for (const QVariant &value : row)
            out << value;
    if (out.status() != QDataStream::Ok || !file.commit())
        throw TVXException(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

void TVXConfigTable::LoadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TVXException(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    auto damaged = [&](const QString &why) {
        return TVXException(
                QStringLiteral("%1 is not a %2 settings file: %3").arg(path, m_name, why));
    };

    quint32 magic = 0;
    quint16 format = 0;
    QString name;
    qint32 fieldCount = 0;
    in >> magic >> format >> name >> fieldCount;
    if (in.status() != QDataStream::Ok || magic != FileMagic || format != FileFormat)
        throw damaged(QStringLiteral("unknown format"));
    if (name != m_name || fieldCount != m_fields.size())
        throw damaged(QStringLiteral("written with another field layout"));
    for (const TVXFieldDef &expected : std::as_const(m_fields)) {
        TVXFieldDef stored;
        qint32 type = 0, size = 0;
        in >> stored.Name >> type >> size >> stored.Required;
        stored.Type = TVXFieldType(type);
        stored.Size = size;
        if (in.status() != QDataStream::Ok || !(stored == expected))
            throw damaged(QStringLiteral("written with another field layout"));
    }
    qint32 rowCount = 0;
    in >> rowCount;
    if (in.status() != QDataStream::Ok || rowCount < 0)
        throw damaged(QStringLiteral("damaged row count"));

    QList<QList<QVariant>> rows;
    for (qint32 r = 0; r < rowCount; ++r) {
        QList<QVariant> row;
        for (int f = 0; f < m_fields.size(); ++f) {
            QVariant value;
            in >> value;
            row.append(value);
        }
        if (in.status() != QDataStream::Ok)
            throw damaged(QStringLiteral("damaged at row %1").arg(r + 1));
        rows.append(row);
    }
    if (!in.atEnd())
        throw damaged(QStringLiteral("unexpected data after the last row"));
    m_rows = rows;
}
