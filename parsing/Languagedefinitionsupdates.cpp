// SPDX-License-Identifier: GPL-3.0-or-later
// What classified words do: objects, entries, packages and declarations, identifiers and
// data flow, and the saving of a file's words through the data access interface.
#include "base/Exception.h"
#include "base/Settings.h"

#include "parsing/Languagedefinitionsinterface.h"
#include "parsing/Parsedfile.h"
#include "repository/Condition.h"
#include "repository/Dataaccessinterface.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

using namespace VXWordType;

namespace {

const QString ParseError = QStringLiteral(" PARSE ERROR IN FILE!");
const QString DoNotSave = QStringLiteral(" DO NOT SAVE");

void AppendAfterBlank(QString &text, const QString &word)
{
    if (!text.isEmpty())
        text += QLatin1Char(' ');
    text += word;
}

} // namespace

// ---- Declarations ----------------------------------------------------------------------

void TVXLanguageDefinitionsInterface::RebuildDeclarationIndex()
{
    m_declarationsByName.clear();
    for (int i = 0; i < m_declarations.size(); ++i)
        m_declarationsByName.insert(Folded(m_declarations[i].Name), i);
}

void TVXLanguageDefinitionsInterface::AddDeclaration(const QString &name)
{
    TVXDeclaration declaration;
    declaration.ObjectID = m_currentObject;
    declaration.EntryID = m_currentEntry;
    declaration.Name = name;
    m_declarations.append(declaration);
    m_declarationsByName.insert(Folded(name), int(m_declarations.size()) - 1);
}

bool TVXLanguageDefinitionsInterface::IsVariableDeclaredAs(int index, QString &declaredType) const
{
    const int latest = LatestDeclarationOf(index);
    if (latest < 0)
        return false;
    declaredType = m_declarations[latest].Type;
    return true;
}

int TVXLanguageDefinitionsInterface::LatestDeclarationOf(int index) const
{
    if (index < 0 || index >= m_wordBuffer.size() || m_declarations.isEmpty())
        return -1;
    const TVXWordElement &word = std::as_const(m_wordBuffer)[index];
    QString folded;
    const QString &key = FoldedInto(word.Word, folded);
    // The latest declaration wins: an entry's own one hides the object's.
    int latest = -1;
    for (auto it = m_declarationsByName.constFind(key);
         it != m_declarationsByName.cend() && it.key() == key; ++it) {
        const int i = *it;
        if (i <= latest || i >= m_declarations.size())
            continue;
        const TVXDeclaration &declaration = std::as_const(m_declarations)[i];
        if (SameText(declaration.Name, word.Word) && declaration.ObjectID == word.ObjectID
            && (declaration.EntryID == word.EntryID || declaration.EntryID == 0))
            latest = i;
    }
    return latest;
}

void TVXLanguageDefinitionsInterface::UpdateLatestVariableDefinition(int index,
                                                                     bool includeDeclaringWord)
{
    if (m_declarations.isEmpty() || index < 0 || index >= m_wordBuffer.size())
        return;
    const TVXDeclaration &declaration = std::as_const(m_declarations).last();
    const bool declaringWordKnown = declaration.RowID != 0;
    for (int i = includeDeclaringWord ? index : index - 1; i >= 0; --i) {
        TVXWordElement &word = m_wordBuffer[i];
        if (word.WordType == LateDeclarationName)
            break;
        // Words before the declaring one belong to earlier declarations, which keep
        // their own types even when they bear the same name.
        if (declaringWordKnown
            && (word.RowID < declaration.RowID
                || (word.RowID == declaration.RowID && word.WordID < declaration.WordID)))
            break;
        if (word.WordType != DeclarationName || word.ObjectID != declaration.ObjectID
            || word.EntryID != declaration.EntryID)
            continue;
        if (word.Word.size() == declaration.Name.size() && SameText(word.Word, declaration.Name))
            word.ObjectIdentifier = declaration.Type;
    }
}

// ---- Updates ---------------------------------------------------------------------------

