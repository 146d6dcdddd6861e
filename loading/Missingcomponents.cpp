// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Missingcomponents.h"

#include "parsing/Globals.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Repositoryqueries.h"

#include <QHash>
#include <QMap>

using namespace VXWordType;

QString TVXMissingComponents::Kind(int wordType, const QString &identifier, bool jobControl,
                                   QString &name)
{
    switch (wordType) {
    case CalledName:
        if (identifier == QLatin1String("?"))
            return QStringLiteral("dynamic call");
        if (identifier.isEmpty())
            return jobControl ? QStringLiteral("procedure") : QStringLiteral("paragraph");
        return QStringLiteral("program");
    case IncludedMember:
        return jobControl ? QStringLiteral("member") : QStringLiteral("copy member");
    case TableName:
        return jobControl ? QStringLiteral("data set") : QStringLiteral("table");
    default:
        if (name.endsWith(QLatin1String("_MAP"), Qt::CaseInsensitive)) {
            name.chop(4);
            return QStringLiteral("map");
        }
        return QStringLiteral("object");
    }
}

QList<TVXMissingComponent> TVXMissingComponents::Report(TVXDataAccessInterface *db,
                                                        const TVXDefinitionOf &definitionOf)
{
    // What the repository declares is never missing, whatever kind the referring word asked
    // for: a paragraph of a copy member, a map of a mapset.
    const QSet<QString> objects = VXRepositoryQueries::DeclaredObjectIdentifiers(db);
    const QSet<QString> entries = VXRepositoryQueries::DeclaredEntryNames(db);
    QHash<int, bool> jobControlOf;
    auto jobControl = [&](int languageID) {
        const auto known = jobControlOf.constFind(languageID);
        if (known != jobControlOf.cend())
            return *known;
        const TVXLanguageDefinitionsInterface *definition
                = definitionOf ? definitionOf(languageID) : nullptr;
        return *jobControlOf.insert(languageID, definition && definition->JobControl());
    };

    QMap<QString, TVXMissingComponent> missing;
    for (const TVXUnresolvedWord &word : VXRepositoryQueries::UnresolvedWords(
                 db, {CalledName, ReferencedName, HostName, IncludedMember, TableName})) {
        // Called names are looked up by their text; the other references by the identifier
        // their language gave them.
        QString name = word.WordType == CalledName || word.ObjectIdentifier.isEmpty()
                                       || word.ObjectIdentifier == QLatin1String("?")
                               ? word.Word
                               : word.ObjectIdentifier;
        if (name.isEmpty() || name == QLatin1String("?") || name == QLatin1String("'"))
            continue;
        // Temporary and symbolic data set names (&&TEMP, &ENV..X) name nothing that could be
        // loaded.
        if (word.WordType == TableName && name.startsWith(QLatin1Char('&')))
            continue;
        const QString kind
                = Kind(word.WordType, word.ObjectIdentifier, jobControl(word.LanguageID), name);
        // A paragraph is declared as an entry, everything else as an object (a JCL step
        // named SORT declares no program SORT).
        const QString folded = name.toUpper();
        if (kind != QLatin1String("dynamic call")
            && (objects.contains(folded)
                || (kind == QLatin1String("paragraph") && entries.contains(folded))))
            continue;
        TVXMissingComponent &component = missing[kind + QLatin1Char('\t') + folded];
        component.Kind = kind;
        component.Name = name;
        ++component.References;
        if (!component.Files.contains(word.FileName))
            component.Files << word.FileName;
        component.Where << word.FileName + QLatin1Char(':') + QString::number(word.Line);
    }
    return missing.values();
}
