// SPDX-License-Identifier: GPL-3.0-or-later
// A generated portfolio of fixed-format COBOL in the style of a payroll system: programs of
// about 1,000 lines (working storage, copy members, paragraphs with MOVE, IF, PERFORM, CALL,
// COMPUTE, embedded SQL and CICS) and 200 copy members, for the benchmarks.
#pragma once

#include <QString>

#include <memory>

class QTextStream;
class TVXLanguageDefinitionsInterface;
class TVXPackageLoader;

// Loads the built packages and creates the IBM COBOL definition from them; throws when it
// is missing. The loader must outlive the definition.
std::unique_ptr<TVXLanguageDefinitionsInterface> CreateCobolDefinition(TVXPackageLoader &loader);

// One program of about the given number of lines; returns the lines written.
int WriteProgram(QTextStream &out, int number, int lines);

// Writes PGMnnnnn.ibmcob and CPYnnnn.ibmcob files into the folder until about the given
// number of lines; returns the lines written.
qint64 WritePortfolio(const QString &folder, qint64 lines);
