// SPDX-License-Identifier: GPL-3.0-or-later
// Parse throughput of the IBM COBOL definition over a generated portfolio, beside Universal
// Ctags reading the same files (best of five passes each, by turns), and the memory of one
// very long file.
//
//   parse_bench [lines] [--parse-only]
//   parse_bench [lines] --language NAME|all
//
// lines defaults to 1,000,000: programs of about 1,000 lines with copy members. The parse
// runs through a data access object that discards what it is given, so the figure is the
// engine's alone; a second figure stores a tenth of the portfolio into an SQLite repository.
//
// With --language, each language's parse speed beside IBM COBOL's: the COBOL dialects read
// the generated portfolio (they share its card), the others copies of the golden sources of
// their tests, renamed per copy, up to the same number of lines; ctags runs beside the
// languages it has a parser for.
#include "Cobolportfolio.h"
#include "base/Classregistry.h"
#include "base/Exception.h"

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Rowloop.h"
#include "repository/Dataaccessinterface.h"
#include "shell/Packageloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <limits>
#include <memory>

namespace {

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

double ParseFolder(TVXLanguageDefinitionsInterface &cobol, TVXDataAccessInterface *db,
                   const QStringList &files, qint64 &lines)
{
    QElapsedTimer timer;
    timer.start();
    lines = 0;
    int fileID = 1;
    for (const QString &file : files)
        lines += VXParseFile(cobol, db, file, {fileID++, 1, 1, 1}).Rows;
    return double(timer.nsecsElapsed()) / 1e9;
}

struct LanguageFiles
{
    QStringList Files;
    qint64 Lines = 0;
};

// Copies of the language's golden sources, each copy's file names made its own so that the
// words differ from copy to copy as the names of a portfolio do.
LanguageFiles ReplicateSources(const QString &folder, const QString &extensions, qint64 lines)
{
    QStringList templates;
    const QStringList wanted = extensions.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QDirIterator it(QStringLiteral(VELUNOR_SOURCE_DIR "/tests/languages"), QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        for (const QString &extension : wanted) {
            // "." stands for files without an extension.
            const bool matches = extension == QLatin1String(".")
                                         ? !QFileInfo(path).fileName().contains(QLatin1Char('.'))
                                         : path.endsWith(extension, Qt::CaseInsensitive);
            if (matches)
                templates << path;
        }
    }
    templates.sort();
    LanguageFiles result;
    if (templates.isEmpty())
        return result;
    // Files of about a thousand lines, as the COBOL portfolio's programs are: copies of one
    // source after another, each copy with names of its own.
    int copy = 0;
    for (int file = 0; result.Lines < lines; ++file) {
        const QString &path = templates[file % templates.size()];
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            throw TVXException(QStringLiteral("cannot read ") + path);
        const QString source = QString::fromUtf8(in.readAll());
        const QFileInfo info(path);
        const QString base = info.completeBaseName();
        QString text;
        qint64 fileLines = 0;
        while (fileLines < 1000) {
            const QString name = QStringLiteral("%1%2")
                                         .arg(base.left(3).toUpper())
                                         .arg(++copy, 5, 10, QLatin1Char('0'));
            text += QString(source).replace(base, name, Qt::CaseInsensitive);
            fileLines += source.count(QLatin1Char('\n'));
        }
        QString target = folder + QStringLiteral("/F%1").arg(file, 5, 10, QLatin1Char('0'));
        if (!info.suffix().isEmpty())
            target += QLatin1Char('.') + info.suffix();
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly))
            throw TVXException(QStringLiteral("cannot write ") + target);
        out.write(text.toUtf8());
        result.Files << target;
        result.Lines += fileLines;
    }
    return result;
}

double BestOfThree(TVXLanguageDefinitionsInterface &language, const QStringList &files,
                   qint64 &lines)
{
    TVXDataAccessInterface discard;
    double best = std::numeric_limits<double>::max();
    for (int pass = 0; pass < 3; ++pass)
        best = std::min(best, ParseFolder(language, &discard, files, lines));
    return best;
}

