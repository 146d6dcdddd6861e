// SPDX-License-Identifier: GPL-3.0-or-later
// The table-driven parser every language definition derives from.
#pragma once

#include "base/Export.h"

#include "parsing/Globals.h"
#include "parsing/Parseelements.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <array>
#include <bitset>
#include <functional>
#include <vector>

class TVXDataAccessInterface;
struct TVXParsedFile;

// A language definition is registered as "TVXLangDef_" + language name and created once
// per process by the service object, which passes itself and the settings folder. Its
// constructor fills the five tables; the engine then cuts rows into words, classifies
// them, tracks the open sections and writes everything through the data access
// interface. One object parses one file at a time.
class VXCORE_EXPORT TVXLanguageDefinitionsInterface : public QObject
{
    Q_OBJECT
public:
    using TVXClassBase = TVXLanguageDefinitionsInterface;
    using TVXFactory = std::function<TVXLanguageDefinitionsInterface *(QObject *owner,
                                                                       const QString &folder)>;

    TVXLanguageDefinitionsInterface(QObject *owner, const QString &folder);

    // ---- Configuration -------------------------------------------------------------
    int LanguageID() const { return m_languageID; }
    const QString &LanguageName() const { return m_languageName; }
    // Each extension with a leading point and a trailing ";" (".cbl;.cob;").
    const QString &FileExtensions() const { return m_fileExtensions; }
    const QString &Folder() const { return m_folder; }
    bool CaseSensitive() const { return m_caseSensitive; }
    quint8 ColumnSetting() const { return m_columnSetting; }
    bool DirectoryObject() const { return m_directoryObject; }
    bool PackagePerFile() const { return m_packagePerFile; }
    bool NestedObjects() const { return m_nestedObjects; }
    bool QualifiedCalls() const { return m_qualifiedCalls; }
    bool UnknownIdentifiers() const { return m_unknownIdentifiers; }
    bool LanguageSwitching() const { return m_languageSwitching; }
    bool NoIcons() const { return m_noIcons; }
    bool NoAssignmentHeuristic() const { return m_noAssignmentHeuristic; }
    bool ObjectsNamedAfterFile() const { return m_objectsNamedAfterFile; }
    // Read by dependency resolution only: imported files are found by their file names,
    // objects inherit from others, and a call may reach any entry of its name.
    bool ImportsByFileName() const { return m_importsByFileName; }
    bool Inheritance() const { return m_inheritance; }
    bool CallsToEntries() const { return m_callsToEntries; }
    // Read by dependency resolution only: a call names an object, never an entry (a JCL
    // step's name is no target), and a call that names no program finds the in-stream
    // procedures of its own file before the cataloged ones.
    bool CallsNameObjectsOnly() const { return m_callsNameObjectsOnly; }
    bool InStreamProcedures() const { return m_inStreamProcedures; }
    // The language describes jobs: its calls without a program run procedures, its
    // includes are members and its tables data sets (how reports name them).
    bool JobControl() const { return m_jobControl; }

    const QList<TBreakWord> &BreakWords() const { return m_breakWords; }
    const QList<TWord> &Words() const { return m_words; }
    const QList<TContext> &Contexts() const { return m_contexts; }
    const QList<TSection> &Sections() const { return m_sectionDefinitions; }
    const QList<TObjectIcon> &ObjectIcons() const { return m_objectIcons; }

    // Upper case; ASCII text that is upper case already is returned as it is, without the
    // cost of the Unicode case tables.
    static QString FoldedCase(const QString &text);
    // Whether upper-casing could change the text (a lower-case letter or a character above ASCII).
    static bool NeedsFolding(QStringView text);

