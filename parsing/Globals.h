// SPDX-License-Identifier: GPL-3.0-or-later
// The parse vocabulary: word, section, scope, dependency, operator and icon codes and the
// records a language definition is built from.
#pragma once

#include <QString>

#include <cstdint>

// Every numeric value below is written to the repository (VXWordType, VXSectionType,
// VXScope, VXIcon) and used in stored query conditions: values are append-only and
// must never be renumbered.

// A word code, not a closed enumeration: the core fixes the codes in VXWordType, each
// language definition gives its keywords codes from the shared catalogue.
//   < 0 and 0  no role           1..999      keywords, operators, punctuation
//   1000..1999 identifiers and literals      2000..2999  project and package words
//   3000..3999 package membership            99001..     control codes
using TWordType = std::int32_t;
using TSectionType = std::uint8_t;
using TIcon = std::uint8_t;
using TOperator = std::uint8_t;

namespace VXWordType {
constexpr TWordType KnownWord = -1;
constexpr TWordType Unknown = 0;
constexpr TWordType WhiteSpace = 1;
constexpr TWordType StatementEnd = 2;
constexpr TWordType Comma = 3;
constexpr TWordType ParameterOpen = 4;
constexpr TWordType ParameterClose = 5;
constexpr TWordType ParenthesisOpen = 6;
constexpr TWordType ParenthesisClose = 7;
constexpr TWordType Comparison = 8;
constexpr TWordType Operator = 9;
constexpr TWordType Qualifier = 10;
constexpr TWordType DataBlockStart = 13;
constexpr TWordType SectionKeyword = 19;
// The end of a function, program or in-stream procedure ("end", "pend").
constexpr TWordType EndOfProgram = 20;
constexpr TWordType InitializationPart = 21;
constexpr TWordType FinalizationPart = 22;
constexpr TWordType Include = 28;
constexpr TWordType EndOfBlock = 31;
constexpr TWordType Assignment = 33;
constexpr TWordType To = 34;
constexpr TWordType Call = 35;
constexpr TWordType If = 38;
constexpr TWordType LoopStart = 40;
constexpr TWordType LoopEnd = 41;
constexpr TWordType SelfReference = 42;
constexpr TWordType ParentReference = 43;
constexpr TWordType BlockCommentStart = 51;
constexpr TWordType BlockCommentEnd = 52;
constexpr TWordType LineCommentStart = 53;
constexpr TWordType SetOrAccept = 54;
constexpr TWordType SqlTarget = 59;
constexpr TWordType Else = 62;
// A word that adds to the current object's type text.
constexpr TWordType ObjectTypeWord = 70;
constexpr TWordType BracketOpen = 71;
constexpr TWordType BracketClose = 72;
constexpr TWordType SecondaryDelimiter = 73;
// A further identifier of the current object; a second one makes a copy of the object.
constexpr TWordType ObjectAlias = 81;
constexpr TWordType GoTo = 82;
constexpr TWordType SqlSelect = 83;
constexpr TWordType SqlInto = 84;
constexpr TWordType SqlFrom = 85;
constexpr TWordType SqlSetList = 87;
constexpr TWordType SqlClauseEnd = 88;
constexpr TWordType ProcedureStatementEnd = 92;
constexpr TWordType Initialize = 93;
constexpr TWordType Return = 99;
constexpr TWordType ScopeOperator = 100;
constexpr TWordType NamespaceStart = 103;
constexpr TWordType NamespaceEnd = 104;
constexpr TWordType MainDelimiter = 1001;
constexpr TWordType Constant = 1002;
constexpr TWordType CommentWord = 1003;
constexpr TWordType ObjectName = 1005;
// The identifier of the current object, apart from its name.
constexpr TWordType ObjectIdentifierName = 1006;
constexpr TWordType ObjectKeyword = 1008;
// The name of an entry that is flagged (an inquiry, an event).
constexpr TWordType FlaggedEntryName = 1009;
constexpr TWordType SectionOrParagraphName = 1010;
constexpr TWordType DeclarationName = 1011;
constexpr TWordType VariableReference = 1012;
constexpr TWordType LanguageSwitch = 1013;
constexpr TWordType DeclarationType = 1014;
constexpr TWordType ParagraphName = 1015;
constexpr TWordType CalledName = 1016;
// A reference to the result of the current function, typed as the function's result.
constexpr TWordType ResultReference = 1017;
constexpr TWordType DescriptionPart = 1018;
constexpr TWordType FurtherDescriptionPart = 1019;
// A picture or nullability clause, added to the declared type in brackets.
constexpr TWordType Picture = 1020;
constexpr TWordType ResultTypeName = 1021;
// A name that both names the current object and declares a variable.
constexpr TWordType ObjectAndDeclarationName = 1024;
// A name that names the current object and the current entry.
constexpr TWordType ObjectAndEntryName = 1025;
constexpr TWordType ObjectStart = 1026;
constexpr TWordType SecondObjectStart = 1027;
constexpr TWordType ArrayOrItem = 1028;
constexpr TWordType EmbeddedSqlStart = 1030;
// A reference to another object: a member of it, a map, a table or data set.
constexpr TWordType ReferencedName = 1032;
// A name remembered for the table names that follow it.
constexpr TWordType RememberedName = 1033;
constexpr TWordType ConfigurationStart = 1035;
constexpr TWordType LiteralConstant = 1037;
// The name of a nested object: the described name before it becomes its parent.
constexpr TWordType NestedObjectName = 1047;
constexpr TWordType NestedObjectType = 1048;
constexpr TWordType EntryName = 1049;
constexpr TWordType ElseIf = 1051;
constexpr TWordType When = 1052;
constexpr TWordType Evaluate = 1053;
// The owner of the current object, put before its name.
constexpr TWordType ObjectOwnerName = 1055;
// A name that the innermost section describes; nested objects take it as their parent.
constexpr TWordType DescribedName = 1056;
constexpr TWordType AncestorName = 1058;
constexpr TWordType HostName = 1059;
constexpr TWordType OfObject = 1061;
// The procedure division or job start: an entry named after its object.
constexpr TWordType ProcedureDivision = 1063;
constexpr TWordType GoToTarget = 1064;
constexpr TWordType IncludedMember = 1065;
constexpr TWordType ConstantDeclaration = 1066;
// The name of a declaration whose type came first; it also ends the search for words
// that the declaration types.
constexpr TWordType LateDeclarationName = 1067;
constexpr TWordType DeclarationTypePart = 1068;
constexpr TWordType DescribedObjectName = 1070;
// A name of the current entry only.
constexpr TWordType EntryNameOnly = 1071;
constexpr TWordType TableName = 1072;
// The name of a further object of the same declaration.
constexpr TWordType FurtherObjectName = 1073;
constexpr TWordType NamespaceName = 1075;
constexpr TWordType ProjectStart = 2001;
constexpr TWordType FileListStart = 2003;
constexpr TWordType MemberFileKind = 2006;
constexpr TWordType PackageName = 3001;
constexpr TWordType PackageMember = 3002;
// Every word of a data file.
constexpr TWordType DataFileWord = 9999;

// Control codes that steer sections, rows and words.
constexpr TWordType EndOfFile = 99001;
constexpr TWordType BeginningOfFile = 99002;
constexpr TWordType EndAtSameSectionNumber = 99003;
constexpr TWordType EndClosesParent = 99004;
constexpr TWordType EndAtStatementEnd = 99005;
constexpr TWordType EndWithRow = 99006;
constexpr TWordType EndWithRowOrBlockEnd = 99007;
constexpr TWordType LineContinuation = 99008;
constexpr TWordType ConditionalEnd1 = 99009;
constexpr TWordType ConditionalEnd2 = 99010;
constexpr TWordType LoopKeyword = 99011;
constexpr TWordType LoopUntil = 99012;
constexpr TWordType ConditionalEnd3 = 99013;
constexpr TWordType ConditionalEnd4 = 99014;
constexpr TWordType Chain = 99015;
constexpr TWordType EndsSection = 99016;
constexpr TWordType EndsSectionCancelsEntry = 99017;
constexpr TWordType ConditionalEnd5 = 99018;
constexpr TWordType ProcedureDivisionStatementEnd = 99019;
constexpr TWordType ClosesOneLevel = 99020;
constexpr TWordType ClosesThreeLevels = 99021;
constexpr TWordType ClosesTwoLevels = 99028;
constexpr TWordType Joiner = 99201;
constexpr TWordType FirstLocalCode = 99401;
constexpr TWordType LastLocalCode = 99410;
} // namespace VXWordType

