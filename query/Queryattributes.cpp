// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Queryattributes.h"

namespace VXQueryAttributes {

const QList<TVXQueryAttribute> &FindAttributes()
{
    static const QList<TVXQueryAttribute> list = [] {
        const std::pair<const char *, int> rows[]{{"Any Executeble Word", 99600},
                                                  {"Variable Name (declaration)", 1011},
                                                  {"Variable Type (declaration)", 1014},
                                                  {"Variable Name (use)", 1012},
                                                  {"Variable Name (assignto)", 99602},
                                                  {"Variable Name (assignfrom)", 99603},
                                                  {"Variable Name (identifier)", 1032},
                                                  {"Hardcoded Value", 1002},
                                                  {"Word in String", 1001},
                                                  {"Word in Comment", 1003},
                                                  {"Assigns", 99601},
                                                  {"Computations", 9},
                                                  {"Compares", 8},
                                                  {"Constant", 1037},
                                                  {"Any Word", -1}};
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
             QStringLiteral("VXAttributeName"), 1},
            {QStringLiteral("Computers Name"), QStringLiteral("VXATTRIBUTE"),
             QStringLiteral("VXAttributeName"), 2},
            {QStringLiteral("Applications Name"), QStringLiteral("VXATTRIBUTE"),
             QStringLiteral("VXAttributeName"), 3},
            {QStringLiteral("Packages Name"), QStringLiteral("VXPACKAGE"),
             QStringLiteral("VXPackageName"), 0},
            {QStringLiteral("Objects Name"), QStringLiteral("VXOBJECT"),
             QStringLiteral("VXObjectName"), 0},
            {QStringLiteral("Objects Type"), QStringLiteral("VXOBJECT"),
             QStringLiteral("VXObjectType"), 0},
            {QStringLiteral("Entrys Name"), QStringLiteral("VXENTRY"),
             QStringLiteral("VXEntryName"), 0},
            {QStringLiteral("Declarations"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), 3},
            {QStringLiteral("Executions"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), 14},
            {QStringLiteral("Parameters"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), 12},
            {QStringLiteral("Selections"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), 16},
            {QStringLiteral("Iterations"), QStringLiteral("VXWORD"),
             QStringLiteral("VXSectionType"), 17},
            {QStringLiteral("Brackets"), QStringLiteral("VXWORD"), QStringLiteral("VXSectionType"),
             18}};
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