void TVXLanguageDefinitionsInterface::CheckUpdates(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    if (UpdateFileState(*word))
        return;
    const TWordType type = word->WordType;
    if (type == ObjectName || type == DescribedObjectName || type == ObjectAndDeclarationName
        || type == ObjectAndEntryName) {
        UpdateObjectName(*word);
        // A name of both kinds goes on to declare its variable.
        if (type != ObjectAndDeclarationName)
            return;
    }
    if (UpdateObjectParts(*word))
        return;
    if (UpdateEntryName(*word))
        return;
    UpdateDeclaration(index, *word);
}

bool TVXLanguageDefinitionsInterface::UpdateFileState(TVXWordElement &word)
{
    const QString &w = word.Word;
    switch (word.WordType) {
    case LanguageSwitch:
        if (m_languageSwitching)
            m_requestedLanguage = w;
        return true;
    case ResultReference:
        word.ObjectIdentifier = m_resultType;
        return true;
    case ResultTypeName:
        m_resultType = w;
        if (TVXEntryElement *entry = CurrentEntry())
            entry->ResultType = w;
        return true;
    case DescribedName:
        Innermost().DescribedName = w;
        return true;
    case PackageName:
        if (w.contains(QLatin1Char('.')) && !m_packageList.isEmpty()) {
            m_packageList.last().PackageName = w;
        } else if (std::none_of(m_packageList.cbegin(), m_packageList.cend(),
                                [&](const TVXPackageElement &p) { return p.PackageName == w; })) {
            m_packageList.append({w, QString(), 0, 0});
        }
        return true;
    case PackageMember:
        if (m_packageList.isEmpty())
            m_packageList.append({QFileInfo(m_fileName).completeBaseName(), QString(), 0, 0});
        if (!m_packageList.last().ObjectName.isEmpty())
            m_packageList.append({m_packageList.last().PackageName, QString(), 0, 0});
        m_packageList.last().ObjectName = w;
        return true;
    case NamespaceName:
        m_namespace = w;
        return true;
    case NamespaceEnd:
        m_namespace.clear();
        return true;
    case RememberedName:
        m_currentName = w;
        return true;
    case TableName:
        word.ObjectIdentifier = m_currentName;
        return true;
    default:
        return false;
    }
}

void TVXLanguageDefinitionsInterface::UpdateObjectName(TVXWordElement &word)
{
    const QString &w = word.Word;
    const TWordType type = word.WordType;
    if (type == DescribedObjectName)
        Innermost().DescribedName = w;
    if (m_packagePerFile && type != DescribedObjectName && !m_packageList.isEmpty())
        m_packageList.last().ObjectName = w;
    TVXObjectElement *object = CurrentObject();
    if (!object)
        return;
    QString name = m_objectsNamedAfterFile ? m_fileName.section(QLatin1Char('.'), 0, 0) : w;
    if (!object->SubObjectParentName.isEmpty() && !name.contains(QLatin1Char('.')))
        name = object->SubObjectParentName + QLatin1Char('.') + name;
    object->Name = name;
    object->Identifier = name;
    if (m_nestedObjects)
        ContinueEarlierDeclaration(*object);
    if (m_languageSwitching) {
        int id = object->ObjectID;
        if (CheckObjectDeclarationInOtherFile(object->Identifier, object->ObjectID, id))
            object->ObjectID = id;
    }
    m_currentObject = object->ObjectID;
    word.ObjectID = m_currentObject;
}

void TVXLanguageDefinitionsInterface::ContinueEarlierDeclaration(TVXObjectElement &object)
{
    for (TVXObjectElement &earlier : m_objectList) {
        if (&earlier == &object)
            return;
        if (earlier.Name == object.Name && earlier.Identifier == object.Identifier
            && earlier.Icon != VXObjectIconState::DoNotSave) {
            // The same object declared again: continue the earlier one.
            const int earlierID = earlier.ObjectID;
            earlier.ObjectID = object.ObjectID;
            earlier.Identifier = DoNotSave;
            earlier.Icon = VXObjectIconState::DoNotSave;
            object.ObjectID = earlierID;
            return;
        }
    }
}