    // ---- Parsing one file ----------------------------------------------------------
    void InitializeForNewFile(TVXDataAccessInterface *dataAccess, const QString &fullFileName,
                              int fileID, int applicationID, int computerID, int systemID);
    // As InitializeForNewFile, but the saves append to the recording instead of a
    // repository: the file is parsed where no repository is at hand (a worker thread).
    void InitializeForRecording(TVXParsedFile &recording, const QString &fullFileName, int fileID,
                                int applicationID, int computerID, int systemID);
    // Whether a break word starts at the 1-based position; a column rule may also ask for
    // the character at the position to be replaced (national characters).
    virtual bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                             QChar &replacement);
    // The first position from which a break starts, or the row's length + 1: IsWordBreak
    // asked at every position in turn, replacements written into the row. A definition
    // whose column rules let it pass over plain characters faster may say so here.
    virtual int FindWordBreak(QString &row, int from, int &length, TWordType &wordType);
    // The text of a word cut from a row, shared with every earlier word of the same
    // spelling: a program repeats its names and keywords on row after row, and a shared
    // text costs neither an allocation nor, for the word given next to AppendWord, a second
    // keyword lookup. The reference stays valid until the next call.
    const QString &WordText(QStringView text);
    // Returns true when an object section closed (a partial save is due).
    bool AppendWord(const QString &text, TWordType wordType, QString &switchToLanguage,
                    QString &sectionName);
    bool AppendRow(QString text);
    virtual bool GetWordType(const QString &text, TWordType &wordType);
    virtual void UpdateWordTypesByContext();
    TWordType GetWordTypeByContext(int offset, int index, bool literalMode) const;
    bool CheckSectionChange(int index, QString &sectionName);
    bool CheckSectionEnd();

    virtual void CheckUpdates(int index);
    // The steps of CheckUpdates, each true when the word was its kind.
    bool UpdateFileState(TVXWordElement &word);
    void UpdateObjectName(TVXWordElement &word);
    void ContinueEarlierDeclaration(TVXObjectElement &object);
    bool UpdateObjectParts(const TVXWordElement &word);
    bool UpdateEntryName(const TVXWordElement &word);
    void UpdateDeclaration(int index, TVXWordElement &word);
    virtual void CheckIdentifier(int index);
    void CheckPendingIdentifier(int index);
    bool IsVariableDeclaredAs(int index, QString &declaredType) const;
    // The index of the declaration that the word at index names, or -1.
    int LatestDeclarationOf(int index) const;
    void UpdateLatestVariableDefinition(int index, bool includeDeclaringWord);
    void CheckValue(int index);
    void CheckDataFlow(int index);
    bool CheckObjectDeclarationInOtherFile(const QString &identifier, int objectID, int &id);
    // The object (or, for a negative object id, the entry) of that name in a file other
    // than fileID, as the repository holds it now.
    static bool FindDeclarationInOtherFile(TVXDataAccessInterface &dataAccess,
                                           const QString &identifier, int objectID, int fileID,
                                           int &id);

    int GetObjectIconByInheritance(const QString &name) const;
    int GetObjectIconByType(const QString &type) const;
    int GetObjectIconDefault() const;

    virtual void OnBeforeSaveToDB(bool final, bool objectClosed);
    void SaveToDB(bool final, bool objectClosed);
    // Writes the buffered words to the settings folder; returns the dump's path.
    QString DumpAtError();

    // ---- State, read by the loader and the tests -----------------------------------
    const QString &FileName() const { return m_fileName; }
    int FileID() const { return m_fileID; }
    int RowID() const { return m_rowID; }
    int WordID() const { return m_wordID; }
    const QList<TVXWordElement> &WordBuffer() const { return m_wordBuffer; }
    const QList<TVXRowElement> &RowBuffer() const { return m_rowBuffer; }
    const QList<TVXObjectElement> &ObjectList() const { return m_objectList; }
    const QList<TVXEntryElement> &EntryList() const { return m_entryList; }
    const QList<TVXPackageElement> &PackageList() const { return m_packageList; }
    const QList<TVXDataFlowLink> &DataFlowList() const { return m_dataFlowList; }
    const QList<TVXSectionElement> &SectionStack() const { return m_sectionStack; }
    const QList<TVXDeclaration> &Declarations() const { return m_declarations; }
    const QStringList &RequestedLanguages() const { return m_requestedLanguages; }
    int CurrentObjectID() const { return m_currentObject; }
    int CurrentEntryID() const { return m_currentEntry; }
    bool InLiteral() const { return m_inMainLiteral || m_inSecondaryLiteral; }
    bool InComment() const { return m_inComment; }

