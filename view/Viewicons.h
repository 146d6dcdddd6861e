// SPDX-License-Identifier: GPL-3.0-or-later
// The icon numbers of View nodes and their pictures. Repository objects and attributes
// bring their own numbers (VXIcon); the View adds those of the nodes it makes itself. The
// picture of a BottomUp node is the next number, drawn mirrored.
#pragma once

#include <QIcon>
#include <QString>

namespace VXViewIcon {
constexpr int System = 1;
constexpr int Computer = 5;
constexpr int Application = 9;
constexpr int File = 10;
constexpr int Package = 12;
constexpr int PackageUp = 13;
constexpr int Form = 16;
constexpr int Program = 18;
constexpr int Table = 20;
// Used unchanged in both directions.
constexpr int Fixed = 22;
constexpr int Row = 24;
constexpr int Word = 27;
constexpr int Entry = 29;
constexpr int EntryUp = 32;
constexpr int Variable = 35;
constexpr int DataWindow = 43;
constexpr int PersistentVariable = 45;
constexpr int CommonSource = 49;
constexpr int NestedObject = 50;
constexpr int CopyMember = 52;
constexpr int View = 54;

// The icon of a repository object for a direction.
int ForObject(int icon, bool topDown);

// The picture for an icon number; objectType tells jobs and procedures from programs.
QIcon Picture(int icon, const QString &objectType = QString());
} // namespace VXViewIcon
