// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/ibmjcl/Langdef_ibmjcl.h"

#include "base/Package.h"

#include "parsing/Cardcolumns.h"

#include <QFileInfo>

using namespace VXWordType;

namespace {

constexpr TWordType Job = ObjectStart;
constexpr TWordType Proc = SecondObjectStart;
constexpr TWordType Pend = EndOfProgram;
constexpr TWordType Pgm = Call;
constexpr TWordType Member = Include;
constexpr TWordType Dd = DeclarationType;
// A data set name is stored as a table name: both are data the programs read and write.
constexpr TWordType DataSetName = TableName;
constexpr TWordType Exec = 99401;
constexpr TWordType Dsn = 99402;
constexpr TWordType Order = 99403;
constexpr TWordType JclLib = 99404;
constexpr TWordType ProcReference = 99405;

constexpr int MemberObject = 5;
constexpr int JobObject = 10;
constexpr int ProcObject = 11;
constexpr int Step = 30;
constexpr int LibraryList = 40;

bool IsOperation(TWordType type)
{
    return type == Job || type == Proc || type == Pend || type == Exec || type == Dd
           || type == JclLib;
}

} // namespace

TVXLangDef_IBMJCL::TVXLangDef_IBMJCL(QObject *owner, const QString &folder)
    : TVXLanguageDefinitionsInterface(owner, folder)
{
    m_languageID = 20521;
    m_languageName = QStringLiteral("IBMJCL");
    m_fileExtensions = QStringLiteral(".jcl;");
    m_columnSetting = 5;
    m_unknownIdentifiers = true;
    // An in-stream procedure lies inside its job: after PEND the job's steps go on.
    m_nestedObjects = true;
    m_callsNameObjectsOnly = true;
    m_inStreamProcedures = true;
    m_jobControl = true;

    SetFWhiteSpaceBreaks();
    SetFBreakWords(QStringLiteral("//"), KnownWord);
    SetFBreakWords(QStringLiteral("'"), MainDelimiter);
    SetFBreakWords(QStringLiteral(","), Comma);
    // Keyword parameters assign nothing: "=" starts no data flow.
    SetFBreakWords(QStringLiteral("="), KnownWord);
    SetFBreakWords(QStringLiteral("("), ParenthesisOpen);
    SetFBreakWords(QStringLiteral(")"), ParenthesisClose);

    SetFWords(QStringLiteral("job"), -1, Job);
    SetFWords(QStringLiteral("proc"), -1, Proc);
    SetFWords(QStringLiteral("pend"), -1, Pend);
    SetFWords(QStringLiteral("exec"), -1, Exec);
    SetFWords(QStringLiteral("dd"), -1, Dd);
    SetFWords(QStringLiteral("jcllib"), -1, JclLib);
    SetFWords(QStringLiteral("pgm"), -1, Pgm);
    SetFWords(QStringLiteral("dsn"), -1, Dsn);
    SetFWords(QStringLiteral("dsname"), -1, Dsn);
    SetFWords(QStringLiteral("member"), -1, Member);
    SetFWords(QStringLiteral("order"), LibraryList, Order);
    for (const char *word :
         {"include", "set",     "if",       "then",     "else",     "endif",    "output",  "cntl",
          "endcntl", "xmit",    "command",  "disp",     "shr",      "old",      "new",     "mod",
          "catlg",   "delete",  "keep",     "pass",     "uncatlg",  "cond",     "parm",    "region",
          "time",    "class",   "msgclass", "msglevel", "notify",   "sysout",   "space",   "unit",
          "vol",     "dcb",     "recfm",    "lrecl",    "blksize",  "dsorg",    "cyl",     "trk",
          "dummy",   "data",    "dlm",      "label",    "expdt",    "retpd",    "restart", "typrun",
          "prty",    "addrspc", "user",     "group",    "password", "sysuid",   "jobparm", "ddname",
          "dsntype", "like",    "refdd",    "storclas", "mgmtclas", "dataclas", "avgrec",  "rlse",
          "contig",  "even",    "only",     "lt",       "le",       "eq",       "ne",      "gt",
          "ge",      "rc",      "abend",    "and",      "or",       "not"})
        SetFWords(QString::fromLatin1(word), -1, KnownWord);

    // Labels name what their statement opens.
    SetFContexts(-1, Job, -1, ObjectName);
    SetFContexts(-1, Proc, -1, ObjectName);
    SetFContexts(-1, Exec, -1, SectionOrParagraphName);
    SetFContexts(-1, Dd, -1, DeclarationName);
    // EXEC MYPROC, EXEC PGM=PROGRAM, EXEC PROC=MYPROC.
    SetFContexts(1, Exec, -1, CalledName);
    SetFContexts(2, Pgm, -1, CalledName);
    SetFContexts(2, ProcReference, -1, CalledName);
    SetFContexts(2, Dsn, -1, DataSetName);
    SetFContexts(2, Member, -1, IncludedMember);
    // JCLLIB ORDER=LIB or ORDER=(LIB1,LIB2,...): libraries are data sets, not members.
    SetFContexts(3, Order, LibraryList, DataSetName);
    SetFContexts(2, Order, LibraryList, DataSetName);
    SetFContexts(1, Comma, LibraryList, DataSetName);

    SetFSections(BeginningOfFile, EndOfFile, VXSectionType::Object, MemberObject, QString(), false);
    SetFSections(Job, EndAtSameSectionNumber, VXSectionType::Object, JobObject, QString(), false);
    SetFSections(Proc, Pend, VXSectionType::Object, ProcObject, QString(), false);
    SetFSections(Exec, EndAtSameSectionNumber, VXSectionType::Entry, Step, QString(), false);
    SetFSections(JclLib, EndWithRow, VXSectionType::JclParameters, LibraryList, QString(), false);

    SetFObjectIcons(QString(), QStringLiteral("JCL_INCLUDE"), VXIcon::IncludedMember);
    SetFObjectIcons(QString(), QString(), VXIcon::DefaultObject);
}