bool TVXLanguageDefinitionsInterface::UpdateObjectParts(const TVXWordElement &word)
{
    const QString &w = word.Word;
    TVXObjectElement *object = CurrentObject();
    switch (word.WordType) {
    case NestedObjectName:
        if (object) {
            const QString described = std::as_const(m_sectionStack).last().DescribedName;
            object->Name = described + QLatin1Char('.') + w;
            object->SubObjectParentName = described;
            object->Icon = VXIcon::NestedObject;
            object->Identifier = w;
            Innermost().DescribedName = w;
        }
        return true;
    case NestedObjectType:
        if (object)
            object->ObjectType = w;
        return true;
    case ObjectOwnerName:
        if (object && !object->Name.isEmpty()) {
            object->Name = w + QLatin1Char('.') + object->Name;
            object->SubObjectParentName = w;
            object->Icon = VXIcon::NestedObject;
        }
        return true;
    case ObjectIdentifierName:
        if (object)
            object->Identifier = w;
        return true;
    case AncestorName:
        if (object) {
            object->InheritsParentName = object->Inherits;
            object->Inherits = w;
        }
        return true;
    case FurtherObjectName:
        if (object && !object->Name.isEmpty()) {
            m_objectCounter += 1000;
            TVXObjectElement further;
            further.ObjectID = m_objectCounter;
            further.ObjectType = w;
            further.Scope = m_namespace;
            m_objectList.append(further);
            m_currentObject = further.ObjectID;
            object = &m_objectList.last();
        }
        if (object)
            object->Name = w;
        return true;
    case ObjectAlias:
        if (object) {
            if (object->Identifier.isEmpty()) {
                object->Identifier = w;
            } else {
                TVXObjectElement copy = *object;
                copy.ObjectID = object->ObjectID + 1;
                copy.Identifier = w;
                m_objectList.append(copy);
            }
        }
        return true;
    case ObjectKeyword:
    case ObjectStart:
    case SecondObjectStart:
    case ArrayOrItem:
    case OfObject:
    case ObjectTypeWord:
        if (object)
            AppendAfterBlank(object->ObjectType, w);
        return true;
    default:
        return false;
    }
}

bool TVXLanguageDefinitionsInterface::UpdateEntryName(const TVXWordElement &word)
{
    const QString &w = word.Word;
    const TWordType type = word.WordType;
    switch (type) {
    case SectionOrParagraphName:
    case EntryName:
    case FlaggedEntryName:
    case ProcedureDivision:
    case InitializationPart:
    case FinalizationPart:
        break;
    case EntryNameOnly:
        if (TVXEntryElement *entry = CurrentEntry())
            entry->Name = w;
        return true;
    default:
        return false;
    }
    TVXEntryElement *entry = CurrentEntry();
    if (!entry)
        return true;
    const TVXObjectElement *object = CurrentObject();
    entry->Name = w;
    if (type == ProcedureDivision && object)
        entry->Name = object->Name;
    if (object)
        entry->ObjectIdentifier = object->Identifier;
    if (type == FlaggedEntryName)
        entry->Flag = true;
    if (m_languageSwitching) {
        int id = entry->EntryID;
        if (CheckObjectDeclarationInOtherFile(entry->Name, -entry->ObjectID, id))
            entry->EntryID = m_currentEntry = id;
    }
    return true;
}

void TVXLanguageDefinitionsInterface::UpdateDeclaration(int index, TVXWordElement &word)
{
    const QString &w = word.Word;
    switch (word.WordType) {
    case DeclarationName:
    case ObjectAndDeclarationName:
        word.WordType = DeclarationName;
        // A word retyped by a later context rule is checked again; it declares once.
        if (!m_declarations.isEmpty() && m_declarations.last().RowID == word.RowID
            && m_declarations.last().WordID == word.WordID)
            return;
        AddDeclaration(w);
        m_declarations.last().RowID = word.RowID;
        m_declarations.last().WordID = word.WordID;
        UpdateLatestVariableDefinition(index, true);
        return;
    case DeclarationType:
        if (!m_declarations.isEmpty()) {
            m_declarations.last().Type = w;
            UpdateLatestVariableDefinition(index, true);
        }
        return;
    case DescriptionPart:
    case FurtherDescriptionPart:
    case DeclarationTypePart:
        if (!m_declarations.isEmpty()) {
            AppendAfterBlank(m_declarations.last().Type, w);
            UpdateLatestVariableDefinition(index, true);
        }
        return;
    case Picture:
        if (!m_declarations.isEmpty()) {
            m_declarations.last().Type += QLatin1Char('(') + w + QLatin1Char(')');
            UpdateLatestVariableDefinition(index, true);
        }
        return;
    case ConstantDeclaration:
        AddDeclaration(QStringLiteral("unknown"));
        m_declarations.last().Type = QStringLiteral("CONSTANT ") + w;
        return;
    case LateDeclarationName:
        if (!m_declarations.isEmpty()) {
            m_declarations.last().Name = w;
            m_declarationsByName.insert(Folded(w), int(m_declarations.size()) - 1);
            UpdateLatestVariableDefinition(index, true);
        }
        return;
    default:
        return;
    }
}

