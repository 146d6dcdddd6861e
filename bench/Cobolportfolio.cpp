// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cobolportfolio.h"

#include "base/Classregistry.h"
#include "base/Exception.h"

#include "parsing/Languagedefinitionsinterface.h"
#include "shell/Packageloader.h"

#include <QFile>
#include <QTextStream>

namespace {

QString Sequenced(int sequence, const QString &text)
{
    QString row = QStringLiteral("%1").arg(sequence % 1000000, 6, 10, QLatin1Char('0')) + text;
    if (row.size() < 72)
        return row.leftJustified(72) + QStringLiteral("PAYROLL1");
    return row;
}

} // namespace

// A program in the style of a batch or CICS payroll module: divisions, working storage,
// copy members, paragraphs with MOVE, IF, PERFORM, CALL, COMPUTE, embedded SQL and CICS.
int WriteProgram(QTextStream &out, int number, int lines)
{
    int sequence = 100;
    int written = 0;
    auto row = [&](const QString &text) {
        out << Sequenced(sequence, text) << '\n';
        sequence += 100;
        ++written;
    };
    row(QStringLiteral(" IDENTIFICATION DIVISION."));
    row(QStringLiteral(" PROGRAM-ID. PGM%1.").arg(number, 5, 10, QLatin1Char('0')));
    row(QStringLiteral("* CALCULATES GROSS AND NET PAY FOR ONE PAYROLL PERIOD."));
    row(QStringLiteral(" ENVIRONMENT DIVISION."));
    row(QStringLiteral(" DATA DIVISION."));
    row(QStringLiteral(" WORKING-STORAGE SECTION."));
    row(QStringLiteral(" 01  WS-AREAS."));
    for (int i = 0; i < 40; ++i)
        row(QStringLiteral("     05  WS-FIELD-%1         PIC %2.")
                    .arg(i, 3, 10, QLatin1Char('0'))
                    .arg(i % 3 == 0 ? QStringLiteral("X(30)") : QStringLiteral("S9(7)V99 COMP-3")));
    row(QStringLiteral("     COPY CPY%1.").arg(number % 200, 4, 10, QLatin1Char('0')));
    row(QStringLiteral("     EXEC SQL INCLUDE SQLCA END-EXEC."));
    row(QStringLiteral(" PROCEDURE DIVISION."));
    row(QStringLiteral(" MAIN-PARA."));
    int paragraph = 0;
    while (written < lines - 2) {
        const int i = written;
        switch (i % 16) {
        case 0:
            row(QStringLiteral(" PARA-%1.").arg(++paragraph, 4, 10, QLatin1Char('0')));
            break;
        case 1:
            row(QStringLiteral("     MOVE WS-FIELD-%1 TO WS-FIELD-%2.")
                        .arg(i % 40)
                        .arg((i + 7) % 40));
            break;
        case 2:
            row(QStringLiteral("     IF WS-FIELD-%1 > 1000 AND WS-FIELD-%2 = SPACES")
                        .arg(i % 40)
                        .arg(i % 37));
            break;
        case 3:
            row(QStringLiteral("        PERFORM PARA-%1")
                        .arg(paragraph + 1, 4, 10, QLatin1Char('0')));
            break;
        case 4:
            row(QStringLiteral("     ELSE"));
            break;
        case 5:
            row(QStringLiteral("        ADD 1 TO WS-FIELD-%1").arg(i % 40));
            break;
        case 6:
            row(QStringLiteral("     END-IF."));
            break;
        case 7:
            row(QStringLiteral("     COMPUTE WS-FIELD-%1 = WS-FIELD-%2 * 1.25 + WS-FIELD-%3.")
                        .arg(i % 40)
                        .arg((i + 1) % 40)
                        .arg((i + 2) % 40));
            break;
        case 8:
            row(QStringLiteral("     CALL 'SUB%1' USING WS-AREAS.")
                        .arg(i % 500, 4, 10, QLatin1Char('0')));
            break;
        case 9:
            row(QStringLiteral("*    RECALCULATE THE TAX WHEN THE PERIOD CHANGES"));
            break;
        case 10:
            row(QStringLiteral("     EXEC SQL SELECT EMP_NAME, EMP_RATE"));
            break;
        case 11:
            row(QStringLiteral("          INTO :WS-FIELD-000, :WS-FIELD-001"));
            break;
        case 12:
            row(QStringLiteral("          FROM EMPLOYEE WHERE EMP_ID = :WS-FIELD-003"));
            break;
        case 13:
            row(QStringLiteral("     END-EXEC."));
            break;
        case 14:
            row(QStringLiteral("     EXEC CICS SEND MAP('PAYMAP') MAPSET('PAYSET') END-EXEC."));
            break;
        default:
            row(QStringLiteral("     DISPLAY 'PERIOD ' WS-FIELD-%1 ' DONE'.").arg(i % 40));
            break;
        }
    }
    row(QStringLiteral("     GOBACK."));
    row(QStringLiteral(" END PROGRAM PGM%1.").arg(number, 5, 10, QLatin1Char('0')));
    return written;
}

namespace {

int WriteCopyMember(QTextStream &out, int number)
{
    int written = 0;
    out << Sequenced(100, QStringLiteral("* RECORD LAYOUT %1").arg(number)) << '\n';
    out << Sequenced(200, QStringLiteral(" 01  CPY%1-REC.").arg(number, 4, 10, QLatin1Char('0')))
        << '\n';
    written += 2;
    for (int i = 0; i < 48; ++i, ++written)
        out << Sequenced(300 + i * 100, QStringLiteral("     05  CPY-%1-F%2   PIC X(%3).")
                                                .arg(number)
                                                .arg(i)
                                                .arg(1 + i % 20))
            << '\n';
    return written;
}

} // namespace

qint64 WritePortfolio(const QString &folder, qint64 lines)
{
    qint64 written = 0;
    for (int copy = 0; copy < 200; ++copy) {
        QFile file(folder + QStringLiteral("/CPY%1.ibmcob").arg(copy, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            throw TVXException(QStringLiteral("cannot write ") + file.fileName());
        QTextStream out(&file);
        written += WriteCopyMember(out, copy);
    }
    for (int program = 0; written < lines; ++program) {
        QFile file(folder + QStringLiteral("/PGM%1.ibmcob").arg(program, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            throw TVXException(QStringLiteral("cannot write ") + file.fileName());
        QTextStream out(&file);
        written += WriteProgram(out, program, int(std::min<qint64>(1000, lines - written + 2)));
    }
    return written;
}

std::unique_ptr<TVXLanguageDefinitionsInterface> CreateCobolDefinition(TVXPackageLoader &loader)
{
    loader.CheckPackages();
    std::unique_ptr<TVXLanguageDefinitionsInterface> cobol(
            VXClassRegistry().Create<TVXLanguageDefinitionsInterface>(
                    QStringLiteral("TVXLangDef_IBMCOB"), static_cast<QObject *>(nullptr),
                    QString()));
    if (!cobol)
        throw TVXException(QStringLiteral("TVXLangDef_IBMCOB is not registered"));
    return cobol;
}
