// SPDX-License-Identifier: GPL-3.0-or-later
// What the resolver does for languages with imports, calls that may reach any entry and
// packages, over repository rows written as such a language's parse would write them.
#include "Testsupport.h"
#include "base/Configtable.h"

#include "loading/Dependencyresolver.h"
#include "loading/Loadprogress.h"
#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Language = 77001;

class TVXObjectLanguage : public TVXLanguageDefinitionsInterface
{
public:
    TVXObjectLanguage()
        : TVXLanguageDefinitionsInterface(nullptr, QString())
    {
        m_languageID = Language;
        m_languageName = QStringLiteral("OBJTEST");
        m_importsByFileName = true;
        m_callsToEntries = true;
        m_inheritance = true;
    }
};

// A language of classes: calls name the class of the object they go through, names keep
// their case.
constexpr int ClassLanguage = 77002;

class TVXClassLanguage : public TVXLanguageDefinitionsInterface
{
public:
    TVXClassLanguage()
        : TVXLanguageDefinitionsInterface(nullptr, QString())
    {
        m_languageID = ClassLanguage;
        m_languageName = QStringLiteral("CLSTEST");
        m_caseSensitive = true;
        m_qualifiedCalls = true;
        m_inheritance = true;
    }
};

class ResolverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_packages = std::make_unique<VXTest::PackageFolder>(
                QStringList{QStringLiteral("vxlib0200.so")});
        m_session = std::make_unique<VXTest::Session>(m_packages->Path());
        TVXConfigTable &languages = m_session->Service().Configuration().LanguagesTable();
        languages.Append({{QStringLiteral("VXLanguageID"), Language},
                          {QStringLiteral("VXLanguageName"), QStringLiteral("OBJTEST")},
                          {QStringLiteral("VXFileExtensions"), QStringLiteral(".obj")}});
        languages.Append({{QStringLiteral("VXLanguageID"), ClassLanguage},
                          {QStringLiteral("VXLanguageName"), QStringLiteral("CLSTEST")},
                          {QStringLiteral("VXFileExtensions"), QStringLiteral(".cls")}});
        m_db = m_session->Service().ConnectDB(QString());
    }
    void TearDown() override
    {
        m_db->DisConnect();
        m_session.reset();
    }

    int File(const QString &directory, const QString &name, int language = Language)
    {
        m_db->VXFILE_Append(language, 0, 0, 0, directory, name, 1, 1);
        m_db->Commit(false, false);
        const int id = Rows(QStringLiteral("SELECT VXFileID FROM VXFILE WHERE VXDirectory = '%1' "
                                           "AND VXFileName = '%2'")
                                    .arg(directory, name))
                               .value(0)
                               .value(0)
                               .toInt();
        // Parsed and waiting for its dependencies, as a load leaves it.
        const int files = m_db->GetTable(QStringLiteral("VXFILE"));
        if (m_db->SelectBegin(files, QStringLiteral("VXFileID = %1").arg(id)))
            m_db->SetFieldValue(files, m_db->GetField(files, QStringLiteral("VXDependencyChecked")),
                                QStringLiteral("N"));
        return id;
    }
    void Object(int file, int object, const QString &identifier)
    {
        m_db->VXOBJECT_Append(file, object, Language, false, identifier, identifier, QString(),
                              QStringLiteral("CLASS"), 18, QString(), QString(), QString(), 0, 0,
                              0);
    }
    void Word(int file, int object, int entry, int row, int word, const QString &text, int type)
    {
        m_db->VXWORD_Append(file, object, entry, row, word, Language, 0, 1, text, type, text);
    }
    QList<QVariantList> Rows(const QString &sql) { return VXSelectRows(m_db, sql); }
    void Resolve()
    {
        m_db->Commit(false, false);
        TVXObjectLanguage language;
        TVXClassLanguage classes;
        TVXLoadProgress progress;
        TVXConfigTable &languages = m_session->Service().Configuration().LanguagesTable();
        TVXDependencyResolver resolver(
                languages, m_session->Service().Configuration().MiddlewareTable(),
                [&](const QString &name, const QString &) -> QObject * {
                    if (name == QLatin1String("LangDef_CLSTEST"))
                        return &classes;
                    return name == QLatin1String("LangDef_OBJTEST") ? &language : nullptr;
                });
        resolver.UpdateDependencies(QStringLiteral("VN_FirstDataBase"), m_db, progress, 1);
    }

    VXTest::Home m_home;
    std::unique_ptr<VXTest::PackageFolder> m_packages;
    std::unique_ptr<VXTest::Session> m_session;
    TVXDataAccessInterface *m_db = nullptr;
};