// ---- Identifiers -----------------------------------------------------------------------

void TVXLanguageDefinitionsInterface::CheckPendingIdentifier(int index)
{
    const TVXWordElement *word = ReadWordAt(index);
    if (!word)
        return;
    while (!m_qualifierStack.isEmpty() && m_qualifierStack.last().Level > word->SectionLevel)
        m_qualifierStack.removeLast();
    m_pendingQualifier.clear();
    if (m_qualifierStack.isEmpty() || m_qualifierStack.last().Level != word->SectionLevel)
        return;
    const TWordType t = word->WordType;
    const TVXWordElement *before = ReadWordAt(index - 1);
    const TWordType b = before ? before->WordType : Unknown;
    bool continues = t == Qualifier || t == ParentReference || t == ScopeOperator || t == Unknown
                     || t == LineContinuation;
    if (t == ReferencedName || t == CalledName)
        continues = b == HostName || b == Qualifier || b == LineContinuation;
    if (continues)
        m_pendingQualifier = m_qualifierStack.last().Name;
    else
        m_qualifierStack.removeLast();
}

void TVXLanguageDefinitionsInterface::CheckIdentifier(int index)
{
    CheckPendingIdentifier(index);
    TVXWordElement *word = WordAt(index);
    if (!word)
        return;
    const QString &w = word->Word;
    const TVXWordElement *before = ReadWordAt(index - 1);
    const TVXWordElement *twoBefore = ReadWordAt(index - 2);
    // A "." that does not follow a self reference leaves the target unknown.
    const bool afterForeignDot = before && before->WordType == Qualifier
                                 && !(twoBefore && twoBefore->WordType == SelfReference);

    switch (word->WordType) {
    case ReferencedName:
    case ParentReference:
    case ScopeOperator: {
        if (word->WordType != ReferencedName)
            word->ObjectIdentifier = QStringLiteral("inherited");
        else
            word->ObjectIdentifier = m_pendingQualifier.isEmpty() ? w : m_pendingQualifier;
        QString declared;
        QString qualifier;
        if (IsVariableDeclaredAs(index, declared) && !declared.isEmpty())
            qualifier = declared;
        else
            qualifier = m_unknownIdentifiers ? QStringLiteral("?") : w;
        m_qualifierStack.append({qualifier, word->SectionLevel});
        word->WordType = HostName;
        return;
    }
    case CalledName:
        if (!word->ObjectIdentifier.isEmpty())
            return;
        if (!m_qualifiedCalls) {
            word->ObjectIdentifier = w;
        } else if (!m_pendingQualifier.isEmpty()) {
            word->ObjectIdentifier = m_pendingQualifier;
            if (!m_qualifierStack.isEmpty())
                m_qualifierStack.last().Name = QStringLiteral("?");
        } else if (afterForeignDot) {
            word->ObjectIdentifier = QStringLiteral("?");
        }
        return;
    case Unknown: {
        if (word->EntryID == 0)
            return;
        QString declared;
        if (IsVariableDeclaredAs(index, declared)) {
            word->WordType = VariableReference;
            return;
        }
        if (!m_pendingQualifier.isEmpty()) {
            word->WordType = CalledName;
            word->ObjectIdentifier = m_pendingQualifier;
            return;
        }
        const TVXWordElement *after = ReadWordAt(index + 1);
        if (!m_noAssignmentHeuristic
            && ((after && after->WordType == Assignment) || (before && before->WordType == To))) {
            word->WordType = VariableReference;
            return;
        }
        word->WordType = CalledName;
        if (afterForeignDot)
            word->ObjectIdentifier = QStringLiteral("?");
        return;
    }
    default:
        return;
    }
}

