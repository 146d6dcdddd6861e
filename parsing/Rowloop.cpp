// SPDX-License-Identifier: GPL-3.0-or-later
// Feeding source rows through a language definition.
#include "parsing/Rowloop.h"

#include "base/Exception.h"

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Sourcereader.h"

QString VXStoredRowText(QString row, bool *truncated)
{
    if (row.contains(QLatin1Char('\t')))
        row.replace(QLatin1Char('\t'), QLatin1String("  "));
    const bool cut = row.size() > VXStoredRowLength;
    if (cut)
        row = row.left(250) + QLatin1String("...!!");
    if (truncated)
        *truncated = cut;
    return row;
}

TVXRowResult VXParseRow(TVXLanguageDefinitionsInterface &definition, QString row)
{
    TVXRowResult result;
    qsizetype end = row.size();
    while (end > 0 && row[end - 1] == QLatin1Char(' '))
        --end;
    row.truncate(end);

    bool objectClosed = false;
    const int length = int(row.size());
    int p = 1;
    QString switchTo;
    QString sectionName;
    auto append = [&](const QString &text, TWordType type) {
        switchTo.clear();
        sectionName.clear();
        if (definition.AppendWord(text, type, switchTo, sectionName))
            objectClosed = true;
        if (!switchTo.isEmpty())
            result.SwitchToLanguages.append(switchTo);
        if (!sectionName.isEmpty())
            result.SectionNames.append(sectionName);
    };
    while (p <= length) {
        int breakLength = 0;
        TWordType breakType = VXWordType::WhiteSpace;
        const int breakAt = definition.FindWordBreak(row, p, breakLength, breakType);
        if (breakAt > p)
            append(definition.WordText(QStringView(row).mid(p - 1, breakAt - p)),
                   VXWordType::Unknown);
        if (breakAt <= length && breakType != VXWordType::WhiteSpace)
            append(definition.WordText(QStringView(row).mid(breakAt - 1, breakLength)), breakType);
        p = breakAt + breakLength;
    }

    const bool saveDue = definition.AppendRow(VXStoredRowText(std::move(row), &result.Truncated));
    if (saveDue || objectClosed) {
        definition.SaveToDB(false, objectClosed);
        result.Saved = true;
    }
    return result;
}

TVXFileParseResult VXParseFile(TVXLanguageDefinitionsInterface &definition,
                               TVXDataAccessInterface *dataAccess, const QString &fileName,
                               const TVXFileIdentity &identity)
{
    TVXFileParseResult result;
    TVXSourceReader reader(fileName);
    definition.InitializeForNewFile(dataAccess, fileName, identity.FileID, identity.ApplicationID,
                                    identity.ComputerID, identity.SystemID);
    try {
        QString row;
        while (reader.ReadRow(row)) {
            ++result.Rows;
            const TVXRowResult rowResult = VXParseRow(definition, std::move(row));
            result.TruncatedRows += rowResult.Truncated ? 1 : 0;
            result.PartialSaves += rowResult.Saved ? 1 : 0;
            result.SwitchToLanguages += rowResult.SwitchToLanguages;
        }
        definition.SaveToDB(true, false);
    } catch (const std::exception &e) {
        QString dump;
        try {
            dump = definition.DumpAtError();
        } catch (const std::exception &) {
            // The dump is a diagnosis aid; the parse error itself must still be reported.
        }
        QString message = VXMessage(e) + QStringLiteral("\n  in file: ") + fileName
                          + QStringLiteral(", row ") + QString::number(result.Rows);
        if (!dump.isEmpty())
            message += QStringLiteral("\n  words dumped to: ") + dump;
        throw TVXException(message);
    }
    return result;
}
