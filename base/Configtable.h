// SPDX-License-Identifier: GPL-3.0-or-later
// A small in-memory table of settings that saves itself to a file with its field layout.
#pragma once

#include "base/Export.h"

#include <QList>
#include <QString>
#include <QVariant>

enum class TVXFieldType { String, Integer, Boolean };

struct TVXFieldDef
{
    QString Name;
    TVXFieldType Type = TVXFieldType::String;
    int Size = 0; // characters, for strings
    bool Required = false;
    QString Label;

    bool operator==(const TVXFieldDef &other) const
    {
        return Name == other.Name && Type == other.Type && Size == other.Size
               && Required == other.Required;
    }
};

// Rows are validated on every write (required fields, string sizes, the unique field), so
// the file never holds a row the dialogs would refuse. The file records the field layout:
// loading a file written with another layout fails instead of misreading it.
class VXCORE_EXPORT TVXConfigTable
{
public:
    TVXConfigTable(QString name, QList<TVXFieldDef> fields, QString uniqueField = {});

    const QString &Name() const { return m_name; }
    const QList<TVXFieldDef> &Fields() const { return m_fields; }
    int FieldIndex(const QString &field) const; // -1 when unknown

    int RowCount() const { return int(m_rows.size()); }
    bool IsEmpty() const { return m_rows.isEmpty(); }
    QVariant Value(int row, const QString &field) const;
    QString Text(int row, const QString &field) const { return Value(row, field).toString(); }

    // Returns the new row's index. Fields not given are null (empty).
    int Append(const QVariantMap &values);
    void SetValue(int row, const QString &field, const QVariant &value);
    // All fields at once: either every value is taken or, when one is refused, none.
    void SetValues(int row, const QVariantMap &values);
    void Delete(int row);
    void Clear() { m_rows.clear(); }

    // The rows whose field equals the value (the restriction the dialogs and the service
    // object work with), in table order.
    QList<int> Find(const QString &field, const QVariant &value) const;
    int FindFirst(const QString &field, const QVariant &value) const;

    // Written whole to a temporary file and renamed, so a crash never leaves half a file.
    void SaveToFile(const QString &path) const;
    // Throws when the file is missing, unreadable, damaged or of another layout.
    void LoadFromFile(const QString &path);

private:
    QVariant Checked(int field, const QVariant &value) const;
    void CheckRow(int row) const;

    QString m_name;
    QList<TVXFieldDef> m_fields;
    int m_uniqueField = -1;
    QList<QList<QVariant>> m_rows;
};
