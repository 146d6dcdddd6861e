// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine collects about one file between two saves.
#pragma once

#include "parsing/Globals.h"

#include <QString>

struct TVXWordElement
{
    int ObjectID = 0;
    int EntryID = 0;
    int RowID = 0;
    int WordID = 0;
    TSectionType SectionType = 0;
    // The delayed identifier and data-flow checks have looked at this word.
    bool Checked = false;
    int SectionLevel = 0;
    int SectionID = 0;
    TWordType WordType = VXWordType::Unknown;
    // Last, after the numbers: the buffer is walked word by word, and 80 bytes per word
    // keep more of it in the processor's cache than the 96 of a looser order.
    QString Word;
    QString ObjectIdentifier;
};

struct TVXRowElement
{
    int ObjectID = 0;
    int EntryID = 0;
    int RowID = 0;
    bool Call = false;
    QString Row;
};

// Icon values of an object element before it is written.
namespace VXObjectIconState {
constexpr int NotChosen = 0;
// The element was merged into an earlier one and is not written.
constexpr int DoNotSave = -1;
} // namespace VXObjectIconState

struct TVXObjectElement
{
    int ObjectID = 0;
    bool InPackage = false;
    QString Name;
    QString Identifier;
    QString Inherits;
    QString ObjectType;
    int Icon = VXObjectIconState::NotChosen;
    QString SubObjectParentName;
    QString InheritsParentName;
    QString Scope;
};

struct TVXEntryElement
{
    int ObjectID = 0;
    int EntryID = 0;
    QString Name;
    QString ObjectIdentifier;
    bool Flag = false;
    QString ResultType;
};

struct TVXPackageElement
{
    QString PackageName;
    QString ObjectName;
    int ObjectFileID = 0;
    int ObjectID = 0;
};

// The receiving word takes its value from the read word; 0 means not known yet.
struct TVXDataFlowLink
{
    int RowID = 0;
    int WordID = 0;
    int FromRowID = 0;
    int FromWordID = 0;
};

struct TVXSectionElement
{
    TSectionType SectionType = 0;
    int RowID = 0;
    int ObjectID = 0;
    int EntryID = 0;
    TWordType EndWordType = 0;
    int SectionID = 0;
    QString Name;
    // The thing the section describes (a record, a class), set by updates.
    QString DescribedName;
    bool InheritsType = false;
    bool RowsBelongTogether = false;
};

struct TVXDeclaration
{
    int ObjectID = 0;
    QString Name;
    QString Type;
    int EntryID = 0;
    // The declaring word, so that a word checked twice declares once.
    int RowID = 0;
    int WordID = 0;
    bool Complete() const { return !Name.isEmpty() && !Type.isEmpty(); }
};

struct TVXQualifier
{
    QString Name;
    int Level = 0;
};

// Ints and implicitly shared strings only: the buffers move these with memmove when they
// take back the room that a save freed at their front.
Q_DECLARE_TYPEINFO(TVXWordElement, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TVXRowElement, Q_RELOCATABLE_TYPE);
