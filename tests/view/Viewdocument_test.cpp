// SPDX-License-Identifier: GPL-3.0-or-later
// View documents: the lines as they are on disk, a round trip through a saved and reopened
// window, and documents that are cut short or come from elsewhere.
#include "Viewfixture.h"

#include "view/Viewdocument.h"

#include <QFile>

namespace {

QByteArray Bytes(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

} // namespace

TEST(ViewDocument, LinesEndWithLineFeedThenCarriageReturn)
{
    TVXViewDocument document;
    document.Title = QStringLiteral("Calls");
    document.SourceDatabase = QStringLiteral("VN_FirstDataBase");
    document.Dependencies = true;
    document.ViewBy = QStringLiteral("Object");
    document.Nodes.append(
            {true, 0,
             TVXViewNode::Of(TVXItem(3, 0, 0, 0, 0, 1000, 0, 0, 0),
                             QStringLiteral("BILL000 [PROGRAM-ID], the driver"), 18)});
    document.Nodes.append({true, 1, TVXViewNode::Status(QStringLiteral("--- Other rows ---"))});
    document.Selection = {0};
    EXPECT_EQ(document.Write(),
              QByteArray("Calls\n\r\n\r\n\rVN_FirstDataBase\n\r-1\n\r-1\n\rObject\n\r0\n\r0\n\r"
                         "100\n\r0\n\r0\n\r"
                         "-1,18,0,3,0,0,0,0,1000,0,0,0,BILL000 [PROGRAM-ID], the driver\n\r"
                         "-1,0,1,,,,,,,,,,--- Other rows ---\n\r"
                         "  Selection  \n\r0,\n\r  TrackList  \n\r"));
    const TVXViewDocument read = TVXViewDocument::Read(document.Write());
    EXPECT_EQ(read.Write(), document.Write());
    ASSERT_EQ(read.Nodes.size(), 2);
    EXPECT_EQ(read.Nodes[0].Data.Caption, QStringLiteral("BILL000 [PROGRAM-ID], the driver"));
    EXPECT_EQ(read.Nodes[0].Data.Item.ObjectID, 1000);
    EXPECT_EQ(read.Nodes[1].Data.Has, TVXViewNode::Carries::Nothing);

    // Cut short anywhere before the selection, or not a View document at all.
    const QByteArray whole = document.Write();
    for (const int length : {0, 10, int(whole.indexOf("Object")), int(whole.indexOf("  Sel"))})
        EXPECT_THROW(TVXViewDocument::Read(whole.left(length)), TVXException) << length;
    try {
        TVXViewDocument::Read("[Query]\nFind=MOVE\n");
        ADD_FAILURE() << "an INI file is no View document";
    } catch (const TVXException &e) {
        EXPECT_TRUE(e.Message().startsWith(QLatin1String("This is not a View document")))
                << e.Message().toStdString();
    }
}

TEST_F(ViewTest, ASavedViewReopensAsItWasWithoutTheRepository)
{
    LoadSamples(true);
    Start();
    TVXView *view = OpenView();
    const QModelIndex system = view->Model()->index(0, 0);
    view->Tree()->expand(system);
    const QModelIndex file = Child(view, QStringLiteral("BILL000.cbl"), system);
    view->Tree()->expand(file);
    const QModelIndex program = Child(view, QStringLiteral("BILL000 [PROGRAM-ID]"), file);
    Captions(view, program); // read, but left closed
    Select(view, {file, program});

    const QString saved = m_home.File(QStringLiteral("billing.vnv"));
    ASSERT_TRUE(view->SaveAs(saved));
    EXPECT_EQ(view->Title, QStringLiteral("billing"));
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Velunor - billing"));
    const QByteArray bytes = Bytes(saved);
    EXPECT_TRUE(bytes.startsWith("billing\n\r\n\r\n\rVN_FirstDataBase\n\r0\n\r-1\n\rSystem\n\r0\n\r"
                                 "0\n\r100\n\r0\n\r0\n\r-1,1,0,0,"))
            << bytes.left(120).toStdString();

    // Reopened with the repository gone: the nodes come from the document alone.
    for (const QString &name : QDir(m_home.Path()).entryList({QStringLiteral("VN_*.sqlite")}))
        QFile::remove(m_home.File(name));
    ASSERT_TRUE(Service()
                        .NewWindow(QStringLiteral("View"), saved,
                                   QStringLiteral("VN_FirstDataBase"), nullptr, QString())
                        .isEmpty());
    auto *reopened = dynamic_cast<TVXView *>(Service().WindowList().last().Window);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->windowTitle(), QStringLiteral("Velunor - billing"));
    EXPECT_EQ(reopened->VisibleCaptions(), view->VisibleCaptions());
    const QModelIndex again
            = Child(reopened, QStringLiteral("BILL000.cbl"), reopened->Model()->index(0, 0));
    EXPECT_TRUE(reopened->Tree()->isExpanded(again));
    EXPECT_EQ(reopened->Tree()->selectionModel()->selectedIndexes().size(), 2);

    // Saved again, the document is the same to the byte.
    const QString second = m_home.File(QStringLiteral("again.vnv"));
    reopened->SaveViewDoc(second);
    QByteArray secondBytes = Bytes(second);
    EXPECT_EQ(secondBytes, bytes);

    // Save As onto an existing file keeps it when the answer is No.
    QFile::remove(second);
    QFile other(second);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("keep me");
    other.close();
    EXPECT_FALSE(view->SaveAs(second));
    EXPECT_EQ(m_asked.last(), QStringLiteral("Overwrite existing file?"));
    EXPECT_EQ(Bytes(second), QByteArray("keep me"));
}

TEST_F(ViewTest, ADocumentThatCannotBeReadIsNamed)
{
    Start();
    const QString broken = m_home.File(QStringLiteral("broken.vnv"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Title\n\rby\n\r");
    file.close();
    Service().NewWindow(QStringLiteral("View"), broken, QStringLiteral("VN_FirstDataBase"), nullptr,
                        QString());
    const QStringList messages = MessageTexts();
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.last().contains(QLatin1String("broken.vnv")))
            << messages.last().toStdString();
    EXPECT_TRUE(messages.last().contains(QLatin1String("line 3"))) << messages.last().toStdString();
}
