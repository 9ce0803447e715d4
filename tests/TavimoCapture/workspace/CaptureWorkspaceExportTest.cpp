#include "WorkspaceTest.h"

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString changedWhileSaving = "The capture changed while saving. Save it again before closing.";

QSize pngSize(const QByteArray &png)
{
    return QImage::fromData(png, "png").size();
}

} // namespace

TEST_F(WorkspaceTest, CopyingTwiceKeepsOneHistoryEntryHoldingTheClipboardPng)
{
    CaptureDocument &document = open(QSize(64, 48));
    bool committed = false;
    document.setPendingTextCommit([&] { committed = true; });
    workspace->copyImage();
    EXPECT_TRUE(committed) << "text being typed becomes part of the image";
    const QString entry = workspace->historyIdentifier();
    addRectangle(document);
    workspace->copyImage();
    ASSERT_EQ(workspace->recent().size(), 1);
    EXPECT_EQ(workspace->recent().first().id(), entry);
    EXPECT_EQ(readFile(workspace->recent().first().path()), clipboard.png);
}

TEST_F(WorkspaceTest, SaveOverwritesTheExportWithoutAskingAndAsksWhenItWasDeleted)
{
    EXPECT_FALSE(workspace->saveImage(false));
    EXPECT_EQ(events, QList<TavimoEvent>{TavimoEvent::captureExport}) << "recorded even with nothing open";

    CaptureDocument &document = open(QSize(30, 20));
    EXPECT_FALSE(workspace->saveImage(false)) << "cancelled";
    EXPECT_TRUE(workspace->savedPath().isEmpty());
    const QString destination = path("Capture.png");
    panels.saveTo(destination);
    EXPECT_TRUE(workspace->saveImage(false));
    EXPECT_EQ(pngSize(readFile(destination)), QSize(30, 20));
    EXPECT_EQ(workspace->savedPath(), destination);
    EXPECT_EQ(CaptureHistory(historyFolder()).reopen(workspace->recent().first())->exportPath, destination)
        << "the entry links the export";
    const QByteArray first = readFile(destination);
    addRectangle(document);
    EXPECT_TRUE(workspace->saveImage(false));
    EXPECT_EQ(panels.saveRequests, 2) << "Save overwrote the export without asking";
    EXPECT_NE(readFile(destination), first);
    EXPECT_EQ(workspace->recent().size(), 1);
    ASSERT_TRUE(QFile::remove(destination));
    panels.saveTo(path("Other.png"));
    EXPECT_TRUE(workspace->saveImage(false));
    EXPECT_EQ(panels.saveRequests, 3) << "the deleted export is asked for again";
    EXPECT_EQ(workspace->savedPath(), path("Other.png"));
    EXPECT_TRUE(workspace->saveImage(true));
    EXPECT_EQ(panels.saveRequests, 4) << "Save As always asks";
}

TEST_F(WorkspaceTest, ACaptureChangedWhileTheSavePanelIsOpenIsNotWritten)
{
    CaptureDocument &document = open();
    const QString destination = path("out.png");
    for (const std::function<void()> &change :
         std::initializer_list<std::function<void()>>{[&] { addRectangle(document); },
                                                      [this] {
                                                          open();
                                                      }}) {
        panels.save = [&](const QString &) {
            change();
            return std::optional(destination);
        };
        EXPECT_FALSE(workspace->saveImage(false));
        EXPECT_EQ(workspace->notice(), changedWhileSaving);
        EXPECT_FALSE(QFile::exists(destination));
        EXPECT_TRUE(workspace->savedPath().isEmpty());
    }
    EXPECT_TRUE(workspace->recent().isEmpty());
}

TEST_F(WorkspaceTest, AFailedWriteKeepsThePreviousFileAndTheSavedPath)
{
    open(QSize(300, 200));
    const QString destination = path("kept.png");
    panels.saveTo(destination);
    ASSERT_TRUE(workspace->saveImage(false));
    const QByteArray previous = readFile(destination);
    addRectangle(*workspace->document());
    {
        const FileSizeLimit limit(64);
        EXPECT_FALSE(workspace->saveImage(false));
    }
    EXPECT_EQ(readFile(destination), previous);
    EXPECT_EQ(workspace->savedPath(), destination);
    EXPECT_EQ(workspace->notice(), QString("The file “%1” could not be written: File too large.").arg(destination));
    writeFile(path("blocker"), "a file where a folder should be");
    panels.saveTo(path("blocker/out.png"));
    EXPECT_FALSE(workspace->saveImage(true));
    EXPECT_EQ(workspace->savedPath(), destination);
    EXPECT_TRUE(workspace->notice().contains(path("blocker/out.png")));
    EXPECT_EQ(shown, 3) << "each failed write brings the editor forward";
    EXPECT_EQ(workspace->recent().size(), 1) << "failed writes record nothing";
}

TEST_F(WorkspaceTest, PinningHandsOverTheImageAndAnIndependentBoard)
{
    open(QSize(40, 30));
    QImage pinned;
    std::unique_ptr<CaptureBoard> snapshot;
    workspace->setPin([&](const QImage &image, std::unique_ptr<CaptureBoard> board) {
        pinned = image;
        snapshot = std::move(board);
    });
    workspace->pinImage();
    EXPECT_EQ(pinned.size(), QSize(40, 30));
    ASSERT_TRUE(snapshot);
    addRectangle(*snapshot->activeDocument());
    EXPECT_TRUE(workspace->document()->annotations().isEmpty());
    EXPECT_EQ(workspace->recent().size(), 1);
}

TEST_F(WorkspaceTest, CloseAsksUnlessBusyAndSaveAndCloseClosesOnlyWhenTheImageWasWritten)
{
    workspace->closeCapture();
    EXPECT_TRUE(panels.alerts.isEmpty()) << "nothing open";
    open();
    workspace->setBusy(true);
    workspace->closeCapture();
    EXPECT_TRUE(panels.alerts.isEmpty()) << "a running capture blocks closing";
    workspace->setBusy(false);
    workspace->closeCapture();
    EXPECT_TRUE(workspace->document()) << "cancelled";
    panels.answerAlerts(0);
    workspace->closeCapture();
    EXPECT_EQ(panels.saveRequests, 1);
    EXPECT_TRUE(workspace->document()) << "the save panel was cancelled";
    const QString exported = path("closing.png");
    panels.saveTo(exported);
    workspace->setRecognizedText(QString("words"));
    workspace->closeCapture();
    EXPECT_FALSE(workspace->board());
    EXPECT_TRUE(workspace->savedPath().isEmpty());
    EXPECT_FALSE(workspace->recognizedText());
    EXPECT_TRUE(QFile::exists(exported));
    EXPECT_EQ(workspace->recent().size(), 1) << "the history entry stays";
}

TEST_F(WorkspaceTest, ACaptureChangedWhileTheCloseAlertIsOpenStaysOpen)
{
    CaptureDocument &document = open();
    CaptureBoard *replaced = nullptr;
    for (const std::function<void()> &change : std::initializer_list<std::function<void()>>{
             [&] { addRectangle(document); }, [this] { workspace->setBusy(true); },
             [&] {
                 open();
                 replaced = workspace->board();
             }}) {
        panels.alert = [&](const CaptureAlert &) {
            change();
            return 2;
        };
        workspace->closeCapture();
        EXPECT_TRUE(workspace->document());
        workspace->setBusy(false);
    }
    EXPECT_EQ(workspace->board(), replaced) << "the new capture is not closed in place of the old one";
    EXPECT_NE(workspace->notice(), "Capture closed");
}