TEST_F(ResolverTest, ImportedFilesWinOverOtherObjectsOfTheName)
{
    // Two classes named Account; the one whose file the caller imports is the target.
    const int other = File(QStringLiteral("/src/a"), QStringLiteral("legacy.obj"));
    Object(other, 1000, QStringLiteral("Account"));
    const int ledger = File(QStringLiteral("/src/b"), QStringLiteral("ledger.obj"));
    Object(ledger, 1000, QStringLiteral("Account"));
    const int caller = File(QStringLiteral("/src/c"), QStringLiteral("billing.obj"));
    Object(caller, 1000, QStringLiteral("Billing"));
    Word(caller, 1000, 0, 1000, 1000, QStringLiteral("ledger"), 1065);
    Word(caller, 1000, 0, 2000, 1000, QStringLiteral("Account"), 1032);
    Resolve();
    const QList<QVariantList> rows
            = Rows(QStringLiteral("SELECT VXFileID FROM VXDEPENDENCIES WHERE VXFromRowID = 2000"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toInt(), ledger);
}

TEST_F(ResolverTest, AnUnresolvedCallReachesEveryEntryOfItsName)
{
    const int first = File(QStringLiteral("/src"), QStringLiteral("orders.obj"));
    Object(first, 1000, QStringLiteral("Orders"));
    m_db->VXENTRY_Append(first, 1000, 1000, Language, QStringLiteral("Post"), QString(), QString(),
                         0, QString());
    const int second = File(QStringLiteral("/src"), QStringLiteral("invoices.obj"));
    Object(second, 1000, QStringLiteral("Invoices"));
    m_db->VXENTRY_Append(second, 1000, 2000, Language, QStringLiteral("post"), QString(), QString(),
                         0, QString());
    const int caller = File(QStringLiteral("/src"), QStringLiteral("batch.obj"));
    Object(caller, 1000, QStringLiteral("Batch"));
    Word(caller, 1000, 0, 1000, 1000, QStringLiteral("Post"), 1016);
    Resolve();
    const QList<QVariantList> rows = Rows(QStringLiteral(
            "SELECT VXFileID, VXEntryID, VXInheritsFileID, VXInheritsObjectID FROM VXDEPENDENCIES "
            "ORDER BY VXFileID"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (QVariantList{first, 1000, -1, -1}));
    EXPECT_EQ(rows[1], (QVariantList{second, 2000, -1, -1}));
}

TEST_F(ResolverTest, PackageMembersAreCompletedFromBothSides)
{
    // The project lists main and util; util's file holds two objects, main's is loaded
    // later under the project's folder, and a file of the same name elsewhere is no member.
    const int project = File(QStringLiteral("/src/app"), QStringLiteral("app.dsp"));
    m_db->VXPACKAGE_Append(project, -1, QStringLiteral("app"), QStringLiteral("util"), 0, 0);
    m_db->VXPACKAGE_Append(project, -1, QStringLiteral("app"), QStringLiteral("main"), 0, 0);
    const int util = File(QStringLiteral("/src/app/lib"), QStringLiteral("util.obj"));
    Object(util, 1000, QStringLiteral("Util"));
    Object(util, 2000, QStringLiteral("UtilHelper"));
    const int stranger = File(QStringLiteral("/src/application"), QStringLiteral("main.obj"));
    Object(stranger, 1000, QStringLiteral("Main"));
    Resolve();
    auto members = [this] {
        QStringList list;
        for (const QVariantList &row :
             Rows(QStringLiteral("SELECT VXObjectName, VXObjectFileID, VXObjectID FROM VXPACKAGE "
                                 "ORDER BY VXContentCounter")))
            list << QStringLiteral("%1:%2:%3")
                            .arg(row[0].toString())
                            .arg(row[1].toInt())
                            .arg(row[2].toInt());
        return list.join(QLatin1Char(' '));
    };
    EXPECT_EQ(members(), QStringLiteral("util:%1:1000 main:0:0 util:%1:2000").arg(util));

    const int main = File(QStringLiteral("/src/app"), QStringLiteral("main.obj"));
    Object(main, 1000, QStringLiteral("Main"));
    Resolve();
    EXPECT_EQ(members(),
              QStringLiteral("util:%1:1000 main:%2:1000 util:%1:2000").arg(util).arg(main));
}

} // namespace

TEST_F(ResolverTest, CallsThroughObjectsReachTheirClassesAndAncestors)
{
    const auto object
            = [this](int file, int id, const QString &name, const QString &inherits, int icon) {
                  m_db->VXOBJECT_Append(file, id, ClassLanguage, false, name, name, inherits,
                                        QStringLiteral("CLASS"), icon, QString(), QString(),
                                        QString(), 0, 0, 0);
              };
    const auto entry = [this](int file, int object, int id, const QString &name,
                              const QString &owner) {
        m_db->VXENTRY_Append(file, object, id, ClassLanguage, name, owner, QString(), 0, QString());
    };
    const auto call
            = [this](int file, int row, const QString &text, int type, const QString &identifier) {
                  m_db->VXWORD_Append(file, 1000, 1000, row, 1000, ClassLanguage, 0, 1, text, type,
                                      identifier);
              };
    const int base = File(QStringLiteral("/src"), QStringLiteral("entity.cls"), ClassLanguage);
    object(base, 1000, QStringLiteral("Entity"), QString(), 18);
    entry(base, 1000, 1000, QStringLiteral("touch"), QStringLiteral("Entity"));
    // The class is declared in its header and its methods are defined in its source.
    const int header = File(QStringLiteral("/src"), QStringLiteral("customer.h"), ClassLanguage);
    object(header, 1000, QStringLiteral("customer.h"), QString(), 52);
    object(header, 2000, QStringLiteral("Customer"), QStringLiteral("Entity"), 18);
    const int source = File(QStringLiteral("/src"), QStringLiteral("customer.cls"), ClassLanguage);
    object(source, 1000, QStringLiteral("Customer"), QString(), 18);
    entry(source, 1000, 1000, QStringLiteral("save"), QStringLiteral("Customer"));
    // Routines of the same names that no call through a Customer or a Widget may reach.
    const int other = File(QStringLiteral("/src"), QStringLiteral("helper.cls"), ClassLanguage);
    object(other, 1000, QStringLiteral("Helper"), QString(), 18);
    entry(other, 1000, 1000, QStringLiteral("repaint"), QStringLiteral("Helper"));
    const int schema = File(QStringLiteral("/db"), QStringLiteral("schema.cls"), ClassLanguage);
    object(schema, 1000, QStringLiteral("CUSTOMER"), QString(), 20);
    const int caller = File(QStringLiteral("/src"), QStringLiteral("main.cls"), ClassLanguage);
    object(caller, 1000, QStringLiteral("Main"), QString(), 18);
    entry(caller, 1000, 1000, QStringLiteral("run"), QStringLiteral("Main"));
    call(caller, 1000, QStringLiteral("save"), 1016, QStringLiteral("Customer"));
    call(caller, 2000, QStringLiteral("touch"), 1016, QStringLiteral("Customer"));
    call(caller, 3000, QStringLiteral("repaint"), 1016, QStringLiteral("Widget"));
    call(caller, 4000, QStringLiteral("customer"), 1072, QStringLiteral("customer"));
    call(caller, 5000, QStringLiteral("customer"), 1065, QStringLiteral("customer.h"));
    Resolve();
    auto target = [this](int row) {
        return Rows(QStringLiteral("SELECT VXFileID, VXObjectID, VXEntryID, VXInheritsFileID, "
                                   "VXInheritsObjectID FROM VXDEPENDENCIES WHERE VXFromRowID = %1")
                            .arg(row));
    };
    EXPECT_EQ(target(1000), (QList<QVariantList>{{source, 1000, 1000, 0, 0}}));
    // Customer has no touch: its ancestor's, reached through the Customer the call names.
    ASSERT_EQ(target(2000).size(), 1);
    EXPECT_EQ(target(2000)[0].mid(0, 3), (QVariantList{base, 1000, 1000}));
    EXPECT_GT(target(2000)[0][3].toInt(), 0);
    // No Widget is loaded: Helper's repaint is not the one called.
    EXPECT_TRUE(target(3000).isEmpty());
    // SQL names its tables without regard to case, whatever the language's case rule.
    EXPECT_EQ(target(4000), (QList<QVariantList>{{schema, 1000, 0, 0, 0}}));
    // An include that names a file with its extension reaches that file's own object.
    EXPECT_EQ(target(5000), (QList<QVariantList>{{header, 1000, 0, 0, 0}}));
}
