// SPDX-License-Identifier: GPL-3.0-or-later
// A language package with a realistic keyword table, for start-up measurements.
#include "base/Package.h"

#include "parsing/Languagedefinitionsinterface.h"

namespace {

class TVXBenchLanguage : public TVXLanguageDefinitionsInterface
{
public:
    TVXBenchLanguage(QObject *owner, const QString &folder)
        : TVXLanguageDefinitionsInterface(owner, folder)
    {
        m_languageID = BENCH_LANGUAGE_ID;
        m_languageName = QStringLiteral(BENCH_LANGUAGE);
        m_fileExtensions = QStringLiteral(".") + m_languageName.toLower() + QLatin1Char(';');
        // A language definition fills a few hundred table rows in its constructor.
        for (int i = 0; i < 300; ++i)
            m_keywords.append({QStringLiteral("KEYWORD-%1").arg(i), -1, i % 999 + 1, {}, 0});
    }

private:
    QList<TWord> m_keywords;
};

} // namespace

VELUNOR_PACKAGE("LangDef_" BENCH_LANGUAGE)
{
    package.RegisterClass<TVXBenchLanguage>(QStringLiteral("TVXLangDef_" BENCH_LANGUAGE));
}