bool TVXLangDef_IBMJCL::PreviousRowContinues() const
{
    for (qsizetype i = m_wordBuffer.size() - 1; i >= 0; --i) {
        const TVXWordElement &word = m_wordBuffer[i];
        if (word.RowID != m_lastRowID)
            return false;
        if (word.WordType == CommentWord)
            continue;
        return word.Word == QLatin1String(",");
    }
    return false;
}

void TVXLangDef_IBMJCL::CloseDownTo(int sectionID)
{
    bool objectClosed = false;
    while (m_sectionStack.size() > 2 && Innermost().SectionID != sectionID
           && Innermost().SectionID != MemberObject)
        CloseInnermostSection(objectClosed);
}

bool TVXLangDef_IBMJCL::IsWordBreak(const QString &row, int position, int &length,
                                    TWordType &wordType, QChar &replacement)
{
    if (position == 1) {
        m_statementRow = row.startsWith(QLatin1String("//"));
        m_labelledRow = m_statementRow && row.size() > 2 && row[2] != QLatin1Char(' ')
                        && row[2] != QLatin1Char('*');
        if (!m_statementRow && !row.startsWith(QLatin1String("/*"))) {
            // In-stream data.
            length = int(row.size());
            wordType = CommentWord;
            return true;
        }
        if (m_statementRow && row.trimmed() == QLatin1String("//"))
            CloseDownTo(MemberObject); // the null statement ends the job
        if (m_statementRow && PreviousRowContinues()) {
            m_rowID = m_lastRowID + 1;
            m_wordID = 1000 + m_wordID % 1000;
        }
    }
    if (VXCardColumns::SequenceArea(row, position, length, wordType, CommentWord))
        return true;
    if (position <= 15 && row[position - 1] == QLatin1Char('*') && !InLiteral() && !InComment()) {
        length = 1;
        wordType = LineCommentStart;
        return true;
    }
    return TVXLanguageDefinitionsInterface::IsWordBreak(row, position, length, wordType,
                                                        replacement);
}