// Section codes with a meaning in the core; the others are only scopes to it.
namespace VXSectionType {
constexpr TSectionType File = 1;
constexpr TSectionType Object = 2;
constexpr TSectionType DeclarationBlock = 3;
constexpr TSectionType UsesBlock = 4;
constexpr TSectionType Visibility = 7;
constexpr TSectionType InterfacePart = 10;
constexpr TSectionType Entry = 11;
constexpr TSectionType TypeBlock = 12;
constexpr TSectionType ParameterList = 13;
constexpr TSectionType Statement = 14;
constexpr TSectionType Conditional = 16;
constexpr TSectionType Loop = 17;
constexpr TSectionType JclParameters = 18;
constexpr TSectionType Comment = 22;
constexpr TSectionType EmbeddedSql = 23;
constexpr TSectionType CallSection = 24;
constexpr TSectionType SqlStatement = 25;
constexpr TSectionType ObjectAndEntry = 26;
constexpr TSectionType AttributeBlock = 29;
constexpr TSectionType Preprocessor = 33;
constexpr TSectionType Namespace = 34;
constexpr TSectionType Inherit = 99;
constexpr TSectionType Project = 101;
constexpr TSectionType ProjectFileList = 102;
} // namespace VXSectionType

namespace VXIcon {
// An object of no known kind: it does not count as a member of a package.
constexpr TIcon Unknown = -1;
constexpr TIcon Form = 16;
constexpr TIcon DefaultObject = 18;
constexpr TIcon Table = 20;
constexpr TIcon Item = 35;
constexpr TIcon Array = 39;
constexpr TIcon Record = 41;
constexpr TIcon DataWindow = 43;
// An object nested in another of its file (a class inside a class, a procedure in a job).
constexpr TIcon NestedObject = 50;
constexpr TIcon IncludedMember = 52;
constexpr TIcon View = 54;
} // namespace VXIcon

