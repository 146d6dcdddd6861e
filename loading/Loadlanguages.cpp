// SPDX-License-Identifier: GPL-3.0-or-later
// TVXLoadPipeline: which language a file is in, and its language definition.
#include "base/Configtable.h"
#include "base/Exception.h"

#include "loading/Loadpipeline.h"
#include "parsing/Languagedefinitionsinterface.h"

#include <QFileInfo>

void TVXLoadPipeline::PopulateLanguageList(int languageID, const QString &extensions,
                                           TVXLanguageTable &table)
{
    // The last piece runs to the end of the text; ".cbl;.cob;" therefore ends with an
    // empty entry, as it always did.
    for (const QString &piece : extensions.split(QLatin1Char(';')))
        table.append({piece.trimmed(), languageID});
}

int TVXLoadPipeline::LanguageOf(const TVXLanguageTable &table, const QString &fileName)
{
    auto find = [&table](const QString &extension) {
        for (const auto &entry : table)
            if (!entry.first.isEmpty() && entry.first.compare(extension, Qt::CaseInsensitive) == 0)
                return entry.second;
        return 0;
    };
    const qsizetype point = fileName.lastIndexOf(QLatin1Char('.'));
    if (point >= 0)
        return find(fileName.mid(point));
    return find(QStringLiteral("."));
}

void TVXLoadPipeline::BuildLanguageTable()
{
    m_languageTable.clear();
    for (int row = 0; row < m_languages.RowCount(); ++row)
        PopulateLanguageList(m_languages.Value(row, QStringLiteral("VXLanguageID")).toInt(),
                             m_languages.Text(row, QStringLiteral("VXFileExtensions")),
                             m_languageTable);
    std::stable_sort(m_languageTable.begin(), m_languageTable.end(),
                     [](const auto &a, const auto &b) {
                         return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
                     });
}

TVXLanguageDefinitionsInterface *TVXLoadPipeline::Definition(int languageID, QString &languageName)
{
    const int row = m_languages.FindFirst(QStringLiteral("VXLanguageID"), languageID);
    languageName = row < 0 ? QString() : m_languages.Text(row, QStringLiteral("VXLanguageName"));
    if (languageName.isEmpty())
        throw TVXException(QStringLiteral("the language %1 is not configured").arg(languageID));
    auto *definition
            = m_services.GetFunction ? qobject_cast<TVXLanguageDefinitionsInterface *>(
                      m_services.GetFunction(QStringLiteral("LangDef_") + languageName, QString()))
                                     : nullptr;
    if (!definition)
        throw TVXException(
                QStringLiteral("no language definition is registered for the language '%1' "
                               "(package LangDef_%1)")
                        .arg(languageName));
    return definition;
}

bool TVXLoadPipeline::HoldsDirectoryObjects(int languageID)
{
    const auto known = m_directoryObjects.constFind(languageID);
    if (known != m_directoryObjects.cend())
        return *known;
    bool holds = false;
    try {
        QString languageName;
        holds = Definition(languageID, languageName)->DirectoryObject();
    } catch (const std::exception &e) {
        // The file itself fails when it is parsed, naming the language; here it is only
        // not a test script.
        m_trace.Write(VXMessage(e));
    }
    m_directoryObjects.insert(languageID, holds);
    return holds;
}

void TVXLoadPipeline::ChangeLanguage(const QString &name, TVXLanguageDefinitionsInterface *current)
{
    if (current && current->LanguageName().compare(name, Qt::CaseInsensitive) == 0)
        return;
    QObject *other = m_services.GetFunction
                             ? m_services.GetFunction(QStringLiteral("LangDef_") + name, QString())
                             : nullptr;
    if (!qobject_cast<TVXLanguageDefinitionsInterface *>(other))
        throw TVXException(
                QStringLiteral("no language definition is registered for the language '%1'")
                        .arg(name));
}