protected:
    // ---- Table setters, for the constructors of language definitions ---------------
    void SetFBreakWords(const QString &word, TWordType wordType);
    void SetFWords(const QString &word, int sectionID, TWordType wordType);
    void SetFContexts(int offset, TWordType wordType, int sectionID, TWordType newWordType);
    void SetFSections(TWordType startWordType, TWordType endWordType, TSectionType sectionType,
                      int sectionID, const QString &name, bool rowsBelongTogether);
    void SetFObjectIcons(const QString &inheritance, const QString &objectType, TIcon icon);
    // Blank, tab, line feed and carriage return as white space, as most languages begin.
    void SetFWhiteSpaceBreaks();

    // ---- Helpers for overrides -----------------------------------------------------
    // IsWordBreak at one position as the row loop takes it: a replacement is written into
    // the row, and a break is at least one character long.
    bool BreakAt(QString &row, int position, int &length, TWordType &wordType)
    {
        int candidateLength = 0;
        TWordType candidateType = VXWordType::Unknown;
        QChar replacement;
        const bool isBreak
                = IsWordBreak(row, position, candidateLength, candidateType, replacement);
        if (!replacement.isNull())
            row[position - 1] = replacement;
        if (!isBreak)
            return false;
        length = std::max(1, candidateLength);
        wordType = candidateType;
        return true;
    }
    // FindWordBreak for a definition whose column rules hold at a few positions only: a
    // character at a position where passes(position) is true and that starts no break word
    // is no break, a character that is a break word by itself breaks alone (a run of blanks
    // as one), and every other position asks IsWordBreak, as the base FindWordBreak does.
    template<class Passes>
    int ScanForBreak(QString &row, int from, int &length, TWordType &wordType, Passes passes)
    {
        const int size = int(row.size());
        const QChar *text = row.constData();
        for (int i = from; i <= size; ++i) {
            while (i <= size && StartsNoBreak(text[i - 1]) && passes(i))
                ++i;
            if (i > size)
                break;
            if (passes(i) && BreaksAlone(text[i - 1], wordType)) {
                length = 1;
                if (wordType == VXWordType::WhiteSpace && text[i - 1] == QLatin1Char(' '))
                    while (i + length <= size && text[i + length - 1] == QLatin1Char(' ')
                           && passes(i + length))
                        ++length;
                return i;
            }
            if (BreakAt(row, i, length, wordType))
                return i;
            text = row.constData();
        }
        return size + 1;
    }
    QString Folded(const QString &text) const { return m_caseSensitive ? text : FoldedCase(text); }
    // The folded text without copying it when folding changes nothing: storage receives the
    // folded copy only when one is needed.
    const QString &FoldedInto(const QString &text, QString &storage) const
    {
        if (m_caseSensitive || !NeedsFolding(text))
            return text;
        storage = text.toUpper();
        return storage;
    }
    bool SameText(const QString &a, const QString &b) const
    {
        return a.compare(b, m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
    }
    // The word with this buffer index, or null outside the buffer.
    TVXWordElement *WordAt(int index)
    {
        return index >= 0 && index < m_wordBuffer.size() ? &m_wordBuffer[index] : nullptr;
    }
    // The same for reading only, without the list's sharing check.
    const TVXWordElement *ReadWordAt(int index) const
    {
        return index >= 0 && index < m_wordBuffer.size() ? &m_wordBuffer.at(index) : nullptr;
    }
    int LatestIndex() const { return int(m_wordBuffer.size()) - 1; }
    // No break word of the table starts with this character: the base rule would say no.
    bool StartsNoBreak(QChar c) const
    {
        return c.unicode() < m_startsBreakWord.size() && !m_startsBreakWord[c.unicode()];
    }
    // The base rule's answer for a Latin-1 character that is a break word by itself
    // before any longer one: a break of one character, of this type.
    bool BreaksAlone(QChar c, TWordType &wordType) const
    {
        if (c.unicode() >= m_breaksAlone.size() || !m_breaksAlone[c.unicode()])
            return false;
        wordType = m_breakAloneType[c.unicode()];
        return true;
    }
    TVXSectionElement &Innermost() { return m_sectionStack.last(); }
    TVXObjectElement *CurrentObject();
    TVXEntryElement *CurrentEntry();
    TVXObjectElement *FirstObject();
    // The object of this id in the file's list, or null.
    const TVXObjectElement *ObjectWithID(int objectID) const
    {
        for (const TVXObjectElement &object : m_objectList)
            if (object.ObjectID == objectID)
                return &object;
        return nullptr;
    }
    // Moves the buffered words from this row and word on, the rows from this row on and
    // the declarations they made into another object and entry: for a definition that
    // learns only at a later word (a brace, a ";") that a class or routine began earlier.
    void MoveWordsSince(int rowID, int wordID, int objectID, int entryID);
    // An entry of the current object that no section holds: a method a class body declares,
    // a prototype. Returns its id, or 0 without a current object.
    int AddDeclaredEntry(const QString &name);
    // The next statement starts here: the row id goes to the next multiple of 1000.
    void StartNewStatement();
    static int NextStatementRowID(int rowID) { return (rowID / 1000 + 1) * 1000; }
    bool BaseLookup(const QString &text, TWordType &wordType) const;
    void AddDeclaration(const QString &name);
    // Forgets the declarations that went out of scope where no section end says so (the
    // columns of a table once the next statement of a script begins).
    template<class Which>
    void DropDeclarations(Which which)
    {
        if (m_declarations.removeIf(which) > 0)
            RebuildDeclarationIndex();
    }
    void CloseInnermostSection(bool &objectClosed);
    // Opens a section as the word at index would: for a language that knows only from
    // what follows a word that the section began there (a C++ class at its brace). The
    // definition's end code closes it as any other.
    void OpenSection(const TSection &definition, int index, bool replaceInnermost,
                     bool &objectClosed);

    QString m_folder;
    QString m_name;
    int m_languageID = 0;
    QString m_languageName;
    QString m_fileExtensions;
    bool m_caseSensitive = false;
    quint8 m_columnSetting = 2;
    bool m_directoryObject = false;
    bool m_packagePerFile = false;
    bool m_nestedObjects = false;
    bool m_qualifiedCalls = false;
    bool m_unknownIdentifiers = false;
    bool m_languageSwitching = false;
    bool m_noIcons = false;
    bool m_noAssignmentHeuristic = false;
    bool m_objectsNamedAfterFile = false;
    bool m_importsByFileName = false;
    bool m_inheritance = false;
    bool m_callsToEntries = false;
    bool m_callsNameObjectsOnly = false;
    bool m_inStreamProcedures = false;
    bool m_jobControl = false;
    QList<QChar> m_valueSeparators;

    // ---- Per-file state ------------------------------------------------------------
    TVXDataAccessInterface *m_dataAccess = nullptr;
    TVXParsedFile *m_recording = nullptr;
    QString m_fullFileName;
    QString m_fileName;
    QString m_directory;
    QString m_previousDirectory;
    int m_fileID = 0;
    int m_applicationID = 0;
    int m_computerID = 0;
    int m_systemID = 0;
    int m_objectCounter = 0;
    int m_currentObject = 0;
    qsizetype m_currentObjectIndex = 0;
    int m_entryCounter = 0;
    int m_currentEntry = 0;
    int m_rowID = 1000;
    int m_wordID = 1000;
    QList<TVXWordElement> m_wordBuffer;
    QList<TVXRowElement> m_rowBuffer;
    QList<TVXObjectElement> m_objectList;
    QList<TVXEntryElement> m_entryList;
    QList<TVXPackageElement> m_packageList;
    QList<TVXDataFlowLink> m_dataFlowList;
    QList<TVXSectionElement> m_sectionStack;
    QList<TVXDeclaration> m_declarations;
    QList<TVXQualifier> m_qualifierStack;
    QString m_pendingQualifier;
    bool m_inMainLiteral = false;
    bool m_inSecondaryLiteral = false;
    bool m_inComment = false;
    bool m_commentEndsWithRow = false;
    bool m_carryObject = false;
    bool m_carryEntry = false;
    TWordType m_lastWordType = 0;
    int m_rowsSinceSave = 0;
    bool m_closeOnNextRow = false;
    QString m_namespace;
    QString m_currentName;
    QString m_resultType;
    QString m_requestedLanguage;
    QStringList m_requestedLanguages;
    int m_wordsInRow = 0;
    int m_lastRowID = 0;
    bool m_sectionOpened = false;

private:
    void RunDelayedChecks(bool all);
    // The steps of AppendWord.
    bool CloseRowSections();
    bool UpdateLiteralState(TWordType wordType);
    TVXWordElement &BufferWord(const QString &text);
    void TypeLiteralWord(const QString &text, bool closesLiteral);
    void TypeCommentWord(TWordType wordType);
    void TypeOrdinaryWord(const QString &text, TWordType wordType, int appendedObject,
                          int appendedEntry, QString &sectionName, bool &objectClosed);
    void WriteObjects();
    void WriteEntries();
    void WriteWords(qsizetype count);
    void WriteRows(int belowRowID);
    const TSection *FindSectionDefinition(TWordType startWordType) const;
    void MoveRowWordsTo(int index, int objectID, int entryID);
    void RebuildDeclarationIndex();

    QList<TBreakWord> m_breakWords;
    QList<TWord> m_words;
    QList<TContext> m_contexts;
    QList<TSection> m_sectionDefinitions;
    QList<TObjectIcon> m_objectIcons;

    // Lookup indexes over the tables, each list in table order so the first match of a
    // linear scan is still the first match here.
    QHash<QChar, QList<int>> m_breakWordsByFirstChar;
    // The same for Latin-1 first characters, read on every character of every row.
    std::array<QList<int>, 256> m_breakWordsByLatin1;
    // Whether the list of that character holds any, read on every character of area B.
    std::array<bool, 256> m_startsBreakWord{};
    // Whether the first break word of that character's list is the character alone, which
    // then breaks wherever it stands, and that word's type.
    std::array<bool, 256> m_breaksAlone{};
    std::array<TWordType, 256> m_breakAloneType{};
    QHash<QString, QList<int>> m_wordsByText;
    // For each first character of a word of the table (all above 127 share the last slot),
    // the lengths it comes in, one bit each (63 and longer share the last bit).
    static int KeyFirst(const QString &key)
    {
        return key.isEmpty() ? 0 : std::min<int>(key.front().unicode(), 127);
    }
    static quint64 KeyLength(const QString &key)
    {
        return quint64(1) << std::min<qsizetype>(key.size(), 63);
    }
    std::array<quint64, 128> m_keyLengthsByFirst{};
    QHash<qint64, QList<int>> m_contextsByAnchor;
    // A bit per hashed key of m_contextsByAnchor: a clear bit means no rule.
    static size_t ContextFilterBit(qint64 key)
    {
        return size_t((quint64(key) * 0x9E3779B97F4A7C15ULL) >> 52);
    }
    std::bitset<4096> m_contextKeysSeen;
    QHash<TWordType, int> m_sectionByStart;
    // A bit per start word type of m_sectionByStart: most words open no section.
    static size_t SectionFilterBit(TWordType start) { return size_t(quint32(start)) & 1023; }
    std::bitset<1024> m_sectionStartsSeen;
    QMultiHash<QString, int> m_declarationsByName;

    // The latest word texts cut, one per slot of a small table that fits the processor's
    // cache, with their keyword-table entries once looked up: a word of another spelling
    // that falls into a slot takes it over, so memory stays the same however many names
    // a portfolio has.
    struct TCachedWord
    {
        quint64 Hash = 0;
        QString Text;
        bool EntriesKnown = false;
        bool CaseSensitive = false;
        QList<int> Entries;
    };
    static constexpr size_t WordCacheSlots = 4096;
    std::vector<TCachedWord> m_wordCache;
    TCachedWord *m_latestCachedWord = nullptr;
    const QList<int> *KeywordEntries(const QString &text) const;
};
