// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/ibmopc/Langdef_ibmopc.h"

#include "base/Package.h"

#include <QHash>

using namespace VXWordType;

namespace {

// Codes that only this language gives its keywords.
constexpr TWordType ApplicationStart = 99401;
constexpr TWordType ApplicationID = 99402;
constexpr TWordType Operation = 99403;
constexpr TWordType OperationNumber = 99404;
constexpr TWordType PredecessorNumber = 99405;
constexpr TWordType PredecessorApplication = 99406;
constexpr TWordType JobName = 99407;
constexpr TWordType Dependency = 99408;

// Section numbers.
constexpr int Application = 10;
constexpr int OperationEntry = 30;

constexpr int NameColumn = 31;

bool IsNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('#') || c == QLatin1Char('@')
           || c == QLatin1Char('$') || c == QLatin1Char('-') || c == QLatin1Char('_');
}

bool IsCarriageControl(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('0') || c == QLatin1Char('1')
           || c == QLatin1Char('-') || c == QLatin1Char('+');
}

} // namespace

TVXLangDef_IBMOPC::TVXLangDef_IBMOPC(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 10540;
    m_languageName = QStringLiteral("IBMOPC");
    m_fileExtensions = QStringLiteral(".ibmopc;");

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("/*"), BlockCommentStart);
    SetFBreakWords(QStringLiteral("*/"), BlockCommentEnd);
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    SetFBreakWords(QStringLiteral(","), Comma);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);
    SetFBreakWords(QStringLiteral("="), KnownWord);

    const QString none;
    SetFSections(ApplicationStart, EndAtSameSectionNumber, VXSectionType::Object, Application, none,
                 false);
    SetFSections(Operation, EndAtSameSectionNumber, VXSectionType::Entry, OperationEntry, none,
                 false);
    SetFSections(SectionOrParagraphName, EndAtSameSectionNumber, VXSectionType::Entry,
                 OperationEntry, none, false);

    SetFWords(QStringLiteral("adstart"), -1, ApplicationStart);
    SetFWords(QStringLiteral("adid"), -1, ApplicationID);
    SetFWords(QStringLiteral("adop"), -1, Operation);
    SetFWords(QStringLiteral("opno"), -1, OperationNumber);
    SetFWords(QStringLiteral("jobn"), -1, JobName);
    SetFWords(QStringLiteral("addep"), -1, Dependency);
    SetFWords(QStringLiteral("preopno"), -1, PredecessorNumber);
    SetFWords(QStringLiteral("preadid"), -1, PredecessorApplication);
    for (const char *word :
         {"wsid",         "prewsid",  "descr",    "desc",    "odescr",   "owner",    "group",
          "adrun",        "rule",     "adsr",     "adext",   "adusf",    "adkey",    "adciv",
          "validfrom",    "validto",  "priority", "prio",    "calendar", "type",     "status",
          "jobcl",        "jclass",   "duration", "duratin", "erlytime", "deadline", "deadlineday",
          "deadlinetime", "it",       "ia",       "pd",      "ad",       "jobcrt",   "jobpol",
          "restart",      "sp",       "conttyp",  "cond",    "condid",   "condval",  "rs",
          "adcnd",        "adcndp",   "adsau",    "adrule",  "sai",      "sao",      "ltpp",
          "odcnd",        "offset",   "every",    "day",     "week",     "month",    "year",
          "workday",      "freeday",  "only",     "run",     "exclude",  "include",  "name",
          "action",       "options",  "descrp",   "rsnme",   "usage",    "quantity", "ns",
          "wsnme",        "preadidl", "transpt",  "predesc", "trptime",  "ew"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    // ADID(PAYROLL), OPNO(010), JOBN(PAYJOB1), PREOPNO(010): the value in parentheses.
    SetFContexts(2, ApplicationID, Application, ObjectName);
    SetFContexts(2, OperationNumber, OperationEntry, SectionOrParagraphName);
    SetFContexts(2, JobName, -1, CalledName);
    SetFContexts(2, PredecessorNumber, -1, CalledName);

    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

bool TVXLangDef_IBMOPC::IsWordBreak(const QString &row, int position, int &length,
                                    TWordType &wordType, QChar &replacement)
{
    // Column 1 is the carriage-control column of the listings the statements come from;
    // statements written without one begin there with their keyword, which stays whole.
    if (position == 1 && IsCarriageControl(row[0])) {
        length = 1;
        wordType = WhiteSpace;
        return true;
    }
    // A plan report names each operation in column 31: a name there, not a keyword with
    // its value in parentheses, heads the operation.
    if (position == NameColumn && !InComment() && !InLiteral() && row[29] == QLatin1Char(' ')
        && row[30].isLetter()) {
        int end = NameColumn - 1;
        while (end < row.size() && IsNameCharacter(row[end]))
            ++end;
        if (end == row.size() || row[end] == QLatin1Char(' ')) {
            length = end - (NameColumn - 1);
            wordType = SectionOrParagraphName;
            return true;
        }
    }
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

int TVXLangDef_IBMOPC::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    // Only column 1 and column 31 have rules of their own.
    return ScanForBreak(row, from, length, wordType,
                        [](int position) { return position > 1 && position != NameColumn; });
}

bool TVXLangDef_IBMOPC::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    if (literal)
        return found;
    // A new application ends the previous one's last operation and the application.
    if (wordType == ApplicationStart) {
        bool objectClosed = false;
        while (m_sectionStack.size() > 1)
            CloseInnermostSection(objectClosed);
    }
    return found;
}

void TVXLangDef_IBMOPC::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word || word->WordType != CalledName)
        return;
    const TVXWordElement *keyword = ReadWordAt(index - 2);
    if (!keyword || keyword->WordType != PredecessorNumber)
        return;
    // ADDEP PREADID(OTHERAPP) ... PREOPNO(050): operation 050 of OTHERAPP.
    for (int i = index - 3; i >= 0; --i) {
        const TVXWordElement *before = ReadWordAt(i);
        if (before->WordType == Dependency || before->WordType == Operation
            || before->WordType == ApplicationStart)
            return;
        if (before->WordType == PredecessorApplication) {
            if (const TVXWordElement *application = ReadWordAt(i + 2))
                word->ObjectIdentifier = FoldedCase(application->Word);
            return;
        }
    }
}

void TVXLangDef_IBMOPC::OnBeforeSaveToDB(bool, bool)
{
    for (TVXObjectElement &object : m_objectList)
        if (object.ObjectType.isEmpty() || object.ObjectType == m_languageName)
            object.ObjectType = QStringLiteral("OPC_APPLICATION");
    QHash<int, int> operations;
    for (TVXEntryElement &entry : m_entryList) {
        const int number = ++operations[entry.ObjectID];
        if (entry.Name.isEmpty())
            entry.Name = QLatin1Char('#') + QString::number(number);
    }
}

VELUNOR_PACKAGE("LangDef_IBMOPC")
{
    package.RegisterClass<TVXLangDef_IBMOPC>(QStringLiteral("TVXLangDef_IBMOPC"));
}
