// SPDX-License-Identifier: GPL-3.0-or-later
// The service object without a display: function registry, connections, documents.
#include "Testsupport.h"

#include "parsing/Languagedefinitionsinterface.h"
#include "repository/Dataaccessinterface.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

using namespace VXTest;

namespace {

QStringList Names(const TVXBaseFunctions &service)
{
    QStringList names;
    for (const auto &entry : service.FunctionList())
        names << entry.Name;
    return names;
}

} // namespace

TEST(BaseFunctions, DescriptionsAreRegisteredInPackageOrderWithDuplicates)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib1000.so=fx_windows.so"),
                          QStringLiteral("vxlib0220.so=fx_driver_odbc.so"),
                          QStringLiteral("vxlib0500.so=fx_lang_a.so"),
                          QStringLiteral("vxlib0501.so=fx_lang_a.so")});
    Session session(folder.Path());
    // Window packages and the core describe nothing; the same package file loaded under
    // two names registers its description twice.
    EXPECT_EQ(Names(session.Service()).mid(0, 3),
              (QStringList{QStringLiteral("ODBCDB"), QStringLiteral("LangDef_TESTA"),
                           QStringLiteral("LangDef_TESTA")}));
}

TEST(BaseFunctions, GetFunctionSharesLanguagesAndKeepsOneDriverPerDatabase)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib0220.so=fx_driver_odbc.so"),
                          QStringLiteral("vxlib0500.so=fx_lang_a.so"),
                          QStringLiteral("vxlib0501.so=fx_lang_a.so")});
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();

    QObject *language = service.GetFunction(QStringLiteral("LangDef_TESTA"), {});
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(service.GetFunction(QStringLiteral("LangDef_TESTA"), QStringLiteral("Other")),
              language);
    auto definition = qobject_cast<TVXLanguageDefinitionsInterface *>(language);
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(definition->LanguageID(), 90001);
    EXPECT_EQ(definition->Folder(), home.Path());
    EXPECT_EQ(service.FunctionList()[2].Object, nullptr)
            << "the duplicate entry stays without an object: the first one serves";

    QObject *first = service.GetFunction(QStringLiteral("ODBCDB"), QStringLiteral("A"));
    QObject *second = service.GetFunction(QStringLiteral("ODBCDB"), QStringLiteral("B"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(service.GetFunction(QStringLiteral("ODBCDB"), QStringLiteral("A")), first);
    EXPECT_TRUE(Names(service).contains(QStringLiteral("ODBCDBA")));
    EXPECT_TRUE(Names(service).contains(QStringLiteral("ODBCDBB")));

    EXPECT_EQ(service.GetFunction(QStringLiteral("LangDef_NONE"), {}), nullptr);
    EXPECT_EQ(service.GetFunction(QStringLiteral("InterBaseDB"), QStringLiteral("A")), nullptr)
            << "no package registered that driver";
    EXPECT_EQ(service.GetFunction(QStringLiteral("View"), {}), nullptr);
}

TEST(BaseFunctions, ConnectDBUsesTheNamedOrTheDefaultDatabase)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib0220.so=fx_driver_odbc.so")});
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    TVXConfigTable &databases = service.Configuration().DatabasesTable();
    databases.Append({{QStringLiteral("VX_DBNAME"), QStringLiteral("Sales'92")},
                      {QStringLiteral("VX_DBTYPE"), QStringLiteral("ODBC")},
                      {QStringLiteral("VX_DBCONNSTRING"), QStringLiteral("DSN=sales")}});

    TVXDataAccessInterface *byDefault = service.ConnectDB({});
    ASSERT_NE(byDefault, nullptr);
    EXPECT_TRUE(byDefault->property("connection").toString().contains(QStringLiteral("Jet")));
    TVXDataAccessInterface *named = service.ConnectDB(QStringLiteral("Sales'92"));
    EXPECT_NE(named, byDefault);
    EXPECT_EQ(named->property("connection").toString(), QStringLiteral("DSN=sales"));
    EXPECT_EQ(service.ConnectDB(QStringLiteral("Sales'92")), named);
    EXPECT_EQ(named->ConnectionCount(), 2);

    try {
        service.ConnectDB(QStringLiteral("Nowhere"));
        ADD_FAILURE();
    } catch (const TVXException &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("TVXBaseFunctions.ConnectDB: ")));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Nowhere")));
    }
}

TEST(BaseFunctions, NewWindowReportsWhatItCannotOpen)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib1000.so=fx_windows.so"),
                          QStringLiteral("vxlib0220.so=fx_driver_odbc.so")});
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();

    EXPECT_TRUE(service.NewWindow(QStringLiteral("Debug"), {}, {}, nullptr, {})
                        .contains(QStringLiteral("'Debug'")));
    EXPECT_TRUE(service.NewWindow(QStringLiteral("Report"), {}, {}, nullptr, {})
                        .contains(QStringLiteral("needs a display")));
    EXPECT_TRUE(service.NewWindow(QStringLiteral("Diagram"), {}, {}, nullptr, QStringLiteral("New"))
                        .contains(QStringLiteral("VisioController")));
    EXPECT_TRUE(service.NewWindow(QStringLiteral("View"), {}, {}, nullptr, {})
                        .contains(QStringLiteral("needs a display")))
            << "without a display no window is created";
    EXPECT_TRUE(service.WindowList().isEmpty());
    EXPECT_EQ(session.ExitRequests, 0);

    EXPECT_EQ(service.NewWindow(QStringLiteral("Load"), QStringLiteral("VN_FirstDataBase"), {},
                                nullptr, {}),
              QString());
    EXPECT_EQ(session.ExitRequests, 1) << "an unattended load ends the application";
}

