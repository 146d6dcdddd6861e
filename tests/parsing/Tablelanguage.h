// SPDX-License-Identifier: GPL-3.0-or-later
// A language whose tables each test fills itself, parsing rows without a repository.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Rowloop.h"
#include "repository/Dataaccessinterface.h"

#include <QStringList>

class TableLanguage : public TVXLanguageDefinitionsInterface
{
public:
    TableLanguage()
        : TVXLanguageDefinitionsInterface(nullptr, QString())
    {
        m_languageID = 90001;
        m_languageName = QStringLiteral("TABLES");
        m_fileExtensions = QStringLiteral(".tbl;");
    }

    using TVXLanguageDefinitionsInterface::SetFBreakWords;
    using TVXLanguageDefinitionsInterface::SetFContexts;
    using TVXLanguageDefinitionsInterface::SetFObjectIcons;
    using TVXLanguageDefinitionsInterface::SetFSections;
    using TVXLanguageDefinitionsInterface::SetFWords;

    void SetNestedObjects(bool on) { m_nestedObjects = on; }
    void SetDirectoryObject(bool on) { m_directoryObject = on; }
    void SetQualifiedCalls(bool on) { m_qualifiedCalls = on; }

    // Blank and tab as white space, which nearly every case needs.
    void AddWhiteSpace()
    {
        SetFBreakWords(QStringLiteral(" "), VXWordType::WhiteSpace);
        SetFBreakWords(QStringLiteral("\t"), VXWordType::WhiteSpace);
    }

    void Start(const QString &file = QStringLiteral("/src/app/main.tbl"), int fileID = 1)
    {
        InitializeForNewFile(&m_discard, file, fileID, 1, 1, 1);
    }

    void Rows(const QStringList &rows)
    {
        for (const QString &row : rows)
            VXParseRow(*this, row);
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (const TVXWordElement &word : WordBuffer())
            texts << word.Word;
        return texts;
    }

    QList<TWordType> Types() const
    {
        QList<TWordType> types;
        for (const TVXWordElement &word : WordBuffer())
            types << word.WordType;
        return types;
    }

    const TVXWordElement *Find(const QString &text) const
    {
        for (const TVXWordElement &word : WordBuffer())
            if (word.Word == text)
                return &word;
        return nullptr;
    }

private:
    // Writes nothing: the cases look at the buffers.
    TVXDataAccessInterface m_discard;
};
