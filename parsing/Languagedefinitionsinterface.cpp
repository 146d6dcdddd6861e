// SPDX-License-Identifier: GPL-3.0-or-later
// The table-driven parser every language definition derives from: tables, tokenising,
// classification and numbering. Sections and rows are in Languagedefinitionssections.cpp,
// updates, data flow and saving in Languagedefinitionsupdates.cpp.
#include "parsing/Languagedefinitionsinterface.h"

#include "base/Exception.h"

#include "parsing/Parsedfile.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

using namespace VXWordType;

namespace {

// Word texts are short: comparing them in place saves the library call.
bool SameCharacters(const char16_t *a, const char16_t *b, size_t size)
{
    for (; size >= 4; size -= 4, a += 4, b += 4) {
        quint64 left;
        quint64 right;
        std::memcpy(&left, a, sizeof left);
        std::memcpy(&right, b, sizeof right);
        if (left != right)
            return false;
    }
    for (; size > 0; --size)
        if (*a++ != *b++)
            return false;
    return true;
}

// Context rules are found by (offset, anchor type).
qint64 ContextKey(int offset, TWordType anchorType)
{
    return (qint64(offset + 8) << 32) | quint32(anchorType);
}

} // namespace

TVXLanguageDefinitionsInterface::TVXLanguageDefinitionsInterface(QObject *owner,
                                                                 const QString &folder)
    : QObject(owner)
    , m_folder(folder)
    , m_valueSeparators({QLatin1Char(' ')})
{}

bool TVXLanguageDefinitionsInterface::NeedsFolding(QStringView text)
{
    // Four characters at a time: legacy sources are mostly upper-case ASCII, and every word
    // is folded before it is looked up.
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    constexpr quint64 notAscii = 0xFF80FF80FF80FF80ULL;
    constexpr quint64 lane80 = 0x0080008000800080ULL;
    for (; end - p >= 4; p += 4) {
        quint64 chars;
        std::memcpy(&chars, p, sizeof chars);
        if (chars & notAscii)
            return true;
        // In each 16-bit lane (below 0x80, so nothing carries over): bit 7 of c + 0x1F is
        // set from 'a' on, bit 7 of c + 0x05 from '{' on.
        const quint64 fromA = (chars + 0x001F001F001F001FULL) & lane80;
        const quint64 pastZ = (chars + 0x0005000500050005ULL) & lane80;
        if (fromA & ~pastZ)
            return true;
    }
    for (; p != end; ++p)
        if (*p >= 0x80 || (*p >= 'a' && *p <= 'z'))
            return true;
    return false;
}

QString TVXLanguageDefinitionsInterface::FoldedCase(const QString &text)
{
    return NeedsFolding(text) ? text.toUpper() : text;
}

// ---- Tables ----------------------------------------------------------------------------

void TVXLanguageDefinitionsInterface::SetFBreakWords(const QString &word, TWordType wordType)
{
    if (word.isEmpty())
        return;
    m_breakWords.append({word, wordType, int(word.size())});
    const int index = int(m_breakWords.size()) - 1;
    const QChar first = m_caseSensitive ? word.front() : word.front().toUpper();
    m_breakWordsByFirstChar[first].append(index);
    QList<QChar> spellings{word.front()};
    if (!m_caseSensitive)
        spellings = {word.front().toUpper(), word.front().toLower()};
    for (const QChar c : spellings)
        if (c.unicode() < m_breakWordsByLatin1.size()
            && !m_breakWordsByLatin1[c.unicode()].contains(index)) {
            m_breakWordsByLatin1[c.unicode()].append(index);
            m_startsBreakWord[c.unicode()] = true;
            const TBreakWord &first = m_breakWords[m_breakWordsByLatin1[c.unicode()].first()];
            m_breaksAlone[c.unicode()] = first.Length == 1;
            m_breakAloneType[c.unicode()] = first.WordType;
        }
}