TEST(BaseFunctions, EditorRoutingNeedsTheLanguagesEditorSettings)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib1000.so=fx_windows.so"),
                          QStringLiteral("vxlib0220.so=fx_driver_odbc.so")});
    Session session(folder.Path());
    EXPECT_EQ(session.Service().NewWindow(QStringLiteral("EditorController"), {}, {}, nullptr,
                                          QStringLiteral("20520")),
              QStringLiteral("LanguageID 20520 not found"));
}

TEST(BaseFunctions, ConfigurationQuestions)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib0220.so=fx_driver_odbc.so"),
                          QStringLiteral("vxlib0500.so=fx_lang_a.so")});
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    TVXConfigTable &databases = service.Configuration().DatabasesTable();
    databases.Append({{QStringLiteral("VX_DBNAME"), QStringLiteral("Second")},
                      {QStringLiteral("VX_DBTYPE"), QStringLiteral("ODBC")},
                      {QStringLiteral("VX_DBLASTLOADED"), 12345}});

    EXPECT_EQ(service.GetSourceDBName(true, false, false), QStringLiteral("VN_FirstDataBase"));
    EXPECT_EQ(service.GetSourceDBName(false, true, false), QStringLiteral("Second"));
    EXPECT_EQ(service.GetSourceDBName(false, true, false), QString());
    EXPECT_EQ(service.GetSourceDBName(false, true, false), QString()) << "stays at the end";
    EXPECT_EQ(service.GetSourceDBName(false, false, true), QStringLiteral("VN_FirstDataBase"));
    EXPECT_EQ(service.GetSourceDBLastLoaded(QStringLiteral("Second")), 12345);
    EXPECT_EQ(service.GetSourceDBLastLoaded(QStringLiteral("Nowhere")), 0);

    EXPECT_EQ(service.GetLanguageName(90001), QStringLiteral("TESTA"));
    EXPECT_EQ(service.GetLanguageName(1), QString());
    TVXConfigTable &languages = service.Configuration().LanguagesTable();
    languages.SetValue(0, QStringLiteral("VXEditorName"), QStringLiteral("Kate"));
    languages.SetValue(0, QStringLiteral("VXEditorStartCommand"), QStringLiteral("kate -l"));
    QString command, editor, key;
    EXPECT_TRUE(service.GetEditorSettings(90001, command, editor, key));
    EXPECT_EQ(command, QStringLiteral("kate -l"));
    EXPECT_EQ(editor, QStringLiteral("Kate"));
    EXPECT_EQ(key, QString());
    EXPECT_FALSE(service.GetEditorSettings(1, command, editor, key));
}

TEST(BaseFunctions, DocumentParametersByType)
{
    Home home;
    PackageFolder folder({QStringLiteral("vxlib0220.so=fx_driver_odbc.so")});
    Session session(folder.Path());
    TVXBaseFunctions &service = session.Service();
    const QString document = home.File(QStringLiteral("find's.vnq"));
    const QByteArray content = "[Doc]\nInt=42\nBadInt=x\nReal=2.5\nFlag=1\nOff=0\nWord=True\n"
                               "When=2026-03-04T05:06:07\nBadWhen=yesterday\nText=a, b; 'c'\n";
    QFile file(document);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    const QString doc = QStringLiteral("Doc");
    auto read = [&](const char *key, int type) {
        return service.ReadDocParameter(document, doc, QString::fromLatin1(key), type);
    };
    EXPECT_EQ(read("Int", 3), QVariant(42));
    EXPECT_EQ(read("BadInt", 3), QVariant(0));
    EXPECT_EQ(read("Real", 5), QVariant(2.5));
    EXPECT_EQ(read("BadInt", 5), QVariant(0.0));
    EXPECT_EQ(read("Flag", 11), QVariant(true));
    EXPECT_EQ(read("Off", 11), QVariant(false));
    EXPECT_EQ(read("Word", 11), QVariant(false)) << "booleans are stored as numbers";
    EXPECT_EQ(read("When", 7).toDateTime(), QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    EXPECT_LE(qAbs(read("BadWhen", 7).toDateTime().secsTo(QDateTime::currentDateTime())), 5)
            << "an unreadable date reads as now";
    EXPECT_EQ(read("Text", 256), QVariant(QStringLiteral("a, b; 'c'")));
    EXPECT_EQ(read("Int", 99), QVariant(QString())) << "an unknown type code reads empty";
    for (int type : {3, 5, 7, 11, 256})
        EXPECT_EQ(read("Missing", type), QVariant(QString())) << type;
    EXPECT_EQ(service.ReadDocParameter(home.File(QStringLiteral("none.vnq")), doc,
                                       QStringLiteral("Int"), 3),
              QVariant(QString()));

    service.WriteDocParameter(document, doc, QStringLiteral("Missing"), 3, 1);
    service.WriteDocParameter(document, QStringLiteral("Other"), QStringLiteral("Int"), 3, 1);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content) << "keys that do not exist are never created";
    file.close();

    service.WriteDocParameter(document, doc, QStringLiteral("Int"), 3, 7);
    service.WriteDocParameter(document, doc, QStringLiteral("Flag"), 11, false);
    service.WriteDocParameter(document, doc, QStringLiteral("Text"), 256, QStringLiteral("x=y"));
    EXPECT_EQ(read("Int", 3), QVariant(7));
    EXPECT_EQ(read("Flag", 11), QVariant(false));
    EXPECT_EQ(read("Text", 256), QVariant(QStringLiteral("x=y")));
    EXPECT_EQ(read("Real", 5), QVariant(2.5));
}
