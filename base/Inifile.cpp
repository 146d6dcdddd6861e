// SPDX-License-Identifier: GPL-3.0-or-later
// A plain INI file.
#include "base/Inifile.h"

#include "base/Exception.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace {

bool IsSection(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

} // namespace

TVXIniFile::TVXIniFile(QString path)
    : m_path(std::move(path))
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    while (!in.atEnd())
        m_lines.append(in.readLine());
}

int TVXIniFile::FindKey(const QString &section, const QString &key, int *sectionEnd) const
{
    bool inSection = false;
    if (sectionEnd)
        *sectionEnd = -1;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString line = m_lines[i].trimmed();
        if (IsSection(line)) {
            if (inSection)
                return -1;
            inSection = line.mid(1, line.size() - 2).trimmed().compare(section, Qt::CaseInsensitive)
                        == 0;
            if (inSection && sectionEnd)
                *sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!line.isEmpty() && sectionEnd)
            *sectionEnd = i + 1;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool TVXIniFile::ValueExists(const QString &section, const QString &key) const
{
    return FindKey(section, key, nullptr) >= 0;
}

QString TVXIniFile::ReadString(const QString &section, const QString &key,
                               const QString &fallback) const
{
    const int line = FindKey(section, key, nullptr);
    if (line < 0)
        return fallback;
    const QString &text = m_lines[line];
    return text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed();
}

void TVXIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    int sectionEnd = -1;
    const int line = FindKey(section, key, &sectionEnd);
    const QString entry = key + QLatin1Char('=') + value;
    if (line >= 0) {
        m_lines[line] = entry;
    } else if (sectionEnd >= 0) {
        m_lines.insert(sectionEnd, entry);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(entry);
    }
}

void TVXIniFile::Save() const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw TVXException(QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString()));
    QTextStream out(&file);
    for (const QString &line : m_lines)
        out << line << '\n';
    out.flush();
    if (!file.commit())
        throw TVXException(QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString()));
}
