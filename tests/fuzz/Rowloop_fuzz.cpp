// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary rows through each language's row loop and final save. The first byte
// chooses the language; the rest is the file, cut at line feeds.
#include "languages/ansisql/Langdef_ansisql.h"
#include "languages/bms/Langdef_bms.h"
#include "languages/cpp/Langdef_cpp.h"
#include "languages/cppmsext/Langdef_cpp_msext.h"
#include "languages/datafiles/Langdef_datafiles.h"
#include "languages/delphi6/Langdef_delphi6.h"
#include "languages/dotnet/Langdef_dotnet.h"
#include "languages/ezeretrieve/Langdef_ezeretrieve.h"
#include "languages/ibmcob/Langdef_ibmcob.h"
#include "languages/ibmjcl/Langdef_ibmjcl.h"
#include "languages/ibmopc/Langdef_ibmopc.h"
#include "languages/mssql/Langdef_mssql.h"
#include "languages/pb7/Langdef_pb7.h"
#include "languages/pl1/Langdef_pl1.h"
#include "languages/tsl/Langdef_tsl.h"
#include "languages/unisyscob/Langdef_unisyscob.h"
#include "languages/unisyssql/Langdef_unisyssql.h"
#include "languages/vag45/Langdef_vag45.h"
#include "languages/vb6/Langdef_vb6.h"
#include "languages/vmscob/Langdef_vmscob.h"
#include "parsing/Rowloop.h"
#include "repository/Dataaccessinterface.h"

#include <memory>

namespace {

constexpr int LanguageCount = 20;

std::unique_ptr<TVXLanguageDefinitionsInterface> NewLanguage(int choice)
{
    switch (choice % LanguageCount) {
    case 0:
        return std::make_unique<TVXLangDef_IBMCOB>(nullptr, QString());
    case 1:
        return std::make_unique<TVXLangDef_IBMJCL>(nullptr, QString());
    case 2:
        return std::make_unique<TVXLangDef_BMS>(nullptr, QString());
    case 3:
        return std::make_unique<TVXLangDef_CPP_MSExt>(nullptr, QString());
    case 4:
        return std::make_unique<TVXLangDef_DataFiles>(nullptr, QString());
    case 5:
        return std::make_unique<TVXLangDef_VMSCOB>(nullptr, QString());
    case 6:
        return std::make_unique<TVXLangDef_UnisysCOB>(nullptr, QString());
    case 7:
        return std::make_unique<TVXLangDef_PL1>(nullptr, QString());
    case 8:
        return std::make_unique<TVXLangDef_EzeRetrieve>(nullptr, QString());
    case 9:
        return std::make_unique<TVXLangDef_VAG45>(nullptr, QString());
    case 10:
        return std::make_unique<TVXLangDef_IBMOPC>(nullptr, QString());
    case 11:
        return std::make_unique<TVXLangDef_AnsiSQL>(nullptr, QString());
    case 12:
        return std::make_unique<TVXLangDef_MSSQL>(nullptr, QString());
    case 13:
        return std::make_unique<TVXLangDef_UnisysSQL>(nullptr, QString());
    case 14:
        return std::make_unique<TVXLangDef_VB6>(nullptr, QString());
    case 15:
        return std::make_unique<TVXLangDef_TSL>(nullptr, QString());
    case 16:
        return std::make_unique<TVXLangDef_CPP>(nullptr, QString());
    case 17:
        return std::make_unique<TVXLangDef_Delphi6>(nullptr, QString());
    case 18:
        return std::make_unique<TVXLangDef_DotNet>(nullptr, QString());
    default:
        return std::make_unique<TVXLangDef_PB7>(nullptr, QString());
    }
}

// One language for every input when VELUNOR_FUZZ_LANGUAGE says so, else the first byte's.
int ChosenLanguage(unsigned char first)
{
    static const int fixed = qEnvironmentVariableIsSet("VELUNOR_FUZZ_LANGUAGE")
                                     ? qEnvironmentVariableIntValue("VELUNOR_FUZZ_LANGUAGE")
                                     : -1;
    return fixed >= 0 ? fixed : first;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static TVXDataAccessInterface discard;
    auto language = NewLanguage(ChosenLanguage(data[0]));
    language->InitializeForNewFile(&discard, QStringLiteral("/fuzz/input.src"), 1, 1, 1, 1);
    const QString text
            = QString::fromUtf8(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    for (const QStringView row : QStringView(text).split(QLatin1Char('\n')))
        VXParseRow(*language, row.toString());
    language->SaveToDB(true, false);
    return 0;
}
