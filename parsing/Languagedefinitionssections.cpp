// SPDX-License-Identifier: GPL-3.0-or-later
// The table-driven parser: the sections that open and close around words, and the rows.
#include "base/Exception.h"

#include "parsing/Languagedefinitionsinterface.h"

#include <QDir>
#include <QFileInfo>

using namespace VXWordType;

// ---- Sections --------------------------------------------------------------------------

void TVXLanguageDefinitionsInterface::OpenSection(const TSection &definition, int index,
                                                  bool replaceInnermost, bool &objectClosed)
{
    if (replaceInnermost)
        CloseInnermostSection(objectClosed);

    if (definition.SectionType == VXSectionType::Object
        || definition.SectionType == VXSectionType::ObjectAndEntry) {
        m_objectCounter += 1000;
        m_currentObject = m_objectCounter;
        m_entryCounter = 0;
        m_currentEntry = 0;
        TVXObjectElement object;
        object.ObjectID = m_currentObject;
        object.Scope = m_namespace;
        if (m_packagePerFile) {
            object.InPackage = true;
            m_packageList.append({QFileInfo(m_fileName).completeBaseName(), QString(), m_fileID,
                                  m_currentObject});
        }
        m_objectList.append(object);
    }
    if (definition.SectionType == VXSectionType::Entry
        || definition.SectionType == VXSectionType::ObjectAndEntry) {
        m_entryCounter += 1000;
        m_currentEntry = m_entryCounter;
        TVXEntryElement entry;
        entry.ObjectID = m_currentObject;
        entry.EntryID = m_currentEntry;
        if (const TVXObjectElement *object = CurrentObject())
            entry.ObjectIdentifier = object->Identifier;
        m_entryList.append(entry);
    }

    const TVXSectionElement &around = std::as_const(m_sectionStack).last();
    TVXSectionElement section;
    section.SectionType = definition.SectionType;
    if (definition.SectionType == VXSectionType::Inherit) {
        section.SectionType = around.SectionType;
        section.InheritsType = true;
    }
    section.RowID = index >= 0 && index < m_wordBuffer.size()
                            ? std::as_const(m_wordBuffer)[index].RowID
                            : m_rowID;
    section.ObjectID = m_currentObject;
    section.EntryID = m_currentEntry;
    section.EndWordType = definition.EndWordType;
    section.SectionID = definition.SectionID;
    section.Name = definition.Name;
    section.DescribedName = around.DescribedName;
    section.RowsBelongTogether = definition.RowsBelongTogether;
    m_sectionStack.append(section);
    m_sectionOpened = true;

    if (definition.EndWordType == definition.StartWordType)
        CloseInnermostSection(objectClosed);
}