// What a row of VXATTRIBUTE names (VXAttributeType).
namespace VXAttributeType {
constexpr int System = 1;
constexpr int Computer = 2;
constexpr int Application = 3;
} // namespace VXAttributeType

// Operators of a where-clause part.
namespace VXOperator {
constexpr TOperator None = 0;
constexpr TOperator Equals = 10;
constexpr TOperator Contains = 11;
constexpr TOperator BeginsWith = 12;
constexpr TOperator EndsWith = 13;
constexpr TOperator NotEquals = 14;
} // namespace VXOperator

// How far a name reaches; stored in VXScope.
enum TScope : std::uint8_t {
    scUnknown,
    scEntry,
    scObject,
    scParents,
    scPackage,
    scFile,
    scDirectory,
    scApplication,
    scComputer,
    scSystem,
    scScheme,
    scGlobal
};

// The kind of a dependency between two words.
enum TDependencyType : std::uint8_t {
    dtUnknown,
    dtUseObject,
    dtUseEntry,
    dtDataRead,
    dtDataAdd,
    dtDataChange,
    dtDataDelete
};

// One break word: the characters that end a word, and the type the break itself gets.
struct TBreakWord
{
    QString Word;
    TWordType WordType = VXWordType::Unknown;
    int Length = 0;
};

// One keyword. SectionID -1 applies in every section; below -1 only to words inside
// string literals of section number minus SectionID.
struct TWord
{
    QString Word;
    int SectionID = -1;
    TWordType WordType = VXWordType::Unknown;
    QString Reserved1;
    int Reserved2 = 0;
};

struct TSection
{
    TWordType StartWordType = VXWordType::Unknown;
    TWordType EndWordType = VXWordType::Unknown;
    TSectionType SectionType = 0;
    int SectionID = 0;
    QString Name;
    bool RowsBelongTogether = false;
};

// Reclassifies a word by a neighbour: a positive offset looks that many places back,
// a negative one that many places ahead.
struct TContext
{
    int Offset = 0;
    TWordType WordType = VXWordType::Unknown;
    int SectionID = -1;
    TWordType NewWordType = VXWordType::Unknown;
};

// Chooses an object's icon by what it inherits or by the start of its type text; a rule
// with both texts empty is the default.
struct TObjectIcon
{
    QString Inheritance;
    QString ObjectType;
    TIcon Icon = 0;
};

struct TWhereClausePart
{
    bool And_Previous = true;
    int Table = 0;
    int Field = 0;
    int TypeKey = 0;
    TOperator Operator = VXOperator::None;
    QString ValueString;
    int ValueInteger = 0;
};