void TVXLanguageDefinitionsInterface::SetFWhiteSpaceBreaks()
{
    for (const char *white : {" ", "\t", "\n", "\r"})
        SetFBreakWords(QString::fromLatin1(white), VXWordType::WhiteSpace);
}

void TVXLanguageDefinitionsInterface::SetFWords(const QString &word, int sectionID,
                                                TWordType wordType)
{
    m_words.append({word, sectionID, wordType, {}, 0});
    // The cached words hold copies of the entry lists they were looked up in.
    for (TCachedWord &cached : m_wordCache)
        cached.EntriesKnown = false;
    const QString key = Folded(word);
    m_wordsByText[key].append(int(m_words.size()) - 1);
    m_keyLengthsByFirst[KeyFirst(key)] |= KeyLength(key);
}

void TVXLanguageDefinitionsInterface::SetFContexts(int offset, TWordType wordType, int sectionID,
                                                   TWordType newWordType)
{
    if (offset == 0 || offset < -4 || offset > 4)
        throw TVXException(QStringLiteral("ContextError in LanguageDefinition '") + m_languageName
                           + QLatin1Char('\''));
    m_contexts.append({offset, wordType, sectionID, newWordType});
    const qint64 key = ContextKey(offset, wordType);
    m_contextsByAnchor[key].append(int(m_contexts.size()) - 1);
    m_contextKeysSeen.set(ContextFilterBit(key));
}

void TVXLanguageDefinitionsInterface::SetFSections(TWordType startWordType, TWordType endWordType,
                                                   TSectionType sectionType, int sectionID,
                                                   const QString &name, bool rowsBelongTogether)
{
    m_sectionDefinitions.append(
            {startWordType, endWordType, sectionType, sectionID, name, rowsBelongTogether});
    // The first definition for a start code wins.
    if (!m_sectionByStart.contains(startWordType)) {
        m_sectionByStart.insert(startWordType, int(m_sectionDefinitions.size()) - 1);
        m_sectionStartsSeen.set(SectionFilterBit(startWordType));
    }
}

void TVXLanguageDefinitionsInterface::SetFObjectIcons(const QString &inheritance,
                                                      const QString &objectType, TIcon icon)
{
    if (!inheritance.isEmpty() && !objectType.isEmpty())
        throw TVXException(QStringLiteral("ObjectIconError in LanguageDefinition '")
                           + m_languageName + QLatin1Char('\''));
    m_objectIcons.append({inheritance, objectType, icon});
}

const TSection *TVXLanguageDefinitionsInterface::FindSectionDefinition(TWordType start) const
{
    if (!m_sectionStartsSeen.test(SectionFilterBit(start)))
        return nullptr;
    const auto found = m_sectionByStart.constFind(start);
    return found == m_sectionByStart.cend() ? nullptr : &m_sectionDefinitions[*found];
}

// ---- Current elements ------------------------------------------------------------------

TVXObjectElement *TVXLanguageDefinitionsInterface::CurrentObject()
{
    if (m_currentObject == 0)
        return nullptr;
    // Asked for at nearly every word: a file of many classes keeps going back to its first
    // object, so the place found last is tried first.
    if (m_currentObjectIndex < m_objectList.size()
        && std::as_const(m_objectList)[m_currentObjectIndex].ObjectID == m_currentObject)
        return &m_objectList[m_currentObjectIndex];
    for (qsizetype i = m_objectList.size() - 1; i >= 0; --i)
        if (std::as_const(m_objectList)[i].ObjectID == m_currentObject) {
            m_currentObjectIndex = i;
            return &m_objectList[i];
        }
    return nullptr;
}

TVXEntryElement *TVXLanguageDefinitionsInterface::CurrentEntry()
{
    if (m_currentEntry == 0)
        return nullptr;
    for (qsizetype i = m_entryList.size() - 1; i >= 0; --i)
        if (std::as_const(m_entryList)[i].EntryID == m_currentEntry
            && std::as_const(m_entryList)[i].ObjectID == m_currentObject)
            return &m_entryList[i];
    return nullptr;
}

