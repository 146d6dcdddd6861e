// SPDX-License-Identifier: GPL-3.0-or-later
#include "Languagetestsupport.h"

#include "base/Classregistry.h"

#include "repository/Dataset.h"

#include <QFile>

void LanguageTest::SetUp()
{
    m_packages = std::make_unique<VXTest::PackageFolder>(
            QStringList{QStringLiteral("vxlib0200.so"), QStringLiteral("vxlib0300.so"),
                        QStringLiteral("vxlib0310.so"), QStringLiteral("vxlib0311.so"),
                        QStringLiteral("vxlib0312.so"), QStringLiteral("vxlib0320.so"),
                        QStringLiteral("vxlib0330.so"), QStringLiteral("vxlib0340.so"),
                        QStringLiteral("vxlib0350.so"), QStringLiteral("vxlib0400.so"),
                        QStringLiteral("vxlib0500.so"), QStringLiteral("vxlib0510.so"),
                        QStringLiteral("vxlib0520.so"), QStringLiteral("vxlib0521.so"),
                        QStringLiteral("vxlib0522.so"), QStringLiteral("vxlib0525.so"),
                        QStringLiteral("vxlib0530.so"), QStringLiteral("vxlib0540.so"),
                        QStringLiteral("vxlib0560.so"), QStringLiteral("vxlib0900.so"),
                        QStringLiteral("vxlib0999.so")});
    m_loader = std::make_unique<TVXPackageLoader>(m_packages->Path());
    m_loader->CheckPackages();
    m_db.reset(VXClassRegistry().Create<TVXDataAccessInterface>(QStringLiteral("TVXInMemoryDB"),
                                                                static_cast<QObject *>(nullptr)));
    ASSERT_NE(m_db, nullptr);
    ASSERT_EQ(m_db->Connect(m_folder.filePath(QStringLiteral("repository.sqlite"))), 1);
}

void LanguageTest::TearDown()
{
    m_languages.clear();
    m_db.reset();
    if (m_loader)
        m_loader->UnloadAll();
}

TVXLanguageDefinitionsInterface *LanguageTest::Language(const QString &name)
{
    auto *definition = VXClassRegistry().Create<TVXLanguageDefinitionsInterface>(
            QStringLiteral("TVXLangDef_") + name, static_cast<QObject *>(nullptr), m_home.Path());
    EXPECT_NE(definition, nullptr) << name.toStdString();
    m_languages.emplace_back(definition);
    return definition;
}

QString LanguageTest::WriteSource(const QString &fileName, const QByteArray &content)
{
    const QString path = m_folder.filePath(fileName);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
    return path;
}

int LanguageTest::Parse(const QString &language, const QString &fileName, const QStringList &rows)
{
    return ParseFile(language, WriteSource(fileName, rows.join(QLatin1Char('\n')).toUtf8()));
}

int LanguageTest::ParseFile(const QString &language, const QString &path)
{
    TVXLanguageDefinitionsInterface *definition = Language(language);
    const int fileID = m_nextFileID++;
    if (definition)
        m_lastParse = VXParseFile(*definition, m_db.get(), path, {fileID, 1, 1, 1});
    return fileID;
}

QList<StoredRow> LanguageTest::Select(const QString &sql)
{
    QList<StoredRow> rows;
    std::unique_ptr<TVXDataset> dataset(m_db->GetQuery(nullptr, {sql}, false));
    if (!dataset)
        return rows;
    for (; !dataset->Eof(); dataset->Next()) {
        StoredRow row;
        for (int i = 0; i < dataset->FieldCount(); ++i)
            row.insert(dataset->FieldName(i).toUpper(), dataset->Value(i));
        rows.append(row);
    }
    return rows;
}

QList<StoredRow> LanguageTest::Words(int fileID, int type)
{
    QString sql = QStringLiteral("SELECT * FROM VXWORD WHERE VXFileID = %1").arg(fileID);
    if (type != 0)
        sql += QStringLiteral(" AND VXWordType = %1").arg(type);
    return Select(sql + QStringLiteral(" ORDER BY VXRowID, VXWordID"));
}

QStringList LanguageTest::WordTexts(int fileID, int type)
{
    QStringList texts;
    for (const StoredRow &row : Words(fileID, type))
        texts << row.value(QStringLiteral("VXWORD")).toString();
    return texts;
}

QList<StoredRow> LanguageTest::Objects(int fileID)
{
    return Select(QStringLiteral("SELECT * FROM VXOBJECT WHERE VXFileID = %1 ORDER BY VXObjectID")
                          .arg(fileID));
}

QList<StoredRow> LanguageTest::Entries(int fileID)
{
    return Select(
            QStringLiteral(
                    "SELECT * FROM VXENTRY WHERE VXFileID = %1 ORDER BY VXObjectID, VXEntryID")
                    .arg(fileID));
}

StoredRow LanguageTest::Word(int fileID, const QString &text)
{
    for (const StoredRow &row : Words(fileID))
        if (row.value(QStringLiteral("VXWORD")).toString() == text)
            return row;
    ADD_FAILURE() << "no word " << text.toStdString();
    return {};
}

QString LanguageTest::AreaA(const QString &text, int sequence)
{
    const QString number = sequence ? QStringLiteral("%1").arg(sequence, 6, 10, QLatin1Char('0'))
                                    : QStringLiteral("      ");
    return number + QLatin1Char(' ') + text;
}

QString LanguageTest::AreaB(const QString &text, int sequence)
{
    return AreaA(QStringLiteral("    ") + text, sequence);
}

QString LanguageTest::Comment(const QString &text)
{
    return QStringLiteral("      *") + text;
}