void TVXLanguageDefinitionsInterface::CheckValue(int index)
{
    TVXWordElement *word = WordAt(index);
    if (!word || (word->WordType != Unknown && word->WordType != VariableReference))
        return;
    const QString &w = word->Word;
    if (w.isEmpty())
        return;
    int separators = 0;
    for (const QChar c : w) {
        if (c.isDigit())
            continue;
        if (m_valueSeparators.contains(c) && ++separators == 1)
            continue;
        return;
    }
    if (!w.front().isDigit())
        return;
    word->WordType = Constant;
    // 1 . 5 cut by a point break: the digits after a separator word belong to the value.
    const TVXWordElement *separator = ReadWordAt(index - 1);
    TVXWordElement *integerPart = WordAt(index - 2);
    if (separator && integerPart && separator->Word.size() == 1
        && m_valueSeparators.contains(separator->Word.front()) && integerPart->WordType == Constant
        && separator->RowID == word->RowID)
        integerPart->WordType = Constant;
}

void TVXLanguageDefinitionsInterface::CheckDataFlow(int index)
{
    const TVXWordElement *word = ReadWordAt(index);
    if (!word)
        return;
    const TWordType t = word->WordType;
    if (!m_dataFlowList.isEmpty()) {
        TVXDataFlowLink &link = m_dataFlowList.last();
        const bool readMissing = link.FromRowID == 0;
        const bool receiverMissing = link.RowID == 0;
        if (readMissing || receiverMissing) {
            if (t == StatementEnd) {
                m_dataFlowList.removeLast();
            } else if (readMissing
                       && (t == VariableReference || t == Constant || t == LiteralConstant
                           || t == MainDelimiter || t == CalledName)) {
                link.FromRowID = word->RowID;
                link.FromWordID = word->WordID;
            } else if (receiverMissing && !readMissing && t == VariableReference) {
                link.RowID = word->RowID;
                link.WordID = word->WordID;
            }
            return;
        }
    }
    const TVXWordElement *before = ReadWordAt(index - 1);
    if (t == Assignment && before) {
        m_dataFlowList.append({before->RowID, before->WordID, 0, 0});
    } else if (t == To && before) {
        m_dataFlowList.append({0, 0, before->RowID, before->WordID});
    } else if (t == SetOrAccept) {
        // SET X TO Y, ACCEPT X FROM Y: the checks run three words behind, so the words
        // after "set" are already in the buffer.
        const TVXWordElement *receiver = ReadWordAt(index + 1);
        if (!receiver || receiver->WordType == StatementEnd)
            return;
        for (int i = index + 2; i <= index + 3; ++i) {
            const TVXWordElement *read = ReadWordAt(i);
            if (!read || read->WordType == StatementEnd)
                return;
            const TWordType r = read->WordType;
            if (r == VariableReference || r == Constant || r == LiteralConstant
                || r == MainDelimiter || r == CalledName) {
                m_dataFlowList.append(
                        {receiver->RowID, receiver->WordID, read->RowID, read->WordID});
                return;
            }
        }
    }
}

bool TVXLanguageDefinitionsInterface::CheckObjectDeclarationInOtherFile(const QString &identifier,
                                                                        int objectID, int &id)
{
    if (m_recording) {
        if (!identifier.isEmpty())
            m_recording->Lookups.append({identifier, objectID});
        return false;
    }
    if (!m_dataAccess)
        return false;
    return FindDeclarationInOtherFile(*m_dataAccess, identifier, objectID, m_fileID, id);
}

bool TVXLanguageDefinitionsInterface::FindDeclarationInOtherFile(TVXDataAccessInterface &dataAccess,
                                                                 const QString &identifier,
                                                                 int objectID, int fileID, int &id)
{
    if (identifier.isEmpty() || dataAccess.ConnectionCount() == 0)
        return false;
    // A negative object id asks for an entry of that object.
    const bool entry = objectID < 0;
    const int table
            = dataAccess.GetTable(entry ? QStringLiteral("VXENTRY") : QStringLiteral("VXOBJECT"));
    if (table <= 0)
        return false;
    const QString nameField
            = entry ? QStringLiteral("VXEntryName") : QStringLiteral("VXObjectIdentifier");
    const QString condition = nameField + QStringLiteral(" = ")
                              + TVXDataAccessInterface::QuotedText(identifier)
                              + QStringLiteral(" AND VXFileID <> ") + QString::number(fileID);
    if (!dataAccess.SelectBegin(table, condition))
        return false;
    const int idField = dataAccess.GetField(table, entry ? QStringLiteral("VXEntryID")
                                                         : QStringLiteral("VXObjectID"));
    const int found = dataAccess.GetFieldValue(table, idField).toInt();
    if (found <= 0)
        return false;
    id = found;
    return true;
}