TVXObjectElement *TVXLanguageDefinitionsInterface::FirstObject()
{
    return m_objectList.isEmpty() ? nullptr : &m_objectList.first();
}

void TVXLanguageDefinitionsInterface::StartNewStatement()
{
    m_rowID = NextStatementRowID(m_rowID);
    m_wordID = 1000;
}

// ---- Object icons ----------------------------------------------------------------------

int TVXLanguageDefinitionsInterface::GetObjectIconByInheritance(const QString &name) const
{
    for (const TObjectIcon &rule : m_objectIcons)
        if (!rule.Inheritance.isEmpty() && SameText(rule.Inheritance, name))
            return rule.Icon;
    return 0;
}

int TVXLanguageDefinitionsInterface::GetObjectIconByType(const QString &type) const
{
    const QString upper = type.toUpper();
    for (const TObjectIcon &rule : m_objectIcons)
        if (!rule.ObjectType.isEmpty() && upper.startsWith(rule.ObjectType.toUpper()))
            return rule.Icon;
    return 0;
}

int TVXLanguageDefinitionsInterface::GetObjectIconDefault() const
{
    for (const TObjectIcon &rule : m_objectIcons)
        if (rule.Inheritance.isEmpty() && rule.ObjectType.isEmpty())
            return rule.Icon;
    return 0;
}

// ---- A new file ------------------------------------------------------------------------

void TVXLanguageDefinitionsInterface::InitializeForRecording(TVXParsedFile &recording,
                                                             const QString &fullFileName,
                                                             int fileID, int applicationID,
                                                             int computerID, int systemID)
{
    InitializeForNewFile(nullptr, fullFileName, fileID, applicationID, computerID, systemID);
    recording.FileID = fileID;
    recording.LanguageID = m_languageID;
    recording.ApplicationID = applicationID;
    recording.ComputerID = computerID;
    recording.SystemID = systemID;
    m_recording = &recording;
}

void TVXLanguageDefinitionsInterface::InitializeForNewFile(TVXDataAccessInterface *dataAccess,
                                                           const QString &fullFileName, int fileID,
                                                           int applicationID, int computerID,
                                                           int systemID)
{
    const QFileInfo info(fullFileName);
    const QString directory = QDir::cleanPath(info.absolutePath());
    const bool continueDirectory = m_directoryObject && !m_previousDirectory.isEmpty()
                                   && directory == m_previousDirectory;

    m_dataAccess = dataAccess;
    m_recording = nullptr;
    m_fullFileName = fullFileName;
    m_fileName = info.fileName();
    m_directory = directory;
    m_fileID = fileID;
    m_applicationID = applicationID;
    m_computerID = computerID;
    m_systemID = systemID;

    m_wordBuffer.clear();
    m_rowBuffer.clear();
    m_entryList.clear();
    m_packageList.clear();
    m_dataFlowList.clear();
    m_declarations.clear();
    m_declarationsByName.clear();
    m_qualifierStack.clear();
    m_pendingQualifier.clear();
    m_inMainLiteral = m_inSecondaryLiteral = m_inComment = m_commentEndsWithRow = false;
    m_carryObject = m_carryEntry = false;
    m_lastWordType = 0;
    m_rowsSinceSave = 0;
    m_closeOnNextRow = false;
    m_currentName.clear();
    m_resultType.clear();
    m_requestedLanguage.clear();
    m_requestedLanguages.clear();
    m_wordsInRow = 0;

    if (continueDirectory) {
        // Same directory: the file continues the directory's object, its sections and
        // its row numbering.
        m_entryCounter = 0;
        m_currentEntry = 0;
        m_wordID = 1000;
        m_rowID = NextStatementRowID(m_rowID);
        return;
    }

    m_objectList.clear();
    m_sectionStack.clear();
    m_namespace.clear();
    m_objectCounter = 0;
    m_currentObject = 0;
    m_entryCounter = 0;
    m_currentEntry = 0;
    m_rowID = 1000;
    m_wordID = 1000;
    m_lastRowID = 0;

    TVXSectionElement fileSection;
    fileSection.SectionType = VXSectionType::File;
    fileSection.RowID = m_rowID;
    fileSection.EndWordType = EndOfFile;
    fileSection.SectionID = 0;
    fileSection.Name = m_languageName;
    m_sectionStack.append(fileSection);

    if (m_directoryObject) {
        m_previousDirectory = directory;
        const QString name = QFileInfo(directory).fileName();
        m_objectCounter = 1000;
        m_currentObject = 1000;
        TVXObjectElement object;
        object.ObjectID = 1000;
        object.Name = object.Identifier = name;
        object.Scope = m_namespace;
        m_objectList.append(object);
        TVXSectionElement objectSection = fileSection;
        objectSection.SectionType = VXSectionType::Object;
        objectSection.ObjectID = 1000;
        objectSection.Name = name;
        m_sectionStack.append(objectSection);
    }

    // The pseudo word lets a definition open a section at the start of every file.
    TVXWordElement start;
    start.RowID = m_rowID;
    start.WordID = m_wordID;
    start.WordType = BeginningOfFile;
    start.ObjectID = m_currentObject;
    m_wordBuffer.append(start);
    QString sectionName;
    CheckSectionChange(0, sectionName);
    m_wordBuffer.clear();

    const TVXSectionElement &innermost = std::as_const(m_sectionStack).last();
    if (innermost.SectionType == VXSectionType::Object) {
        if (TVXObjectElement *object = CurrentObject())
            object->Name = object->Identifier = m_fileName;
    } else if (innermost.SectionType == VXSectionType::Entry) {
        if (TVXEntryElement *entry = CurrentEntry()) {
            entry->Name = m_fileName;
            if (const TVXObjectElement *object = CurrentObject())
                entry->ObjectIdentifier = object->Identifier;
        }
    }
}