bool TVXLanguageDefinitionsInterface::CheckSectionChange(int index, QString &sectionName)
{
    const TWordType t = std::as_const(m_wordBuffer)[index].WordType;
    const int wordRow = std::as_const(m_wordBuffer)[index].RowID;
    bool ended = false;
    bool objectClosed = false;

    // 1. Does the word end the innermost section?
    if (t == ProcedureDivisionStatementEnd) {
        while (m_sectionStack.size() > 2
               && std::as_const(m_sectionStack)[m_sectionStack.size() - 2].SectionID
                          == std::as_const(m_sectionStack).last().SectionID)
            CloseInnermostSection(objectClosed);
        ended = true;
    } else {
        const TWordType end = std::as_const(m_sectionStack).last().EndWordType;
        switch (end) {
        case EndWithRowOrBlockEnd:
            if (wordRow > std::as_const(m_sectionStack).last().RowID) {
                if (t == ElseIf || t == EndOfBlock)
                    ended = true;
            } else {
                m_closeOnNextRow = true;
            }
            break;
        case ConditionalEnd5:
            if (t == When)
                ended = true;
            else if (t == StatementEnd) {
                CloseInnermostSection(objectClosed);
                ended = true;
            }
            break;
        case ConditionalEnd1:
        case ConditionalEnd2:
            if (t == When)
                ended = true;
            else if (t == EndOfBlock)
                CloseInnermostSection(objectClosed);
            break;
        case ConditionalEnd4:
            if (t == If)
                ended = true;
            else if (t == StatementEnd)
                CloseInnermostSection(objectClosed);
            break;
        case ConditionalEnd3:
            if (t == LoopEnd)
                ended = true;
            break;
        default:
            break;
        }
        if (t == std::as_const(m_sectionStack).last().EndWordType && t != Chain)
            ended = true;
        if (t == EndsSectionCancelsEntry) {
            ended = true;
            for (qsizetype i = m_entryList.size() - 1; i >= 0; --i)
                if (std::as_const(m_entryList)[i].EntryID == m_currentEntry
                    && std::as_const(m_entryList)[i].ObjectID == m_currentObject) {
                    m_entryList.removeAt(i);
                    break;
                }
        } else if (t == EndsSection || t == ClosesOneLevel) {
            ended = true;
        } else if (t == ClosesTwoLevels) {
            CloseInnermostSection(objectClosed);
            ended = true;
        }
    }

    // 2. Unknown words open nothing.
    if (!ended && t == Unknown)
        return objectClosed;

    // 3. Does the word open a section?
    if (const TSection *definition = FindSectionDefinition(t)) {
        // A section that ended, or one that ends when the next one of its number starts,
        // makes room for the new one.
        const bool replace
                = m_sectionStack.size() > 1
                  && (ended
                      || (std::as_const(m_sectionStack).last().EndWordType == EndAtSameSectionNumber
                          && std::as_const(m_sectionStack).last().SectionID
                                     == definition->SectionID));
        OpenSection(*definition, index, replace, objectClosed);
        for (int chain = 0; chain < 8 && std::as_const(m_sectionStack).last().EndWordType == Chain;
             ++chain) {
            const TSection *chained = FindSectionDefinition(Chain);
            if (!chained)
                break;
            OpenSection(*chained, index, false, objectClosed);
        }
        sectionName = std::as_const(m_sectionStack).last().Name;
        return objectClosed;
    }

    // 4. The word closes one or more sections.
    if (ended) {
        int closings = 1;
        if (t == EndClosesParent)
            closings = 2;
        else if (t == ClosesThreeLevels)
            closings = 3;
        for (int i = 0; i < closings; ++i)
            CloseInnermostSection(objectClosed);
        sectionName = std::as_const(m_sectionStack).last().Name;
    }
    return objectClosed;
}

bool TVXLanguageDefinitionsInterface::CheckSectionEnd()
{
    const TVXSectionElement &closing = std::as_const(m_sectionStack).last();
    const TVXSectionElement *around
            = m_sectionStack.size() > 1 ? &m_sectionStack[m_sectionStack.size() - 2] : nullptr;
    const bool objectSection = closing.SectionType == VXSectionType::Object
                               || closing.SectionType == VXSectionType::ObjectAndEntry;
    if (objectSection && !closing.InheritsType) {
        if (m_nestedObjects) {
            int outer = around ? around->ObjectID : 0;
            if (outer == 0 && !m_objectList.isEmpty())
                outer = m_objectList.first().ObjectID;
            m_currentObject = outer;
            // The outer object's entries go on after the ones it had before the inner
            // object began, so that entry keys stay unique within it.
            m_entryCounter = 0;
            for (const TVXEntryElement &entry : std::as_const(m_entryList))
                if (entry.ObjectID == outer)
                    m_entryCounter = std::max(m_entryCounter, entry.EntryID);
        } else {
            m_currentObject = 0;
            m_entryCounter = 0;
            m_currentName.clear();
            m_declarations.clear();
            m_declarationsByName.clear();
        }
        m_currentEntry = 0;
        m_carryObject = m_carryEntry = true;
        m_qualifierStack.clear();
        m_pendingQualifier.clear();
        return true;
    }
    if (closing.SectionType == VXSectionType::Entry && !closing.InheritsType) {
        const int closingEntry = m_currentEntry;
        m_currentEntry = around ? around->EntryID : 0;
        m_currentName.clear();
        const auto closes = [&](const TVXDeclaration &d) {
            return d.EntryID == closingEntry && closingEntry != 0 && d.ObjectID == m_currentObject;
        };
        // An entry's declarations are the latest ones: taking them off the end spares
        // rebuilding the index of all the others (a file of many routines in classes
        // keeps thousands).
        qsizetype suffix = m_declarations.size();
        while (suffix > 0 && closes(std::as_const(m_declarations)[suffix - 1]))
            --suffix;
        for (qsizetype i = suffix; i < m_declarations.size(); ++i)
            m_declarationsByName.remove(Folded(std::as_const(m_declarations)[i].Name), int(i));
        m_declarations.resize(suffix);
        const auto before = m_declarations.size();
        m_declarations.removeIf(closes);
        if (m_declarations.size() != before)
            RebuildDeclarationIndex();
        m_carryEntry = true;
        m_qualifierStack.clear();
        m_pendingQualifier.clear();
    }
    return false;
}

