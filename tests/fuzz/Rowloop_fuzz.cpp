// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary rows through each language's row loop and final save. The first byte
// chooses the language; the rest is the file, cut at line feeds.
#include "languages/bms/Langdef_bms.h"
#include "languages/cppmsext/Langdef_cpp_msext.h"
#include "languages/datafiles/Langdef_datafiles.h"
#include "languages/ibmcob/Langdef_ibmcob.h"
#include "languages/ibmjcl/Langdef_ibmjcl.h"
#include "parsing/Rowloop.h"
#include "repository/Dataaccessinterface.h"

#include <memory>

namespace {

std::unique_ptr<TVXLanguageDefinitionsInterface> NewLanguage(unsigned char choice)
{
    switch (choice % 5) {
    case 0:
        return std::make_unique<TVXLangDef_IBMCOB>(nullptr, QString());
    case 1:
        return std::make_unique<TVXLangDef_IBMJCL>(nullptr, QString());
    case 2:
        return std::make_unique<TVXLangDef_BMS>(nullptr, QString());
    case 3:
        return std::make_unique<TVXLangDef_CPP_MSExt>(nullptr, QString());
    default:
        return std::make_unique<TVXLangDef_DataFiles>(nullptr, QString());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static TVXDataAccessInterface discard;
    auto language = NewLanguage(data[0]);
    language->InitializeForNewFile(&discard, QStringLiteral("/fuzz/input.src"), 1, 1, 1, 1);
    const QString text
            = QString::fromUtf8(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    for (const QStringView row : QStringView(text).split(QLatin1Char('\n')))
        VXParseRow(*language, row.toString());
    language->SaveToDB(true, false);
    return 0;
}