// ---- Tokenising ------------------------------------------------------------------------

bool TVXLanguageDefinitionsInterface::IsWordBreak(const QString &row, int position, int &length,
                                                  TWordType &wordType, QChar &)
{
    const int at = position - 1;
    if (at < 0 || at >= row.size())
        return false;
    const QChar c = row[at];
    const QList<int> *candidates = nullptr;
    if (c.unicode() < m_breakWordsByLatin1.size()) {
        candidates = &m_breakWordsByLatin1[c.unicode()];
    } else {
        const auto found = m_breakWordsByFirstChar.constFind(m_caseSensitive ? c : c.toUpper());
        if (found != m_breakWordsByFirstChar.cend())
            candidates = &*found;
    }
    if (!candidates || candidates->isEmpty())
        return false;
    const Qt::CaseSensitivity cs = m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const int i : *candidates) {
        const TBreakWord &breakWord = m_breakWords[i];
        if (breakWord.Length > 1
            && QStringView(row).mid(at, breakWord.Length).compare(breakWord.Word, cs) != 0)
            continue;
        if (breakWord.Length > row.size() - at)
            continue;
        length = breakWord.Length;
        wordType = breakWord.WordType;
        return true;
    }
    return false;
}

int TVXLanguageDefinitionsInterface::FindWordBreak(QString &row, int from, int &length,
                                                   TWordType &wordType)
{
    const int size = int(row.size());
    for (int i = from; i <= size; ++i)
        if (BreakAt(row, i, length, wordType))
            return i;
    return size + 1;
}

// ---- Words -----------------------------------------------------------------------------

void TVXLanguageDefinitionsInterface::CloseInnermostSection(bool &objectClosed)
{
    if (m_sectionStack.size() <= 1)
        return;
    if (CheckSectionEnd())
        objectClosed = true;
    m_sectionStack.removeLast();
}

void TVXLanguageDefinitionsInterface::MoveRowWordsTo(int index, int objectID, int entryID)
{
    const int rowID = std::as_const(m_wordBuffer)[index].RowID;
    for (int i = index; i >= 0 && std::as_const(m_wordBuffer)[i].RowID == rowID; --i) {
        m_wordBuffer[i].ObjectID = objectID;
        m_wordBuffer[i].EntryID = entryID;
    }
}

