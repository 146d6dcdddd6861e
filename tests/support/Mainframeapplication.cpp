// SPDX-License-Identifier: GPL-3.0-or-later
#include "Mainframeapplication.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <stdexcept>

namespace VXTest {

namespace {

// One source file, written line by line; the line counter is what the links refer to.
class SourceFile
{
public:
    SourceFile(GeneratedApplication &application, const QString &folder, const QString &name)
        : m_application(application)
        , m_name(name)
        , m_file(folder + QLatin1Char('/') + name)
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            throw std::runtime_error("cannot write " + m_file.fileName().toStdString());
        m_out.setDevice(&m_file);
        ++m_application.Files;
    }
    ~SourceFile() { m_application.Lines += m_line; }

    const QString &Name() const { return m_name; }
    int NextLine() const { return m_line + 1; }

    // A fixed-format COBOL row: sequence number, indicator, text from column 8, padded to
    // column 72 and followed by the identification area.
    void Cobol(const QString &text, QChar indicator = QLatin1Char(' '))
    {
        ++m_line;
        QString row = QStringLiteral("%1").arg(m_line * 100, 6, 10, QLatin1Char('0'));
        row += indicator;
        row += text.leftJustified(65, QLatin1Char(' '), true);
        m_out << row << m_tag << '\n';
    }
    // Area A starts in column 8, area B in column 12.
    void A(const QString &text) { Cobol(text); }
    void B(const QString &text) { Cobol(QStringLiteral("    ") + text); }
    void Comment(const QString &text) { Cobol(text, QLatin1Char('*')); }
    void Plain(const QString &text)
    {
        ++m_line;
        m_out << text << '\n';
    }
    void Tag(const QString &tag) { m_tag = tag.leftJustified(8, QLatin1Char(' '), true); }

