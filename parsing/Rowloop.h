// SPDX-License-Identifier: GPL-3.0-or-later
// Feeding source rows through a language definition: the loop the loader and the tests
// share.
#pragma once

#include "base/Export.h"

#include <QStringList>

class TVXDataAccessInterface;
class TVXLanguageDefinitionsInterface;

// Rows are stored with at most this many characters.
inline constexpr int VXStoredRowLength = 255;

struct TVXRowResult
{
    // A partial save ran after this row.
    bool Saved = false;
    // The stored text was cut to its first 250 characters.
    bool Truncated = false;
    // Languages that words of this row asked the loader to switch to, in order.
    QStringList SwitchToLanguages;
    // Names of the sections that opened on this row, in order.
    QStringList SectionNames;
};

// Cuts one row into words, appends them and the row, and runs the partial save when one
// is due. The definition must have been initialised for the file.
VXCORE_EXPORT TVXRowResult VXParseRow(TVXLanguageDefinitionsInterface &definition, QString row);

// The text a row is stored as: tabs as two blanks, long rows cut with "...!!".
VXCORE_EXPORT QString VXStoredRowText(QString row, bool *truncated = nullptr);

struct TVXFileParseResult
{
    int Rows = 0;
    // Rows stored cut to 250 characters.
    int TruncatedRows = 0;
    int PartialSaves = 0;
    QStringList SwitchToLanguages;
};

struct TVXFileIdentity
{
    int FileID = 0;
    int ApplicationID = 0;
    int ComputerID = 0;
    int SystemID = 0;
};

// Parses one whole file and saves it: initialise, every row, the final save. A failure is
// rethrown as a TVXException that names the file and the row, after the buffered words
// were dumped for diagnosis; what earlier partial saves wrote stays in the repository.
VXCORE_EXPORT TVXFileParseResult VXParseFile(TVXLanguageDefinitionsInterface &definition,
                                             TVXDataAccessInterface *dataAccess,
                                             const QString &fileName,
                                             const TVXFileIdentity &identity);
