// SPDX-License-Identifier: GPL-3.0-or-later
// A plain INI file: sections in brackets, key=value lines, read and written in place.
#pragma once

#include "base/Export.h"

#include <QString>
#include <QStringList>

// Documents (.vnv, .vnq) and VN.ini are INI files that users also edit by hand. Values are
// taken verbatim (commas, quotes and backslashes carry no meaning), section and key names
// compare without regard to case, and writing changes only the line of that key, so
// everything else in the file, comments included, survives.
class VXCORE_EXPORT TVXIniFile
{
public:
    // A missing or unreadable file reads as empty.
    explicit TVXIniFile(QString path);

    bool ValueExists(const QString &section, const QString &key) const;
    QString ReadString(const QString &section, const QString &key,
                       const QString &fallback = {}) const;
    // Adds the section and key when they are missing.
    void WriteString(const QString &section, const QString &key, const QString &value);
    // Throws when the file cannot be written.
    void Save() const;

private:
    int FindKey(const QString &section, const QString &key, int *sectionEnd) const;

    QString m_path;
    QStringList m_lines;
};