bool TVXLanguageDefinitionsInterface::AppendWord(const QString &text, TWordType wordType,
                                                 QString &switchToLanguage, QString &sectionName)
{
    bool objectClosed = CloseRowSections();
    const bool wasInComment = m_inComment;
    const bool closesLiteral = UpdateLiteralState(wordType);
    const TVXWordElement &word = BufferWord(text);
    const int appendedObject = word.ObjectID;
    const int appendedEntry = word.EntryID;
    if (!wasInComment && (m_inMainLiteral || m_inSecondaryLiteral))
        TypeLiteralWord(text, closesLiteral);
    else if (m_inComment)
        TypeCommentWord(wordType);
    else
        TypeOrdinaryWord(text, wordType, appendedObject, appendedEntry, sectionName, objectClosed);

    // Row numbering follows the last word that is not a comment.
    if (std::as_const(m_wordBuffer).last().WordType != CommentWord)
        m_lastWordType = std::as_const(m_wordBuffer).last().WordType;

    // The identifier and data-flow checks look three words back, so the context rules
    // have settled those words first.
    RunDelayedChecks(m_carryObject || m_carryEntry);

    if (!m_requestedLanguage.isEmpty()) {
        switchToLanguage = m_requestedLanguage;
        m_requestedLanguages.append(m_requestedLanguage);
        m_requestedLanguage.clear();
    }
    return objectClosed;
}

// Sections that end with the row they began on, or that inherit their type.
bool TVXLanguageDefinitionsInterface::CloseRowSections()
{
    bool objectClosed = false;
    if (m_sectionStack.size() <= 1 || std::as_const(m_sectionStack).last().RowID >= m_rowID)
        return objectClosed;
    if (m_closeOnNextRow || std::as_const(m_sectionStack).last().EndWordType == EndWithRow) {
        m_closeOnNextRow = false;
        CloseInnermostSection(objectClosed);
    }
    const TWordType end = std::as_const(m_sectionStack).last().EndWordType;
    if (m_sectionStack.size() > 1 && (end == ConditionalEnd2 || end == ConditionalEnd3)) {
        const TVXSectionElement &around = std::as_const(m_sectionStack)[m_sectionStack.size() - 2];
        Innermost().SectionType = around.SectionType;
        Innermost().SectionID = around.SectionID;
    }
    return objectClosed;
}

// Literal and comment state; true when the word closes the literal it is in.
bool TVXLanguageDefinitionsInterface::UpdateLiteralState(TWordType wordType)
{
    if (m_inComment)
        return false;
    const bool inLiteral = m_inMainLiteral || m_inSecondaryLiteral;
    if (wordType == MainDelimiter) {
        if (!inLiteral)
            m_inMainLiteral = true;
        else if (m_inMainLiteral)
            return true;
    } else if (wordType == SecondaryDelimiter) {
        if (!inLiteral)
            m_inSecondaryLiteral = true;
        else if (m_inSecondaryLiteral)
            return true;
    } else if (wordType == BlockCommentStart && !inLiteral) {
        m_inComment = true;
        m_commentEndsWithRow = false;
    } else if (wordType == LineCommentStart && !inLiteral) {
        m_inComment = true;
        m_commentEndsWithRow = true;
    }
    return false;
}

TVXWordElement &TVXLanguageDefinitionsInterface::BufferWord(const QString &text)
{
    const TVXWordElement *previous
            = m_wordBuffer.isEmpty() ? nullptr : &std::as_const(m_wordBuffer).last();
    const int objectID = m_carryObject && previous ? previous->ObjectID : m_currentObject;
    const int entryID = m_carryEntry && previous ? previous->EntryID : m_currentEntry;
    // Built where it stays: a word element moved in from outside costs a second string
    // reference.
    TVXWordElement &word = m_wordBuffer.emplaceBack();
    word.ObjectID = objectID;
    word.EntryID = entryID;
    word.RowID = m_rowID;
    word.WordID = m_wordID;
    word.Word = text;
    m_wordID += 1000;
    ++m_wordsInRow;
    const TVXSectionElement &section = std::as_const(m_sectionStack).last();
    word.SectionType = section.SectionType;
    word.SectionID = section.SectionID;
    return word;
}