void TVXLanguageDefinitionsInterface::MoveWordsSince(int rowID, int wordID, int objectID,
                                                     int entryID)
{
    const auto since = [rowID, wordID](int row, int word) {
        return row > rowID || (row == rowID && word >= wordID);
    };
    for (qsizetype i = m_wordBuffer.size() - 1; i >= 0; --i) {
        TVXWordElement &word = m_wordBuffer[i];
        if (!since(word.RowID, word.WordID))
            break;
        word.ObjectID = objectID;
        word.EntryID = entryID;
    }
    for (qsizetype r = m_rowBuffer.size() - 1; r >= 0 && m_rowBuffer[r].RowID >= rowID; --r) {
        m_rowBuffer[r].ObjectID = objectID;
        m_rowBuffer[r].EntryID = entryID;
    }
    for (TVXDeclaration &declaration : m_declarations)
        if (declaration.RowID != 0 && since(declaration.RowID, declaration.WordID)) {
            declaration.ObjectID = objectID;
            declaration.EntryID = entryID;
        }
}

int TVXLanguageDefinitionsInterface::AddDeclaredEntry(const QString &name)
{
    const TVXObjectElement *object = CurrentObject();
    if (!object)
        return 0;
    m_entryCounter += 1000;
    TVXEntryElement entry;
    entry.ObjectID = object->ObjectID;
    entry.EntryID = m_entryCounter;
    entry.Name = name;
    entry.ObjectIdentifier = object->Identifier;
    m_entryList.append(entry);
    return entry.EntryID;
}

// ---- Rows ------------------------------------------------------------------------------

bool TVXLanguageDefinitionsInterface::AppendRow(QString text)
{
    TVXRowElement row;
    if (!m_wordBuffer.isEmpty()) {
        row.ObjectID = std::as_const(m_wordBuffer).last().ObjectID;
        row.EntryID = std::as_const(m_wordBuffer).last().EntryID;
    }
    row.RowID = m_rowID;
    row.Row = std::move(text);
    // Row ids are keys: a column rule that moved the id back must not repeat one.
    if (m_rowID <= m_lastRowID)
        row.RowID = m_rowID = m_lastRowID + 1;
    m_lastRowID = m_rowID;
    m_rowBuffer.append(std::move(row));

    const bool statementEnded = m_lastWordType == StatementEnd
                                || m_lastWordType == ProcedureDivisionStatementEnd
                                || m_lastWordType == ProcedureStatementEnd;
    if (statementEnded) {
        StartNewStatement();
        m_lastWordType = 0;
    } else if ((!m_sectionStack.isEmpty()
                && std::as_const(m_sectionStack).last().RowsBelongTogether)
               || m_lastWordType == LineContinuation) {
        m_rowID += 1;
        m_wordID = 1000 + m_wordID % 1000;
        m_lastWordType = 0;
    } else {
        StartNewStatement();
    }

    m_carryObject = m_carryEntry = false;
    if (m_inComment && m_commentEndsWithRow) {
        m_inComment = false;
        m_commentEndsWithRow = false;
    }
    m_wordsInRow = 0;

    if (!m_wordBuffer.isEmpty() && std::as_const(m_wordBuffer).last().WordType == LineContinuation)
        m_wordBuffer.removeLast();

    ++m_rowsSinceSave;
    if (m_rowsSinceSave > 100 && !m_declarations.isEmpty()) {
        TVXDeclaration &latest = m_declarations.last();
        if (latest.Name.isEmpty())
            latest.Name = QStringLiteral("<error: unmatched name>");
        if (latest.Type.isEmpty())
            latest.Type = QStringLiteral("<error: unmatched type>");
    }
    if (m_rowsSinceSave > 50 && (m_declarations.isEmpty() || m_declarations.last().Complete())) {
        m_rowsSinceSave = 0;
        return true;
    }
    return false;
}
