// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Queryattributes.h"

#include "parsing/Globals.h"
#include "query/Queryengine.h"

using namespace VXWordType;

namespace VXQueryAttributes {

const QList<TVXQueryAttribute> &FindAttributes()
{
    static const QList<TVXQueryAttribute> list = [] {
        const std::pair<const char *, int> rows[]{
                {"Any Executeble Word", TVXQueryEngine::AnyExecutableWord},
                {"Variable Name (declaration)", DeclarationName},
                {"Variable Type (declaration)", DeclarationType},
                {"Variable Name (use)", VariableReference},
                {"Variable Name (assignto)", TVXQueryEngine::AssignTo},
                {"Variable Name (assignfrom)", TVXQueryEngine::AssignFrom},
                {"Variable Name (identifier)", ReferencedName},
                {"Hardcoded Value", Constant},
                {"Word in String", MainDelimiter},
                {"Word in Comment", CommentWord},
                {"Assigns", TVXQueryEngine::Assigns},
                {"Computations", Operator},
                {"Compares", Comparison},
                {"Constant", LiteralConstant},
                {"Any Word", TVXQueryEngine::AnyWord}};
        QList<TVXQueryAttribute> attributes;
        for (const auto &[text, key] : rows)
            attributes.append(
                    {QLatin1String(text), QStringLiteral("VXWORD"), QStringLiteral("VXWord"), key});
        return attributes;
    }();
    return list;
}

const QList<TVXQueryAttribute> &InAttributes()
{
    static const QList<TVXQueryAttribute> list{
            {QStringLiteral("Systems Name"), QStringLiteral("VXATTRIBUTE"),
             QStringLiteral("VXAttributeName"), VXAttributeType::System},
            {QStringLiteral("Computers Name"), QStringLiteral("VXATTRIBUTE"),
             QStringLiteral("VXAttributeName"), VXAttributeType::Computer},
            {QStringLiteral("Applications Name"), QStringLiteral("VXATTRIBUTE"),
             QStringLiteral("VXAttributeName"), VXAttributeType::Application},
            {QStringLiteral("Packages Name"), QStringLiteral("VXPACKAGE"),
             QStringLiteral("VXPackageName"), 0},
            {QStringLiteral("Objects Name"), QStringLiteral("VXOBJECT"),
             QStringLiteral("VXObjectName"), 0},
            {QStringLiteral("Objects Type"), QStringLiteral("VXOBJECT"),
             QStringLiteral("VXObjectType"), 0},
            {QStringLiteral("Entrys Name"), QStringLiteral("VXENTRY"),
             QStringLiteral("VXEntryName"), 0},
            {QStringLiteral("Declarations"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), VXSectionType::DeclarationBlock},
            {QStringLiteral("Executions"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), VXSectionType::Statement},
            {QStringLiteral("Parameters"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), VXSectionType::TypeBlock},
            {QStringLiteral("Selections"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), VXSectionType::Conditional},
            {QStringLiteral("Iterations"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), VXSectionType::Loop},
            {QStringLiteral("Brackets"), QStringLiteral("VXWORD"), QStringLiteral("VXSectionType"),
             VXSectionType::JclParameters}};
    return list;
}

const QList<TVXQueryOperator> &Operators()
{
    static const QList<TVXQueryOperator> list{
            {QStringLiteral("equals"), VXOperator::Equals},
            {QStringLiteral("contains"), VXOperator::Contains},
            {QStringLiteral("begins with"), VXOperator::BeginsWith},
            {QStringLiteral("ends with"), VXOperator::EndsWith}};
    return list;
}

const TVXQueryAttribute *Find(const QList<TVXQueryAttribute> &list, const QString &text)
{
    for (const TVXQueryAttribute &attribute : list)
        if (attribute.Text.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return &attribute;
    return nullptr;
}

} // namespace VXQueryAttributes