// ---- Saving ----------------------------------------------------------------------------

void TVXLanguageDefinitionsInterface::OnBeforeSaveToDB(bool, bool) {}

void TVXLanguageDefinitionsInterface::WriteObjects()
{
    if (!m_dataAccess && !m_recording)
        return;
    for (TVXObjectElement &object : m_objectList) {
        if (object.Icon == VXObjectIconState::DoNotSave || object.Identifier == DoNotSave)
            continue;
        if (object.ObjectType.isEmpty())
            object.ObjectType = m_languageName;
        if (!m_noIcons && object.Icon == VXObjectIconState::NotChosen) {
            int icon = object.Inherits.isEmpty() ? 0 : GetObjectIconByInheritance(object.Inherits);
            if (icon == 0)
                icon = GetObjectIconByType(object.ObjectType);
            if (icon == 0)
                icon = GetObjectIconDefault();
            object.Icon = icon;
        }
        if (object.Identifier.isEmpty()) {
            object.Identifier = ParseError;
            if (object.Name.isEmpty())
                object.Name = ParseError;
        }
        if (m_recording) {
            m_recording->Objects.append(object);
            continue;
        }
        m_dataAccess->VXOBJECT_Append(m_fileID, object.ObjectID, m_languageID, object.InPackage,
                                      object.Name, object.Identifier, object.Inherits,
                                      object.ObjectType, object.Icon, object.SubObjectParentName,
                                      object.InheritsParentName, object.Scope, m_applicationID,
                                      m_computerID, m_systemID);
    }
}

void TVXLanguageDefinitionsInterface::WriteEntries()
{
    if (!m_dataAccess && !m_recording)
        return;
    for (TVXEntryElement &entry : m_entryList) {
        if (entry.ObjectIdentifier.isEmpty())
            for (const TVXObjectElement &object : std::as_const(m_objectList))
                if (object.ObjectID == entry.ObjectID)
                    entry.ObjectIdentifier = object.Identifier;
        const bool broken = entry.Name.isEmpty() || entry.ObjectIdentifier.isEmpty();
        if (m_recording) {
            TVXEntryElement written = entry;
            if (broken)
                written.Name = ParseError;
            m_recording->Entries.append(written);
            continue;
        }
        m_dataAccess->VXENTRY_Append(m_fileID, entry.ObjectID, entry.EntryID, m_languageID,
                                     broken ? ParseError : entry.Name, entry.ObjectIdentifier,
                                     entry.ResultType, 0, QString());
    }
}

void TVXLanguageDefinitionsInterface::WriteWords(qsizetype count)
{
    // Fewer than five words in the buffer: a partial save keeps them all.
    count = std::clamp(count, qsizetype(0), m_wordBuffer.size());
    for (qsizetype i = 0; i < count; ++i) {
        const TVXWordElement &word = std::as_const(m_wordBuffer)[i];
        if (word.WordType == CalledName || word.WordType == IncludedMember) {
            for (qsizetype r = m_rowBuffer.size() - 1; r >= 0; --r) {
                if (std::as_const(m_rowBuffer)[r].RowID == word.RowID) {
                    m_rowBuffer[r].Call = true;
                    break;
                }
                if (std::as_const(m_rowBuffer)[r].RowID < word.RowID)
                    break;
            }
        }
        if (m_recording)
            m_recording->Words.append(word);
        else if (m_dataAccess)
            m_dataAccess->VXWORD_Append(m_fileID, word.ObjectID, word.EntryID, word.RowID,
                                        word.WordID, m_languageID, word.SectionType,
                                        word.SectionLevel, word.Word, word.WordType,
                                        word.ObjectIdentifier);
    }
    m_wordBuffer.remove(0, count);
}