    // The link from a word of the line just written.
    void Link(const QString &kind, const QString &word, const QString &targetFile,
              const QString &targetEntry = {}, bool possible = false)
    {
        m_application.Links.append({kind, m_name, m_line, word, targetFile, targetEntry, possible});
    }
    // PERFORM paragraph (with what follows it in the statement), linked to the entry of that
    // name in targetFile, this file unless named.
    void Perform(const QString &paragraph, const QString &rest = QStringLiteral("."),
                 const QString &targetFile = {}, const QString &indent = {})
    {
        B(indent + QStringLiteral("PERFORM ") + paragraph + rest);
        Link(QStringLiteral("perform"), paragraph, targetFile.isEmpty() ? m_name : targetFile,
             paragraph);
    }
    void Missing(const QString &kind, const QString &name)
    {
        m_application.Missing.append({kind, name, m_name, m_line});
    }

private:
    GeneratedApplication &m_application;
    QString m_name;
    QFile m_file;
    QTextStream m_out;
    int m_line = 0;
    QString m_tag = QStringLiteral("        ");
};

QString Num(int n, int width = 3)
{
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

struct Counts
{
    int Online;
    int Batch;
    int Utilities;
    int Procedures;
};

// Data copy members every program may copy.
const char *const DataMembers[] = {"CUSTREC", "ACCTREC", "ERRCODES", "DCLCUST", "DCLACCT"};
// Procedural copy members: paragraphs copied into a procedure division.
const char *const ProcedureMembers[] = {"ABENDPAR", "DATEPAR"};

void WriteDataMember(GeneratedApplication &app, const QString &folder, const QString &name)
{
    SourceFile f(app, folder, name + QStringLiteral(".cpy"));
    f.Tag(name);
    f.Comment(QStringLiteral(" %1: RECORD LAYOUT").arg(name));
    if (name.startsWith(QLatin1String("DCL"))) {
        f.B(QStringLiteral("EXEC SQL DECLARE %1 TABLE").arg(name.mid(3)));
        f.B(QStringLiteral("( %1-ID CHAR(10) NOT NULL,").arg(name.mid(3)));
        f.B(QStringLiteral("  %1-NAME CHAR(30) ) END-EXEC.").arg(name.mid(3)));
    }
    f.A(QStringLiteral("01  :P:-%1.").arg(name));
    for (int i = 1; i <= 12; ++i)
        f.B(QStringLiteral("05  :P:-%1-FIELD-%2  PIC X(%3).").arg(name).arg(i).arg(i + 4));
    app.Declared << name;
}

void WriteProcedureMember(GeneratedApplication &app, const QString &folder, int index,
                          const Counts &counts)
{
    const QString name = QLatin1String(ProcedureMembers[index]);
    SourceFile f(app, folder, name + QStringLiteral(".cpy"));
    f.Tag(name);
    f.Comment(QStringLiteral(" %1: PARAGRAPHS SHARED BY THE PROGRAMS").arg(name));
    const QString prefix = index == 0 ? QStringLiteral("9999") : QStringLiteral("8000");
    const QString para = prefix + (index == 0 ? QStringLiteral("-ABEND") : QStringLiteral("-DATE"));
    f.A(para + QLatin1Char('.'));
    f.B(QStringLiteral("DISPLAY 'ABNORMAL END ' WS-ABEND-CODE."));
    const QString utility = QStringLiteral("UTIL%1").arg(Num(index + 1));
    f.B(QStringLiteral("CALL '%1' USING WS-ABEND-CODE.").arg(utility));
    f.Link(QStringLiteral("call"), utility, utility + QStringLiteral(".cbl"));
    f.Perform(prefix + QStringLiteral("-EXIT"));
    f.A(prefix + QStringLiteral("-EXIT."));
    f.B(QStringLiteral("EXIT."));
    app.Declared << name << para << prefix + QStringLiteral("-EXIT");
    Q_UNUSED(counts);
}

void WriteMapset(GeneratedApplication &app, const QString &folder, int n)
{
    const QString set = QStringLiteral("MS") + Num(n);
    const QString map = QStringLiteral("MP") + Num(n);
    {
        SourceFile f(app, folder, set + QStringLiteral(".bms"));
        f.Plain(QStringLiteral("* SCREEN %1").arg(n));
        f.Plain(QStringLiteral("%1 DFHMSD TYPE=&SYSPARM,MODE=INOUT,LANG=COBOL,                   X")
                        .arg(set.leftJustified(7)));
        f.Plain(QStringLiteral("               CTRL=FREEKB,STORAGE=AUTO,TIOAPFX=YES"));
        f.Plain(QStringLiteral("%1 DFHMDI SIZE=(24,80),LINE=1,COLUMN=1").arg(map.leftJustified(7)));
        f.Plain(QStringLiteral(
                "         DFHMDF POS=(1,20),LENGTH=20,ATTRB=(ASKIP,BRT),                X"));
        f.Plain(QStringLiteral("               INITIAL='SCREEN %1'").arg(n));
        f.Plain(QStringLiteral("KEYFLD   DFHMDF POS=(3,13),LENGTH=10,ATTRB=(UNPROT,IC)"));
        f.Plain(QStringLiteral("MSGLINE  DFHMDF POS=(23,1),LENGTH=79,ATTRB=(ASKIP,BRT)"));
        f.Plain(QStringLiteral("         DFHMSD TYPE=FINAL"));
        f.Plain(QStringLiteral("         END"));
    }
    // The symbolic map the assembler made from the mapset, kept as a copy member of the same
    // name.
    SourceFile f(app, folder, set + QStringLiteral(".cpy"));
    f.Tag(set);
    f.A(QStringLiteral("01  %1I.").arg(map));
    f.B(QStringLiteral("05  FILLER      PIC X(12)."));
    f.B(QStringLiteral("05  KEYFLDL     PIC S9(4) COMP."));
    f.B(QStringLiteral("05  KEYFLDI     PIC X(10)."));
    f.B(QStringLiteral("05  MSGLINEI    PIC X(79)."));
    f.A(QStringLiteral("01  %1O REDEFINES %1I.").arg(map));
    f.B(QStringLiteral("05  FILLER      PIC X(12)."));
    f.B(QStringLiteral("05  KEYFLDO     PIC X(10)."));
    f.B(QStringLiteral("05  MSGLINEO    PIC X(79)."));
    app.Declared << set << map;
}

// Writes the COPY statements of a program's working storage in the four spellings.
void CopyDataMembers(SourceFile &f, int n)
{
    const QString a = QLatin1String(DataMembers[n % 3]);
    const QString b = QLatin1String(DataMembers[(n + 1) % 3]);
    switch (n % 4) {
    case 0:
        f.B(QStringLiteral("COPY %1.").arg(a));
        break;
    case 1:
        f.B(QStringLiteral("COPY '%1'.").arg(a));
        break;
    case 2:
        f.B(QStringLiteral("COPY %1 OF CPYLIB.").arg(a));
        break;
    default:
        f.B(QStringLiteral("COPY \"%1\" IN CPYLIB.").arg(a));
        break;
    }
    f.Link(QStringLiteral("copy"), a, a + QStringLiteral(".cpy"));
    f.B(QStringLiteral("COPY %1 REPLACING ==:P:== BY ==WS==.").arg(b));
    f.Link(QStringLiteral("copy"), b, b + QStringLiteral(".cpy"));
    f.B(QStringLiteral("EXEC SQL INCLUDE SQLCA END-EXEC."));
    f.Missing(QStringLiteral("copy member"), QStringLiteral("SQLCA"));
    const QString dcl = QLatin1String(DataMembers[3 + n % 2]);
    f.B(QStringLiteral("EXEC SQL"));
    f.B(QStringLiteral("     INCLUDE %1").arg(dcl));
    f.Link(QStringLiteral("sql-include"), dcl, dcl + QStringLiteral(".cpy"));
    f.B(QStringLiteral("END-EXEC."));
}

void WriteOnline(GeneratedApplication &app, const QString &folder, int n, const Counts &c)
{
    const QString name = QStringLiteral("ONL") + Num(n);
    const QString set = QStringLiteral("MS") + Num(n);
    const QString map = QStringLiteral("MP") + Num(n);
    SourceFile f(app, folder, name + QStringLiteral(".cbl"));
    f.Tag(name);
    f.A(QStringLiteral("IDENTIFICATION DIVISION."));
    f.A(QStringLiteral("PROGRAM-ID. %1.").arg(name));
    f.Comment(QStringLiteral(" ONLINE TRANSACTION T%1: INQUIRY AND UPDATE").arg(Num(n)));
    f.A(QStringLiteral("DATA DIVISION."));
    f.A(QStringLiteral("WORKING-STORAGE SECTION."));
    f.B(QStringLiteral("COPY %1.").arg(set));
    f.Link(QStringLiteral("copy"), set, set + QStringLiteral(".cpy"));
    CopyDataMembers(f, n);
    const QString valueTarget = QStringLiteral("UTIL") + Num(1 + n % c.Utilities);
    f.A(QStringLiteral("01  WS-ABEND-CODE      PIC X(4) VALUE SPACES."));
    f.A(QStringLiteral("01  WS-UTIL-PGM        PIC X(8) VALUE '%1'.").arg(valueTarget));
    f.A(QStringLiteral("01  WS-NEXT-PGM        PIC X(8)."));
    // The menu program, chosen through a condition name.
    const QString menu = QStringLiteral("ONL") + Num(1 + (n + 5) % c.Online);
    f.A(QStringLiteral("01  WS-XCTL-PGM        PIC X(8)."));
    f.B(QStringLiteral("88  GO-MENU        VALUE '%1'.").arg(menu));
    f.A(QStringLiteral("01  WS-COMMAREA."));
    f.B(QStringLiteral("05  WS-CA-KEY      PIC X(10)."));
    f.B(QStringLiteral("05  WS-CA-FUNCTION PIC X."));
    f.A(QStringLiteral("LINKAGE SECTION."));
    f.A(QStringLiteral("01  DFHCOMMAREA        PIC X(11)."));
    f.A(QStringLiteral("PROCEDURE DIVISION."));
    app.Declared << name;
    const auto para = [&](const QString &p) {
        f.A(p + QLatin1Char('.'));
        app.Declared << p;
    };
    para(QStringLiteral("0000-MAIN"));
    f.Perform(QStringLiteral("1000-RECEIVE"));
    f.Perform(QStringLiteral("2000-PROCESS"), QStringLiteral(" THRU 2000-EXIT."));
    f.Link(QStringLiteral("thru"), QStringLiteral("2000-EXIT"), f.Name(),
           QStringLiteral("2000-EXIT"));
    f.Perform(QStringLiteral("3000-SEND"));
    f.B(QStringLiteral("EXEC CICS RETURN TRANSID('T%1')").arg(Num(n)));
    f.B(QStringLiteral("     COMMAREA(WS-COMMAREA) END-EXEC."));
    para(QStringLiteral("1000-RECEIVE"));
    f.B(QStringLiteral("EXEC CICS RECEIVE MAP('%1') MAPSET('%2')").arg(map, set));
    f.Link(QStringLiteral("map"), map, set + QStringLiteral(".bms"));
    f.B(QStringLiteral("     INTO(%1I) END-EXEC.").arg(map));
    f.B(QStringLiteral("MOVE KEYFLDI TO WS-CA-KEY."));
    para(QStringLiteral("2000-PROCESS"));
    const QString linked = QStringLiteral("ONL") + Num(1 + n % c.Online);
    f.B(QStringLiteral("EXEC CICS LINK PROGRAM('%1')").arg(linked));
    f.Link(QStringLiteral("link"), linked, linked + QStringLiteral(".cbl"));
    f.B(QStringLiteral("     COMMAREA(WS-COMMAREA) END-EXEC."));
    f.B(QStringLiteral("CALL WS-UTIL-PGM USING WS-COMMAREA."));
    f.Link(QStringLiteral("call"), QStringLiteral("WS-UTIL-PGM"),
           valueTarget + QStringLiteral(".cbl"), {}, true);
    f.B(QStringLiteral("IF WS-ABEND-CODE NOT = SPACES"));
    f.Perform(QStringLiteral("9999-ABEND"), QString(), QStringLiteral("ABENDPAR.cpy"),
              QStringLiteral("   "));
    f.B(QStringLiteral("END-IF."));
    if (n % 3 == 0) {
        // The next program comes from the terminal: nobody can tell which it is.
        f.B(QStringLiteral("MOVE KEYFLDI TO WS-NEXT-PGM."));
        f.B(QStringLiteral("CALL WS-NEXT-PGM USING WS-COMMAREA."));
        f.Missing(QStringLiteral("dynamic call"), QStringLiteral("WS-NEXT-PGM"));
    }
    const QString xctl = QStringLiteral("ONL") + Num(1 + (n + 1) % c.Online);
    f.B(QStringLiteral("IF WS-CA-FUNCTION = 'X'"));
    f.B(QStringLiteral("   EXEC CICS XCTL PROGRAM('%1')").arg(xctl));
    f.Link(QStringLiteral("xctl"), xctl, xctl + QStringLiteral(".cbl"));
    f.B(QStringLiteral("        COMMAREA(WS-COMMAREA) END-EXEC"));
    f.B(QStringLiteral("END-IF."));
    f.B(QStringLiteral("IF WS-CA-FUNCTION = 'M'"));
    f.B(QStringLiteral("   SET GO-MENU TO TRUE"));
    f.B(QStringLiteral("   EXEC CICS XCTL PROGRAM(WS-XCTL-PGM)"));
    f.Link(QStringLiteral("xctl"), QStringLiteral("WS-XCTL-PGM"), menu + QStringLiteral(".cbl"), {},
           true);
    f.B(QStringLiteral("        COMMAREA(WS-COMMAREA) END-EXEC"));
    f.B(QStringLiteral("END-IF."));
    para(QStringLiteral("2000-EXIT"));
    f.B(QStringLiteral("EXIT."));
    para(QStringLiteral("3000-SEND"));
    f.B(QStringLiteral("MOVE 'DONE' TO MSGLINEO."));
    f.B(QStringLiteral("EXEC CICS SEND MAP('%1') MAPSET('%2') ERASE").arg(map, set));
    f.Link(QStringLiteral("map"), map, set + QStringLiteral(".bms"));
    f.B(QStringLiteral("END-EXEC."));
    f.B(QStringLiteral("COPY ABENDPAR."));
    f.Link(QStringLiteral("copy"), QStringLiteral("ABENDPAR"), QStringLiteral("ABENDPAR.cpy"));
}

void WriteBatch(GeneratedApplication &app, const QString &folder, int n, const Counts &c)
{
    const QString name = QStringLiteral("BAT") + Num(n);
    SourceFile f(app, folder, name + QStringLiteral(".cbl"));
    f.Tag(name);
    f.A(QStringLiteral("IDENTIFICATION DIVISION."));
    f.A(QStringLiteral("PROGRAM-ID. %1.").arg(name));
    f.A(QStringLiteral("ENVIRONMENT DIVISION."));
    f.A(QStringLiteral("DATA DIVISION."));
    f.A(QStringLiteral("WORKING-STORAGE SECTION."));
    CopyDataMembers(f, n + 1);
    const QString moved = QStringLiteral("UTIL") + Num(1 + (n + 2) % c.Utilities);
    f.A(QStringLiteral("01  WS-ABEND-CODE      PIC X(4) VALUE SPACES."));
    f.A(QStringLiteral("01  WS-CALLED          PIC X(8)."));
    const QString constant = QStringLiteral("UTIL") + Num(1 + (n + 3) % c.Utilities);
    f.A(QStringLiteral("01  WS-CHECK-PGM       CONSTANT AS '%1'.").arg(constant));
    f.A(QStringLiteral("01  WS-COUNT           PIC 9(7) COMP-3 VALUE ZERO."));
    f.A(QStringLiteral("01  WS-EOF             PIC X VALUE 'N'."));
    f.B(QStringLiteral("88  END-OF-INPUT   VALUE 'Y'."));
    f.A(QStringLiteral("PROCEDURE DIVISION."));
    app.Declared << name;
    const bool sections = n % 2 == 0;
    const auto para = [&](const QString &p) {
        f.A(sections ? p + QStringLiteral(" SECTION.") : p + QLatin1Char('.'));
        app.Declared << p;
    };
    para(QStringLiteral("0000-CONTROL"));
    f.Perform(QStringLiteral("1000-INIT"));
    f.Perform(QStringLiteral("2000-READ"), QStringLiteral(" UNTIL END-OF-INPUT."));
    f.Perform(QStringLiteral("8000-DATE"), QStringLiteral("."), QStringLiteral("DATEPAR.cpy"));
    f.B(QStringLiteral("GOBACK."));
    para(QStringLiteral("1000-INIT"));
    f.B(QStringLiteral("MOVE ZERO TO WS-COUNT."));
    const QString util = QStringLiteral("UTIL") + Num(1 + n % c.Utilities);
    f.B(QStringLiteral("CALL '%1' USING WS-COUNT.").arg(util));
    f.Link(QStringLiteral("call"), util, util + QStringLiteral(".cbl"));
    f.B(QStringLiteral("MOVE '%1' TO WS-CALLED.").arg(moved));
    f.B(QStringLiteral("CALL WS-CALLED USING WS-COUNT."));
    f.Link(QStringLiteral("call"), QStringLiteral("WS-CALLED"), moved + QStringLiteral(".cbl"), {},
           true);
    f.B(QStringLiteral("CALL WS-CHECK-PGM USING WS-COUNT."));
    f.Link(QStringLiteral("call"), QStringLiteral("WS-CHECK-PGM"),
           constant + QStringLiteral(".cbl"), {}, true);
    para(QStringLiteral("2000-READ"));
    f.B(QStringLiteral("EXEC SQL"));
    f.B(QStringLiteral("     SELECT CUST-NAME INTO :WS-ABEND-CODE"));
    f.B(QStringLiteral("       FROM PROD.CUSTOMER"));
    f.Missing(QStringLiteral("table"), QStringLiteral("PROD.CUSTOMER"));
    f.B(QStringLiteral("      WHERE CUST-ID = :WS-COUNT"));
    f.B(QStringLiteral("END-EXEC."));
    f.B(QStringLiteral("ADD 1 TO WS-COUNT."));
    f.B(QStringLiteral("IF WS-COUNT > 100"));
    f.B(QStringLiteral("   MOVE 'Y' TO WS-EOF"));
    f.B(QStringLiteral("END-IF."));
    if (!sections) {
        f.B(QStringLiteral("CALL 'EXTRN%1' USING WS-COUNT.").arg(Num(n)));
        f.Missing(QStringLiteral("program"), QStringLiteral("EXTRN") + Num(n));
    }
    f.B(QStringLiteral("COPY DATEPAR."));
    f.Link(QStringLiteral("copy"), QStringLiteral("DATEPAR"), QStringLiteral("DATEPAR.cpy"));
}

void WriteUtility(GeneratedApplication &app, const QString &folder, int n)
{
    const QString name = QStringLiteral("UTIL") + Num(n);
    SourceFile f(app, folder, name + QStringLiteral(".cbl"));
    f.Tag(name);
    f.A(QStringLiteral("IDENTIFICATION DIVISION."));
    f.A(QStringLiteral("PROGRAM-ID. %1.").arg(name));
    f.A(QStringLiteral("DATA DIVISION."));
    f.A(QStringLiteral("WORKING-STORAGE SECTION."));
    f.A(QStringLiteral("01  WS-WORK            PIC X(20)."));
    f.A(QStringLiteral("LINKAGE SECTION."));
    f.A(QStringLiteral("01  LS-PARM            PIC X(20)."));
    f.A(QStringLiteral("PROCEDURE DIVISION USING LS-PARM."));
    f.A(QStringLiteral("0000-MAIN."));
    f.B(QStringLiteral("MOVE LS-PARM TO WS-WORK."));
    f.Perform(QStringLiteral("1000-WORK"));
    f.B(QStringLiteral("GOBACK."));
    f.A(QStringLiteral("1000-WORK."));
    f.B(QStringLiteral("MOVE SPACES TO LS-PARM."));
    app.Declared << name << QStringLiteral("0000-MAIN") << QStringLiteral("1000-WORK");
}

void WriteJob(GeneratedApplication &app, const QString &folder, int n, const Counts &c)
{
    // The job carries the name of the program it runs, as many shops name them.
    const QString name = QStringLiteral("BAT") + Num(n);
    const QString proc = QStringLiteral("PRC") + Num(1 + n % c.Procedures);
    SourceFile f(app, folder, name + QStringLiteral(".jcl"));
    f.Plain(QStringLiteral("//%1 JOB (ACCT,%2),'NIGHTLY RUN',CLASS=A,MSGCLASS=X")
                    .arg(name.leftJustified(8), Num(n)));
    f.Plain(QStringLiteral("//PROCS    JCLLIB ORDER=(PROD.PROCLIB,TEST.PROCLIB)"));
    f.Plain(QStringLiteral("//STEP010  EXEC PGM=%1,PARM='DAILY'").arg(name));
    f.Link(QStringLiteral("exec-pgm"), name, name + QStringLiteral(".cbl"));
    f.Plain(QStringLiteral("//STEPLIB  DD DSN=PROD.LOADLIB,DISP=SHR"));
    f.Plain(QStringLiteral("//SYSOUT   DD SYSOUT=*"));
    f.Plain(QStringLiteral("//CUSTIN   DD DSN=PROD.CUSTOMER.DAILY,DISP=SHR"));
    f.Plain(QStringLiteral("//STEP020  EXEC %1,ENV=PROD").arg(proc));
    f.Link(QStringLiteral("exec-proc"), proc, proc + QStringLiteral(".jcl"));
    f.Plain(QStringLiteral("//STEP030  EXEC PROC=%1").arg(proc));
    f.Link(QStringLiteral("exec-proc"), proc, proc + QStringLiteral(".jcl"));
    f.Plain(QStringLiteral("//STEP040  EXEC PGM=IEBGENER"));
    f.Missing(QStringLiteral("program"), QStringLiteral("IEBGENER"));
    f.Plain(QStringLiteral("//SYSUT1   DD DSN=PROD.CUSTOMER.DAILY,DISP=SHR"));
    f.Plain(QStringLiteral("//SYSUT2   DD SYSOUT=A"));
    f.Plain(QStringLiteral("//SYSPRINT DD SYSOUT=*"));
    f.Plain(QStringLiteral("//SYSIN    DD DUMMY"));
}

void WriteProcedure(GeneratedApplication &app, const QString &folder, int n, const Counts &c)
{
    const QString name = QStringLiteral("PRC") + Num(n);
    const QString util = QStringLiteral("UTIL") + Num(1 + n % c.Utilities);
    SourceFile f(app, folder, name + QStringLiteral(".jcl"));
    f.Plain(QStringLiteral("//%1 PROC ENV=TEST").arg(name.leftJustified(8)));
    f.Plain(QStringLiteral("//PSTEP1   EXEC PGM=%1").arg(util));
    f.Link(QStringLiteral("exec-pgm"), util, util + QStringLiteral(".cbl"));
    f.Plain(QStringLiteral("//SYSPRINT DD SYSOUT=*"));
    f.Plain(QStringLiteral("//WORKFILE DD DSN=&ENV..WORK.FILE,DISP=(NEW,PASS)"));
    f.Plain(QStringLiteral("//         PEND"));
    app.Declared << name;
}

} // namespace

QString LinkKey(const QString &file, int line, const QString &word, const QString &target,
                const QString &entry, bool possible)
{
    return QStringLiteral("%1:%2 %3 -> %4%5%6")
            .arg(file)
            .arg(line)
            .arg(word.toUpper(), target, entry.isEmpty() ? QString() : QLatin1Char('/') + entry,
                 possible ? QStringLiteral(" (possible)") : QString());
}

QStringList ExpectedLinkKeys(const GeneratedApplication &application)
{
    QStringList keys;
    for (const ExpectedLink &link : application.Links)
        keys << LinkKey(link.FromFile, link.FromLine, link.Word, link.TargetFile, link.TargetEntry,
                        link.Possible);
    keys.sort();
    return keys;
}

QString StoredLinkQuery()
{
    return QStringLiteral(
            "SELECT f.VXFileName, 1 + (SELECT COUNT(*) FROM VXROW r WHERE r.VXFileID = "
            "w.VXFileID AND r.VXRowID < w.VXRowID), w.VXWord, t.VXFileName, "
            "COALESCE(e.VXEntryName, ''), d.VXInheritsFileID "
            "FROM VXDEPENDENCIES d "
            "JOIN VXFILE f ON f.VXFileID = d.VXFromFileID "
            "JOIN VXWORD w ON w.VXFileID = d.VXFromFileID AND w.VXObjectID = "
            "d.VXFromObjectID AND w.VXEntryID = d.VXFromEntryID AND w.VXRowID = "
            "d.VXFromRowID AND w.VXWordID = d.VXFromWordID "
            "JOIN VXFILE t ON t.VXFileID = d.VXFileID "
            "LEFT JOIN VXENTRY e ON e.VXFileID = d.VXFileID AND e.VXObjectID = "
            "d.VXObjectID AND e.VXEntryID = d.VXEntryID AND d.VXEntryID > 0");
}

GeneratedApplication WriteMainframeApplication(const QString &folder, int scale)
{
    if (!QDir().mkpath(folder))
        throw std::runtime_error("cannot make " + folder.toStdString());
    const Counts c{40 * scale, 40 * scale, 20 * scale, 10 * scale};
    GeneratedApplication app;
    for (const char *member : DataMembers)
        WriteDataMember(app, folder, QLatin1String(member));
    for (int i = 0; i < 2; ++i)
        WriteProcedureMember(app, folder, i, c);
    for (int n = 1; n <= c.Online; ++n) {
        WriteMapset(app, folder, n);
        WriteOnline(app, folder, n, c);
    }
    for (int n = 1; n <= c.Batch; ++n) {
        WriteBatch(app, folder, n, c);
        WriteJob(app, folder, n, c);
    }
    for (int n = 1; n <= c.Utilities; ++n)
        WriteUtility(app, folder, n);
    for (int n = 1; n <= c.Procedures; ++n)
        WriteProcedure(app, folder, n, c);
    return app;
}

} // namespace VXTest