void TVXLanguageDefinitionsInterface::TypeLiteralWord(const QString &text, bool closesLiteral)
{
    TVXWordElement &word = m_wordBuffer.last();
    word.WordType = MainDelimiter;
    word.SectionLevel = int(m_sectionStack.size());
    TWordType type = MainDelimiter;
    GetWordType(text, type);
    m_wordBuffer.last().WordType = type;
    UpdateWordTypesByContext();
    const int latest = LatestIndex();
    const TWordType now = std::as_const(m_wordBuffer)[latest].WordType;
    if (now != Unknown && now != MainDelimiter)
        CheckUpdates(latest);
    if (closesLiteral)
        m_inMainLiteral = m_inSecondaryLiteral = false;
}

void TVXLanguageDefinitionsInterface::TypeCommentWord(TWordType wordType)
{
    TVXWordElement &word = m_wordBuffer.last();
    word.WordType = CommentWord;
    word.SectionLevel = int(m_sectionStack.size()) - 1;
    if (wordType == BlockCommentEnd && !m_commentEndsWithRow)
        m_inComment = false;
}

// A word outside literals and comments: its type, the sections it opens or closes, and
// the checks its type asks for. objectClosed is set when it closed an object.
void TVXLanguageDefinitionsInterface::TypeOrdinaryWord(const QString &text, TWordType wordType,
                                                       int appendedObject, int appendedEntry,
                                                       QString &sectionName, bool &objectClosed)
{
    {
        TVXWordElement &word = m_wordBuffer.last();
        word.WordType = std::as_const(m_sectionStack).last().SectionType == VXSectionType::Comment
                                ? CommentWord
                                : wordType;
        word.SectionLevel = int(m_sectionStack.size()) - 1;
    }
    TWordType type = std::as_const(m_wordBuffer).last().WordType;
    GetWordType(text, type);
    int latest = LatestIndex();
    m_wordBuffer[latest].WordType = type;

    m_sectionOpened = false;
    if (CheckSectionChange(latest, sectionName))
        objectClosed = true;
    latest = LatestIndex();
    TVXWordElement &current = m_wordBuffer[latest];
    if (m_sectionOpened) {
        current.SectionType = std::as_const(m_sectionStack).last().SectionType;
        current.SectionID = std::as_const(m_sectionStack).last().SectionID;
        current.SectionLevel = int(m_sectionStack.size()) - 1;
    }
    if (m_currentObject > appendedObject && m_currentObject > current.ObjectID)
        MoveRowWordsTo(latest, m_currentObject, m_currentEntry);
    else if (m_currentEntry > appendedEntry && m_currentEntry > current.EntryID
             && m_currentObject == current.ObjectID)
        MoveRowWordsTo(latest, m_currentObject, m_currentEntry);
    if (current.WordType == LineContinuation && m_sectionStack.size() > 1)
        Innermost().RowID += 1;
    else if (current.WordType == StatementEnd)
        m_wordID += 10;
    if (objectClosed)
        m_rowsSinceSave = 0;
    UpdateWordTypesByContext();
    latest = LatestIndex();
    if (std::as_const(m_wordBuffer)[latest].WordType != Unknown)
        CheckUpdates(latest);
    CheckValue(latest);
}

void TVXLanguageDefinitionsInterface::RunDelayedChecks(bool all)
{
    const int last = all ? LatestIndex() : LatestIndex() - 3;
    // Checked words form a prefix of the buffer: find where the unchecked ones begin.
    int first = last;
    while (first >= 0 && !std::as_const(m_wordBuffer)[first].Checked)
        --first;
    for (int i = first + 1; i <= last; ++i) {
        m_wordBuffer[i].Checked = true;
        CheckIdentifier(i);
        CheckDataFlow(i);
    }
}