void TVXLanguageDefinitionsInterface::WriteRows(int belowRowID)
{
    qsizetype count = 0;
    while (count < m_rowBuffer.size() && std::as_const(m_rowBuffer)[count].RowID < belowRowID) {
        const TVXRowElement &row = std::as_const(m_rowBuffer)[count];
        if (m_recording)
            m_recording->Rows.append(row);
        else if (m_dataAccess)
            m_dataAccess->VXROW_Append(m_fileID, row.ObjectID, row.EntryID, row.RowID, m_languageID,
                                       row.Row, row.Call);
        ++count;
    }
    m_rowBuffer.remove(0, count);
}

void TVXLanguageDefinitionsInterface::SaveToDB(bool final, bool objectClosed)
{
    auto commit = [this](bool retaining) {
        if (m_dataAccess)
            m_dataAccess->Commit(false, retaining);
    };
    if (final)
        RunDelayedChecks(true);
    OnBeforeSaveToDB(final, objectClosed);
    if (final && !m_directoryObject) {
        bool closed = false;
        while (m_sectionStack.size() > 1)
            CloseInnermostSection(closed);
    }
    if (final && !m_nestedObjects) {
        WriteObjects();
        if (!m_directoryObject)
            commit(true);
        WriteEntries();
        commit(true);
    }
    if (!final) {
        // The last words stay for the context rules and the delayed checks.
        WriteWords(m_wordBuffer.size() - 5);
        WriteRows(m_wordBuffer.isEmpty() ? m_rowID : m_wordBuffer.first().RowID);
    } else {
        if (m_recording)
            m_recording->Packages += m_packageList;
        else if (m_dataAccess)
            for (const TVXPackageElement &package : std::as_const(m_packageList))
                m_dataAccess->VXPACKAGE_Append(m_fileID, -1, package.PackageName,
                                               package.ObjectName, package.ObjectFileID,
                                               package.ObjectID);
        commit(true);
        if (m_nestedObjects) {
            WriteObjects();
            commit(true);
            WriteEntries();
            commit(true);
        }
        WriteWords(m_wordBuffer.size());
        commit(true);
        WriteRows(std::numeric_limits<int>::max());
        commit(true);
    }

    // Links still waiting for a side are written when they are complete.
    qsizetype written = 0;
    for (const TVXDataFlowLink &link : std::as_const(m_dataFlowList)) {
        const bool complete = link.RowID != 0 && link.FromRowID != 0;
        if (!complete && !final && &link == &m_dataFlowList.last())
            break;
        if (complete && m_recording)
            m_recording->DataFlow.append(link);
        else if (complete && m_dataAccess)
            m_dataAccess->VXDATAFLOW_Append(m_fileID, link.RowID, link.WordID, m_fileID,
                                            link.FromRowID, link.FromWordID);
        ++written;
    }
    m_dataFlowList.remove(0, written);
    commit(!final);

    if (m_dataAccess && m_dataAccess->ConnectionCount() > 0) {
        const int files = m_dataAccess->GetTable(QStringLiteral("VXFILE"));
        if (files > 0)
            m_dataAccess->SelectBoundBegin(
                    files, TVXCondition::Equals(QStringLiteral("VXFileID"), m_fileID));
    }
    if (final) {
        m_packageList.clear();
        m_entryList.clear();
        if (!m_directoryObject)
            m_objectList.clear();
    }
}

QString TVXLanguageDefinitionsInterface::DumpAtError()
{
    const QString path = VXSettings::SettingsFolder() + QStringLiteral("ErrorDump_") + m_fileName
                         + QLatin1Char('_') + QString::number(m_fileID) + QStringLiteral(".txt");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw TVXException(QStringLiteral("cannot write the error dump ") + path
                           + QStringLiteral(": ") + file.errorString());
    QTextStream out(&file);
    out << "Dump for File: " << m_fullFileName << '\n';
    out << "Language: " << m_languageID << ' ' << m_languageName << '\n';
    for (const TVXWordElement &word : std::as_const(m_wordBuffer))
        out << word.ObjectID << ':' << word.EntryID << ':' << word.RowID << ':' << word.WordID
            << ':' << word.SectionType << ':' << word.SectionLevel << ':' << word.SectionID << ':'
            << word.WordType << ':' << word.Word << ':' << word.ObjectIdentifier << '\n';
    out.flush();
    if (!file.commit())
        throw TVXException(QStringLiteral("cannot write the error dump ") + path
                           + QStringLiteral(": ") + file.errorString());
    return path;
}
