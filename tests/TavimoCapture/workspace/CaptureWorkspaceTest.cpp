#include "WorkspaceTest.h"

#include "CaptureDecorationDefaults.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QSignalSpy>

namespace {

QImage plain(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

} // namespace

TEST_F(WorkspaceTest, KeepHistoryStoredFalseIsHonouredAndExistingEntriesStay)
{
    EXPECT_TRUE(workspace->keepHistory());
    open();
    workspace->copyImage();
    defaults->setValue(CaptureWorkspace::keepHistoryKey, QStringLiteral("no"));
    makeWorkspace();
    EXPECT_TRUE(workspace->keepHistory()) << "a value that is not a Boolean counts as absent";
    EXPECT_EQ(workspace->recent().size(), 1) << "the history is listed at start";

    workspace->setKeepHistory(false);
    ASSERT_TRUE(defaults->flush());
    defaults = std::make_unique<UserDefaults>(path("defaults.json"));
    makeWorkspace();
    EXPECT_FALSE(workspace->keepHistory());
    open();
    workspace->copyImage();
    EXPECT_TRUE(workspace->historyIdentifier().isEmpty());
    EXPECT_EQ(QDir(historyFolder()).entryList({"*.png"}, QDir::Files).size(), 1);
}

TEST_F(WorkspaceTest, FreshImagesTakeTheFrameDefaultsAndRecentEntriesKeepTheirOwn)
{
    CaptureComposition framed;
    framed.padding = 48;
    CaptureDecorationDefaults::save(framed, *defaults);
    workspace->setNotice("old");
    workspace->accept(plain(QSize(60, 40)), QString(), path("exported.png"));
    ASSERT_TRUE(workspace->document());
    EXPECT_EQ(workspace->document()->composition(), framed);
    EXPECT_EQ(workspace->savedPath(), path("exported.png"));
    EXPECT_TRUE(workspace->notice().isEmpty());
    EXPECT_EQ(shown, 1);
    const QString entry = "0A1B2C3D-0000-4000-8000-000000000001.png";
    workspace->accept(plain(QSize(60, 40)), entry);
    EXPECT_EQ(workspace->document()->composition(), CaptureComposition());
    EXPECT_EQ(workspace->historyIdentifier(), entry);
    EXPECT_TRUE(workspace->savedPath().isEmpty()) << "the previous capture's export is forgotten";
}

TEST_F(WorkspaceTest, AcceptedBoardsShowTheirArrangementAndTheWorkspaceFollowsTheActiveDocument)
{
    auto board = std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(plain(QSize(50, 50))));
    board->addImages({plain(QSize(30, 30))});
    CaptureBoard *accepted = board.get();
    workspace->setRecognizedText(QString("old text"));
    workspace->acceptBoard(std::move(board), "entry.png", path("saved.png"));
    EXPECT_TRUE(workspace->showingBoard());
    EXPECT_EQ(workspace->savedPath(), path("saved.png"));
    EXPECT_FALSE(workspace->recognizedText());
    const CaptureBoardItem first = accepted->items().at(0);
    workspace->setRecognizedText(QString("text of the other image"));
    QSignalSpy changes(workspace.get(), &CaptureWorkspace::changed);
    accepted->select(first.id);
    ASSERT_TRUE(changes.wait(5000)) << "the workspace follows from the event loop";
    EXPECT_EQ(workspace->document(), first.document);
    EXPECT_FALSE(workspace->recognizedText()) << "the text belonged to the other image";
}

TEST_F(WorkspaceTest, ContentSignatureNamesEachItemItsRevisionAndFrame)
{
    CaptureDocument &document = open(QSize(1280, 800));
    const QString id = workspace->board()->items().first().id.toString(QUuid::WithoutBraces).toUpper();
    EXPECT_EQ(workspace->contentSignature(), QStringList{id + ":0:(0.0, 0.0, 1280.0, 800.0)"});

    document.setTool(CaptureTool::crop);
    document.finishGesture(QPointF(10, 10), QPointF(210.5, 110));
    EXPECT_EQ(workspace->contentSignature(), QStringList{id + ":1:(0.0, 0.0, 200.0, 100.0)"})
        << "the frame follows the crop before the signature is taken";
    workspace->board()->addImages({plain(QSize(30, 20))});
    EXPECT_EQ(workspace->contentSignature().size(), 2);
}

TEST_F(WorkspaceTest, ClearingHistoryAsksFirstAndForgetsTheEntry)
{
    open();
    workspace->copyImage();
    workspace->clearHistory();
    EXPECT_EQ(panels.alerts.size(), 1);
    EXPECT_EQ(workspace->recent().size(), 1) << "cancelled";
    panels.answerAlerts(0);
    workspace->clearHistory();
    EXPECT_TRUE(workspace->recent().isEmpty());
    EXPECT_TRUE(workspace->historyIdentifier().isEmpty());
    EXPECT_TRUE(QDir(historyFolder()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(workspace->document()) << "the open capture stays";
}

TEST_F(WorkspaceTest, AFailedSettingsWriteIsReportedOnceUntilAWriteSucceeds)
{
    const QString failed = "Settings could not be saved: File too large.";
    ASSERT_TRUE(defaults->flush());
    {
        const FileSizeLimit limit(8);
        workspace->setKeepHistory(false);
        EXPECT_FALSE(defaults->flush());
        EXPECT_EQ(workspace->notice(), failed);
        EXPECT_EQ(shown, 1);
        workspace->setNotice("");
        workspace->setKeepHistory(true);
        EXPECT_FALSE(defaults->flush());
        EXPECT_EQ(workspace->notice(), "") << "shown once";
    }
    workspace->setKeepHistory(false);
    ASSERT_TRUE(defaults->flush());
    EXPECT_EQ(UserDefaults(path("defaults.json")).boolValue(CaptureWorkspace::keepHistoryKey), false);
    {
        const FileSizeLimit limit(8);
        workspace->setKeepHistory(true);
        EXPECT_FALSE(defaults->flush());
        EXPECT_EQ(workspace->notice(), failed) << "again after a write succeeded";
    }
}