const QString &TVXLanguageDefinitionsInterface::WordText(QStringView text)
{
    // Four characters per step: words are short, and the table is probed once per word.
    const char16_t *p = text.utf16();
    const size_t size = size_t(text.size());
    quint64 hash = 0x9E3779B97F4A7C15ULL ^ size;
    const auto mix = [&hash](quint64 chunk) {
        hash = (hash ^ chunk) * 0xFF51AFD7ED558CCDULL;
        hash ^= hash >> 32;
    };
    size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        quint64 chunk;
        std::memcpy(&chunk, p + i, sizeof chunk);
        mix(chunk);
    }
    if (i < size) {
        quint64 chunk = 0;
        for (int shift = 0; i < size; ++i, shift += 16)
            chunk |= quint64(p[i]) << shift;
        mix(chunk);
    }
    if (m_wordCache.empty())
        m_wordCache.resize(WordCacheSlots);
    TCachedWord &slot = m_wordCache[(hash ^ (hash >> 17)) & (WordCacheSlots - 1)];
    if (slot.Hash != hash || size_t(slot.Text.size()) != size
        || !SameCharacters(QStringView(slot.Text).utf16(), p, size)) {
        slot.Hash = hash;
        slot.Text = text.toString();
        slot.EntriesKnown = false;
        slot.Entries.clear();
    }
    m_latestCachedWord = &slot;
    return slot.Text;
}

const QList<int> *TVXLanguageDefinitionsInterface::KeywordEntries(const QString &text) const
{
    // Most words of a program are names: the first character and the length of the table's
    // words turn them away before the text is hashed.
    QString folded;
    const QString &key = FoldedInto(text, folded);
    if ((m_keyLengthsByFirst[KeyFirst(key)] & KeyLength(key)) == 0)
        return nullptr;
    const auto entries = m_wordsByText.constFind(key);
    return entries == m_wordsByText.cend() ? nullptr : &*entries;
}

bool TVXLanguageDefinitionsInterface::BaseLookup(const QString &text, TWordType &wordType) const
{
    const QList<int> *entries = nullptr;
    TCachedWord *cached = m_latestCachedWord;
    // The same buffer means the same text: the word that WordText gave out last.
    if (cached && cached->Text.constData() == text.constData() && cached->Text.size() == text.size()
        && !text.isEmpty()) {
        if (!cached->EntriesKnown || cached->CaseSensitive != m_caseSensitive) {
            const QList<int> *found = KeywordEntries(text);
            cached->Entries = found ? *found : QList<int>();
            cached->EntriesKnown = true;
            cached->CaseSensitive = m_caseSensitive;
        }
        if (cached->Entries.isEmpty())
            return false;
        entries = &cached->Entries;
    } else {
        entries = KeywordEntries(text);
        if (!entries)
            return false;
    }
    const int section
            = m_sectionStack.isEmpty() ? 0 : std::as_const(m_sectionStack).last().SectionID;
    const bool literal = wordType == MainDelimiter;
    for (const int i : *entries) {
        const TWord &entry = m_words[i];
        const bool applies = literal ? entry.SectionID < -1 && -entry.SectionID == section
                                     : entry.SectionID == section || entry.SectionID == -1;
        if (applies) {
            wordType = entry.WordType;
            return true;
        }
    }
    return false;
}