// ctags over the same files: every extension of the language is mapped to ctags' parser,
// so that it reads what velunor reads (a form file as well as a unit).
double CtagsSeconds(const QString &language, const QString &extensions, const QString &folder,
                    const QString &tags)
{
    // "+.pas.dpk.dpr.dfm": the extensions added to what the parser reads already.
    QString extension = QStringLiteral("+");
    for (const QString &one : extensions.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        extension += one;
    const QString ctags = QStandardPaths::findExecutable(QStringLiteral("ctags"));
    if (ctags.isEmpty())
        return -1;
    double best = std::numeric_limits<double>::max();
    for (int pass = 0; pass < 3; ++pass) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(ctags, {QStringLiteral("-R"), QStringLiteral("--languages=") + language,
                              QStringLiteral("--langmap=%1:%2").arg(language, extension),
                              QStringLiteral("-f"), tags, folder});
        process.waitForFinished(-1);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

// Copies of the files one after another into one file of at least this many lines and bytes.
void ConcatenateInto(const QString &target, const QStringList &files, qint64 minimumLines,
                     qint64 minimumBytes)
{
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw TVXException(QStringLiteral("cannot write ") + target);
    qint64 written = 0;
    qint64 lines = 0;
    for (int i = 0; !files.isEmpty() && (lines < minimumLines || written < minimumBytes); ++i) {
        QFile in(files[i % files.size()]);
        if (!in.open(QIODevice::ReadOnly))
            throw TVXException(QStringLiteral("cannot read ") + in.fileName());
        const QByteArray text = in.readAll();
        out.write(text);
        written += text.size();
        lines += text.count('\n');
    }
}

// One long file parsed row by row: the flush rule must keep memory flat (a COBOL program of
// a million lines, a 100,000-line C++ file, a 10 MB SQL dump). The allocator gives pages
// back and takes them again as caches empty and refill, so the resident size swings: flat
// means that the highest figure of the last nine tenths stays at the highest one of the
// first tenth.
void LongFileGrowth(TVXLanguageDefinitionsInterface &language, const QString &path)
{
    TVXDataAccessInterface discard;
    language.InitializeForNewFile(&discard, path, 1, 1, 1, 1);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TVXException(QStringLiteral("cannot read ") + path);
    QTextStream in(&file);
    const qint64 total = file.size();
    qint64 row = 0;
    const long before = ResidentKiB();
    long first = before;
    long peak = 0;
    QString text;
    while (in.readLineInto(&text)) {
        VXParseRow(language, text);
        if (++row % 5000 == 0) {
            const long now = ResidentKiB();
            if (file.pos() <= total / 10)
                first = std::max(first, now);
            else
                peak = std::max(peak, now);
        }
    }
    language.SaveToDB(true, false);
    std::printf("%-12s one file of %lld lines (%.1f MB): RSS %ld KiB before, peak %ld KiB in "
                "the first tenth, %ld KiB after it (growth: %ld KiB)\n",
                qPrintable(language.LanguageName()), static_cast<long long>(row),
                double(total) / 1e6, before, first, peak, std::max(0L, peak - first));
}

int LanguageBench(const QString &which, qint64 lines)
{
    TVXPackageLoader loader(QStringLiteral(VELUNOR_PACKAGE_DIR "/"));
    const std::unique_ptr<TVXLanguageDefinitionsInterface> cobol = CreateCobolDefinition(loader);
    QTemporaryDir work;
    const QString portfolio = work.filePath(QStringLiteral("portfolio"));
    QDir().mkpath(portfolio);
    WritePortfolio(portfolio, lines);
    QStringList cobolFiles;
    for (const QString &name :
         QDir(portfolio).entryList({QStringLiteral("*.ibmcob")}, QDir::Files, QDir::Name))
        cobolFiles << portfolio + QLatin1Char('/') + name;
    qint64 cobolLines = 0;
    const double cobolSeconds = BestOfThree(*cobol, cobolFiles, cobolLines);
    const double cobolRate = double(cobolLines) / cobolSeconds;
    std::printf("%-12s %10.0f lines/s (generated portfolio, %lld lines)\n", "IBMCOB", cobolRate,
                static_cast<long long>(cobolLines));

    // The languages of the family and whether ctags has a parser for them.
    const QList<std::pair<QString, QString>> languages
            = {{QStringLiteral("VMSCOB"), QStringLiteral("Cobol")},
               {QStringLiteral("UnisysCOB"), QStringLiteral("Cobol")},
               {QStringLiteral("PL1"), QString()},
               {QStringLiteral("IBMJCL"), QString()},
               {QStringLiteral("EzeRetrieve"), QString()},
               {QStringLiteral("BMS"), QString()},
               {QStringLiteral("VAG45"), QString()},
               {QStringLiteral("IBMOPC"), QString()},
               {QStringLiteral("AnsiSQL"), QStringLiteral("SQL")},
               {QStringLiteral("MSSQL"), QStringLiteral("SQL")},
               {QStringLiteral("UnisysSQL"), QStringLiteral("SQL")},
               {QStringLiteral("VB6"), QStringLiteral("Basic")},
               {QStringLiteral("TSL"), QString()},
               {QStringLiteral("CPP"), QStringLiteral("C++")},
               {QStringLiteral("Delphi6"), QStringLiteral("Pascal")},
               {QStringLiteral("DotNet"), QStringLiteral("Basic")},
               {QStringLiteral("PB7"), QString()}};
    int run = 0;
    for (const auto &[name, ctagsLanguage] : languages) {
        if (which.compare(QLatin1String("all"), Qt::CaseInsensitive) != 0
            && which.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        ++run;
        const std::unique_ptr<TVXLanguageDefinitionsInterface> language(
                VXClassRegistry().Create<TVXLanguageDefinitionsInterface>(
                        QStringLiteral("TVXLangDef_") + name, static_cast<QObject *>(nullptr),
                        QString()));
        if (!language)
            throw TVXException(QStringLiteral("TVXLangDef_%1 is not registered").arg(name));
        const QString folder = work.filePath(name);
        QDir().mkpath(folder);
        QStringList files;
        const QString extension = language->FileExtensions().section(QLatin1Char(';'), 0, 0);
        if (ctagsLanguage == QLatin1String("Cobol")) {
            // The dialects read the IBM card: the same portfolio under their extension.
            for (const QString &file : std::as_const(cobolFiles)) {
                const QString copy = folder + QLatin1Char('/') + QFileInfo(file).completeBaseName()
                                     + extension;
                QFile::copy(file, copy);
                files << copy;
            }
        } else {
            files = ReplicateSources(folder, language->FileExtensions(), lines).Files;
        }
        qint64 parsed = 0;
        const double seconds = BestOfThree(*language, files, parsed);
        const double rate = double(parsed) / seconds;
        std::printf("%-12s %10.0f lines/s (%lld lines), %.2f of IBM COBOL", qPrintable(name), rate,
                    static_cast<long long>(parsed), rate / cobolRate);
        if (!ctagsLanguage.isEmpty()) {
            const double ctags = CtagsSeconds(ctagsLanguage, language->FileExtensions(), folder,
                                              work.filePath(name + QStringLiteral(".tags")));
            if (ctags > 0)
                std::printf(", ctags %.0f lines/s, ratio to ctags %.2f", double(parsed) / ctags,
                            rate / (double(parsed) / ctags));
        } else {
            std::printf(", no ctags parser");
        }
        std::printf("\n");
        if (name.endsWith(QLatin1String("SQL"))) {
            // A dump as database tools write them: its tables, then their rows.
            const QString dump = folder + QStringLiteral("/DUMP") + extension;
            QFile out(dump);
            if (!out.open(QIODevice::WriteOnly))
                throw TVXException(QStringLiteral("cannot write ") + dump);
            for (int table = 0; table < 40; ++table)
                out.write(QStringLiteral("CREATE TABLE T%1 (ID INTEGER NOT NULL PRIMARY KEY, "
                                         "NAME VARCHAR(40), AMOUNT DECIMAL(9,2), "
                                         "CREATED DATE);\n")
                                  .arg(table)
                                  .toUtf8());
            for (qint64 row = 0; out.size() < 10 * 1000 * 1000; ++row)
                out.write(QStringLiteral("INSERT INTO T%1 (ID, NAME, AMOUNT, CREATED) VALUES "
                                         "(%2, 'Customer %2', %3.50, '2026-12-01');\n")
                                  .arg(row % 40)
                                  .arg(row)
                                  .arg(row % 997)
                                  .toUtf8());
            out.close();
            LongFileGrowth(*language, dump);
        } else {
            const QString path = folder + QStringLiteral("/LONG") + extension;
            ConcatenateInto(path, files, 100000, 0);
            LongFileGrowth(*language, path);
        }
    }
    if (run == 0)
        throw TVXException(QStringLiteral("no language named ") + which);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const qint64 lines = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    // --parse-only skips the yardstick, the repository and the long file (for profiling).
    const bool parseOnly = argc > 2 && QByteArray(argv[2]) == "--parse-only";
    try {
        if (argc > 3 && QByteArray(argv[2]) == "--language")
            return LanguageBench(QString::fromLocal8Bit(argv[3]), lines);
        TVXPackageLoader loader(QStringLiteral(VELUNOR_PACKAGE_DIR "/"));
        const std::unique_ptr<TVXLanguageDefinitionsInterface> cobol
                = CreateCobolDefinition(loader);

        QTemporaryDir work;
        const QString portfolio = work.filePath(QStringLiteral("portfolio"));
        QDir().mkpath(portfolio);
        const qint64 generated = WritePortfolio(portfolio, lines);
        QStringList files;
        for (const QString &name :
             QDir(portfolio).entryList({QStringLiteral("*.ibmcob")}, QDir::Files, QDir::Name))
            files << portfolio + QLatin1Char('/') + name;
        std::printf("portfolio: %lld lines in %lld files\n", static_cast<long long>(generated),
                    static_cast<long long>(files.size()));

        // Parse only, and the yardstick over the same files, by turns: the machine's speed
        // drifts, and the best of five passes of each is compared. The first pass also pays
        // for reading the files in.
        const QString ctags
                = parseOnly ? QString() : QStandardPaths::findExecutable(QStringLiteral("ctags"));
        TVXDataAccessInterface discard;
        qint64 parsed = 0;
        double parseSeconds = std::numeric_limits<double>::max();
        double ctagsSeconds = std::numeric_limits<double>::max();
        int ctagsExit = 0;
        for (int pass = 0; pass < 5; ++pass) {
            parseSeconds = std::min(parseSeconds, ParseFolder(*cobol, &discard, files, parsed));
            if (ctags.isEmpty())
                continue;
            QProcess process;
            QElapsedTimer timer;
            timer.start();
            process.start(ctags, {QStringLiteral("-R"), QStringLiteral("--languages=Cobol"),
                                  QStringLiteral("--langmap=Cobol:+.ibmcob"), QStringLiteral("-f"),
                                  work.filePath(QStringLiteral("tags")), portfolio});
            process.waitForFinished(-1);
            ctagsSeconds = std::min(ctagsSeconds, double(timer.nsecsElapsed()) / 1e9);
            ctagsExit = process.exitCode();
        }
        const double parseRate = double(parsed) / parseSeconds;
        std::printf("velunor parse only:  %10.0f lines/s (%lld lines, %.2f s)\n", parseRate,
                    static_cast<long long>(parsed), parseSeconds);

        if (parseOnly)
            return 0;

        if (ctags.isEmpty()) {
            std::printf("ctags: not installed (Debian package universal-ctags)\n");
        } else {
            const double rate = double(generated) / ctagsSeconds;
            std::printf("ctags -R --languages=Cobol: %10.0f lines/s (%.2f s, exit %d)\n", rate,
                        ctagsSeconds, ctagsExit);
            std::printf("ratio velunor / ctags: %.2f\n", parseRate / rate);
        }

        // Parse and store a tenth into a real repository.
        std::unique_ptr<TVXDataAccessInterface> db(VXClassRegistry().Create<TVXDataAccessInterface>(
                QStringLiteral("TVXInMemoryDB"), static_cast<QObject *>(nullptr)));
        if (db && db->Connect(work.filePath(QStringLiteral("repository.sqlite"))) == 1) {
            QStringList tenth;
            for (qsizetype i = 0; i < files.size(); i += 10)
                tenth << files[i];
            qint64 stored = 0;
            // As a load of a whole portfolio does: the search indexes are built at the end,
            // and that time counts.
            QElapsedTimer store;
            store.start();
            db->SuspendSearchIndexes();
            ParseFolder(*cobol, db.get(), tenth, stored);
            db->Commit(true, false);
            db->RestoreSearchIndexes();
            const double seconds = double(store.nsecsElapsed()) / 1e9;
            std::printf("velunor parse and store (SQLite): %10.0f lines/s (%lld lines)\n",
                        double(stored) / seconds, static_cast<long long>(stored));
            db->DisConnect();
        }

        // One long file: the flush rule keeps memory flat.
        const QString big = work.filePath(QStringLiteral("BIG.ibmcob"));
        {
            QFile file(big);
            if (!file.open(QIODevice::WriteOnly))
                throw TVXException(QStringLiteral("cannot write ") + big);
            QTextStream out(&file);
            WriteProgram(out, 99999, int(lines));
        }
        LongFileGrowth(*cobol, big);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "parse_bench: %s\n", VXMessage(e).toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
