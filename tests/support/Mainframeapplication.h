// SPDX-License-Identifier: GPL-3.0-or-later
// A generated CICS and batch application in the shapes real mainframe shops write: online
// programs that end in EXEC CICS RETURN and never GOBACK, batch programs with sections,
// utilities called statically, through a VALUE, a MOVE of a literal and through a variable
// nobody sets; symbolic-map copy members named like their mapsets, procedural copy members
// with paragraphs, quoted COPY, COPY ... OF, COPY ... REPLACING, EXEC SQL INCLUDE; jobs named
// like the program they run, cataloged procedures, JCLLIB, DD names and SYSOUT classes.
//
// The generator counts every link it writes, so a load can be checked link by link.
#pragma once

#include <QList>
#include <QString>

namespace VXTest {

struct ExpectedLink
{
    QString Kind; // perform, thru, copy, sql-include, call, link, xctl, map, exec-pgm, exec-proc
    QString FromFile;      // file name of the referring word
    int FromLine = 0;      // 1-based line of the referring word
    QString Word;          // the referring word as written (without quotes)
    QString TargetFile;    // file name of the target
    QString TargetEntry;   // entry name; empty for a link to the object
    bool Possible = false; // a call through a variable whose value was read statically
};

struct ExpectedMissing
{
    QString Kind; // as velunor-cli missing prints it
    QString Name;
    QString File;
    int Line = 0;
};

struct GeneratedApplication
{
    int Files = 0;
    qint64 Lines = 0;
    QList<ExpectedLink> Links;
    QList<ExpectedMissing> Missing;
    // Names that are declared in the application and must never be listed as missing.
    QStringList Declared;
};

// One link as both sides write it: from file, line and word to the target file and entry,
// possible or not.
QString LinkKey(const QString &file, int line, const QString &word, const QString &target,
                const QString &entry, bool possible);
// The links the generator wrote, as link keys.
QStringList ExpectedLinkKeys(const GeneratedApplication &application);
// The repository's dependency rows as the columns of LinkKey (from file, line, word, target
// file, entry name, inheritance file id), in SQL that every engine runs. The line of a word
// is one after the rows of its file numbered below it.
QString StoredLinkQuery();

// Writes the application into folder (created when missing): programs .cbl, copy members
// .cpy, mapsets .bms, jobs and procedures .jcl. scale 1 gives about 240 files; each unit more
// adds as many again.
GeneratedApplication WriteMainframeApplication(const QString &folder, int scale = 1);

} // namespace VXTest