bool TVXLanguageDefinitionsInterface::GetWordType(const QString &text, TWordType &wordType)
{
    const int latest = LatestIndex();
    if (latest >= 1 && std::as_const(m_wordBuffer)[latest - 1].WordType == Joiner) {
        // a.b or a-b: the joiner and both neighbours become one word.
        m_wordBuffer[latest - 1].Word += std::as_const(m_wordBuffer)[latest].Word;
        m_wordBuffer.removeLast();
        m_wordID -= 1000;
        --m_wordsInRow;
        if (latest >= 2) {
            m_wordBuffer[latest - 2].Word += std::as_const(m_wordBuffer)[latest - 1].Word;
            m_wordBuffer.removeLast();
            m_wordID -= 1000;
            --m_wordsInRow;
        }
        TVXWordElement &joined = m_wordBuffer.last();
        if (wordType != Unknown && wordType != Joiner)
            joined.WordType = wordType;
        wordType = joined.WordType;
        if (!m_declarations.isEmpty()) {
            TVXDeclaration &declaration = m_declarations.last();
            if (joined.WordType == DeclarationName && joined.RowID == declaration.RowID
                && joined.WordID == declaration.WordID) {
                declaration.Name = joined.Word;
                m_declarationsByName.insert(Folded(joined.Word), int(m_declarations.size()) - 1);
            } else if (joined.WordType == DeclarationType) {
                declaration.Type.clear();
                declaration.Type = joined.Word;
                UpdateLatestVariableDefinition(LatestIndex(), false);
            }
        }
    }
    return BaseLookup(text, wordType);
}

// ---- Context rules ---------------------------------------------------------------------

TWordType TVXLanguageDefinitionsInterface::GetWordTypeByContext(int offset, int index,
                                                                bool literalMode) const
{
    const TWordType none = literalMode ? MainDelimiter : Unknown;
    const int anchor = index - offset;
    if (anchor < 0 || anchor >= m_wordBuffer.size() || index < 0 || index >= m_wordBuffer.size())
        return none;
    // Up to eight lookups per word, nearly all of them for anchors no rule names.
    const qint64 key = ContextKey(offset, std::as_const(m_wordBuffer)[anchor].WordType);
    if (!m_contextKeysSeen.test(ContextFilterBit(key)))
        return none;
    const auto rules = m_contextsByAnchor.constFind(key);
    if (rules == m_contextsByAnchor.cend())
        return none;
    const int section = std::as_const(m_wordBuffer)[index].SectionID;
    for (const int i : *rules) {
        const TContext &rule = m_contexts[i];
        const bool applies = literalMode ? rule.SectionID < -1 && -rule.SectionID == section
                                         : rule.SectionID == section || rule.SectionID == -1;
        if (applies)
            return rule.NewWordType;
    }
    return none;
}

void TVXLanguageDefinitionsInterface::UpdateWordTypesByContext()
{
    const int latest = LatestIndex();
    if (latest < 0)
        return;
    const bool literal = m_inMainLiteral || m_inSecondaryLiteral;
    const TWordType open = literal ? MainDelimiter : Unknown;
    TVXWordElement &word = m_wordBuffer[latest];
    if (word.WordType == CommentWord)
        return;
    // Most (offset, anchor) pairs have no rule at all: ask the filter before the lookup.
    const auto mayHaveRule = [this](int offset, int index) {
        const int anchor = index - offset;
        return anchor >= 0 && anchor < m_wordBuffer.size()
               && m_contextKeysSeen.test(ContextFilterBit(
                       ContextKey(offset, std::as_const(m_wordBuffer)[anchor].WordType)));
    };
    if (word.WordType == open) {
        for (int offset = 4; offset >= 1; --offset) {
            if (latest - offset < 0 || !mayHaveRule(offset, latest))
                continue;
            const TWordType found = GetWordTypeByContext(offset, latest, literal);
            if (found != open) {
                word.WordType = found;
                break;
            }
        }
    }
    if (std::as_const(m_wordBuffer)[latest].WordType == open)
        return;
    for (int offset = 4; offset >= 1; --offset) {
        const int earlier = latest - offset;
        if (earlier < 0 || std::as_const(m_wordBuffer)[earlier].WordType != open
            || !mayHaveRule(-offset, earlier))
            continue;
        const TWordType found = GetWordTypeByContext(-offset, earlier, literal);
        if (found != open) {
            m_wordBuffer[earlier].WordType = found;
            CheckUpdates(earlier);
        }
    }
}