int TVXLangDef_IBMJCL::FindWordBreak(QString &row, int from, int &length, TWordType &wordType)
{
    // Column 1 decides what the row is, a "*" within the first 15 columns comments the
    // rest, and the sequence columns are a comment; the tables read everything else.
    return ScanForBreak(row, from, length, wordType, [&row](int position) {
        return position > 1 && position < VXCardColumns::SequenceColumn
               && (position > 15 || row[position - 1] != QLatin1Char('*'));
    });
}

bool TVXLangDef_IBMJCL::GetWordType(const QString &text, TWordType &wordType)
{
    const bool literal = wordType == MainDelimiter;
    const bool found = TVXLanguageDefinitionsInterface::GetWordType(text, wordType);
    if (literal)
        return found;
    // A label is never a keyword: //DD DD DSN=... is the DD statement named DD.
    if (m_labelledRow && m_wordsInRow == 2) {
        wordType = Unknown;
        return false;
    }
    const int operationWord = m_labelledRow ? 3 : 2;
    if (!IsOperation(wordType))
        return found;
    if (!m_statementRow || m_wordsInRow != operationWord) {
        const TVXWordElement *before = ReadWordAt(LatestIndex() - 1);
        wordType = wordType == Proc && before && before->WordType == Exec ? ProcReference
                                                                          : KnownWord;
        return found;
    }
    // A job ends the member's previous job; a procedure or step begins after the steps
    // before it; PEND closes the procedure's last step first.
    if (wordType == Job)
        CloseDownTo(MemberObject);
    else if (wordType == Proc)
        CloseDownTo(JobObject);
    else if (wordType == Pend)
        CloseDownTo(ProcObject);
    else if (wordType == Exec && Innermost().SectionID == LibraryList)
        CloseDownTo(Step);
    return found;
}

void TVXLangDef_IBMJCL::CheckIdentifier(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    switch (word->WordType) {
    case CalledName:
        // PGM=*.STEP1.SYSLMOD runs what an earlier step wrote: no program by that name.
        if (word->Word.startsWith(QLatin1Char('*'))) {
            word->WordType = KnownWord;
        } else if (word->ObjectIdentifier.isEmpty()) {
            // EXEC PGM=X runs a program, which the identifier names; EXEC X and EXEC PROC=X
            // run a procedure and carry none.
            const TVXWordElement *keyword = ReadWordAt(index - 2);
            if (keyword && keyword->WordType == Pgm)
                word->ObjectIdentifier = word->Word;
        }
        return;
    case IncludedMember:
    case DataSetName:
        word->ObjectIdentifier = word->Word;
        return;
    default:
        return;
    }
}

void TVXLangDef_IBMJCL::OnBeforeSaveToDB(bool final, bool)
{
    if (!final || m_objectList.isEmpty())
        return;
    for (TVXObjectElement &object : m_objectList) {
        if (object.ObjectType.compare(QLatin1String("JOB"), Qt::CaseInsensitive) == 0)
            object.ObjectType = QStringLiteral("JCL_JOB");
        else if (object.ObjectType.compare(QLatin1String("PROC"), Qt::CaseInsensitive) == 0)
            object.ObjectType = QStringLiteral("JCL_PROC");
    }
    TVXObjectElement &member = m_objectList.first();
    if (m_objectList.size() == 1) {
        // Only DD statements and the like: a member for INCLUDE.
        member.Name = member.Identifier = QFileInfo(m_fileName).completeBaseName().toUpper();
        member.ObjectType = QStringLiteral("JCL_INCLUDE");
    } else {
        member.ObjectType = QStringLiteral("JCL_MEMBER");
    }
    QHash<int, int> stepsPerObject;
    for (TVXEntryElement &entry : m_entryList) {
        const int number = ++stepsPerObject[entry.ObjectID];
        if (entry.Name.isEmpty())
            entry.Name = QLatin1Char('#') + QString::number(number);
    }
}

VELUNOR_PACKAGE("LangDef_IBMJCL")
{
    package.RegisterClass<TVXLangDef_IBMJCL>(QStringLiteral("TVXLangDef_IBMJCL"));
}
